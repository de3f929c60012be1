#include "StationBlocks.h"

#include "ProgramState.h"

namespace kvlink {

int16_t unitTypeFromIdWord(uint16_t idWord) {
  const int code = idWord >> 8;
  return isKnownUnitType(code) ? static_cast<int16_t>(code) : kUnitTypeUnknown;
}

}  // namespace kvlink
