#pragma once
// One editable box of an editor window, as data. A window declares its boxes
// as a table of FieldRow (top to bottom, trip before alarm) and the editor
// base builds the protocol for each row from it: the register it writes, the
// longest number the operator may type, the hint shown on click and on
// hover, and, in the set-point windows, the off value that marks the set
// point as deleted, the "<<Deleted" marker and the Delete button.
//
// Pure logic, no Qt: the tables and the rules on typed text are tested
// without windows.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "PolledValues.h"

namespace kvlink {

struct FieldRow {
  const char* box = nullptr;                    // "Text1"
  int reg = 0;                                  // register R; the DF1 byte address is 256 + 2R
  int maxLength = 0;                            // digits the operator may type
  const char* hint = nullptr;                   // shown on click
  const char* hover = nullptr;                  // shown on mouse move; nullptr = the hint
  const char* hintForType1 = nullptr;           // when set: the hint while UnitType is 1,
                                                // `hint` for any other type (click and hover)
  std::optional<int> offValue;                  // set-point rows only
  const char* marker = nullptr;                 // "<<Deleted" label; nullptr = none
  const char* deleteButton = nullptr;           // "Delete" button; nullptr = none
  PolledValue PolledValues::*polled = nullptr;  // what the poll shows in the box
  int row = 0;                                  // layout: row index from the top
  int column = 0;                               // layout: 0 trip (or the only column), 1 alarm
};

using FieldTable = std::vector<FieldRow>;

// The text a click puts into the hint label.
std::string clickHint(const FieldRow& row, int unitType);
// The text a mouse move puts into the hint label while no edit runs.
std::string hoverHint(const FieldRow& row, int unitType);

// The address of the row's register: R for Modbus, 256 + 2R for DF1.
inline int32_t fieldAddress(const FieldRow& row, bool useModbus) {
  return useModbus ? row.reg : 256 + 2 * row.reg;
}

// The key filter of every box: digits, Backspace (8), Enter (13) and Esc
// (27) pass; every other character code is dropped.
constexpr int kKeyBackspace = 8;
constexpr int kKeyEnter = 13;
constexpr int kKeyEscape = 27;
inline bool keyAccepted(int keyAscii) {
  return (keyAscii >= '0' && keyAscii <= '9') || keyAscii == kKeyBackspace ||
         keyAscii == kKeyEnter || keyAscii == kKeyEscape;
}

// True for text the operator may leave in a box by typing or pasting: empty,
// or digits only, at most maxLength of them.
bool typedTextAllowed(std::string_view text, int maxLength);

// What Enter writes: the whole number of a box that holds 1 to maxLength
// digits; nothing for any other text (empty, too long, not a number).
std::optional<int32_t> boxValue(std::string_view text, int maxLength);

// What the poll shows in a box: empty when the polled value equals the off
// value (or was never stored), else its decimal text.
std::string refreshText(const PolledValue& value, const std::optional<int>& offValue);

// The decimal text of a polled value; empty while never stored.
std::string valueText(const PolledValue& value);

// The row of a table by box name; nullptr when the table has none.
const FieldRow* findRow(const FieldTable& table, std::string_view box);

}  // namespace kvlink
