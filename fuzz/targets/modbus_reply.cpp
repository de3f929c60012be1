// Fuzz target of the checks the Modbus RTU master runs on every reply frame
// (station, function, length, data; the CRC is checked by the framing before).
//
// Input: byte 0 is the register count of the read (1..125) and selects a read
// or a write check (bit 7 of byte 1); bytes 1..2 the station and the low byte
// of the written value; the rest is the reply frame without its CRC.
// Properties:
//  - a failed check leaves the caller's words untouched;
//  - a read reply is accepted only when it is exactly station, 03, byte count
//    2 x count and the data, and the words are the data, high byte first;
//  - a write reply is accepted only when it echoes the request byte for byte;
//  - an exception reply is never accepted and gives a code of the link table.

#include <algorithm>
#include <cstdint>
#include <span>
#include <vector>

#include "link/LinkErrors.h"
#include "link/ModbusPdu.h"
#include "targets/fuzz_check.h"
#include "targets/fuzz_targets.h"

namespace kvlink::fuzz {
namespace {

constexpr uint16_t kSentinel = 0x5A5A;
constexpr int kRegister = 24;

bool isTableCode(int code) {
  return code == kIllegalCommand || code == kNoAnswer || code == kInvalidValue ||
         code == kUndefinedError;
}

void checkRead(std::span<const uint8_t> frame, int station, int count) {
  std::vector<uint16_t> words(count, kSentinel);
  const int code = checkModbusReadReply(frame, station, count, words);
  if (code != kLinkOk) {
    KVLINK_FUZZ_CHECK(isTableCode(code));
    KVLINK_FUZZ_CHECK(
        std::all_of(words.begin(), words.end(), [](uint16_t w) { return w == kSentinel; }));
    return;
  }
  KVLINK_FUZZ_CHECK(frame.size() == 3 + 2 * std::size_t(count));
  KVLINK_FUZZ_CHECK(frame[0] == station && frame[1] == 0x03 && frame[2] == 2 * count);
  for (int i = 0; i < count; ++i) {
    KVLINK_FUZZ_CHECK(words[i] == (frame[3 + 2 * i] << 8 | frame[4 + 2 * i]));
  }
}

void checkWrite(std::span<const uint8_t> frame, int station, uint16_t value) {
  const int code = checkModbusWriteReply(frame, station, kRegister, value);
  if (code != kLinkOk) {
    KVLINK_FUZZ_CHECK(isTableCode(code));
    return;
  }
  const std::vector<uint8_t> request = modbusWriteRequest(station, kRegister, value);
  KVLINK_FUZZ_CHECK(std::equal(frame.begin(), frame.end(), request.begin(), request.end()));
}

}  // namespace

int modbusReply(const uint8_t* data, std::size_t size) {
  if (size < 3) return 0;
  const int count = 1 + data[0] % kModbusMaxReadCount;
  const bool write = (data[1] & 0x80) != 0;
  const int station = kModbusFirstStation + (data[1] & 0x7F) % kModbusLastStation;
  const std::span<const uint8_t> frame(data + 3, size - 3);
  if (write) {
    checkWrite(frame, station, static_cast<uint16_t>(data[2] | data[0] << 8));
  } else {
    checkRead(frame, station, count);
  }
  return 0;
}

}  // namespace kvlink::fuzz
