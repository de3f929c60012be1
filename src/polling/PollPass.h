#pragma once
// One poll pass of the selected station, run by every tick of the main
// window's Timer1. The pass knows no data window's controls: it calls every
// registered WindowKind, in registration order:
//   beginPass            when the pass starts (disable what must not be used
//                        while the pass waits in an event pump; a window that
//                        shows the read's hourglass sets it here)
//   showStationName      with the station's name from the settings file
//   resetPointers        at the end of the station read, on every way out
//   syncToUnitType       answered pass: move to the variant of UnitType
//   refresh              answered pass: show the polled values
//   closeAll(NoResponse) after more than five unanswered passes in a row
//   endPass              on every way out of the pass, errors included
// A tick that arrives while a pass runs (in an event pump or under a message
// box) does nothing.

#include <QString>
#include <cstdint>

namespace kvlink {

class Program;
struct PassTarget;

// Passes in a row without an answer after which the data windows close.
constexpr int kNoResponsePassesBeforeClose = 5;

void PollCurrentStation(Program& program);

// Keeps every open window kind on the variant of the current UnitType.
void SyncWindowsToUnitType(Program& program);

// Writes the queued commands to the target station's command register, in
// their fixed order, each flag cleared before its write; a failed write is
// not repeated. Stops, leaving the rest queued, as soon as the selected
// station or the link is no longer the target.
void WritePendingCommands(Program& program, const PassTarget& target);

// The station's name as the settings file keeps it ([Station] "station<n>").
QString stationName(int16_t station);

}  // namespace kvlink
