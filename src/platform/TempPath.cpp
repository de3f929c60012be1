#include "platform/TempPath.h"

#include <cstdlib>

namespace kvlink {

std::string tempPath() {
  const char* configured = std::getenv("TMPDIR");
  std::string path = (configured && *configured) ? configured : "/tmp";
  if (path.back() != '/') path.push_back('/');
  return path;
}

}  // namespace kvlink
