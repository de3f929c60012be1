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
};

// The program's LoggingCode, added on first use.
LoggingCode& loggingCode(Program& program);

// Reads record `record` (0..249, 0 the newest) of the current station under
// the unit type the poll last detected (UnitType), and decodes it into the
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
