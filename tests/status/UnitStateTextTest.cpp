// The run and breaker words, the type abbreviations and the status line of a
// scanned station.
#include <gtest/gtest.h>

#include "UnitStateText.h"

namespace kvlink {
namespace {

TEST(UnitStateTextTest, MotorFamilyRunWords) {
  for (int type : {0, 2}) {
    EXPECT_STREQ(unitStateText(type, 0), "STOPPED");
    EXPECT_STREQ(unitStateText(type, 4), "STOPPED");
    EXPECT_STREQ(unitStateText(type, 1), "STARTING");
    EXPECT_STREQ(unitStateText(type, 5), "STARTING");
    EXPECT_STREQ(unitStateText(type, 3), "RUNNING");
    EXPECT_STREQ(unitStateText(type, 7), "RUNNING");
    for (uint16_t other : {2, 6, 8, 255, 65535}) EXPECT_STREQ(unitStateText(type, other), "");
  }
}

TEST(UnitStateTextTest, FeederFamilyBreakerWords) {
  for (int type : {1, 4}) {
    EXPECT_STREQ(unitStateText(type, 0), "OPEN");
    EXPECT_STREQ(unitStateText(type, 1), "OPEN");
    EXPECT_STREQ(unitStateText(type, 2), "CLOSED");
    EXPECT_STREQ(unitStateText(type, 3), "CLOSED");
    for (uint16_t other : {4, 5, 7, 256, 65535}) EXPECT_STREQ(unitStateText(type, other), "");
  }
}

TEST(UnitStateTextTest, UnidentifiedTypeHasNoWords) {
  EXPECT_STREQ(unitStateText(99, 0), "");
  EXPECT_STREQ(unitStateText(3, 2), "");
  EXPECT_STREQ(unitTypeAbbreviation(99), "");
  EXPECT_STREQ(unitTypeAbbreviation(3), "");
}

TEST(UnitStateTextTest, TypeAbbreviations) {
  EXPECT_STREQ(unitTypeAbbreviation(0), "RVX");
  EXPECT_STREQ(unitTypeAbbreviation(1), "GLT");
  EXPECT_STREQ(unitTypeAbbreviation(2), "CCU");
  EXPECT_STREQ(unitTypeAbbreviation(4), "CPR");
}

TEST(UnitStateTextTest, StatusLineJoinsTripsAlarmsAndState) {
  EXPECT_EQ(scanStatusText(0, 1, 2, 3), "TRIPS ALARMS RUNNING");
  EXPECT_EQ(scanStatusText(0, 0, 0, 0), "STOPPED");
  EXPECT_EQ(scanStatusText(2, 0, 64, 2), "ALARMS ");
  EXPECT_EQ(scanStatusText(0, 0, 0, 2), "");
  EXPECT_EQ(scanStatusText(1, 256, 0, 3), "TRIPS CLOSED");
  EXPECT_EQ(scanStatusText(4, 0, 0, 1), "OPEN");
}

}  // namespace
}  // namespace kvlink
