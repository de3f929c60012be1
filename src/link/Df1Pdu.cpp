#include "link/Df1Pdu.h"

#include "link/LinkErrors.h"

namespace kvlink {
namespace {

uint8_t lo(int v) {
  return static_cast<uint8_t>(v & 0xFF);
}
uint8_t hi(int v) {
  return static_cast<uint8_t>((v >> 8) & 0xFF);
}

Df1Command makeCommand(int station, int source, uint8_t cmd, uint16_t tns, int address) {
  Df1Command c{lo(station), lo(source), cmd, tns, {}};
  c.data = {c.dst, c.src, cmd, 0x00, lo(tns), hi(tns), lo(address), hi(address)};
  return c;
}

// STS of a matching reply: -1 when it is 0 (success), else the link code.
int statusCode(std::span<const uint8_t> reply) {
  const uint8_t sts = reply[3];
  if (sts == 0) return -1;
  const uint8_t ext = reply.size() > kDf1ReplyHeader ? reply[kDf1ReplyHeader] : 0;
  return df1StatusToCode(sts, ext);
}

}  // namespace

Df1Command df1ReadCommand(int station, int source, uint16_t tns, int address, int bytecount) {
  Df1Command c = makeCommand(station, source, kDf1UnprotectedRead, tns, address);
  c.data.push_back(lo(bytecount));
  return c;
}

Df1Command df1WriteCommand(int station, int source, uint16_t tns, int address, uint16_t value) {
  Df1Command c = makeCommand(station, source, kDf1UnprotectedWrite, tns, address);
  c.data.push_back(lo(value));
  c.data.push_back(hi(value));
  return c;
}

bool df1ReplyMatches(std::span<const uint8_t> reply, const Df1Command& command) {
  return reply.size() >= kDf1ReplyHeader && reply[0] == command.src && reply[1] == command.dst &&
         reply[2] == (command.cmd | kDf1ReplyFlag) && reply[4] == lo(command.tns) &&
         reply[5] == hi(command.tns);
}

int checkDf1ReadReply(std::span<const uint8_t> reply, int bytecount, std::span<uint16_t> words) {
  if (const int code = statusCode(reply); code >= 0) return code;
  if (reply.size() != kDf1ReplyHeader + size_t(bytecount) || bytecount % 2 != 0 ||
      words.size() < size_t(bytecount / 2)) {
    return kNoAnswer;
  }
  for (int i = 0; i < bytecount / 2; ++i) {
    words[i] = static_cast<uint16_t>(reply[kDf1ReplyHeader + 2 * i] |
                                     (reply[kDf1ReplyHeader + 2 * i + 1] << 8));
  }
  return kLinkOk;
}

int checkDf1WriteReply(std::span<const uint8_t> reply) {
  if (const int code = statusCode(reply); code >= 0) return code;
  return reply.size() == kDf1ReplyHeader ? kLinkOk : kNoAnswer;
}

}  // namespace kvlink
