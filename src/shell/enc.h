#pragma once
// The two password levels that guard changes: 1 the general password, 2 the
// master password, both kept coded in [misc] of gridmon.ini.

#include <cstdint>

namespace kvlink {

class Program;

enum PasswordResult : int16_t {
  kPasswordFileDamaged = 0,  // the level's stored password is missing
  kPasswordGranted = 1,
  kPasswordRefused = 2,  // wrong password, prompt cancelled, unknown level
};

// Asks for the password of the level with a masked prompt and returns one of
// the results above. Granted without a prompt while the level's stored value
// is the no-password value. When the stored value is missing (or is not a
// coding this program writes) it shows a message, sets PasswordDestroyed and
// lets General Status show its warning, and returns 0.
int16_t CheckPassword(Program& program, int16_t level);

}  // namespace kvlink
