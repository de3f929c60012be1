#include "LogConfigBitTable.h"

namespace kvlink {

namespace {

constexpr std::array<bool, 4> kAll{true, true, true, true};
constexpr std::array<bool, 4> kMotorOnly{true, false, true, false};
constexpr std::array<bool, 4> kAllButGlt{true, false, true, true};
constexpr std::array<std::string_view, 4> kKept{};

// Types:                                 0               1                2               4
constexpr std::array<std::string_view, 4> kI2t{"I^2t", "I^2t", "I^2t", "% Thermal"};
constexpr std::array<std::string_view, 4> kOvercurrent{"Overcurrent", "Short-Time", "Overcurrent",
                                                       "Short-Time"};
constexpr std::array<std::string_view, 4> kUndercurrent{"Undercurrent", "Instantaneous",
                                                        "Undercurrent", "Instantaneous"};
constexpr std::array<std::string_view, 4> kTemperature{"Temperature", "Earth Fault", "Temperature",
                                                       "Ground Fault"};

constexpr MaskBitControl kTripBits[] = {
    {1, "SSCheck1", "I2t", kI2t, kAll, 0, 0},
    {2, "SSCheck3", "Overcurrent", kOvercurrent, kAll, 0, 1},
    {4, "SSCheck5", "Undercurrent", kUndercurrent, kAll, 0, 2},
    {8, "SSCheck7", "Unbalance", kKept, kAll, 0, 3},
    {16, "SSCheck9", "Temperature", kTemperature, kAll, 0, 4},
    {32, "SSCheck2", "Earth-Fault", kKept, kMotorOnly, 1, 1},
    {64,
     "SSCheck4",
     "Short-Circuit",
     {"Short-Circuit", "", "Short-Circuit", "Remote Trip"},
     kAllButGlt,
     1,
     2},
    {128, "SSCheck6", "NV Memory", kKept, kAll, 1, 0},
    {256, "SSCheck8", "Phase-Reverse", kKept, kMotorOnly, 1, 3},
};

// Bit 64 of the alarm mask has no box.
constexpr MaskBitControl kAlarmBits[] = {
    {1, "SSCheck18", "I2t", kI2t, kAll, 0, 0},
    {2, "SSCheck16", "Overcurrent", kOvercurrent, kAll, 0, 1},
    {4, "SSCheck14", "Undercurrent", kUndercurrent, kAll, 0, 2},
    {8, "SSCheck12", "Unbalance", kKept, kAll, 0, 3},
    {16, "SSCheck10", "Temperature", kTemperature, kAll, 0, 4},
    {32, "SSCheck17", "Earth-Leakage", kKept, kMotorOnly, 1, 1},
    {128, "SSCheck15", "NV Memory", kKept, kAll, 1, 0},
    {256, "SSCheck13", "Shorted-RTD", kKept, kMotorOnly, 1, 2},
    {512, "SSCheck11", "Open-RTD", kKept, kMotorOnly, 1, 3},
};

constexpr MaskBitControl kStatusBits[] = {
    {1, "SSCheck21", "Current > 10%", kKept, kAll, 0, 0},
    {2,
     "SSCheck20",
     "Run State",
     {"Run State", "Contact Closed", "Run State", "Contact Closed"},
     kAll,
     0,
     1},
    {4, "SSCheck19", "ETR on", kKept, kMotorOnly, 0, 2},
};

}  // namespace

std::span<const MaskBitControl> maskBitControls(TriggerMask mask) {
  switch (mask) {
    case TriggerMask::Trip:
      return kTripBits;
    case TriggerMask::Alarm:
      return kAlarmBits;
    case TriggerMask::Status:
      break;
  }
  return kStatusBits;
}

std::string_view maskFrameCaption(TriggerMask mask) {
  switch (mask) {
    case TriggerMask::Trip:
      return "Trip Mask";
    case TriggerMask::Alarm:
      return "Alarm Mask";
    case TriggerMask::Status:
      break;
  }
  return kStatusMaskDesignCaption;
}

std::string_view statusMaskCaption(int unitType) {
  constexpr std::array<std::string_view, 4> kCaptions{"RVX Mask", "GLT Mask", "RVX Mask",
                                                      "ZE-DUR Mask"};
  const int column = unitTypeColumn(unitType);
  return column < 0 ? std::string_view{} : kCaptions[column];
}

int unitTypeColumn(int unitType) {
  switch (unitType) {
    case 0:
      return 0;
    case 1:
      return 1;
    case 2:
      return 2;
    case 4:
      return 3;
    default:
      return -1;
  }
}

std::string_view maskCaptionFor(const MaskBitControl& box, int unitType, std::string_view current) {
  const int column = unitTypeColumn(unitType);
  if (column < 0) return current;
  const std::string_view caption = box.captions[column];
  return caption.empty() ? box.designCaption : caption;
}

bool maskVisibleFor(const MaskBitControl& box, int unitType, bool current) {
  const int column = unitTypeColumn(unitType);
  return column < 0 ? current : box.visible[column];
}

uint16_t maskWord(TriggerMask mask, std::span<const bool> checked) {
  uint16_t word = 0;
  const auto boxes = maskBitControls(mask);
  for (size_t i = 0; i < boxes.size() && i < checked.size(); ++i)
    if (checked[i]) word = static_cast<uint16_t>(word | boxes[i].bit);
  return word;
}

std::array<bool, 9> maskChecks(TriggerMask mask, uint16_t word) {
  std::array<bool, 9> checks{};
  const auto boxes = maskBitControls(mask);
  for (size_t i = 0; i < boxes.size(); ++i) checks[i] = (word & boxes[i].bit) != 0;
  return checks;
}

ControlOptions controlOptionsFromWord(uint16_t word) {
  ControlOptions options;
  if (word & kControlTimeAndEvents) options.mode = TriggerMode::TimeAndEvents;
  if (word & kControlEventsOnly) options.mode = TriggerMode::EventsOnly;
  options.clockEnabled = (word & kControlClockEnabled) != 0;
  return options;
}

uint16_t controlWordFromOptions(const ControlOptions& options) {
  uint16_t word = 0;
  if (options.mode == TriggerMode::TimeAndEvents) word |= kControlTimeAndEvents;
  if (options.mode == TriggerMode::EventsOnly) word |= kControlEventsOnly;
  if (options.resetCounter) word |= kControlResetCounter;
  if (options.clockEnabled) word |= kControlClockEnabled;
  return word;
}

}  // namespace kvlink
