#include <gtest/gtest.h>

#include <filesystem>

#include "TestSupport.h"
#include "platform/SettingsDirectory.h"
#include "platform/TempPath.h"

namespace kvlink {
namespace {

using test::EnvironmentOverride;
using test::ScratchDirectory;

struct DirectoryCase {
  const char* what;
  std::optional<std::string> windir;  // relative to the scratch directory when not empty
  std::optional<std::string> xdgConfig;
  std::string expected;  // relative to the scratch directory
};

void PrintTo(const DirectoryCase& c, std::ostream* os) {
  *os << c.what;
}

const DirectoryCase kDirectoryCases[] = {
    {"windir wins", "win", "xdg", "win"},
    {"windir with trailing slash", "win/", std::nullopt, "win"},
    {"empty windir falls through", "", "xdg", "xdg/kv-link27"},
    {"xdg config home", std::nullopt, "xdg", "xdg/kv-link27"},
    {"empty xdg config home", std::nullopt, "", "home/.config/kv-link27"},
    {"home", std::nullopt, std::nullopt, "home/.config/kv-link27"},
};

class SettingsDirectoryTest : public testing::TestWithParam<DirectoryCase> {};

TEST_P(SettingsDirectoryTest, IsChosenFromTheEnvironmentAndCreated) {
  const DirectoryCase& c = GetParam();
  ScratchDirectory scratch;
  const auto under = [&](const std::optional<std::string>& v) -> std::optional<std::string> {
    if (!v || v->empty()) return v;
    return scratch.file(*v);
  };
  EnvironmentOverride windir("KVLINK_WINDIR", under(c.windir));
  EnvironmentOverride xdg("XDG_CONFIG_HOME", under(c.xdgConfig));
  EnvironmentOverride home("HOME", scratch.file("home"));

  const std::string expected = scratch.file(c.expected);
  EXPECT_EQ(settingsDirectory(), expected) << c.what;
  EXPECT_TRUE(std::filesystem::is_directory(expected)) << c.what;
  EXPECT_EQ(resolveProfilePath("gridmon.ini"), expected + "/gridmon.ini") << c.what;
}

INSTANTIATE_TEST_SUITE_P(Cases, SettingsDirectoryTest, testing::ValuesIn(kDirectoryCases));

TEST(SettingsDirectory, RelativeXdgConfigHomeIsIgnored) {
  ScratchDirectory scratch;
  EnvironmentOverride windir("KVLINK_WINDIR", std::nullopt);
  EnvironmentOverride xdg("XDG_CONFIG_HOME", "relative/config");
  EnvironmentOverride home("HOME", scratch.path());
  EXPECT_EQ(settingsDirectory(), scratch.path() + "/.config/kv-link27");
}

TEST(SettingsDirectory, PathWithADirectoryIsUsedAsGiven) {
  ScratchDirectory scratch;
  EnvironmentOverride windir("KVLINK_WINDIR", scratch.path());
  EXPECT_EQ(resolveProfilePath("/srv/units/pump.con"), "/srv/units/pump.con");
  EXPECT_EQ(resolveProfilePath("units/pump.con"), "units/pump.con");
  EXPECT_EQ(resolveProfilePath("pump.con"), scratch.path() + "/pump.con");
}

TEST(TempPath, ComesFromTmpdirWithATrailingSlash) {
  const std::pair<std::optional<std::string>, std::string> cases[] = {{"/var/tmp", "/var/tmp/"},
                                                                      {"/var/tmp/", "/var/tmp/"},
                                                                      {"", "/tmp/"},
                                                                      {std::nullopt, "/tmp/"}};
  for (const auto& [tmpdir, expected] : cases) {
    EnvironmentOverride env("TMPDIR", tmpdir);
    EXPECT_EQ(tempPath(), expected) << tmpdir.value_or("(unset)");
  }
}

}  // namespace
}  // namespace kvlink
