#pragma once
// Modbus RTU requests of the master (function 03 read holding registers, 06 write single
// register) and the checks of their replies. Frames here carry the station address and the PDU
// but not the CRC, which the framing adds and checks.

#include <cstdint>
#include <span>
#include <vector>

namespace kvlink {

inline constexpr int kModbusMaxReadCount = 125;
inline constexpr int kModbusFirstStation = 1;
inline constexpr int kModbusLastStation = 247;
inline constexpr int kModbusCrcBytes = 2;
inline constexpr uint8_t kModbusReadFunction = 0x03;
inline constexpr uint8_t kModbusWriteFunction = 0x06;

std::vector<uint8_t> modbusReadRequest(int station, int reg, int count);
std::vector<uint8_t> modbusWriteRequest(int station, int reg, uint16_t value);

// Length of a normal reply including the CRC.
int modbusReadReplyBytes(int count);
inline constexpr int kModbusWriteReplyBytes = 8;

// Length, CRC included, of the reply frame that starts with `head` (station, function and, for
// reads, the byte count): 0 while `head` is too short to tell, -1 for a function no station
// here answers.
int modbusReplyFrameBytes(std::span<const uint8_t> head);

// Checks a reply frame (without CRC) to a read of `count` registers from `station`.
// On kLinkOk the `count` register values are in `words`; otherwise `words` is untouched.
int checkModbusReadReply(std::span<const uint8_t> frame, int station, int count,
                         std::span<uint16_t> words);

// Checks a reply frame (without CRC) to a write of `value` to `reg` at `station`.
int checkModbusWriteReply(std::span<const uint8_t> frame, int station, int reg, uint16_t value);

}  // namespace kvlink
