#pragma once
// The quick configuration's rows: for each set point of a family, the
// [SetPoints] key it comes from, the progress text shown while it is sent,
// the register it goes to and what of the read-back word is compared. Rows
// are in the order they are written: register order, with FLA (register 12)
// last in both families.

#include <cstdint>
#include <span>

#include "ConFileFormat.h"

namespace kvlink {

inline constexpr uint16_t kCompareWholeWord = 0xFFFF;
// Program-mode word 2: only the relay fail-safe bits (4 and 8) are compared.
inline constexpr uint16_t kCompareRelayModeBits = 12;

struct DownloadRow {
  const char* key;
  const char* progress;  // "Attempting I2t Trip:"
  int reg;
  uint16_t compareMask;
};

// 18 rows for the motor family, 15 for the feeder family.
std::span<const DownloadRow> downloadRows(UnitFamily family);

}  // namespace kvlink
