// The scan's move to its next station: wrap after 63, first pass, skipping
// dropped stations, and the end when none is left.
#include <gtest/gtest.h>

#include <set>

#include "ScanAdvance.h"

namespace kvlink {
namespace {

TEST(ScanAdvanceTest, StepsOneStationAndWrapsAfter63) {
  auto all = [](int16_t) { return true; };
  auto next = nextScanPosition({5, false}, false, all);
  ASSERT_TRUE(next);
  EXPECT_EQ(next->station, 6);
  EXPECT_FALSE(next->firstPassDone);

  next = nextScanPosition({63, false}, true, all);
  ASSERT_TRUE(next);
  EXPECT_EQ(next->station, 1);
  EXPECT_TRUE(next->firstPassDone);

  next = nextScanPosition({12, true}, false, all);
  EXPECT_EQ(next->station, 13);
  EXPECT_TRUE(next->firstPassDone);
}

TEST(ScanAdvanceTest, DropOptionSkipsHiddenStationsAcrossTheWrap) {
  const std::set<int16_t> shown = {3, 40};
  auto isShown = [&](int16_t s) { return shown.count(s) > 0; };
  auto next = nextScanPosition({3, false}, true, isShown);
  ASSERT_TRUE(next);
  EXPECT_EQ(next->station, 40);
  EXPECT_FALSE(next->firstPassDone);
  next = nextScanPosition({40, false}, true, isShown);
  ASSERT_TRUE(next);
  EXPECT_EQ(next->station, 3);
  EXPECT_TRUE(next->firstPassDone);

  // Without the drop option hidden cells are read like any other.
  next = nextScanPosition({3, false}, false, isShown);
  EXPECT_EQ(next->station, 4);
}

TEST(ScanAdvanceTest, NoStationShownEndsTheSkip) {
  int asked = 0;
  auto none = [&](int16_t) {
    ++asked;
    return false;
  };
  EXPECT_FALSE(nextScanPosition({20, false}, true, none));
  EXPECT_EQ(asked, 63);
}

}  // namespace
}  // namespace kvlink
