// The program-mode word codec of both families: every word value the
// windows can show comes back unchanged, except the bits no field covers and
// the fields a unit type does not write.
#include <gtest/gtest.h>

#include "ProgramModeCodec.h"

namespace kvlink {
namespace {

using F = ProgramModeField;
constexpr auto Motor = ProgramModeFamily::Motor;
constexpr auto Feeder = ProgramModeFamily::Feeder;

TEST(ProgramModeCodecTest, RoundTripsEveryShownWordForEachUnitType) {
  for (int word1 = 0; word1 <= 255; ++word1) {
    for (int word2 : {0, 4, 8, 12}) {
      const auto w1 = static_cast<uint16_t>(word1);
      const auto w2 = static_cast<uint16_t>(word2);
      for (int16_t type : {0, 2}) {
        EXPECT_EQ(encodeProgramModeWords(Motor, type, decodeProgramModeWords(Motor, w1, w2)),
                  (ProgramModeWords{w1, w2}))
            << word1 << "/" << word2;
      }
      const ProgramModeSettings feeder = decodeProgramModeWords(Feeder, w1, w2);
      // Type 1 has no frequency choice, type 4 no alarm-relay mode.
      EXPECT_EQ(encodeProgramModeWords(Feeder, 1, feeder),
                (ProgramModeWords{uint16_t(w1 & ~8), w2}));
      EXPECT_EQ(encodeProgramModeWords(Feeder, 4, feeder),
                (ProgramModeWords{w1, uint16_t(w2 & ~4)}));
    }
  }
}

TEST(ProgramModeCodecTest, MotorFieldsSitOnTheirOwnBits) {
  // Short-circuit is bit 2 and hot-motor compensation bit 3.
  const ProgramModeSettings four = decodeProgramModeWords(Motor, 4, 0);
  EXPECT_EQ(four[F::ShortCircuitEnable], 1);
  EXPECT_EQ(four[F::HotMotorCompEnable], 0);
  const ProgramModeSettings eight = decodeProgramModeWords(Motor, 8, 0);
  EXPECT_EQ(eight[F::ShortCircuitEnable], 0);
  EXPECT_EQ(eight[F::HotMotorCompEnable], 1);

  const ProgramModeSettings all = decodeProgramModeWords(Motor, 255, 12);
  EXPECT_EQ(all[F::AutoResetEnable], 1);
  EXPECT_EQ(all[F::AlarmLatchEnable], 1);
  EXPECT_EQ(all[F::EarthFaultDelay], 3);
  EXPECT_EQ(all[F::PhaseReverseEnable], 1);
  EXPECT_EQ(all[F::PhaseSequenceBAC], 1);
  EXPECT_EQ(all[F::TripRelayNonFailSafe], 1);
  EXPECT_EQ(all[F::AlarmRelayNonFailSafe], 1);
  // No feeder field is read from a motor word.
  EXPECT_EQ(all[F::ShortTimeDelay], 0);
  EXPECT_EQ(all[F::Frequency50Hz], 0);

  for (int delay = 0; delay < 4; ++delay) {
    ProgramModeSettings settings;
    settings[F::EarthFaultDelay] = delay;
    EXPECT_EQ(encodeProgramModeWords(Motor, 0, settings).word1, 16 * delay);
  }
}

TEST(ProgramModeCodecTest, FeederDelaysAndRelayModes) {
  const ProgramModeSettings s = decodeProgramModeWords(Feeder, 64 + 32 + 8, 4);
  EXPECT_EQ(s[F::ShortTimeDelay], 1);
  EXPECT_EQ(s[F::EarthFaultDelay], 2);
  EXPECT_EQ(s[F::Frequency50Hz], 1);
  EXPECT_EQ(s[F::I2tImmediateReset], 0);
  EXPECT_EQ(s[F::TripRelayNonFailSafe], 0);
  EXPECT_EQ(s[F::AlarmRelayNonFailSafe], 1);

  ProgramModeSettings settings;
  settings[F::ShortTimeDelay] = 3;
  settings[F::EarthFaultDelay] = 3;
  settings[F::I2tImmediateReset] = 1;
  settings[F::Frequency50Hz] = 1;
  settings[F::TripRelayNonFailSafe] = 1;
  settings[F::AlarmRelayNonFailSafe] = 1;
  EXPECT_EQ(encodeProgramModeWords(Feeder, 1, settings), (ProgramModeWords{192 + 48 + 4, 12}));
  EXPECT_EQ(encodeProgramModeWords(Feeder, 4, settings), (ProgramModeWords{192 + 48 + 8 + 4, 8}));
  // A type that is neither writes neither of the two type-bound fields.
  EXPECT_EQ(encodeProgramModeWords(Feeder, 99, settings), (ProgramModeWords{192 + 48 + 4, 8}));
}

TEST(ProgramModeCodecTest, UncoveredBitsAreDroppedAndNeverWritten) {
  for (auto family : {Motor, Feeder}) {
    for (int16_t type : {0, 1, 2, 4}) {
      const ProgramModeWords words =
          encodeProgramModeWords(family, type, decodeProgramModeWords(family, 0xFF00, 0xFFF3));
      EXPECT_EQ(words, (ProgramModeWords{0, 0}));
      const ProgramModeWords top =
          encodeProgramModeWords(family, type, decodeProgramModeWords(family, 0xFFFF, 0xFFFF));
      EXPECT_LE(top.word1, 255);
      EXPECT_EQ(top.word2 & ~12, 0);
    }
  }
  // Fields of the other family are ignored when encoding.
  ProgramModeSettings foreign;
  foreign[F::ShortTimeDelay] = 3;
  foreign[F::Frequency50Hz] = 1;
  EXPECT_EQ(encodeProgramModeWords(Motor, 0, foreign), (ProgramModeWords{0, 0}));
  // A value too large for its field keeps only the bits that fit.
  ProgramModeSettings wide;
  wide[F::EarthFaultDelay] = 7;
  EXPECT_EQ(encodeProgramModeWords(Motor, 0, wide).word1, 48);
}

}  // namespace
}  // namespace kvlink
