#pragma once
// The CT and full-load-current windows: one layout for the three variants,
// built from the window's design (CtTables.h) -- the station strip, the
// "Parameter" frame with the row labels, the "Set Point" frame with a box
// per row and the notes beside the boxes, the summary frame with the hint
// and the prompt, and "Close". Editing runs by the editor base, with the
// notes shown during an edit and the edit's end before Enter's write.

#include <QFrame>
#include <QGroupBox>

#include "CtTables.h"
#include "EditorForm.h"

namespace kvlink {

class CtForm : public EditorForm {
  Q_OBJECT
 public:
  CtForm(Program& program, const CtDesign& design);

  const CtDesign& design() const { return design_; }

  // Controls under their design names.
  QFrame* Panel3D1 = nullptr;
  QLabel* Label10 = nullptr;      // station name
  QGroupBox* Frame3D3 = nullptr;  // "Parameter"
  QLabel* Label1 = nullptr;       // "PHASE CT"
  QLabel* Label2 = nullptr;       // "EARTH-FAULT CT"
  QLabel* Label3 = nullptr;       // "FULL-LOAD CURRENT"
  QLabel* Label4 = nullptr;       // "SERVICE FACTOR"; nullptr in Form37
  QGroupBox* Frame3D1 = nullptr;  // "Set Point"
  QLabel* Label5 = nullptr;       // notes beside rows 1, 2, 3
  QLabel* Label6 = nullptr;
  QLabel* Label8 = nullptr;
  QGroupBox* Frame3D4 = nullptr;    // "Summary and Range of Settings"
  QLabel* Label7 = nullptr;         // hint
  QLabel* Label21 = nullptr;        // prompt
  QPushButton* Command5 = nullptr;  // "Close"

  // The poll's refresh: every box gets the decimal text of its polled value,
  // 0 included; a box being edited is left as the operator has it.
  void refreshBoxes(const PolledValues& values);

 protected:
  void editStarted(const FieldRow& row) override;
  void editLeft(const FieldRow& row) override;
  WriteOrder writeOrder() const override { return WriteOrder::LeaveStepsFirst; }

 private:
  void buildDesign();
  QLabel* note(int index) const;

  const CtDesign& design_;
};

// Type 0, all four settings.
class Form7 : public CtForm {
  Q_OBJECT
 public:
  explicit Form7(Program& program) : CtForm(program, form7Design()) {}
};

// Type 2: the contactor unit's narrower full-load-current range.
class lpForm7 : public CtForm {
  Q_OBJECT
 public:
  explicit lpForm7(Program& program) : CtForm(program, lpForm7Design()) {}
};

// Types 1 and 4, without the service factor.
class Form37 : public CtForm {
  Q_OBJECT
 public:
  explicit Form37(Program& program) : CtForm(program, form37Design()) {}

  // Title and row 2 label of unit type 1 or 4; any other type changes nothing.
  void applyUnitType(int unitType);
};

}  // namespace kvlink
