#include "ScanAdvance.h"

namespace kvlink {

namespace {
constexpr int16_t kLastStation = 63;
}

std::optional<ScanPosition> nextScanPosition(ScanPosition from, bool dropOption,
                                             const std::function<bool(int16_t)>& stationShown) {
  ScanPosition next = from;
  for (int tries = 0; tries < kLastStation; ++tries) {
    ++next.station;
    if (next.station > kLastStation) {
      next.station = 1;
      next.firstPassDone = true;
    }
    if (!dropOption || stationShown(next.station)) return next;
  }
  return std::nullopt;
}

}  // namespace kvlink
