#pragma once
// The data logger's place in a unit's register space: the BCD clock, the
// logger settings, the record counter and the record area, with the address
// forms of both links. Modbus RTU takes register numbers and word counts;
// DF1 takes byte addresses 256 + 2R and byte counts, except for the record
// area, which DF1 reaches at 768 + 48n.

#include <cstdint>
#include <optional>

namespace kvlink {

// Unit clock, BCD (layout in LogTimeStamp.h).
constexpr int kClockYear = 128;
constexpr int kClockMonthDay = 129;
constexpr int kClockWeekdayHour = 130;
constexpr int kClockMinuteSecond = 131;
constexpr int kClockBlockWords = 4;

// Logger settings and the record counter.
constexpr int kSampleInterval = 132;
constexpr int kTriggerDuration = 133;
constexpr int kLoggerControlWord = 134;
constexpr int kTripTriggerMask = 135;
constexpr int kAlarmTriggerMask = 136;
constexpr int kStatusTriggerMask = 137;
constexpr int kRecordCounter = 138;
// The record counter stops here and counts no further.
constexpr long kRecordCounterFull = 0xFFFF;
constexpr int kLoggerConfigBlockWords = 7;  // 132..138

// Record area: 250 records of 24 registers from register 192.
constexpr int kLogRecordBase = 192;
constexpr int kLogRecordStride = 24;
constexpr int kLogRecordSlots = 250;  // records 0..249; record 0 is the newest
constexpr int kDf1LogRecordBase = 768;
constexpr int kDf1LogRecordStride = 48;

// The address of register R: R (Modbus) or 256 + 2R (DF1).
constexpr int32_t loggerRegisterAddress(bool modbus, int reg) {
  return modbus ? reg : 256 + 2 * reg;
}
// A count of words as the link takes it: words (Modbus) or bytes (DF1).
constexpr int16_t loggerReadCount(bool modbus, int words) {
  return static_cast<int16_t>(modbus ? words : 2 * words);
}

// The address of logger record n: 192 + 24n (Modbus) or 768 + 48n (DF1).
// Nothing for a number outside the record area 0..249: there is no record
// there, and what lies beyond it must never be taken for one.
std::optional<int32_t> logRecordAddress(bool modbus, int record);

}  // namespace kvlink
