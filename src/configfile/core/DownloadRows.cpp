#include "DownloadRows.h"

#include <array>

namespace kvlink {

namespace {

constexpr uint16_t kWhole = kCompareWholeWord;
constexpr uint16_t kMode = kCompareRelayModeBits;

constexpr std::array<DownloadRow, 18> kMotorRows = {{
    {"I2tTrip", "Attempting I2t Trip:", 0, kWhole},
    {"I2tAlarm", "Attempting I2t Alarm:", 1, kWhole},
    {"OvercurrentTrip", "Attempting Overcurrent Trip:", 2, kWhole},
    {"OvercurrentAlarm", "Attempting Overcurrent Alarm:", 3, kWhole},
    {"UndercurrentTrip", "Attempting Undercurrent Trip:", 4, kWhole},
    {"UndercurrentAlarm", "Attempting Undercurrent Alarm:", 5, kWhole},
    {"UnbalanceTrip", "Attempting Unbalance Trip:", 6, kWhole},
    {"UnbalanceAlarm", "Attempting Unbalance Alarm:", 7, kWhole},
    {"TemperatureTrip", "Attempting Temp Trip:", 8, kWhole},
    {"TemperatureAlarm", "Attempting Temp Alarm:", 9, kWhole},
    {"LeakageTrip", "Attempting Leakage Trip:", 10, kWhole},
    {"LeakageAlarm", "Attempting Leakage Alarm:", 11, kWhole},
    {"Service Factor", "Attempting SF:", 13, kWhole},
    {"Mode8 Level 1", "Attempting Mode 8 Level 1:", 14, kWhole},
    {"Mode8 Level 2", "Attempting Mode 8 Level 2:", 15, kMode},
    {"Phase CT", "Attempting Phase CT:", 16, kWhole},
    {"EFCT", "Attempting EFCT:", 17, kWhole},
    {"FLA", "Attempting FLA:", 12, kWhole},
}};

constexpr std::array<DownloadRow, 15> kFeederRows = {{
    {"I2tTrip", "Attempting I2t Trip:", 0, kWhole},
    {"I2tAlarm", "Attempting I2t Alarm:", 1, kWhole},
    {"ShortTimeTrip", "Attempting Short Trip:", 2, kWhole},
    {"ShortTimeAlarm", "Attempting Short Alarm:", 3, kWhole},
    {"InstantaneousTrip", "Attempting Instantaneous Trip:", 4, kWhole},
    {"InstantaneousAlarm", "Attempting Instantaneous Alarm:", 5, kWhole},
    {"UnbalanceTrip", "Attempting Unbalance Trip:", 6, kWhole},
    {"UnbalanceAlarm", "Attempting Unbalance Alarm:", 7, kWhole},
    {"LeakageTrip", "Attempting Leakage Trip:", 10, kWhole},
    {"LeakageAlarm", "Attempting Leakage Alarm:", 11, kWhole},
    {"Mode5 Level 1", "Attempting Mode 5 Level 1 :", 14, kWhole},
    {"Mode5 Level 2", "Attempting Mode 5 Level 2 :", 15, kMode},
    {"Phase CT", "Attempting Phase CT:", 16, kWhole},
    {"EFCT", "Attempting EFCT:", 17, kWhole},
    {"FLA", "Attempting FLA:", 12, kWhole},
}};

}  // namespace

std::span<const DownloadRow> downloadRows(UnitFamily family) {
  if (family == UnitFamily::Motor) return kMotorRows;
  return kFeederRows;
}

}  // namespace kvlink
