#pragma once
// A line of logger units held in memory for the auto-retrieve tests: each
// station a full register file (records included) that answers reads and
// takes writes through either link library, with every call recorded as
// text. A write to the control word with bit 8 clears the record counter,
// as the units do. Reads can be made to fail by register.

#include <cstdint>
#include <functional>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "link/LinkLibrary.h"

namespace kvlink::test {

constexpr int kSilent = 36;
constexpr int kRegisters = 6192;

struct LoggerUnit {
  std::vector<uint16_t> regs = std::vector<uint16_t>(kRegisters, 0);
  std::set<int> failingReads;  // registers whose read is not answered
  bool silent = false;

  LoggerUnit& unit(int type, bool logger = true) {
    regs[39] = static_cast<uint16_t>(type << 8 | (logger ? 0x40 : 0));
    return *this;
  }
  // `count` records, record n holding n + 1 in every word after its time stamp,
  // and a time stamp of 25/12/2003 14:05:<n> (BCD), weekday 3.
  LoggerUnit& records(int count) {
    regs[138] = static_cast<uint16_t>(count);
    for (int n = 0; n < count && n < 250; ++n) {
      uint16_t* record = &regs[192 + 24 * n];
      record[0] = 0x2003;
      record[1] = 0x1225;
      record[2] = 0x0314;
      record[3] = static_cast<uint16_t>(0x0500 | ((n / 10 % 6) << 4) | (n % 10));
      for (int w = 4; w < 24; ++w) record[w] = static_cast<uint16_t>(n + 1);
    }
    return *this;
  }
};

class LoggerLink : public LinkLibrary {
 public:
  std::map<int, LoggerUnit> units;
  std::vector<std::string> calls;
  // Runs after each call has been recorded and answered.
  std::function<void(const std::string& call)> afterCall;

  LoggerUnit& station(int n) { return units[n]; }
  int count(const std::string& prefix) const {
    int n = 0;
    for (const auto& call : calls) n += call.rfind(prefix, 0) == 0;
    return n;
  }
  std::vector<std::string> callsStartingWith(const std::string& prefix) const {
    std::vector<std::string> found;
    for (const auto& call : calls)
      if (call.rfind(prefix, 0) == 0) found.push_back(call);
    return found;
  }

  int CommOpen(int, int) override { return 0; }
  int CommClose(int) override { return 0; }
  int SetRetry(int) override { return 0; }
  int rvx_ReadInfo(uint16_t* buffer, int words, int port, int st, int reg, int count) override {
    record("read", port, st, reg, count);
    return answer(buffer, words, st, reg, count);
  }
  int WriteInfo(int port, int st, int reg, int32_t value) override {
    record("write", port, st, reg, value);
    return take(st, reg, value);
  }
  int abCommOpen(int, int) override { return 0; }
  int abCommClose(int) override { return 0; }
  int abSetRetry(int) override { return 0; }
  int abSetCheckMode(int) override { return 0; }
  int abSendControl(int port, int code) override {
    record("abcontrol", port, code);
    return 0;
  }
  int abrvx_ReadInfo(uint16_t* buffer, int words, int port, int st, int address,
                     int bytes) override {
    record("abread", port, st, address, bytes);
    // The record area is the one block not at 256 + 2R.
    const int reg = address >= 768 ? 192 + (address - 768) / 2 : (address - 256) / 2;
    return answer(buffer, words, st, reg, bytes / 2);
  }
  int abWriteInfo(int port, int st, int address, int32_t value) override {
    record("abwrite", port, st, address, value);
    return take(st, (address - 256) / 2, value);
  }

 private:
  template <class... Args>
  void record(const char* name, Args... args) {
    std::string text = name;
    ((text += " " + std::to_string(args)), ...);
    calls.push_back(text);
  }
  int answer(uint16_t* buffer, int words, int st, int reg, int count) {
    int result = kSilent;
    auto it = units.find(st);
    if (it != units.end() && !it->second.silent && !it->second.failingReads.count(reg)) {
      if (count > words || reg < 0 || reg + count > kRegisters) {
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
    int result = kSilent;
    auto it = units.find(st);
    if (it != units.end() && !it->second.silent) {
      result = 0;
      if (reg == 134 && (value & 8)) {
        it->second.regs[138] = 0;
        value &= ~8;
      }
      it->second.regs[reg] = static_cast<uint16_t>(value);
    }
    done();
    return result;
  }
  void done() {
    if (afterCall) afterCall(calls.back());
  }
};

}  // namespace kvlink::test
