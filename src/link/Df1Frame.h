#pragma once
// DF1 full-duplex link layer: frames DLE STX <data, DLE doubled> DLE ETX <check>, the check
// bytes (CRC-16 over the data and ETX, sent low byte first, or BCC, the two's complement of
// the byte sum of the data) and the control sequences DLE ACK, DLE NAK and DLE ENQ.

#include <cstdint>
#include <span>
#include <vector>

namespace kvlink {

enum class Df1Check { Crc, Bcc };

inline constexpr uint8_t kDle = 0x10;
inline constexpr uint8_t kStx = 0x02;
inline constexpr uint8_t kEtx = 0x03;
inline constexpr uint8_t kEnq = 0x05;
inline constexpr uint8_t kAck = 0x06;
inline constexpr uint8_t kNak = 0x15;

// Longest frame data (header and payload) that the receiver accepts.
inline constexpr size_t kDf1MaxData = 260;

uint16_t df1Crc(std::span<const uint8_t> data);  // over data and ETX
uint8_t df1Bcc(std::span<const uint8_t> data);

std::vector<uint8_t> encodeDf1Frame(std::span<const uint8_t> data, Df1Check check);
std::vector<uint8_t> df1Control(uint8_t code);  // DLE code

// Frame length on the line without stuffing (the usual case), for time-outs.
int df1FrameBytes(int dataBytes, Df1Check check);

struct Df1Event {
  enum class Kind { Ack, Nak, Enq, Frame };
  Kind kind;
  bool checkOk = false;       // Frame: check bytes right and the frame well formed
  std::vector<uint8_t> data;  // Frame: the data between DLE STX and DLE ETX, unstuffed
};

// Turns the received byte stream into events. Bytes outside frames that are not a control
// sequence are dropped. DLE ACK / DLE NAK inside a frame are reported as embedded responses.
class Df1Receiver {
 public:
  explicit Df1Receiver(Df1Check check) : check_(check) {}

  void setCheck(Df1Check check) { check_ = check; }
  void reset();
  // True between the DLE STX of a frame and its last check byte.
  bool inFrame() const { return state_ != State::Idle && state_ != State::IdleDle; }

  // Feeds one byte; true when `event` was filled.
  bool feed(uint8_t byte, Df1Event& event);

 private:
  enum class State { Idle, IdleDle, Data, DataDle, Check };

  Df1Check check_;
  State state_ = State::Idle;
  std::vector<uint8_t> data_;
  bool malformed_ = false;
  uint8_t checkBytes_[2] = {0, 0};
  int checkCount_ = 0;
};

}  // namespace kvlink
