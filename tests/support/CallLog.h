#pragma once
// The calls a test double took, one line of text each: the call's short
// name and its arguments as the caller passed them (DF1 byte addresses and
// byte counts as they are), e.g. "read 2 5 24 19", "abwrite 2 5 496 8".
//
//   open port baud      close port       retry count
//   read port station register words   write port station register value
//   abopen port baud    abclose port     abretry count    abcheck mode
//   abcontrol port code
//   abread port station address bytes   abwrite port station address value

#include <cstdint>
#include <string>
#include <vector>

namespace kvlink::test {

// The text of a unit read or write, `address` and `count` as passed to the
// library (a register and words for Modbus, a byte address and bytes for DF1).
std::string readCall(bool modbus, int port, int station, int address, int count);
std::string writeCall(bool modbus, int port, int station, int address, int32_t value);
// The same for a register and a word count, in the address form of the
// library (DF1: byte address 256 + 2R, two bytes a word).
std::string registerReadCall(bool modbus, int port, int station, int reg, int words);
std::string registerWriteCall(bool modbus, int port, int station, int reg, int32_t value);

class CallLog {
 public:
  std::vector<std::string> calls;

  // Calls whose text starts with `prefix` ("abread 1 5" counts station 5's DF1 reads).
  int count(const std::string& prefix) const;
  std::vector<std::string> startingWith(const std::string& prefix) const;
  // Unit reads and writes of either library, in order.
  std::vector<std::string> reads() const;
  std::vector<std::string> writes() const;
  // The register each write went to (DF1 byte addresses taken back to registers).
  std::vector<int> writtenRegisters() const;
  // The calls made since the last look, then forgotten.
  std::vector<std::string> take();

 protected:
  void record(const char* name, std::initializer_list<long> args);
};

}  // namespace kvlink::test
