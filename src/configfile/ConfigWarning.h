#pragma once
// "Quick Configure Warning": asks before the quick configuration starts.

#include <QFrame>
#include <QLabel>
#include <QPushButton>

#include "Form.h"

namespace kvlink {

class Program;

class ConfigWarning : public Form {
  Q_OBJECT
 public:
  explicit ConfigWarning(Program& program);

  QFrame* Panel3D1 = nullptr;
  QLabel* Label1 = nullptr;  // "Change Set Points"
  QLabel* Label2 = nullptr;
  QLabel* Image1 = nullptr;
  QPushButton* Command3D1 = nullptr;  // "Yes"
  QPushButton* Command3D2 = nullptr;  // "No"

  // "Yes": the wizard in step 1; the File items stay disabled.
  void Command3D1_Click();
  // "No": both File items enabled again.
  void Command3D2_Click();
  // The close box has the effect of "No"; the unload of "Yes" does not.
  void Form_Unload() override;

 protected:
  // Esc answers "No".
  void keyPressEvent(QKeyEvent* event) override;

 private:
  void buildDesign();

  Program& program_;
  bool continuing_ = false;
};

}  // namespace kvlink
