#pragma once
// The operator's choice of another station, from Select Station (Form9's OK)
// or a double-click in the Network Summary: both take the same steps.

#include <QString>
#include <cstdint>

namespace kvlink {

class Program;

// Makes `station` current (Program::selectStation: queued commands dropped,
// the old station forgotten), shows its number and `name` in the main window
// with no run state or trip/alarm text until it answers, and its name in
// every data window at once.
void switchToStation(Program& program, int16_t station, const QString& name);

}  // namespace kvlink
