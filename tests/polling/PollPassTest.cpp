// The poll pass: its order, No Response handling, command writing, station
// switches and link changes inside its event pumps, the re-entry guard, the
// main window, and the scan and auto-retrieve steps.
#include <stdexcept>

#include "PollFixture.h"
#include "PollingModule.h"
#include "Startup.h"
#include "VbColor.h"

namespace kvlink::test {
namespace {

class PollPassTest : public PollFixture {
 protected:
  PollPassTest() {
    selectStation(5);
    link->station(5).unit(0, true).fill(24, 19, 0).fill(0, 18, 1);
    link->station(5).regs[39] = 0x0040;
    link->station(5).regs[40] = 0;  // no trips
    link->station(5).regs[41] = 0;  // no alarms
    link->station(5).regs[42] = 3;  // running
    link->station(7).unit(1).fill(24, 15, 700).fill(0, 18, 800);
  }
  void queueAll() {
    CommandRequests& c = program->commands;
    c.PendingTripReset = c.PendingAlarmLatchReset = c.PendingClearPeak = true;
    c.PendingEmergencyThermalReset = c.PendingReEnableTemp = true;
    c.PendingRemoteStart = c.PendingRemoteTrip = true;
  }
  std::vector<std::string> writes() const {
    std::vector<std::string> found;
    for (const auto& call : link->calls)
      if (call.find("write") != std::string::npos) found.push_back(call);
    return found;
  }
  PollingModule& module() { return program->module<PollingModule>(); }
};

TEST_F(PollPassTest, PassCallsEveryKindInItsOrder) {
  WriteIni("Station", "station5", "Pump House", "gridmon.ini");
  pass();
  EXPECT_EQ(kind.calls, (std::vector<std::string>{"beginPass", "name Pump House", "resetPointers",
                                                  "sync 0", "refresh", "endPass"}));
  EXPECT_EQ(main().Label11->text(), "Pump House");
  kind.calls.clear();
  link->station(5).silent = true;
  pass();
  EXPECT_EQ(kind.calls,
            (std::vector<std::string>{"beginPass", "name Pump House", "resetPointers", "endPass"}));
}

TEST_F(PollPassTest, NothingHappensWhilePollingIsOff) {
  main().Timer1->stop();
  pass();
  EXPECT_TRUE(link->calls.empty());
  EXPECT_TRUE(kind.calls.empty());
}

TEST_F(PollPassTest, TickDuringAPassIsIgnored) {
  int nestedTicks = 0;
  link->afterCall = [&](const std::string&) {
    if (nestedTicks++ < 3) Form1_Timer1_Timer(*program);  // under a blocking read
  };
  host.atNextDoEvents([this] { Form1_Timer1_Timer(*program); });
  pass();
  EXPECT_EQ(link->count("abread"), 2);
  EXPECT_EQ(kind.count("beginPass"), 1);
  EXPECT_FALSE(poll().passRunning);
  link->afterCall = nullptr;
  pass();
  EXPECT_EQ(link->count("abread"), 4) << "the next tick polls again";
}

TEST_F(PollPassTest, TimerTickKeepsTheOneSecondInterval) {
  main().Timer1->setInterval(250);
  Form1_Timer1_Timer(*program);
  EXPECT_EQ(main().Timer1->interval(), 1000);
  EXPECT_EQ(link->count("abread"), 2);
}

TEST_F(PollPassTest, SixUnansweredPassesInARowCloseTheDataWindows) {
  program->windowStates.MeterWindowState = 0;
  program->windowStates.SetPointWindowState = 0;
  pass();
  link->station(5).silent = true;
  for (int i = 0; i < 5; ++i) pass();
  EXPECT_EQ(kind.count("closeAll 2"), 0);
  EXPECT_EQ(program->windowStates.MeterWindowState, 0);
  link->station(5).silent = false;
  pass();  // an answer starts the count again
  link->station(5).silent = true;
  for (int i = 0; i < 5; ++i) pass();
  EXPECT_EQ(kind.count("closeAll 2"), 0);
  pass();
  EXPECT_EQ(kind.count("closeAll 2"), 1);
  EXPECT_EQ(program->windowStates.MeterWindowState, kWindowClosed);
  EXPECT_EQ(program->windowStates.SetPointWindowState, kWindowClosed);
  EXPECT_EQ(main().Label1->text(), "No Response");
  EXPECT_FALSE(Form1::menuEnabled(main().mnuDisplay));
}

TEST_F(PollPassTest, MainWindowShowsStateTripsAndAlarms) {
  link->station(5).regs[40] = 2;
  pass();
  EXPECT_EQ(main().Label1->text(), "RUNNING");
  EXPECT_EQ(main().Label2->text(), "5");
  EXPECT_EQ(main().Label3->text(), "TRIPS");
  EXPECT_EQ(main().Label3->palette().color(QPalette::WindowText), vbColor(kDarkRed));
  EXPECT_TRUE(Form1::menuEnabled(main().mnuDisplay));
  EXPECT_TRUE(Form1::menuEnabled(main().mnuDataLogging));
  EXPECT_TRUE(main().Command3D1->isEnabled());

  link->station(5).regs[40] = 0;
  link->station(5).regs[42] = 0;
  pass();
  EXPECT_EQ(main().Label1->text(), "STOPPED");
  EXPECT_EQ(main().Label3->text(), "No trips or alarms");
  EXPECT_NE(main().Label3->palette().color(QPalette::WindowText), vbColor(kDarkRed));

  link->station(5).silent = true;
  pass();
  EXPECT_EQ(main().Label1->text(), "No Response");
  EXPECT_EQ(main().Label3->text(), "N/A");
  EXPECT_FALSE(Form1::menuEnabled(main().mnuDisplay));
  EXPECT_FALSE(Form1::menuEnabled(main().mnuDataLogging));
  EXPECT_FALSE(main().Command3D1->isEnabled());
}

TEST_F(PollPassTest, QueuedCommandsAreWrittenInOrderEachFlagClearedFirst) {
  queueAll();
  std::vector<bool> stillQueuedAtWrite;
  link->afterCall = [&](const std::string& call) {
    if (call.rfind("abwrite", 0) == 0) stillQueuedAtWrite.push_back(program->commands.any());
  };
  pass();
  EXPECT_EQ(writes(),
            (std::vector<std::string>{"abwrite 1 5 496 1", "abwrite 1 5 496 2", "abwrite 1 5 496 4",
                                      "abwrite 1 5 496 3", "abwrite 1 5 496 5", "abwrite 1 5 496 7",
                                      "abwrite 1 5 496 8"}));
  EXPECT_FALSE(program->commands.any());
  EXPECT_EQ(stillQueuedAtWrite.back(), false) << "the last flag is cleared before its write";

  link->calls.clear();
  useModbus(true);
  program->commands.PendingRemoteTrip = true;
  program->commands.PendingClearPeak = true;
  pass();
  EXPECT_EQ(writes(), (std::vector<std::string>{"write 1 5 120 3", "write 1 5 120 8"}));
}

TEST_F(PollPassTest, FailedCommandIsReportedOnceAndNotRepeated) {
  link->station(5).writeResult = 35;
  program->commands.PendingTripReset = true;
  pass();
  ASSERT_EQ(host.boxes().size(), 1u);
  EXPECT_EQ(host.boxes()[0].text, "Write Error 35:Illegal Command/Format");
  pass();
  EXPECT_EQ(link->count("abwrite"), 1);
  EXPECT_EQ(host.boxes().size(), 1u);
}

TEST_F(PollPassTest, CommandsAreDroppedWhenTheStationDoesNotAnswerOrChanges) {
  link->station(5).silent = true;
  queueAll();
  pass();
  EXPECT_FALSE(program->commands.any());
  link->station(5).silent = false;
  pass();
  EXPECT_EQ(link->count("abwrite"), 0);

  queueAll();
  selectStation(7);
  EXPECT_FALSE(program->commands.any());
  pass();
  EXPECT_EQ(link->count("abwrite"), 0);

  // A switch during the scan step of an unanswered pass: what the operator
  // queues for the new station stays queued.
  link->station(7).silent = true;
  poll().ScanActive = 1;
  module().networkSummaryStep = [this] {
    selectStation(5);
    program->commands.PendingClearPeak = true;
  };
  pass();
  EXPECT_TRUE(program->commands.PendingClearPeak);
  module().networkSummaryStep = nullptr;
  pass();
  EXPECT_EQ(writes(), (std::vector<std::string>{"abwrite 1 5 496 3"}));
}

TEST_F(PollPassTest, StationSwitchInsideThePumpDoesNotMixStations) {
  pass();
  host.atNextDoEvents([this] {
    selectStation(7);
    main().Label1->clear();                     // the main window waits for station 7
    program->commands.PendingTripReset = true;  // queued for station 7
  });
  link->calls.clear();
  pass();
  EXPECT_EQ(link->count("abread 1 5"), 2);
  EXPECT_EQ(link->count("abread 1 7"), 0);
  EXPECT_EQ(poll().UnitType, 0);
  EXPECT_EQ(values().PolledI2tTrip, 1) << "set points of station 5, read with its meter block";
  EXPECT_EQ(poll().setPointsReadFrom, 5);
  EXPECT_EQ(link->count("abwrite"), 0) << "station 5 gets no command meant for 7";
  EXPECT_TRUE(program->commands.PendingTripReset);
  EXPECT_EQ(main().Label1->text(), "") << "station 5's state is not shown for station 7";

  link->calls.clear();
  pass();
  EXPECT_EQ(writes(), (std::vector<std::string>{"abwrite 1 7 496 1"}));
  EXPECT_EQ(poll().UnitType, 1);
  EXPECT_EQ(values().PolledPhaseA, 700);
  EXPECT_EQ(poll().setPointsReadFrom, 7);
  EXPECT_EQ(main().Label2->text(), "7");
}

TEST_F(PollPassTest, StationSwitchUnderAWriteErrorBoxStopsTheCommands) {
  link->station(5).writeResult = 36;
  queueAll();
  host.onEveryBox([this](const ScriptedHost::ShownBox&) { selectStation(7); });
  pass();
  EXPECT_EQ(link->count("abwrite"), 1);
  EXPECT_EQ(link->count("abwrite 1 7"), 0);
}

TEST_F(PollPassTest, EveryWayOutOfThePassRestoresWhatItDisabled) {
  kind.onRefresh = [] { throw std::runtime_error("window fault"); };
  pass();
  EXPECT_EQ(kind.count("endPass"), 1);
  EXPECT_FALSE(poll().passRunning);

  kind.onRefresh = nullptr;
  link->calls.clear();
  host.atNextDoEvents([this] {  // Disable in the serial set-up window
    main().Timer1->stop();
    program->linkState.CommEnabled = 0;
  });
  program->pointer.setApplicationPointer(11);
  pass();
  EXPECT_EQ(kind.count("endPass"), 2);
  EXPECT_EQ(kind.count("resetPointers"), 2);
  EXPECT_EQ(program->pointer.applicationPointer(), 0);
  EXPECT_EQ(link->count("abread 1 5 256"), 0) << "no read after the link went away";
  EXPECT_NE(main().Label1->text(), "No Response");
  EXPECT_FALSE(poll().passRunning);
}

TEST_F(PollPassTest, ProgramEndInsideThePumpEndsThePassWithoutRecreatingWindows) {
  host.atNextDoEvents([this] { EndProgram(*program); });
  pass();
  EXPECT_FALSE(program->Form1.loaded());
  EXPECT_EQ(link->count("abread 1 5 256"), 0);
  EXPECT_EQ(kind.count("endPass"), 0);
  EXPECT_EQ(kind.count("resetPointers"), 0);
  EXPECT_FALSE(poll().passRunning);
}

TEST_F(PollPassTest, ProtocolSwitchInsideThePumpEndsThePass) {
  queueAll();
  int pumps = 0;
  link->afterCall = [&](const std::string& call) {
    if (call.rfind("abread 1 5 256", 0) == 0 && pumps++ == 0)
      host.atNextDoEvents([this] { useModbus(true); });
  };
  pass();
  EXPECT_EQ(link->count("write"), 0);
  EXPECT_EQ(link->count("abwrite"), 0);
  EXPECT_TRUE(program->commands.any()) << "left queued for the next pass";
  EXPECT_EQ(kind.count("refresh"), 0);
  EXPECT_EQ(kind.count("endPass"), 1);
}

TEST_F(PollPassTest, ScanStepRunsWhileScanningWhetherOrNotTheStationAnswered) {
  std::vector<int16_t> failedSeen;
  module().networkSummaryStep = [&] { failedSeen.push_back(poll().ScanStationFailed); };
  pass();
  EXPECT_TRUE(failedSeen.empty());
  poll().ScanActive = 1;
  poll().ScanStation = 7;
  pass();
  link->station(7).silent = true;
  link->station(5).silent = true;
  pass();
  EXPECT_EQ(failedSeen, (std::vector<int16_t>{0, 1}));
}

TEST_F(PollPassTest, AutoRetrieveStepRunsOncePerPass) {
  main().Label12->setText("Station#3  Count= 4");
  pass();
  EXPECT_TRUE(main().Label12->text().isEmpty());
  int steps = 0;
  module().autoRetrieveStep = [&] { ++steps; };
  pass();
  link->station(5).silent = true;
  pass();
  EXPECT_EQ(steps, 2);
}

}  // namespace
}  // namespace kvlink::test
