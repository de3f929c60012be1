#pragma once
// The three blocks the poll reads, how a block is addressed on either link,
// and what the identification word (register 39) says about a unit.

#include <cstdint>

namespace kvlink {

struct RegisterBlock {
  int firstRegister;
  int words;
};

constexpr RegisterBlock kMeterBlock{24, 19};    // status/meter block, registers 24 to 42
constexpr RegisterBlock kSetPointBlock{0, 18};  // set-point block, registers 0 to 17
constexpr RegisterBlock kScanBlock{39, 4};      // scan station, registers 39 to 42
constexpr int kMeterBlockIdWord = 15;           // register 39 within the meter block
constexpr int kScanBlockIdWord = 0;             // register 39 within the scan block
constexpr int kIdentificationRegister = 39;     // the unit type and the data logger bit
constexpr int kCommandRegister = 120;
constexpr int kDf1ReadControlCode = 21;    // sent before each read of the selected station
constexpr uint16_t kDataLoggerBit = 0x40;  // in the identification word's low byte

// Register R as the link addresses it: R for Modbus RTU, byte address
// 256 + 2R for DF1.
constexpr int32_t linkAddress(int reg, bool useModbus) {
  return useModbus ? reg : 256 + 2 * reg;
}
// A block's length as the link counts it: words for Modbus RTU, bytes for DF1.
constexpr int16_t linkCount(const RegisterBlock& block, bool useModbus) {
  return static_cast<int16_t>(useModbus ? block.words : 2 * block.words);
}

// The unit type in the identification word's high byte: 0, 1, 2 or 4, and
// 99 for any other code.
int16_t unitTypeFromIdWord(uint16_t idWord);
// Whether the unit has a data logger.
constexpr bool hasDataLogger(uint16_t idWord) {
  return (idWord & kDataLoggerBit) != 0;
}

}  // namespace kvlink
