#pragma once
// A line of relays held in memory: each station a register file that
// answers reads and takes writes through either link library, with every
// call recorded as text. Stations not set up, and silent ones, do not answer.

#include <array>
#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "link/LinkLibrary.h"

namespace kvlink::test {

constexpr int kNoAnswer = 36;

struct FakeStation {
  std::array<uint16_t, 256> regs{};
  bool silent = false;
  int writeResult = 0;

  // Unit type in the identification word, with or without a data logger.
  FakeStation& unit(int type, bool logger = false) {
    regs[39] = static_cast<uint16_t>(type << 8 | (logger ? 0x40 : 0));
    return *this;
  }
  // Registers first.., each value one more than the last.
  FakeStation& fill(int first, int count, uint16_t start) {
    for (int i = 0; i < count; ++i) regs[first + i] = static_cast<uint16_t>(start + i);
    return *this;
  }
};

class FakeLink : public LinkLibrary {
 public:
  std::map<int, FakeStation> stations;
  std::vector<std::string> calls;
  // Runs after each call has been recorded and answered.
  std::function<void(const std::string& call)> afterCall;

  FakeStation& station(int n) { return stations[n]; }
  int count(const std::string& prefix) const {
    int n = 0;
    for (const auto& call : calls) n += call.rfind(prefix, 0) == 0;
    return n;
  }

  int CommOpen(int port, int baud) override { return record("open", port, baud); }
  int CommClose(int port) override { return record("close", port); }
  int SetRetry(int n) override { return record("retry", n); }
  int rvx_ReadInfo(uint16_t* buffer, int bufferWords, int port, int st, int reg,
                   int count) override {
    record("read", port, st, reg, count);
    return answer(buffer, bufferWords, st, reg, count);
  }
  int WriteInfo(int port, int st, int reg, int32_t value) override {
    record("write", port, st, reg, value);
    return take(st, reg, value);
  }
  int abCommOpen(int port, int baud) override { return record("abopen", port, baud); }
  int abCommClose(int port) override { return record("abclose", port); }
  int abSetRetry(int n) override { return record("abretry", n); }
  int abSetCheckMode(int mode) override { return record("abcheck", mode); }
  int abSendControl(int port, int code) override { return record("abcontrol", port, code); }
  int abrvx_ReadInfo(uint16_t* buffer, int bufferWords, int port, int st, int address,
                     int bytes) override {
    record("abread", port, st, address, bytes);
    return answer(buffer, bufferWords, st, (address - 256) / 2, bytes / 2);
  }
  int abWriteInfo(int port, int st, int address, int32_t value) override {
    record("abwrite", port, st, address, value);
    return take(st, (address - 256) / 2, value);
  }

 private:
  template <class... Args>
  int record(const char* name, Args... args) {
    std::string text = name;
    ((text += " " + std::to_string(args)), ...);
    calls.push_back(text);
    return 0;
  }
  int answer(uint16_t* buffer, int bufferWords, int st, int reg, int count) {
    int result = kNoAnswer;
    auto it = stations.find(st);
    if (it != stations.end() && !it->second.silent) {
      if (count > bufferWords || reg < 0 || reg + count > 256) {
        result = 37;
      } else {
        for (int i = 0; i < count; ++i) buffer[i] = it->second.regs[reg + i];
        result = 0;
      }
    }
    done();
    return result;
  }
  int take(int st, int reg, int32_t value) {
    int result = kNoAnswer;
    auto it = stations.find(st);
    if (it != stations.end() && !it->second.silent) {
      result = it->second.writeResult;
      if (result == 0) it->second.regs[reg] = static_cast<uint16_t>(value);
    }
    done();
    return result;
  }
  void done() {
    if (afterCall) afterCall(calls.back());
  }
};

}  // namespace kvlink::test
