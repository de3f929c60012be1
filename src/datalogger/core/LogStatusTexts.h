#pragma once
// Status words of a logger record turned into texts: every text begins with
// one blank, then one piece per bit that is set, highest bit first, each
// piece carrying its own ";" (except "remote trip"). A word of 0 has a text
// of its own, except the breaker status, which always names the contact.

#include <cstdint>
#include <string>

#include "LogFamily.h"

namespace kvlink {

// unitType chooses the feeder wording: type 1 says "earth fault;" and
// "I^2t;", every other feeder type "gnd fault;" and "% thermal;".
std::string tripStatusText(LogFamily family, int16_t unitType, uint16_t word);
std::string alarmStatusText(LogFamily family, int16_t unitType, uint16_t word);
// Motor status or breaker status.
std::string unitStatusText(LogFamily family, uint16_t word);

}  // namespace kvlink
