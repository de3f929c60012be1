#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "targets/fuzz_targets.h"

namespace kvlink::fuzz {
namespace {

namespace fs = std::filesystem;

struct Target {
  const char* name;
  int (*run)(const uint8_t*, std::size_t);
};

const Target kTargets[] = {
    {"df1_frame", df1Frame},
    {"modbus_reply", modbusReply},
    {"profile_reader", profileReader},
};

std::vector<fs::path> inputsOf(const std::string& name) {
  std::vector<fs::path> files;
  for (const char* kind : {"corpus", "regressions"}) {
    const fs::path dir = fs::path(KVLINK_FUZZ_DIR) / kind / name;
    if (!fs::is_directory(dir)) continue;
    for (const auto& entry : fs::directory_iterator(dir)) {
      if (entry.is_regular_file() && entry.path().filename().string().front() != '.') {
        files.push_back(entry.path());
      }
    }
  }
  std::sort(files.begin(), files.end());
  return files;
}

class FuzzReplay : public testing::TestWithParam<Target> {};

// A failed property aborts the process with the file:line of the check; the
// input being replayed is printed first.
TEST_P(FuzzReplay, EveryKeptInputHoldsItsProperties) {
  const std::vector<fs::path> inputs = inputsOf(GetParam().name);
  ASSERT_FALSE(inputs.empty()) << "no seed inputs for " << GetParam().name;
  for (const fs::path& path : inputs) {
    std::ifstream in(path, std::ios::binary);
    const std::string bytes{std::istreambuf_iterator<char>(in), {}};
    std::fprintf(stderr, "replaying %s\n", path.c_str());
    EXPECT_EQ(GetParam().run(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size()), 0);
  }
}

INSTANTIATE_TEST_SUITE_P(Targets, FuzzReplay, testing::ValuesIn(kTargets),
                         [](const testing::TestParamInfo<Target>& info) {
                           return std::string(info.param.name);
                         });

}  // namespace
}  // namespace kvlink::fuzz
