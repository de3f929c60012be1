#include "FilledFrom.h"

#include "Host.h"
#include "Program.h"

namespace kvlink {

void refuseUnread(Program& program, const QString& title, UnreadRetry retry) {
  const QString then = retry == UnreadRetry::Moment
                           ? QStringLiteral("Try again in a moment.")
                           : QStringLiteral(
                                 "Close this window and open it again once the "
                                 "station answers.");
  MsgBox(program.host,
         QStringLiteral("The values of station %1 have not been read yet, so nothing is "
                        "written.  %2")
             .arg(program.linkState.CurrentStation)
             .arg(then),
         vbExclamation, title);
}

bool filledByCurrentStation(Program& program, const FilledFrom& filled, const QString& title,
                            UnreadRetry retry) {
  if (filled.station() == program.linkState.CurrentStation) return true;
  refuseUnread(program, title, retry);
  return false;
}

}  // namespace kvlink
