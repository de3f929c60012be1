#pragma once
// DF1 application layer of the master: unprotected read (command 01, reply 41) and
// unprotected write (command 08, reply 48), addressed in bytes.
//
// Data of a command: DST SRC CMD STS TNS(lo hi) ADDR(lo hi) then SIZE (read) or the data
// bytes (write). Data of a reply: DST SRC CMD|0x40 STS TNS(lo hi) [EXT STS] [data].

#include <cstdint>
#include <span>
#include <vector>

namespace kvlink {

inline constexpr uint8_t kDf1UnprotectedRead = 0x01;
inline constexpr uint8_t kDf1UnprotectedWrite = 0x08;
inline constexpr uint8_t kDf1ReplyFlag = 0x40;
inline constexpr int kDf1ReplyHeader = 6;
inline constexpr int kDf1MaxReadBytes = 244;
inline constexpr int kDf1LastStation = 254;

struct Df1Command {
  uint8_t dst;
  uint8_t src;
  uint8_t cmd;
  uint16_t tns;
  std::vector<uint8_t> data;  // the whole command data, ready to frame
};

Df1Command df1ReadCommand(int station, int source, uint16_t tns, int address, int bytecount);
Df1Command df1WriteCommand(int station, int source, uint16_t tns, int address, uint16_t value);

// True when `reply` answers `command`: same stations (swapped), reply command and TNS.
bool df1ReplyMatches(std::span<const uint8_t> reply, const Df1Command& command);

// Checks a matching reply to a read of `bytecount` bytes; on kLinkOk the words, low byte
// first, are in `words`, otherwise `words` is untouched.
int checkDf1ReadReply(std::span<const uint8_t> reply, int bytecount, std::span<uint16_t> words);

// Checks a matching reply to a write.
int checkDf1WriteReply(std::span<const uint8_t> reply);

}  // namespace kvlink
