#pragma once
// Serial port numbers (COM1..COM4) and baud codes (baud / 100) as the program names them.

#include <string>

namespace kvlink {

inline constexpr int kFirstComPort = 1;
inline constexpr int kLastComPort = 4;

// Device of COMn: $KVLINK_COMn when set and not empty, else /dev/ttyS<n-1>.
// Empty for a port number outside 1..4.
std::string comDevicePath(int port);

// 12, 24, 48, 96 -> 1200, 2400, 4800, 9600 baud; 0 for any other code.
int baudFromCode(int baudcode);

}  // namespace kvlink
