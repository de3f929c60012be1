#include <gtest/gtest.h>

#include <array>
#include <vector>

#include "link/Df1Pdu.h"
#include "link/LinkErrors.h"
#include "link/ModbusPdu.h"
#include "link/UnitIo.h"

namespace kvlink {
namespace {

using Bytes = std::vector<uint8_t>;
constexpr uint16_t kUntouched = 0xDEAD;

TEST(ModbusReply, ReadReplyGivesUnsignedWords) {
  const Bytes frame{0x05, 0x03, 0x04, 0x12, 0x34, 0xFF, 0xFE};
  std::array<uint16_t, 2> words{};
  EXPECT_EQ(checkModbusReadReply(frame, 5, 2, words), kLinkOk);
  EXPECT_EQ(words[0], 0x1234);
  EXPECT_EQ(words[1], 65534);
}

TEST(ModbusReply, MalformedReadRepliesAreNoAnswerAndCopyNothing) {
  const std::vector<Bytes> bad{
      {},                                                // nothing
      {0x06, 0x03, 0x04, 0x00, 0x01, 0x00, 0x02},        // other station
      {0x05, 0x04, 0x04, 0x00, 0x01, 0x00, 0x02},        // other function
      {0x05, 0x03, 0x02, 0x00, 0x01},                    // fewer words
      {0x05, 0x03, 0x04, 0x00, 0x01, 0x00},              // short
      {0x05, 0x03, 0x04, 0x00, 0x01, 0x00, 0x02, 0x00},  // long
      {0x05, 0x03, 0x06, 0x00, 0x01, 0x00, 0x02},        // byte count does not fit the length
      {0x05, 0x83},                                      // exception without its code
  };
  for (const Bytes& frame : bad) {
    std::array<uint16_t, 2> words{kUntouched, kUntouched};
    EXPECT_EQ(checkModbusReadReply(frame, 5, 2, words), kNoAnswer);
    EXPECT_EQ(words[0], kUntouched);
    EXPECT_EQ(words[1], kUntouched);
  }
}

TEST(ModbusReply, ExceptionsMapToLinkCodes) {
  const std::array<std::pair<uint8_t, int>, 5> cases{{{0x01, kIllegalCommand},
                                                      {0x02, kInvalidValue},
                                                      {0x03, kInvalidValue},
                                                      {0x04, kUndefinedError},
                                                      {0x0B, kUndefinedError}}};
  for (const auto& [exception, code] : cases) {
    std::array<uint16_t, 1> words{};
    EXPECT_EQ(checkModbusReadReply(Bytes{0x05, 0x83, exception}, 5, 1, words), code);
    EXPECT_EQ(checkModbusWriteReply(Bytes{0x05, 0x86, exception}, 5, 120, 3), code);
  }
  // An exception to another function is not an answer to ours.
  EXPECT_EQ(checkModbusWriteReply(Bytes{0x05, 0x83, 0x02}, 5, 120, 3), kNoAnswer);
}

TEST(ModbusReply, WriteReplyMustEchoRegisterAndValue) {
  EXPECT_EQ(checkModbusWriteReply(modbusWriteRequest(9, 120, 4), 9, 120, 4), kLinkOk);
  EXPECT_EQ(checkModbusWriteReply(modbusWriteRequest(9, 121, 4), 9, 120, 4), kNoAnswer);
  EXPECT_EQ(checkModbusWriteReply(modbusWriteRequest(9, 120, 5), 9, 120, 4), kNoAnswer);
  EXPECT_EQ(modbusReadRequest(1, 24, 19), (Bytes{0x01, 0x03, 0x00, 0x18, 0x00, 0x13}));
  EXPECT_EQ(modbusReadReplyBytes(19), 43);
}

TEST(Df1Reply, CommandsAreLaidOutLowByteFirst) {
  const Df1Command read = df1ReadCommand(3, 0, 0x1234, 304, 38);
  EXPECT_EQ(read.data, (Bytes{0x03, 0x00, 0x01, 0x00, 0x34, 0x12, 0x30, 0x01, 38}));
  const Df1Command write = df1WriteCommand(3, 0, 0xABCD, 496, 0x0102);
  EXPECT_EQ(write.data, (Bytes{0x03, 0x00, 0x08, 0x00, 0xCD, 0xAB, 0xF0, 0x01, 0x02, 0x01}));
}

TEST(Df1Reply, MatchesOnStationsCommandAndTransaction) {
  const Df1Command read = df1ReadCommand(3, 0, 0x1234, 304, 4);
  EXPECT_TRUE(df1ReplyMatches(Bytes{0x00, 0x03, 0x41, 0x00, 0x34, 0x12}, read));
  EXPECT_FALSE(df1ReplyMatches(Bytes{0x00, 0x04, 0x41, 0x00, 0x34, 0x12}, read));  // station
  EXPECT_FALSE(df1ReplyMatches(Bytes{0x01, 0x03, 0x41, 0x00, 0x34, 0x12}, read));  // not to us
  EXPECT_FALSE(df1ReplyMatches(Bytes{0x00, 0x03, 0x48, 0x00, 0x34, 0x12}, read));  // command
  EXPECT_FALSE(df1ReplyMatches(Bytes{0x00, 0x03, 0x41, 0x00, 0x35, 0x12}, read));  // TNS
  EXPECT_FALSE(df1ReplyMatches(Bytes{0x00, 0x03, 0x41, 0x00, 0x34}, read));        // short
}

TEST(Df1Reply, ReadReplyChecksLengthAndStatus) {
  std::array<uint16_t, 2> words{kUntouched, kUntouched};
  EXPECT_EQ(checkDf1ReadReply(Bytes{0, 3, 0x41, 0, 1, 0, 0x34, 0x12, 0xFF, 0xFF}, 4, words),
            kLinkOk);
  EXPECT_EQ(words[0], 0x1234);
  EXPECT_EQ(words[1], 65535);

  words = {kUntouched, kUntouched};
  EXPECT_EQ(checkDf1ReadReply(Bytes{0, 3, 0x41, 0, 1, 0, 0x34, 0x12, 0xFF}, 4, words), kNoAnswer);
  EXPECT_EQ(checkDf1ReadReply(Bytes{0, 3, 0x41, 0x10, 1, 0}, 4, words), kIllegalCommand);
  EXPECT_EQ(checkDf1ReadReply(Bytes{0, 3, 0x41, 0x50, 1, 0}, 4, words), kInvalidValue);
  EXPECT_EQ(checkDf1ReadReply(Bytes{0, 3, 0x41, 0xF0, 1, 0, 0x06}, 4, words), kInvalidValue);
  EXPECT_EQ(checkDf1ReadReply(Bytes{0, 3, 0x41, 0xF0, 1, 0, 0x0E}, 4, words), kUndefinedError);
  EXPECT_EQ(checkDf1ReadReply(Bytes{0, 3, 0x41, 0x30, 1, 0}, 4, words), kUndefinedError);
  EXPECT_EQ(checkDf1ReadReply(Bytes{0, 3, 0x41, 0x07, 1, 0}, 4, words), kUndefinedError);
  EXPECT_EQ(words[0], kUntouched);
  EXPECT_EQ(checkDf1WriteReply(Bytes{0, 3, 0x48, 0, 1, 0}), kLinkOk);
  EXPECT_EQ(checkDf1WriteReply(Bytes{0, 3, 0x48, 0, 1, 0, 9}), kNoAnswer);
  EXPECT_EQ(checkDf1WriteReply(Bytes{0, 3, 0x48, 0x50, 1, 0}), kInvalidValue);
}

TEST(WriteErrorText, UsesTheOperatorsWording) {
  EXPECT_EQ(writeErrorText(35), "Write Error 35:Illegal Command/Format");
  EXPECT_EQ(writeErrorText(36), "Write Error 36:Information Not Available from unit");
  EXPECT_EQ(writeErrorText(37), "Write Error 37:Invalid Address, Size, or Value");
  EXPECT_EQ(writeErrorText(38), "Write Error 38:Undefined error");
  EXPECT_EQ(writeErrorText(kPortNotOpen), "Write Error 41:Undefined error");
  EXPECT_EQ(writeErrorText(-3), "Write Error -3:Undefined error");
}

}  // namespace
}  // namespace kvlink
