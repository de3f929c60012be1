#include "Program.h"

#include "Form1.h"
#include "Form16.h"
#include "Form9.h"
#include "Help.h"
#include "Host.h"
#include "Vercode.h"
#include "frmSplash.h"

namespace kvlink {

Program::Program(Host& hostRef, std::unique_ptr<LinkLibrary> linkLibrary)
    : host(hostRef), link(std::move(linkLibrary)) {
  Form1.setFactory([this] { return std::make_unique<kvlink::Form1>(*this); });
  Form9.setFactory([this] { return std::make_unique<kvlink::Form9>(*this); });
  Form16.setFactory([this] { return std::make_unique<kvlink::Form16>(*this); });
  frmSplash.setFactory([this] { return std::make_unique<kvlink::frmSplash>(*this); });
  frmUnitId.setFactory([this] { return std::make_unique<kvlink::frmUnitId>(*this); });
  frmAbout.setFactory([this] { return std::make_unique<kvlink::frmAbout>(*this); });
  HelpWindow.setFactory([this] { return std::make_unique<kvlink::HelpWindow>(*this); });
  host.setInputContext(
      [this] { return uint64_t(linkState.linkChanges) << 32 | linkState.stationChanges; });
}

Program::~Program() {
  host.setInputContext(nullptr);
  windowKinds_.clear();
  modules_.clear();
}

void Program::selectStation(int16_t station) {
  const bool change = station != linkState.CurrentStation;
  linkState.CurrentStation = station;
  commands.dropAll();
  if (change) forgetStation();
}

void Program::linkChanged() {
  ++linkState.linkChanges;
  forgetStation();
}

void Program::forgetStation() {
  ++linkState.stationChanges;
  commands.dropAll();
  poll.setPointsReadFrom = 0;
  for (WindowKind* kind : windowKinds_) kind->forgetStation();
}

bool Program::pumpKeepsStation() {
  const uint32_t before = linkState.stationChanges;
  host.doEvents();
  return linkState.stationChanges == before;
}

void Program::unloadAll() {
  for (auto it = windowKinds_.rbegin(); it != windowKinds_.rend(); ++it)
    (*it)->closeAll(CloseReason::LinkDisabled);
  for (auto it = modules_.rbegin(); it != modules_.rend(); ++it) (*it)->unloadWindows();
  frmUnitId.Unload();
  frmAbout.Unload();
  HelpWindow.Unload();
  Form9.Unload();
  Form16.Unload();
  frmSplash.Unload();
  Form1.Unload();
}

}  // namespace kvlink
