#include "link/ModbusPdu.h"

#include "link/LinkErrors.h"

namespace kvlink {
namespace {

constexpr uint8_t kExceptionFlag = 0x80;

uint8_t hi(int v) {
  return static_cast<uint8_t>((v >> 8) & 0xFF);
}
uint8_t lo(int v) {
  return static_cast<uint8_t>(v & 0xFF);
}

// Common head of both checks: right station; an exception reply of the right function gives
// its code. Returns -1 when the frame is a normal reply of `function` to look at further.
int checkHead(std::span<const uint8_t> frame, int station, uint8_t function) {
  if (frame.size() < 2 || frame[0] != station) return kNoAnswer;
  if (frame[1] == (function | kExceptionFlag)) {
    return frame.size() == 3 ? modbusExceptionToCode(frame[2]) : kNoAnswer;
  }
  if (frame[1] != function) return kNoAnswer;
  return -1;
}

}  // namespace

std::vector<uint8_t> modbusReadRequest(int station, int reg, int count) {
  return {lo(station), kModbusReadFunction, hi(reg), lo(reg), hi(count), lo(count)};
}

std::vector<uint8_t> modbusWriteRequest(int station, int reg, uint16_t value) {
  return {lo(station), kModbusWriteFunction, hi(reg), lo(reg), hi(value), lo(value)};
}

int modbusReadReplyBytes(int count) {
  return 3 + 2 * count + kModbusCrcBytes;
}

int modbusReplyFrameBytes(std::span<const uint8_t> head) {
  if (head.size() < 2) return 0;
  const uint8_t function = head[1];
  if ((function & kExceptionFlag) != 0) return 3 + kModbusCrcBytes;
  switch (function) {
    case 0x01:  // reads: station, function, byte count, data
    case 0x02:
    case 0x03:
    case 0x04:
      return head.size() < 3 ? 0 : 3 + head[2] + kModbusCrcBytes;
    case 0x05:  // writes: the echo of the request's first six bytes
    case 0x06:
    case 0x0F:
    case 0x10:
      return 6 + kModbusCrcBytes;
    default:
      return -1;
  }
}

int checkModbusReadReply(std::span<const uint8_t> frame, int station, int count,
                         std::span<uint16_t> words) {
  if (const int head = checkHead(frame, station, kModbusReadFunction); head >= 0) return head;
  const size_t byteCount = 2 * static_cast<size_t>(count);
  if (frame.size() != 3 + byteCount || frame[2] != byteCount || words.size() < size_t(count)) {
    return kNoAnswer;
  }
  for (int i = 0; i < count; ++i) {
    words[i] = static_cast<uint16_t>((frame[3 + 2 * i] << 8) | frame[4 + 2 * i]);
  }
  return kLinkOk;
}

int checkModbusWriteReply(std::span<const uint8_t> frame, int station, int reg, uint16_t value) {
  if (const int head = checkHead(frame, station, kModbusWriteFunction); head >= 0) return head;
  const std::vector<uint8_t> echo = modbusWriteRequest(station, reg, value);
  if (frame.size() != echo.size()) return kNoAnswer;
  for (size_t i = 0; i < echo.size(); ++i) {
    if (frame[i] != echo[i]) return kNoAnswer;
  }
  return kLinkOk;
}

}  // namespace kvlink
