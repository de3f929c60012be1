#pragma once
// Opening and closing the serial link through the link library the protocol
// asks for, with the program's port, baud code and, for DF1, error check.

#include "link/LinkTiming.h"

namespace kvlink {

class Program;

// Retries the link library makes after a request that got no valid reply:
// one, which rides out a single garbled frame, while a station that does not
// answer costs about a quarter of a second per read at 9600 baud, well under
// the one-second poll period (see link/LinkTiming.h).
inline constexpr int kLinkRetryCount = kShellRetryCount;

// Opens the link with linkState's CommPort, BaudCode, UseModbus and CheckMode:
// CommOpen + SetRetry for Modbus RTU, abCommOpen + abSetRetry + abSetCheckMode
// for DF1. 0 when open; otherwise the library's failure code, and the link
// stays closed. Opening an open link does nothing and returns 0.
int OpenLink(Program& program);

// Closes the link through the library and port it was opened with. 0 when
// closed (or it was not open), otherwise the library's code; the link counts
// as closed either way.
int CloseLink(Program& program);

// The program's test for an open link.
bool LinkIsOpen(const Program& program);

}  // namespace kvlink
