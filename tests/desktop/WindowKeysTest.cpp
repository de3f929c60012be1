// Enter and Esc in the program's windows: Esc presses "Close" (or nothing)
// and never confirms; with Ctrl, Shift or Alt neither key presses anything,
// not even the focused button. The emergency thermal reset question answers
// Yes on Enter and No on Esc.
#include <QApplication>
#include <QMessageBox>
#include <QTest>
#include <QTimer>

#include "AutoRetrieveModule.h"
#include "DesktopFixture.h"
#include "EditorsModule.h"
#include "Form16.h"
#include "LoggerConfigModule.h"
#include "LoggerRecordsModule.h"
#include "QtHost.h"
#include "SerialLink.h"
#include "Vercode.h"

namespace kvlink::test {
namespace {

class WindowKeysTest : public DesktopFixture {
 protected:
  // What the operator could have set going: writes, boxes, dialogs, prompts,
  // the link.
  std::string sideEffects() {
    return std::to_string(line->writes().size()) + " writes, " +
           std::to_string(host.boxes().size()) + " boxes, " +
           std::to_string(host.dialogRequests().size()) + " dialogs, " +
           std::to_string(host.passwordPrompts().size()) + " prompts, link " +
           (LinkIsOpen(*program) ? "open" : "closed");
  }
};

TEST_F(WindowKeysTest, EscClosesAndNeverConfirmsNoKeyWithAModifierPressesAnything) {
  const std::tuple<const char*, std::function<void()>, std::function<Form&()>, const char*> rows[] =
      {
          // window, opened by, focus on (a button that acts)
          {"logger settings", [&] { main().mnuConfigure->trigger(); },
           [&]() -> Form& { return loggerConfigModule(*program).LogConfigure(); }, "SSCommand3"},
          {"logger records", [&] { main().mnuRetrieve->trigger(); },
           [&]() -> Form& { return loggerRecords(*program).LogRetr(); }, "SSCommand2"},
          {"auto retrieve", [&] { main().mnuautoretrieve->trigger(); },
           [&]() -> Form& { return program->module<AutoRetrieveModule>().AutoSave(); },
           "SSCommand2"},
          {"reset panel", [&] { editorsModule(*program).Command3D1_Click(); },
           [&]() -> Form& { return editorsModule(*program).Form10(); }, "Command3D3"},
          {"serial set-up", [&] { main().mnuSetupSerial->trigger(); },
           [&]() -> Form& { return program->Form16(); }, "Command3D2"},
          {"unit identification", [&] { main().mnuHelpUnitId->trigger(); },
           [&]() -> Form& { return program->frmUnitId(); }, "Command1"},
      };
  const Qt::KeyboardModifiers modifiers[] = {Qt::ControlModifier, Qt::ShiftModifier,
                                             Qt::AltModifier};
  for (const auto& [what, open, window, acting] : rows) {
    host.clearRecords();
    line->calls.clear();
    open();
    Form& form = window();
    ASSERT_TRUE(form.isVisible()) << what;
    const std::string before = sideEffects();
    form.findChild<QPushButton*>(acting)->setFocus();
    ASSERT_EQ(form.focusWidget(), form.findChild<QPushButton*>(acting)) << what;
    for (const Qt::Key key : {Qt::Key_Return, Qt::Key_Enter, Qt::Key_Escape})
      for (const Qt::KeyboardModifiers modifier : modifiers)
        QTest::keyClick(form.windowHandle(), key, modifier);
    EXPECT_TRUE(form.isVisible()) << what;
    EXPECT_EQ(sideEffects(), before) << what;
    QTest::keyClick(form.windowHandle(), Qt::Key_Escape);
    EXPECT_FALSE(form.isVisible()) << what << ": Esc did not close";
    EXPECT_EQ(sideEffects(), before) << what;
  }
  // About: Enter presses "OK", Esc nothing; Help: no key closes it.
  main().mnuHelpAbout->trigger();
  frmAbout& about = program->frmAbout();
  QTest::keyClick(about.windowHandle(), Qt::Key_Escape);
  QTest::keyClick(about.windowHandle(), Qt::Key_Return, Qt::ControlModifier);
  EXPECT_TRUE(about.isVisible());
  QTest::keyClick(about.windowHandle(), Qt::Key_Return);
  EXPECT_FALSE(about.isVisible());
}

// The real box: Ctrl+Enter and Shift+Esc answer nothing; Enter is Yes, Esc No.
TEST(QuestionBoxKeysTest, EnterAnswersYesEscNoNeitherWithAModifier) {
  QtHost host;
  const std::pair<Qt::Key, int> answers[] = {{Qt::Key_Return, vbYes}, {Qt::Key_Escape, vbNo}};
  for (const auto& [key, answer] : answers) {
    int keysSent = 0;
    QTimer::singleShot(0, [&, key = key] {
      QWidget* box = QApplication::activeModalWidget();
      ASSERT_TRUE(box);
      for (const Qt::Key other : {Qt::Key_Return, Qt::Key_Escape})
        for (const Qt::KeyboardModifiers m :
             {Qt::ControlModifier, Qt::ShiftModifier, Qt::AltModifier})
          QTest::keyClick(box->windowHandle(), other, m), ++keysSent;
      EXPECT_EQ(QApplication::activeModalWidget(), box) << "a key with a modifier answered";
      QTest::keyClick(box->windowHandle(), key);
    });
    EXPECT_EQ(host.msgBox("Are you sure?", vbYesNo | vbExclamation, "Emergency Thermal Reset!"),
              answer);
    EXPECT_EQ(keysSent, 6);
  }
}

}  // namespace
}  // namespace kvlink::test
