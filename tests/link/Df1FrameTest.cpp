#include <gtest/gtest.h>

#include <vector>

#include "link/Crc16.h"
#include "link/Df1Frame.h"

namespace kvlink {
namespace {

using Bytes = std::vector<uint8_t>;

std::vector<Df1Event> feedAll(Df1Receiver& receiver, const Bytes& bytes) {
  std::vector<Df1Event> events;
  for (uint8_t b : bytes) {
    Df1Event e;
    if (receiver.feed(b, e)) events.push_back(e);
  }
  return events;
}

TEST(Df1Check, PublishedVectors) {
  Bytes data{0x07, 0x11, 0x41, 0x00, 0x53, 0xB9};
  data.resize(18, 0x00);
  const uint16_t crc = df1Crc(data);
  EXPECT_EQ(crc & 0xFF, 0x6B);
  EXPECT_EQ(crc >> 8, 0x4C);
  EXPECT_EQ(df1Bcc(Bytes{0x09, 0x00, 0x01, 0x00, 0x01, 0x00, 0x11, 0x00, 0x02}), 0xE2);
  EXPECT_EQ(df1Bcc(Bytes{0x29, 0x20, 0x01, 0x00, 0x45, 0x01, 0x28, 0x00, 0x08}), 0x40);
}

TEST(Df1Check, ModbusCrcOfKnownRequest) {
  // Read 1 register at 0 from station 1: 01 03 00 00 00 01, CRC 84 0A (low byte first).
  const uint16_t crc = crc16A001(Bytes{0x01, 0x03, 0x00, 0x00, 0x00, 0x01}, kModbusCrcStart);
  EXPECT_EQ(crc, 0x0A84);
}

TEST(Df1Frame, EncodesWithCrcLowByteFirst) {
  Bytes data{0x07, 0x11, 0x41, 0x00, 0x53, 0xB9};
  data.resize(18, 0x00);
  const Bytes frame = encodeDf1Frame(data, Df1Check::Crc);
  ASSERT_EQ(frame.size(), 2 + 18 + 2 + 2u);
  EXPECT_EQ((Bytes{frame[0], frame[1]}), (Bytes{kDle, kStx}));
  EXPECT_EQ((Bytes(frame.end() - 4, frame.end())), (Bytes{kDle, kEtx, 0x6B, 0x4C}));
}

TEST(Df1Frame, DoublesDleInDataButCountsItOnceInTheCheck) {
  const Bytes data{0x01, 0x10, 0x02};
  const Bytes frame = encodeDf1Frame(data, Df1Check::Bcc);
  EXPECT_EQ(frame, (Bytes{kDle, kStx, 0x01, kDle, kDle, 0x02, kDle, kEtx, df1Bcc(data)}));
  EXPECT_EQ(df1Bcc(data), 0xED);
  EXPECT_EQ(df1FrameBytes(3, Df1Check::Bcc), 8);  // without stuffing
}

TEST(Df1Receiver, RoundTripsFramesInBothCheckModes) {
  const Bytes data{0x00, 0x05, 0x41, 0x00, 0x10, 0x10, 0x03, 0x02, 0x10, 0xFF};
  for (Df1Check check : {Df1Check::Crc, Df1Check::Bcc}) {
    Df1Receiver receiver(check);
    const auto events = feedAll(receiver, encodeDf1Frame(data, check));
    ASSERT_EQ(events.size(), 1u);
    EXPECT_EQ(events[0].kind, Df1Event::Kind::Frame);
    EXPECT_TRUE(events[0].checkOk);
    EXPECT_EQ(events[0].data, data);
  }
}

TEST(Df1Receiver, ReportsBadCheckAndWrongCheckMode) {
  const Bytes data{0x00, 0x05, 0x41, 0x00, 0x01, 0x02};
  Bytes frame = encodeDf1Frame(data, Df1Check::Crc);
  frame.back() ^= 0x01;
  Df1Receiver receiver(Df1Check::Crc);
  auto events = feedAll(receiver, frame);
  ASSERT_EQ(events.size(), 1u);
  EXPECT_FALSE(events[0].checkOk);

  // A CRC frame read in BCC mode: the first check byte is taken as BCC and is wrong, the
  // second one is junk outside any frame.
  Df1Receiver bcc(Df1Check::Bcc);
  events = feedAll(bcc, encodeDf1Frame(data, Df1Check::Crc));
  ASSERT_EQ(events.size(), 1u);
  EXPECT_FALSE(events[0].checkOk);
}

TEST(Df1Receiver, ControlSequencesJunkAndEmbeddedResponses) {
  Df1Receiver receiver(Df1Check::Bcc);
  const Bytes data{0x00, 0x05, 0x48, 0x00, 0x34, 0x12};
  Bytes frame = encodeDf1Frame(data, Df1Check::Bcc);
  // Junk, DLE ACK, a DLE NAK embedded in the frame after its third byte, DLE ENQ.
  Bytes stream{0x55, 0xAA, kDle, kAck};
  stream.insert(stream.end(), frame.begin(), frame.begin() + 3);
  stream.insert(stream.end(), {kDle, kNak});
  stream.insert(stream.end(), frame.begin() + 3, frame.end());
  stream.insert(stream.end(), {kDle, kEnq});
  const auto events = feedAll(receiver, stream);
  ASSERT_EQ(events.size(), 4u);
  EXPECT_EQ(events[0].kind, Df1Event::Kind::Ack);
  EXPECT_EQ(events[1].kind, Df1Event::Kind::Nak);
  EXPECT_EQ(events[2].kind, Df1Event::Kind::Frame);
  EXPECT_TRUE(events[2].checkOk);
  EXPECT_EQ(events[2].data, data);
  EXPECT_EQ(events[3].kind, Df1Event::Kind::Enq);
}

TEST(Df1Receiver, NewStartDropsAnUnfinishedFrameAndBadEscapesSpoilTheFrame) {
  Df1Receiver receiver(Df1Check::Crc);
  const Bytes data{0x00, 0x02, 0x41, 0x00, 0x07, 0x00};
  Bytes stream{kDle, kStx, 0x01, 0x02};  // cut short
  const Bytes good = encodeDf1Frame(data, Df1Check::Crc);
  stream.insert(stream.end(), good.begin(), good.end());
  auto events = feedAll(receiver, stream);
  ASSERT_EQ(events.size(), 1u);
  EXPECT_TRUE(events[0].checkOk);
  EXPECT_EQ(events[0].data, data);

  Bytes spoiled = good;
  spoiled.insert(spoiled.begin() + 4, {kDle, 0x44});  // DLE followed by a byte with no meaning
  events = feedAll(receiver, spoiled);
  ASSERT_EQ(events.size(), 1u);
  EXPECT_FALSE(events[0].checkOk);
}

TEST(Df1Receiver, OverlongFrameIsRejectedNotStored) {
  Df1Receiver receiver(Df1Check::Bcc);
  const Bytes data(kDf1MaxData + 40, 0x22);
  const auto events = feedAll(receiver, encodeDf1Frame(data, Df1Check::Bcc));
  ASSERT_EQ(events.size(), 1u);
  EXPECT_FALSE(events[0].checkOk);
  EXPECT_LE(events[0].data.size(), kDf1MaxData);
}

}  // namespace
}  // namespace kvlink
