// The auto-retrieve keys of gridmon.ini: what Enable and Disable write, the
// start-up rules that read them back, and the files auto retrieve writes to.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <map>

#include "AutoRetrieveFile.h"
#include "AutoRetrieveSettings.h"

namespace kvlink {
namespace {

using Keys = std::map<std::string, std::string>;

struct Restore {
  Keys keys;
  std::vector<std::string> keysRead;
  std::vector<std::string> probed;
  bool writable = true;

  RestoredAutoRetrieve run() {
    return restoreAutoRetrieveSettings(
        [this](const std::string& key) {
          keysRead.push_back(key);
          auto it = keys.find(key);
          return it == keys.end() ? std::string() : it->second;
        },
        [this](const std::string& directory) {
          probed.push_back(directory);
          return std::string(writable ? "" : "Permission denied");
        },
        "/var/tmp/");
  }
};

Keys goodKeys() {
  return {{"autorclimit", "60"},  {"autodir", "/data/logs"}, {"autostationnum", "2"},
          {"autostationa", "12"}, {"autostationb", "40"},    {"autostationc", "0"},
          {"autoretrieve", "1"}};
}

TEST(AutoRetrieveRestoreTest, EveryKeyAcceptedInItsOrder) {
  Restore restore;
  restore.keys = goodKeys();
  const RestoredAutoRetrieve r = restore.run();
  EXPECT_FALSE(r.refused);
  EXPECT_TRUE(r.on);
  ASSERT_TRUE(r.limit);
  EXPECT_EQ(r.limit->limit, 60);
  EXPECT_EQ(r.limit->shown, "60");
  EXPECT_EQ(r.directory, "/data/logs");
  EXPECT_EQ(r.stations, (std::vector<int16_t>{12, 40}));
  EXPECT_EQ(restore.keysRead,
            (std::vector<std::string>{"autorclimit", "autodir", "autostationnum", "autostationa",
                                      "autostationb", "autoretrieve"}));
  EXPECT_EQ(restore.probed, std::vector<std::string>{"/data/logs"});
}

TEST(AutoRetrieveRestoreTest, AutoretrieveOtherThanOneLeavesItOffWithTheListRestored) {
  for (const char* value : {"0", "", "yes", "11"}) {
    Restore restore;
    restore.keys = goodKeys();
    restore.keys["autoretrieve"] = value;
    const RestoredAutoRetrieve r = restore.run();
    EXPECT_FALSE(r.refused) << value;
    EXPECT_FALSE(r.on) << value;
    EXPECT_EQ(r.stations.size(), 2u);
  }
}

TEST(AutoRetrieveRestoreTest, RecordLimitRules) {
  struct Case {
    const char* text;
    int16_t limit;
    const char* shown;
  };
  for (const Case& c : {Case{"10", 10, "10"}, Case{"250", 250, "250"}, Case{"55", 55, "55"},
                        Case{"9", 50, "50"}, Case{"251", 50, "50"}, Case{"0", 50, "50"},
                        Case{"-20", 50, "50"}, Case{"99999999999", 50, "50"}}) {
    Restore restore;
    restore.keys = goodKeys();
    restore.keys["autorclimit"] = c.text;
    const RestoredAutoRetrieve r = restore.run();
    ASSERT_TRUE(r.limit) << c.text;
    EXPECT_EQ(r.limit->limit, c.limit) << c.text;
    EXPECT_EQ(r.limit->shown, c.shown) << c.text;
    EXPECT_TRUE(r.on) << c.text;
  }
}

// Each refusal ends the reading at once: the keys after it are not read.
TEST(AutoRetrieveRestoreTest, EachRefusalEndsTheReadingWithAutoRetrieveOff) {
  struct Case {
    const char* key;
    const char* value;
    const char* lastKeyRead;
  };
  const Case cases[] = {
      {"autorclimit", "", "autorclimit"},          {"autorclimit", "fifty", "autorclimit"},
      {"autorclimit", "5.5", "autorclimit"},       {"autostationnum", "", "autostationnum"},
      {"autostationnum", "0", "autostationnum"},   {"autostationnum", "6", "autostationnum"},
      {"autostationnum", "10", "autostationnum"},  {"autostationnum", "-1", "autostationnum"},
      {"autostationnum", "two", "autostationnum"}, {"autostationa", "", "autostationa"},
      {"autostationa", "0", "autostationa"},       {"autostationb", "64", "autostationb"},
      {"autostationb", "100", "autostationb"},     {"autostationb", "1a", "autostationb"},
  };
  for (const Case& c : cases) {
    Restore restore;
    restore.keys = goodKeys();
    restore.keys[c.key] = c.value;
    const RestoredAutoRetrieve r = restore.run();
    EXPECT_TRUE(r.refused) << c.key << "=" << c.value;
    EXPECT_FALSE(r.on) << c.key << "=" << c.value;
    EXPECT_EQ(restore.keysRead.back(), c.lastKeyRead) << c.key << "=" << c.value;
  }
}

TEST(AutoRetrieveRestoreTest, StationsSevenToNineComeBack) {
  Restore restore;
  restore.keys = goodKeys();
  restore.keys["autostationnum"] = "3";
  restore.keys["autostationa"] = "7";
  restore.keys["autostationb"] = "8";
  restore.keys["autostationc"] = "63";
  const RestoredAutoRetrieve r = restore.run();
  EXPECT_TRUE(r.on);
  EXPECT_EQ(r.stations, (std::vector<int16_t>{7, 8, 63}));
}

TEST(AutoRetrieveRestoreTest, StationsReadUpToTheCountAndKeptUntilARefusal) {
  Restore restore;
  restore.keys = goodKeys();
  restore.keys["autostationnum"] = "3";
  restore.keys["autostationc"] = "64";
  const RestoredAutoRetrieve r = restore.run();
  EXPECT_TRUE(r.refused);
  EXPECT_EQ(r.stations, (std::vector<int16_t>{12, 40})) << "shown ticked in the window";
  EXPECT_EQ(r.directory, "/data/logs") << "already resolved and written back";
}

TEST(AutoRetrieveRestoreTest, DirectoryEmptyTakesTheTemporaryOneUnprobed) {
  Restore restore;
  restore.keys = goodKeys();
  restore.keys.erase("autodir");
  const RestoredAutoRetrieve r = restore.run();
  EXPECT_EQ(r.directory, "/var/tmp/");
  EXPECT_TRUE(restore.probed.empty());
  EXPECT_TRUE(r.on);
}

TEST(AutoRetrieveRestoreTest, DirectoryNotWritableGivesTheTemporaryOneAndWhy) {
  Restore restore;
  restore.keys = goodKeys();
  restore.writable = false;
  const RestoredAutoRetrieve r = restore.run();
  EXPECT_TRUE(r.on);
  EXPECT_EQ(r.directory, "/var/tmp/");
  ASSERT_TRUE(r.unwritable);
  EXPECT_EQ(r.unwritable->directory, "/data/logs");
  EXPECT_EQ(r.unwritable->reason, "Permission denied");
}

TEST(AutoRetrieveSettingWritesTest, EnableWritesEveryKeyInOrder) {
  const std::vector<SettingWrite> writes = enableSettingWrites(120, {12, 40}, "/data/logs");
  const std::vector<SettingWrite> expected = {
      {"autoretrieve", "1"},     {"autorclimit", "120"}, {"autostationnum", "2"},
      {"autodir", "/data/logs"}, {"autostationa", "0"},  {"autostationb", "0"},
      {"autostationc", "0"},     {"autostationd", "0"},  {"autostatione", "0"},
      {"autostationa", "12"},    {"autostationb", "40"}};
  EXPECT_EQ(writes, expected);
  EXPECT_EQ(enableSettingWrites(50, {1, 2, 3, 4, 5}, "d").back(),
            (SettingWrite{"autostatione", "5"}));
  EXPECT_EQ(disableSettingWrites(),
            (std::vector<SettingWrite>{{"autoretrieve", "0"}, {"autostationnum", "0"}}));
}

TEST(AutoRetrieveFileTest, StationFileInTheDirectory) {
  EXPECT_EQ(autoRetrieveFilePath("/data/logs", 7), "/data/logs/station7.txt");
  EXPECT_EQ(autoRetrieveFilePath("/tmp/", 63), "/tmp/station63.txt");
  EXPECT_EQ(autoRetrieveCountText(5, 120), "Station#5  Count= 120");
  EXPECT_EQ(autoRetrieveNoResponseText(5), "Station#5  No response (or datalogging not present)");
  EXPECT_EQ(autoRetrieveCannotOpenText(12),
            "Cannot open station12.txt (File may be open by another application)");
}

TEST(AutoRetrieveFileTest, ProbeLeavesTestLogAndRefusesWhatTakesNoFile) {
  namespace fs = std::filesystem;
  const fs::path dir =
      fs::temp_directory_path() / ("autoretrieve_probe_" + std::to_string(::getpid()));
  fs::remove_all(dir);
  fs::create_directories(dir);
  EXPECT_TRUE(probeDirectoryWritable(dir.string()));
  EXPECT_TRUE(fs::exists(dir / "test.log"));
  EXPECT_FALSE(probeDirectoryWritable((dir / "missing").string()));
  EXPECT_FALSE(probeDirectoryWritable(""));
  std::FILE* plain = std::fopen((dir / "plain").c_str(), "w");
  std::fputs("x", plain);
  std::fclose(plain);
  EXPECT_FALSE(probeDirectoryWritable((dir / "plain").string())) << "a file, not a directory";
  if (::geteuid() != 0) {
    fs::create_directories(dir / "locked");
    fs::permissions(dir / "locked", fs::perms::owner_read | fs::perms::owner_exec);
    EXPECT_FALSE(probeDirectoryWritable((dir / "locked").string()));
    fs::permissions(dir / "locked", fs::perms::owner_all);
  }
  for (const char* name : {"station1.txt", "test.log", "plain"}) {
    StationFile file;
    ASSERT_TRUE(file.open((dir / name).string()));
    EXPECT_EQ(file.isNew(), name != std::string("plain")) << name << ": missing or empty";
  }
  fs::remove_all(dir);
}

}  // namespace
}  // namespace kvlink
