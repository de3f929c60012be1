#pragma once
// The two shell services the editors call, each behind one function so that
// the editors follow the shell's own test of an open link and its password
// check.

#include <cstdint>

namespace kvlink {

class Program;

// True while the serial link is open.
bool editorsLinkIsOpen(Program& program);

// CheckPassword(level): 1 granted, 2 refused or cancelled, 0 settings corrupt.
int16_t editorsCheckPassword(Program& program, int16_t level);

}  // namespace kvlink
