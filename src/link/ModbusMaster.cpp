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
  SerialPort::Clock::time_point watched;   // the line was last watched until then
  OwedReplies owed;
  uint64_t calls = 0;
  std::vector<uint8_t> stray;  // bytes heard between exchanges, not yet a whole frame

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
  void restart() {
    dirty = false;
    owed.clear();
    stray.clear();
    frameEnd = watched = SerialPort::Clock::now();  // what the line carried before is unknown
  }
};

namespace {

bool isPortError(int err) {
  return err == ECONNRESET || err == EIO || err == EBADF || err == ENXIO || err == ENODEV ||
         err == EPIPE;
}

void setTimeout(modbus_t* ctx, SerialPort::Clock::duration d) {
  auto us = std::chrono::duration_cast<std::chrono::microseconds>(d).count();
  us = std::max<long long>(us, 1000);
  modbus_set_response_timeout(ctx, static_cast<uint32_t>(us / 1'000'000),
                              static_cast<uint32_t>(us % 1'000'000));
}

// The length of the sound frame at the start of `frame`, CRC included; 0 when there is none.
template <typename Buffer>
int soundFrameBytes(const Buffer& frame) {
  const int bytes = modbusReplyFrameBytes(std::span<const uint8_t>(frame.data(), frame.size()));
  if (bytes < 2 + kModbusCrcBytes || bytes > static_cast<int>(frame.size())) return 0;
  const std::span<const uint8_t> whole(frame.data(), static_cast<size_t>(bytes));
  return crc16A001(whole, kModbusCrcStart) == 0 ? bytes : 0;
}

// Hands every sound frame at the head of `bytes` to `onFrame` and drops it; bytes that begin no
// frame are dropped one at a time; the start of a frame still incomplete stays.
template <typename OnFrame>
void splitModbusFrames(std::vector<uint8_t>& bytes, OnFrame onFrame) {
  while (bytes.size() >= 2) {
    const int need = modbusReplyFrameBytes(bytes);
    if (need == 0 || (need > 0 && need > static_cast<int>(bytes.size()))) return;
    const int length = soundFrameBytes(bytes);
    if (length == 0) {
      bytes.erase(bytes.begin());
      continue;
    }
    onFrame(std::span<const uint8_t>(bytes.data(), static_cast<size_t>(length)));
    bytes.erase(bytes.begin(), bytes.begin() + length);
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
  std::array<uint16_t, kModbusMaxReadCount> words{};
  const int code = exchange(*p, modbusReadRequest(station, reg, count), modbusReadReplyBytes(count),
                            [&](std::span<const uint8_t> frame) {
                              return checkModbusReadReply(frame, station, count, words);
                            });
  if (code == kLinkOk) std::copy_n(words.begin(), count, buffer);
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

// RTU frames carry no transaction number: which reply answers which request is settled by
// OwedReplies, from the order in which a station answers and the times of the replies. A
// request waits until the line is quiet and no owed reply is in its way; replies heard
// meanwhile are thrown away (and teach how long their station takes), but between the attempts
// of one call a reply that can only be to that call answers it.
int ModbusMaster::exchange(Port& port, const std::vector<uint8_t>& request, int replyBytes,
                           const ReplyCheck& check) {
  using Clock = SerialPort::Clock;
  SerialPort& serial = port.serial;
  const int baud = serial.baud();
  const int requestBytes = static_cast<int>(request.size()) + kModbusCrcBytes;
  const OwedReplies::Call call{request[0], ++port.calls, request[1], replyBytes};
  const auto timeout = modbusLearnedTimeout(
      baud, requestBytes, replyBytes,
      std::chrono::duration_cast<std::chrono::microseconds>(port.owed.replyWait(call.station)),
      kLongestReplyWait, timing_);
  // A write is sent again only once the reply to the one before is due no longer: a late
  // reply then finishes it, and the unit does not carry it out twice.
  const bool waitOwn = call.function == kModbusWriteFunction;
  std::array<uint8_t, MODBUS_RTU_MAX_ADU_LENGTH> reply{};
  modbus_set_slave(port.ctx, call.station);
  bool heard = false;
  const auto finish = [&](int code) {
    port.owed.ended(call, code != kNoAnswer && code != kPortFailed, heard);
    port.watched = Clock::now();
    if (code != kNoAnswer && code != kPortFailed) port.dirty = false;
    return code;
  };
  // A sound frame seen no sooner than `seen`: the answer to this call, or thrown away.
  const auto consider = [&](std::span<const uint8_t> frame, int bytes,
                            Clock::time_point seen) -> int {
    const auto now = Clock::now();
    if (frame[0] == call.station && port.owed.onlyFor(call, frame[1], bytes, now)) {
      const int code = check(frame.first(bytes - kModbusCrcBytes));
      if (code != kNoAnswer) {
        port.owed.taken(call, seen);
        return code;
      }
    }
    heard = heard || frame[0] == call.station;
    port.owed.thrownAway(frame[0], frame[1], bytes, seen, now);
    return kNoAnswer;
  };

  for (int attempt = 0; attempt <= retries_; ++attempt) {
    if (serial.failed()) return finish(kPortFailed);
    // The request starts after the silence that ends the frame before it, and once no owed
    // reply is in its way.
    const auto gap = port.dirty ? modbusQuietGap(baud, timing_) : modbusFrameGap(baud);
    const auto limit = Clock::now() + 2 * kLongestReplyWait + gap;
    auto quietSince = port.frameEnd;
    for (;;) {
      const auto now = Clock::now();
      const auto clear = std::max(quietSince + gap, port.owed.clearAt(call, waitOwn, now));
      // A read whose deadline has passed still takes what is waiting in the input.
      std::array<uint8_t, 256> chunk{};
      const int n = serial.read(chunk.data(), chunk.size(), std::min(clear, limit));
      if (n < 0) return finish(kPortFailed);
      if (n == 0) {
        port.watched = Clock::now();
        if (port.watched >= clear || port.watched >= limit) break;
        continue;
      }
      quietSince = Clock::now();
      port.stray.insert(port.stray.end(), chunk.begin(), chunk.begin() + n);
      int code = kNoAnswer;
      splitModbusFrames(port.stray, [&](std::span<const uint8_t> frame) {
        if (code == kNoAnswer) code = consider(frame, static_cast<int>(frame.size()), port.watched);
      });
      port.watched = quietSince;
      if (code != kNoAnswer) return finish(code);
    }
    port.stray.clear();
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
    for (;;) {
      const int ready = serial.waitReadable(deadline);
      if (ready < 0) return finish(kPortFailed);
      if (ready == 0) break;
      const auto seen = Clock::now();
      if (seen >= deadline) break;
      setTimeout(port.ctx, deadline - seen);
      const int length = modbus_receive_confirmation(port.ctx, reply.data());
      port.frameEnd = std::max(port.frameEnd, Clock::now());
      if (length < 0) {
        if (isPortError(errno)) {
          serial.markFailed();
          return finish(kPortFailed);
        }
        break;  // time-out, bad CRC, garbled frame: this attempt failed
      }
      // libmodbus gives 0 for a frame of another station, which it has read all the same.
      const int bytes = length > 0 ? length : soundFrameBytes(reply);
      if (bytes < 2 + kModbusCrcBytes) {
        if (length == 0) continue;
        break;
      }
      const int code = consider(std::span<const uint8_t>(reply.data(), bytes), bytes, seen);
      if (code != kNoAnswer) return finish(code);
      // Not the answer to this request (a late reply to an earlier one): thrown away; ours may
      // still follow.
    }
    port.watched = Clock::now();
    port.frameEnd = std::max(port.frameEnd, port.watched);
  }
  return finish(kNoAnswer);
}

}  // namespace kvlink
