#pragma once
// Faults that a simulated station can be told to show, one at a time.

#include <chrono>
#include <cstdint>
#include <random>
#include <string>
#include <vector>

namespace kvlink::sim {

enum class FaultKind {
  None,
  Silent,          // hears nothing, answers nothing
  SilentToWrites,  // answers reads; hears writes as Silent does: neither carried out nor answered
  BadCheck,        // reply with wrong CRC / BCC
  Truncated,       // only the first half of the reply
  Garbage,         // random bytes instead of the reply
  Late,            // the reply comes after `late` (DF1: the ACK at once)
  WrongStation,    // the reply names another station
  Exception,       // Modbus exception reply / DF1 reply with STS != 0
  Duplicate,       // the reply is sent twice
  ForeignFirst,    // a reply naming another station comes just before the right one
  NoiseFirst,      // a stray byte (line noise) comes just before the reply
};

struct Fault {
  FaultKind kind = FaultKind::None;
  int count = -1;  // replies affected; -1 = until cleared
  std::chrono::milliseconds late{500};
  std::chrono::milliseconds lateSpread{0};  // Late: each reply up to this much later still
  int latePercent = 100;                    // Late: share of the replies that come late
  int code = 0;          // exception code (Modbus, default 02) or STS (DF1, default 0x10)
  int otherStation = 0;  // WrongStation: the station named (default: the next one)
};

FaultKind faultKindFromName(const std::string& name);  // "silent", "badcheck", ...; None if unknown

// Uses up one reply of `fault` and returns the kind in force for it.
FaultKind takeFault(Fault& fault);

// How long after its request a Late reply comes: `late`, plus a random share of `lateSpread`;
// zero for the replies that `latePercent` leaves on time.
std::chrono::milliseconds lateDelay(const Fault& fault, std::mt19937& rng);

// BadCheck, Truncated, Garbage and NoiseFirst change the encoded reply; other kinds leave it.
std::vector<uint8_t> damageReply(FaultKind kind, std::vector<uint8_t> frame, std::mt19937& rng);

}  // namespace kvlink::sim
