// The editors on a simulated line of relays over a pseudo-terminal, in
// Modbus RTU and in DF1 with both error checks: an operator changes, deletes
// and restores set points of every unit type and sends every reset and
// remote command, and the next poll shows what the unit then holds.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QTemporaryDir>
#include <QTest>
#include <functional>

#include "EditorsModule.h"
#include "FieldEdit.h"
#include "Form1.h"
#include "Install.h"
#include "LinkSwitch.h"
#include "PasswordCoding.h"
#include "PollPass.h"
#include "Program.h"
#include "ScriptedHost.h"
#include "SettingsFile.h"
#include "UnitRegisters.h"
#include "UnitSimulator.h"
#include "link/SerialLinkLibrary.h"
#include "platform/profile.h"

namespace kvlink {
namespace {

using sim::Protocol;

// Passes every call on to the real link and keeps the writes it made.
class WriteTap : public LinkLibrary {
 public:
  explicit WriteTap(std::unique_ptr<LinkLibrary> inner) : inner_(std::move(inner)) {}
  std::vector<std::pair<int, int32_t>> writes;  // address, value

  int CommOpen(int p, int b) override { return inner_->CommOpen(p, b); }
  int CommClose(int p) override { return inner_->CommClose(p); }
  int SetRetry(int c) override { return inner_->SetRetry(c); }
  int rvx_ReadInfo(uint16_t* buf, int words, int p, int s, int r, int c) override {
    return inner_->rvx_ReadInfo(buf, words, p, s, r, c);
  }
  int WriteInfo(int p, int s, int r, int32_t v) override {
    writes.push_back({r, v});
    return inner_->WriteInfo(p, s, r, v);
  }
  int abCommOpen(int p, int b) override { return inner_->abCommOpen(p, b); }
  int abCommClose(int p) override { return inner_->abCommClose(p); }
  int abSetRetry(int c) override { return inner_->abSetRetry(c); }
  int abSetCheckMode(int m) override { return inner_->abSetCheckMode(m); }
  int abSendControl(int p, int c) override { return inner_->abSendControl(p, c); }
  int abrvx_ReadInfo(uint16_t* buf, int words, int p, int s, int a, int c) override {
    return inner_->abrvx_ReadInfo(buf, words, p, s, a, c);
  }
  int abWriteInfo(int p, int s, int a, int32_t v) override {
    writes.push_back({a, v});
    return inner_->abWriteInfo(p, s, a, v);
  }

 private:
  std::unique_ptr<LinkLibrary> inner_;
};

struct LineCase {
  Protocol protocol;
  const char* name;
};

constexpr int kMotor = 5, kFeeder = 9, kContactor = 12, kCircuit = 20;

class EditorsEndToEndTest : public ::testing::TestWithParam<LineCase> {
 protected:
  void SetUp() override {
    ASSERT_TRUE(dir_.isValid());
    setenv("KVLINK_WINDIR", dir_.path().toLocal8Bit().constData(), 1);
    for (const std::string& key : {kGeneralPasswordKey, kMasterPasswordKey})
      ASSERT_TRUE(WriteIni(kMiscSection, key, kNoPassword, kSettingsFile));
    line_ =
        std::make_unique<sim::UnitSimulator>(sim::SimOptions{GetParam().protocol, 9600, false, {}});
    line_->addStation(kMotor, 0, false);
    line_->addStation(kFeeder, 1, false);
    line_->addStation(kContactor, 2, false);
    line_->addStation(kCircuit, 4, false);
    line_->setFrozen(true);
    ASSERT_TRUE(line_->start());
    const std::string device = line_->devicePath();
    auto tap = std::make_unique<WriteTap>(
        std::make_unique<SerialLinkLibrary>([device](int) { return device; }));
    tap_ = tap.get();
    program_ = std::make_unique<Program>(host_, std::move(tap));
    installSubsystems(*program_);
    LinkState& link = program_->linkState;
    link.CommPort = 3;
    link.BaudCode = 96;
    link.UseModbus = modbus() ? 1 : 0;
    link.CheckMode = GetParam().protocol == Protocol::Df1Bcc ? 1 : 0;
    link.CommEnabled = 1;
    ASSERT_TRUE(SwitchLinkOn(*program_));
    m_ = &editorsModule(*program_);
  }
  void TearDown() override {
    program_.reset();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    line_.reset();
    unsetenv("KVLINK_WINDIR");
  }

  bool modbus() const { return GetParam().protocol == Protocol::Modbus; }
  int address(int reg) const { return modbus() ? reg : 256 + 2 * reg; }
  void pass() {
    ASSERT_TRUE(program_->Form1().Timer1->isActive());
    PollCurrentStation(*program_);
    ASSERT_EQ(program_->poll.PollStatus & 1, 0);
  }
  void select(int station) {
    program_->selectStation(int16_t(station));
    pass();
  }
  uint16_t unit(int station, int reg) const { return line_->reg(station, reg); }

  // Types a value into a box as an operator does: click, clear, digits, Enter.
  void typeValue(EditBox* box, const QString& digits) {
    QTest::mouseClick(box, Qt::LeftButton);
    box->selectAll();
    QTest::keyClick(box, Qt::Key_Backspace);
    QTest::keyClicks(box, digits);
    QTest::keyClick(box, Qt::Key_Return);
    EXPECT_FALSE(EditInProgress(*program_));
    EXPECT_TRUE(program_->Form1().Timer1->isActive());
  }
  void expectBoxesShowTheUnit(SetPointForm& w, int station) {
    for (const FieldRow& row : w.fields()) {
      SCOPED_TRACE(row.box);
      const PolledValue held = unit(station, row.reg);
      EXPECT_EQ(w.box(row)->text().toStdString(), refreshText(held, row.offValue));
      EXPECT_EQ(w.marker(row)->isVisibleTo(&w), w.box(row)->text().isEmpty());
    }
  }

  QTemporaryDir dir_;
  ScriptedHost host_;
  std::unique_ptr<sim::UnitSimulator> line_;
  WriteTap* tap_ = nullptr;
  std::unique_ptr<Program> program_;
  EditorsModule* m_ = nullptr;
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
    ASSERT_EQ(program_->poll.UnitType, c.unitType);
    program_->Form1().mnuDisplaySet->trigger();
    ASSERT_EQ(program_->windowStates.SetPointWindowState, c.unitType);
    SetPointForm* w = m_->setPointWindow(c.unitType);
    ASSERT_TRUE(w->isVisible());
    pass();
    expectBoxesShowTheUnit(*w, c.station);

    typeValue(w->box(c.changeBox), c.newValue);
    EXPECT_EQ(unit(c.station, c.changeReg), QString(c.newValue).toInt());
    EXPECT_EQ(tap_->writes.back(),
              std::make_pair(address(c.changeReg), int32_t(QString(c.newValue).toInt())));

    host_.answerBox(vbYes);
    w->deleteButton(*findRow(w->fields(), c.deleteBox))->click();
    EXPECT_EQ(unit(c.station, c.deleteReg), c.offValue);
    pass();
    w = m_->setPointWindow(c.unitType);
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
  EXPECT_TRUE(host_.boxes().size() == 4u);  // the four Delete questions, no write error
}

TEST_P(EditorsEndToEndTest, TypingTheOffValueDeletesASetPointWhoseButtonIsHidden) {
  select(kCircuit);
  program_->Form1().mnuDisplaySet->trigger();
  FORM35& w = m_->FORM35();
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
  program_->Form1().mnuDisplaySet->trigger();
  m_->FORM5().move(150, 90);
  const QPoint where = m_->FORM5().pos();
  select(kContactor);
  EXPECT_FALSE(m_->FORM5.loaded());
  ASSERT_TRUE(m_->lpFORM5().isVisible());
  EXPECT_EQ(m_->lpFORM5().pos(), where);
  EXPECT_EQ(program_->windowStates.SetPointWindowState, 2);
  pass();  // the swap comes before the refresh: the boxes show the new unit
  expectBoxesShowTheUnit(m_->lpFORM5(), kContactor);
  select(kFeeder);
  select(kCircuit);
  ASSERT_TRUE(m_->FORM35().isVisible());
  EXPECT_EQ(m_->FORM35().windowTitle(), "ZE-DUR Trip/Alarm Setpoints");
  EXPECT_EQ(m_->FORM35().pos(), where);
  expectBoxesShowTheUnit(m_->FORM35(), kCircuit);
}

TEST_P(EditorsEndToEndTest, OperatorSendsEveryResetAndRemoteCommand) {
  const int commandAddress = modbus() ? 120 : 496;
  const std::pair<int, int16_t> panels[] = {
      {kMotor, 0}, {kFeeder, 1}, {kContactor, 2}, {kCircuit, 4}};
  for (const auto& [station, type] : panels) {
    SCOPED_TRACE(type);
    select(station);
    program_->Form1().Command3D1->click();
    ASSERT_EQ(program_->windowStates.ResetWindowState, type);
    auto* panel = dynamic_cast<ResetPanel*>(m_->resets.variantFor(type)->ifLoaded());
    ASSERT_TRUE(panel && panel->isVisible());
    std::vector<std::pair<int, int32_t>> expected;
    for (const CommandButton& command : commandButtons()) {
      QPushButton* button = panel->commandButton(command.name);
      if (!button) continue;
      if (!command.flag) host_.answerBox(vbYes);  // ETR: "Are you sure?"
      tap_->writes.clear();
      button->click();
      pass();
      ASSERT_EQ(tap_->writes.size(), 1u) << command.caption;
      EXPECT_EQ(tap_->writes[0].first, commandAddress);
      expected.push_back(tap_->writes[0]);
    }
    EXPECT_EQ(expected.size(), panel->design().buttons.size());
    EXPECT_FALSE(program_->commands.any());
    // The unit's answer shows after the next poll.
    pass();
    EXPECT_EQ(panel->Label2->text().toInt(), unit(station, 37));
    if (panel->Label3) {
      EXPECT_EQ(panel->Label3->text().toInt(), unit(station, 38));
    }
    panel->Command3D6->click();
  }
  for (const auto& box : host_.boxes()) EXPECT_FALSE(box.text.startsWith("Write Error"));
}

TEST_P(EditorsEndToEndTest, CommandsAreWrittenInTheirOrderWhateverTheClickOrder) {
  select(kContactor);
  line_->setReg(kContactor, sim::kTripWord, 1);  // a trip to reset
  program_->Form1().Command3D1->click();
  lpForm10& panel = m_->lpForm10();
  panel.commandButton("Command3D10")->click();  // remote trip
  panel.commandButton("Command3D1")->click();   // trip reset
  panel.commandButton("Command3D1")->click();   // twice: still one command
  tap_->writes.clear();
  pass();
  const int at = modbus() ? 120 : 496;
  EXPECT_EQ(tap_->writes, (std::vector<std::pair<int, int32_t>>{{at, 1}, {at, 8}}));
  // Reset first, then the remote trip: the unit is left tripped remotely.
  EXPECT_EQ(unit(kContactor, sim::kTripWord), sim::kTripRemote);
}

TEST_P(EditorsEndToEndTest, EmergencyThermalResetBehindTheMasterPassword) {
  ASSERT_TRUE(WriteIni(kMiscSection, kMasterPasswordKey, encodePassword("boss"), kSettingsFile));
  select(kMotor);
  program_->Form1().Command3D1->click();
  Form10& panel = m_->Form10();
  host_.answerPassword(QStringLiteral("wrong"));
  panel.commandButton("Command3D3")->click();
  pass();
  EXPECT_EQ(unit(kMotor, sim::kStatusWord) & sim::kStatusEtr, 0);
  host_.answerPassword(QStringLiteral("boss"));
  host_.answerBox(vbYes);
  panel.commandButton("Command3D3")->click();
  const uint16_t thermal = unit(kMotor, 31);
  pass();
  EXPECT_NE(unit(kMotor, sim::kStatusWord) & sim::kStatusEtr, 0);
  pass();
  EXPECT_EQ(panel.Label3->text().toInt(), thermal);  // the ETR peak the unit kept
}

INSTANTIATE_TEST_SUITE_P(Lines, EditorsEndToEndTest,
                         ::testing::Values(LineCase{Protocol::Modbus, "ModbusRtu"},
                                           LineCase{Protocol::Df1Crc, "Df1Crc"},
                                           LineCase{Protocol::Df1Bcc, "Df1Bcc"}),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace kvlink
