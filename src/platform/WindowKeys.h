#pragma once
// Enter and Esc in a window of the program: Enter presses the button that has
// the focus, else the window's default button; Esc presses the button that
// cancels or closes the window ("Cancel", "Close" or "Exit"). The button
// drawn as the default is always the one Enter presses.

class QKeyEvent;
class QPushButton;
class QWidget;

namespace kvlink {

// The button `key` presses in `window`, or nullptr when it presses none.
QPushButton* buttonForKey(QWidget& window, const QKeyEvent& key);

// Enter or Esc held with Ctrl, Shift or Alt presses no button of `window`,
// not even the one that has the focus (a focused button takes Enter itself).
bool isModifiedEnterOrEsc(const QKeyEvent& key);
void keepModifiedEnterAndEscFromButtons(QWidget& window);

// The window's own default button (the first one marked default).
QPushButton* defaultButton(QWidget& window);

// The first control of the window that Tab reaches, or nullptr.
QWidget* firstInTabOrder(QWidget& window);

// Draws as the default the button that has the focus, or `ownDefault` while
// the focus is on anything else (or nowhere).
void showEnterButton(QWidget& window, QPushButton* ownDefault);

}  // namespace kvlink
