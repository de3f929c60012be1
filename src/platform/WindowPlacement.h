// Where a window opens on the screen: wholly inside the available area (frame
// and title bar included), beside the main window, and clear of the window
// that shows the live values where the screen has room for that.
#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>
#include <optional>

namespace kvlink {

// The top-left corner for a window frame of `size` on the available screen
// area `screen`. `anchor` is the main window's frame; `keepClear`, when given,
// a frame the window should not cover. `cascade` (0, 1, 2, ...) counts the
// windows placed beside the anchor so far; each opens a little lower than the
// one before, so that they do not pile up exactly.
//
// Tried in order: right of and below the anchor (with the cascade's step,
// then without), right of and below `keepClear`, each moved inside the screen. The first that
// covers neither the anchor nor `keepClear` wins; else the one that covers the least of
// `keepClear`, and of those the one that covers the least of the anchor.
QPoint placeWindow(QSize size, const QRect& screen, const QRect& anchor,
                   const std::optional<QRect>& keepClear, int cascade);

// For a window that should stand clear of the anchor (frames, as above): when
// there is no room for it right of or below the anchor, the smaller anchor
// frame, no smaller than `anchorMinimum`, that leaves room on one side (the
// one that costs the anchor the least area). std::nullopt when there is room
// already, or none can be made.
std::optional<QSize> anchorSizeMakingRoom(QSize size, const QRect& screen, const QRect& anchor,
                                          QSize anchorMinimum);

// `frame` moved (not resized) so that as much of it as fits lies in `screen`,
// its top-left corner always inside.
QPoint keepInside(const QRect& frame, const QRect& screen);

}  // namespace kvlink
