#include "LogSaveChoice.h"

#include <algorithm>

#include "LoggerRegisters.h"

namespace kvlink {

std::optional<int> logSaveCount(LogSaveChoice choice, int counter, int chosen) {
  switch (choice) {
    case LogSaveChoice::AllLogged:
      if (counter <= 0) return std::nullopt;
      return std::min(counter, kLogRecordSlots);
    case LogSaveChoice::Only:
      return std::clamp(chosen, 1, kLogRecordSlots);
    case LogSaveChoice::All250:
      break;
  }
  return kLogRecordSlots;
}

int logSaveProgressMaximum(int count) {
  return count <= 1 ? 1 : count - 1;
}

}  // namespace kvlink
