#include "link/Df1Master.h"

#include <random>

#include "link/ComDevice.h"
#include "link/LinkErrors.h"
#include "link/SerialPort.h"

namespace kvlink {
namespace {

constexpr int kControlNak = 21;
constexpr int kControlAck = 6;
constexpr int kControlEnq = 5;

}  // namespace

Df1Master::Df1Master(DeviceResolver resolver)
    : resolver_(std::move(resolver)), tns_(static_cast<uint16_t>(std::random_device{}())) {}

Df1Master::~Df1Master() = default;

int Df1Master::open(int port, int baudcode) {
  const int baud = baudFromCode(baudcode);
  openFailure_.clear();
  if (port < kFirstComPort || port > kLastComPort || baud == 0) return kPortOpenFailed;
  auto& slot = ports_[port - kFirstComPort];
  slot.reset();
  auto fresh = std::make_unique<Port>();
  openFailure_ = serialOpenFailure(fresh->serial, resolver_(port), baud);
  if (!openFailure_.empty()) return kPortOpenFailed;
  slot = std::move(fresh);
  return kLinkOk;
}

int Df1Master::close(int port) {
  if (port < kFirstComPort || port > kLastComPort || !ports_[port - kFirstComPort]) {
    return kPortNotOpen;
  }
  ports_[port - kFirstComPort].reset();
  return kLinkOk;
}

int Df1Master::setRetry(int count) {
  if (count < 0 || count > kMaxRetryCount) return kInvalidValue;
  retries_ = count;
  return kLinkOk;
}

int Df1Master::setCheckMode(int mode) {
  if (mode != 0 && mode != 1) return kInvalidValue;
  check_ = mode == 0 ? Df1Check::Crc : Df1Check::Bcc;
  return kLinkOk;
}

Df1Master::Port* Df1Master::openPort(int port) {
  if (port < kFirstComPort || port > kLastComPort) return nullptr;
  Port* p = ports_[port - kFirstComPort].get();
  // A device that went away is opened again by the next call, so the link recovers by itself
  // once it is back; until then the call fails with kPortFailed.
  if (p != nullptr && p->serial.failed() && p->serial.reopen()) p->dirty = false;
  return p;
}

int Df1Master::sendControl(int port, int code) {
  Port* p = openPort(port);
  if (p == nullptr) return kPortNotOpen;
  SerialPort* serial = &p->serial;
  if (serial->failed()) return kPortFailed;
  uint8_t control = 0;
  switch (code) {
    case kControlNak:
      control = kNak;
      break;
    case kControlAck:
      control = kAck;
      break;
    case kControlEnq:
      control = kEnq;
      break;
    default:
      return kInvalidValue;
  }
  if (!serial->write(df1Control(control))) return kPortFailed;
  if (code == kControlNak) serial->flushInput();
  return serial->failed() ? kPortFailed : kLinkOk;
}

int Df1Master::read(uint16_t* buffer, int bufferWords, int port, int station, int address,
                    int bytecount) {
  Port* p = openPort(port);
  if (p == nullptr) return kPortNotOpen;
  if (buffer == nullptr || station < 0 || station > kDf1LastStation || address < 0 ||
      address > 0xFFFF || bytecount < 2 || bytecount > kDf1MaxReadBytes || bytecount % 2 != 0 ||
      bytecount / 2 > bufferWords) {
    return kInvalidValue;
  }
  std::array<uint16_t, kDf1MaxReadBytes / 2> words{};
  const int code = transact(
      *p,
      [&](uint16_t tns) {
        return df1ReadCommand(station, kSourceAddress, tns, address, bytecount);
      },
      bytecount,
      [&](std::span<const uint8_t> reply) { return checkDf1ReadReply(reply, bytecount, words); },
      false);
  if (code == kLinkOk) std::copy_n(words.begin(), bytecount / 2, buffer);
  return code;
}

int Df1Master::write(int port, int station, int address, int32_t value) {
  Port* p = openPort(port);
  if (p == nullptr) return kPortNotOpen;
  if (station < 0 || station > kDf1LastStation || address < 0 || address > 0xFFFF || value < 0 ||
      value > 0xFFFF) {
    return kInvalidValue;
  }
  const auto word = static_cast<uint16_t>(value);
  return transact(
      *p,
      [&](uint16_t tns) { return df1WriteCommand(station, kSourceAddress, tns, address, word); }, 0,
      [](std::span<const uint8_t> reply) { return checkDf1WriteReply(reply); }, true);
}

bool Df1Master::learnFrom(Port& port, int station, uint16_t tns) {
  for (Sent& sent : port.sent) {
    if (sent.station == station && sent.tns == tns) {
      sent.station = -1;  // a second copy of the reply teaches nothing more
      return port.waits[static_cast<uint8_t>(station)].add(SerialPort::Clock::now() - sent.at);
    }
  }
  return false;
}

// One call is one transaction: its attempts send the same command with the same transaction
// number, so that the unit's duplicate detection drops a repeat it already carried out, and a
// reply to any attempt completes the call.
int Df1Master::transact(Port& port, const MakeCommand& make, int replyDataBytes,
                        const ReplyCheck& check, bool write) {
  using Clock = SerialPort::Clock;
  SerialPort& serial = port.serial;
  const int baud = serial.baud();
  Df1Receiver receiver(check_);
  uint8_t lastResponse = kNak;  // our response to the last frame received, for the peer's ENQ
  std::array<uint8_t, 256> input{};
  const auto send = [&](std::span<const uint8_t> bytes) {
    port.lastByte = Clock::now();
    return serial.write(bytes);
  };
  const Df1Command command = make(nextTns());
  RecentReplyWaits& waits = port.waits[command.dst];
  const std::vector<uint8_t> frame = encodeDf1Frame(command.data, check_);
  const auto ackWait = df1Timeout(baud, static_cast<int>(frame.size()), 2, timing_);
  const auto enqWait = df1Timeout(baud, 2, 2, timing_);
  // The reply may double any of its bytes (DLE): allow for all of them.
  const int replyBytes = df1FrameBytes(2 * (kDf1ReplyHeader + replyDataBytes), check_);
  const auto replyWait = df1Timeout(baud, 2, replyBytes, timing_);
  // After the ACK the reply is waited for as long as the station has lately taken (a quarter
  // more, with its wire time and the guard), a write the unit took as long as any: counted from
  // the first attempt, which the unit carries out. A late reply to an earlier command that
  // comes during the call counts at once.
  const auto learned = [&] {
    const Clock::duration wait = waits.longest();
    return std::min<Clock::duration>(
        write ? Clock::duration(kLongestLearnedTimeout)
        : wait > Clock::duration::zero()
            ? wait + wait / 4 + wireTime(baud, replyBytes) + timing_.guard
            : Clock::duration::zero(),
        kLongestLearnedTimeout);
  };
  Clock::time_point firstSent;
  bool heard = false;
  // The state of the attempt under way; `sending` is false in the wait before an attempt.
  bool sending = false;
  bool acknowledged = false;
  bool enqSent = false;
  int naksSent = 0;
  bool attemptFailed = false;
  Clock::time_point deadline;
  int answer = kNoAnswer;
  // Handles `n` bytes received; true when the call has its answer (in `answer`).
  const auto take = [&](int n) {
    port.lastByte = std::max(port.lastByte, Clock::now());
    heard = true;
    for (int i = 0; i < n && !attemptFailed; ++i) {
      Df1Event event;
      if (!receiver.feed(input[i], event)) continue;
      switch (event.kind) {
        case Df1Event::Kind::Ack:
          if (sending && !acknowledged) {
            acknowledged = true;
            deadline = std::max(Clock::now() + replyWait, firstSent + learned());
          }
          break;
        case Df1Event::Kind::Nak:
          attemptFailed = sending && !acknowledged;  // the command arrived damaged: send it again
          break;
        case Df1Event::Kind::Enq:
          if (!send(df1Control(lastResponse))) return false;
          break;
        case Df1Event::Kind::Frame: {
          if (!event.checkOk) {
            // Every bad frame gets a NAK; the retransmission is waited for up to the NAK
            // limit, past it the attempt is given up.
            lastResponse = kNak;
            if (!send(df1Control(kNak))) return false;
            attemptFailed = sending && naksSent++ == kDf1NakLimit;
            deadline = std::max(deadline, Clock::now() + replyWait);
            break;
          }
          lastResponse = kAck;
          if (!send(df1Control(kAck))) return false;
          if (event.data.size() >= kDf1ReplyHeader && (event.data[2] & kDf1ReplyFlag) != 0 &&
              learnFrom(port, event.data[1],
                        static_cast<uint16_t>(event.data[4] | event.data[5] << 8)) &&
              sending && acknowledged) {
            deadline = std::max(deadline, firstSent + learned());
          }
          // Foreign, duplicate and late frames are acknowledged and dropped.
          if (!df1ReplyMatches(event.data, command)) break;
          answer = check(event.data);
          if (answer != kNoAnswer) return true;
          attemptFailed = sending;  // a garbled reply to our command
          break;
        }
      }
    }
    return false;
  };
  const auto done = [&] {
    port.dirty = false;
    return answer;
  };

  for (int attempt = 0; attempt <= retries_; ++attempt) {
    // A command goes out on a quiet line only: after a transaction or an attempt that failed,
    // the unit may still be retransmitting its reply, and a command sent into that is lost.
    // A reply to an earlier attempt that comes meanwhile completes the call.
    sending = false;
    const auto quiet = port.dirty ? timing_.turnaround : Clock::duration::zero();
    const auto limit = Clock::now() + quiet + replyWait;
    for (;;) {
      if (serial.failed()) return kPortFailed;
      const auto until = std::min(port.lastByte + quiet, limit);
      if (Clock::now() >= until) break;
      const int n = serial.read(input.data(), input.size(), until);
      if (n < 0) return kPortFailed;
      if (n > 0 && take(n)) return done();
    }
    if (serial.failed()) return kPortFailed;
    receiver.reset();
    port.dirty = true;
    if (!send(frame)) return kPortFailed;
    if (attempt == 0) {
      firstSent = port.lastByte;
      port.sent[port.nextSent] = {command.dst, command.tns, firstSent};
      port.nextSent = (port.nextSent + 1) % static_cast<int>(port.sent.size());
    }

    sending = true;
    acknowledged = false;
    enqSent = false;
    naksSent = 0;
    attemptFailed = false;
    deadline = Clock::now() + ackWait;
    while (!attemptFailed) {
      // A frame begun in time is received to its end.
      const auto until = receiver.inFrame()
                             ? std::min(std::max(deadline, port.lastByte + timing_.guard),
                                        deadline + wireTime(baud, replyBytes))
                             : deadline;
      const int n = serial.read(input.data(), input.size(), until);
      if (n < 0) return kPortFailed;
      if (n == 0) {
        if (acknowledged || enqSent) break;
        // No ACK: ask once whether the command arrived.
        enqSent = true;
        deadline = Clock::now() + enqWait;
        if (!send(df1Control(kEnq))) return kPortFailed;
        continue;
      }
      if (take(n)) return done();
      if (serial.failed()) return kPortFailed;
    }
  }
  if (!heard) waits.halve();
  return kNoAnswer;
}

}  // namespace kvlink
