#pragma once
// What the line protocols of the simulator share: the stations on the line, the clock of the
// line, and the bytes they want sent.

#include <chrono>
#include <cstdint>
#include <map>
#include <mutex>
#include <random>
#include <span>
#include <vector>

#include "Fault.h"
#include "UnitModel.h"

namespace kvlink::sim {

using SimClock = std::chrono::steady_clock;

struct Station {
  UnitModel model;
  Fault fault;
  int requests = 0;  // frames addressed to this station that it heard
};

// Shared between the serving thread and the accessors; every field under `mutex`.
struct StationTable {
  std::mutex mutex;
  std::map<int, Station> stations;
  std::mt19937 rng{20240527};

  Station* find(int station) {
    auto it = stations.find(station);
    return it == stations.end() ? nullptr : &it->second;
  }
};

struct Transmission {
  std::vector<uint8_t> bytes;
  SimClock::time_point notBefore;
  // A DF1 link response (ACK, NAK): a full-duplex station sends it at once, between the replies
  // it still has to send.
  bool response = false;
};

struct LineSettings {
  int baud = 9600;
  bool pace = false;
};

// Time on the line of `bytes` characters (10 bits each).
inline SimClock::duration lineTime(int baud, double bytes) {
  return std::chrono::duration_cast<SimClock::duration>(
      std::chrono::duration<double>(bytes * 10.0 / baud));
}

class LineProtocol {
 public:
  virtual ~LineProtocol() = default;
  // Bytes received from the master at `now`.
  virtual std::vector<Transmission> onBytes(std::span<const uint8_t> bytes,
                                            SimClock::time_point now, const LineSettings& line) = 0;
  // Called when nothing arrived for a while; may drop an unfinished frame.
  virtual void onIdle(SimClock::time_point now, const LineSettings& line) = 0;
};

}  // namespace kvlink::sim
