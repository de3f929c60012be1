#pragma once
#include <string>
#include "LinkLibrary.h"
namespace kvlink {
inline int ReadUnit(LinkLibrary&, bool, uint16_t*, int, int, int, int, int){return 36;}
inline int WriteUnitCall(LinkLibrary&, bool, int, int, int32_t, int32_t){return 36;}
inline std::string writeErrorText(int){return "x";}
}
