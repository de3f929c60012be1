// The whole program on a line of units in memory (motor relays at stations 5
// and 6, no passwords, the link enabled): who holds the poll, and Enter and
// Esc in its windows.
#include <QTest>

#include "AutoRetrieveModule.h"
#include "EditorsModule.h"
#include "Form1.h"
#include "Form16.h"
#include "Install.h"
#include "LinkSwitch.h"
#include "LoggerConfigModule.h"
#include "LoggerRecordsModule.h"
#include "MemoryLine.h"
#include "PollPass.h"
#include "ProgramModeActions.h"
#include "ProgramModeModule.h"
#include "SerialLink.h"
#include "StationSwitch.h"
#include "TestProgram.h"
#include "Vercode.h"

namespace kvlink::test {
namespace {

class DesktopTest : public ProgramTest {
 protected:
  DesktopTest() {
    EXPECT_TRUE(writeNoPasswords());
    line = makeProgramOn(std::make_unique<MemoryLine>());
    installSubsystems(*program);
    for (int station : {5, 6}) line->station(station).unit(0, false);
    program->linkState.UseModbus = 1;
    program->selectStation(5);
    EXPECT_TRUE(SwitchLinkOn(*program));
    PollCurrentStation(*program);
  }
  Form1& main() { return program->Form1(); }
  bool polling() { return main().Timer1->isActive(); }
  FORM5& setPoints() { return editorsModule(*program).FORM5(); }
  void key(int code) { setPoints().Box_KeyPress(*setPoints().box("Text1"), code); }
  Form& programMode() { return program->module<ProgramModeModule>().Form6(); }
  MemoryLine* line = nullptr;
};

TEST_F(DesktopTest, EveryHolderOfThePollEndedEveryWayLetsItRunAgain) {
  const std::function<void()> edit = [&] {
    main().mnuDisplaySet->trigger();
    setPoints().Box_Click(*setPoints().box("Text1"));
  };
  const std::function<void()> mode = [&] { openProgramMode(*program, ProgramModeFamily::Motor); };
  auto button = [](Form& window, const char* name) {
    window.findChild<QPushButton*>(name)->click();
  };
  auto deleteAnswered = [&](int answer) {
    return [&, answer] {
      main().mnuDisplaySet->trigger();
      host.answerBox(answer);
      setPoints().deleteButton(setPoints().fields().front())->click();
    };
  };
  Form& logConfigure = loggerConfigModule(*program).LogConfigure();
  Form& records = loggerRecords(*program).LogRetr();
  Form& unitId = program->frmUnitId();
  const std::function<void()> nothing = [] {};
  const std::function<void()> enable = [&] { EXPECT_TRUE(SwitchLinkOn(*program)); };
  const std::function<void()> disableEnable = [&] { SwitchLinkOff(*program), enable(); };
  // The windows that Enable leaves open are opened, then Enable is pressed.
  auto openThenEnable = [&](QAction* item) { return [&, item] { item->trigger(), enable(); }; };
  const std::function<void()> logger = openThenEnable(main().mnuConfigure),
                              retrieve = openThenEnable(main().mnuRetrieve),
                              identify = openThenEnable(main().mnuHelpUnitId);
  const std::tuple<const char*, std::function<void()>, std::function<void()>> rows[] = {
      {"edit, Enter", edit, [&] { key(13); }},
      {"edit, Esc", edit, [&] { key(27); }},
      {"edit, station", edit, [&] { switchToStation(*program, 6, {}); }},
      {"edit, Disable", edit, disableEnable},
      {"Delete, Yes", nothing, deleteAnswered(vbYes)},
      {"Delete, No", nothing, deleteAnswered(vbNo)},
      {"mode, Apply", mode, [&] { button(programMode(), "Command1"); }},
      {"mode, Close", mode, [&] { button(programMode(), "Command2"); }},
      {"mode, close box", mode, [&] { programMode().close(); }},
      {"mode, Disable", mode, disableEnable},
      {"logger, Close", logger, [&] { button(logConfigure, "SSCommand1"); }},
      {"logger, close box", logger, [&] { logConfigure.close(); }},
      {"records, Close", retrieve, [&] { button(records, "SSCommand1"); }},
      {"records, close box", retrieve, [&] { records.close(); }},
      {"unit id, Close", identify, [&] { button(unitId, "Command1"); }},
      {"unit id, close box", identify, [&] { unitId.close(); }}};
  for (const auto& [what, open, end] : rows) {
    int held = 0;
    host.onEveryBox([&](const ScriptedHost::ShownBox&) { held += !polling(); });
    open();
    held += !polling();
    EXPECT_EQ(polling(), program->session.pollHolds == 0) << what;
    end();
    flushDeletes();
    EXPECT_GT(held, 0) << what;
    EXPECT_TRUE(polling()) << what << ": the poll stayed off";
    program->selectStation(5);
    PollCurrentStation(*program);
  }
}

// Esc presses "Close" and never confirms; with Ctrl, Shift or Alt neither key
// presses anything, not even the focused button that acts.
TEST_F(DesktopTest, EscClosesAndNeverConfirmsAModifierMakesEnterAndEscPressNothing) {
  const std::tuple<std::function<void()>, std::function<Form&()>, const char*> rows[] = {
      {[&] { main().mnuConfigure->trigger(); },
       [&]() -> Form& { return loggerConfigModule(*program).LogConfigure(); }, "SSCommand3"},
      {[&] { main().mnuRetrieve->trigger(); },
       [&]() -> Form& { return loggerRecords(*program).LogRetr(); }, "SSCommand2"},
      {[&] { main().mnuautoretrieve->trigger(); },
       [&]() -> Form& { return program->module<AutoRetrieveModule>().AutoSave(); }, "SSCommand2"},
      {[&] { editorsModule(*program).Command3D1_Click(); },
       [&]() -> Form& { return editorsModule(*program).Form10(); }, "Command3D3"},
      {[&] { main().mnuSetupSerial->trigger(); }, [&]() -> Form& { return program->Form16(); },
       "Command3D2"},
      {[&] { main().mnuHelpUnitId->trigger(); }, [&]() -> Form& { return program->frmUnitId(); },
       "Command1"}};
  for (const auto& [open, window, acting] : rows) {
    open();
    Form& form = window();
    form.findChild<QPushButton*>(acting)->setFocus();
    const size_t calls = line->calls.size(), boxes = host.boxes().size();
    for (const Qt::Key key : {Qt::Key_Return, Qt::Key_Enter, Qt::Key_Escape})
      for (const auto modifier : {Qt::ControlModifier, Qt::ShiftModifier, Qt::AltModifier})
        QTest::keyClick(form.windowHandle(), key, modifier);
    EXPECT_TRUE(form.isVisible()) << acting;
    QTest::keyClick(form.windowHandle(), Qt::Key_Escape);
    EXPECT_FALSE(form.isVisible()) << acting;
    EXPECT_EQ(line->calls.size() + host.boxes().size() + host.dialogRequests().size() +
                  host.passwordPrompts().size() + !LinkIsOpen(*program),
              calls + boxes)
        << acting << " acted";
  }
}

}  // namespace
}  // namespace kvlink::test
