#pragma once
// Sends the simulator's bytes into the pty master: at a given time, all at once or paced at the
// line rate (one character every 10 / baud seconds). Waits can be interrupted.

#include <atomic>
#include <span>

#include "SimLine.h"

namespace kvlink::sim {

class LineWriter {
 public:
  LineWriter(int masterFd, int wakeFd, const std::atomic<bool>& stopping)
      : master_(masterFd), wake_(wakeFd), stopping_(stopping) {}

  // False when the simulator is stopping.
  bool send(const Transmission& t, const LineSettings& line);

 private:
  bool waitUntil(SimClock::time_point when);
  void writeAll(std::span<const uint8_t> bytes);

  int master_;
  int wake_;
  const std::atomic<bool>& stopping_;
};

}  // namespace kvlink::sim
