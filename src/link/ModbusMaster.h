#pragma once
// Modbus RTU master on libmodbus: framing, CRC and reception by libmodbus on our own serial
// port; retries, the pairing of replies with requests (OwedReplies) and the checks of every
// reply here.

#include <array>
#include <chrono>
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
  // A sound frame and the time its first byte came: a code other than kNoAnswer ends the call.
  using FrameHandler =
      std::function<int(std::span<const uint8_t> frame, std::chrono::steady_clock::time_point)>;

  Port* openPort(int port);
  // Hands the sound frames the line brings until `until` to `onFrame`; with `finishFrame`, a
  // frame begun by then is received to its end. kNoAnswer at `until`, the first other code
  // `onFrame` gave, or kPortFailed.
  int listen(Port& port, std::chrono::steady_clock::time_point until, bool finishFrame,
             const FrameHandler& onFrame);
  int exchange(Port& port, const std::vector<uint8_t>& request, int replyBytes,
               const ReplyCheck& check);

  DeviceResolver resolver_;
  std::array<std::unique_ptr<Port>, 4> ports_;
  int retries_ = kDefaultRetryCount;
  LinkTiming timing_;
  std::string openFailure_;
};

}  // namespace kvlink
