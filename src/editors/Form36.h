#pragma once
// The program-mode words of the feeder family (unit types 1 and 4): one
// window, re-titled and re-captioned for the unit type each time it shows
// the words.

#include "ProgramModeWindow.h"

namespace kvlink {

// What Form36 shows for a unit type: type 1, or type 4 for any other value.
struct Form36Captions {
  QString title;
  QString shortTime[4];   // Option3D11 to Option3D14
  QString earthFault[4];  // Option3D7 to Option3D10
  QString earthFaultFrame;
  bool alarmRelayVisible;
  bool frequencyVisible;
};
const Form36Captions& form36Captions(int16_t unitType);

class Form36 : public ProgramModeWindow {
  Q_OBJECT
 public:
  explicit Form36(Program& program);

  QGroupBox* Frame3D1 = nullptr;  // "Enable List"
  QCheckBox* Check3D1 = nullptr;  // AutoReset, bit 0
  QCheckBox* Check3D2 = nullptr;  // Alarm Latch, bit 1
  QCheckBox* Check3D3 = nullptr;  // I2t Immediate Reset, bit 2
  QGroupBox* Frame3D4 = nullptr;  // "Short-Time Trip"
  QRadioButton* Option3D11 = nullptr;
  QRadioButton* Option3D12 = nullptr;
  QRadioButton* Option3D13 = nullptr;
  QRadioButton* Option3D14 = nullptr;
  QGroupBox* SSFrame1 = nullptr;      // "Frequency", type 4
  QRadioButton* SSOption1 = nullptr;  // "60 Hz"
  QRadioButton* SSOption2 = nullptr;  // "50 Hz"
  QGroupBox* Frame3D5 = nullptr;      // earth-fault / ground-fault time
  QRadioButton* Option3D7 = nullptr;
  QRadioButton* Option3D8 = nullptr;
  QRadioButton* Option3D9 = nullptr;
  QRadioButton* Option3D10 = nullptr;

 protected:
  void applyCaptions(int16_t unitType) override;
};

}  // namespace kvlink
