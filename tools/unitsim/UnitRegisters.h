#pragma once
// Register map of the simulated units, as the program reads and writes them.

namespace kvlink::sim {

inline constexpr int kRegisterCount = 6192;  // 0..6191: up to the end of logger record 249
inline constexpr int kSetPointFirst = 0;
inline constexpr int kSetPointLast = 17;
inline constexpr int kMeterFirst = 24;
inline constexpr int kIdWord = 39;
inline constexpr int kTripWord = 40;
inline constexpr int kAlarmWord = 41;
inline constexpr int kStatusWord = 42;
inline constexpr int kFirmwareRevision = 43;
inline constexpr int kCommandRegister = 120;
inline constexpr int kClockFirst = 128;  // 128..131, BCD
inline constexpr int kSampleInterval = 132;
inline constexpr int kTriggerDuration = 133;
inline constexpr int kLoggerControl = 134;
inline constexpr int kTripMask = 135;
inline constexpr int kAlarmMask = 136;
inline constexpr int kStatusMask = 137;
inline constexpr int kRecordCounter = 138;
inline constexpr int kRecordBase = 192;
inline constexpr int kRecordWords = 24;
inline constexpr int kRecordSlots = 250;

// Identification word: unit type in the high byte, this bit when a data logger is fitted.
inline constexpr int kLoggerPresent = 0x40;

// Logger control word (134).
inline constexpr int kLogTimeAndEvents = 1;
inline constexpr int kLogEventsOnly = 2;
inline constexpr int kLogResetCounter = 8;
inline constexpr int kLogClockEnabled = 16;

// Status word (42).
inline constexpr int kStatusStarting = 1;     // motor family
inline constexpr int kStatusRunning = 2;      // motor family: running; feeder: contact closed
inline constexpr int kStatusEtr = 4;          // emergency thermal reset in progress
inline constexpr int kFeederLoadAbove10 = 1;  // feeder: load current above 10 %

// Trip word (40) bit of a remote trip (types 1, 2, 4).
inline constexpr int kTripRemote = 64;

// Command codes written to register 120.
enum Command {
  kCmdTripReset = 1,
  kCmdAlarmLatchReset = 2,
  kCmdClearPeak = 3,
  kCmdEmergencyThermalReset = 4,
  kCmdReEnableTemp = 5,
  kCmdRemoteStart = 7,
  kCmdRemoteTrip = 8,
};

// Modbus exception codes the model answers with.
inline constexpr int kIllegalAddress = 2;
inline constexpr int kIllegalValue = 3;

}  // namespace kvlink::sim
