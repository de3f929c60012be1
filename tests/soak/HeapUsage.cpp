#include "HeapUsage.h"

#include <unistd.h>

#include <fstream>

#if defined(__SANITIZE_ADDRESS__)
#define KVLINK_HAS_ASAN 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define KVLINK_HAS_ASAN 1
#endif
#endif

#ifdef KVLINK_HAS_ASAN
// From the sanitizer runtime (gcc ships no header for it).
extern "C" std::size_t __sanitizer_get_current_allocated_bytes();
#else
#include <malloc.h>
#endif

namespace kvlink::test {

std::size_t liveHeapBytes() {
#ifdef KVLINK_HAS_ASAN
  return __sanitizer_get_current_allocated_bytes();
#else
  return mallinfo2().uordblks;
#endif
}

std::size_t residentBytes() {
  std::ifstream statm("/proc/self/statm");
  std::size_t pages = 0;
  std::size_t resident = 0;
  statm >> pages >> resident;
  return resident * static_cast<std::size_t>(::sysconf(_SC_PAGESIZE));
}

}  // namespace kvlink::test
