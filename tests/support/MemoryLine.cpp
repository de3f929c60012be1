#include "MemoryLine.h"

#include <algorithm>

#include "Df1StationLine.h"
#include "UnitRegisters.h"
#include "link/LinkErrors.h"

namespace kvlink::test {

int unitRegister(bool modbus, int address, int words) {
  if (!modbus) return sim::df1Register(address, words);
  return address >= 0 && words >= 1 && address + words <= sim::kRegisterCount ? address : -1;
}

MemoryStation::MemoryStation() : regs(sim::kRegisterCount, 0) {}

MemoryStation& MemoryStation::unit(int type, bool logger) {
  regs[sim::kIdWord] = static_cast<uint16_t>(type << 8 | (logger ? sim::kLoggerPresent : 0));
  return *this;
}

MemoryStation& MemoryStation::fill(int first, int count, uint16_t start) {
  for (int i = 0; i < count; ++i) regs[first + i] = static_cast<uint16_t>(start + i);
  return *this;
}

MemoryStation& MemoryStation::setRecord(int record, const std::vector<uint16_t>& words) {
  const int first = sim::kRecordBase + sim::kRecordWords * record;
  for (size_t i = 0; i < words.size(); ++i) regs[first + i] = words[i];
  return *this;
}

MemoryStation& MemoryStation::records(int count) {
  const auto bcd = [](int n) { return (n / 10 % 10) << 4 | n % 10; };
  uint16_t* area = &regs[sim::kRecordBase];
  for (int i = 0; i < count; ++i) {
    std::copy_backward(area, area + sim::kRecordWords * (sim::kRecordSlots - 1),
                       area + sim::kRecordWords * sim::kRecordSlots);
    ++logged;
    const int k = stillAs > 0 ? stillAs : logged, t = k - clockBack;
    journal.push_back(k);
    std::vector<uint16_t> words = {0x2003, 0x1225,
                                   static_cast<uint16_t>(0x0300 | bcd(14 + t / 3600)),
                                   static_cast<uint16_t>(bcd(t / 60 % 60) << 8 | bcd(t % 60))};
    words.resize(sim::kRecordWords, static_cast<uint16_t>(k));
    setRecord(0, words);
    if (regs[sim::kRecordCounter] < 0xFFFF) ++regs[sim::kRecordCounter];
  }
  return *this;
}

int MemoryLine::CommOpen(int port, int baudcode) {
  record("open", {port, baudcode});
  return answered(openResult);
}
int MemoryLine::CommClose(int port) {
  record("close", {port});
  return answered(0);
}
int MemoryLine::SetRetry(int count) {
  record("retry", {count});
  return answered(retryResult);
}
int MemoryLine::rvx_ReadInfo(uint16_t* buffer, int bufferWords, int port, int station, int reg,
                             int count) {
  record("read", {port, station, reg, count});
  return answered(read(true, buffer, bufferWords, station, reg, count));
}
int MemoryLine::WriteInfo(int port, int station, int reg, int32_t value) {
  record("write", {port, station, reg, value});
  return answered(write(true, station, reg, value));
}
int MemoryLine::abCommOpen(int port, int baudcode) {
  record("abopen", {port, baudcode});
  return answered(openResult);
}
int MemoryLine::abCommClose(int port) {
  record("abclose", {port});
  return answered(0);
}
int MemoryLine::abSetRetry(int count) {
  record("abretry", {count});
  return answered(retryResult);
}
int MemoryLine::abSetCheckMode(int mode) {
  record("abcheck", {mode});
  return answered(checkModeResult);
}
int MemoryLine::abSendControl(int port, int code) {
  record("abcontrol", {port, code});
  return answered(0);
}
int MemoryLine::abrvx_ReadInfo(uint16_t* buffer, int bufferWords, int port, int station,
                               int address, int bytecount) {
  record("abread", {port, station, address, bytecount});
  const int result = bytecount % 2 != 0
                         ? kInvalidValue
                         : read(false, buffer, bufferWords, station, address, bytecount / 2);
  return answered(result);
}
int MemoryLine::abWriteInfo(int port, int station, int address, int32_t value) {
  record("abwrite", {port, station, address, value});
  return answered(write(false, station, address, value));
}

int MemoryLine::answered(int result) {
  if (afterCall) afterCall(calls.back());
  return result;
}

int MemoryLine::read(bool modbus, uint16_t* buffer, int bufferWords, int station, int address,
                     int words) {
  if (words < 1 || words > bufferWords) return kInvalidValue;  // the library's own check
  auto found = stations.find(station);
  if (found == stations.end() || found->second.silent) return kNoAnswer;
  const MemoryStation& unit = found->second;
  const int reg = unitRegister(modbus, address, words);
  if (reg < 0) return kInvalidValue;
  for (int r = reg; r < reg + words; ++r)
    if (unit.readFails.count(r)) return kNoAnswer;
  for (int i = 0; i < words; ++i) buffer[i] = unit.regs[reg + i];
  return kLinkOk;
}

int MemoryLine::write(bool modbus, int station, int address, int32_t value) {
  if (value < 0 || value > 0xFFFF) return kInvalidValue;  // the library's own check
  auto found = stations.find(station);
  if (found == stations.end() || found->second.silent) return kNoAnswer;
  MemoryStation& unit = found->second;
  const int reg = unitRegister(modbus, address, 1);
  if (reg < 0) return kInvalidValue;
  if (auto fail = unit.writeFails.find(reg); fail != unit.writeFails.end()) return fail->second;
  if (unit.writeResult != kLinkOk) return unit.writeResult;
  auto keep = unit.keeps.find(reg);
  uint16_t kept = keep != unit.keeps.end() ? keep->second(value) : static_cast<uint16_t>(value);
  if (reg == sim::kLoggerControl && (kept & sim::kLogResetCounter) != 0) {
    unit.regs[sim::kRecordCounter] = 0;
    kept &= static_cast<uint16_t>(~sim::kLogResetCounter);
  }
  unit.regs[reg] = kept;
  return kLinkOk;
}

}  // namespace kvlink::test
