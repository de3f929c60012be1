#include "StationRead.h"

#include <algorithm>
#include <array>

#include "ErrorHandling.h"
#include "Form1.h"
#include "PolledValueTables.h"
#include "Program.h"

namespace kvlink {

namespace {

template <size_t N>
using Words = std::array<uint16_t, N>;

// Reads a block into ReadBuffer and copies the answer out at once, so that a
// handler that reads the unit during a later event pump cannot change it.
template <size_t N>
bool readBlock(Program& program, const PassTarget& target, int16_t station,
               const RegisterBlock& block, Words<N>& answer) {
  static_assert(N <= kReadBufferEntries);
  const int16_t code =
      ReadUnit(program, target.port, station, linkAddress(block.firstRegister, target.useModbus),
               linkCount(block, target.useModbus));
  if (code != 0) return false;
  std::copy_n(program.ReadBuffer.begin(), N, answer.begin());
  return true;
}

void sendReadControl(Program& program, const PassTarget& target) {
  if (!target.useModbus) program.link->abSendControl(target.port, kDf1ReadControlCode);
}

// The station read's last step, on every way out.
struct PointerReset {
  Program& program;
  ~PointerReset() {
    program.pointer.setApplicationPointer(vbDefault);
    if (program.ended) return;  // nothing is created again after the program end
    const auto& kinds = program.windowKinds();
    for (size_t i = 0; i < kinds.size(); ++i) kinds[i]->resetPointers();
  }
};

enum class Step { Done, NotAnswered, Abandoned };

Step readSelectedStation(Program& program, const PassTarget& target) {
  PollState& poll = program.poll;

  sendReadControl(program, target);
  Words<kMeterBlock.words> meter{};
  if (!readBlock(program, target, target.station, kMeterBlock, meter)) return Step::NotAnswered;
  if (!pumpEvents(program, target)) return Step::Abandoned;

  const uint16_t idWord = meter[kMeterBlockIdWord];
  poll.UnitType = unitTypeFromIdWord(idWord);
  if (poll.UnitType == kUnitTypeUnknown) return Step::NotAnswered;
  Form1::setMenuVisible(program.Form1().mnuDataLogging, hasDataLogger(idWord));
  storeWords(poll.values, meterTableFor(poll.UnitType), meter);

  if (!pumpEvents(program, target)) return Step::Abandoned;
  sendReadControl(program, target);
  Words<kSetPointBlock.words> setPoints{};
  if (!readBlock(program, target, target.station, kSetPointBlock, setPoints))
    return Step::NotAnswered;
  storeWords(poll.values, setPointTableFor(poll.UnitType), setPoints);
  poll.setPointsReadFrom = target.station;
  return Step::Done;
}

// The scan station's identification and status words; false when it did
// not answer or its type is not one of ours.
bool readScanStation(Program& program, const PassTarget& target) {
  PollState& poll = program.poll;
  Words<kScanBlock.words> scan{};
  if (!readBlock(program, target, poll.ScanStation, kScanBlock, scan)) return false;
  poll.scan.ScanUnitType = unitTypeFromIdWord(scan[kScanBlockIdWord]);
  if (poll.scan.ScanUnitType == kUnitTypeUnknown) return false;
  poll.scan.ScanTripStatus = scan[1];
  poll.scan.ScanAlarmStatus = scan[2];
  poll.scan.ScanMotorStatus = scan[3];
  return true;
}

}  // namespace

StationReadResult PollSelectedStation(Program& program, const PassTarget& target) {
  PointerReset pointerReset{program};
  StationReadResult result;
  switch (readSelectedStation(program, target)) {
    case Step::Abandoned:
      result.abandoned = true;
      return result;
    case Step::NotAnswered:
      result.flags |= kStationNotAnswered;
      break;
    case Step::Done:
      break;
  }
  if (program.poll.ScanActive == 1 && !readScanStation(program, target))
    result.flags |= kScanNotAnswered;
  return result;
}

}  // namespace kvlink
