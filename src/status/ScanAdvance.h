#pragma once
// The move of the network scan to its next station: 63 is followed by 1
// (which ends the first pass), and with the drop option a station whose
// cell was taken off the grid is skipped.

#include <cstdint>
#include <functional>
#include <optional>

namespace kvlink {

struct ScanPosition {
  int16_t station = 1;  // 1 to 63
  bool firstPassDone = false;
};

// The position after `from`; nullopt when the drop option skips every one of
// the 63 stations (no cell is left on the grid).
std::optional<ScanPosition> nextScanPosition(ScanPosition from, bool dropOption,
                                             const std::function<bool(int16_t)>& stationShown);

}  // namespace kvlink
