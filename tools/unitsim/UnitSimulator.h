#pragma once
// A simulated line of units on a pseudo-terminal: one or more stations of unit types 0, 1, 2
// and 4, speaking Modbus RTU or DF1 (CRC or BCC), served by a thread of its own. Tests read and
// set registers and faults while it runs, make the line vanish and come back, and switch the
// pacing of replies at the line rate on and off.

#include <atomic>
#include <cstdio>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "Fault.h"
#include "Pty.h"
#include "SimLine.h"

namespace kvlink::sim {

enum class Protocol { Modbus, Df1Crc, Df1Bcc };

struct SimOptions {
  Protocol protocol = Protocol::Modbus;
  int baud = 9600;
  bool pace = false;
  std::string linkPath;  // when set, a symbolic link to the pty slave kept up to date
};

class UnitSimulator {
 public:
  explicit UnitSimulator(SimOptions options);
  ~UnitSimulator();
  UnitSimulator(const UnitSimulator&) = delete;
  UnitSimulator& operator=(const UnitSimulator&) = delete;

  // From now on every read and write asked of the stations added after this is appended to
  // the file, a line each: milliseconds since the start, "read" or "write", station,
  // register, words or value. False when the file cannot be opened.
  bool logAccessTo(const std::string& path);
  // Adds a station (1..254) of unit type 0, 1, 2 or 4; false when the number is taken.
  bool addStation(int station, int unitType, bool logger = true);

  bool start();  // opens the pty and starts serving; false when no pty could be had
  void stop();
  bool running() const { return thread_.joinable(); }

  // The device the program opens: the link path when given, else the pty slave.
  std::string devicePath() const;
  std::string ptyPath() const;

  uint16_t reg(int station, int reg) const;
  std::vector<uint16_t> regs(int station, int first, int count) const;
  void setReg(int station, int reg, uint16_t value);
  // The records a station logs from now on, oldest first, each of 24 words.
  void keepJournal(int station);
  void holdMeters(int station, bool held);
  std::vector<std::vector<uint16_t>> journal(int station) const;

  void setFault(int station, const Fault& fault);
  void clearFault(int station) { setFault(station, Fault{}); }
  int requestCount(int station) const;
  int commandsRun(int station) const;
  // Times the master sent while a reply was still to go out: on a two-wire line, the two meet.
  int sentWhileReplyDue() const { return sentWhileReplyDue_; }

  void setPacing(bool pace);
  // Stops the clocks and meters of every station (and their logging), for exact comparisons.
  void setFrozen(bool frozen);
  // Passes `seconds` of unit time at once: clocks, meters and loggers step.
  void advance(int seconds);

  // The line goes away: the pty is closed, the program's port sees a hang-up, and the link
  // path (if any) is removed.
  void vanish();
  // A new line on a new pty; the link path (if any) points at it. False when it fails.
  bool restore();

 private:
  void serve();
  void startThread();
  void stopThread();
  std::unique_ptr<LineProtocol> makeProtocol();

  SimOptions options_;
  mutable StationTable table_;
  Pty pty_;
  std::unique_ptr<LineProtocol> protocol_;
  std::thread thread_;
  std::atomic<bool> stopping_{false};
  std::atomic<bool> pace_{false};
  std::atomic<bool> frozen_{false};
  std::atomic<int> sentWhileReplyDue_{0};
  int wake_[2] = {-1, -1};
  std::FILE* accessLog_ = nullptr;
  SimClock::time_point started_ = SimClock::now();
};

}  // namespace kvlink::sim
