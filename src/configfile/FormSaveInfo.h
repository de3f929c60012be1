#pragma once
// "Save Set Points": saves every set point and the current values of the
// unit the program talks to into a *.con file, from what the poll last read.

#include <QLabel>
#include <QPushButton>

#include "Form.h"

namespace kvlink {

class Program;

class FormSaveInfo : public Form {
  Q_OBJECT
 public:
  explicit FormSaveInfo(Program& program);

  QLabel* Label1 = nullptr;
  QLabel* Image1 = nullptr;
  QPushButton* Command3D1 = nullptr;  // "Continue"
  QPushButton* Command3D2 = nullptr;  // "Exit"

  void Command3D1_Click();
  void Command3D2_Click();
  // Closed by its close box or unloaded: both File items enabled again.
  void Form_Unload() override;

 private:
  void buildDesign();

  Program& program_;
};

// "Continue": the save. The window may be gone when it returns.
void FormSaveInfo_Command3D1_Click(Program& program);

}  // namespace kvlink
