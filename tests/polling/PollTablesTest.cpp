// The poll's tables and decoders: which register lands in which polled value
// per family, the identification word and the main window's status texts.
#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "MainStatusText.h"
#include "PolledValueTables.h"
#include "StationBlocks.h"

namespace kvlink {
namespace {

using V = PolledValues;
using Expected = std::vector<std::pair<PolledMember, int>>;  // value, register

// The register each value holds, listed value by value.
const Expected kMotorRegisters = {
    {&V::PolledI2tTrip, 0},
    {&V::PolledI2tAlarm, 1},
    {&V::PolledOvercurrentTrip, 2},
    {&V::PolledOvercurrentAlarm, 3},
    {&V::PolledUndercurrentTrip, 4},
    {&V::PolledUndercurrentAlarm, 5},
    {&V::PolledUnbalanceTrip, 6},
    {&V::PolledUnbalanceAlarm, 7},
    {&V::PolledTemperatureTrip, 8},
    {&V::PolledTemperatureAlarm, 9},
    {&V::PolledLeakageTrip, 10},
    {&V::PolledLeakageAlarm, 11},
    {&V::PolledFLA, 12},
    {&V::PolledServiceFactor, 13},
    {&V::ProgramModeWord1, 14},
    {&V::ProgramModeWord2, 15},
    {&V::PolledPhaseCT, 16},
    {&V::PolledEFCT, 17},
    {&V::PolledAmps, 24},
    {&V::PolledAmpsPercent, 25},
    {&V::PolledPeakCurrent, 26},
    {&V::PolledModulation, 27},
    {&V::PolledUnbalance, 28},
    {&V::PolledTemperature, 29},
    {&V::PolledLeakage, 30},
    {&V::PolledPercentI2t, 31},
    {&V::PolledPreTripCurrent, 32},
    {&V::PolledPreTripUnbalance, 33},
    {&V::PolledPreTripTemperature, 34},
    {&V::PolledPreTripLeakage, 35},
    {&V::PolledPreTripPercentI2t, 36},
    {&V::PolledResetTime, 37},
    {&V::PolledETRPeak, 38},
    {&V::PolledTripStatus, 40},
    {&V::PolledAlarmStatus, 41},
    {&V::PolledMotorStatus, 42},
};
const Expected kFeederRegisters = {
    {&V::PolledI2tTrip, 0},
    {&V::PolledI2tAlarm, 1},
    {&V::PolledShortTimeTrip, 2},
    {&V::PolledShortTimeAlarm, 3},
    {&V::PolledInstantaneousTrip, 4},
    {&V::PolledInstantaneousAlarm, 5},
    {&V::PolledUnbalanceTrip, 6},
    {&V::PolledUnbalanceAlarm, 7},
    {&V::PolledTemperatureTrip, 8},
    {&V::PolledTemperatureAlarm, 9},
    {&V::PolledLeakageTrip, 10},
    {&V::PolledLeakageAlarm, 11},
    {&V::PolledFLA, 12},
    {&V::PolledServiceFactor, 13},
    {&V::ProgramModeWord1, 14},
    {&V::ProgramModeWord2, 15},
    {&V::PolledPhaseCT, 16},
    {&V::PolledEFCT, 17},
    {&V::PolledPhaseA, 24},
    {&V::PolledPhaseB, 25},
    {&V::PolledPhaseC, 26},
    {&V::PolledUnbalance, 27},
    {&V::PolledLeakage, 28},
    {&V::PolledPercentI2t, 29},
    {&V::PolledPreTripPhaseA, 30},
    {&V::PolledPreTripPhaseB, 31},
    {&V::PolledPreTripPhaseC, 32},
    {&V::PolledPreTripUnbalance, 33},
    {&V::PolledPreTripLeakage, 34},
    {&V::PolledPreTripPercentI2t, 35},
    {&V::PolledOpCount, 36},
    {&V::PolledResetTime, 37},
    {&V::PolledTripStatus, 40},
    {&V::PolledAlarmStatus, 41},
    {&V::PolledMotorStatus, 42},
};

// Every PolledValues member, to check that a family touches nothing else.
std::vector<PolledMember> allMembers() {
  std::vector<PolledMember> all;
  for (const auto& [member, reg] : kMotorRegisters) all.push_back(member);
  for (const auto& [member, reg] : kFeederRegisters)
    if (std::find(all.begin(), all.end(), member) == all.end()) all.push_back(member);
  return all;
}

// Stores blocks whose word n holds 1000 + register, as a unit would answer.
PolledValues storeBothBlocks(int16_t unitType) {
  std::array<uint16_t, 19> meter{};
  for (int n = 0; n < 19; ++n) meter[n] = uint16_t(1000 + 24 + n);
  std::array<uint16_t, 18> setPoints{};
  for (int n = 0; n < 18; ++n) setPoints[n] = uint16_t(1000 + n);
  PolledValues values;
  storeWords(values, meterTableFor(unitType), meter);
  storeWords(values, setPointTableFor(unitType), setPoints);
  return values;
}

void expectFamily(int16_t unitType, const Expected& expected) {
  const PolledValues values = storeBothBlocks(unitType);
  for (PolledMember member : allMembers()) {
    auto it = std::find_if(expected.begin(), expected.end(),
                           [&](const auto& e) { return e.first == member; });
    if (it == expected.end())
      EXPECT_FALSE((values.*member).has_value()) << "type " << unitType;
    else
      EXPECT_EQ(values.*member, 1000 + it->second) << "type " << unitType << " R" << it->second;
  }
}

TEST(PolledValueTablesTest, EachFamilyFillsItsValuesFromTheirRegisters) {
  expectFamily(0, kMotorRegisters);
  expectFamily(2, kMotorRegisters);
  expectFamily(1, kFeederRegisters);
  expectFamily(4, kFeederRegisters);
}

TEST(PolledValueTablesTest, StoringOneFamilyKeepsTheOtherFamilysValues) {
  PolledValues values = storeBothBlocks(0);
  std::array<uint16_t, 19> feederMeter{};
  feederMeter.fill(7);
  storeWords(values, kFeederMeterTable, feederMeter);
  EXPECT_EQ(values.PolledAmps, 1024);
  EXPECT_EQ(values.PolledETRPeak, 1038);
  EXPECT_EQ(values.PolledOvercurrentTrip, 1002);
  EXPECT_EQ(values.PolledPhaseA, 7);
  EXPECT_EQ(values.PolledUnbalance, 7);
}

TEST(StationBlocksTest, IdentificationWordGivesTypeAndLogger) {
  struct Case {
    uint16_t word;
    int16_t type;
    bool logger;
  };
  for (const Case& c : {Case{0x0000, 0, false}, Case{0x0140, 1, true}, Case{0x0200, 2, false},
                        Case{0x0440, 4, true}, Case{0x03FF, 99, true}, Case{0x0540, 99, true},
                        Case{0x7F00, 99, false}, Case{0x8040, 99, true}, Case{0xFF00, 99, false},
                        Case{0x00BF, 0, false}}) {
    EXPECT_EQ(unitTypeFromIdWord(c.word), c.type) << std::hex << c.word;
    EXPECT_EQ(hasDataLogger(c.word), c.logger) << std::hex << c.word;
  }
}

TEST(MainStatusTextTest, RuntimeStatusByFamilyAndAnswer) {
  PolledValues values;
  values.PolledMotorStatus = 3;
  EXPECT_EQ(runtimeStatusText(false, 0, values), "No Response");
  EXPECT_EQ(runtimeStatusText(true, 0, values), "RUNNING");
  EXPECT_EQ(runtimeStatusText(true, 2, values), "RUNNING");
  EXPECT_EQ(runtimeStatusText(true, 1, values), "CLOSED");
  EXPECT_EQ(runtimeStatusText(true, 4, values), "CLOSED");
  values.PolledMotorStatus = 4;
  EXPECT_EQ(runtimeStatusText(true, 0, values), "STOPPED");
  EXPECT_EQ(runtimeStatusText(true, 1, values), "");
  values.PolledMotorStatus.reset();
  EXPECT_EQ(runtimeStatusText(true, 0, values), "");
}

TEST(MainStatusTextTest, TripAndAlarmSummary) {
  PolledValues values;
  values.PolledTripStatus = 0;
  values.PolledAlarmStatus = 0;
  EXPECT_EQ(tripAlarmText(true, values).text, "No trips or alarms");
  EXPECT_FALSE(tripAlarmText(true, values).alarming);
  values.PolledAlarmStatus = 64;  // an alarm without a label of its own still counts
  EXPECT_EQ(tripAlarmText(true, values).text, "ALARMS");
  EXPECT_TRUE(tripAlarmText(true, values).alarming);
  values.PolledTripStatus = 0x8000;
  EXPECT_EQ(tripAlarmText(true, values).text, "TRIPS AND ALARMS");
  values.PolledAlarmStatus = 0;
  EXPECT_EQ(tripAlarmText(true, values).text, "TRIPS");
  EXPECT_EQ(tripAlarmText(false, values).text, "N/A");
  EXPECT_FALSE(tripAlarmText(false, values).alarming);
}

}  // namespace
}  // namespace kvlink
