#pragma once
// Unit register I/O of the program: ReadUnit and the library call of WriteUnit.
//
// With Modbus (`useModbus`) the address is a register number and the count a number of words;
// with DF1 the address is a byte address (256 + 2R, logger record n at 768 + 48n) and the count
// a number of bytes. The arguments go to the library unchanged; ReadUnit shows nothing and
// does not retry beyond the library's own retries. The caller of WriteUnitCall shows
// writeErrorText(code) (message box style 0, default title) when the result is not 0.

#include <cstdint>
#include <string>

#include "link/LinkLibrary.h"

namespace kvlink {

inline constexpr int kReadBufferWords = 41;  // ReadBuffer(0 To 40)

int ReadUnit(LinkLibrary& link, bool useModbus, uint16_t* buffer, int bufferWords, int port,
             int station, int address, int count);

int WriteUnitCall(LinkLibrary& link, bool useModbus, int port, int station, int32_t address,
                  int32_t value);

// "Write Error 35:Illegal Command/Format", ..., "Write Error <code>:Undefined error".
std::string writeErrorText(int code);

}  // namespace kvlink
