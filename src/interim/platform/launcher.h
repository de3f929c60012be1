#pragma once
#include <string>
namespace kvlink {
inline bool openInEditor(const std::string&) { return false; }
inline bool openFolder(const std::string&) { return false; }
}
