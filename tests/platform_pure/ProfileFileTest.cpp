#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <set>

#include "TestSupport.h"
#include "platform/Profile.h"
#include "platform/WholeFile.h"

namespace kvlink {

void PrintTo(ReplaceStep step, std::ostream* os) {
  const char* const names[] = {"CreateTemporary", "WriteData", "SyncData", "Rename"};
  *os << names[static_cast<int>(step)];
}

namespace {

using test::EnvironmentOverride;
using test::readFile;
using test::ScratchDirectory;
using test::writeFile;

std::set<std::string> namesIn(const std::string& directory) {
  std::set<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(directory)) {
    names.insert(entry.path().filename().string());
  }
  return names;
}

class ProfileFileTest : public testing::Test {
 protected:
  ScratchDirectory windows;
  EnvironmentOverride windir{"KVLINK_WINDIR", windows.path()};
};

TEST_F(ProfileFileTest, BareNameLivesInTheSettingsDirectory) {
  EXPECT_EQ(ReadIni("Settings", "port", "gridmon.ini"), "");
  ASSERT_TRUE(WriteIni("Settings", "port", "2", "gridmon.ini"));
  ASSERT_TRUE(WriteIni("Station", "station1", "Pump house", "gridmon.ini"));

  EXPECT_EQ(readFile(windows.file("gridmon.ini")),
            "[Settings]\r\nport=2\r\n\r\n[Station]\r\nstation1=Pump house\r\n");
  EXPECT_EQ(ReadIni("settings", "PORT", "gridmon.ini"), "2");
  EXPECT_EQ(ReadIni("Station", "station1", "gridmon.ini"), "Pump house");
  EXPECT_EQ(ReadIni("Station", "station2", "gridmon.ini"), "");
  EXPECT_EQ(ReadIni("misc", "kesf", "gridmon.ini"), "");
}

TEST_F(ProfileFileTest, FullPathIsUsedAsGiven) {
  ScratchDirectory elsewhere;
  const std::string con = elsewhere.file("unit 5.con");
  ASSERT_TRUE(WriteIni("StationType", "Type", "0", con));
  EXPECT_EQ(ReadIni("StationType", "Type", con), "0");
  EXPECT_FALSE(std::filesystem::exists(windows.file("unit 5.con")));
  EXPECT_EQ(ReadIni("StationType", "Type", "unit 5.con"), "");
}

TEST_F(ProfileFileTest, FileInAMissingDirectoryIsNotWritten) {
  const std::string con = windows.file("no-such-dir/unit.con");
  EXPECT_FALSE(WriteIni("S", "k", "v", con));
  EXPECT_EQ(ReadIni("S", "k", con), "");
}

TEST_F(ProfileFileTest, UnreadableFileIsNeverReplaced) {
  // The tests may run as root, which reads any plain file; a directory and a
  // link that points at itself stand for files that exist but cannot be read.
  std::filesystem::create_directory(windows.file("gridmon.ini"));
  writeFile(windows.file("gridmon.ini/keep"), "data");
  EXPECT_FALSE(WriteIni("Settings", "port", "1", "gridmon.ini"));
  EXPECT_EQ(ReadIni("Settings", "port", "gridmon.ini"), "");
  EXPECT_EQ(readFile(windows.file("gridmon.ini/keep")), "data");

  const std::string con = windows.file("unit.con");
  std::filesystem::create_symlink(con, con);
  EXPECT_FALSE(WriteIni("StationType", "Type", "0", con));
  EXPECT_TRUE(std::filesystem::is_symlink(con));

  const std::string fifo = windows.file("fifo.con");  // refused at once, left a FIFO
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0666), 0);
  EXPECT_EQ(ReadIni("StationType", "Type", fifo), "");
  EXPECT_FALSE(WriteIni("StationType", "Type", "0", fifo));
  EXPECT_TRUE(std::filesystem::is_fifo(fifo));
}

TEST_F(ProfileFileTest, EntryThatWouldNotReadBackLeavesTheFileAlone) {
  const std::string original = "[Station]\nstation1=A\n[misc]\nkesf=secret\n";
  writeFile(windows.file("gridmon.ini"), original);
  EXPECT_FALSE(WriteIni("Station", "station1", "B\r\n[misc]\r\nkesf=", "gridmon.ini"));
  EXPECT_EQ(readFile(windows.file("gridmon.ini")), original);
  EXPECT_EQ(ReadIni("misc", "kesf", "gridmon.ini"), "secret");
}

TEST_F(ProfileFileTest, ExistingFileKeepsItsPermissions) {
  writeFile(windows.file("gridmon.ini"), "[misc]\nkesf=x\n", 0640);
  ASSERT_TRUE(WriteIni("misc", "gene", "y", "gridmon.ini"));
  struct stat st {};
  ASSERT_EQ(::stat(windows.file("gridmon.ini").c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 07777, 0640u);
  EXPECT_EQ(ReadIni("misc", "kesf", "gridmon.ini"), "x");
  EXPECT_EQ(ReadIni("misc", "gene", "gridmon.ini"), "y");
}

TEST_F(ProfileFileTest, SymbolicLinkStaysAndItsTargetChanges) {
  ScratchDirectory dotfiles;
  writeFile(dotfiles.file("gridmon.ini"), "[Settings]\nport=1\n");
  std::filesystem::create_symlink(dotfiles.file("gridmon.ini"), windows.file("gridmon.ini"));
  ASSERT_TRUE(WriteIni("Settings", "port", "4", "gridmon.ini"));
  EXPECT_TRUE(std::filesystem::is_symlink(windows.file("gridmon.ini")));
  EXPECT_EQ(readFile(dotfiles.file("gridmon.ini")), "[Settings]\nport=4\r\n");
}

std::string stepName(const testing::TestParamInfo<ReplaceStep>& info) {
  return testing::PrintToString(info.param);
}

class InterruptedWriteTest : public ProfileFileTest,
                             public testing::WithParamInterface<ReplaceStep> {
 protected:
  void TearDown() override { failReplaceStepForTesting(std::nullopt); }
};

TEST_P(InterruptedWriteTest, OldFileStaysWholeAndNoTemporaryIsLeft) {
  const std::string original = "; hand made\n[Settings]\nport=1\nbaud=96\n";
  writeFile(windows.file("gridmon.ini"), original);
  const auto namesBefore = namesIn(windows.path());

  failReplaceStepForTesting(GetParam());
  EXPECT_FALSE(WriteIni("Settings", "port", "3", "gridmon.ini"));
  EXPECT_FALSE(WriteIni("Settings", "autostart", "1", "gridmon.ini"));
  EXPECT_EQ(readFile(windows.file("gridmon.ini")), original);
  EXPECT_EQ(ReadIni("Settings", "port", "gridmon.ini"), "1");
  EXPECT_EQ(namesIn(windows.path()), namesBefore);

  failReplaceStepForTesting(std::nullopt);
  EXPECT_TRUE(WriteIni("Settings", "port", "3", "gridmon.ini"));
  EXPECT_EQ(ReadIni("Settings", "port", "gridmon.ini"), "3");
  EXPECT_EQ(namesIn(windows.path()), namesBefore);
}

TEST_P(InterruptedWriteTest, NewFileIsNotCreatedHalfWay) {
  failReplaceStepForTesting(GetParam());
  EXPECT_FALSE(WriteIni("Settings", "port", "3", "gridmon.ini"));
  EXPECT_TRUE(namesIn(windows.path()).empty());
}

INSTANTIATE_TEST_SUITE_P(EachStep, InterruptedWriteTest,
                         testing::Values(ReplaceStep::CreateTemporary, ReplaceStep::WriteData,
                                         ReplaceStep::SyncData, ReplaceStep::Rename),
                         stepName);

}  // namespace
}  // namespace kvlink
