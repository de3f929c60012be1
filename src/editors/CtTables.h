#pragma once
// The CT and full-load-current windows as data: their field tables (Form7
// for unit type 0, lpForm7 for type 2, Form37 for types 1 and 4), the notes
// each box shows while it is edited, and Form37's per-type table.

#include "FieldRow.h"

namespace kvlink {

struct CtDesign {
  const char* designName;  // "Form7"
  const char* caption;     // window title at design
  const FieldTable* fields;
};

const CtDesign& form7Design();
const CtDesign& lpForm7Design();
const CtDesign& form37Design();

// Row labels of the "Parameter" frame, top to bottom (Label1 to Label4).
struct CtRowLabel {
  const char* label;
  const char* text;
};
inline constexpr CtRowLabel kCtRowLabels[] = {
    {"Label1", "PHASE CT"},
    {"Label2", "EARTH-FAULT CT"},
    {"Label3", "FULL-LOAD CURRENT"},
    {"Label4", "SERVICE FACTOR"},
};

// The three notes beside the boxes, hidden at design.
struct CtNote {
  const char* label;
  const char* text;
  int row;  // the row it stands beside
};
inline constexpr CtNote kCtNotes[] = {
    {"Label5", "Set  Phase CT rating before FLA", 0},
    {"Label6", "Use 5 A for ZQR-1 or ZQR-2", 1},
    {"Label8", "Set Phase CT rating before FLA", 2},
};
constexpr int kCtNoteCount = 3;

// Which notes a click on a box shows (in the order of kCtNotes); the others
// are hidden. The edit's end hides again those the click showed.
struct CtNotesShown {
  bool shown[kCtNoteCount] = {false, false, false};
};
CtNotesShown ctNotesFor(const char* box);

// Form37's per-type table: unit type 1 or 4; nullptr for any other type.
struct Form37Captions {
  const char* title;
  const char* label2;  // row 2 label
};
const Form37Captions* form37CaptionsFor(int unitType);

inline const char* const kCtHintDesign = "Select a setting to change or press OK.";

}  // namespace kvlink
