// The editors on a simulated line of relays over a pseudo-terminal, in
// Modbus RTU and in DF1 with both error checks: an operator changes, deletes
// and restores set points of every unit type and sends every reset and
// remote command, and the next poll shows what the unit then holds.
#include <QTest>

#include "CtModule.h"
#include "EditorsModule.h"
#include "FieldEdit.h"
#include "Form1.h"
#include "Form9.h"
#include "Install.h"
#include "LinkSwitch.h"
#include "LinkTap.h"
#include "PasswordCoding.h"
#include "PollPass.h"
#include "ProgramModeModule.h"
#include "SettingsFile.h"
#include "SimulatedLine.h"
#include "StatusModule.h"
#include "UnitRegisters.h"
#include "platform/Profile.h"

namespace kvlink::test {
namespace {

constexpr int kMotor = 5, kFeeder = 9, kContactor = 12, kCircuit = 20;

class EditorsEndToEndTest : public EndToEndTest {
 protected:
  void SetUp() override {
    ASSERT_TRUE(writeNoPasswords());
    line->addStation(kMotor, 0, false);
    line->addStation(kFeeder, 1, false);
    line->addStation(kContactor, 2, false);
    line->addStation(kCircuit, 4, false);
    ASSERT_TRUE(startLine());
    tap = makeProgramOn(std::make_unique<LinkTap>(serialLink()));
    installSubsystems(*program);
    ASSERT_TRUE(openLink());
    m = &editorsModule(*program);
  }

  int address(int reg) const { return modbus() ? reg : 256 + 2 * reg; }
  void pass() {
    ASSERT_TRUE(program->Form1().Timer1->isActive());
    PollCurrentStation(*program);
    ASSERT_EQ(program->poll.PollStatus & 1, 0);
  }
  void select(int station) {
    program->selectStation(int16_t(station));
    pass();
  }
  uint16_t unit(int station, int reg) const { return line->reg(station, reg); }

  // Types a value into a box as an operator does: click, clear, digits, Enter.
  void typeValue(EditBox* box, const QString& digits) {
    QTest::mouseClick(box, Qt::LeftButton);
    box->selectAll();
    QTest::keyClick(box, Qt::Key_Backspace);
    QTest::keyClicks(box, digits);
    QTest::keyClick(box, Qt::Key_Return);
    EXPECT_FALSE(EditInProgress(*program));
    EXPECT_TRUE(program->Form1().Timer1->isActive());
  }
  void expectBoxesShowTheUnit(SetPointForm& w, int station) {
    for (const FieldRow& row : w.fields()) {
      SCOPED_TRACE(row.box);
      const PolledValue held = unit(station, row.reg);
      EXPECT_EQ(w.box(row)->text().toStdString(), refreshText(held, row.offValue));
      EXPECT_EQ(w.marker(row)->isVisibleTo(&w), w.box(row)->text().isEmpty());
    }
  }

  LinkTap* tap = nullptr;
  EditorsModule* m = nullptr;
};

struct SetPointCase {
  int station;
  int16_t unitType;
  const char* changeBox;
  int changeReg;
  const char* newValue;
  const char* deleteBox;  // has a Delete button
  int deleteReg;
  int offValue;
  const char* restoreValue;
};

TEST_P(EditorsEndToEndTest, OperatorChangesDeletesAndRestoresSetPointsOfEveryUnitType) {
  const SetPointCase cases[] = {
      {kMotor, 0, "Text2", 2, "450", "Text9", 7, 76, "25"},
      {kFeeder, 1, "Text3", 4, "60", "Text1", 0, 46, "30"},
      {kContactor, 2, "Text11", 3, "8", "Text5", 8, 225, "150"},
      {kCircuit, 4, "Text4", 6, "35", "Text2", 2, 91, "45"},
  };
  for (const SetPointCase& c : cases) {
    SCOPED_TRACE(c.unitType);
    select(c.station);
    ASSERT_EQ(program->poll.UnitType, c.unitType);
    program->Form1().mnuDisplaySet->trigger();
    ASSERT_EQ(program->windowStates.SetPointWindowState, c.unitType);
    SetPointForm* w = m->setPointWindow(c.unitType);
    ASSERT_TRUE(w->isVisible());
    pass();
    expectBoxesShowTheUnit(*w, c.station);

    typeValue(w->box(c.changeBox), c.newValue);
    EXPECT_EQ(unit(c.station, c.changeReg), QString(c.newValue).toInt());
    EXPECT_EQ(tap->writes().back(),
              writeCall(modbus(), 3, c.station, address(c.changeReg), QString(c.newValue).toInt()));

    host.answerBox(vbYes);
    w->deleteButton(*findRow(w->fields(), c.deleteBox))->click();
    EXPECT_EQ(unit(c.station, c.deleteReg), c.offValue);
    pass();
    w = m->setPointWindow(c.unitType);
    EXPECT_EQ(w->box(c.changeBox)->text(), c.newValue);
    EXPECT_EQ(w->box(c.deleteBox)->text(), "");
    EXPECT_TRUE(w->marker(*findRow(w->fields(), c.deleteBox))->isVisible());

    typeValue(w->box(c.deleteBox), c.restoreValue);
    EXPECT_EQ(unit(c.station, c.deleteReg), QString(c.restoreValue).toInt());
    pass();
    EXPECT_EQ(w->box(c.deleteBox)->text(), c.restoreValue);
    EXPECT_FALSE(w->marker(*findRow(w->fields(), c.deleteBox))->isVisible());
    expectBoxesShowTheUnit(*w, c.station);
    w->Command14->click();
  }
  EXPECT_TRUE(host.boxes().size() == 4u);  // the four Delete questions, no write error
}

TEST_P(EditorsEndToEndTest, NoValueQueuedCommandOrEditOutlivesAStationOrLinkChange) {
  select(kContactor);
  program->Form1().mnuDisplaySet->trigger();
  pass();
  SetPointForm* w = m->setPointWindow(2);
  QTest::mouseClick(w->box("Text4"), Qt::LeftButton);
  program->selectStation(40);  // nobody there
  EXPECT_FALSE(EditInProgress(*program));
  PollCurrentStation(*program);
  EXPECT_EQ(program->Form1().Label1->text(), "No Response");
  for (const FieldRow& row : w->fields()) EXPECT_EQ(w->box(row)->text(), "") << row.box;
  EXPECT_EQ(m->lpForm10().Label2->text(), "");
  EXPECT_EQ(program->module<StatusModule>().MeterForm().Label1->text(), "");

  select(kContactor);
  program->commands.PendingRemoteStart = true;  // "Remote Start", then Disable and Enable
  SwitchLinkOff(*program);
  program->linkState.CommEnabled = 1;
  ASSERT_TRUE(SwitchLinkOn(*program));
  EXPECT_EQ(program->module<StatusModule>().MeterForm().Label1->text(), "");
  pass();
  EXPECT_TRUE(tap->writes().empty());
}

TEST_P(EditorsEndToEndTest, ChosenStationIsNamedAtOnceAndNothingIsWrittenUntilItIsRead) {
  select(kMotor);
  program->Form1().mnuDisplaySet->trigger();
  program->Form1().Command3D1->click();
  Form9& choose = program->Form9();  // Select Station: 9 "Fan 9", OK
  choose.Text1->setText("9");
  choose.Text2->setText("Fan 9");
  choose.Command3D1_Click();
  for (QLabel* name : {m->FORM5().Label24, ctModule(*program).Form7().Label10,
                       program->module<StatusModule>().MeterForm().Label11, m->Form10().Label4})
    EXPECT_EQ(name->text(), "Fan 9");
  EXPECT_EQ(program->Form1().Label1->text() + program->Form1().Label3->text(), "");
  typeValue(m->FORM5().box("Text4"), "40");  // motor unbalance trip, R6
  m->FORM5().deleteButton(*findRow(m->FORM5().fields(), "Text4"))->click();
  m->Form10().commandButton("Command3D1")->click();
  EXPECT_EQ(boxTexts(host), std::vector<QString>(3,
                                                 "The values of station 9 have not been read "
                                                 "yet, so nothing is written.  Try again in a "
                                                 "moment."));
  pass();  // FORM35 takes FORM5's place, filled by station 9; no command was queued
  typeValue(m->FORM35().box("Text3"), "60");
  EXPECT_EQ(tap->writes(),
            std::vector<std::string>{writeCall(modbus(), 3, kFeeder, address(4), 60)});
}

// Away to another station and back, before the next pass or under a question: nothing written.
TEST_P(EditorsEndToEndTest, AwayAndBackWritesNothingUntilTheStationIsReadAgain) {
  select(kMotor);
  program->Form1().mnuDisplaySet->trigger();
  program->Form1().mnuDisplayCT->trigger();
  program->Form1().Command3D1->click();
  pass();
  auto awayAndBack = [this] { program->selectStation(6), program->selectStation(kMotor); };
  awayAndBack();
  Form7& ct = ctModule(*program).Form7();
  typeValue(m->FORM5().box("Text4"), "40");
  program->Form1().mnuDisplayCT->trigger();
  typeValue(ct.box(ct.fields().front()), "100");
  m->Form10().commandButton("Command3D1")->click();  // "Trip Reset"
  host.answerBox(vbYes);
  m->Form10().commandButton("Command3D3")->click();  // "ETR"
  pass();
  // Away and back under "Delete set point?" and "Are you sure?", answered Yes.
  host.onEveryBox([&](const ScriptedHost::ShownBox& box) {
    if (box.style == 52) awayAndBack();
  });
  for (QPushButton* button : {m->FORM5().deleteButton(m->FORM5().fields().front()),
                              m->Form10().commandButton("Command3D3")}) {
    host.answerBox(vbYes);
    button->click();
    pass();
  }
  host.onEveryBox(nullptr);
  EXPECT_TRUE(tap->writes().empty());
  const QString no =
      "The values of station 5 have not been read yet, so nothing is written.  Try again in a "
      "moment.";
  EXPECT_EQ(boxTexts(host),
            (std::vector<QString>{no, no, no, no, "Delete set point?", no, "Are you sure?", no}));
}

TEST_P(EditorsEndToEndTest, FailedDeleteOrEnterLeavesTheRowAsItWas) {
  select(kMotor);
  program->Form1().mnuDisplaySet->trigger();
  FORM5& w = m->FORM5();
  const FieldRow& row = *findRow(w.fields(), "Text4");
  const QString held = w.box(row)->text();
  line->setFault(kMotor, sim::Fault{sim::FaultKind::Silent});
  host.answerBox(vbYes);
  w.deleteButton(row)->click();
  EXPECT_EQ(w.box(row)->text(), held);
  typeValue(w.box(row), "76");  // the off value, not shown as deleted either
  const QString error = "Write Error 36:Information Not Available from unit";
  EXPECT_EQ(boxTexts(host), (std::vector<QString>{"Delete set point?", error, error}));
  EXPECT_FALSE(held.isEmpty() || w.marker(row)->isVisibleTo(&w));
}

TEST_P(EditorsEndToEndTest, StationChangeInAnyPumpOfThePassShowsNoOldCtValue) {
  Form7& ct = ctModule(*program).Form7();
  const int before = host.doEventsCount();
  select(kMotor);
  for (int pump = 0, pumps = host.doEventsCount() - before; pump < pumps; ++pump) {
    select(kMotor);
    std::function<void(int)> at = [&](int n) {
      host.atNextDoEvents([&, n] { n ? at(n - 1) : program->selectStation(kContactor); });
    };
    at(pump);
    PollCurrentStation(*program);
    for (const FieldRow& row : ct.fields()) EXPECT_EQ(ct.box(row)->text(), "") << pump;
  }
}

TEST_P(EditorsEndToEndTest, ProgramModeBitsAndGeneralStatusTripsOfTheOldStationGo) {
  line->setReg(kMotor, 14, 255);
  line->setReg(kMotor, sim::kTripWord, 0x1ff);
  select(kMotor);
  program->Form1().mnuDisplaySet->trigger();
  m->FORM5().Command13->click();
  program->selectStation(kContactor);
  Form6& mode = program->module<ProgramModeModule>().Form6();
  for (QCheckBox* box : {mode.Check3D1, mode.Check3D2, mode.Check3D3, mode.Check3D4, mode.Check3D5})
    EXPECT_FALSE(box->isChecked());
  const MeterForm& status = program->module<StatusModule>().MeterForm();
  for (QLabel* flag : status.tripLabels) EXPECT_TRUE(flag->isHidden());
}

TEST_P(EditorsEndToEndTest, RelayRefusesASetPointOutOfItsRange) {
  select(kMotor);
  program->Form1().mnuDisplaySet->trigger();
  SetPointForm* w = m->setPointWindow(0);
  const uint16_t held = unit(kMotor, 0);
  typeValue(w->box("Text1"), "50");  // thermal limit trip, 1 to 45 seconds
  EXPECT_EQ(boxTexts(host), std::vector<QString>{"Write Error 37:Invalid Address, Size, or Value"});
  EXPECT_EQ(unit(kMotor, 0), held);
}

TEST_P(EditorsEndToEndTest, TypingTheOffValueDeletesASetPointWhoseButtonIsHidden) {
  select(kCircuit);
  program->Form1().mnuDisplaySet->trigger();
  FORM35& w = m->FORM35();
  const FieldRow& leakage = *findRow(w.fields(), "Text6");
  ASSERT_FALSE(w.deleteButton(leakage)->isVisible());
  typeValue(w.box("Text6"), "101");
  EXPECT_EQ(unit(kCircuit, 10), 101);
  EXPECT_TRUE(w.marker(leakage)->isVisible());
  pass();
  EXPECT_EQ(w.box("Text6")->text(), "");
  EXPECT_TRUE(w.marker(leakage)->isVisible());
}

TEST_P(EditorsEndToEndTest, SetPointWindowFollowsTheStationToAnotherUnitType) {
  select(kMotor);
  program->Form1().mnuDisplaySet->trigger();
  m->FORM5().move(150, 90);
  const QPoint where = m->FORM5().pos();
  select(kContactor);
  EXPECT_FALSE(m->FORM5.loaded());
  ASSERT_TRUE(m->lpFORM5().isVisible());
  EXPECT_EQ(m->lpFORM5().pos(), where);
  EXPECT_EQ(program->windowStates.SetPointWindowState, 2);
  pass();  // the swap comes before the refresh: the boxes show the new unit
  expectBoxesShowTheUnit(m->lpFORM5(), kContactor);
  select(kFeeder);
  select(kCircuit);
  ASSERT_TRUE(m->FORM35().isVisible());
  EXPECT_EQ(m->FORM35().windowTitle(), "ZE-DUR Trip/Alarm Setpoints");
  EXPECT_EQ(m->FORM35().pos(), where);
  expectBoxesShowTheUnit(m->FORM35(), kCircuit);
  // Set Points and RESET used in the motor's first pass: one window of each kind, the motor's.
  program->Form1().Command3D1->click();
  program->selectStation(kMotor);
  std::function<void()> menus = [&] {
    if (program->poll.UnitType != 0) return host.atNextDoEvents(menus);
    program->Form1().mnuDisplaySet->trigger();
    program->Form1().Command3D1->click();
  };
  host.atNextDoEvents(menus);
  pass();
  EXPECT_TRUE(m->FORM5().isVisible() && m->Form10().isVisible());
  EXPECT_FALSE(m->FORM35.loaded() && m->FORM35().isVisible());
  EXPECT_FALSE(m->lpForm40.loaded() && m->lpForm40().isVisible());
}

TEST_P(EditorsEndToEndTest, OperatorSendsEveryResetAndRemoteCommand) {
  const std::pair<int, int16_t> panels[] = {
      {kMotor, 0}, {kFeeder, 1}, {kContactor, 2}, {kCircuit, 4}};
  for (const auto& [station, type] : panels) {
    SCOPED_TRACE(type);
    select(station);
    program->Form1().Command3D1->click();
    ASSERT_EQ(program->windowStates.ResetWindowState, type);
    auto* panel = dynamic_cast<ResetPanel*>(m->resets.variantFor(type)->ifLoaded());
    ASSERT_TRUE(panel && panel->isVisible());
    std::vector<std::string> expected;
    for (const CommandButton& command : commandButtons()) {
      QPushButton* button = panel->commandButton(command.name);
      if (!button) continue;
      if (!command.flag) host.answerBox(vbYes);  // ETR: "Are you sure?"
      tap->calls.clear();
      button->click();
      pass();
      ASSERT_EQ(tap->writtenRegisters(), std::vector<int>{sim::kCommandRegister})
          << command.caption;
      expected.push_back(tap->writes()[0]);
    }
    EXPECT_EQ(expected.size(), panel->design().buttons.size());
    EXPECT_FALSE(program->commands.any());
    // The unit's answer shows after the next poll.
    pass();
    EXPECT_EQ(panel->Label2->text().toInt(), unit(station, 37));
    if (panel->Label3) {
      EXPECT_EQ(panel->Label3->text().toInt(), unit(station, 38));
    }
    panel->Command3D6->click();
  }
  for (const auto& box : host.boxes()) EXPECT_FALSE(box.text.startsWith("Write Error"));
}

TEST_P(EditorsEndToEndTest, CommandsAreWrittenInTheirOrderWhateverTheClickOrder) {
  select(kContactor);
  line->setReg(kContactor, sim::kTripWord, 1);  // a trip to reset
  program->Form1().Command3D1->click();
  lpForm10& panel = m->lpForm10();
  panel.commandButton("Command3D10")->click();  // remote trip
  panel.commandButton("Command3D1")->click();   // trip reset
  panel.commandButton("Command3D1")->click();   // twice: still one command
  tap->calls.clear();
  pass();
  const int at = modbus() ? 120 : 496;
  EXPECT_EQ(tap->writes(), (std::vector<std::string>{writeCall(modbus(), 3, kContactor, at, 1),
                                                     writeCall(modbus(), 3, kContactor, at, 8)}));
  // Reset first, then the remote trip: the unit is left tripped remotely.
  EXPECT_EQ(unit(kContactor, sim::kTripWord), sim::kTripRemote);
}

TEST_P(EditorsEndToEndTest, EmergencyThermalResetBehindTheMasterPassword) {
  ASSERT_TRUE(WriteIni(kMiscSection, kMasterPasswordKey, encodePassword("boss"), kSettingsFile));
  select(kMotor);
  program->Form1().Command3D1->click();
  Form10& panel = m->Form10();
  host.answerPassword(QStringLiteral("wrong"));
  panel.commandButton("Command3D3")->click();
  pass();
  EXPECT_EQ(unit(kMotor, sim::kStatusWord) & sim::kStatusEtr, 0);
  host.answerPassword(QStringLiteral("boss"));
  host.answerBox(vbYes);
  panel.commandButton("Command3D3")->click();
  const uint16_t thermal = unit(kMotor, 31);
  pass();
  EXPECT_NE(unit(kMotor, sim::kStatusWord) & sim::kStatusEtr, 0);
  pass();
  EXPECT_EQ(panel.Label3->text().toInt(), thermal);  // the ETR peak the unit kept
}

INSTANTIATE_TEST_SUITE_P(Lines, EditorsEndToEndTest, ::testing::ValuesIn(kLineCases), lineCaseName);

}  // namespace
}  // namespace kvlink::test
