#include "LineWriter.h"

#include <poll.h>
#include <time.h>
#include <unistd.h>

#include <cerrno>

namespace kvlink::sim {

bool LineWriter::waitUntil(SimClock::time_point when) {
  for (;;) {
    if (stopping_) return false;
    const auto now = SimClock::now();
    if (now >= when) return true;
    const auto left = when - now;
    if (left < std::chrono::milliseconds(2)) {
      // Short waits: sleep to the exact time; they cannot delay a stop noticeably.
      const auto ns =
          std::chrono::duration_cast<std::chrono::nanoseconds>(when.time_since_epoch()).count();
      const timespec at{static_cast<time_t>(ns / 1'000'000'000),
                        static_cast<long>(ns % 1'000'000'000)};
      clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &at, nullptr);
      continue;
    }
    pollfd p{wake_, POLLIN, 0};
    const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(left).count();
    poll(&p, 1, static_cast<int>(ms > 1 ? ms - 1 : 1));
  }
}

void LineWriter::writeAll(std::span<const uint8_t> bytes) {
  size_t done = 0;
  int stalls = 0;
  while (done < bytes.size()) {
    const ssize_t n = ::write(master_, bytes.data() + done, bytes.size() - done);
    if (n > 0) {
      done += size_t(n);
      continue;
    }
    if (n < 0 && errno == EINTR) continue;
    // Nobody reads the line (port closed, buffer full): the rest is lost, as on a wire.
    if (n < 0 && errno == EAGAIN && ++stalls < 50) {
      pollfd p{master_, POLLOUT, 0};
      poll(&p, 1, 2);
      continue;
    }
    return;
  }
}

bool LineWriter::send(const Transmission& t, const LineSettings& line) {
  if (!waitUntil(t.notBefore)) return false;
  if (!line.pace) {
    writeAll(t.bytes);
    return true;
  }
  const SimClock::time_point start = SimClock::now();
  for (size_t i = 0; i < t.bytes.size(); ++i) {
    // A character reaches the other end when its stop bit has been sent.
    if (!waitUntil(start + lineTime(line.baud, double(i + 1)))) return false;
    writeAll(std::span<const uint8_t>(&t.bytes[i], 1));
  }
  return true;
}

}  // namespace kvlink::sim
