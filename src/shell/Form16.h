#pragma once
// The serial set-up window: protocol, COM port, baud rate and DF1 error
// check of the link, the start-up switch, and the Enable and Disable
// buttons. The "  Enable" button is disabled exactly while the link is open,
// and the link settings cannot be changed while it is.

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>

#include "Form.h"

namespace kvlink {

class Program;

class Form16 : public Form {
  Q_OBJECT
 public:
  explicit Form16(Program& program);

  // Controls under their design names.
  QGroupBox* Frame3D1 = nullptr;       // "Protocol"
  QRadioButton* SSOption1 = nullptr;   // "Allen Bradley DF1 protocol"
  QRadioButton* SSOption2 = nullptr;   // "Modbus RTU protocol"
  QGroupBox* Frame3D2 = nullptr;       // "COM Port"
  QRadioButton* Option3D5 = nullptr;   // "COM 1"
  QRadioButton* Option3D6 = nullptr;   // "COM 2"
  QRadioButton* Option3D9 = nullptr;   // "COM 3"
  QRadioButton* Option3D10 = nullptr;  // "COM 4"
  QGroupBox* Frame3D3 = nullptr;       // "Baud Rate"
  QRadioButton* Option3D1 = nullptr;   // "9600"
  QRadioButton* Option3D2 = nullptr;   // "4800"
  QRadioButton* Option3D3 = nullptr;   // "2400"
  QRadioButton* Option3D4 = nullptr;   // "1200"
  QGroupBox* Frame3D4 = nullptr;       // "Error Check"
  QRadioButton* Option3D7 = nullptr;   // "BCC"
  QRadioButton* Option3D8 = nullptr;   // "CRC"
  QCheckBox* SSCheck1 = nullptr;       // "Automatically enable serial communications"
  QLabel* Label4 = nullptr;
  QLabel* Label6 = nullptr;
  QPushButton* Command3D1 = nullptr;  // "  Enable"
  QPushButton* Command3D2 = nullptr;  // "Disable"
  QPushButton* Command3D3 = nullptr;  // "Close"

  void Form_Load() override;

  void Command3D1_Click();  // Enable
  void Command3D2_Click();  // Disable
  void Command3D3_Click();  // Close
  void SSCheck1_Click();

  // Everything from the program's state and the settings file: the link
  // settings, the start-up switch and the link's state.
  void showSettings();
  // The option buttons show the program's link settings.
  void showLinkSettings();
  // Enable, Disable and the settings controls follow the link's state.
  void showLinkState();
  // Every control that changes a link setting, the start-up switch and its
  // two labels.
  void setLinkSettingsEnabled(bool on);

 private:
  void buildDesign();
  void optionClicked(int index);
  // Enable writes the port, baud, protocol and check mode it opens with.
  void saveLinkSettings();

  Program& program_;
};

}  // namespace kvlink
