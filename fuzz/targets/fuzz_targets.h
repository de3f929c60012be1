// The fuzz targets. Each takes one input and checks its properties with
// KVLINK_FUZZ_CHECK; each is built into its own libFuzzer executable
// (fuzz/CMakeLists.txt) and replayed over its corpus and regression inputs by
// tests/fuzz_replay.
#pragma once

#include <cstddef>
#include <cstdint>

namespace kvlink::fuzz {

// Profile files: lookup and edit of one key in arbitrary file text.
int profileReader(const uint8_t* data, std::size_t size);

// DF1: the receiver's frame decoding of a line stream and the checks of the
// replies to a read and a write.
int df1Frame(const uint8_t* data, std::size_t size);

// Modbus RTU: the checks of a read and a write reply frame.
int modbusReply(const uint8_t* data, std::size_t size);

}  // namespace kvlink::fuzz
