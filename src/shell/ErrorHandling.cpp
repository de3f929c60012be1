#include "ErrorHandling.h"

#include "Host.h"
#include "Program.h"
#include "link/UnitIo.h"

namespace kvlink {

int16_t ReadUnit(Program& program, uint16_t* buffer, int bufferWords, int16_t port, int16_t station,
                 int32_t address, int16_t count) {
  return static_cast<int16_t>(kvlink::ReadUnit(*program.link, program.linkState.UseModbus != 0,
                                               buffer, bufferWords, port, station, address, count));
}

int16_t ReadUnit(Program& program, int16_t port, int16_t station, int32_t address, int16_t count) {
  return ReadUnit(program, program.ReadBuffer.data(), int(program.ReadBuffer.size()), port, station,
                  address, count);
}

int16_t WriteUnit(Program& program, int16_t port, int16_t station, int32_t address, int32_t value) {
  const int code =
      WriteUnitCall(*program.link, program.linkState.UseModbus != 0, port, station, address, value);
  if (code != 0) MsgBox(program.host, QString::fromStdString(writeErrorText(code)), vbOKOnly);
  return static_cast<int16_t>(code);
}

int32_t registerAddress(const Program& program, int reg) {
  return program.linkState.UseModbus != 0 ? reg : 256 + 2 * reg;
}

}  // namespace kvlink
