#include "link/ComDevice.h"

#include <array>
#include <cstdlib>

namespace kvlink {

std::string comDevicePath(int port) {
  if (port < kFirstComPort || port > kLastComPort) return {};
  const std::string variable = "KVLINK_COM" + std::to_string(port);
  if (const char* value = std::getenv(variable.c_str()); value != nullptr && *value != '\0') {
    return value;
  }
  return "/dev/ttyS" + std::to_string(port - 1);
}

int baudFromCode(int baudcode) {
  constexpr std::array<int, 4> kCodes{12, 24, 48, 96};
  for (int code : kCodes) {
    if (code == baudcode) return code * 100;
  }
  return 0;
}

}  // namespace kvlink
