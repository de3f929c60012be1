// The station read inside a pass on a fake line: unit type detection, what
// an unanswered or unidentified read leaves alone, answers taken before a
// pump, the scan read and its flags, and the pointers at its end.
#include "ErrorHandling.h"
#include "PollFixture.h"

namespace kvlink::test {
namespace {

class StationReadTest : public PollFixture {
 protected:
  StationReadTest() {
    selectStation(5);
    link->station(5).unit(0, true).fill(24, 15, 100).fill(40, 3, 140).fill(0, 18, 1);
  }
};

TEST_F(StationReadTest, UnitTypeAndDataLoggingMenuFollowTheIdentificationWord) {
  struct Case {
    int type;
    bool logger;
  };
  for (const Case& c : {Case{1, true}, Case{2, false}, Case{4, true}, Case{0, false}}) {
    link->station(5).unit(c.type, c.logger);
    pass();
    EXPECT_EQ(poll().UnitType, c.type);
    EXPECT_EQ(poll().PollStatus, 0);
    EXPECT_EQ(Form1::menuVisible(main().mnuDataLogging), c.logger) << c.type;
  }
}

TEST_F(StationReadTest, UnidentifiedTypeStoresNothingAndSkipsTheSetPointRead) {
  link->station(5).unit(4, false);
  pass();
  const PolledValues before = values();
  link->station(5).regs[39] = 0x0340;
  link->station(5).fill(24, 15, 500);
  link->calls.clear();
  pass();
  EXPECT_EQ(poll().UnitType, 99);
  EXPECT_EQ(poll().PollStatus, 1);
  EXPECT_FALSE(Form1::menuVisible(main().mnuDataLogging)) << "menu keeps its visibility";
  EXPECT_EQ(values().PolledPhaseA, before.PolledPhaseA);
  EXPECT_EQ(link->count("abread 1 5 256"), 0);
}

TEST_F(StationReadTest, UnansweredMeterBlockChangesNothing) {
  link->station(5).unit(4);
  pass();
  const uint16_t phaseA = *values().PolledPhaseA;
  link->station(5).silent = true;
  link->calls.clear();
  pass();
  EXPECT_EQ(poll().PollStatus, 1);
  EXPECT_EQ(poll().UnitType, 4);
  EXPECT_EQ(values().PolledPhaseA, phaseA);
  EXPECT_EQ(link->count("abread"), 1) << "no set-point read after a failed meter read";
}

TEST_F(StationReadTest, UnansweredSetPointBlockKeepsTheMeterValuesOfThisPass) {
  pass();
  link->station(5).fill(24, 15, 300).fill(0, 18, 50);
  link->afterCall = [this](const std::string& call) {
    if (call == "abread 1 5 304 38") link->station(5).silent = true;
  };
  pass();
  EXPECT_EQ(poll().PollStatus, 1);
  EXPECT_EQ(values().PolledAmps, 300);
  EXPECT_EQ(values().PolledI2tTrip, 1) << "set points of the last answered read";
}

TEST_F(StationReadTest, AnswersAreTakenBeforeAnotherHandlerReadsIntoTheBuffer) {
  // A handler run by the pump reads another register block into ReadBuffer.
  link->station(5).fill(128, 19, 7000);
  host.atNextDoEvents([this] { ReadUnit(*program, 1, 5, 256 + 2 * 128, 38); });
  pass();
  EXPECT_EQ(values().PolledAmps, 100);
  EXPECT_EQ(values().PolledMotorStatus, 142);
  EXPECT_EQ(poll().UnitType, 0);
}

TEST_F(StationReadTest, ScanResultsAndFlags) {
  poll().ScanActive = 1;
  poll().ScanStation = 9;
  link->station(9).unit(2).fill(40, 3, 61);
  pass();
  EXPECT_EQ(poll().PollStatus, 0);
  EXPECT_EQ(poll().scan.ScanUnitType, 2);
  EXPECT_EQ(poll().scan.ScanTripStatus, 61);
  EXPECT_EQ(poll().scan.ScanAlarmStatus, 62);
  EXPECT_EQ(poll().scan.ScanMotorStatus, 63);
  EXPECT_EQ(poll().ScanStationFailed, 0);

  link->station(9).regs[39] = 0x0500;
  link->station(9).fill(40, 3, 1);
  pass();
  EXPECT_EQ(poll().PollStatus, 2);
  EXPECT_EQ(poll().scan.ScanUnitType, 99);
  EXPECT_EQ(poll().scan.ScanTripStatus, 61) << "an unidentified scan station stores nothing more";
  EXPECT_EQ(poll().ScanStationFailed, 1);

  link->station(9).silent = true;
  link->station(5).silent = true;
  pass();
  EXPECT_EQ(poll().PollStatus, 3);
  EXPECT_EQ(poll().ScanStationFailed, 1);

  poll().ScanActive = 0;
  pass();
  EXPECT_EQ(poll().PollStatus, 1) << "no scan flag without a scan";
}

TEST_F(StationReadTest, PointersAreResetAtTheEndOfEveryRead) {
  program->pointer.setApplicationPointer(11);
  link->station(5).silent = true;
  pass();
  EXPECT_EQ(program->pointer.applicationPointer(), 0);
  EXPECT_EQ(kind.count("resetPointers"), 1);
  program->pointer.setApplicationPointer(11);
  link->station(5).silent = false;
  pass();
  EXPECT_EQ(program->pointer.applicationPointer(), 0);
  EXPECT_EQ(kind.count("resetPointers"), 2);
}

}  // namespace
}  // namespace kvlink::test
