#include "link/SerialPort.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <utility>

namespace kvlink {
namespace {

speed_t speedFor(int baud) {
  switch (baud) {
    case 1200:
      return B1200;
    case 2400:
      return B2400;
    case 4800:
      return B4800;
    case 9600:
      return B9600;
    default:
      return B0;
  }
}

bool configure(int fd, speed_t speed) {
  termios tio{};
  if (tcgetattr(fd, &tio) != 0) return false;
  cfmakeraw(&tio);
  tio.c_cflag &= ~static_cast<tcflag_t>(CSIZE | PARENB | CSTOPB | CRTSCTS);
  tio.c_cflag |= CS8 | CLOCAL | CREAD;
  tio.c_iflag &= ~static_cast<tcflag_t>(IXON | IXOFF | IXANY | INPCK | ISTRIP);
  tio.c_cc[VMIN] = 0;
  tio.c_cc[VTIME] = 0;
  if (cfsetispeed(&tio, speed) != 0 || cfsetospeed(&tio, speed) != 0) return false;
  if (tcsetattr(fd, TCSANOW, &tio) != 0) return false;
  tcflush(fd, TCIOFLUSH);
  return true;
}

timespec toTimespec(SerialPort::Clock::duration d) {
  if (d < SerialPort::Clock::duration::zero()) d = SerialPort::Clock::duration::zero();
  const auto ns = std::chrono::duration_cast<std::chrono::nanoseconds>(d).count();
  return timespec{static_cast<time_t>(ns / 1'000'000'000), static_cast<long>(ns % 1'000'000'000)};
}

}  // namespace

SerialPort::~SerialPort() {
  close();
}

SerialPort::OpenResult SerialPort::open(const std::string& path, int baud) {
  close();
  const speed_t speed = speedFor(baud);
  if (speed == B0) return OpenResult::BadBaud;
  const int fd = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) {
    if (errno == EBUSY) return OpenResult::Busy;
    if (errno == EACCES || errno == EPERM) return OpenResult::PermissionDenied;
    if (errno == EISDIR) return OpenResult::NotSerial;
    if (errno == ENOENT || errno == ENODEV || errno == ENXIO || errno == ENOTDIR)
      return OpenResult::NoDevice;
    return OpenResult::Failed;
  }
  if (!isatty(fd)) {
    ::close(fd);
    return OpenResult::NotSerial;
  }
  // Exclusive: flock keeps out every other open (also root's and our own second open),
  // TIOCEXCL keeps out programs that do not take the lock.
  if (flock(fd, LOCK_EX | LOCK_NB) != 0) {
    ::close(fd);
    return OpenResult::Busy;
  }
  ioctl(fd, TIOCEXCL);
  if (!configure(fd, speed)) {
    ioctl(fd, TIOCNXCL);
    ::close(fd);
    return OpenResult::Failed;
  }
  fd_ = fd;
  baud_ = baud;
  path_ = path;
  failed_ = false;
  return OpenResult::Ok;
}

std::string openFailureText(const std::string& path, SerialPort::OpenResult result) {
  using R = SerialPort::OpenResult;
  static const std::pair<R, const char*> kReasons[] = {
      {R::NoDevice, "not found"},
      {R::Busy, "in use by another program"},
      {R::PermissionDenied, "permission denied"},
      {R::NotSerial, "not a serial device"},
      {R::BadBaud, "baud rate not supported"},
      {R::Failed, "cannot be set up as a serial port"},
  };
  for (const auto& [code, reason] : kReasons)
    if (code == result) return path + ": " + reason;
  return {};
}

std::string serialOpenFailure(SerialPort& port, const std::string& path, int baud) {
  if (path.empty()) return "no serial device configured for this port";
  return openFailureText(path, port.open(path, baud));
}

bool SerialPort::reopen() {
  const std::string path = path_;
  const int baud = baud_;
  if (!path.empty() && open(path, baud) == OpenResult::Ok) return true;
  path_ = path;
  baud_ = baud;
  failed_ = true;
  return false;
}

void SerialPort::close() {
  if (fd_ >= 0) {
    // The exclusive flag stays on the terminal while anyone else holds it open: clear it.
    ioctl(fd_, TIOCNXCL);
    ::close(fd_);
  }
  fd_ = -1;
  baud_ = 0;
  path_.clear();
  failed_ = false;
}

bool SerialPort::write(std::span<const uint8_t> bytes) {
  if (fd_ < 0 || failed_) return false;
  size_t done = 0;
  const auto limit = Clock::now() + std::chrono::seconds(2);
  while (done < bytes.size()) {
    const ssize_t n = ::write(fd_, bytes.data() + done, bytes.size() - done);
    if (n > 0) {
      done += static_cast<size_t>(n);
      continue;
    }
    if (n < 0 && errno == EINTR) continue;
    if (n < 0 && errno == EAGAIN && Clock::now() < limit) {
      pollfd p{fd_, POLLOUT, 0};
      const timespec wait = toTimespec(std::chrono::milliseconds(20));
      ppoll(&p, 1, &wait, nullptr);
      continue;
    }
    failed_ = true;
    return false;
  }
  return true;
}

int SerialPort::read(uint8_t* buffer, size_t capacity, Clock::time_point deadline) {
  if (fd_ < 0 || failed_) return -1;
  for (;;) {
    const ssize_t n = ::read(fd_, buffer, capacity);
    if (n > 0) return static_cast<int>(n);
    if (n == 0) {
      // A terminal in non-canonical mode with VMIN = VTIME = 0 returns 0 when empty; only a
      // hang-up makes poll report it readable as well (checked below).
    } else if (errno != EAGAIN && errno != EINTR) {
      failed_ = true;
      return -1;
    }
    const auto now = Clock::now();
    if (now >= deadline) return 0;
    pollfd p{fd_, POLLIN, 0};
    const timespec wait = toTimespec(deadline - now);
    const int rc = ppoll(&p, 1, &wait, nullptr);
    if (rc < 0) {
      if (errno == EINTR) continue;
      failed_ = true;
      return -1;
    }
    if (rc == 0) return 0;
    if ((p.revents & (POLLERR | POLLHUP | POLLNVAL)) != 0 && (p.revents & POLLIN) == 0) {
      failed_ = true;
      return -1;
    }
    if ((p.revents & POLLIN) != 0) {
      const ssize_t m = ::read(fd_, buffer, capacity);
      if (m > 0) return static_cast<int>(m);
      if (m == 0 || (errno != EAGAIN && errno != EINTR)) {
        failed_ = true;
        return -1;
      }
    }
  }
}

int SerialPort::waitReadable(Clock::time_point deadline) {
  if (fd_ < 0 || failed_) return -1;
  for (;;) {
    pollfd p{fd_, POLLIN, 0};
    const timespec wait = toTimespec(deadline - Clock::now());
    const int rc = ppoll(&p, 1, &wait, nullptr);
    if (rc < 0 && errno == EINTR) continue;
    if (rc == 0) return 0;
    if (rc < 0 || (p.revents & POLLIN) == 0) {
      failed_ = true;  // hang-up or error without input
      return -1;
    }
    return 1;
  }
}

void SerialPort::flushInput() {
  if (fd_ < 0 || failed_) return;
  tcflush(fd_, TCIFLUSH);
  std::array<uint8_t, 256> sink{};
  for (;;) {
    const ssize_t n = ::read(fd_, sink.data(), sink.size());
    if (n > 0) continue;
    if (n < 0 && errno == EINTR) continue;
    if (n < 0 && errno != EAGAIN) failed_ = true;
    return;
  }
}

}  // namespace kvlink
