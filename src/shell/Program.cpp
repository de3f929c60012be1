#include "Program.h"

#include "Form1.h"
#include "Host.h"

namespace kvlink {

Program::Program(Host& hostRef, std::unique_ptr<LinkLibrary> linkLibrary)
    : host(hostRef), link(std::move(linkLibrary)) {
  Form1.setFactory([this] { return std::make_unique<kvlink::Form1>(*this); });
}

Program::~Program() {
  windowKinds_.clear();
  modules_.clear();
}

void Program::selectStation(int16_t station) {
  if (station != linkState.CurrentStation) {
    poll.setPointsReadFrom = 0;
  }
  linkState.CurrentStation = station;
  commands.dropAll();
}

void Program::unloadAll() {
  for (auto it = windowKinds_.rbegin(); it != windowKinds_.rend(); ++it)
    (*it)->closeAll(CloseReason::LinkDisabled);
  Form9.Unload();
  Form16.Unload();
  frmSplash.Unload();
  Form1.Unload();
}

}  // namespace kvlink
