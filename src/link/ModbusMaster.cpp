#include "link/ModbusMaster.h"

#include <modbus/modbus.h>

#include <algorithm>
#include <cerrno>

#include "link/ComDevice.h"
#include "link/LinkErrors.h"
#include "link/ModbusPdu.h"
#include "link/SerialPort.h"

namespace kvlink {

struct ModbusMaster::Port {
  SerialPort serial;
  modbus_t* ctx = nullptr;
  bool dirty = false;                      // the last exchange ended without a valid reply
  SerialPort::Clock::time_point frameEnd;  // end of the last frame on the line, either way
  // Replies that may still come: an attempt got none in time, or a retry took the reply of
  // the attempt before it. Each is owed until one whole time-out after the time-out of the
  // last attempt of its call.
  struct Owed {
    uint8_t station;
    uint8_t function;
    SerialPort::Clock::time_point until;
  };
  std::vector<Owed> owed;

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
  fresh->frameEnd = SerialPort::Clock::now();  // what the line carried before is unknown
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
    p->dirty = false;
    p->owed.clear();
    p->frameEnd = SerialPort::Clock::now();
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

int ModbusMaster::exchange(Port& port, const std::vector<uint8_t>& request, int replyBytes,
                           const ReplyCheck& check) {
  using Clock = SerialPort::Clock;
  SerialPort& serial = port.serial;
  const int baud = serial.baud();
  const int requestBytes = static_cast<int>(request.size()) + kModbusCrcBytes;
  const auto timeout = modbusTimeout(baud, requestBytes, replyBytes, timing_);
  std::array<uint8_t, MODBUS_RTU_MAX_ADU_LENGTH> reply{};
  modbus_set_slave(port.ctx, request[0]);

  // RTU frames carry no transaction number: a reply still owed to an earlier request of this
  // station and function could be taken for this one (an exception reply fits any request of
  // its function, and an earlier identical request may have been answered with other values).
  // This request waits until such a reply is a whole time-out overdue; what arrives meanwhile
  // is discarded. Within the call, a retry may take the late reply to the attempt it repeats:
  // the station's answer to this very request.
  const uint8_t station = request[0];
  const uint8_t function = request[1];
  const auto start = Clock::now();
  std::erase_if(port.owed, [&](const Port::Owed& o) { return o.until <= start; });
  Clock::time_point notBefore{};
  for (const Port::Owed& o : port.owed) {
    if (o.station == station && o.function == function) notBefore = std::max(notBefore, o.until);
  }
  int sent = 0;
  Clock::time_point lastSent;
  const auto settle = [&](int code) {
    if (code == kNoAnswer || sent > 1) {
      port.owed.push_back({station, function, lastSent + 2 * timeout});
    }
    return code;
  };

  for (int attempt = 0; attempt <= retries_; ++attempt) {
    if (serial.failed()) return kPortFailed;
    // The request starts after the silence that ends the frame before it; a late reply to an
    // earlier request is discarded meanwhile.
    const auto gap = port.dirty ? modbusQuietGap(baud, timing_) : modbusFrameGap(baud);
    const auto limit = std::max(Clock::now(), notBefore) + gap + timeout;
    if (!serial.waitQuiet(gap, port.frameEnd, limit, notBefore)) return kPortFailed;
    port.dirty = true;
    ++sent;
    lastSent = Clock::now();
    if (modbus_send_raw_request(port.ctx, request.data(), static_cast<int>(request.size())) < 0) {
      serial.markFailed();
      return kPortFailed;
    }
    // The request has left the line by the time its reply or the time-out comes: what ends
    // the attempt ends the last frame.
    const auto deadline = Clock::now() + timeout;
    for (;;) {
      const auto remaining = deadline - Clock::now();
      if (remaining <= Clock::duration::zero()) break;
      setTimeout(port.ctx, remaining);
      const int length = modbus_receive_confirmation(port.ctx, reply.data());
      port.frameEnd = std::max(port.frameEnd, Clock::now());
      if (length < 0) {
        if (isPortError(errno)) {
          serial.markFailed();
          return kPortFailed;
        }
        break;  // time-out, bad CRC, garbled frame: this attempt failed
      }
      if (length == 0) continue;  // a frame of another station: not ours, keep listening
      if (length < 2 + kModbusCrcBytes) break;
      const int code = check(std::span<const uint8_t>(reply.data(), length - kModbusCrcBytes));
      if (code != kNoAnswer) {
        port.dirty = false;
        return settle(code);
      }
      // A sound frame of our station that does not answer this request (a late reply to an
      // earlier one): dropped; ours may still follow.
    }
  }
  return settle(kNoAnswer);
}

}  // namespace kvlink
