// The set-point windows' field tables and the reset panels' buttons, row by
// row, and the rules on typed text and polled values.
#include <gtest/gtest.h>

#include <set>
#include <string>

#include "FieldRow.h"
#include "ResetPanelTables.h"
#include "SetPointTables.h"

namespace kvlink {
namespace {

struct ExpectedRow {
  const char* box;
  int reg;
  int df1;
  int maxLength;
  int offValue;
  const char* hint;
  const char* hover;  // nullptr: the hint
  const char* marker;
  const char* deleteButton;  // nullptr: none
};

void expectTable(const FieldTable& table, const std::vector<ExpectedRow>& expected, int unitType) {
  ASSERT_EQ(table.size(), expected.size());
  for (size_t i = 0; i < expected.size(); ++i) {
    const FieldRow& row = table[i];
    const ExpectedRow& want = expected[i];
    SCOPED_TRACE(want.box);
    EXPECT_STREQ(row.box, want.box);
    EXPECT_EQ(fieldAddress(row, true), want.reg);
    EXPECT_EQ(fieldAddress(row, false), want.df1);
    EXPECT_EQ(row.maxLength, want.maxLength);
    ASSERT_TRUE(row.offValue.has_value());
    EXPECT_EQ(*row.offValue, want.offValue);
    EXPECT_EQ(clickHint(row, unitType), want.hint);
    EXPECT_EQ(hoverHint(row, unitType), want.hover ? want.hover : want.hint);
    EXPECT_STREQ(row.marker, want.marker);
    if (want.deleteButton)
      EXPECT_STREQ(row.deleteButton, want.deleteButton);
    else
      EXPECT_EQ(row.deleteButton, nullptr);
    EXPECT_NE(row.polled, nullptr);
  }
}

TEST(SetPointTablesTest, MotorRelayRows) {
  expectTable(*form5Design().fields,
              {
                  {"Text1", 0, 256, 2, 46, "Thermal Limit Trip, Range: 1 to 45 seconds", nullptr,
                   "Label8", "Command1"},
                  {"Text12", 1, 258, 2, 46, "Thermal Limit Alarm, Range: 1 to 45 seconds", nullptr,
                   "Label14", "Command12"},
                  {"Text2", 2, 260, 3, 625, "Overcurrent Trip, Range: 100% to 600%", nullptr,
                   "Label9", "Command2"},
                  {"Text11", 3, 262, 3, 625, "Overcurrent Alarm, Range: 100% to 600%", nullptr,
                   "Label15", "Command11"},
                  {"Text3", 4, 264, 3, 101, "Undercurrent Trip, Range: 15% to 100%", nullptr,
                   "Label10", "Command3"},
                  {"Text10", 5, 266, 3, 101, "Undercurrent Alarm, Range: 15% to 100%", nullptr,
                   "Label16", "Command10"},
                  {"Text4", 6, 268, 2, 76, "Unbalance Trip, Range: 5% to 75%", nullptr, "Label11",
                   "Command4"},
                  {"Text9", 7, 270, 2, 76, "Unbalance Alarm, Range: 5% to 75%", nullptr, "Label17",
                   "Command9"},
                  {"Text5", 8, 272, 3, 225, "Temperature Trip, Range: 50 deg c to 220 deg c",
                   "Temperature Trip, Range: 50 c to 220 c", "Label12", "Command5"},
                  {"Text8", 9, 274, 3, 225, "Temperature Alarm, Range: 50 deg c to 220 deg c",
                   "Temperature Alarm, Range: 50 c to 220 c", "Label18", "Command8"},
                  {"Text6", 10, 276, 3, 101, "Earth-Leakage Trip, Range: 1% to 100%", nullptr,
                   "Label13", "Command6"},
                  {"Text7", 11, 278, 3, 101, "Earth-Leakage Alarm, Range: 1% to 100%", nullptr,
                   "Label19", "Command7"},
              },
              0);
  EXPECT_STREQ(form5Design().caption, "RVX Trip-And-Alarm Set Points");
  EXPECT_STREQ(form5Design().summaryCaption, "Summary and Range of Trip/Alarm Set Point");
}

TEST(SetPointTablesTest, ContactorUnitRows) {
  expectTable(*lpForm5Design().fields,
              {
                  {"Text1", 0, 256, 2, 998, "Thermal Limit Trip, Range: 1 to 45 seconds", nullptr,
                   "Label8", nullptr},
                  {"Text12", 1, 258, 2, 998, "Thermal Limit Alarm, Range: 1 to 45 seconds", nullptr,
                   "Label14", nullptr},
                  {"Text2", 2, 260, 3, 9988, "Overcurrent Trip, Range: 2 to 12 x FLA", nullptr,
                   "Label9", nullptr},
                  {"Text11", 3, 262, 3, 9988, "Overcurrent Alarm, Range: 2 to 12 x FLA", nullptr,
                   "Label15", nullptr},
                  {"Text3", 4, 264, 3, 101, "Undercurrent Trip, Range: 15% to 100%", nullptr,
                   "Label10", "Command3"},
                  {"Text10", 5, 266, 3, 101, "Undercurrent Alarm, Range: 15% to 100%", nullptr,
                   "Label16", "Command10"},
                  {"Text4", 6, 268, 2, 76, "Unbalance Trip, Range: 5% to 75%", nullptr, "Label11",
                   "Command4"},
                  {"Text9", 7, 270, 2, 76, "Unbalance Alarm, Range: 5% to 75%", nullptr, "Label17",
                   "Command9"},
                  {"Text5", 8, 272, 3, 225, "Temperature Trip, Range: 50 deg c to 220 deg c",
                   "Temperature Trip, Range: 50 c to 220 c", "Label12", "Command5"},
                  {"Text8", 9, 274, 3, 225, "Temperature Alarm, Range: 50 deg c to 220 deg c",
                   "Temperature Alarm, Range: 50 c to 220 c", "Label18", "Command8"},
                  {"Text6", 10, 276, 3, 101, "Earth-Leakage Trip, Range: 1% to 100%", nullptr,
                   "Label13", "Command6"},
                  {"Text7", 11, 278, 3, 101, "Earth-Leakage Alarm, Range: 1% to 100%", nullptr,
                   "Label19", "Command7"},
              },
              2);
  EXPECT_STREQ(lpForm5Design().caption, "DA-DAroze Trip-And-Alarm Set Points");
}

std::vector<ExpectedRow> feederRows(const char* leakageTrip, const char* leakageAlarm) {
  return {
      {"Text1", 0, 256, 2, 46, "Thermal Limit Trip, Range: 1 to 45 seconds", nullptr, "Label8",
       "Command1"},
      {"Text12", 1, 258, 2, 46, "Thermal Limit Alarm, Range: 1 to 45 seconds", nullptr, "Label14",
       "Command12"},
      {"Text2", 2, 260, 3, 91, "Short Time Trip, Range: 1.0 to 9.0 CT Primary Rating", nullptr,
       "Label9", "Command2"},
      {"Text11", 3, 262, 3, 91, "Short Time Alarm, Range: 1.0 to 9.0 CT Primary Rating", nullptr,
       "Label15", "Command11"},
      {"Text3", 4, 264, 3, 91, "Instantaneous Trip, Range: 1.0 to 9.0 CT Primary Rating", nullptr,
       "Label10", "Command3"},
      {"Text10", 5, 266, 3, 91, "Instantaneous Alarm, Range: 1.0 to 9.0 CT Primary Rating", nullptr,
       "Label16", "Command10"},
      {"Text4", 6, 268, 2, 76, "Unbalance Trip, Range: 5% to 75%", nullptr, "Label11", "Command4"},
      {"Text9", 7, 270, 2, 76, "Unbalance Alarm, Range: 5% to 75%", nullptr, "Label17", "Command9"},
      {"Text6", 10, 276, 3, 101, leakageTrip, nullptr, "Label13", "Command6"},
      {"Text7", 11, 278, 3, 101, leakageAlarm, nullptr, "Label19", "Command7"},
  };
}

TEST(SetPointTablesTest, FeederRowsFollowTheUnitTypeInRowFive) {
  expectTable(
      *form35Design().fields,
      feederRows("Earth-Leakage Trip, Range: 1% to 100%", "Earth-Leakage Alarm, Range: 1% to 100%"),
      1);
  for (int type : {4, 0, 99})
    expectTable(
        *form35Design().fields,
        feederRows("Ground Fault Trip, Range: 1% to 100%", "Ground Fault Alarm, Range: 1% to 100%"),
        type);
  EXPECT_STREQ(form35Design().summaryCaption, "Summary and Range of Trip/Alarm SetPoint");
}

TEST(SetPointTablesTest, FeederPerTypeTable) {
  const FeederCaptions* one = feederCaptionsFor(1);
  const FeederCaptions* four = feederCaptionsFor(4);
  ASSERT_TRUE(one && four);
  EXPECT_STREQ(one->title, "GLT Trip/Alarm Setpoints");
  EXPECT_STREQ(four->title, "ZE-DUR Trip/Alarm Setpoints");
  EXPECT_STREQ(one->label1, "I  t (s @ 600%)");
  EXPECT_STREQ(four->label1, "O / L Class (s@600%)");
  EXPECT_STREQ(one->label6, "EARTH LEAKAGE (%)");
  EXPECT_STREQ(four->label6, "GROUND FAULT (%)");
  EXPECT_TRUE(one->superscriptVisible && one->deleteButtonsVisible);
  EXPECT_FALSE(four->superscriptVisible || four->deleteButtonsVisible);
  EXPECT_EQ(feederCaptionsFor(0), nullptr);
  // The short-time Delete buttons are never hidden.
  for (const char* name : kFeederTypedDeleteButtons) {
    EXPECT_STRNE(name, "Command2");
    EXPECT_STRNE(name, "Command11");
  }
}

TEST(SetPointTablesTest, EveryWindowHasDistinctBoxesRegistersAndLayoutCells) {
  for (const SetPointDesign* design : {&form5Design(), &lpForm5Design(), &form35Design()}) {
    SCOPED_TRACE(design->designName);
    std::set<std::string> boxes;
    std::set<int> registers;
    std::set<std::pair<int, int>> cells;
    for (const FieldRow& row : *design->fields) {
      boxes.insert(row.box);
      registers.insert(row.reg);
      cells.insert({row.row, row.column});
      EXPECT_LT(row.row, int(design->headings.size()));
    }
    EXPECT_EQ(boxes.size(), design->fields->size());
    EXPECT_EQ(registers.size(), design->fields->size());
    EXPECT_EQ(cells.size(), design->fields->size());
  }
  EXPECT_EQ(setPointDesignFor(0), &form5Design());
  EXPECT_EQ(setPointDesignFor(1), &form35Design());
  EXPECT_EQ(setPointDesignFor(2), &lpForm5Design());
  EXPECT_EQ(setPointDesignFor(4), &form35Design());
  EXPECT_EQ(setPointDesignFor(99), nullptr);
}

TEST(FieldRuleTest, KeyFilterPassesDigitsBackspaceEnterEscOnly) {
  for (int code = -40000; code < 70000; ++code) {
    const bool expected = (code >= '0' && code <= '9') || code == 8 || code == 13 || code == 27;
    ASSERT_EQ(keyAccepted(code), expected) << code;
  }
}

TEST(FieldRuleTest, EnterWritesOnlyOneToMaxLengthDigits) {
  EXPECT_EQ(boxValue("45", 2), 45);
  EXPECT_EQ(boxValue("0", 3), 0);
  EXPECT_EQ(boxValue("007", 3), 7);
  EXPECT_EQ(boxValue("99999", 5), 99999);
  EXPECT_EQ(boxValue("", 3), std::nullopt);
  EXPECT_EQ(boxValue("1000", 3), std::nullopt);  // polled value longer than the box
  EXPECT_EQ(boxValue("1e3", 3), std::nullopt);
  EXPECT_EQ(boxValue("-5", 3), std::nullopt);
  EXPECT_EQ(boxValue(" 5", 3), std::nullopt);
  EXPECT_EQ(boxValue("4.5", 3), std::nullopt);
  EXPECT_EQ(boxValue("\xd9\xa3", 3), std::nullopt);  // a non-ASCII digit
}

TEST(FieldRuleTest, TypedTextMayBeEmptyOrDigitsThatFit) {
  EXPECT_TRUE(typedTextAllowed("", 2));
  EXPECT_TRUE(typedTextAllowed("12", 2));
  EXPECT_FALSE(typedTextAllowed("123", 2));
  EXPECT_FALSE(typedTextAllowed("1a", 2));
}

TEST(FieldRuleTest, PollShowsEmptyBoxAtTheOffValue) {
  EXPECT_EQ(refreshText(PolledValue(46), 46), "");
  EXPECT_EQ(refreshText(PolledValue(45), 46), "45");
  EXPECT_EQ(refreshText(PolledValue(1000), 625), "1000");
  EXPECT_EQ(refreshText(PolledValue(40000), 101), "40000");
  EXPECT_EQ(refreshText(PolledValue(0), std::nullopt), "0");
  EXPECT_EQ(refreshText(std::nullopt, 46), "");
}

TEST(ResetPanelTablesTest, ButtonsFlagsAndPanels) {
  struct Want {
    const ResetPanelDesign* design;
    const char* caption;
    int type;
    std::set<std::string> buttons;
    bool etrPeak;
  };
  const std::set<std::string> motor = {"Command3D1", "Command3D2", "Command3D3", "Command3D4",
                                       "Command3D5"};
  const std::set<std::string> feeder = {"Command3D1", "Command3D2", "Command3D3"};
  auto plusRemote = [](std::set<std::string> s) {
    s.insert({"Command3D10", "Command3D11"});
    return s;
  };
  const std::vector<Want> wants = {
      {&form10Design(), "RVX Reset Control", 0, motor, true},
      {&form40Design(), "GLT Reset Control", 1, feeder, false},
      {&lpForm10Design(), "DA-DAroze Reset Control", 2, plusRemote(motor), true},
      {&lpForm40Design(), "DA-RUV Reset Control", 4, plusRemote(feeder), false},
  };
  for (const Want& want : wants) {
    SCOPED_TRACE(want.caption);
    EXPECT_STREQ(want.design->caption, want.caption);
    EXPECT_EQ(want.design->unitType, want.type);
    EXPECT_EQ(std::set<std::string>(want.design->buttons.begin(), want.design->buttons.end()),
              want.buttons);
    EXPECT_EQ(want.design->showsEtrPeak, want.etrPeak);
  }
  using C = CommandRequests;
  const std::vector<std::tuple<std::string, std::string, bool C::*>> flags = {
      {"Command3D1", "Trip Reset", &C::PendingTripReset},
      {"Command3D2", "Alarm Latch Reset", &C::PendingAlarmLatchReset},
      {"Command3D3", "ETR", nullptr},
      {"Command3D4", "Re-Enable Temp", &C::PendingReEnableTemp},
      {"Command3D5", "Clear Peak", &C::PendingClearPeak},
      {"Command3D11", "Remote Start", &C::PendingRemoteStart},
      {"Command3D10", "Remote Trip", &C::PendingRemoteTrip},
  };
  ASSERT_EQ(commandButtons().size(), flags.size());
  for (size_t i = 0; i < flags.size(); ++i) {
    EXPECT_EQ(commandButtons()[i].name, std::get<0>(flags[i]));
    EXPECT_EQ(commandButtons()[i].caption, std::get<1>(flags[i]));
    EXPECT_EQ(commandButtons()[i].flag, std::get<2>(flags[i]));
  }
}

}  // namespace
}  // namespace kvlink
