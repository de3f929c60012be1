// The directory for temporary files: the fallback directory of the
// auto-retrieve files.
#pragma once

#include <string>

namespace kvlink {

// $TMPDIR when set and not empty, else "/tmp"; always ends with '/'.
std::string tempPath();

}  // namespace kvlink
