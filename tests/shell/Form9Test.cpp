// Select Station: the station and its name, what OK changes and what bad
// input leaves alone.
#include <QTest>

#include "Form1.h"
#include "Form9.h"
#include "ShellTestSupport.h"
#include "Startup.h"

namespace kvlink::test {
namespace {

class Form9Test : public ShellTest {
 protected:
  void SetUp() override {
    ShellTest::SetUp();
    Form1_Form_Load(*program);
    ASSERT_TRUE(WriteIni(kStationSection, "station7", "Feeder 7", kSettingsFile));
  }
  void queueCommands() {
    program->commands.PendingTripReset = true;
    program->commands.PendingRemoteStart = true;
    program->commands.PendingClearPeak = true;
  }
  // Opens Select Station from the menu and, inside the modal window, types
  // the number and the name and presses OK.
  void selectFromMenu(const QString& number, const QString& name) {
    host.onNextModal([&](Form& shown) {
      auto& form = static_cast<Form9&>(shown);
      shownNumber = form.Text1->text();
      form.Text1->setText(number);
      form.Text2->setText(name);
      form.Command3D1->click();
    });
    program->Form1().mnuSetupStation->trigger();
  }

  QString shownNumber;
};

TEST_F(Form9Test, OkMakesTheStationCurrentDropsQueuedCommandsAndSavesBothKeys) {
  queueCommands();
  selectFromMenu("12", "  Pump 4 ");

  EXPECT_EQ(shownNumber, "1");
  EXPECT_EQ(program->linkState.CurrentStation, 12);
  EXPECT_FALSE(program->commands.any());
  EXPECT_EQ(setting(kStationKey), "12");
  EXPECT_EQ(ReadIni(kStationSection, "station12", kSettingsFile), "Pump 4");
  EXPECT_EQ(program->Form1().Label2->text(), "12");
  EXPECT_EQ(program->Form1().Label11->text(), "Pump 4");
  EXPECT_FALSE(program->Form9().isVisible());
  EXPECT_TRUE(host.boxes().empty());

  // The window shows the new current station the next time.
  selectFromMenu("12", "Pump 4");
  EXPECT_EQ(shownNumber, "12");
}

TEST_F(Form9Test, TypingANumberShowsThatStationsSavedName) {
  Form9& form = program->Form9();
  form.Text1->setText("7");
  form.Text1_Change();
  EXPECT_EQ(form.Text2->text(), "Feeder 7");
  form.Text1->setText("70");
  form.Text1_Change();
  EXPECT_EQ(form.Text2->text(), "Feeder 7");  // no station 70: the name stays
}

TEST_F(Form9Test, BadStationNumberIsExplainedAndChangesNothing) {
  queueCommands();
  for (const char* input : {"", "abc", "0", "64", "3x", "-5", "7.0", "1e1"}) {
    SCOPED_TRACE(input);
    host.clearRecords();
    selectFromMenu(QString::fromUtf8(input), "New name");
    ASSERT_EQ(host.boxes().size(), 1u);
    EXPECT_TRUE(host.boxes()[0].text.contains("from 1 to 63"));
    EXPECT_EQ(host.boxes()[0].title, "Select Station");
    EXPECT_TRUE(program->Form9().isVisible());  // stays open for a correction
    EXPECT_EQ(program->linkState.CurrentStation, 1);
    EXPECT_TRUE(program->commands.PendingTripReset);
    EXPECT_EQ(setting(kStationKey), "1");
    EXPECT_EQ(program->Form1().Label2->text(), "1");
    program->Form9().Command3D2->click();
  }
}

TEST_F(Form9Test, NameThatWouldNotReadBackIsRefused) {
  selectFromMenu("7", "\"Feeder 7\"");
  ASSERT_EQ(host.boxes().size(), 1u);
  EXPECT_EQ(program->linkState.CurrentStation, 1);
  EXPECT_EQ(ReadIni(kStationSection, "station7", kSettingsFile), "Feeder 7");
}

TEST_F(Form9Test, CancelChangesNothing) {
  queueCommands();
  host.onNextModal([](Form& shown) {
    auto& form = static_cast<Form9&>(shown);
    form.Text1->setText("30");
    form.Command3D2->click();
  });
  program->Form1().mnuSetupStation->trigger();
  EXPECT_EQ(program->linkState.CurrentStation, 1);
  EXPECT_TRUE(program->commands.any());
  EXPECT_FALSE(program->Form9().isVisible());
}

// A stored name longer than the box takes: the main window shows it cut, the
// whole name in the tooltip, and OK without an edit keeps it whole.
TEST_F(Form9Test, LongStoredNameIsShownCutAndKeptWhole) {
  const std::string name(90, 'N');
  ASSERT_TRUE(WriteIni(kStationSection, "station1", name, kSettingsFile));
  host.onNextModal([](Form& shown) { static_cast<Form9&>(shown).Command3D1->click(); });
  program->Form1().mnuSetupStation->trigger();
  EXPECT_EQ(ReadIni(kStationSection, "station1", kSettingsFile), name);
  Form1& main = program->Form1();
  EXPECT_EQ(main.Label11->toolTip().toStdString(), name);
  EXPECT_TRUE(main.Label11->text().endsWith(QChar(0x2026)));
  EXPECT_LT(main.minimumSizeHint().width(), 1366);
}

TEST_F(Form9Test, TypedNameStopsAtTheSettingsFiles255Bytes) {
  for (const QString& letter : {QStringLiteral("N"), QStringLiteral("\u00dc")}) {
    host.onNextModal([&](Form& shown) {
      auto& form = static_cast<Form9&>(shown);
      form.Text2->clear();
      QTest::keyClicks(form.Text2, letter.repeated(300));
      form.Command3D1->click();
    });
    program->Form1().mnuSetupStation->trigger();
    const QString kept = letter.repeated(int(255 / letter.toUtf8().size()));
    EXPECT_EQ(ReadIni(kStationSection, "station1", kSettingsFile), kept.toStdString());
  }
}

}  // namespace
}  // namespace kvlink::test
