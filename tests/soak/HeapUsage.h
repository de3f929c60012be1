// How much heap the process holds in small blocks (under 64 KiB): the objects
// a leak is made of, without the large pixel buffers of windows, which come
// and go in steps of megabytes as windows of other sizes are shown.
#pragma once

#include <cstddef>

namespace kvlink::test {

// Starts the accounting; call once, before the figures are wanted.
void startHeapAccounting();

// Bytes in live heap blocks smaller than 64 KiB: AddressSanitizer's own count
// of them in a sanitized build, malloc's count otherwise.
std::size_t smallBlockHeapBytes();

// Resident set size of the process in bytes (/proc/self/statm).
std::size_t residentBytes();

}  // namespace kvlink::test
