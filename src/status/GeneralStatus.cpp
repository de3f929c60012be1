#include "GeneralStatus.h"

#include "Controls.h"
#include "Form1.h"
#include "SettingsFile.h"
#include "StatusModule.h"

namespace kvlink {

namespace {

MeterForm& meterForm(Program& program) {
  return program.module<StatusModule>().MeterForm();
}

// Shows the window and applies the layout of the unit type; with `feederForType4`
// a type-4 unit gets the feeder layout until the next answered poll.
void openGeneralStatus(Program& program, bool feederForType4) {
  MeterForm& window = meterForm(program);
  window.Show();
  const int16_t unitType = program.poll.UnitType;
  int16_t& state = program.windowStates.MeterWindowState;
  const std::optional<StatusLayout> layout = statusLayoutFor(unitType);
  if (!layout) {
    // The type is not known yet: a closed window is marked open, so that the
    // next answered poll captions it for the type it reads.
    if (state == kWindowClosed) state = kUnitTypeUnknown;
    return;
  }
  state = unitType;
  window.applyLayout(feederForType4 && *layout == StatusLayout::Type4 ? StatusLayout::Feeder
                                                                      : *layout);
}

}  // namespace

void Form1_mnuDisplayMeter_Click(Program& program) {
  openGeneralStatus(program, false);
}

void Form1_Frame3D3_DblClick(Program& program) {
  if (!Form1::menuEnabled(program.Form1().mnuDisplay)) return;
  openGeneralStatus(program, true);
}

void Form1_Label3_DblClick(Program& program) {
  Form1_Frame3D3_DblClick(program);
}

void showGeneralStatusAfterOpen(Program& program) {
  MeterForm& window = meterForm(program);
  window.Show();
  window.applyLayout(StatusLayout::Motor);
  program.windowStates.MeterWindowState = 0;
}

void showPasswordDestroyed(Program& program) {
  meterForm(program).showPasswordDestroyed();
}

void GeneralStatusKind::closeAll(CloseReason) {
  if (MeterForm* window = program_.module<StatusModule>().MeterForm.ifLoaded()) window->Hide();
  program_.windowStates.MeterWindowState = kWindowClosed;
}

void GeneralStatusKind::showStationName(const QString& name) {
  QLabel* label = meterForm(program_).Label11;
  setElidedText(label, name, kStationNameShownChars);
}

void GeneralStatusKind::syncToUnitType(int16_t unitType) {
  if (program_.windowStates.MeterWindowState == kWindowClosed) return;
  const std::optional<StatusLayout> layout = statusLayoutFor(unitType);
  if (!layout) return;
  meterForm(program_).applyLayout(*layout);
  program_.windowStates.MeterWindowState = unitType;
}

void GeneralStatusKind::refresh() {
  meterForm(program_).showPolled(program_.poll.UnitType, program_.poll.values,
                                 program_.session.PasswordDestroyed != 0);
}

void GeneralStatusKind::forgetStation() {
  if (MeterForm* window = program_.module<StatusModule>().MeterForm.ifLoaded())
    window->clearValues();
}

}  // namespace kvlink
