#include "LoggerRegisters.h"

namespace kvlink {

std::optional<int32_t> logRecordAddress(bool modbus, int record) {
  if (record < 0 || record >= kLogRecordSlots) return std::nullopt;
  return modbus ? kLogRecordBase + kLogRecordStride * record
                : kDf1LogRecordBase + kDf1LogRecordStride * record;
}

}  // namespace kvlink
