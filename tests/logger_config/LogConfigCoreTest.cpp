// The logger configuration's pure rules: which control stands for which bit
// per unit type, the control word, the number boxes, the logger settings
// block, and the BCD clock words with the 12-hour form.
#include <gtest/gtest.h>

#include <string>

#include "LogConfigBitTable.h"
#include "LogTimeStamp.h"
#include "LoggerSettings.h"
#include "UnitClockCodec.h"

namespace kvlink {
namespace {

const MaskBitControl& boxFor(TriggerMask mask, uint16_t bit) {
  for (const MaskBitControl& box : maskBitControls(mask))
    if (box.bit == bit) return box;
  throw std::logic_error("no box for bit");
}

// ---- bit tables ------------------------------------------------------------

TEST(LogConfigBitTable, EveryMaskBitHasOneBoxAndBitsWithoutABoxStayClear) {
  // Trip bits 1..256, alarm bits 1..512 without 64, status bits 1..4.
  EXPECT_EQ(maskWord(TriggerMask::Trip, maskChecks(TriggerMask::Trip, 0xFFFF)), 511);
  EXPECT_EQ(maskWord(TriggerMask::Alarm, maskChecks(TriggerMask::Alarm, 0xFFFF)), 959);
  EXPECT_EQ(maskWord(TriggerMask::Status, maskChecks(TriggerMask::Status, 0xFFFF)), 7);
  for (TriggerMask mask : {TriggerMask::Trip, TriggerMask::Alarm, TriggerMask::Status}) {
    for (const MaskBitControl& box : maskBitControls(mask)) {
      const auto checks = maskChecks(mask, box.bit);
      EXPECT_EQ(maskWord(mask, checks), box.bit) << box.control;
    }
  }
  EXPECT_EQ(maskWord(TriggerMask::Alarm, maskChecks(TriggerMask::Alarm, 64)), 0);
}

TEST(LogConfigBitTable, CaptionsAndVisibilityFollowTheUnitType) {
  const MaskBitControl& tripI2t = boxFor(TriggerMask::Trip, 1);
  EXPECT_EQ(maskCaptionFor(tripI2t, 0, "I2t"), "I^2t");
  EXPECT_EQ(maskCaptionFor(tripI2t, 4, "I^2t"), "% Thermal");
  EXPECT_EQ(maskCaptionFor(tripI2t, 99, "% Thermal"), "% Thermal");  // kept as it is

  const MaskBitControl& trip64 = boxFor(TriggerMask::Trip, 64);
  EXPECT_EQ(maskCaptionFor(trip64, 4, "x"), "Remote Trip");
  EXPECT_TRUE(maskVisibleFor(trip64, 4, false));
  EXPECT_FALSE(maskVisibleFor(trip64, 1, true));
  EXPECT_EQ(maskCaptionFor(trip64, 2, "Remote Trip"), "Short-Circuit");
  EXPECT_EQ(maskCaptionFor(boxFor(TriggerMask::Trip, 8), 4, "x"), "Unbalance");  // kept: design

  // Type 1 hides trip 32, 64, 256, alarm 32, 256, 512 and status 4.
  const std::pair<TriggerMask, uint16_t> hiddenForGlt[] = {
      {TriggerMask::Trip, 32},  {TriggerMask::Trip, 64},   {TriggerMask::Trip, 256},
      {TriggerMask::Alarm, 32}, {TriggerMask::Alarm, 256}, {TriggerMask::Alarm, 512},
      {TriggerMask::Status, 4}};
  int hidden = 0;
  for (TriggerMask mask : {TriggerMask::Trip, TriggerMask::Alarm, TriggerMask::Status})
    for (const MaskBitControl& box : maskBitControls(mask)) hidden += !maskVisibleFor(box, 1, true);
  EXPECT_EQ(hidden, 7);
  for (const auto& [mask, bit] : hiddenForGlt)
    EXPECT_FALSE(maskVisibleFor(boxFor(mask, bit), 1, true));

  EXPECT_EQ(maskCaptionFor(boxFor(TriggerMask::Status, 2), 1, "x"), "Contact Closed");
  EXPECT_EQ(maskCaptionFor(boxFor(TriggerMask::Alarm, 16), 1, "x"), "Earth Fault");
  EXPECT_EQ(maskCaptionFor(boxFor(TriggerMask::Alarm, 16), 4, "x"), "Ground Fault");
  EXPECT_EQ(statusMaskCaption(0), "RVX Mask");
  EXPECT_EQ(statusMaskCaption(2), "RVX Mask");
  EXPECT_EQ(statusMaskCaption(1), "GLT Mask");
  EXPECT_EQ(statusMaskCaption(4), "ZE-DUR Mask");
  EXPECT_EQ(statusMaskCaption(99), "");
}

TEST(LogConfigBitTable, ControlWordShowsOneTriggerModeAndSendsOnlyItsBits) {
  EXPECT_EQ(controlOptionsFromWord(0).mode, TriggerMode::Disabled);
  EXPECT_EQ(controlOptionsFromWord(1).mode, TriggerMode::TimeAndEvents);
  EXPECT_EQ(controlOptionsFromWord(3).mode, TriggerMode::EventsOnly);  // events only wins
  EXPECT_FALSE(controlOptionsFromWord(8).resetCounter);                // always shown clear
  EXPECT_TRUE(controlOptionsFromWord(16).clockEnabled);
  EXPECT_FALSE(controlOptionsFromWord(0xFFEF).clockEnabled);

  EXPECT_EQ(controlWordFromOptions({TriggerMode::EventsOnly, true, true}), 26);
  EXPECT_EQ(controlWordFromOptions({TriggerMode::TimeAndEvents, false, false}), 1);
  EXPECT_EQ(controlWordFromOptions({}), 0);
  // Bits without a control (4, 32 and above) are not sent back.
  EXPECT_EQ(controlWordFromOptions(controlOptionsFromWord(0xFFFF)), 18);
}

// ---- logger settings and the number boxes ----------------------------------

TEST(LoggerSettings, BlockIsReadUnsignedAndWrittenInRegisterOrder) {
  const uint16_t words[7] = {65535, 249, 26, 511, 959, 7, 300};
  const LoggerSettings s = loggerSettingsFromWords(words);
  EXPECT_EQ(s.LogSampleInterval, 65535);
  EXPECT_EQ(s.LogRecordCounter, 300);
  const auto writes = loggerSettingWrites(s);
  for (int i = 0; i < 6; ++i) {
    EXPECT_EQ(writes[i].reg, 132 + i);
    EXPECT_EQ(writes[i].value, words[i]);  // 65535 stays 65535
  }
}

TEST(LoggerSettings, OnlyPlainNumbersInRangeAreSent) {
  const std::string_view si = kSampleIntervalInvalid;
  const std::string_view td = kTriggerDurationInvalid;
  struct Case {
    const char* interval;
    const char* duration;
    std::optional<std::string_view> refusal;
  } cases[] = {
      {"", "", si},
      {"60", "", td},
      {"0", "10", si},
      {"65536", "10", si},
      {"99999", "10", si},
      {"-5", "10", si},
      {"12a", "10", si},
      {" ", "10", si},
      {"99999999999", "10", si},
      {"60", "250", td},
      {"60", "2x", td},
      {"60", "-1", td},
      {"1", "0", std::nullopt},
      {"65535", "249", std::nullopt},
      {" 60 ", "007", std::nullopt},
  };
  for (const Case& c : cases) {
    const SettingsTextCheck check = checkSettingsTexts(c.interval, c.duration);
    EXPECT_EQ(check.refusal, c.refusal) << c.interval << " / " << c.duration;
  }
  const SettingsTextCheck ok = checkSettingsTexts("65535", "007");
  EXPECT_EQ(ok.sampleInterval, 65535);
  EXPECT_EQ(ok.triggerDuration, 7);
}

TEST(LoggerSettings, EnterCorrectsTheBoxesByNumberNotByText) {
  EXPECT_EQ(correctSampleIntervalText(""), "1");
  EXPECT_EQ(correctSampleIntervalText("0"), "1");
  EXPECT_EQ(correctSampleIntervalText("00"), "1");
  EXPECT_EQ(correctSampleIntervalText("7"), "7");
  EXPECT_EQ(correctSampleIntervalText("70"), "70");
  EXPECT_EQ(correctSampleIntervalText("65535"), "65535");
  EXPECT_EQ(correctSampleIntervalText("65536"), "65535");
  EXPECT_EQ(correctSampleIntervalText("99999"), "65535");
  EXPECT_EQ(correctTriggerDurationText(""), "0");
  EXPECT_EQ(correctTriggerDurationText("0"), "0");
  EXPECT_EQ(correctTriggerDurationText("25"), "25");
  EXPECT_EQ(correctTriggerDurationText("99"), "99");
  EXPECT_EQ(correctTriggerDurationText("250"), "249");
  EXPECT_EQ(correctTriggerDurationText("999"), "249");

  for (int key = 0; key < 128; ++key)
    EXPECT_EQ(numberBoxKeyPasses(key), (key >= '0' && key <= '9') || key == 8 || key == 13) << key;
}

// ---- the unit clock --------------------------------------------------------

ClockFields fields(int year, int month, int day, int weekday, int hour, int minute, int second) {
  return {year, month, day, weekday, hour, minute, second};
}

TEST(UnitClockCodec, EveryFieldIsSentAsBcd) {
  // 28 November 2026, Saturday, 15:07:09.
  EXPECT_EQ(clockWordsFromFields(fields(2026, 11, 28, 7, 15, 7, 9)),
            (ClockWords{0x2026, 0x1128, 0x0715, 0x0709}));
  EXPECT_EQ(clockWordsFromFields(fields(1995, 9, 1, 1, 0, 5, 5)),
            (ClockWords{0x1995, 0x0901, 0x0100, 0x0505}));
  EXPECT_EQ(clockWordsFromFields(fields(2094, 12, 31, 4, 23, 59, 59)),
            (ClockWords{0x2094, 0x1231, 0x0423, 0x5959}));
  EXPECT_EQ(clockWordsFromFields(fields(2000, 10, 10, 2, 10, 10, 10)),
            (ClockWords{0x2000, 0x1010, 0x0210, 0x1010}));
  for (int value = 0; value < 100; ++value)
    EXPECT_EQ(bcdByte(value), (value / 10) * 16 + value % 10);
}

TEST(UnitClockCodec, WordsSentReadBackAsTheSameDateAndTime) {
  const ClockFields sent = fields(2031, 2, 3, 2, 4, 5, 6);
  const ClockWords words = clockWordsFromFields(sent);
  LogRecordValues shown;
  applyTimeWords(shown, words);
  EXPECT_EQ(logDateTimeText(shown), "03/02/2031  04:05:06 Monday");
}

TEST(UnitClockCodec, TwelveHourFormGivesTheRightHour) {
  struct Case {
    int hour12;
    bool pm;
    int hour24;
  } cases[] = {{12, false, 0}, {1, false, 1}, {9, false, 9}, {10, false, 10}, {11, false, 11},
               {12, true, 12}, {1, true, 13}, {9, true, 21}, {10, true, 22},  {11, true, 23}};
  for (const Case& c : cases) {
    EXPECT_EQ(hour24From12(c.hour12, c.pm), c.hour24) << c.hour12 << (c.pm ? " PM" : " AM");
    EXPECT_EQ(hour12From24(c.hour24), (Hour12{c.hour12, c.pm}));
  }
  for (int hour = 0; hour < 24; ++hour) {
    const Hour12 h = hour12From24(hour);
    EXPECT_EQ(hour24From12(h.hour, h.pm), hour);
  }
  EXPECT_EQ(clockWordsFromFields(fields(2026, 1, 1, 5, hour24From12(9, true), 0, 0))[2], 0x0521);
}

TEST(UnitClockCodec, FieldsThatAreNoDateOrTimeAreRefused) {
  EXPECT_FALSE(clockFieldsProblem(fields(2024, 2, 29, 5, 0, 0, 0)));
  EXPECT_TRUE(clockFieldsProblem(fields(2026, 2, 29, 1, 0, 0, 0)));
  EXPECT_EQ(*clockFieldsProblem(fields(2026, 4, 31, 1, 0, 0, 0)),
            "31/4/2026 is not a date. Please correct the day.");
  EXPECT_FALSE(clockFieldsProblem(fields(2000, 2, 29, 3, 0, 0, 0)));  // 2000 is a leap year
  EXPECT_TRUE(clockFieldsProblem(fields(1994, 1, 1, 1, 0, 0, 0)));
  EXPECT_TRUE(clockFieldsProblem(fields(2095, 1, 1, 1, 0, 0, 0)));
  EXPECT_TRUE(clockFieldsProblem(fields(2026, 13, 1, 1, 0, 0, 0)));
  EXPECT_TRUE(clockFieldsProblem(fields(2026, 1, 0, 1, 0, 0, 0)));
  EXPECT_TRUE(clockFieldsProblem(fields(2026, 1, 1, 0, 0, 0, 0)));  // no weekday chosen
  EXPECT_TRUE(clockFieldsProblem(fields(2026, 1, 1, 8, 0, 0, 0)));
  EXPECT_TRUE(clockFieldsProblem(fields(2026, 1, 1, 1, 24, 0, 0)));
  EXPECT_TRUE(clockFieldsProblem(fields(2026, 1, 1, 1, 0, 60, 0)));
  EXPECT_TRUE(clockFieldsProblem(fields(2026, 1, 1, 1, 0, 0, 60)));
}

TEST(UnitClockCodec, PcClockCaptionAndFields) {
  EXPECT_EQ(pcClockCaption({2026, 11, 28, 7, 15, 7, 9}), "28/11/2026  03:07:09 PM");
  EXPECT_EQ(pcClockCaption({2026, 1, 2, 6, 0, 5, 0}), "02/01/2026  12:05:00 AM");
  EXPECT_EQ(pcClockCaption({2026, 1, 2, 6, 12, 5, 0}), "02/01/2026  12:05:00 PM");

  const PcClockFields old = clockFieldsFromPc({1990, 6, 15, 6, 8, 30, 0});
  EXPECT_EQ(old.fields.year, 1995);
  EXPECT_TRUE(old.yearBefore1995);
  const PcClockFields late = clockFieldsFromPc({2100, 6, 15, 3, 8, 30, 0});
  EXPECT_EQ(late.fields.year, 2094);
  EXPECT_FALSE(late.yearBefore1995);
  const PcClockFields now = clockFieldsFromPc({2026, 11, 28, 7, 15, 7, 9});
  EXPECT_EQ(now.fields, fields(2026, 11, 28, 7, 15, 7, 9));
}

}  // namespace
}  // namespace kvlink
