#pragma once
// A link library for tests: records every write with the library that got
// it, answers every write with a chosen code, and answers no read.

#include <cstdint>
#include <functional>
#include <vector>

#include "link/LinkLibrary.h"

namespace kvlink::test {

struct RecordedWrite {
  bool modbus;
  int port;
  int station;
  int address;
  int32_t value;
  bool operator==(const RecordedWrite&) const = default;
};

class RecordingLink : public LinkLibrary {
 public:
  std::vector<RecordedWrite> writes;
  int writeResult = 0;
  // Runs at each write, before it is answered.
  std::function<void()> onWrite;

  int CommOpen(int, int) override { return 0; }
  int CommClose(int) override { return 0; }
  int SetRetry(int) override { return 0; }
  int rvx_ReadInfo(uint16_t*, int, int, int, int, int) override { return 36; }
  int WriteInfo(int port, int station, int reg, int32_t value) override {
    writes.push_back({true, port, station, reg, value});
    if (onWrite) onWrite();
    return writeResult;
  }
  int abCommOpen(int, int) override { return 0; }
  int abCommClose(int) override { return 0; }
  int abSetRetry(int) override { return 0; }
  int abSetCheckMode(int) override { return 0; }
  int abSendControl(int, int) override { return 0; }
  int abrvx_ReadInfo(uint16_t*, int, int, int, int, int) override { return 36; }
  int abWriteInfo(int port, int station, int address, int32_t value) override {
    writes.push_back({false, port, station, address, value});
    if (onWrite) onWrite();
    return writeResult;
  }
};

}  // namespace kvlink::test
