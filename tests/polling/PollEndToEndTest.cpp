// The poll on a simulated line of relays over a pseudo-terminal, in Modbus RTU
// and in DF1 with both error checks: what goes on the line, what the units
// answer and where it lands, No Response, station switches, commands, and the
// two timers driving the poll and the watchdog.
#include <QCoreApplication>
#include <QEventLoop>
#include <QTimer>

#include "InstallShell.h"
#include "LinkSwitch.h"
#include "PollFixture.h"
#include "PolledValueTables.h"
#include "Startup.h"
#include "TapLink.h"
#include "UnitRegisters.h"
#include "UnitSimulator.h"
#include "link/SerialLinkLibrary.h"

namespace kvlink::test {
namespace {

using sim::Protocol;

struct LineCase {
  Protocol protocol;
  const char* name;
};

// Stations on the line: one of each unit type.
constexpr int kMotor = 5, kFeeder = 9, kContactor = 12, kCircuit = 20;

class PollEndToEndTest : public ::testing::TestWithParam<LineCase> {
 protected:
  void SetUp() override {
    ASSERT_TRUE(settingsDir.isValid());
    qputenv("KVLINK_WINDIR", settingsDir.path().toUtf8());
    line =
        std::make_unique<sim::UnitSimulator>(sim::SimOptions{GetParam().protocol, 9600, false, {}});
    line->addStation(kMotor, 0, true);
    line->addStation(kFeeder, 1, true);
    line->addStation(kContactor, 2, false);
    line->addStation(kCircuit, 4, true);
    line->setFrozen(true);
    ASSERT_TRUE(line->start());
    const std::string device = line->devicePath();
    auto tapped = std::make_unique<TapLink>(
        std::make_unique<SerialLinkLibrary>([device](int) { return device; }));
    tap = tapped.get();
    program = std::make_unique<Program>(host, std::move(tapped));
    programPtr = program.get();
    installShell(*program);
    installPolling(*program);
    program->addWindowKind(&kind);
    LinkState& link = program->linkState;
    link.CommPort = 3;
    link.BaudCode = 96;
    link.UseModbus = modbus() ? 1 : 0;
    link.CheckMode = GetParam().protocol == Protocol::Df1Bcc ? 1 : 0;
    link.CommEnabled = 1;
    ASSERT_TRUE(SwitchLinkOn(*program));
    program->selectStation(kMotor);
    tap->calls.clear();
  }
  void TearDown() override {
    program.reset();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    line.reset();
  }

  bool modbus() const { return GetParam().protocol == Protocol::Modbus; }
  void pass() { PollCurrentStation(*program); }
  PollState& poll() { return program->poll; }
  int count(const std::string& prefix) const {
    int n = 0;
    for (const auto& call : tap->calls) n += call.rfind(prefix, 0) == 0;
    return n;
  }
  std::vector<std::string> writes() const {
    std::vector<std::string> found;
    for (const auto& call : tap->calls)
      if (call.find("write") != std::string::npos) found.push_back(call);
    return found;
  }
  // Every value of a family's tables holds its station's register.
  template <size_t N>
  void expectStored(const std::array<PolledMember, N>& table, int station, int firstRegister) {
    for (size_t n = 0; n < N; ++n) {
      if (!table[n]) continue;
      EXPECT_EQ(poll().values.*table[n], line->reg(station, firstRegister + int(n)))
          << "station " << station << " R" << firstRegister + n;
    }
  }

  QTemporaryDir settingsDir;
  ScriptedHost host;
  std::unique_ptr<sim::UnitSimulator> line;
  Program* programPtr = nullptr;
  RecordingKind kind{programPtr};
  TapLink* tap = nullptr;
  std::unique_ptr<Program> program;
};

TEST_P(PollEndToEndTest, PassReadsBothBlocksAndTheScanStationOnTheLine) {
  pass();
  const std::vector<std::string> plain =
      modbus() ? std::vector<std::string>{"read 3 5 24 19", "read 3 5 0 18"}
               : std::vector<std::string>{"abcontrol 3 21", "abread 3 5 304 38", "abcontrol 3 21",
                                          "abread 3 5 256 36"};
  EXPECT_EQ(tap->calls, plain);
  EXPECT_EQ(poll().PollStatus, 0);

  tap->calls.clear();
  poll().ScanActive = 1;
  poll().ScanStation = kCircuit;
  line->setReg(kCircuit, sim::kTripWord, 0x21);
  pass();
  std::vector<std::string> scanned = plain;
  scanned.push_back(modbus() ? "read 3 20 39 4" : "abread 3 20 334 8");
  EXPECT_EQ(tap->calls, scanned);
  EXPECT_EQ(poll().PollStatus, 0);
  EXPECT_EQ(poll().scan.ScanUnitType, 4);
  EXPECT_EQ(poll().scan.ScanTripStatus, 0x21);
  EXPECT_EQ(poll().scan.ScanMotorStatus, line->reg(kCircuit, sim::kStatusWord));

  poll().ScanStation = 40;  // nobody there
  pass();
  EXPECT_EQ(poll().PollStatus, 2);
  EXPECT_EQ(poll().ScanStationFailed, 1);
}

TEST_P(PollEndToEndTest, UnitTypeAndFamilyTablesFollowTheStation) {
  pass();
  EXPECT_EQ(poll().UnitType, 0);
  EXPECT_TRUE(Form1::menuVisible(program->Form1().mnuDataLogging));
  expectStored(kMotorMeterTable, kMotor, 24);
  expectStored(kMotorSetPointTable, kMotor, 0);
  const PolledValues motor = poll().values;

  program->selectStation(kFeeder);
  pass();
  EXPECT_EQ(poll().UnitType, 1);
  expectStored(kFeederMeterTable, kFeeder, 24);
  expectStored(kFeederSetPointTable, kFeeder, 0);
  EXPECT_EQ(poll().values.PolledAmps, motor.PolledAmps) << "motor-only values stay";
  EXPECT_EQ(poll().values.PolledETRPeak, motor.PolledETRPeak);
  EXPECT_EQ(poll().values.PolledOvercurrentTrip, motor.PolledOvercurrentTrip);

  program->selectStation(kContactor);
  pass();
  EXPECT_EQ(poll().UnitType, 2);
  EXPECT_FALSE(Form1::menuVisible(program->Form1().mnuDataLogging));
  program->selectStation(kCircuit);
  pass();
  EXPECT_EQ(poll().UnitType, 4);
  EXPECT_EQ(poll().setPointsReadFrom, kCircuit);
}

TEST_P(PollEndToEndTest, WordAbove32767IsStoredAndShown) {
  line->setReg(kMotor, 24, 40000);
  line->setReg(kMotor, 4, 65535);
  pass();
  EXPECT_EQ(poll().PollStatus, 0);
  EXPECT_EQ(poll().values.PolledAmps, 40000);
  EXPECT_EQ(poll().values.PolledUndercurrentTrip, 65535);
  ASSERT_EQ(kind.refreshedWith.size(), 1u);
  EXPECT_EQ(kind.refreshedWith[0].PolledAmps, 40000);
}

TEST_P(PollEndToEndTest, SixSilentPassesCloseTheWindowsAndDropCommands) {
  program->windowStates.MeterWindowState = 0;
  line->setFault(kMotor, sim::Fault{sim::FaultKind::Silent});
  program->commands.PendingTripReset = true;
  for (int i = 0; i < 5; ++i) pass();
  EXPECT_FALSE(program->commands.any());
  EXPECT_EQ(kind.count("closeAll 2"), 0);
  EXPECT_EQ(program->Form1().Label1->text(), "No Response");
  EXPECT_FALSE(Form1::menuEnabled(program->Form1().mnuDisplay));
  pass();
  EXPECT_EQ(kind.count("closeAll 2"), 1);
  EXPECT_EQ(program->windowStates.MeterWindowState, kWindowClosed);
  EXPECT_EQ(count("write"), 0);
  EXPECT_EQ(count("abwrite"), 0);

  line->clearFault(kMotor);
  pass();
  EXPECT_EQ(poll().PollStatus, 0);
  EXPECT_TRUE(Form1::menuEnabled(program->Form1().mnuDisplay));
}

TEST_P(PollEndToEndTest, StationSwitchInsideThePumpDoesNotMixValues) {
  host.atNextDoEvents([this] { program->selectStation(kFeeder); });
  pass();
  EXPECT_EQ(line->requestCount(kFeeder), 0);
  EXPECT_EQ(poll().UnitType, 0);
  expectStored(kMotorMeterTable, kMotor, 24);
  expectStored(kMotorSetPointTable, kMotor, 0);
  EXPECT_FALSE(poll().values.PolledPhaseA.has_value());
  pass();
  EXPECT_EQ(poll().UnitType, 1);
  expectStored(kFeederSetPointTable, kFeeder, 0);
}

TEST_P(PollEndToEndTest, CommandsReachTheUnitInOrderAndNotAfterAStationChange) {
  program->selectStation(kContactor);
  line->setReg(kContactor, sim::kTripWord, 1);
  line->setReg(kContactor, sim::kAlarmWord, 1);
  CommandRequests& c = program->commands;
  c.PendingRemoteTrip = c.PendingRemoteStart = c.PendingAlarmLatchReset = c.PendingTripReset = true;
  pass();
  const int reg = modbus() ? 120 : 496;
  const std::string call = modbus() ? "write 3 12 " : "abwrite 3 12 ";
  EXPECT_EQ(writes(), (std::vector<std::string>{
                          call + std::to_string(reg) + " 1", call + std::to_string(reg) + " 2",
                          call + std::to_string(reg) + " 7", call + std::to_string(reg) + " 8"}));
  EXPECT_TRUE(host.boxes().empty());
  // Trip reset before remote trip, remote start before remote trip.
  EXPECT_EQ(line->reg(kContactor, sim::kTripWord), sim::kTripRemote);
  EXPECT_EQ(line->reg(kContactor, sim::kAlarmWord), 0);
  EXPECT_EQ(line->reg(kContactor, sim::kStatusWord) & sim::kStatusRunning, 0);

  tap->calls.clear();
  c.PendingTripReset = true;
  program->selectStation(kFeeder);
  pass();
  EXPECT_TRUE(writes().empty());
  EXPECT_EQ(line->reg(kContactor, sim::kTripWord), sim::kTripRemote);
}

TEST_P(PollEndToEndTest, RefusedCommandIsReportedOnceAndNotRepeated) {
  program->commands.PendingRemoteStart = true;  // the motor relay has no remote start
  pass();
  ASSERT_EQ(host.boxes().size(), 1u);
  EXPECT_TRUE(host.boxes()[0].text.startsWith("Write Error "))
      << host.boxes()[0].text.toStdString();
  pass();
  EXPECT_EQ(writes().size(), 1u);
  EXPECT_EQ(host.boxes().size(), 1u);
}

TEST_P(PollEndToEndTest, TickInsideAPassIsIgnored) {
  host.atNextDoEvents([this] { Form1_Timer1_Timer(*program); });
  pass();
  EXPECT_EQ(line->requestCount(kMotor), 2);
  EXPECT_EQ(kind.count("beginPass"), 1);
}

INSTANTIATE_TEST_SUITE_P(Lines, PollEndToEndTest,
                         ::testing::Values(LineCase{Protocol::Modbus, "Modbus"},
                                           LineCase{Protocol::Df1Crc, "Df1Crc"},
                                           LineCase{Protocol::Df1Bcc, "Df1Bcc"}),
                         [](const auto& info) { return std::string(info.param.name); });

void runEventLoopFor(int ms) {
  QEventLoop loop;
  QTimer::singleShot(ms, &loop, &QEventLoop::quit);
  loop.exec();
}

// The real timers of the main window, on the real event loop.
TEST(PollTimersEndToEndTest, Timer1PollsEverySecondAndTheWatchdogResetsAfterTheLinkCloses) {
  QTemporaryDir settingsDir;
  qputenv("KVLINK_WINDIR", settingsDir.path().toUtf8());
  sim::UnitSimulator line(sim::SimOptions{Protocol::Modbus, 9600, false, {}});
  line.addStation(1, 1, true);
  ASSERT_TRUE(line.start());
  const std::string device = line.devicePath();
  ScriptedHost host;
  {
    Program program(host, std::make_unique<SerialLinkLibrary>([device](int) { return device; }));
    installShell(program);
    installPolling(program);
    Form1_Form_Load(program);  // first start: link closed
    program.linkState.UseModbus = 1;
    program.linkState.CommEnabled = 1;
    ASSERT_TRUE(SwitchLinkOn(program));
    runEventLoopFor(1150);
    EXPECT_EQ(line.requestCount(1), 2);
    EXPECT_EQ(program.poll.UnitType, 1);
    EXPECT_EQ(program.Form1().Label2->text(), "1");

    SwitchLinkOff(program);
    runEventLoopFor(3100);
    EXPECT_EQ(line.requestCount(1), 2);
    EXPECT_EQ(program.Form1().Label1->text(), "COMM not enabled");
    EXPECT_EQ(program.Form1().Label3->text(), "N/A");
    EXPECT_TRUE(Form1::menuEnabled(program.Form1().mnuHelp));
  }
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

}  // namespace
}  // namespace kvlink::test
