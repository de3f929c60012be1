#pragma once
// Setting the unit clock: the date and time fields of the Configure Data
// Logging window checked and turned into the four BCD clock words
// (registers 128..131), the 12-hour and 24-hour forms of the hour, and the
// fields and the caption the window takes from the PC clock.
//
//   word  high byte                     low byte
//   128   first two year digits (BCD)   last two year digits (BCD)
//   129   month 01..12 (BCD)            day 01..31 (BCD)
//   130   weekday 1..7, 1 = Sunday      hour 00..23 (BCD)
//   131   minute 00..59 (BCD)           second 00..59 (BCD)

#include <array>
#include <cstdint>
#include <optional>
#include <string>

namespace kvlink {

inline constexpr int kClockYearMin = 1995;
inline constexpr int kClockYearMax = 2094;

struct ClockFields {
  int year = kClockYearMin;
  int month = 1;
  int day = 1;
  int weekday = 1;  // 1 = Sunday .. 7 = Saturday; 0 = none chosen
  int hour = 0;     // 0..23
  int minute = 0;
  int second = 0;
  bool operator==(const ClockFields&) const = default;
};

using ClockWords = std::array<uint16_t, 4>;

// Two BCD digits of 0..99.
uint8_t bcdByte(int value);

int daysInMonth(int year, int month);

// Why the fields cannot be sent to the unit, or nothing when they can: every
// field in its range and the day one that the month has.
std::optional<std::string> clockFieldsProblem(const ClockFields& fields);

// The four words for fields that passed clockFieldsProblem.
ClockWords clockWordsFromFields(const ClockFields& fields);

// The hour on the 12-hour clock: 12 AM is 0, 12 PM is 12.
int hour24From12(int hour12, bool pm);
struct Hour12 {
  int hour;  // 1..12
  bool pm;
  bool operator==(const Hour12&) const = default;
};
Hour12 hour12From24(int hour24);

// A reading of the PC clock.
struct LocalTime {
  int year;
  int month;
  int day;
  int weekday;  // 1 = Sunday .. 7 = Saturday
  int hour;     // 0..23
  int minute;
  int second;
};

// "dd/mm/yyyy  hh:mm:ss AM/PM", the hour on the 12-hour clock.
std::string pcClockCaption(const LocalTime& now);

// The clock fields a window opening takes from the PC clock: the year held to
// 1995..2094, with the warning when the PC shows a year before 1995.
struct PcClockFields {
  ClockFields fields;
  bool yearBefore1995 = false;
};
PcClockFields clockFieldsFromPc(const LocalTime& now);

}  // namespace kvlink
