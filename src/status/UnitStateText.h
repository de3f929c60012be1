#pragma once
// The words for a unit's state, as the Network Summary and the main window
// show them: the run state of a motor unit or the breaker state of a feeder
// unit from its status word (register 42), the unit type abbreviation, and
// the whole status line of a scanned station.

#include <cstdint>
#include <string>

namespace kvlink {

// "STOPPED", "STARTING" or "RUNNING" for the motor family (types 0 and 2),
// "OPEN" or "CLOSED" for the feeder family (types 1 and 4); "" for a status
// word without a text and for a type that was not identified.
const char* unitStateText(int unitType, uint16_t motorStatusWord);

// "RVX", "GLT", "CCU" or "CPR" for types 0, 1, 2 and 4; "" otherwise.
const char* unitTypeAbbreviation(int unitType);

// "TRIPS " when the trip word is not 0, then "ALARMS " when the alarm word is
// not 0, then the state text.
std::string scanStatusText(int unitType, uint16_t tripStatus, uint16_t alarmStatus,
                           uint16_t motorStatusWord);

}  // namespace kvlink
