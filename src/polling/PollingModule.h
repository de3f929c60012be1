#pragma once
// The poll's place in the program: what other subsystems plug into the pass.

#include <functional>

#include "Program.h"

namespace kvlink {

class PollingModule : public Module {
 public:
  // The Network Summary's scan step, run once per pass while ScanActive is 1,
  // after ScanStationFailed has been set from the scan read.
  std::function<void()> networkSummaryStep;
  // The data logger's auto-retrieve step, run once at the end of every pass
  // that reached the station. Until it is set the pass empties the main
  // window's auto-retrieve line (Label12).
  std::function<void()> autoRetrieveStep;
};

}  // namespace kvlink
