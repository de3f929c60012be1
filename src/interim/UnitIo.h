#pragma once
#include <string>
#include "LinkLibrary.h"
namespace kvlink {
inline int ReadUnit(LinkLibrary&, bool, uint16_t*, int, int, int, int, int){return 36;}
// Interim: the write goes to the link library the protocol chooses.
inline int WriteUnitCall(LinkLibrary& link, bool modbus, int port, int station, int32_t address, int32_t value){
  return modbus ? link.WriteInfo(port, station, address, value) : link.abWriteInfo(port, station, address, value);}
inline std::string writeErrorText(int code){return "Write Error " + std::to_string(code) + ":Undefined error";}
}
