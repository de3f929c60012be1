#pragma once
// The trip-and-alarm set-point windows: one layout for the three variants,
// built from the window's design (SetPointTables.h) -- the station strip,
// the "Set Point" frame with the row headings, the "TRIP Set Point" and
// "ALARM Set Point" frames with a box, a "<<Deleted" marker and a Delete
// button per row, the summary frame with the hint and the prompt, and the
// "Program-Mode Settings" and "Close" buttons.

#include <QFrame>
#include <QGroupBox>
#include <functional>

#include "EditorForm.h"
#include "SetPointTables.h"

namespace kvlink {

class SetPointForm : public EditorForm {
  Q_OBJECT
 public:
  SetPointForm(Program& program, const SetPointDesign& design);

  const SetPointDesign& design() const { return design_; }

  // Controls under their design names.
  QFrame* Panel3D1 = nullptr;
  QLabel* Label24 = nullptr;         // station name
  QGroupBox* Frame3D3 = nullptr;     // "Set Point" (row headings)
  QGroupBox* Frame3D1 = nullptr;     // "TRIP Set Point"
  QGroupBox* Frame3D2 = nullptr;     // "ALARM Set Point"
  QGroupBox* Frame3D4 = nullptr;     // summary
  QLabel* Label7 = nullptr;          // hint
  QLabel* Label21 = nullptr;         // prompt
  QPushButton* Command13 = nullptr;  // "Program-Mode Settings"
  QPushButton* Command14 = nullptr;  // "Close"

  // A row heading or superscript ("Label1", "Label22"); nullptr when absent.
  QLabel* heading(const char* name) const;

  // What "Program-Mode Settings" does; set by whoever owns that window.
  std::function<void(SetPointForm&)> onProgramModeSettings;
  void Command13_Click();

  // The poll's refresh, in two halves around its event pump: the boxes
  // (empty at the off value), then the markers (shown exactly while the box
  // is empty). A box being edited is left as the operator has it.
  void refreshBoxes(const PolledValues& values);
  void refreshMarkers();

 private:
  void buildDesign();

  const SetPointDesign& design_;
};

}  // namespace kvlink
