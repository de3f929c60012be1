#pragma once
// Unit I/O as every window uses it: one read into a word buffer, one write
// of one register. Addresses and counts are passed on unchanged: register
// and words for Modbus RTU, byte address 256 + 2R and bytes for DF1.

#include <cstdint>

namespace kvlink {

class Program;

// 0 = answered; any other value is the link's failure code. Shows nothing.
int16_t ReadUnit(Program& program, uint16_t* buffer, int bufferWords, int16_t port, int16_t station,
                 int32_t address, int16_t count);
// Reads into the program's ReadBuffer.
int16_t ReadUnit(Program& program, int16_t port, int16_t station, int32_t address, int16_t count);

// 0 = written; otherwise shows the "Write Error ..." box and returns the code.
int16_t WriteUnit(Program& program, int16_t port, int16_t station, int32_t address, int32_t value);

// The address of register R in the link's addressing form.
int32_t registerAddress(const Program& program, int reg);

}  // namespace kvlink
