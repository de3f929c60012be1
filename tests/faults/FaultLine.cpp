#include "FaultLine.h"

#include <QCoreApplication>
#include <cstdlib>
#include <map>

#include "Install.h"
#include "SerialLink.h"
#include "link/Df1Frame.h"
#include "link/LinkErrors.h"
#include "link/LinkTiming.h"
#include "link/SerialLinkLibrary.h"
#include "platform/Profile.h"

namespace kvlink::test {

using namespace std::chrono_literals;

namespace {

constexpr int kBaud = 9600;
constexpr int16_t kPort = 1;

}  // namespace

const char* protocolName(sim::Protocol protocol) {
  for (const auto& p : kProtocols) {
    if (p.protocol == protocol) return p.name;
  }
  return "?";
}

const char* faultName(LineFault fault) {
  for (const auto& f : kLineFaults) {
    if (f.fault == fault) return f.name;
  }
  return "?";
}

int expectedCode(LineFault fault, sim::Protocol protocol) {
  switch (fault) {
    case LineFault::Exception:
      // The simulator's defaults: Modbus exception 02, DF1 STS 0x10.
      return protocol == sim::Protocol::Modbus ? kInvalidValue : kIllegalCommand;
    case LineFault::Vanish:
      return kPortFailed;
    default:
      return kNoAnswer;
  }
}

FaultLine::FaultLine(sim::Protocol protocol, const std::vector<std::pair<int, int>>& stations,
                     bool moving)
    : protocol_(protocol) {
  if (!dir_.isValid()) return;
  setenv("KVLINK_WINDIR", dir_.path().toLocal8Bit().constData(), 1);
  setenv("XDG_RUNTIME_DIR", dir_.path().toLocal8Bit().constData(), 1);
  // No passwords set, so that every editor window opens.
  WriteIni("misc", "kesf", "-", "gridmon.ini");
  WriteIni("misc", "gene", "-", "gridmon.ini");
  sim_ = std::make_unique<sim::UnitSimulator>(
      sim::SimOptions{protocol, kBaud, false, dir_.filePath("line").toStdString()});
  for (const auto& [station, type] : stations) sim_->addStation(station, type);
  sim_->setFrozen(!moving);
  started_ = sim_->start();
  setenv("KVLINK_COM1", sim_->devicePath().c_str(), 1);
  program_ = std::make_unique<Program>(host_, std::make_unique<SerialLinkLibrary>());
  installSubsystems(*program_);
}

FaultLine::~FaultLine() {
  if (program_) {
    CloseLink(*program_);
    program_->unloadAll();
    program_.reset();
  }
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  sim_.reset();
  unsetenv("KVLINK_COM1");
  unsetenv("KVLINK_WINDIR");
  unsetenv("XDG_RUNTIME_DIR");
}

int FaultLine::openLink() {
  LinkState& link = program_->linkState;
  link.CommPort = kPort;
  link.BaudCode = kBaud / 100;
  link.UseModbus = modbus() ? 1 : 0;
  link.CheckMode = protocol_ == sim::Protocol::Df1Bcc ? 1 : 0;
  return OpenLink(*program_);
}

void FaultLine::inject(LineFault fault, int station, bool forWrite) {
  static const std::map<LineFault, sim::FaultKind> kSimulated = {
      {LineFault::Silent, sim::FaultKind::Silent},
      {LineFault::BadCheck, sim::FaultKind::BadCheck},
      {LineFault::Truncated, sim::FaultKind::Truncated},
      {LineFault::Garbage, sim::FaultKind::Garbage},
      {LineFault::Late, sim::FaultKind::Late},
      {LineFault::WrongStation, sim::FaultKind::WrongStation},
      {LineFault::Exception, sim::FaultKind::Exception},
  };
  if (fault == LineFault::Vanish) {
    sim_->vanish();
    return;
  }
  sim::Fault f;
  f.kind = kSimulated.at(fault);
  // A late reply, Modbus: just after the master gave up an attempt, into its
  // quiet wait before the retry (which alone may take it). DF1: after the first
  // attempt's wait, the ACK at once: only the retry (same transaction) may take it.
  if (fault == LineFault::Late) {
    f.late = modbus() ? giveUpTime(forWrite) + 5ms
                      : (kShellRetryCount + 1) * giveUpTime(forWrite) + 20ms;
  }
  sim_->setFault(station, f);
}

void FaultLine::clear(LineFault fault, int station) {
  if (fault == LineFault::Vanish) {
    sim_->restore();
    return;
  }
  sim_->clearFault(station);
}

std::chrono::milliseconds FaultLine::giveUpTime(bool write) const {
  using std::chrono::duration_cast;
  using std::chrono::milliseconds;
  const LinkTiming timing;
  if (modbus()) {
    return duration_cast<milliseconds>(modbusTimeout(kBaud, 8, write ? 8 : 43, timing));
  }
  const Df1Check check = protocol_ == sim::Protocol::Df1Bcc ? Df1Check::Bcc : Df1Check::Crc;
  return duration_cast<milliseconds>(
      df1Timeout(kBaud, df1FrameBytes(write ? 10 : 9, check), 2, timing) +
      df1Timeout(kBaud, 2, 2, timing));
}

}  // namespace kvlink::test
