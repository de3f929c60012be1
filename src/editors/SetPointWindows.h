#pragma once
// The three set-point windows: FORM5 (unit type 0), lpFORM5 (type 2) and
// FORM35 (types 1 and 4, re-captioned by its per-type table).

#include "SetPointForm.h"

namespace kvlink {

class FORM5 : public SetPointForm {
  Q_OBJECT
 public:
  explicit FORM5(Program& program) : SetPointForm(program, form5Design()) {}
};

class lpFORM5 : public SetPointForm {
  Q_OBJECT
 public:
  explicit lpFORM5(Program& program) : SetPointForm(program, lpForm5Design()) {}
};

class FORM35 : public SetPointForm {
  Q_OBJECT
 public:
  explicit FORM35(Program& program) : SetPointForm(program, form35Design()) {}

  // Applies the column of unit type 1 or 4 of the per-type table (title, row
  // 1 and row 5 headings, the superscript, eight Delete buttons); any other
  // type changes nothing.
  void applyUnitType(int unitType);
};

}  // namespace kvlink
