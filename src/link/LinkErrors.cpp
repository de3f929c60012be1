#include "link/LinkErrors.h"

#include <array>

namespace kvlink {
namespace {

constexpr std::array<LinkCodeInfo, 4> kTexts{{
    {kIllegalCommand, "Illegal Command/Format"},
    {kNoAnswer, "Information Not Available from unit"},
    {kInvalidValue, "Invalid Address, Size, or Value"},
    {kUndefinedError, "Undefined error"},
}};

struct ByteToCode {
  uint8_t value;
  int code;
};

constexpr std::array<ByteToCode, 3> kModbusExceptions{{
    {0x01, kIllegalCommand},  // illegal function
    {0x02, kInvalidValue},    // illegal data address
    {0x03, kInvalidValue},    // illegal data value
}};

// DF1 STS, high nibble (local and remote errors share the table).
constexpr std::array<ByteToCode, 2> kDf1Status{{
    {0x10, kIllegalCommand},  // illegal command or format
    {0x50, kInvalidValue},    // addressing problem or memory protect
}};

// DF1 extended STS (STS 0xF0) that concern the address, size or value.
constexpr std::array<uint8_t, 9> kDf1AddressExtStatus{0x01, 0x02, 0x03, 0x04, 0x05,
                                                      0x06, 0x07, 0x0A, 0x0B};

int lookup(std::span<const ByteToCode> table, uint8_t value) {
  for (const ByteToCode& entry : table) {
    if (entry.value == value) return entry.code;
  }
  return kUndefinedError;
}

}  // namespace

std::span<const LinkCodeInfo> linkCodeTable() {
  return kTexts;
}

const char* linkCodeText(int code) {
  for (const LinkCodeInfo& info : kTexts) {
    if (info.code == code) return info.text;
  }
  return "Undefined error";
}

int modbusExceptionToCode(int exception) {
  if (exception < 0 || exception > 0xFF) return kUndefinedError;
  return lookup(kModbusExceptions, static_cast<uint8_t>(exception));
}

int df1StatusToCode(uint8_t sts, uint8_t extSts) {
  if ((sts & 0xF0) == 0xF0) {
    for (uint8_t ext : kDf1AddressExtStatus) {
      if (ext == extSts) return kInvalidValue;
    }
    return kUndefinedError;
  }
  if ((sts & 0xF0) != 0) return lookup(kDf1Status, static_cast<uint8_t>(sts & 0xF0));
  return kUndefinedError;  // remote (low-nibble) errors
}

}  // namespace kvlink
