#include "link/ModbusMaster.h"

#include <modbus/modbus.h>

#include <algorithm>
#include <cerrno>

#include "link/ComDevice.h"
#include "link/Crc16.h"
#include "link/LinkErrors.h"
#include "link/ModbusPdu.h"
#include "link/SerialPort.h"

namespace kvlink {

struct ModbusMaster::Port {
  SerialPort serial;
  modbus_t* ctx = nullptr;
  bool dirty = false;                      // the last exchange ended without a valid reply
  SerialPort::Clock::time_point frameEnd;  // end of the last frame on the line, either way
  OwedReplies owed;
  uint64_t calls = 0;
  // Bytes heard that are not yet a whole frame, and when each came.
  std::vector<uint8_t> stray;
  std::vector<SerialPort::Clock::time_point> strayTimes;

  ~Port() { release(); }
  void release() {
    if (ctx != nullptr) {
      // The descriptor belongs to `serial`: detach it so libmodbus never closes it.
      modbus_set_socket(ctx, -1);
      modbus_free(ctx);
      ctx = nullptr;
    }
    serial.close();
  }
  void dropStray() {
    stray.clear();
    strayTimes.clear();
  }
  void restart() {
    dirty = false;
    owed.clear();
    dropStray();
    frameEnd = SerialPort::Clock::now();  // what the line carried before is unknown
  }
};

namespace {

using Clock = SerialPort::Clock;

// Longest RTU frame: what a frame begun in time may still take to arrive.
constexpr int kLongestFrameBytes = 256;
// Reads a few registers more rather than wait for a reply owed to a read of the same length.
constexpr int kMostExtraRegisters = 16;

// The length of the sound frame at the start of `frame`, CRC included; 0 when there is none.
int soundFrameBytes(std::span<const uint8_t> frame) {
  const int bytes = modbusReplyFrameBytes(frame);
  if (bytes < 2 + kModbusCrcBytes || bytes > static_cast<int>(frame.size())) return 0;
  return crc16A001(frame.first(static_cast<size_t>(bytes)), kModbusCrcStart) == 0 ? bytes : 0;
}

// Hands every sound frame in `bytes`, with the time its first byte came, to `onFrame` until it
// returns true, and drops it with the bytes before it: a sound frame is found wherever it
// begins, so that stray bytes before it (the tail of a cut frame, noise) never hide it. What
// follows the last sound frame stays: the start of a frame still incomplete.
template <typename OnFrame>
bool splitModbusFrames(std::vector<uint8_t>& bytes, std::vector<Clock::time_point>& times,
                       OnFrame onFrame) {
  for (;;) {
    const std::span<const uint8_t> all(bytes);
    size_t at = 0;
    int length = 0;
    for (; at + 2 + kModbusCrcBytes < bytes.size() && length == 0; ++at) {
      length = soundFrameBytes(all.subspan(at));
    }
    if (length == 0) return false;
    --at;
    const std::vector<uint8_t> frame(bytes.begin() + long(at), bytes.begin() + long(at) + length);
    const Clock::time_point seen = times[at];
    bytes.erase(bytes.begin(), bytes.begin() + long(at) + length);
    times.erase(times.begin(), times.begin() + long(at) + length);
    if (onFrame(std::span<const uint8_t>(frame), seen)) return true;
  }
}

}  // namespace

ModbusMaster::ModbusMaster(DeviceResolver resolver) : resolver_(std::move(resolver)) {}

ModbusMaster::~ModbusMaster() = default;

int ModbusMaster::open(int port, int baudcode) {
  const int baud = baudFromCode(baudcode);
  openFailure_.clear();
  if (port < kFirstComPort || port > kLastComPort || baud == 0) return kPortOpenFailed;
  auto& slot = ports_[port - kFirstComPort];
  slot.reset();
  auto fresh = std::make_unique<Port>();
  const std::string path = resolver_(port);
  openFailure_ = serialOpenFailure(fresh->serial, path, baud);
  if (!openFailure_.empty()) return kPortOpenFailed;
  fresh->ctx = modbus_new_rtu(path.c_str(), baud, 'N', 8, 1);
  if (fresh->ctx == nullptr || modbus_set_socket(fresh->ctx, fresh->serial.fd()) != 0) {
    return kPortOpenFailed;
  }
  // No byte time-out: the whole reply must arrive within the response time-out.
  modbus_set_byte_timeout(fresh->ctx, 0, 0);
  modbus_set_error_recovery(fresh->ctx, MODBUS_ERROR_RECOVERY_NONE);
  fresh->restart();
  slot = std::move(fresh);
  return kLinkOk;
}

int ModbusMaster::close(int port) {
  if (port < kFirstComPort || port > kLastComPort) return kPortNotOpen;
  auto& slot = ports_[port - kFirstComPort];
  if (!slot) return kPortNotOpen;
  slot.reset();
  return kLinkOk;
}

int ModbusMaster::setRetry(int count) {
  if (count < 0 || count > kMaxRetryCount) return kInvalidValue;
  retries_ = count;
  return kLinkOk;
}

ModbusMaster::Port* ModbusMaster::openPort(int port) {
  if (port < kFirstComPort || port > kLastComPort) return nullptr;
  Port* p = ports_[port - kFirstComPort].get();
  // A device that went away is opened again by the next call, so the link recovers by itself
  // once it is back; until then the call fails with kPortFailed.
  if (p != nullptr && p->serial.failed() && p->serial.reopen()) {
    modbus_set_socket(p->ctx, p->serial.fd());
    p->restart();
  }
  return p;
}

int ModbusMaster::readRegisters(uint16_t* buffer, int bufferWords, int port, int station, int reg,
                                int count) {
  Port* p = openPort(port);
  if (p == nullptr) return kPortNotOpen;
  if (buffer == nullptr || station < kModbusFirstStation || station > kModbusLastStation ||
      reg < 0 || reg > 0xFFFF || count < 1 || count > kModbusMaxReadCount || count > bufferWords ||
      reg + count - 1 > 0xFFFF) {
    return kInvalidValue;
  }
  // A read whose reply could be taken for one still owed to an earlier read of the same length
  // would have to wait until that one is past doubt: it reads a few registers more instead
  // (those before the block where there are some), so that its reply has a length of its own.
  int extra = 0;
  const auto owed = [&](int words) {
    return p->owed.owes(station, kModbusReadFunction, modbusReadReplyBytes(words), Clock::now());
  };
  while (owed(count + extra) && extra < kMostExtraRegisters &&
         count + extra < kModbusMaxReadCount &&
         (reg >= extra + 1 || reg + count + extra <= 0xFFFF)) {
    ++extra;
  }
  if (owed(count + extra)) extra = 0;
  const int first = reg >= extra ? reg - extra : reg;
  const int words = count + extra;
  std::array<uint16_t, kModbusMaxReadCount> got{};
  const int code = exchange(*p, modbusReadRequest(station, first, words),
                            modbusReadReplyBytes(words), [&](std::span<const uint8_t> frame) {
                              return checkModbusReadReply(frame, station, words, got);
                            });
  if (code == kLinkOk) std::copy_n(got.begin() + (reg - first), count, buffer);
  return code;
}

int ModbusMaster::writeRegister(int port, int station, int reg, int32_t value) {
  Port* p = openPort(port);
  if (p == nullptr) return kPortNotOpen;
  if (station < kModbusFirstStation || station > kModbusLastStation || reg < 0 || reg > 0xFFFF ||
      value < 0 || value > 0xFFFF) {
    return kInvalidValue;
  }
  const auto word = static_cast<uint16_t>(value);
  return exchange(*p, modbusWriteRequest(station, reg, word), kModbusWriteReplyBytes,
                  [&](std::span<const uint8_t> frame) {
                    return checkModbusWriteReply(frame, station, reg, word);
                  });
}

int ModbusMaster::listen(Port& port, Clock::time_point until, bool finishFrame,
                         const FrameHandler& onFrame) {
  SerialPort& serial = port.serial;
  const int baud = serial.baud();
  // Silence that ends a frame, with room for a busy machine's delivery of the line's bytes.
  const auto frameEnded = modbusQuietGap(baud, timing_);
  const auto latest = until + wireTime(baud, kLongestFrameBytes);
  for (;;) {
    auto stop = until;
    // A frame whose first byte came in time is received to its end.
    if (finishFrame && !port.strayTimes.empty() && port.strayTimes.front() < until) {
      stop = std::clamp(port.frameEnd + frameEnded, until, latest);
    }
    std::array<uint8_t, 256> chunk{};
    // A read whose deadline has passed still takes what is waiting in the input.
    const int n = serial.read(chunk.data(), chunk.size(), stop);
    if (n < 0) return kPortFailed;
    const auto now = Clock::now();
    if (n == 0) {
      if (now < stop) continue;
      if (now - port.frameEnd >= frameEnded) port.dropStray();
      return kNoAnswer;
    }
    if (now - port.frameEnd >= frameEnded || port.stray.size() > 2 * kLongestFrameBytes) {
      port.dropStray();  // what came before is a frame that ended unsound
    }
    port.frameEnd = now;
    port.stray.insert(port.stray.end(), chunk.begin(), chunk.begin() + n);
    port.strayTimes.insert(port.strayTimes.end(), size_t(n), now);
    int code = kNoAnswer;
    splitModbusFrames(port.stray, port.strayTimes,
                      [&](std::span<const uint8_t> frame, Clock::time_point seen) {
                        code = onFrame(frame, seen);
                        return code != kNoAnswer;
                      });
    if (code != kNoAnswer) return code;
  }
}

// RTU frames carry no transaction number: which reply answers which request is settled by
// OwedReplies, from the order in which a station answers and the times of the replies. A
// request waits until the line is quiet and no owed reply is in its way; replies heard
// meanwhile are thrown away (and teach how long their station takes), but between the attempts
// of one call a reply that can only be to that call answers it.
int ModbusMaster::exchange(Port& port, const std::vector<uint8_t>& request, int replyBytes,
                           const ReplyCheck& check) {
  SerialPort& serial = port.serial;
  const int baud = serial.baud();
  const int requestBytes = static_cast<int>(request.size()) + kModbusCrcBytes;
  const OwedReplies::Call call{request[0], ++port.calls, request[1], replyBytes};
  const auto timeout = modbusLearnedTimeout(
      baud, requestBytes, replyBytes,
      std::chrono::duration_cast<std::chrono::microseconds>(port.owed.replyWait(call.station)),
      kLongestLearnedTimeout, timing_);
  // A write is sent again only once the reply to the one before is past doubt: a late reply
  // then finishes it, and the unit does not carry it out twice.
  const bool waitOwn = call.function == kModbusWriteFunction;
  bool heard = false;
  // A reply came that may be a lost request's: asked again once the station owes nothing.
  bool inDoubt = false;
  const auto finish = [&](int code) {
    port.owed.ended(call, code != kNoAnswer && code != kPortFailed, heard);
    if (code != kNoAnswer && code != kPortFailed) port.dirty = false;
    return code;
  };
  // A sound frame whose first byte came at `seen`: the answer to this call, or thrown away.
  const FrameHandler consider = [&](std::span<const uint8_t> frame, Clock::time_point seen) {
    const auto now = Clock::now();
    const int bytes = static_cast<int>(frame.size());
    if (frame[0] == call.station) {
      heard = true;
      switch (port.owed.pairing(call, frame[1], bytes, seen, now)) {
        case OwedReplies::Pairing::InDoubt:
          inDoubt = true;
          return int{kNoAnswer};
        case OwedReplies::Pairing::Answer:
          if (const int code = check(frame.first(bytes - kModbusCrcBytes)); code != kNoAnswer) {
            port.owed.taken(call, frame[1], bytes, seen);
            return code;
          }
          break;
        case OwedReplies::Pairing::NotOurs:
          break;
      }
    }
    port.owed.thrownAway(frame[0], frame[1], bytes, seen, now);
    return int{kNoAnswer};
  };

  for (int attempt = 0; attempt <= retries_; ++attempt) {
    if (serial.failed()) return finish(kPortFailed);
    // The request starts after the silence that ends the frame before it, and once no owed
    // reply is in its way.
    const auto gap = port.dirty ? modbusQuietGap(baud, timing_) : modbusFrameGap(baud);
    const auto limit = Clock::now() + 2 * kLongestLearnedTimeout + gap;
    for (;;) {
      const auto now = Clock::now();
      const auto clear =
          std::max(port.frameEnd + gap, port.owed.clearAt(call, waitOwn, inDoubt, now));
      if (now >= clear || now >= limit) break;
      const int code = listen(port, std::min(clear, limit), false, consider);
      if (code != kNoAnswer) return finish(code);
    }
    inDoubt = false;
    port.dropStray();
    port.dirty = true;
    const auto sent = Clock::now();
    if (modbus_send_raw_request(port.ctx, request.data(), static_cast<int>(request.size())) < 0) {
      serial.markFailed();
      return finish(kPortFailed);
    }
    port.owed.sent(call, sent, timeout);
    // The request has left the line by the time its reply or the time-out comes: what ends
    // the attempt ends the last frame.
    const auto deadline = Clock::now() + timeout;
    const int code = listen(port, deadline, true, consider);
    if (code != kNoAnswer) return finish(code);
    port.frameEnd = std::max(port.frameEnd, Clock::now());
  }
  return finish(kNoAnswer);
}

}  // namespace kvlink
