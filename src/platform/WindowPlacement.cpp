#include "WindowPlacement.h"

#include <algorithm>
#include <utility>
#include <vector>

namespace kvlink {

namespace {

constexpr int kGap = 8;
constexpr int kCascadeStep = 32;
constexpr int kCascadeSteps = 8;

int overlapArea(const QRect& a, const QRect& b) {
  const QRect common = a.intersected(b);
  return common.isEmpty() ? 0 : common.width() * common.height();
}

}  // namespace

QPoint keepInside(const QRect& frame, const QRect& screen) {
  const int x = std::max(screen.left(), std::min(frame.left(), screen.right() + 1 - frame.width()));
  const int y = std::max(screen.top(), std::min(frame.top(), screen.bottom() + 1 - frame.height()));
  return {x, y};
}

QPoint placeWindow(QSize size, const QRect& screen, const QRect& anchor,
                   const std::optional<QRect>& keepClear, int cascade) {
  const int step = kCascadeStep * (cascade % kCascadeSteps);
  // Each place first a little lower or further right, then as it stands.
  std::vector<QPoint> corners = {
      {anchor.right() + 1 + kGap, anchor.top() + step},
      {anchor.left() + step, anchor.bottom() + 1 + kGap},
      {anchor.right() + 1 + kGap, anchor.top()},
      {anchor.left(), anchor.bottom() + 1 + kGap},
  };
  if (keepClear) {
    corners.push_back({keepClear->right() + 1 + kGap, keepClear->top() + step});
    corners.push_back({keepClear->left() + step, keepClear->bottom() + 1 + kGap});
  }
  std::vector<QRect> frames;
  for (const QPoint& corner : corners) {
    const QRect frame(corner, size);
    frames.emplace_back(keepInside(frame, screen), size);
  }
  // The least of `keepClear` covered, then the least of the anchor; the first
  // of equals.
  const auto cost = [&](const QRect& frame) {
    return std::pair(keepClear ? overlapArea(frame, *keepClear) : 0, overlapArea(frame, anchor));
  };
  return std::min_element(frames.begin(), frames.end(),
                          [&](const QRect& a, const QRect& b) { return cost(a) < cost(b); })
      ->topLeft();
}

std::optional<QSize> anchorSizeMakingRoom(QSize size, const QRect& screen, const QRect& anchor,
                                          QSize anchorMinimum) {
  // Right of the anchor at its top, or below it at its left, inside the screen.
  const int width = screen.right() + 1 - kGap - size.width() - anchor.left();
  const int height = screen.bottom() + 1 - kGap - size.height() - anchor.top();
  const bool fitsRight = anchor.top() + size.height() <= screen.bottom() + 1;
  const bool fitsBelow = anchor.left() + size.width() <= screen.right() + 1;
  if ((fitsRight && width >= anchor.width()) || (fitsBelow && height >= anchor.height()))
    return std::nullopt;  // there is room already
  std::optional<QSize> best;
  const auto lost = [&](QSize s) {
    return anchor.width() * anchor.height() - s.width() * s.height();
  };
  if (fitsRight && width >= anchorMinimum.width()) best = QSize(width, anchor.height());
  if (fitsBelow && height >= anchorMinimum.height()) {
    const QSize lower(anchor.width(), height);
    if (!best || lost(lower) < lost(*best)) best = lower;
  }
  return best;
}

}  // namespace kvlink
