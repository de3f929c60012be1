// What the line itself allows an exchange: characters on the wire and the
// silences the protocol requires, and the benchmark counters that hold a
// measured wall time against them.
#pragma once

#include <benchmark/benchmark.h>

#include "link/Df1Frame.h"

namespace kvlink::bench {

// Characters on the line for a read of `words` registers. DF1 counts the
// station's ACK but neither the master's NAK before the command nor its ACK
// after the reply: the simulator does not pace what the master sends outside a
// command frame.
inline int readChars(bool modbus, Df1Check check, int words) {
  if (modbus) return 8 + 5 + 2 * words;
  return df1FrameBytes(9, check) + 2 + df1FrameBytes(6 + 2 * words, check);
}

inline int writeChars(bool modbus, Df1Check check) {
  if (modbus) return 8 + 8;
  return df1FrameBytes(10, check) + 2 + df1FrameBytes(6, check);
}

// Silence the protocol requires per exchange, in characters of 10 bits: a
// Modbus RTU unit knows a request has ended after 3.5 quiet characters, and the
// master starts its next request t3.5 (3.5 characters of 11 bits) after the
// reply.
inline double gapChars(bool modbus) {
  return modbus ? 3.5 + 3.5 * 11 / 10 : 0.0;
}

// wall_ms: mean time of one iteration; wire_ms: its characters at 10 bits;
// ratio: the two divided; floor: the least ratio the protocol allows, from the
// silences it requires; vs_floor: wall time against that floor, with its target.
inline void reportAgainstFloor(benchmark::State& state, double totalMs, int baud, bool modbus,
                               int chars, int exchanges, const char* target = "vs_floor<=1.10") {
  const auto ms = [baud](double c) { return c * 10.0 * 1000.0 / baud; };
  const double mean = totalMs / static_cast<double>(state.iterations());
  const double wire = ms(chars);
  const double floor = ms(chars + exchanges * gapChars(modbus));
  state.counters["wall_ms"] = mean;
  state.counters["wire_ms"] = wire;
  state.counters["ratio"] = mean / wire;
  state.counters["floor"] = floor / wire;
  state.counters["vs_floor"] = mean / floor;
  state.SetLabel(target);
}

}  // namespace kvlink::bench
