#pragma once
// How the program drives the General Status window: its openers, the
// link-open and password hooks, and what the poll pass does with it.

#include <cstdint>

#include "WindowKind.h"

namespace kvlink {

class Program;

// Display > "&General Status".
void Form1_mnuDisplayMeter_Click(Program& program);
// Double-click on the main window's "Trip/Alarm Status" frame or its text.
void Form1_Frame3D3_DblClick(Program& program);
void Form1_Label3_DblClick(Program& program);
// After the link opened: shown with the motor layout, state 0.
void showGeneralStatusAfterOpen(Program& program);
// A stored password was found missing.
void showPasswordDestroyed(Program& program);

// General Status as the poll pass sees it.
class GeneralStatusKind : public WindowKind {
 public:
  explicit GeneralStatusKind(Program& program) : program_(program) {}
  void closeAll(CloseReason reason) override;
  void showStationName(const QString& name) override;
  void syncToUnitType(int16_t unitType) override;
  void refresh() override;
  void forgetStation() override;

 private:
  Program& program_;
};

}  // namespace kvlink
