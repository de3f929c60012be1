// Fuzz target of the DF1 receiver (frame decoder) and of the checks of the
// replies to an unprotected read and write, as the master runs them on every
// frame it receives.
//
// Input: byte 0 selects the check (bit 0: BCC), whether the rest is a raw line
// stream (bit 1 clear) or the data of one frame that is framed here first (bit
// 1 set, so the reply checks see well-framed data), and the byte count of the
// read (bits 2..7); bytes 1..2 are the transaction number; the rest is the
// stream or the frame data.
// Properties:
//  - a frame never holds more than kDf1MaxData bytes;
//  - a frame accepted with good check bytes decodes again the same after it is
//    framed anew, and a frame framed here is always accepted;
//  - a reply check that fails leaves the caller's words untouched; one that
//    succeeds is a matching reply with STS 0, of exactly the size asked for,
//    and its words are the reply's data, low byte first.

#include <algorithm>
#include <cstdint>
#include <span>
#include <vector>

#include "link/Df1Frame.h"
#include "link/Df1Pdu.h"
#include "link/LinkErrors.h"
#include "targets/fuzz_check.h"
#include "targets/fuzz_targets.h"

namespace kvlink::fuzz {
namespace {

constexpr int kStation = 5;
constexpr int kSource = 0;
constexpr uint16_t kSentinel = 0xA5A5;

std::vector<Df1Event> decodeAll(std::span<const uint8_t> bytes, Df1Check check) {
  Df1Receiver receiver(check);
  std::vector<Df1Event> events;
  Df1Event event;
  for (uint8_t b : bytes) {
    if (receiver.feed(b, event)) events.push_back(event);
  }
  return events;
}

void checkReadReply(std::span<const uint8_t> reply, const Df1Command& read, int bytecount) {
  if (!df1ReplyMatches(reply, read)) return;
  std::vector<uint16_t> words(bytecount / 2, kSentinel);
  const int code = checkDf1ReadReply(reply, bytecount, words);
  if (code != kLinkOk) {
    KVLINK_FUZZ_CHECK(
        std::all_of(words.begin(), words.end(), [](uint16_t w) { return w == kSentinel; }));
    return;
  }
  KVLINK_FUZZ_CHECK(reply[3] == 0);
  KVLINK_FUZZ_CHECK(reply.size() == kDf1ReplyHeader + std::size_t(bytecount));
  for (int i = 0; i < bytecount / 2; ++i) {
    const auto* p = &reply[kDf1ReplyHeader + 2 * i];
    KVLINK_FUZZ_CHECK(words[i] == (p[0] | p[1] << 8));
  }
}

void checkWriteReply(std::span<const uint8_t> reply, const Df1Command& write) {
  if (!df1ReplyMatches(reply, write)) return;
  if (checkDf1WriteReply(reply) == kLinkOk) {
    KVLINK_FUZZ_CHECK(reply[3] == 0);
    KVLINK_FUZZ_CHECK(reply.size() == kDf1ReplyHeader);
  }
}

}  // namespace

int df1Frame(const uint8_t* data, std::size_t size) {
  if (size < 3) return 0;
  const Df1Check check = (data[0] & 1) ? Df1Check::Bcc : Df1Check::Crc;
  const bool frameHere = (data[0] & 2) != 0;
  const int bytecount = 2 * (1 + (data[0] >> 2) % 40);
  const uint16_t tns = static_cast<uint16_t>(data[1] | data[2] << 8);
  const std::span<const uint8_t> body(data + 3, size - 3);

  std::vector<uint8_t> stream(body.begin(), body.end());
  if (frameHere) {
    if (body.size() > kDf1MaxData) return 0;
    stream = encodeDf1Frame(body, check);
  }
  const std::vector<Df1Event> events = decodeAll(stream, check);
  if (frameHere) {
    KVLINK_FUZZ_CHECK(events.size() == 1);
    KVLINK_FUZZ_CHECK(events[0].kind == Df1Event::Kind::Frame && events[0].checkOk);
    KVLINK_FUZZ_CHECK(
        std::equal(events[0].data.begin(), events[0].data.end(), body.begin(), body.end()));
  }

  const Df1Command read = df1ReadCommand(kStation, kSource, tns, 256, bytecount);
  const Df1Command write = df1WriteCommand(kStation, kSource, tns, 496, 1);
  for (const Df1Event& event : events) {
    if (event.kind != Df1Event::Kind::Frame) continue;
    KVLINK_FUZZ_CHECK(event.data.size() <= kDf1MaxData);
    if (!event.checkOk) continue;
    const std::vector<Df1Event> again = decodeAll(encodeDf1Frame(event.data, check), check);
    KVLINK_FUZZ_CHECK(again.size() == 1 && again[0].checkOk && again[0].data == event.data);
    checkReadReply(event.data, read, bytecount);
    checkWriteReply(event.data, write);
  }
  return 0;
}

}  // namespace kvlink::fuzz
