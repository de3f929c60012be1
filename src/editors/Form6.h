#pragma once
// "RVX Program-Mode Settings": the program-mode words of the motor family
// (unit types 0 and 2), fixed captions.

#include "ProgramModeWindow.h"

namespace kvlink {

class Form6 : public ProgramModeWindow {
  Q_OBJECT
 public:
  explicit Form6(Program& program);

  QGroupBox* Frame3D1 = nullptr;  // "Enable List"
  QCheckBox* Check3D1 = nullptr;  // AutoReset, bit 0
  QCheckBox* Check3D2 = nullptr;  // Alarm Latch, bit 1
  QCheckBox* Check3D3 = nullptr;  // Hot-Motor Comp, bit 3
  QCheckBox* Check3D4 = nullptr;  // Short-Circuit, bit 2
  QCheckBox* Check3D5 = nullptr;  // Phase Reverse, bit 6
  QGroupBox* Frame3D4 = nullptr;  // "Phase Sequence"
  QRadioButton* Option3D5 = nullptr;
  QRadioButton* Option3D6 = nullptr;
  QGroupBox* Frame3D5 = nullptr;  // "Earth-Fault Time Delay"
  QRadioButton* Option3D7 = nullptr;
  QRadioButton* Option3D8 = nullptr;
  QRadioButton* Option3D9 = nullptr;
  QRadioButton* Option3D10 = nullptr;
};

}  // namespace kvlink
