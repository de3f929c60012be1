#pragma once
// The record viewer's field list: one line per field, the field name
// directly followed by the value (and, on the three status lines, the status
// text with its own leading blank), each line ended by CR alone. Motor types
// 0 and 2 list 14 fields, types 1 and 4 list 15, with type 4's own names for
// ground leakage, thermal use and the operation counter.

#include <cstdint>
#include <optional>
#include <string>

#include "LogRecordValues.h"

namespace kvlink {

// Nothing for a unit type other than 0, 1, 2 and 4.
std::optional<std::string> logFieldListText(const LogRecordValues& values, int16_t unitType);

}  // namespace kvlink
