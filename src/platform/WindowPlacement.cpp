#include "WindowPlacement.h"

#include <algorithm>
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
  const auto covers = [&](const QRect& frame, const std::optional<QRect>& other) {
    return other && frame.intersects(*other);
  };
  for (const QRect& frame : frames)
    if (!covers(frame, anchor) && !covers(frame, keepClear)) return frame.topLeft();
  for (const QRect& frame : frames)
    if (!covers(frame, keepClear)) return frame.topLeft();
  const QRect* least = &frames.front();
  for (const QRect& frame : frames)
    if (overlapArea(frame, *keepClear) < overlapArea(*least, *keepClear)) least = &frame;
  return least->topLeft();
}

}  // namespace kvlink
