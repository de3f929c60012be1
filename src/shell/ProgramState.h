#pragma once
// The program's shared state: the module-level variables every window and
// the poll read and write, kept under their own names in plain structs so
// that a test starts from a fresh set.

#include <array>
#include <cstdint>

#include "PolledValues.h"

namespace kvlink {

constexpr int16_t kWindowClosed = 10;
constexpr int16_t kUnitTypeUnknown = 99;
constexpr int kReadBufferEntries = 41;

// Serial link settings and the selected station.
struct LinkState {
  int16_t CommPort = 1;     // 1 to 4
  int16_t BaudCode = 96;    // baud / 100: 12, 24, 48, 96
  uint8_t UseModbus = 0;    // nonzero: Modbus RTU, 0: DF1
  int16_t CheckMode = 0;    // DF1: 0 CRC, 1 BCC
  int16_t CommEnabled = 0;  // 1 once the link was opened or tried
  int16_t CurrentStation = 1;
  // A link key (port, baud, protocol, check mode) was missing from the settings
  // file at start and Enable has not written them yet.
  bool serialKeysMissing = false;

  // The link as it was opened, so that it is closed through the same library
  // on the same port; linkOpen is what LinkIsOpen() reports.
  bool linkOpen = false;
  int16_t openPort = 0;
  bool openModbus = false;

  // Counts of the changes of the link (Disable, Enable, a link setting) and
  // of the station read (a change of CurrentStation or of the link): what was
  // read or shown under an earlier count is another line's or station's.
  uint32_t linkChanges = 0;
  uint32_t stationChanges = 0;
};

// One state per window kind: the unit type whose variant is on screen, or
// kWindowClosed.
struct WindowStates {
  int16_t MeterWindowState = kWindowClosed;
  int16_t PreTripWindowState = kWindowClosed;
  int16_t SetPointWindowState = kWindowClosed;
  int16_t CTWindowState = kWindowClosed;
  int16_t ResetWindowState = kWindowClosed;
  int16_t ProgramModeWindowState = kWindowClosed;

  void closeAll() { *this = WindowStates{}; }
};

// Commands queued by the reset panels, written by the next answered poll.
struct CommandRequests {
  bool PendingTripReset = false;
  bool PendingAlarmLatchReset = false;
  bool PendingClearPeak = false;
  bool PendingEmergencyThermalReset = false;
  bool PendingReEnableTemp = false;
  bool PendingRemoteStart = false;
  bool PendingRemoteTrip = false;

  void dropAll() { *this = CommandRequests{}; }
  bool any() const {
    return PendingTripReset || PendingAlarmLatchReset || PendingClearPeak ||
           PendingEmergencyThermalReset || PendingReEnableTemp || PendingRemoteStart ||
           PendingRemoteTrip;
  }
};

// What the poll knows of the selected station and of the network scan.
struct PollState {
  int16_t UnitType = 0;
  int16_t PollStatus = 0;
  int NoResponseCount = 0;  // passes in a row without an answer
  bool passRunning = false;
  PolledValues values;
  // Station whose set-point block filled the set-point values last; 0 when
  // none was read since the current station became current.
  int16_t setPointsReadFrom = 0;

  int16_t ScanActive = 0;
  int16_t ScanStation = 1;
  int16_t ScanEligibleCount = 63;
  int16_t ScanStationFailed = 0;
  ScanValues scan;
};

struct SessionState {
  int16_t EditIdle = 1;
  // True from the click that starts a field edit to its Enter or Esc; unlike
  // EditIdle, nothing but the edit itself changes it.
  bool editActive = false;
  // The holders that keep the poll off (PollSwitch), one bit each.
  uint8_t pollHolds = 0;
  int16_t PasswordDestroyed = 0;
};

using ReadBufferArray = std::array<uint16_t, kReadBufferEntries>;

inline bool isMotorFamily(int unitType) {
  return unitType == 0 || unitType == 2;
}
inline bool isFeederFamily(int unitType) {
  return unitType == 1 || unitType == 4;
}
inline bool isKnownUnitType(int unitType) {
  return isMotorFamily(unitType) || isFeederFamily(unitType);
}

}  // namespace kvlink
