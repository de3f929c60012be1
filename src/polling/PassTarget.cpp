#include "PassTarget.h"

#include "Host.h"
#include "Program.h"

namespace kvlink {

PassTarget PassTarget::capture(const Program& program) {
  const LinkState& link = program.linkState;
  return {link.CommPort,    link.CurrentStation, link.UseModbus != 0,
          link.CommEnabled, link.linkChanges,    link.stationChanges};
}

bool PassTarget::linkUnchanged(const Program& program) const {
  const LinkState& link = program.linkState;
  return link.CommPort == port && (link.UseModbus != 0) == useModbus &&
         link.CommEnabled == commEnabled && link.linkChanges == linkChanges &&
         program.Form1.loaded();
}

bool PassTarget::stationUnchanged(const Program& program) const {
  return linkUnchanged(program) && program.linkState.CurrentStation == station &&
         program.linkState.stationChanges == stationChanges;
}

bool pumpEvents(Program& program, const PassTarget& target) {
  program.host.doEvents();
  return target.linkUnchanged(program);
}

}  // namespace kvlink
