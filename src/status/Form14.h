#pragma once
// "Network Summary Options": the scan option and Start.

#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>

#include "Form.h"

namespace kvlink {

class Program;

class Form14 : public Form {
  Q_OBJECT
 public:
  explicit Form14(Program& program);

  QGroupBox* Frame1 = nullptr;        // "Scan Options"
  QRadioButton* Option1 = nullptr;    // drop unresponsive stations on the first pass
  QRadioButton* Option2 = nullptr;    // poll all stations always
  QPushButton* Command3D1 = nullptr;  // "Start"
  QPushButton* Command3D2 = nullptr;  // "Exit"
  QLabel* Label2 = nullptr;           // "NOTE:"
  QLabel* Label1 = nullptr;

  void Command3D1_Click();
  void Command3D2_Click();

 private:
  Program& program_;
};

}  // namespace kvlink
