#pragma once
// Enter and Esc in a window of the program: Enter presses the button that has
// the focus, else the window's default button; Esc presses the button that
// cancels or closes the window ("Cancel", "Close" or "Exit").

class QKeyEvent;
class QPushButton;
class QWidget;

namespace kvlink {

// The button `key` presses in `window`, or nullptr when it presses none.
QPushButton* buttonForKey(QWidget& window, const QKeyEvent& key);

}  // namespace kvlink
