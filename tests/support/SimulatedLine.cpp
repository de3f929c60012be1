#include "SimulatedLine.h"

#include "LinkSwitch.h"
#include "link/SerialLinkLibrary.h"

namespace kvlink::test {

std::string lineCaseName(const ::testing::TestParamInfo<LineCase>& info) {
  return info.param.name;
}

LinkTiming busyMachineTiming() {
  return LinkTiming{std::chrono::milliseconds(300)};
}

SimulatedLine::SimulatedLine(sim::Protocol protocol, const char* linkName)
    : protocol(protocol),
      line(std::make_unique<sim::UnitSimulator>(
          sim::SimOptions{protocol, 9600, false,
                          linkName ? settingsDir.filePath(QString::fromUtf8(linkName)).toStdString()
                                   : std::string()})) {}

SimulatedLine::~SimulatedLine() {
  endProgram();
  line.reset();
}

bool SimulatedLine::startLine() {
  line->setFrozen(true);
  return line->start();
}

std::unique_ptr<LinkLibrary> SimulatedLine::serialLink() const {
  const std::string device = line->devicePath();
  auto link = std::make_unique<SerialLinkLibrary>([device](int) { return device; });
  link->setTiming(busyMachineTiming());
  return link;
}

Program& SimulatedLine::makeProgram() {
  return makeProgram(serialLink());
}

bool SimulatedLine::openLink() {
  LinkState& link = program->linkState;
  link.CommPort = 3;
  link.BaudCode = 96;
  link.UseModbus = modbus() ? 1 : 0;
  link.CheckMode = checkMode();
  link.CommEnabled = 1;
  return SwitchLinkOn(*program);
}

}  // namespace kvlink::test
