#pragma once
// The three trip-and-alarm set-point windows as data: their captions, row
// headings and field tables (FORM5 for unit type 0, lpFORM5 for type 2,
// FORM35 for types 1 and 4), and FORM35's per-type table.

#include <array>
#include <string>
#include <vector>

#include "FieldRow.h"

namespace kvlink {

// A row heading in the "Set Point" frame, with an optional raised small label
// drawn over the gap after `superscriptAfter` ("I" + "2" + "t" reads I²t).
struct RowHeading {
  const char* label = nullptr;             // "Label1"
  const char* text = nullptr;              // "I  t (s @ 600%)"
  const char* superscript = nullptr;       // "Label22"
  const char* superscriptText = nullptr;   // "2"
  const char* superscriptAfter = nullptr;  // "I"
};

struct SetPointDesign {
  const char* designName;            // "FORM5"
  const char* caption;               // window title at design
  std::vector<RowHeading> headings;  // top to bottom, one per row
  const char* summaryCaption;        // caption of Frame3D4
  const FieldTable* fields;
};

const SetPointDesign& form5Design();
const SetPointDesign& lpForm5Design();
const SetPointDesign& form35Design();

// The set-point window design of a unit type; nullptr for an unknown type.
const SetPointDesign* setPointDesignFor(int unitType);

inline const char* const kSetPointHintDesign = "Select a setpoint to change or press OK.";
inline const char* const kEditPrompt = ">>> Press ENTER to program setpoint or ESC to cancel <<<";
inline const char* const kDeletedMarker = "<<Deleted";

// FORM35's per-type table (unit types 1 and 4).
struct FeederCaptions {
  const char* title;
  const char* label1;         // row 1 heading
  const char* label6;         // row 5 heading
  bool superscriptVisible;    // Label22
  bool deleteButtonsVisible;  // the eight buttons of kFeederTypedDeleteButtons
};
const FeederCaptions* feederCaptionsFor(int unitType);
// The Delete buttons that FORM35 hides for unit type 4.
inline constexpr std::array<const char*, 8> kFeederTypedDeleteButtons = {
    "Command1", "Command3", "Command4",  "Command6",
    "Command7", "Command9", "Command10", "Command12"};

}  // namespace kvlink
