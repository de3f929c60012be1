#include "Fault.h"

#include <array>
#include <utility>

namespace kvlink::sim {
namespace {

// What a line driver switching on often leaves in a receiver: all ones.
constexpr uint8_t kNoiseByte = 0xFF;

}  // namespace

FaultKind faultKindFromName(const std::string& name) {
  static constexpr std::array<std::pair<const char*, FaultKind>, 12> kNames{{
      {"none", FaultKind::None},
      {"silent", FaultKind::Silent},
      {"silentwrites", FaultKind::SilentToWrites},
      {"badcheck", FaultKind::BadCheck},
      {"truncated", FaultKind::Truncated},
      {"garbage", FaultKind::Garbage},
      {"late", FaultKind::Late},
      {"wrongstation", FaultKind::WrongStation},
      {"exception", FaultKind::Exception},
      {"duplicate", FaultKind::Duplicate},
      {"foreignfirst", FaultKind::ForeignFirst},
      {"noisefirst", FaultKind::NoiseFirst},
  }};
  for (const auto& [text, kind] : kNames) {
    if (name == text) return kind;
  }
  return FaultKind::None;
}

FaultKind takeFault(Fault& fault) {
  if (fault.kind == FaultKind::None || fault.count == 0) return FaultKind::None;
  const FaultKind kind = fault.kind;
  if (fault.count > 0 && --fault.count == 0) fault.kind = FaultKind::None;
  return kind;
}

std::chrono::milliseconds lateDelay(const Fault& fault, std::mt19937& rng) {
  if (fault.latePercent < 100 &&
      std::uniform_int_distribution<int>(0, 99)(rng) >= fault.latePercent) {
    return std::chrono::milliseconds(0);
  }
  if (fault.lateSpread.count() <= 0) return fault.late;
  std::uniform_int_distribution<long long> extra(0, fault.lateSpread.count());
  return fault.late + std::chrono::milliseconds(extra(rng));
}

std::vector<uint8_t> damageReply(FaultKind kind, std::vector<uint8_t> frame, std::mt19937& rng) {
  switch (kind) {
    case FaultKind::BadCheck:
      if (!frame.empty()) frame.back() ^= 0x5A;
      break;
    case FaultKind::Truncated:
      frame.resize(frame.size() / 2);
      break;
    case FaultKind::Garbage:
      for (uint8_t& b : frame) b = static_cast<uint8_t>(rng());
      break;
    case FaultKind::NoiseFirst:
      frame.insert(frame.begin(), kNoiseByte);
      break;
    default:
      break;
  }
  return frame;
}

}  // namespace kvlink::sim
