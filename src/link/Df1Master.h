#pragma once
// DF1 full-duplex master: unprotected read and write of a unit's memory by byte address, with
// the DLE ACK / NAK / ENQ handshake, retries and the matching of replies on command,
// transaction number and station.

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <span>

#include "link/Df1Frame.h"
#include "link/Df1Pdu.h"
#include "link/LinkTiming.h"
#include "link/ModbusMaster.h"  // DeviceResolver
#include "link/OwedReplies.h"   // RecentReplyWaits
#include "link/SerialPort.h"

namespace kvlink {

class Df1Master {
 public:
  // Our own node address, the source of every command.
  static constexpr int kSourceAddress = 0;

  explicit Df1Master(DeviceResolver resolver);
  ~Df1Master();
  Df1Master(const Df1Master&) = delete;
  Df1Master& operator=(const Df1Master&) = delete;

  int open(int port, int baudcode);
  int close(int port);
  int setRetry(int count);
  int setCheckMode(int mode);  // 0 = CRC-16, 1 = BCC
  int sendControl(int port, int code);
  int read(uint16_t* buffer, int bufferWords, int port, int station, int address, int bytecount);
  int write(int port, int station, int address, int32_t value);

  void setTiming(const LinkTiming& timing) { timing_ = timing; }
  Df1Check check() const { return check_; }
  // Device path and reason of the last failed open; empty after a good one.
  const std::string& lastOpenFailure() const { return openFailure_; }

 private:
  // A command sent lately: a reply to it that comes in a later call still tells how long its
  // station takes.
  struct Sent {
    int station = -1;
    uint16_t tns = 0;
    SerialPort::Clock::time_point at;
  };
  struct Port {
    SerialPort serial;
    bool dirty = false;                         // the last transaction ended without a valid reply
    SerialPort::Clock::time_point lastByte;     // the last byte on the line, either way
    std::array<RecentReplyWaits, 256> waits{};  // per station
    std::array<Sent, 8> sent{};                 // the last commands, a ring
    int nextSent = 0;
  };
  using MakeCommand = std::function<Df1Command(uint16_t tns)>;
  using ReplyCheck = std::function<int(std::span<const uint8_t> reply)>;

  Port* openPort(int port);
  int transact(Port& port, const MakeCommand& make, int replyDataBytes, const ReplyCheck& check,
               bool write);
  // Learns from a sound reply of `station` with `tns` how long the station takes; true when it
  // has shown it takes longer than lately.
  bool learnFrom(Port& port, int station, uint16_t tns);
  uint16_t nextTns() { return ++tns_; }

  DeviceResolver resolver_;
  std::array<std::unique_ptr<Port>, 4> ports_;
  int retries_ = kDefaultRetryCount;
  Df1Check check_ = Df1Check::Crc;
  LinkTiming timing_;
  uint16_t tns_;
  std::string openFailure_;
};

}  // namespace kvlink
