// The record text lines and header lines of both families, the viewer's
// field list, and the text file's failure reporting.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "../autoretrieve/FileSizeLimit.h"
#include "LogFieldList.h"
#include "LogRecordDecode.h"
#include "LogRecordLine.h"
#include "LogTextFile.h"

namespace kvlink {
namespace {

LogRecordValues decoded(int16_t unitType, std::vector<uint16_t> tail) {
  std::vector<uint16_t> words = {0x2003, 0x1225, 0x0314, 0x0509};
  words.insert(words.end(), tail.begin(), tail.end());
  LogRecordValues v;
  EXPECT_TRUE(decodeLogRecord(v, words, unitType));
  return v;
}

TEST(LogRecordLineTest, MotorHeaderAndRecord) {
  EXPECT_EQ(logHeaderLine(0),
            "\"TIME\",\"Trip Status\",\"Trip Status Info\",\"Alarm Status\",\"Alarm Status Info\","
            "\"Motor Status\",\"Motor Status Info\",\"Ammeter (A)\",\"Ammeter (%)\","
            "\"Unbalance (%)\",\"Temperature (C)\",\"Earth Leakage (x10 A)\",\"Percent I2t\","
            "\"Pre-Trip Current (A)\",\"Pre-Trip Unbalance (%)\",\"Pre-Trip Temp\","
            "\"Pre-Trip Earth Leakage (x10 A)\",\"Pre-Trip I2t\"\r\n");
  EXPECT_EQ(logHeaderLine(2), logHeaderLine(0));

  const auto v = decoded(0, {3, 0, 2, 120, 95, 4, 41, 0, 87, 650, 12, 39, 100, 65535});
  EXPECT_EQ(logRecordLine(v, 0),
            "\"25/12/2003  14:05:09 Tuesday\",3,\" overcurrent;I^2t;\",0,\" no alarms\",2,"
            "\" running;\",120,95,4,41,0,87,650,12,39,100,65535\r\n");
}

TEST(LogRecordLineTest, FeederHeaderAndRecordForEveryOtherType) {
  const std::string header =
      "\"TIME\",\"Trip Status\",\"Trip Status Info\",\"Alarm Status\",\"Alarm Status Info\","
      "\"Breaker Status\",\"Breaker Status Info\",\"Phase A (A)\",\"Phase B (A)\","
      "\"Phase C (A)\",\"Earth Leakage (x10 A)\",\"Percent I2t\",\"Operations Count\","
      "\"Pre-Trip Phase A (A)\",\"Pre-Trip Phase B (A)\",\"Pre-Trip Phase C (A)\","
      "\"Pre-Trip Unbalance (%)\",\"Pre-Trip Earth Leakage (x10 A)\",\"Pre-Trip I2t\"\r\n";
  for (int16_t type : {1, 4, 99}) EXPECT_EQ(logHeaderLine(type), header);

  const auto v = decoded(4, {17, 0, 3, 200, 201, 202, 5, 60, 1234, 0, 0, 0, 0, 0, 7});
  EXPECT_EQ(logRecordLine(v, 4),
            "\"25/12/2003  14:05:09 Tuesday\",17,\" gnd fault;% thermal;\",0,\" no alarms\",3,"
            "\" contact closed;load cur>10%;\",200,201,202,5,60,1234,0,0,0,0,0,7\r\n");
}

TEST(LogRecordLineTest, ErrorLine) {
  EXPECT_EQ(logReadErrorLine(),
            "\"Could not read info from unit (Unit may be off). Will Retry.\"\r\n");
}

TEST(LogFieldListTest, MotorListAndNoListForUnknownTypes) {
  const auto motor = decoded(0, {0, 64, 5, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11});
  EXPECT_EQ(logFieldListText(motor, 2),
            "Trip Status=0 no trips\rAlarm Status=64 \rMotor Status=5 ETR On;starting;\r"
            "Ammeter (A)=1\rAmmeter (%)=2\rUnbalance (%)=3\rTemperature=4\r"
            "Earth Leakage (x10 A)=5\rPercent I^2t (%)=6\rPre-Trip Current (A)=7\r"
            "Pre-Trip Unbalance (%)=8\rPre-Trip Temperature (C)=9\r"
            "Pre-Trip Earth Leakage (x10 A)=10\rPre-Trip I2t=11\r");

  EXPECT_FALSE(logFieldListText(motor, 99));
  EXPECT_FALSE(logFieldListText(motor, 3));
}

class LogTextFileTest : public testing::Test {
 protected:
  void SetUp() override {
    dir_ = std::filesystem::temp_directory_path() /
           ("logtext-" + std::to_string(::getpid()) + "-" +
            testing::UnitTest::GetInstance()->current_test_info()->name());
    std::filesystem::remove_all(dir_);
    std::filesystem::create_directories(dir_);
  }
  void TearDown() override {
    std::filesystem::permissions(dir_, std::filesystem::perms::owner_all);
    std::filesystem::remove_all(dir_);
  }
  static std::string contents(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
  }
  std::filesystem::path dir_;
};

TEST_F(LogTextFileTest, OutputEmptiesAndAppendAdds) {
  const auto path = (dir_ / "R.TXT").string();
  EXPECT_FALSE(LogTextFile::exists(path));
  {
    LogTextFile file;
    ASSERT_TRUE(file.open(path, LogTextFile::Mode::Append));
    EXPECT_TRUE(file.write("a\r\n"));
    EXPECT_TRUE(file.close());
  }
  EXPECT_TRUE(LogTextFile::exists(path));
  {
    LogTextFile file;
    ASSERT_TRUE(file.open(path, LogTextFile::Mode::Append));
    EXPECT_TRUE(file.write("b\r\n"));
  }  // closed by its end
  EXPECT_EQ(contents(path), "a\r\nb\r\n");
  LogTextFile file;
  ASSERT_TRUE(file.open(path, LogTextFile::Mode::Output));
  EXPECT_TRUE(file.write("c\r\n"));
  EXPECT_TRUE(file.close());
  EXPECT_EQ(contents(path), "c\r\n");
}

TEST_F(LogTextFileTest, FailuresAreReported) {
  LogTextFile file;
  EXPECT_FALSE(file.open((dir_ / "missing" / "R.TXT").string(), LogTextFile::Mode::Output));
  EXPECT_EQ(file.errorDescription(), "Path not found");
  // Only a regular file is written; a FIFO without a reader does not hold the open.
  const auto fifo = dir_ / "pipe.txt";
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0666), 0);
  for (const auto& path : {dir_, fifo, std::filesystem::path("/dev/null")}) {
    EXPECT_FALSE(file.open(path.string(), LogTextFile::Mode::Output));
    EXPECT_EQ(file.errorDescription(), "Cannot write " + path.string() + " (not a regular file)");
  }
  EXPECT_FALSE(file.write("x"));

  if (::geteuid() != 0) {
    const auto locked = dir_ / "locked.txt";
    std::ofstream(locked) << "keep";
    ::chmod(locked.c_str(), 0444);
    EXPECT_FALSE(file.open(locked.string(), LogTextFile::Mode::Output));
    EXPECT_EQ(file.errorDescription(), "Permission denied");
    EXPECT_EQ(contents(locked), "keep");
  }

  // A full disk: the failure is seen at the write, not taken for success.
  ASSERT_TRUE(file.open((dir_ / "full.txt").string(), LogTextFile::Mode::Append));
  test::FileSizeLimit full(4);
  EXPECT_FALSE(file.write("line\r\n"));
  EXPECT_EQ(file.errorDescription(), "Disk full");
  EXPECT_FALSE(file.write("more\r\n"));
  EXPECT_FALSE(file.close());
}

}  // namespace
}  // namespace kvlink
