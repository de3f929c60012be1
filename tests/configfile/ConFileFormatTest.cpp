// The configuration file without windows: the exact text a save writes for
// each family, replacing a file on disk, and the reader's rules for numbers
// and damaged set points.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>

#include "ConFileFormat.h"
#include "ConFileReader.h"
#include "ConFileWriter.h"
#include "ConNumber.h"
#include "platform/ProfileText.h"
#include "platform/WholeFile.h"

namespace kvlink {
namespace {

// Register n holds 1000 + n.
std::optional<uint16_t> numbered(int reg) {
  return static_cast<uint16_t>(1000 + reg);
}

const char* const kMotorFile =
    "[StationType]\r\n"
    "Type=0\r\n"
    "Description=0=RVX-38B   1=GLT-52  2=RVX-38B LP  4=ZE DUR\r\n"
    "Version=2.0\r\n"
    "\r\n"
    "[SetPoints]\r\n"
    "I2tTrip=1000\r\nI2tAlarm=1001\r\nOvercurrentTrip=1002\r\nOvercurrentAlarm=1003\r\n"
    "UndercurrentTrip=1004\r\nUndercurrentAlarm=1005\r\nUnbalanceTrip=1006\r\n"
    "UnbalanceAlarm=1007\r\nTemperatureTrip=1008\r\nTemperatureAlarm=1009\r\n"
    "LeakageTrip=1010\r\nLeakageAlarm=1011\r\nFLA=1012\r\nService Factor=1013\r\n"
    "Mode8 Level 1=1014\r\nMode8 Level 2=1015\r\nPhase CT=1016\r\nEFCT=1017\r\n"
    "\r\n"
    "[Meter]\r\n"
    "Amps=1024\r\nAmpsPercent=1025\r\nPeakCurrent=1026\r\nModulation=1027\r\nUnbalance=1028\r\n"
    "Temperature=1029\r\nLeakage=1030\r\nPercentI2t=1031\r\n"
    "\r\n"
    "[PreTrip]\r\n"
    "PreTripCurrent=1032\r\nPreTripUnbalance=1033\r\nPreTripTemperature=1034\r\n"
    "PreTripLeakage=1035\r\nPreTripPercentI2t=1036\r\n"
    "\r\n"
    "[Misc]\r\n"
    "ResetTime=1037\r\nETRPeak=1038\r\nTripStatus=1040\r\nAlarmStatus=1041\r\n"
    "MotorStatus=1042\r\n";

const char* const kFeederFile =
    "[StationType]\r\n"
    "Type=1\r\n"
    "Description=0=RVX-38B   1=GLT-52  2=RVX-38B LP  4=ZE DUR\r\n"
    "Version=2.0\r\n"
    "\r\n"
    "[SetPoints]\r\n"
    "I2tTrip=1000\r\nI2tAlarm=1001\r\nShortTimeTrip=1002\r\nShortTimeAlarm=1003\r\n"
    "InstantaneousTrip=1004\r\nInstantaneousAlarm=1005\r\nUnbalanceTrip=1006\r\n"
    "UnbalanceAlarm=1007\r\nLeakageTrip=1010\r\nLeakageAlarm=1011\r\nFLA=1012\r\n"
    "Mode5 Level 1=1014\r\nMode5 Level 2=1015\r\nPhase CT=1016\r\nEFCT=1017\r\n"
    "\r\n"
    "[Meter]\r\n"
    "PhaseA=1024\r\nPhaseB=1025\r\nPhaseC=1026\r\nUnbalance=1027\r\nLeakage=1028\r\n"
    "PercentI2t=1029\r\nOpCount=1036\r\n"
    "\r\n"
    "[PreTrip]\r\n"
    "PreTripPhaseA=1030\r\nPreTripPhaseB=1031\r\nPreTripPhaseC=1032\r\nPreTripUnbalance=1033\r\n"
    "PreTripLeakage=1034\r\nPreTripPercentI2t=1035\r\n"
    "\r\n"
    "[Misc]\r\n"
    "ResetTime=1037\r\nTripStatus=1040\r\nAlarmStatus=1041\r\nMotorStatus=1042\r\n";

std::string replaced(std::string text, const std::string& from, const std::string& to) {
  const auto at = text.find(from);
  EXPECT_NE(at, std::string::npos) << from;
  if (at != std::string::npos) text.replace(at, from.size(), to);
  return text;
}

TEST(ConFileText, EachFamilyWritesItsKeysInOrderWithCrLf) {
  EXPECT_EQ(conFileText(0, numbered), kMotorFile);
  EXPECT_EQ(conFileText(1, numbered), kFeederFile);
  // Types 2 and 4 differ from 0 and 1 in the Type value alone.
  EXPECT_EQ(conFileText(2, numbered), replaced(kMotorFile, "Type=0", "Type=2"));
  EXPECT_EQ(conFileText(4, numbered), replaced(kFeederFile, "Type=1", "Type=4"));
  EXPECT_EQ(std::string(kConDescription).size(), 44u);
  EXPECT_EQ(conFileKeys(UnitFamily::Motor).size(), 36u);
  EXPECT_EQ(conFileKeys(UnitFamily::Feeder).size(), 32u);
}

TEST(ConFileText, UnknownTypeOrMissingValueWritesNothing) {
  EXPECT_FALSE(conFileText(99, numbered));
  EXPECT_FALSE(conFileText(3, numbered));
  // A value the poll has not filled is never written as an empty key.
  EXPECT_FALSE(conFileText(0, [](int reg) -> std::optional<uint16_t> {
    if (reg == 38) return std::nullopt;
    return 1;
  }));
  // The feeder family does not need registers 8, 9, 13 or 38.
  EXPECT_TRUE(conFileText(1, [](int reg) -> std::optional<uint16_t> {
    if (reg == 8 || reg == 9 || reg == 13 || reg == 38) return std::nullopt;
    return 1;
  }));
}

class ConFileOnDisk : public ::testing::Test {
 protected:
  void SetUp() override {
    dir = std::filesystem::temp_directory_path() /
          ("configfile_test_" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
           "_" + ::testing::UnitTest::GetInstance()->current_test_info()->name());
    std::filesystem::create_directories(dir);
    path = (dir / "unit.con").string();
  }
  void TearDown() override {
    failReplaceStepForTesting(std::nullopt);
    std::filesystem::remove_all(dir);
  }
  void put(const std::string& text) { std::ofstream(path, std::ios::binary) << text; }
  std::string contents() { return readWholeFile(path).bytes; }

  std::filesystem::path dir;
  std::string path;
};

TEST_F(ConFileOnDisk, SaveReplacesAnOlderFileWholly) {
  ASSERT_TRUE(writeConFile(path, *conFileText(0, numbered)));
  ASSERT_TRUE(writeConFile(path, *conFileText(4, numbered)));
  const std::string text = contents();
  EXPECT_EQ(text, replaced(kFeederFile, "Type=1", "Type=4"));
  for (const char* motorOnly : {"OvercurrentTrip", "TemperatureTrip", "Service Factor"})
    EXPECT_EQ(profileLookup(text, "SetPoints", motorOnly), "") << motorOnly;
}

TEST_F(ConFileOnDisk, FailedWriteLeavesTheOldFileAndSaysSo) {
  put("old contents");
  failReplaceStepForTesting(ReplaceStep::WriteData);
  EXPECT_FALSE(writeConFile(path, *conFileText(0, numbered)));
  EXPECT_EQ(contents(), "old contents");
  failReplaceStepForTesting(std::nullopt);
  EXPECT_FALSE(writeConFile((dir / "no-such-dir" / "x.con").string(), "x"));
  EXPECT_FALSE(writeConFile("", "x"));
}

TEST_F(ConFileOnDisk, ReaderRefusesMissingDirectoriesAndOversizedFiles) {
  EXPECT_FALSE(readConFile(path));
  EXPECT_FALSE(readConFile(dir.string()));
  put(std::string(kConFileMaxBytes + 1, ';'));
  EXPECT_FALSE(readConFile(path));
  put(kMotorFile);
  EXPECT_EQ(readConFile(path), kMotorFile);
}

TEST(ConNumber, WholeNumbersInRegisterRangeOnly) {
  const std::map<std::string, std::optional<uint16_t>> cases = {
      {"0", 0},         {"65535", 65535},
      {"40000", 40000}, {"12.0", 12},
      {"+7", 7},        {"-0", 0},
      {"007", 7},       {"12.", 12},
      {"12.7", {}},     {"12.5", {}},
      {"-1", {}},       {"65536", {}},
      {"70000", {}},    {"", {}},
      {"abc", {}},      {"1e3", {}},
      {"0x10", {}},     {"1 2", {}},
      {"12,5", {}},     {".", {}},
      {"-", {}},        {"99999999999999999999999", {}},
  };
  for (const auto& [text, expected] : cases) EXPECT_EQ(parseRegisterValue(text), expected) << text;
}

// The first problem in register order is named, missing keys before bad
// values (the windows' tests cover each kind of damage).
TEST(DownloadPlanTest, MissingKeysAreNamedBeforeBadValues) {
  const std::string motor = *conFileText(0, numbered);
  const DownloadPlan plan =
      planDownload(replaced(replaced(motor, "I2tTrip=1000", "I2tTrip=12.7"), "FLA=1012\r\n", ""),
                   UnitFamily::Motor);
  EXPECT_EQ(plan.problem, PlanProblem::MissingSetPoint);
  EXPECT_EQ(plan.key, "FLA");
  EXPECT_TRUE(plan.writes.empty());
  // The feeder family needs no temperature or service-factor keys; a motor
  // unit does.
  const std::string feeder = *conFileText(1, numbered);
  EXPECT_EQ(planDownload(feeder, UnitFamily::Feeder).problem, PlanProblem::None);
  EXPECT_EQ(planDownload(feeder, UnitFamily::Motor).problem, PlanProblem::MissingSetPoint);
}

TEST(DownloadPlanTest, RelayModeRowComparesBitsFourAndEightOnly) {
  const std::string feeder =
      replaced(*conFileText(4, numbered), "Mode5 Level 2=1015", "Mode5 Level 2=13");
  const DownloadPlan plan = planDownload(feeder, UnitFamily::Feeder);
  ASSERT_EQ(plan.problem, PlanProblem::None);
  const PlannedWrite& mode = plan.writes[11];
  ASSERT_EQ(mode.row->reg, 15);
  EXPECT_EQ(mode.value, 13);
  EXPECT_EQ(mode.progressText(), "Attempting Mode 5 Level 2 :12");
  EXPECT_EQ(plan.writes[10].progressText(), "Attempting Mode 5 Level 1 :1014");
  for (uint16_t word : {12, 13, 14, 15, 28}) EXPECT_TRUE(mode.verifies(word)) << word;
  for (uint16_t word : {4, 8, 9, 0, 0xFFF3}) EXPECT_FALSE(mode.verifies(word)) << word;
  EXPECT_FALSE(plan.writes[0].verifies(1000 + 256));  // whole-word rows compare every bit
}

}  // namespace
}  // namespace kvlink
