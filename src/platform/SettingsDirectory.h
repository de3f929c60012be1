// The directory that stands for the Windows directory: where gridmon.ini lives
// and where profile files named without a directory are looked for.
#pragma once

#include <string>

namespace kvlink {

// $KVLINK_WINDIR when set and not empty, else $XDG_CONFIG_HOME/kv-link27 (an
// absolute $XDG_CONFIG_HOME only), else $HOME/.config/kv-link27 (the home
// directory from the user database when $HOME is unset). Created with its
// parents when missing. No trailing '/'.
std::string settingsDirectory();

// A file name without '/' names a file in settingsDirectory(); a name with a
// '/' is used as given.
std::string resolveProfilePath(const std::string& file);

}  // namespace kvlink
