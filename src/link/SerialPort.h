#pragma once
// A serial device opened for the unit link: raw, 8 data bits, no parity, 1 stop bit, no flow
// control, held exclusively. After an I/O error (device unplugged) the port stays failed until
// it is opened again (open or reopen).

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

namespace kvlink {

class SerialPort {
 public:
  using Clock = std::chrono::steady_clock;

  enum class OpenResult { Ok, NoDevice, Busy, PermissionDenied, NotSerial, BadBaud, Failed };

  SerialPort() = default;
  ~SerialPort();
  SerialPort(const SerialPort&) = delete;
  SerialPort& operator=(const SerialPort&) = delete;

  OpenResult open(const std::string& path, int baud);
  // A failed port opens its device again at the same rate (the USB adapter is back). True
  // when the port works again; otherwise it stays failed and a later reopen tries again.
  bool reopen();
  void close();

  bool isOpen() const { return fd_ >= 0; }
  bool failed() const { return failed_; }
  int fd() const { return fd_; }
  int baud() const { return baud_; }

  // Writes every byte; false (and the port failed) on an I/O error.
  bool write(std::span<const uint8_t> bytes);

  // Waits until `deadline` for input. Returns the number of bytes read, 0 on time-out,
  // -1 when the port failed.
  int read(uint8_t* buffer, size_t capacity, Clock::time_point deadline);

  // Waits until `deadline` for input without taking it: 1 when there is some, 0 on time-out,
  // -1 when the port failed.
  int waitReadable(Clock::time_point deadline);

  // Discards everything received so far.
  void flushInput();

  // Records an I/O error seen by code that works on fd() directly.
  void markFailed() { failed_ = true; }

 private:
  int fd_ = -1;
  int baud_ = 0;
  std::string path_;
  bool failed_ = false;
};

// "<path>: <reason>" for a failed open: not found, in use, permission denied, not a serial
// device, ...; empty for OpenResult::Ok.
std::string openFailureText(const std::string& path, SerialPort::OpenResult result);

// Opens `port` on `path` at `baud`: empty when it opened, else openFailureText (or a note that
// no device is configured when `path` is empty).
std::string serialOpenFailure(SerialPort& port, const std::string& path, int baud);

}  // namespace kvlink
