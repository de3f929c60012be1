#pragma once
// Modbus RTU master on libmodbus: framing, CRC and reception by libmodbus on our own serial
// port; retries, the pairing of replies with requests (OwedReplies) and the checks of every
// reply here.

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "link/LinkTiming.h"
#include "link/OwedReplies.h"

namespace kvlink {

using DeviceResolver = std::function<std::string(int port)>;

class ModbusMaster {
 public:
  explicit ModbusMaster(DeviceResolver resolver);
  ~ModbusMaster();
  ModbusMaster(const ModbusMaster&) = delete;
  ModbusMaster& operator=(const ModbusMaster&) = delete;

  int open(int port, int baudcode);
  int close(int port);
  int setRetry(int count);
  int readRegisters(uint16_t* buffer, int bufferWords, int port, int station, int reg, int count);
  int writeRegister(int port, int station, int reg, int32_t value);

  void setTiming(const LinkTiming& timing) { timing_ = timing; }
  int retryCount() const { return retries_; }
  // Device path and reason of the last failed open; empty after a good one.
  const std::string& lastOpenFailure() const { return openFailure_; }

 private:
  struct Port;
  using ReplyCheck = std::function<int(std::span<const uint8_t> frame)>;

  Port* openPort(int port);
  int exchange(Port& port, const std::vector<uint8_t>& request, int replyBytes,
               const ReplyCheck& check);

  DeviceResolver resolver_;
  std::array<std::unique_ptr<Port>, 4> ports_;
  int retries_ = kDefaultRetryCount;
  LinkTiming timing_;
  std::string openFailure_;
};

}  // namespace kvlink
