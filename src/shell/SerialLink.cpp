#include "SerialLink.h"

#include "Program.h"
#include "link/LinkLibrary.h"

namespace kvlink {

int OpenLink(Program& program) {
  LinkState& state = program.linkState;
  if (state.linkOpen) return 0;
  LinkLibrary& link = *program.link;
  const bool modbus = state.UseModbus != 0;
  const int16_t port = state.CommPort;

  int rc = modbus ? link.CommOpen(port, state.BaudCode) : link.abCommOpen(port, state.BaudCode);
  if (rc != 0) return rc;
  rc = modbus ? link.SetRetry(kLinkRetryCount) : link.abSetRetry(kLinkRetryCount);
  if (rc == 0 && !modbus) rc = link.abSetCheckMode(state.CheckMode);
  if (rc != 0) {
    // A link without its retry count or error check would fail every read.
    modbus ? link.CommClose(port) : link.abCommClose(port);
    return rc;
  }
  state.linkOpen = true;
  state.openPort = port;
  state.openModbus = modbus;
  return 0;
}

int CloseLink(Program& program) {
  LinkState& state = program.linkState;
  if (!state.linkOpen) return 0;
  state.linkOpen = false;
  LinkLibrary& link = *program.link;
  return state.openModbus ? link.CommClose(state.openPort) : link.abCommClose(state.openPort);
}

bool LinkIsOpen(const Program& program) {
  return program.linkState.linkOpen;
}

}  // namespace kvlink
