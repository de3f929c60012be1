// The libFuzzer entry point of one target; KVLINK_FUZZ_TARGET names it.
#include "targets/fuzz_targets.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  return kvlink::fuzz::KVLINK_FUZZ_TARGET(data, size);
}
