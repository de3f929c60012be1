#pragma once
// A line of units in memory for the configuration-file tests: each station a
// register file that answers single-register reads and writes through either
// link library. Every unit call is recorded as (library, op, station,
// register, value or count); a register can be made to fail its write or its
// read, or to keep something else than what was written.

#include <array>
#include <cstdint>
#include <functional>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "link/LinkLibrary.h"

namespace kvlink::test {

constexpr int kNoAnswer = 36;

struct UnitCall {
  bool modbus;
  char op;  // 'r' read, 'w' write
  int port;
  int station;
  int reg;  // register number (DF1 byte addresses converted back)
  int address;
  int32_t valueOrCount;
  bool operator==(const UnitCall&) const = default;
};

struct LineUnit {
  std::array<uint16_t, 256> regs{};
  bool silent = false;
  std::map<int, int> writeFails;  // register -> library code
  std::set<int> readFails;
  std::map<int, std::function<uint16_t(int32_t written)>> keeps;
};

class UnitLine : public LinkLibrary {
 public:
  std::map<int, LineUnit> units;
  std::vector<UnitCall> calls;
  std::function<void(const UnitCall&)> afterCall;

  LineUnit& unit(int station, int type) {
    LineUnit& u = units[station];
    u.regs[39] = static_cast<uint16_t>(type << 8);
    return u;
  }
  std::vector<UnitCall> writes() const {
    std::vector<UnitCall> out;
    for (const UnitCall& call : calls)
      if (call.op == 'w') out.push_back(call);
    return out;
  }
  std::vector<int> writtenRegisters() const {
    std::vector<int> out;
    for (const UnitCall& call : writes()) out.push_back(call.reg);
    return out;
  }

  int CommOpen(int, int) override { return 0; }
  int CommClose(int) override { return 0; }
  int SetRetry(int) override { return 0; }
  int rvx_ReadInfo(uint16_t* buffer, int words, int port, int station, int reg,
                   int count) override {
    return read(true, buffer, words, port, station, reg, reg, count);
  }
  int WriteInfo(int port, int station, int reg, int32_t value) override {
    return write(true, port, station, reg, reg, value);
  }
  int abCommOpen(int, int) override { return 0; }
  int abCommClose(int) override { return 0; }
  int abSetRetry(int) override { return 0; }
  int abSetCheckMode(int) override { return 0; }
  int abSendControl(int, int) override { return 0; }
  int abrvx_ReadInfo(uint16_t* buffer, int words, int port, int station, int address,
                     int bytes) override {
    return read(false, buffer, words, port, station, (address - 256) / 2, address, bytes);
  }
  int abWriteInfo(int port, int station, int address, int32_t value) override {
    return write(false, port, station, (address - 256) / 2, address, value);
  }

 private:
  int read(bool modbus, uint16_t* buffer, int words, int port, int station, int reg, int address,
           int count) {
    calls.push_back({modbus, 'r', port, station, reg, address, count});
    const int wordCount = modbus ? count : count / 2;
    int result = kNoAnswer;
    auto it = units.find(station);
    if (it != units.end() && !it->second.silent && !it->second.readFails.count(reg)) {
      if (wordCount > words || reg < 0 || reg + wordCount > 256) {
        result = 37;
      } else {
        for (int i = 0; i < wordCount; ++i) buffer[i] = it->second.regs[reg + i];
        result = 0;
      }
    }
    done();
    return result;
  }
  int write(bool modbus, int port, int station, int reg, int address, int32_t value) {
    calls.push_back({modbus, 'w', port, station, reg, address, value});
    int result = kNoAnswer;
    auto it = units.find(station);
    if (it != units.end() && !it->second.silent && reg >= 0 && reg < 256) {
      LineUnit& u = it->second;
      if (auto fail = u.writeFails.find(reg); fail != u.writeFails.end()) {
        result = fail->second;
      } else {
        auto keep = u.keeps.find(reg);
        u.regs[reg] = keep != u.keeps.end() ? keep->second(value) : static_cast<uint16_t>(value);
        result = 0;
      }
    }
    done();
    return result;
  }
  void done() {
    if (afterCall) afterCall(calls.back());
  }
};

}  // namespace kvlink::test
