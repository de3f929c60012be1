#pragma once
// A line of units held in memory for the logger tests: each station a full
// register file (clock, logger settings, record area) answering reads
// through either link library, with every call recorded. DF1 reaches the
// record area at 768 + 48n and every other register at 256 + 2R.

#include <cstdint>
#include <functional>
#include <map>
#include <vector>

#include "link/LinkLibrary.h"

namespace kvlink::test {

struct LoggerRead {
  bool modbus;
  int port;
  int station;
  int address;
  int count;
  bool operator==(const LoggerRead&) const = default;
};

class LoggerFakeLink : public LinkLibrary {
 public:
  static constexpr int kRegisters = 6192;

  std::map<int, std::vector<uint16_t>> stations;
  std::vector<LoggerRead> reads;
  int controlCodesSent = 0;
  // A code other than 0 fails the read it is asked about.
  std::function<int(const LoggerRead&)> failRead;

  std::vector<uint16_t>& station(int n) {
    auto& regs = stations[n];
    regs.resize(kRegisters);
    return regs;
  }
  // One record's words from word 0.
  void setRecord(int n, int record, const std::vector<uint16_t>& words) {
    auto& regs = station(n);
    for (std::size_t i = 0; i < words.size(); ++i) regs[192 + 24 * record + i] = words[i];
  }

  int CommOpen(int, int) override { return 0; }
  int CommClose(int) override { return 0; }
  int SetRetry(int) override { return 0; }
  int rvx_ReadInfo(uint16_t* buffer, int bufferWords, int port, int st, int reg,
                   int count) override {
    return answer({true, port, st, reg, count}, buffer, bufferWords, reg, count);
  }
  int WriteInfo(int, int, int, int32_t) override { return 0; }
  int abCommOpen(int, int) override { return 0; }
  int abCommClose(int) override { return 0; }
  int abSetRetry(int) override { return 0; }
  int abSetCheckMode(int) override { return 0; }
  int abSendControl(int, int) override {
    ++controlCodesSent;
    return 0;
  }
  int abrvx_ReadInfo(uint16_t* buffer, int bufferWords, int port, int st, int address,
                     int bytes) override {
    const int reg = address >= 768 ? 192 + (address - 768) / 2 : (address - 256) / 2;
    return answer({false, port, st, address, bytes}, buffer, bufferWords, reg, bytes / 2);
  }
  int abWriteInfo(int, int, int, int32_t) override { return 0; }

 private:
  int answer(const LoggerRead& read, uint16_t* buffer, int bufferWords, int reg, int words) {
    reads.push_back(read);
    if (failRead)
      if (int code = failRead(read)) return code;
    auto found = stations.find(read.station);
    if (found == stations.end()) return 36;
    if (words > bufferWords || reg < 0 || reg + words > kRegisters) return 37;
    for (int i = 0; i < words; ++i) buffer[i] = found->second[reg + i];
    return 0;
  }
};

}  // namespace kvlink::test
