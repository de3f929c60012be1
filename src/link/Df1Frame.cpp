#include "link/Df1Frame.h"

#include "link/Crc16.h"

namespace kvlink {

uint16_t df1Crc(std::span<const uint8_t> data) {
  return crc16A001(crc16A001(data, kDf1CrcStart), kEtx);
}

uint8_t df1Bcc(std::span<const uint8_t> data) {
  unsigned sum = 0;
  for (uint8_t b : data) sum += b;
  return static_cast<uint8_t>(0x100 - (sum & 0xFF));
}

std::vector<uint8_t> encodeDf1Frame(std::span<const uint8_t> data, Df1Check check) {
  std::vector<uint8_t> frame;
  frame.reserve(data.size() * 2 + 6);
  frame.push_back(kDle);
  frame.push_back(kStx);
  for (uint8_t b : data) {
    frame.push_back(b);
    if (b == kDle) frame.push_back(kDle);
  }
  frame.push_back(kDle);
  frame.push_back(kEtx);
  if (check == Df1Check::Crc) {
    const uint16_t crc = df1Crc(data);
    frame.push_back(static_cast<uint8_t>(crc & 0xFF));
    frame.push_back(static_cast<uint8_t>(crc >> 8));
  } else {
    frame.push_back(df1Bcc(data));
  }
  return frame;
}

std::vector<uint8_t> df1Control(uint8_t code) {
  return {kDle, code};
}

int df1FrameBytes(int dataBytes, Df1Check check) {
  return 4 + dataBytes + (check == Df1Check::Crc ? 2 : 1);
}

void Df1Receiver::reset() {
  state_ = State::Idle;
  data_.clear();
  malformed_ = false;
  checkCount_ = 0;
}

bool Df1Receiver::feed(uint8_t byte, Df1Event& event) {
  auto control = [&](Df1Event::Kind kind) {
    event = Df1Event{kind, false, {}};
    return true;
  };
  switch (state_) {
    case State::Idle:
      if (byte == kDle) state_ = State::IdleDle;
      return false;
    case State::IdleDle:
      state_ = State::Idle;
      if (byte == kStx) {
        data_.clear();
        malformed_ = false;
        state_ = State::Data;
        return false;
      }
      if (byte == kAck) return control(Df1Event::Kind::Ack);
      if (byte == kNak) return control(Df1Event::Kind::Nak);
      if (byte == kEnq) return control(Df1Event::Kind::Enq);
      return false;
    case State::Data:
      if (byte == kDle) {
        state_ = State::DataDle;
      } else if (data_.size() < kDf1MaxData) {
        data_.push_back(byte);
      } else {
        malformed_ = true;
      }
      return false;
    case State::DataDle:
      state_ = State::Data;
      switch (byte) {
        case kDle:
          if (data_.size() < kDf1MaxData) {
            data_.push_back(kDle);
          } else {
            malformed_ = true;
          }
          return false;
        case kEtx:
          state_ = State::Check;
          checkCount_ = 0;
          return false;
        case kStx:  // a new frame starts: the unfinished one is dropped
          data_.clear();
          malformed_ = false;
          return false;
        case kAck:
          return control(Df1Event::Kind::Ack);
        case kNak:
          return control(Df1Event::Kind::Nak);
        case kEnq:
          return control(Df1Event::Kind::Enq);
        default:
          malformed_ = true;
          return false;
      }
    case State::Check: {
      checkBytes_[checkCount_++] = byte;
      const int needed = check_ == Df1Check::Crc ? 2 : 1;
      if (checkCount_ < needed) return false;
      bool ok = !malformed_;
      if (check_ == Df1Check::Crc) {
        const uint16_t crc = df1Crc(data_);
        ok = ok && checkBytes_[0] == (crc & 0xFF) && checkBytes_[1] == (crc >> 8);
      } else {
        ok = ok && checkBytes_[0] == df1Bcc(data_);
      }
      event = Df1Event{Df1Event::Kind::Frame, ok, std::move(data_)};
      reset();
      return true;
    }
  }
  return false;
}

}  // namespace kvlink
