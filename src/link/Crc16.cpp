#include "link/Crc16.h"

namespace kvlink {

uint16_t crc16A001(uint16_t crc, uint8_t byte) {
  crc ^= byte;
  for (int bit = 0; bit < 8; ++bit) {
    crc = (crc & 1) ? static_cast<uint16_t>((crc >> 1) ^ 0xA001) : static_cast<uint16_t>(crc >> 1);
  }
  return crc;
}

uint16_t crc16A001(std::span<const uint8_t> data, uint16_t start) {
  uint16_t crc = start;
  for (uint8_t b : data) crc = crc16A001(crc, b);
  return crc;
}

}  // namespace kvlink
