#pragma once
// Module LoggingCode: reading one logger record into the decoded log record
// that the record viewer, Save Records and the auto-retrieve step share, and
// reading the record counter.

#include <cstdint>

#include "LogRecordValues.h"
#include "LoggerSettings.h"
#include "Program.h"

namespace kvlink {

// The data logger's shared state, one per program.
class LoggingCode : public Module {
 public:
  LogRecordValues record;  // the decoded log record
  // The logger settings, registers 132 to 138, as last loaded or sent; the
  // record viewer also keeps register 138 (LogRecordCounter) here.
  LoggerSettings settings;
  // The unit type the record viewer decodes the current station's records
  // by, fixed when the viewer opens (ViewedUnitType).
  int16_t viewedUnitType = kUnitTypeUnknown;
};

// The program's LoggingCode, added on first use.
LoggingCode& loggingCode(Program& program);

// The unit type of `station` as its identification word (register 39) gives
// it now, or kUnitTypeUnknown when it does not answer. On DF1 the read
// control code goes first, as before every read of a station.
int16_t ReadUnitTypeOf(Program& program, int16_t station);

// The unit type by which the current station's records are decoded: the
// poll's, when the poll has read this station since it became current; else
// read from the unit now (a station chosen while the poll was held).
int16_t ViewedUnitType(Program& program);

// Reads record `record` (0..249, 0 the newest) of the current station under
// the unit type the viewer opened with (viewedUnitType), and decodes it into the
// shared record. 0 when read and decoded; otherwise the link's failure code,
// and nothing is changed. A number outside the record area is refused with
// 37 (invalid address) without a read. No control code is sent first.
int16_t ReadLogRecord(Program& program, int16_t record);
// The same for a given station and unit type (the auto-retrieve step).
int16_t ReadLogRecordAt(Program& program, int16_t record, int16_t unitType, int16_t station);

// Reads the record counter (register 138) of a station: 0 and the counter,
// or the link's failure code.
struct RecordCounterRead {
  int16_t result = 0;
  uint16_t counter = 0;
};
RecordCounterRead ReadRecordCounter(Program& program, int16_t station);

}  // namespace kvlink
