#include "HeapUsage.h"

#include <unistd.h>

#include <atomic>
#include <fstream>

#if defined(__SANITIZE_ADDRESS__)
#define KVLINK_HAS_ASAN 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define KVLINK_HAS_ASAN 1
#endif
#endif

#ifdef KVLINK_HAS_ASAN
// From the sanitizer runtime (gcc ships no header for them).
extern "C" int __sanitizer_install_malloc_and_free_hooks(void (*mallocHook)(const volatile void*,
                                                                            std::size_t),
                                                         void (*freeHook)(const volatile void*));
extern "C" std::size_t __sanitizer_get_allocated_size(const volatile void* p);
#else
#include <malloc.h>
#endif

namespace kvlink::test {
namespace {

constexpr std::size_t kLargeBlock = 64 * 1024;

#ifdef KVLINK_HAS_ASAN
std::atomic<long long> smallBytes{0};

void onMalloc(const volatile void*, std::size_t size) {
  if (size < kLargeBlock) smallBytes.fetch_add(static_cast<long long>(size));
}
void onFree(const volatile void* p) {
  const std::size_t size = __sanitizer_get_allocated_size(p);
  if (size < kLargeBlock) smallBytes.fetch_sub(static_cast<long long>(size));
}
#endif

}  // namespace

void startHeapAccounting() {
#ifdef KVLINK_HAS_ASAN
  __sanitizer_install_malloc_and_free_hooks(onMalloc, onFree);
#else
  // A fixed threshold: every large block is mapped on its own and left out of
  // the arena count below (the default threshold moves up as blocks are freed).
  mallopt(M_MMAP_THRESHOLD, static_cast<int>(kLargeBlock));
#endif
}

std::size_t smallBlockHeapBytes() {
#ifdef KVLINK_HAS_ASAN
  return static_cast<std::size_t>(smallBytes.load());
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
