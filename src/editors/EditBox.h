#pragma once
// A value box of an editor window: a line edit that reports the events of
// the field-edit protocol (Click on button release, KeyPress with the
// character code, MouseMove, LostFocus) to its window and lets only what the
// protocol allows change its text:
//  - a typed character goes first to the window's KeyPress, which may drop
//    it (code 0); Enter and Esc never reach the line edit;
//  - the maximum length limits typing and pasting only, so a polled value
//    longer than the box is still shown whole;
//  - pasting (keyboard, context menu) inserts only digits that fit; the X11
//    middle-button paste, drag and drop and input methods are off.

#include <QLineEdit>
#include <functional>

#include "FieldRow.h"

namespace kvlink {

class EditBox : public QLineEdit {
  Q_OBJECT
 public:
  EditBox(const FieldRow& row, QWidget* parent);

  const FieldRow& row() const { return row_; }
  int maxDigits() const { return row_.maxLength; }

  // The window's handlers.
  std::function<void()> onClick;
  std::function<void(int& keyAscii)> onKeyPress;
  std::function<void()> onMouseMove;
  std::function<void()> onLostFocus;
  // Before any change of the text by the operator that is not a typed
  // character (Delete key, paste): the window starts an edit when none runs.
  std::function<void()> onUserChange;

  // Inserts text as a paste would: refused (false) unless the result is
  // digits only and fits the box.
  bool pasteText(const QString& text);

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;
  void contextMenuEvent(QContextMenuEvent* event) override;

 private:
  bool roomForOneMore() const;

  const FieldRow& row_;
};

}  // namespace kvlink
