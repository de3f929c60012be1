#pragma once
// The link and station one poll pass works on, taken once when the pass
// starts. Handlers that run in the pass's event pumps may switch the station
// or the link; the pass keeps reading the station it started with, and tells
// from here whether it may still write to it.

#include <cstdint>

namespace kvlink {

class Program;

struct PassTarget {
  int16_t port = 1;
  int16_t station = 1;
  bool useModbus = false;
  int16_t commEnabled = 0;
  uint32_t linkChanges = 0;
  uint32_t stationChanges = 0;

  static PassTarget capture(const Program& program);

  // The link is still the one the pass started on, and the main window is
  // still there: the pass may go on.
  bool linkUnchanged(const Program& program) const;
  // ... and the selected station is still the pass's, not changed even for a
  // moment: commands may be sent and what was read may be shown.
  bool stationUnchanged(const Program& program) const;
};

// Runs the event pump once; true when the pass may go on afterwards.
bool pumpEvents(Program& program, const PassTarget& target);

}  // namespace kvlink
