#pragma once
// A kind of data window as the poll pass and the link switch see it (General
// Status, set points, CT, reset, program mode, Network Summary, ...). Each
// subsystem registers its kinds with the program; the pass calls every
// registered kind in registration order, so it never needs to know a
// window's controls.

#include <QString>
#include <cstdint>

namespace kvlink {

enum class CloseReason {
  LinkDisabled,  // Disable in the serial set-up window
  Watchdog,      // polling off and link closed
  NoResponse,    // more than five unanswered passes in a row
};

class WindowKind {
 public:
  virtual ~WindowKind() = default;

  // Hide every variant of the kind and mark it closed, as the reason asks.
  virtual void closeAll(CloseReason reason) = 0;

  // Poll pass, in this order: beginPass; showStationName; (the station read);
  // when answered syncToUnitType then refresh; endPass (on every way out).
  // showStationName also runs when the operator chooses another station
  // (switchToStation), so that every window names it at once.
  virtual void beginPass() {}
  virtual void showStationName(const QString& name) { (void)name; }
  virtual void syncToUnitType(int16_t unitType) { (void)unitType; }
  virtual void refresh() {}
  virtual void endPass() {}
  // The station read's last step: window pointers back to the default.
  virtual void resetPointers() {}

  // The station or the link changed (Program::selectStation, linkChanged):
  // end a field edit as Esc does, show no value until the station answers,
  // and count no settings on screen as read from the station.
  virtual void forgetStation() {}
};

}  // namespace kvlink
