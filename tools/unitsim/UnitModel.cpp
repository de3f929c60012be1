#include "UnitModel.h"

#include <algorithm>

#include "SetPointRanges.h"
#include "UnitDefaults.h"

namespace kvlink::sim {
namespace {

constexpr int kEtrWarningSeconds = 10;
constexpr std::array<int, 6> kMotorPreTrip{24, 28, 29, 30, 31, -1};   // into 32..36
constexpr std::array<int, 6> kFeederPreTrip{24, 25, 26, 27, 28, 29};  // into 30..35

}  // namespace

UnitModel::UnitModel(int unitType, bool logger, uint32_t seed, UnitClock clock)
    : type_(unitType), clock_(clock), rng_(seed) {
  for (const RegisterValue& rv : unitDefaults(unitType)) {
    regs_[rv.reg] = static_cast<uint16_t>(rv.value);
  }
  regs_[kIdWord] = static_cast<uint16_t>(unitType << 8 | (logger ? kLoggerPresent : 0));
  regs_[kSampleInterval] = 60;
  regs_[kTriggerDuration] = 10;
  regs_[kLoggerControl] = kLogTimeAndEvents | kLogClockEnabled;
  regs_[kTripMask] = 0x01FF;
  regs_[kAlarmMask] = 0x03FF;
  regs_[kStatusMask] = 0x0007;
  nominal_ = regs_;
  refreshClock();
}

uint16_t UnitModel::get(int reg) const {
  return reg >= 0 && reg < kRegisterCount ? regs_[reg] : 0;
}

void UnitModel::set(int reg, uint16_t value) {
  if (reg < 0 || reg >= kRegisterCount) return;
  regs_[reg] = value;
  nominal_[reg] = value;
}

int UnitModel::read(int reg, int count, std::span<uint16_t> out) const {
  if (onAccess) onAccess("read", reg, count);
  if (reg < 0 || count < 0 || reg + count > kRegisterCount || out.size() < size_t(count)) {
    return kIllegalAddress;
  }
  std::copy_n(regs_.begin() + reg, count, out.begin());
  return 0;
}

int UnitModel::write(int reg, uint16_t value) {
  if (onAccess) onAccess("write", reg, value);
  if (reg >= kSetPointFirst && reg <= kSetPointLast) {
    if (!setPointTaken(type_, reg, value)) return kIllegalValue;
    regs_[reg] = value;
    return 0;
  }
  if (reg >= kClockFirst && reg < kClockFirst + 4) {
    if (!clock_.setWord(reg - kClockFirst, value)) return kIllegalValue;
    refreshClock();
    return 0;
  }
  switch (reg) {
    case kCommandRegister:
      ++commandsRun_;
      return runCommand(value);
    case kSampleInterval:
      if (value == 0) return kIllegalValue;
      break;
    case kTriggerDuration:
      if (value > 249) return kIllegalValue;
      break;
    case kLoggerControl:
      if ((value & kLogResetCounter) != 0) {
        regs_[kRecordCounter] = 0;
        value &= static_cast<uint16_t>(~kLogResetCounter);
      }
      break;
    case kTripMask:
    case kAlarmMask:
    case kStatusMask:
      break;
    default:
      return kIllegalAddress;
  }
  regs_[reg] = value;
  return 0;
}

int UnitModel::runCommand(uint16_t code) {
  switch (code) {
    case kCmdTripReset:
      regs_[kTripWord] = 0;
      return 0;
    case kCmdAlarmLatchReset:
      regs_[kAlarmWord] = 0;
      return 0;
    case kCmdClearPeak:
      if (motorFamily()) regs_[26] = regs_[24];
      return 0;
    case kCmdEmergencyThermalReset:
      regs_[kStatusWord] |= kStatusEtr;
      etrSecondsLeft_ = kEtrWarningSeconds;
      if (motorFamily()) {
        regs_[38] = regs_[31];
        regs_[31] = 0;
      } else {
        regs_[29] = 0;
      }
      return 0;
    case kCmdReEnableTemp:
      return 0;
    case kCmdRemoteStart:
      if (type_ == 0) return kIllegalValue;
      regs_[kStatusWord] =
          static_cast<uint16_t>((regs_[kStatusWord] & kStatusEtr) | kStatusRunning |
                                (motorFamily() ? 0 : kFeederLoadAbove10));
      return 0;
    case kCmdRemoteTrip:
      if (type_ == 0) return kIllegalValue;
      capturePreTrip();
      regs_[kTripWord] |= kTripRemote;
      regs_[kStatusWord] &= kStatusEtr;
      if ((regs_[kLoggerControl] & (kLogTimeAndEvents | kLogEventsOnly)) != 0 &&
          (regs_[kTripMask] & kTripRemote) != 0) {
        logRecord();
      }
      return 0;
    default:
      return kIllegalValue;
  }
}

void UnitModel::capturePreTrip() {
  const auto& sources = motorFamily() ? kMotorPreTrip : kFeederPreTrip;
  const int first = motorFamily() ? 32 : 30;
  for (size_t i = 0; i < sources.size(); ++i) {
    if (sources[i] >= 0) regs_[first + i] = regs_[sources[i]];
  }
}

void UnitModel::refreshClock() {
  for (int i = 0; i < 4; ++i) regs_[kClockFirst + i] = clock_.word(i);
}

void UnitModel::moveMeters() {
  for (const MeterMotion& m : meterMotion(type_)) {
    if (m.followsLoad && !running()) {
      regs_[m.reg] = 0;
      continue;
    }
    const int nominal = nominal_[m.reg];
    int value = regs_[m.reg] == 0 ? nominal : regs_[m.reg] + static_cast<int>(rng_() % 3) - 1;
    value = std::clamp(value, std::max(0, nominal - m.spread), nominal + m.spread);
    regs_[m.reg] = static_cast<uint16_t>(value);
  }
  if (motorFamily()) regs_[26] = std::max(regs_[26], regs_[24]);
}

void UnitModel::tick() {
  if ((regs_[kLoggerControl] & kLogClockEnabled) != 0) {
    clock_.tick();
    refreshClock();
  }
  if (etrSecondsLeft_ > 0 && --etrSecondsLeft_ == 0) {
    regs_[kStatusWord] &= static_cast<uint16_t>(~kStatusEtr);
  }
  if (!metersHeld_) moveMeters();
  if ((regs_[kLoggerControl] & kLogTimeAndEvents) != 0 && regs_[kSampleInterval] > 0 &&
      ++secondsSinceSample_ >= regs_[kSampleInterval]) {
    secondsSinceSample_ = 0;
    logRecord();
  }
}

void UnitModel::logRecord() {
  // Record 0 is the newest: every older record moves one place up, and the
  // oldest of a full area is lost.
  uint16_t* area = &regs_[kRecordBase];
  std::copy_backward(area, area + kRecordWords * (kRecordSlots - 1),
                     area + kRecordWords * kRecordSlots);
  uint16_t* record = area;
  std::fill_n(record, kRecordWords, 0);
  for (int i = 0; i < 4; ++i) record[i] = regs_[kClockFirst + i];
  record[4] = regs_[kTripWord];
  record[5] = regs_[kAlarmWord];
  record[6] = regs_[kStatusWord];
  int word = 7;
  for (int source : recordSources(type_)) record[word++] = regs_[source];
  if (regs_[kRecordCounter] < 0xFFFF) ++regs_[kRecordCounter];
  if (journalOn_) journal_.emplace_back(record, record + kRecordWords);
}

}  // namespace kvlink::sim
