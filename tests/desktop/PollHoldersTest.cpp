// Every holder of the poll, ended every way its window or action ends: the
// poll is off while it holds, Enable meanwhile does not start it, and it runs
// again once the holder has let go.
#include <functional>

#include "DesktopFixture.h"
#include "EditorsModule.h"
#include "LoggerConfigModule.h"
#include "LoggerRecordsModule.h"
#include "ProgramModeActions.h"
#include "ProgramModeModule.h"
#include "StationSwitch.h"
#include "Vercode.h"

namespace kvlink::test {
namespace {

using Check = std::function<void()>;

class PollHoldersTest : public DesktopFixture {
 protected:
  FORM5& setPoints() {
    main().mnuDisplaySet->trigger();
    return editorsModule(*program).FORM5();
  }
  void key(FORM5& window, int code) { window.Box_KeyPress(*window.box("Text1"), code); }
  // A field edit begun, held, then ended by `end`.
  void edit(const Check& held, const std::function<void(FORM5&)>& end) {
    FORM5& window = setPoints();
    window.Box_Click(*window.box("Text1"));
    held();
    end(window);
  }
  void deleteAnswered(const Check& held, int answer) {
    FORM5& window = setPoints();
    host.onEveryBox([&](const ScriptedHost::ShownBox&) { held(); });
    host.answerBox(answer);
    window.deleteButton(window.fields().front())->click();
    host.onEveryBox(nullptr);
  }
  void programMode(const Check& held, const std::function<void(ProgramModeWindow&)>& end) {
    openProgramMode(*program, ProgramModeFamily::Motor);
    held();
    end(program->module<ProgramModeModule>().Form6());
  }
  // A window that holds the poll from its menu item; Enable is pressed while
  // it is open.
  void modal(const Check& held, QAction* item, const std::function<Form&()>& window,
             bool byCloseBox) {
    item->trigger();
    held();
    EXPECT_TRUE(SwitchLinkOn(*program));
    held();
    Form& form = window();
    if (byCloseBox)
      form.close();
    else
      form.findChild<QPushButton*>(closeButtonOf(form))->click();
  }
  static QString closeButtonOf(Form& form) {
    return form.objectName() == QLatin1String("frmUnitId") ? QStringLiteral("Command1")
                                                           : QStringLiteral("SSCommand1");
  }
  void disableEnable() {
    SwitchLinkOff(*program);
    EXPECT_TRUE(SwitchLinkOn(*program));
  }
};

TEST_F(PollHoldersTest, EveryHolderEndedEveryWayLetsThePollRunAgain) {
  auto logConfigure = [this]() -> Form& { return loggerConfigModule(*program).LogConfigure(); };
  auto logRecords = [this]() -> Form& { return loggerRecords(*program).LogRetr(); };
  auto unitId = [this]() -> Form& { return program->frmUnitId(); };
  const std::pair<const char*, std::function<void(const Check&)>> rows[] = {
      {"edit, Enter", [&](const Check& h) { edit(h, [&](FORM5& w) { key(w, 13); }); }},
      {"edit, Esc", [&](const Check& h) { edit(h, [&](FORM5& w) { key(w, 27); }); }},
      {"edit, station changed",
       [&](const Check& h) { edit(h, [&](FORM5&) { switchToStation(*program, 6, {}); }); }},
      {"edit, Disable", [&](const Check& h) { edit(h, [&](FORM5&) { disableEnable(); }); }},
      {"Delete, Yes", [&](const Check& h) { deleteAnswered(h, vbYes); }},
      {"Delete, No", [&](const Check& h) { deleteAnswered(h, vbNo); }},
      {"program mode, Apply",
       [&](const Check& h) { programMode(h, [](auto& w) { w.Command1->click(); }); }},
      {"program mode, Close",
       [&](const Check& h) { programMode(h, [](auto& w) { w.Command2->click(); }); }},
      {"program mode, close box",
       [&](const Check& h) { programMode(h, [](auto& w) { w.close(); }); }},
      {"program mode, Disable",
       [&](const Check& h) { programMode(h, [&](auto&) { disableEnable(); }); }},
      {"logger settings, Close",
       [&](const Check& h) { modal(h, main().mnuConfigure, logConfigure, false); }},
      {"logger settings, close box",
       [&](const Check& h) { modal(h, main().mnuConfigure, logConfigure, true); }},
      {"records, Close", [&](const Check& h) { modal(h, main().mnuRetrieve, logRecords, false); }},
      {"records, close box",
       [&](const Check& h) { modal(h, main().mnuRetrieve, logRecords, true); }},
      {"unit identification, Close",
       [&](const Check& h) { modal(h, main().mnuHelpUnitId, unitId, false); }},
      {"unit identification, close box",
       [&](const Check& h) { modal(h, main().mnuHelpUnitId, unitId, true); }},
  };
  for (const auto& [what, run] : rows) {
    int held = 0;
    run([&, what = what] {
      ++held;
      EXPECT_FALSE(polling()) << what << ": polled while held";
    });
    flushDeletes();
    EXPECT_GT(held, 0) << what;
    EXPECT_TRUE(polling()) << what << ": the poll stayed off";
    EXPECT_EQ(program->session.pollHolds, 0) << what;
    program->selectStation(5);
    PollCurrentStation(*program);
  }
}

}  // namespace
}  // namespace kvlink::test
