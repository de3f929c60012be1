#pragma once
// A logger record's words decoded into the shared LogRecordValues. A record
// is 24 registers, of which the motor family reads 18 and the feeder family
// 19:
//
//   word  motor (types 0, 2)        feeder (every other type)
//   0..3  time stamp (LogTimeStamp.h)
//   4     trip bits                 trip bits
//   5     alarm bits                alarm bits
//   6     motor status bits         breaker status bits
//   7     ammeter A                 phase A, A
//   8     ammeter %                 phase B, A
//   9     unbalance %               phase C, A
//   10    temperature C             earth leakage x10 A
//   11    earth leakage x10 A       percent I^2t
//   12    percent I^2t              operations count
//   13    pre-trip current A        pre-trip phase A
//   14    pre-trip unbalance %      pre-trip phase B
//   15    pre-trip temperature C    pre-trip phase C
//   16    pre-trip leakage x10 A    pre-trip unbalance %
//   17    pre-trip I^2t             pre-trip leakage x10 A
//   18    -                         pre-trip I^2t

#include <cstdint>
#include <span>

#include "LogFamily.h"
#include "LogRecordValues.h"

namespace kvlink {

// The value field that record word `word` (7..18) fills in a family; null
// for a word the family does not read.
int32_t LogRecordValues::*logValueField(LogFamily family, int word);

// Decodes the family of `unitType` from `words`, which holds at least
// logRecordWordCount(family) words (false and nothing changed otherwise).
// Fields of the other family keep what they held.
bool decodeLogRecord(LogRecordValues& values, std::span<const uint16_t> words, int16_t unitType);

}  // namespace kvlink
