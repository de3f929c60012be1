#pragma once
// "Quick Configuration": the wizard that takes a *.con file (step 1), shows
// that it was accepted (step 2) and sends its set points to the unit.

#include <QGroupBox>
#include <QLabel>
#include <QPushButton>

#include "Form.h"

namespace kvlink {

class Program;

// What the window's open-file dialog keeps between "Next >>" and Send.
struct CommonDialogState {
  QString FileName;  // full path of the last file chosen
};

class FormConfig : public Form {
  Q_OBJECT
 public:
  explicit FormConfig(Program& program);

  QLabel* Label1 = nullptr;           // step 1: choose a file (dark blue)
  QLabel* Label2 = nullptr;           // step 2: file loaded (dark red)
  QLabel* Label3 = nullptr;           // not communicating with a unit
  QLabel* Label4 = nullptr;           // file of another unit type
  QGroupBox* Frame3D1 = nullptr;      // "Summary of Download"
  QLabel* Label6 = nullptr;           // progress line
  QLabel* Label7 = nullptr;           // result line
  QPushButton* Command3D3 = nullptr;  // "Send Set Points to Unit"
  QPushButton* Command3D2 = nullptr;  // "<< Back"
  QPushButton* Command3D1 = nullptr;  // "Next >>"
  QPushButton* Command3D4 = nullptr;  // "Exit"
  CommonDialogState CMDialog1;

  // Step 1 (choose a file) or 2 (file accepted): texts and buttons.
  void showStep(int step);

  void Command3D1_Click();  // "Next >>"
  void Command3D2_Click();  // "<< Back"
  void Command3D3_Click();  // "Send Set Points to Unit"
  void Command3D4_Click();  // "Exit"
  // Closed by its close box or unloaded: both File items enabled again.
  void Form_Unload() override;

 protected:
  // The close box does nothing while a download runs.
  void closeEvent(QCloseEvent* event) override;

 private:
  void buildDesign();

  Program& program_;
};

// "Next >>": the file choice and its version check. The window may be gone
// when it returns.
void FormConfig_Command3D1_Click(Program& program);

}  // namespace kvlink
