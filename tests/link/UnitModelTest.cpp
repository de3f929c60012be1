// The simulated unit: the register behaviour that the program's windows rely on.

#include <gtest/gtest.h>

#include <array>

#include "Df1StationLine.h"
#include "UnitModel.h"

namespace kvlink::sim {
namespace {

UnitClock clockAt(uint16_t year, uint16_t monthDay, uint16_t weekdayHour, uint16_t minuteSecond) {
  UnitClock c;
  EXPECT_TRUE(c.setWord(0, year));
  EXPECT_TRUE(c.setWord(1, monthDay));
  EXPECT_TRUE(c.setWord(2, weekdayHour));
  EXPECT_TRUE(c.setWord(3, minuteSecond));
  return c;
}

TEST(UnitClock, TicksInBcdAcrossMidnightAndTheYearEnd) {
  UnitClock c = clockAt(0x2023, 0x1231, 0x0723, 0x5959);  // Saturday 31 Dec 2023 23:59:59
  c.tick();
  EXPECT_EQ(c.word(0), 0x2024);
  EXPECT_EQ(c.word(1), 0x0101);
  EXPECT_EQ(c.word(2), 0x0100);  // Sunday, hour 00
  EXPECT_EQ(c.word(3), 0x0000);
  UnitClock leap = clockAt(0x2024, 0x0228, 0x0423, 0x5959);
  leap.tick();
  EXPECT_EQ(leap.word(1), 0x0229);
  UnitClock plain = clockAt(0x2023, 0x0228, 0x0423, 0x5959);
  plain.tick();
  EXPECT_EQ(plain.word(1), 0x0301);
}

TEST(UnitClock, RejectsWordsThatAreNotBcdOrOutOfRange) {
  UnitClock c = clockAt(0x2024, 0x0615, 0x0312, 0x3000);
  for (const auto& [index, value] : std::array<std::pair<int, uint16_t>, 6>{
           {{0, 0x20A4}, {1, 0x1315}, {1, 0x0600}, {2, 0x0812}, {2, 0x0324}, {3, 0x6000}}}) {
    EXPECT_FALSE(c.setWord(index, value)) << index << " " << value;
  }
  EXPECT_EQ(c.word(1), 0x0615);
  EXPECT_EQ(c.word(3), 0x3000);
}

class UnitModelTest : public ::testing::Test {
 protected:
  UnitModel motor_{0, true, 1, clockAt(0x2024, 0x0301, 0x0610, 0x0000)};
  UnitModel contactor_{2, false, 2, clockAt(0x2024, 0x0301, 0x0610, 0x0000)};
  UnitModel feeder_{4, true, 3, clockAt(0x2024, 0x0301, 0x0610, 0x0000)};
};

TEST_F(UnitModelTest, IdentificationWordCarriesTypeAndLogger) {
  EXPECT_EQ(motor_.get(kIdWord), 0x0040);
  EXPECT_EQ(contactor_.get(kIdWord), 0x0200);
  EXPECT_EQ(feeder_.get(kIdWord), 0x0440);
  EXPECT_NE(feeder_.get(kFirmwareRevision), 0);
}

TEST_F(UnitModelTest, OnlySetPointsCommandClockAndLoggerSettingsAreWritable) {
  EXPECT_EQ(motor_.write(17, 75), 0);
  EXPECT_EQ(motor_.get(17), 75);
  EXPECT_EQ(motor_.write(24, 1), kIllegalAddress);
  EXPECT_EQ(motor_.write(kRecordCounter, 0), kIllegalAddress);
  EXPECT_EQ(motor_.write(kTriggerDuration, 250), kIllegalValue);
  EXPECT_EQ(motor_.write(kSampleInterval, 0), kIllegalValue);
  EXPECT_EQ(motor_.write(kClockFirst + 1, 0x1301), kIllegalValue);
  EXPECT_EQ(motor_.write(kClockFirst + 3, 0x4530), 0);
  EXPECT_EQ(motor_.get(kClockFirst + 3), 0x4530);
  std::array<uint16_t, 4> out{};
  EXPECT_EQ(motor_.read(kRegisterCount - 4, 4, out), 0);
  EXPECT_EQ(motor_.read(kRegisterCount - 3, 4, out), kIllegalAddress);
}

TEST_F(UnitModelTest, CommandsActOnTheStatusWords) {
  feeder_.set(kTripWord, 0x11);
  feeder_.set(kAlarmWord, 0x02);
  EXPECT_EQ(feeder_.write(kCommandRegister, kCmdTripReset), 0);
  EXPECT_EQ(feeder_.get(kTripWord), 0);
  EXPECT_EQ(feeder_.get(kAlarmWord), 0x02);
  EXPECT_EQ(feeder_.write(kCommandRegister, kCmdAlarmLatchReset), 0);
  EXPECT_EQ(feeder_.get(kAlarmWord), 0);

  const uint16_t phaseA = feeder_.get(24);
  EXPECT_EQ(feeder_.write(kCommandRegister, kCmdRemoteTrip), 0);
  EXPECT_EQ(feeder_.get(kTripWord), kTripRemote);
  EXPECT_EQ(feeder_.get(kStatusWord) & kStatusRunning, 0);
  EXPECT_EQ(feeder_.get(30), phaseA);  // pre-trip phase A
  feeder_.tick();
  EXPECT_EQ(feeder_.get(24), 0);  // no load with the breaker open
  EXPECT_EQ(feeder_.write(kCommandRegister, kCmdRemoteStart), 0);
  EXPECT_EQ(feeder_.get(kStatusWord) & kStatusRunning, kStatusRunning);

  motor_.set(26, 500);
  EXPECT_EQ(motor_.write(kCommandRegister, kCmdClearPeak), 0);
  EXPECT_EQ(motor_.get(26), motor_.get(24));
  EXPECT_EQ(motor_.write(kCommandRegister, kCmdReEnableTemp), 0);
  // The motor relay has no remote control; unknown codes are refused.
  EXPECT_EQ(motor_.write(kCommandRegister, kCmdRemoteTrip), kIllegalValue);
  EXPECT_EQ(contactor_.write(kCommandRegister, kCmdRemoteTrip), 0);
  EXPECT_EQ(motor_.write(kCommandRegister, 6), kIllegalValue);
  EXPECT_EQ(motor_.get(kCommandRegister), 0);
}

TEST_F(UnitModelTest, EmergencyThermalResetWarnsForAWhile) {
  EXPECT_EQ(motor_.write(kCommandRegister, kCmdEmergencyThermalReset), 0);
  EXPECT_EQ(motor_.get(kStatusWord) & kStatusEtr, kStatusEtr);
  EXPECT_EQ(motor_.get(31), 0);  // thermal memory cleared
  for (int i = 0; i < 9; ++i) motor_.tick();
  EXPECT_EQ(motor_.get(kStatusWord) & kStatusEtr, kStatusEtr);
  motor_.tick();
  EXPECT_EQ(motor_.get(kStatusWord) & kStatusEtr, 0);
}

TEST_F(UnitModelTest, MetersMoveSlowlyAroundTheirValues) {
  const uint16_t amps = motor_.get(24);
  bool moved = false;
  for (int i = 0; i < 30; ++i) {
    motor_.tick();
    EXPECT_LE(std::abs(int(motor_.get(24)) - int(amps)), 4);
    moved = moved || motor_.get(24) != amps;
  }
  EXPECT_TRUE(moved);
}

TEST_F(UnitModelTest, LoggerRecordsOnTimeAndCounterResetsOnBit8) {
  EXPECT_EQ(motor_.get(kRecordCounter), 0);
  ASSERT_EQ(motor_.write(kSampleInterval, 5), 0);
  for (int i = 0; i < 10; ++i) motor_.tick();
  EXPECT_EQ(motor_.get(kRecordCounter), 2);
  // Record 0, the newest: time stamp, status words and the motor layout's
  // meter words; the older record has moved up to record 1.
  const int base = kRecordBase;
  EXPECT_EQ(motor_.get(base + 0), 0x2024);
  EXPECT_EQ(motor_.get(base + 3), 0x0010);  // minute 00, second 10
  EXPECT_EQ(motor_.get(kRecordBase + kRecordWords + 3), 0x0005);
  EXPECT_EQ(motor_.get(base + 6), motor_.get(kStatusWord));
  EXPECT_EQ(motor_.get(base + 9), motor_.get(28));   // unbalance
  EXPECT_EQ(motor_.get(base + 10), motor_.get(29));  // temperature

  const uint16_t control = motor_.get(kLoggerControl);
  ASSERT_EQ(motor_.write(kLoggerControl, control + kLogResetCounter), 0);
  EXPECT_EQ(motor_.get(kRecordCounter), 0);
  EXPECT_EQ(motor_.get(kLoggerControl), control);  // the reset bit does not stay

  // A full area loses its oldest record: the 251st logged leaves the second
  // logged (10 s) as record 249.
  ASSERT_EQ(motor_.write(kSampleInterval, 1), 0);
  for (int i = 0; i < 249; ++i) motor_.tick();
  EXPECT_EQ(motor_.get(kRecordBase + kRecordWords * 249 + 3), 0x0010);
  EXPECT_EQ(motor_.get(kRecordCounter), 249);

  ASSERT_EQ(motor_.write(kLoggerControl, 0), 0);  // logging and clock off
  const uint16_t second = motor_.get(kClockFirst + 3);
  for (int i = 0; i < 10; ++i) motor_.tick();
  EXPECT_EQ(motor_.get(kRecordCounter), 249);
  EXPECT_EQ(motor_.get(kClockFirst + 3), second);
}

TEST_F(UnitModelTest, FeederTripIsLoggedAsAnEvent) {
  ASSERT_EQ(feeder_.write(kLoggerControl, kLogEventsOnly | kLogClockEnabled), 0);
  ASSERT_EQ(feeder_.write(kCommandRegister, kCmdRemoteTrip), 0);
  EXPECT_EQ(feeder_.get(kRecordCounter), 1);
  EXPECT_EQ(feeder_.get(kRecordBase + 4), kTripRemote);
  EXPECT_EQ(feeder_.get(kRecordBase + 18), feeder_.get(35));  // pre-trip % thermal
}

TEST(Df1Addressing, ByteAddressesMapToRegistersAndRecords) {
  EXPECT_EQ(df1Register(256, 18), 0);
  EXPECT_EQ(df1Register(304, 19), 24);
  EXPECT_EQ(df1Register(496, 1), 120);
  EXPECT_EQ(df1Register(532, 1), 138);
  EXPECT_EQ(df1Register(768, 18), 192);
  EXPECT_EQ(df1Register(768 + 48 * 249, 19), 192 + 24 * 249);
  EXPECT_EQ(df1Register(305, 1), -1);              // odd
  EXPECT_EQ(df1Register(254, 1), -1);              // below the register area
  EXPECT_EQ(df1Register(764, 4), -1);              // runs into the record area
  EXPECT_EQ(df1Register(768 + 48 * 250, 24), -1);  // past the last record
}

}  // namespace
}  // namespace kvlink::sim
