// Bytes of heap in use by the process right now: AddressSanitizer's count of
// live allocations in a sanitized build (its quarantine of freed blocks left
// out), malloc's own count otherwise.
#pragma once

#include <cstddef>

namespace kvlink::test {

std::size_t liveHeapBytes();

// Resident set size of the process in bytes (/proc/self/statm).
std::size_t residentBytes();

}  // namespace kvlink::test
