#pragma once
// Which control of the Configure Data Logging window stands for which bit of
// the logger control word (register 134) and of the three trigger masks
// (registers 135 to 137), with the captions and visibility each check box
// takes for each unit type. Loading sets every control from its bit; sending
// builds every word from its controls, hidden boxes included.

#include <array>
#include <cstdint>
#include <span>
#include <string_view>

namespace kvlink {

enum class TriggerMask { Trip, Alarm, Status };

// One check box of a trigger mask.
struct MaskBitControl {
  uint16_t bit;
  std::string_view control;        // design name, "SSCheck1"
  std::string_view designCaption;  // caption of a new window
  // Caption for unit types 0, 1, 2, 4 (in this order); empty = the design
  // caption stays.
  std::array<std::string_view, 4> captions;
  // Shown for unit types 0, 1, 2, 4.
  std::array<bool, 4> visible;
  // Place in its frame: column 0 or 1, row from the top.
  int column;
  int row;
};

// The boxes of one mask, in bit order (the order they are set and read).
std::span<const MaskBitControl> maskBitControls(TriggerMask mask);

// Frame captions of the masks; the status frame's depends on the unit type.
std::string_view maskFrameCaption(TriggerMask mask);
// Status mask frame caption for a unit type; empty for a type that is none of
// 0, 1, 2, 4 (the caption stays).
std::string_view statusMaskCaption(int unitType);
inline constexpr std::string_view kStatusMaskDesignCaption = "RVX Mask";

// Column of a unit type in the per-type arrays above; -1 for any other code.
int unitTypeColumn(int unitType);

// Caption a box takes for a unit type: the per-type caption, else the design
// caption; an unknown type keeps `current`.
std::string_view maskCaptionFor(const MaskBitControl& box, int unitType, std::string_view current);
// Visibility for a unit type; an unknown type keeps `current`.
bool maskVisibleFor(const MaskBitControl& box, int unitType, bool current);

// The word built from the boxes' checked states (in table order).
uint16_t maskWord(TriggerMask mask, std::span<const bool> checked);
// The checked state of each box for a word (in table order).
std::array<bool, 9> maskChecks(TriggerMask mask, uint16_t word);

// The control word's controls: the trigger mode (one of three options), the
// one-shot counter reset, and the clock option pair.
enum class TriggerMode { Disabled, TimeAndEvents, EventsOnly };
struct ControlOptions {
  TriggerMode mode = TriggerMode::Disabled;
  bool resetCounter = false;
  bool clockEnabled = false;
  bool operator==(const ControlOptions&) const = default;
};

inline constexpr uint16_t kControlTimeAndEvents = 1;
inline constexpr uint16_t kControlEventsOnly = 2;
inline constexpr uint16_t kControlResetCounter = 8;
inline constexpr uint16_t kControlClockEnabled = 16;

// What the window shows for a control word: events only wins over time and
// events; the counter reset is always shown unchecked.
ControlOptions controlOptionsFromWord(uint16_t word);
// The control word the options send; bits without a control are 0.
uint16_t controlWordFromOptions(const ControlOptions& options);

}  // namespace kvlink
