// The values gridmon.ini may hold, as the shell reads them.
#include <gtest/gtest.h>

#include "SettingsFile.h"

namespace kvlink {
namespace {

TEST(SettingsValuesTest, StationIsAWholeNumberFromOneToSixtyThree) {
  for (int n = 1; n <= 63; ++n) EXPECT_EQ(parseStation(std::to_string(n)), n);
  EXPECT_EQ(parseStation("07"), 7);
  for (const char* bad : {"", "0", "64", "100", "-1", "+5", " 5", "5 ", "5a", "7.0", "1e1",
                          "99999999999", "\xef\xbc\x95"})
    EXPECT_EQ(parseStation(bad), std::nullopt) << bad;
}

TEST(SettingsValuesTest, LinkSettingsAcceptOnlyTheValuesTheProgramWrites) {
  EXPECT_EQ(parsePort("1"), 1);
  EXPECT_EQ(parsePort("4"), 4);
  for (const char* bad : {"0", "5", "COM1", ""}) EXPECT_EQ(parsePort(bad), std::nullopt) << bad;

  const std::pair<const char*, int16_t> bauds[] = {{"9600", 96}, {"4800", 48}, {"2400", 24},
                                                   {"1200", 12}, {"96", 96},   {"12", 12}};
  for (const auto& [text, code] : bauds) {
    EXPECT_EQ(parseBaudCode(text), code) << text;
  }
  for (const char* bad : {"19200", "9601", "600", "0", "", "9600baud"})
    EXPECT_EQ(parseBaudCode(bad), std::nullopt) << bad;

  EXPECT_EQ(parseCheckMode("0"), 0);
  EXPECT_EQ(parseCheckMode("1"), 1);
  EXPECT_EQ(parseCheckMode("2"), std::nullopt);
  EXPECT_EQ(parseProtocol("1"), 1);
  EXPECT_EQ(parseProtocol("0"), 0);
  EXPECT_EQ(parseProtocol("x"), std::nullopt);
}

TEST(SettingsValuesTest, AutostartHasThreeCases) {
  EXPECT_EQ(autoStartOf(""), AutoStart::Empty);
  EXPECT_EQ(autoStartOf("0"), AutoStart::Off);
  EXPECT_EQ(autoStartOf("1"), AutoStart::On);
  EXPECT_EQ(autoStartOf("yes"), AutoStart::On);
}

TEST(SettingsValuesTest, StationNamesThatWouldNotReadBackAreRefused) {
  EXPECT_TRUE(isStorableStationName(""));
  EXPECT_TRUE(isStorableStationName("Pump 4 \"north\""));
  EXPECT_TRUE(isStorableStationName("a=b; [c]"));
  for (const char* bad : {" lead", "trail ", "\"quoted\"", "'quoted'", "two\nlines"})
    EXPECT_FALSE(isStorableStationName(bad)) << bad;
  EXPECT_FALSE(isStorableStationName(std::string(256, 'n')));
}

}  // namespace
}  // namespace kvlink
