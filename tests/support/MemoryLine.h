#pragma once
// A line of relays held in memory, for tests that need no pseudo-terminal:
// each station a register file as large as a unit's (records included) that
// answers reads and takes writes through both link libraries, Modbus by
// register number and DF1 by byte address (256 + 2R, logger record n at
// 768 + 48n), with every call recorded as text (CallLog.h).
//
// Stations not set up do not answer (36). Failures are set per station and
// per register: a silent station, the code every write of a station answers,
// the code one register's write answers, registers whose reads get no answer,
// registers that keep something else than what was written. `afterCall` runs
// after each call has been recorded and answered, before the caller sees the
// result. Like a unit, a write of the logger control word with the reset bit
// clears the record counter and does not keep the bit.

#include <cstdint>
#include <functional>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "CallLog.h"
#include "link/LinkLibrary.h"

namespace kvlink::test {

// The register a unit read or write of `words` reaches; -1 when it reaches none.
int unitRegister(bool modbus, int address, int words);

struct MemoryStation {
  std::vector<uint16_t> regs;
  bool silent = false;
  int writeResult = 0;            // what every write answers; 0 takes it
  std::map<int, int> writeFails;  // register -> what its write answers
  std::set<int> readFails;        // reads that cover one of these get no answer
  std::map<int, std::function<uint16_t(int32_t written)>> keeps;  // register -> what it keeps

  MemoryStation();
  // The identification word: unit type, with or without a data logger.
  MemoryStation& unit(int type, bool logger);
  // Registers first.., each value one more than the last.
  MemoryStation& fill(int first, int count, uint16_t start);
  // One logger record's words from its word 0.
  MemoryStation& setRecord(int record, const std::vector<uint16_t>& words);
  // Logs `count` records as a unit does: each new one becomes record 0, the
  // older ones move up by one (the oldest of a full area is lost) and the
  // counter counts it. The k-th record the station logs (from 1) holds k in
  // every word after its time stamp of 25/12/2003 <14 + k / 3600>:<k / 60 %
  // 60>:<k % 60> (BCD), weekday 3: later records, later times.
  MemoryStation& records(int count);
  int logged = 0;            // records logged so far
  std::vector<int> journal;  // the k of each, in the order logged
  // While set, every record logged reads as the stillAs-th one (a stopped unit clock).
  int stillAs = 0;
  // Time stamps this many seconds behind (a unit clock set back).
  int clockBack = 0;
};

class MemoryLine : public LinkLibrary, public CallLog {
 public:
  std::map<int, MemoryStation> stations;
  // What opening, setting the retries and the DF1 check mode answer.
  int openResult = 0;
  int retryResult = 0;
  int checkModeResult = 0;
  std::function<void(const std::string& call)> afterCall;

  // The station, set up (all registers 0) when it was not.
  MemoryStation& station(int n) { return stations[n]; }

  int CommOpen(int port, int baudcode) override;
  int CommClose(int port) override;
  int SetRetry(int count) override;
  int rvx_ReadInfo(uint16_t* buffer, int bufferWords, int port, int station, int reg,
                   int count) override;
  int WriteInfo(int port, int station, int reg, int32_t value) override;
  int abCommOpen(int port, int baudcode) override;
  int abCommClose(int port) override;
  int abSetRetry(int count) override;
  int abSetCheckMode(int mode) override;
  int abSendControl(int port, int code) override;
  int abrvx_ReadInfo(uint16_t* buffer, int bufferWords, int port, int station, int address,
                     int bytecount) override;
  int abWriteInfo(int port, int station, int address, int32_t value) override;

 private:
  int answered(int result);
  int read(bool modbus, uint16_t* buffer, int bufferWords, int station, int address, int words);
  int write(bool modbus, int station, int address, int32_t value);
};

}  // namespace kvlink::test
