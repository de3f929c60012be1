#include "UnitClockCodec.h"

#include <cstdio>

namespace kvlink {

uint8_t bcdByte(int value) {
  return static_cast<uint8_t>((value / 10 % 10) << 4 | value % 10);
}

int daysInMonth(int year, int month) {
  static constexpr int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  if (month < 1 || month > 12) return 0;
  const bool leap = year % 4 == 0 && (year % 100 != 0 || year % 400 == 0);
  return month == 2 && leap ? 29 : kDays[month - 1];
}

std::optional<std::string> clockFieldsProblem(const ClockFields& f) {
  auto outside = [](int value, int low, int high) { return value < low || value > high; };
  if (outside(f.year, kClockYearMin, kClockYearMax))
    return "The year must lie between 1995 and 2094.";
  if (outside(f.month, 1, 12)) return "The month must lie between 1 and 12.";
  if (outside(f.day, 1, daysInMonth(f.year, f.month))) {
    char text[96];
    std::snprintf(text, sizeof text, "%d/%d/%d is not a date. Please correct the day.", f.day,
                  f.month, f.year);
    return std::string(text);
  }
  if (outside(f.weekday, 1, 7)) return "Please choose the day of the week.";
  if (outside(f.hour, 0, 23)) return "The hour must lie between 0 and 23.";
  if (outside(f.minute, 0, 59)) return "The minute must lie between 0 and 59.";
  if (outside(f.second, 0, 59)) return "The second must lie between 0 and 59.";
  return std::nullopt;
}

ClockWords clockWordsFromFields(const ClockFields& f) {
  auto word = [](int high, int low) { return static_cast<uint16_t>(high << 8 | low); };
  return {
      word(bcdByte(f.year / 100), bcdByte(f.year % 100)),
      word(bcdByte(f.month), bcdByte(f.day)),
      word(f.weekday, bcdByte(f.hour)),
      word(bcdByte(f.minute), bcdByte(f.second)),
  };
}

int hour24From12(int hour12, bool pm) {
  const int base = hour12 % 12;  // 12 o'clock counts as 0
  return pm ? base + 12 : base;
}

Hour12 hour12From24(int hour24) {
  const int hour = hour24 % 12;
  return {hour == 0 ? 12 : hour, hour24 >= 12};
}

std::string pcClockCaption(const LocalTime& now) {
  const Hour12 h = hour12From24(now.hour);
  char text[64];
  std::snprintf(text, sizeof text, "%02d/%02d/%04d  %02d:%02d:%02d %s", now.day % 100,
                now.month % 100, now.year % 10000, h.hour, now.minute % 100, now.second % 100,
                h.pm ? "PM" : "AM");
  return text;
}

PcClockFields clockFieldsFromPc(const LocalTime& now) {
  PcClockFields page;
  page.fields = {now.year, now.month, now.day, now.weekday, now.hour, now.minute, now.second};
  if (now.year < kClockYearMin) {
    page.fields.year = kClockYearMin;
    page.yearBefore1995 = true;
  } else if (now.year > kClockYearMax) {
    page.fields.year = kClockYearMax;
  }
  return page;
}

}  // namespace kvlink
