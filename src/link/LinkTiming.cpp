#include "link/LinkTiming.h"

#include <algorithm>

namespace kvlink {

std::chrono::microseconds wireTime(int baud, int bytes) {
  if (baud <= 0 || bytes <= 0) return std::chrono::microseconds{0};
  const long long bits = 10LL * bytes;
  return std::chrono::microseconds{(bits * 1'000'000 + baud - 1) / baud};
}

std::chrono::microseconds modbusTimeout(int baud, int requestBytes, int replyBytes,
                                        const LinkTiming& timing) {
  return wireTime(baud, requestBytes + replyBytes) + timing.turnaround;
}

std::chrono::microseconds modbusLearnedTimeout(int baud, int requestBytes, int replyBytes,
                                               std::chrono::microseconds wait,
                                               std::chrono::microseconds longest,
                                               const LinkTiming& timing) {
  const auto base = modbusTimeout(baud, requestBytes, replyBytes, timing);
  const auto learned = wait + wait / 4 + wireTime(baud, replyBytes) + timing.guard;
  return std::max(base, std::min(learned, longest));
}

std::chrono::microseconds modbusFrameGap(int baud) {
  constexpr long long kBits = 7 * 11;  // twice 3.5 characters of 11 bits
  if (baud > 19200) return std::chrono::microseconds{1750};
  if (baud <= 0) return std::chrono::microseconds{0};
  return std::chrono::microseconds{(kBits * 1'000'000 + 2LL * baud - 1) / (2LL * baud)};
}

std::chrono::microseconds modbusQuietGap(int baud, const LinkTiming& timing) {
  return modbusFrameGap(baud) + timing.guard;
}

std::chrono::microseconds df1Timeout(int baud, int sentBytes, int responseBytes,
                                     const LinkTiming& timing) {
  return wireTime(baud, sentBytes + responseBytes) + timing.turnaround;
}

}  // namespace kvlink
