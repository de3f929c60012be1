#pragma once
// Select Station: the station number (1 to 63) to talk to and its name. OK
// makes the station current, drops the commands queued for the old one,
// saves both and shows them in the main window.

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "Form.h"

namespace kvlink {

class Program;

class Form9 : public Form {
  Q_OBJECT
 public:
  explicit Form9(Program& program);

  QLabel* Label1 = nullptr;           // "Station number (1 to 63):"
  QLineEdit* Text1 = nullptr;         // station number
  QLabel* Label2 = nullptr;           // "Station name:"
  QLineEdit* Text2 = nullptr;         // station name
  QPushButton* Command3D1 = nullptr;  // "OK"
  QPushButton* Command3D2 = nullptr;  // "Cancel"

  void Form_Load() override;

  // Shows the current station and its name.
  void showCurrentStation();
  void Text1_Change();      // a typed number shows that station's saved name
  void Command3D1_Click();  // OK
  void Command3D2_Click();  // Cancel

 private:
  void buildDesign();
  // The station's saved name in the name box, whole however long it is.
  void showStoredName(int16_t station);

  Program& program_;
};

}  // namespace kvlink
