// The status displays driven by the real poll pass on a simulated line of
// 63 relays over a pseudo-terminal, in Modbus RTU and DF1 (CRC and BCC):
// General Status following the unit type, and the Network Summary painting
// every station.
#include "InstallPolling.h"
#include "InstallShell.h"
#include "PollPass.h"
#include "SimulatedLine.h"
#include "StatusFixture.h"
#include "UnitRegisters.h"
#include "UnitStateText.h"
#include "VbColor.h"
#include "platform/Profile.h"

namespace kvlink::test {
namespace {

constexpr int kMotor = 4, kFeeder = 1, kContactor = 2, kCircuit = 3;
constexpr int kSilent = 7, kUnknownType = 11;

int unitTypeOf(int station) {
  constexpr int types[] = {0, 1, 2, 4};  // station 4 is a motor unit, 1 a feeder, ...
  return types[station % 4];
}

class StatusEndToEndTest : public EndToEndTest {
 protected:
  void SetUp() override {
    for (int s = 1; s <= kStations; ++s) {
      line->addStation(s, unitTypeOf(s), false);
      if (s % 10 == 3) line->setReg(s, sim::kTripWord, 1);
      if (s % 10 == 6) line->setReg(s, sim::kAlarmWord, 2);
    }
    line->setReg(kUnknownType, sim::kIdWord, 0x0300);
    line->setFault(kSilent, sim::Fault{sim::FaultKind::Silent});
    ASSERT_TRUE(startLine());
    ASSERT_TRUE(WriteIni("Station", "station3", "Lighting panel", "gridmon.ini"));

    makeProgram();
    installShell(*program);
    installPolling(*program);
    installStatus(*program);
    status().scan.readMarkPause = std::chrono::milliseconds(0);
    ASSERT_TRUE(openLink());
  }

  StatusModule& status() { return program->module<StatusModule>(); }
  MeterForm& meter() { return status().MeterForm(); }
  Form13& summary() { return status().Form13(); }
  void pass() { PollCurrentStation(*program); }
  void passAt(int station) {
    program->selectStation(int16_t(station));
    pass();
  }

  void startScan(bool drop) {
    program->Form1().menuDisplayNetworkSummary->trigger();
    (drop ? status().Form14().Option1 : status().Form14().Option2)->setChecked(true);
    status().Form14().Command3D1->click();
  }

  // The cell of an answering station shows what its registers hold.
  void expectCellShowsUnit(int station) {
    const int i = station - 1;
    const uint16_t trip = line->reg(station, sim::kTripWord);
    const uint16_t alarm = line->reg(station, sim::kAlarmWord);
    const int type = unitTypeOf(station);
    EXPECT_EQ(summary().Label2[i]->text().toStdString(),
              scanStatusText(type, trip, alarm, line->reg(station, sim::kStatusWord)))
        << "station " << station;
    EXPECT_EQ(summary().LabelID1[i]->text().toStdString(), unitTypeAbbreviation(type));
    EXPECT_EQ(textColor(summary().Label1[i]), trip || alarm ? kCellTripOrAlarm : kCellHealthy)
        << "station " << station;
  }
};

TEST_P(StatusEndToEndTest, GeneralStatusFollowsTheUnitTypeWithinOnePoll) {
  EXPECT_TRUE(meter().isVisible());  // the link open shows it with the motor layout
  EXPECT_EQ(program->windowStates.MeterWindowState, 0);

  struct Expect {
    int station;
    int16_t type;
    const char* row5;
    bool row8Shown;
  };
  for (const Expect& e : {Expect{kFeeder, 1, "Earth Leakage (Ax10)", false},
                          Expect{kCircuit, 4, "Ground Leakage (Ax10)", false},
                          Expect{kContactor, 2, "Temperature (C)", true},
                          Expect{kMotor, 0, "Temperature (C)", true}}) {
    passAt(e.station);
    EXPECT_EQ(program->windowStates.MeterWindowState, e.type) << "station " << e.station;
    EXPECT_EQ(meter().Label31->text(), e.row5);
    EXPECT_EQ(meter().Label34->isHidden(), !e.row8Shown);
    EXPECT_EQ(meter().Label3p->isHidden(), e.row8Shown);
    EXPECT_EQ(meter().Label1->text(), QString::number(line->reg(e.station, 24)));
    EXPECT_EQ(meter().Label7->text(), QString::number(line->reg(e.station, 26)));
    EXPECT_EQ(meter().Label2->text(),
              QString::number(line->reg(e.station, isMotorFamily(e.type) ? 28 : 27)));
  }
  passAt(kCircuit);
  EXPECT_EQ(meter().Label11->text(), "Lighting panel");
  EXPECT_EQ(meter().Label19t->isHidden(), true);
  EXPECT_FALSE(meter().Label2t->isHidden());
  EXPECT_EQ(meter().Label2t->text(), "---> % Thermal Used Trip");
}

TEST_P(StatusEndToEndTest, TripsAlarmsAndWarningsFromTheUnit) {
  line->setReg(kMotor, sim::kTripWord, 2 | 64);
  line->setReg(kMotor, sim::kAlarmWord, 64);
  line->setReg(kMotor, sim::kStatusWord, 4 | 3);
  passAt(kMotor);
  MeterForm& m = meter();
  EXPECT_FALSE(m.Label3t->isHidden());
  EXPECT_FALSE(m.Label8t->isHidden());
  EXPECT_EQ(m.Label8t->text(), "---> Short-Circuit Trip");
  EXPECT_EQ(m.Frame3D1->captionColor(), kDarkRed);
  EXPECT_EQ(m.Frame3D2->captionColor(), kDarkRed);
  EXPECT_TRUE(m.Label18t->isHidden());
  for (QLabel* label : m.alarmLabels) EXPECT_TRUE(label->isHidden());
  EXPECT_FALSE(m.Label25t->isHidden());
  EXPECT_EQ(m.Frame3D4->captionColor(), kDarkRed);

  line->setReg(kMotor, sim::kTripWord, 0);
  line->setReg(kMotor, sim::kAlarmWord, 0);
  line->setReg(kMotor, sim::kStatusWord, 3);
  pass();
  EXPECT_FALSE(m.Label19t->isHidden());
  EXPECT_FALSE(m.Label18t->isHidden());
  EXPECT_TRUE(m.Label25t->isHidden());
  EXPECT_FALSE(m.Label20t->isHidden());
  EXPECT_EQ(m.Frame3D4->captionColor(), kDarkBlue);
}

TEST_P(StatusEndToEndTest, ClosedWindowKeepsFillingAndReopensOnTheNewType) {
  passAt(kMotor);
  meter().Command1->click();
  passAt(kFeeder);
  EXPECT_EQ(program->windowStates.MeterWindowState, kWindowClosed);
  EXPECT_EQ(meter().Label27->text(), "Ammeter (A)");
  EXPECT_EQ(meter().Label1->text(), QString::number(line->reg(kFeeder, 24)));
  program->Form1().mnuDisplayMeter->trigger();
  EXPECT_EQ(meter().Label27->text(), "Phase A (A)");
  EXPECT_EQ(program->windowStates.MeterWindowState, 1);

  meter().close();  // title bar
  flushDeletes();
  pass();
  EXPECT_FALSE(meter().isVisible());
  EXPECT_EQ(meter().Label27->text(), "Ammeter (A)");
  EXPECT_EQ(meter().Label1->text(), QString::number(line->reg(kFeeder, 24)));
}

TEST_P(StatusEndToEndTest, NetworkSummaryPaintsAll63Stations) {
  passAt(kMotor);
  startScan(false);
  for (int p = 0; p < kStations; ++p) pass();
  EXPECT_EQ(program->poll.ScanStation, 1);
  for (int s = 1; s <= kStations; ++s) {
    if (s == kSilent || s == kUnknownType) {
      EXPECT_EQ(summary().Label2[s - 1]->text(), "NR") << "station " << s;
      EXPECT_EQ(textColor(summary().Label1[s - 1]), kCellIdle);
      EXPECT_FALSE(summary().Label1[s - 1]->isHidden());
    } else {
      expectCellShowsUnit(s);
    }
  }
  EXPECT_EQ(program->poll.ScanActive, 1);
  EXPECT_TRUE(host.boxes().empty());
  // The current station was polled all along.
  EXPECT_EQ(program->poll.UnitType, 0);
  EXPECT_EQ(program->poll.PollStatus & 1, 0);
}

TEST_P(StatusEndToEndTest, DropOptionTakesSilentStationsOffTheScan) {
  passAt(kMotor);
  startScan(true);
  for (int p = 0; p < kStations; ++p) pass();
  EXPECT_EQ(program->poll.ScanEligibleCount, kStations - 2);
  EXPECT_TRUE(summary().Label1[kSilent - 1]->isHidden());
  EXPECT_TRUE(summary().Label1[kUnknownType - 1]->isHidden());
  for (int p = 0; p < kSilent - 1; ++p) pass();
  EXPECT_EQ(program->poll.ScanStation, kSilent + 1);
  expectCellShowsUnit(kSilent - 1);
}

TEST_P(StatusEndToEndTest, LineWithoutKnownUnitsEndsTheScanWithOneBox) {
  for (int s = 1; s <= kStations; ++s) line->setReg(s, sim::kIdWord, 0x0500);
  passAt(kMotor);
  startScan(true);
  for (int p = 0; p < kStations + 5; ++p) pass();
  ASSERT_EQ(host.boxes().size(), 1u);
  EXPECT_EQ(host.boxes()[0].text, "No elegible stations to scan.");
  EXPECT_EQ(program->poll.ScanActive, 0);
  EXPECT_FALSE(summary().isVisible());
  EXPECT_TRUE(program->Form1().menuDisplayNetworkSummary->isEnabled());
}

TEST_P(StatusEndToEndTest, DoubleClickOnACellSwitchesTheStationForTheNextPoll) {
  passAt(kMotor);
  startScan(false);
  pass();
  program->commands.PendingTripReset = true;
  doubleClick(summary().Label1[kCircuit - 1]);
  EXPECT_EQ(program->linkState.CurrentStation, kCircuit);
  EXPECT_FALSE(program->commands.PendingTripReset);
  EXPECT_EQ(program->Form1().Label2->text(), QString::number(kCircuit));
  EXPECT_EQ(meter().Label11->text(), "Lighting panel");  // at once, before the station answers
  pass();
  EXPECT_EQ(program->poll.UnitType, 4);
  EXPECT_EQ(meter().Label31->text(), "Ground Leakage (Ax10)");
  EXPECT_EQ(program->poll.ScanStation, 3);
}

INSTANTIATE_TEST_SUITE_P(Lines, StatusEndToEndTest, ::testing::ValuesIn(kLineCases), lineCaseName);

}  // namespace
}  // namespace kvlink::test
