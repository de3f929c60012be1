#pragma once
// Interim unit I/O until the link lands: the calls go on unchanged to the
// library that UseModbus chooses, so that a test's own LinkLibrary answers.
#include <string>

#include "LinkLibrary.h"
namespace kvlink {
inline int ReadUnit(LinkLibrary& link, bool useModbus, uint16_t* buffer, int bufferWords, int port,
                    int station, int address, int count) {
  return useModbus ? link.rvx_ReadInfo(buffer, bufferWords, port, station, address, count)
                   : link.abrvx_ReadInfo(buffer, bufferWords, port, station, address, count);
}
inline int WriteUnitCall(LinkLibrary& link, bool useModbus, int port, int station, int32_t address,
                         int32_t value) {
  return useModbus ? link.WriteInfo(port, station, address, value)
                   : link.abWriteInfo(port, station, address, value);
}
inline std::string writeErrorText(int code) {
  switch (code) {
    case 35:
      return "Write Error 35:Illegal Command/Format";
    case 36:
      return "Write Error 36:Information Not Available from unit";
    case 37:
      return "Write Error 37:Invalid Address, Size, or Value";
    default:
      return "Write Error " + std::to_string(code) + ":Undefined error";
  }
}
}  // namespace kvlink
