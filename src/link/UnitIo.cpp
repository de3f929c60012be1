#include "link/UnitIo.h"

#include "link/LinkErrors.h"

namespace kvlink {

int ReadUnit(LinkLibrary& link, bool useModbus, uint16_t* buffer, int bufferWords, int port,
             int station, int address, int count) {
  return useModbus ? link.rvx_ReadInfo(buffer, bufferWords, port, station, address, count)
                   : link.abrvx_ReadInfo(buffer, bufferWords, port, station, address, count);
}

int WriteUnitCall(LinkLibrary& link, bool useModbus, int port, int station, int32_t address,
                  int32_t value) {
  return useModbus ? link.WriteInfo(port, station, address, value)
                   : link.abWriteInfo(port, station, address, value);
}

std::string writeErrorText(int code) {
  return "Write Error " + std::to_string(code) + ":" + linkCodeText(code);
}

}  // namespace kvlink
