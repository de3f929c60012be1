#pragma once
// The start-up window: shows the program's name while it starts, then, after
// 2000 ms, loads and shows the main window and hides itself.

#include <QLabel>
#include <QTimer>

#include "Form.h"

namespace kvlink {

class Program;

class frmSplash : public Form {
  Q_OBJECT
 public:
  explicit frmSplash(Program& program);

  QLabel* lblProductName = nullptr;
  QLabel* lblVersion = nullptr;
  QLabel* lblDescription = nullptr;
  QTimer* Timer1 = nullptr;  // 2000 ms, enabled

  void Timer1_Timer();

 private:
  Program& program_;
};

}  // namespace kvlink
