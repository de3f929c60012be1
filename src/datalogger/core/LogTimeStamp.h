#pragma once
// The BCD time words shared by the unit clock (registers 128..131) and every
// record's time stamp (record words 0..3):
//
//   word  high byte                     low byte
//   0     first two year digits (BCD)   last two year digits (BCD)
//   1     month 01..12 (BCD)            day 01..31 (BCD)
//   2     weekday 1..7, 1 = Sunday      hour 00..23 (BCD)
//   3     minute 00..59 (BCD)           second 00..59 (BCD)
//
// Each word becomes the upper-case hexadecimal text of its value, which for
// BCD data is the digits as stored. Nibbles above 9 come out as letters and
// are shown as they are.

#include <array>
#include <cstdint>
#include <string>

#include "LogRecordValues.h"

namespace kvlink {

using TimeWords = std::array<uint16_t, 4>;  // year, month+day, weekday+hour, minute+second

// Hexadecimal text of a word, upper case, no leading zeros ("0" for 0).
std::string hexText(uint16_t word);

// The year window: a one-digit year gets "200" before it; then a two-digit
// year 95..99 becomes 1995..1999 and any other two-digit year gets "20"
// before it. Three or four characters stay as they are.
std::string yearWindow(std::string yearText);

// Left-pads with "0" to four characters.
std::string fourDigits(std::string text);

// "Sunday" ... "Saturday" for the weekday texts "01" ... "07"; empty for any
// other text.
std::string weekdayName(const std::string& weekdayDigits);

// Writes the four time texts and, when the weekday digits are 01..07, the
// weekday name; an unknown weekday leaves the name as it was.
void applyTimeWords(LogRecordValues& values, const TimeWords& words);

// Characters [start, start + count) counted from 1, cut to what the text
// holds (empty when it starts beyond the end).
std::string mid(const std::string& text, std::size_t start, std::size_t count);

// "dd/mm/yyyy  hh:mm:ss Weekday" from the time texts.
std::string logDateTimeText(const LogRecordValues& values);

}  // namespace kvlink
