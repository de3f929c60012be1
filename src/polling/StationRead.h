#pragma once
// The read half of every poll pass: the selected station's status/meter and
// set-point blocks, its unit type, and while a scan runs the scan station's
// identification and status words.

#include <cstdint>

#include "PassTarget.h"

namespace kvlink {

class Program;

// Result flags.
constexpr int16_t kStationNotAnswered = 1;  // either block unanswered, or type not identified
constexpr int16_t kScanNotAnswered = 2;     // scan station unanswered or not identified

struct StationReadResult {
  int16_t flags = 0;
  // The link changed or the main window went away in an event pump: the
  // pass ends without using the result.
  bool abandoned = false;
};

// Reads the target station (and the scan station) and stores what it
// answered: UnitType, the polled values of the unit's family, the "Data
// &Logging" menu visibility, the scan values, and the station whose
// set-point block was read. Each answer is copied out of ReadBuffer right
// after its read. Ends with the application pointer and every registered
// kind's pointers back to the default, on every way out.
StationReadResult PollSelectedStation(Program& program, const PassTarget& target);

}  // namespace kvlink
