#pragma once
// Which station's values a data window shows. The poll pass that fills a
// window with the values of the station it read, in the variant of that
// station's unit type, marks the window with the station; a change of the
// station or of the link clears the mark (WindowKind::forgetStation). A
// window writes to the unit, or queues a command for it, only while its mark
// names the current station: until then what it shows may be another
// station's, or another unit type's.

#include <QString>
#include <cstdint>

namespace kvlink {

class Program;

class FilledFrom {
 public:
  void mark(int16_t station) { station_ = station; }
  void clear() { station_ = 0; }
  int16_t station() const { return station_; }

 private:
  int16_t station_ = 0;
};

// What the operator is told to do after the refusal: wait for the next pass,
// or (a window that no pass fills while it is open) open the window again.
enum class UnreadRetry { Moment, Reopen };

// Tells the operator that the values of the current station have not been
// read yet and that nothing is written, in a message box titled `title`.
void refuseUnread(Program& program, const QString& title, UnreadRetry retry = UnreadRetry::Moment);

// True when `filled` names the current station; otherwise refuseUnread and
// false: nothing may be written.
bool filledByCurrentStation(Program& program, const FilledFrom& filled, const QString& title,
                            UnreadRetry retry = UnreadRetry::Moment);

}  // namespace kvlink
