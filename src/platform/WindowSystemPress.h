#pragma once
// Key and mouse-button presses as the window system hands them to the
// program, before the toolkit sees them. The toolkit drops, without a trace,
// the input it has for a window that a modal box blocks; this is where such
// input can still be noticed.

#include <QByteArray>
#include <QWindow>
#include <optional>

namespace kvlink {

// The native window a key or mouse button was pressed on, when `message`, a
// native event of kind `kind`, is such a press (X11); none otherwise.
std::optional<WId> pressedWindow(const QByteArray& kind, const void* message);

}  // namespace kvlink
