#pragma once
// One simulated unit: its registers and what it does with them. Set points 0..17, the
// status/meter block 24..42 with the identification word 39, firmware revision 43, command
// register 120, BCD clock 128..131, logger configuration 132..138 and 250 logger records of
// 24 words from register 192. Meters move slowly, the clock ticks, the logger records.

#include <array>
#include <cstdint>
#include <functional>
#include <random>
#include <span>
#include <vector>

#include "UnitClock.h"
#include "UnitRegisters.h"

namespace kvlink::sim {

class UnitModel {
 public:
  UnitModel(int unitType, bool logger, uint32_t seed, UnitClock clock);

  int unitType() const { return type_; }
  bool motorFamily() const { return type_ == 0 || type_ == 2; }

  uint16_t get(int reg) const;
  void set(int reg, uint16_t value);  // test access: any register, no side effects

  // Modbus view: 0 or an exception code (kIllegalAddress, kIllegalValue).
  int read(int reg, int count, std::span<uint16_t> out) const;
  int write(int reg, uint16_t value);
  // Told of every read (words) and write (value) the line asks for, taken or not.
  std::function<void(const char* what, int reg, int wordsOrValue)> onAccess;
  // Commands written to the command register and carried out, since the start.
  int commandsRun() const { return commandsRun_; }

  // One second passes: clock, meters, logger, the end of the thermal-reset warning.
  void tick();

  // Logs one record of the present values as record 0; the older ones move up by one.
  void logRecord();
  // Meters that stand still (a stopped motor, an open breaker): every record
  // logged then reads alike while the clock is off too.
  void holdMeters(bool held) { metersHeld_ = held; }
  // From now on every record logged is also kept here, oldest first (for measurements).
  void keepJournal() { journalOn_ = true; }
  const std::vector<std::vector<uint16_t>>& journal() const { return journal_; }

 private:
  int runCommand(uint16_t code);
  void refreshClock();
  void moveMeters();
  void capturePreTrip();
  bool running() const { return (regs_[kStatusWord] & kStatusRunning) != 0; }

  int type_;
  std::array<uint16_t, kRegisterCount> regs_{};
  std::array<uint16_t, kRegisterCount> nominal_{};  // meters wander around these
  UnitClock clock_;
  std::mt19937 rng_;
  int secondsSinceSample_ = 0;
  int etrSecondsLeft_ = 0;
  int commandsRun_ = 0;
  bool journalOn_ = false;
  bool metersHeld_ = false;
  std::vector<std::vector<uint16_t>> journal_;
};

}  // namespace kvlink::sim
