#pragma once
// Interim until the link lands: the calls go to the link library unchanged.
#include <string>

#include "LinkLibrary.h"
namespace kvlink {
inline int ReadUnit(LinkLibrary& link, bool useModbus, uint16_t* buffer, int words, int port,
                    int station, int address, int count) {
  return useModbus ? link.rvx_ReadInfo(buffer, words, port, station, address, count)
                   : link.abrvx_ReadInfo(buffer, words, port, station, address, count);
}
inline int WriteUnitCall(LinkLibrary& link, bool useModbus, int port, int station, int32_t address,
                         int32_t value) {
  return useModbus ? link.WriteInfo(port, station, address, value)
                   : link.abWriteInfo(port, station, address, value);
}
inline std::string writeErrorText(int code) {
  return "Write Error " + std::to_string(code) + ":Undefined error";
}
}  // namespace kvlink
