#pragma once
// The queued commands in the order the poll writes them, each with the code
// it writes to the command register.

#include <array>
#include <cstdint>

#include "ProgramState.h"

namespace kvlink {

struct CommandCode {
  bool CommandRequests::*flag;
  int16_t code;
};

inline constexpr std::array<CommandCode, 7> kCommandWriteOrder = {{
    {&CommandRequests::PendingTripReset, 1},
    {&CommandRequests::PendingAlarmLatchReset, 2},
    {&CommandRequests::PendingEmergencyThermalReset, 4},
    {&CommandRequests::PendingClearPeak, 3},
    {&CommandRequests::PendingReEnableTemp, 5},
    {&CommandRequests::PendingRemoteStart, 7},
    {&CommandRequests::PendingRemoteTrip, 8},
}};

}  // namespace kvlink
