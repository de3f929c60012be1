// The configuration file without windows: the exact text a save writes for
// each family, the read-back of what was written, and what the reader makes
// of files that are damaged, truncated or hold values out of range.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>

#include "ConFileFormat.h"
#include "ConFileReader.h"
#include "ConFileWriter.h"
#include "ConNumber.h"
#include "DownloadRows.h"
#include "PolledRegisters.h"
#include "platform/profile_text.h"
#include "platform/whole_file.h"

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

TEST(ConFileText, WholeRegisterRangeIsWrittenAsPlainDigits) {
  const auto text = conFileText(0, [](int reg) -> std::optional<uint16_t> {
    return reg == 0 ? 65535 : reg == 1 ? 0 : 46;
  });
  ASSERT_TRUE(text);
  EXPECT_EQ(profileLookup(*text, "SetPoints", "I2tTrip"), "65535");
  EXPECT_EQ(profileLookup(*text, "SetPoints", "I2tAlarm"), "0");
}

// What the poll holds, looked up by register in the poll's own tables.
TEST(PolledRegisters, FollowTheFamilyTables) {
  PolledValues values;
  values.PolledOvercurrentTrip = 11;
  values.PolledShortTimeTrip = 22;
  values.PolledUnbalance = 33;
  values.PolledOpCount = 44;
  values.PolledETRPeak = 55;
  EXPECT_EQ(polledRegister(values, 0, 2), 11);
  EXPECT_EQ(polledRegister(values, 2, 2), 11);
  EXPECT_EQ(polledRegister(values, 1, 2), 22);
  EXPECT_EQ(polledRegister(values, 4, 2), 22);
  EXPECT_EQ(polledRegister(values, 0, 28), 33);  // motor unbalance
  EXPECT_EQ(polledRegister(values, 1, 27), 33);  // feeder unbalance
  EXPECT_EQ(polledRegister(values, 1, 36), 44);
  EXPECT_EQ(polledRegister(values, 0, 38), 55);
  EXPECT_FALSE(polledRegister(values, 1, 38));  // the feeder family keeps no ETR peak
  EXPECT_FALSE(polledRegister(values, 0, 39));  // identification word
  EXPECT_FALSE(polledRegister(values, 0, 0));   // not filled yet
  EXPECT_FALSE(polledRegister(values, 99, 2));
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

// Every file a save writes reads back as a download of exactly its values.
TEST(ConFileRoundTrip, SavedSetPointsComeBackAsTheDownload) {
  for (int type : {0, 1, 2, 4}) {
    const std::string text = *conFileText(type, numbered);
    EXPECT_TRUE(hasConVersion(text));
    EXPECT_EQ(checkConType(text, type), ConTypeCheck::Matches);
    const UnitFamily family = *unitFamilyOf(type);
    const DownloadPlan plan = planDownload(text, family);
    ASSERT_EQ(plan.problem, PlanProblem::None) << type;
    ASSERT_EQ(plan.writes.size(), downloadRows(family).size());
    for (const PlannedWrite& write : plan.writes)
      EXPECT_EQ(write.value, 1000 + write.row->reg) << write.row->key;
  }
}

TEST(DownloadRows, RegisterOrderWithFlaLast) {
  const auto registers = [](UnitFamily family) {
    std::vector<int> out;
    for (const DownloadRow& row : downloadRows(family)) out.push_back(row.reg);
    return out;
  };
  EXPECT_EQ(registers(UnitFamily::Motor),
            (std::vector<int>{0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 13, 14, 15, 16, 17, 12}));
  EXPECT_EQ(registers(UnitFamily::Feeder),
            (std::vector<int>{0, 1, 2, 3, 4, 5, 6, 7, 10, 11, 14, 15, 16, 17, 12}));
  // Each row's key is the file's key for its register.
  for (UnitFamily family : {UnitFamily::Motor, UnitFamily::Feeder})
    for (const DownloadRow& row : downloadRows(family)) {
      bool found = false;
      for (const ConKey& key : conFileKeys(family))
        found |= key.reg == row.reg && std::string(key.key) == row.key;
      EXPECT_TRUE(found) << row.key;
    }
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

TEST(ConFileType, NumericComparisonOfTheWholeNumber) {
  const auto withType = [](const std::string& type) {
    return "[StationType]\r\nType=" + type + "\r\nVersion=2.0\r\n";
  };
  EXPECT_EQ(checkConType(withType("2"), 2), ConTypeCheck::Matches);
  EXPECT_EQ(checkConType(withType("2.0"), 2), ConTypeCheck::Matches);
  EXPECT_EQ(checkConType(withType("2"), 0), ConTypeCheck::Differs);
  EXPECT_EQ(checkConType(withType("2.5"), 2), ConTypeCheck::Differs);
  EXPECT_EQ(checkConType(withType("4"), 1), ConTypeCheck::Differs);
  EXPECT_EQ(checkConType(withType(""), 0), ConTypeCheck::NotANumber);
  EXPECT_EQ(checkConType(withType("motor"), 0), ConTypeCheck::NotANumber);
  EXPECT_EQ(checkConType("[StationType]\r\nVersion=2.0\r\n", 0), ConTypeCheck::NotANumber);
}

TEST(ConFileVersion, ExactlyTwoPointZero) {
  EXPECT_TRUE(hasConVersion("[StationType]\nVersion=2.0\n"));
  EXPECT_TRUE(hasConVersion("[stationtype]\r\n Version = 2.0 \r\n"));
  EXPECT_FALSE(hasConVersion("[StationType]\r\nVersion=2.00\r\n"));
  EXPECT_FALSE(hasConVersion("[StationType]\r\nVersion=\r\n"));
  EXPECT_FALSE(hasConVersion("[Other]\r\nVersion=2.0\r\n"));
  EXPECT_FALSE(hasConVersion(""));
}

// Damaged files: the first problem in register order is named, and a plan
// with a problem holds no writes at all.
TEST(DownloadPlanTest, MissingOrBadSetPointsPlanNoWrites) {
  const std::string motor = *conFileText(0, numbered);
  const auto planOf = [](const std::string& text, UnitFamily family = UnitFamily::Motor) {
    return planDownload(text, family);
  };

  DownloadPlan plan = planOf(replaced(motor, "Service Factor=1013\r\n", ""));
  EXPECT_EQ(plan.problem, PlanProblem::MissingSetPoint);
  EXPECT_EQ(plan.key, "Service Factor");
  EXPECT_TRUE(plan.writes.empty());

  plan = planOf(replaced(motor, "EFCT=1017", "EFCT="));
  EXPECT_EQ(plan.problem, PlanProblem::MissingSetPoint);
  EXPECT_EQ(plan.key, "EFCT");

  // A file cut off in the middle of [SetPoints].
  plan = planOf(motor.substr(0, motor.find("LeakageTrip")));
  EXPECT_EQ(plan.problem, PlanProblem::MissingSetPoint);
  EXPECT_EQ(plan.key, "LeakageTrip");

  // A missing key is reported before a bad value that stands earlier.
  plan = planOf(replaced(replaced(motor, "I2tTrip=1000", "I2tTrip=12.7"), "FLA=1012\r\n", ""));
  EXPECT_EQ(plan.problem, PlanProblem::MissingSetPoint);
  EXPECT_EQ(plan.key, "FLA");

  for (const char* bad : {"12.7", "70000", "-1", "x12"}) {
    plan = planOf(replaced(motor, "FLA=1012", std::string("FLA=") + bad));
    EXPECT_EQ(plan.problem, PlanProblem::BadSetPoint) << bad;
    EXPECT_EQ(plan.key, "FLA");
    EXPECT_EQ(plan.text, bad);
    EXPECT_TRUE(plan.writes.empty());
  }

  // The feeder family needs no temperature or service-factor keys.
  const std::string feeder = *conFileText(1, numbered);
  EXPECT_EQ(planOf(feeder, UnitFamily::Feeder).problem, PlanProblem::None);
  // ... but a motor unit does.
  EXPECT_EQ(planOf(feeder, UnitFamily::Motor).problem, PlanProblem::MissingSetPoint);
}

TEST(DownloadPlanTest, RelayModeRowComparesBitsFourAndEight) {
  const std::string motor =
      replaced(replaced(*conFileText(0, numbered), "Mode8 Level 2=1015", "Mode8 Level 2=13"),
               "I2tTrip=1000", "I2tTrip=+46");
  const DownloadPlan plan = planDownload(motor, UnitFamily::Motor);
  ASSERT_EQ(plan.problem, PlanProblem::None);
  const PlannedWrite& first = plan.writes[0];
  EXPECT_EQ(first.progressText(), "Attempting I2t Trip:+46");
  EXPECT_EQ(first.value, 46);
  EXPECT_TRUE(first.verifies(46));
  EXPECT_FALSE(first.verifies(46 + 256));

  const PlannedWrite& mode = plan.writes[14];
  ASSERT_EQ(mode.row->reg, 15);
  EXPECT_EQ(mode.value, 13);  // the whole value is written
  EXPECT_EQ(mode.progressText(), "Attempting Mode 8 Level 2:12");
  for (uint16_t word : {12, 13, 14, 15, 28}) EXPECT_TRUE(mode.verifies(word)) << word;
  for (uint16_t word : {4, 8, 9, 0, 0xFFF3}) EXPECT_FALSE(mode.verifies(word)) << word;

  const std::string feeder =
      replaced(*conFileText(4, numbered), "Mode5 Level 2=1015", "Mode5 Level 2=4");
  const DownloadPlan feederPlan = planDownload(feeder, UnitFamily::Feeder);
  EXPECT_EQ(feederPlan.writes[11].progressText(), "Attempting Mode 5 Level 2 :4");
  EXPECT_EQ(feederPlan.writes[10].progressText(), "Attempting Mode 5 Level 1 :1014");
}

}  // namespace
}  // namespace kvlink
