#pragma once
// CRC-16 with the reflected polynomial 0xA001 (x^16 + x^15 + x^2 + 1), the check of both
// serial protocols: DF1 starts it from 0x0000, Modbus RTU from 0xFFFF.

#include <cstdint>
#include <span>

namespace kvlink {

inline constexpr uint16_t kDf1CrcStart = 0x0000;
inline constexpr uint16_t kModbusCrcStart = 0xFFFF;

uint16_t crc16A001(uint16_t crc, uint8_t byte);
uint16_t crc16A001(std::span<const uint8_t> data, uint16_t start);

}  // namespace kvlink
