#include "EditBox.h"

#include <QClipboard>
#include <QContextMenuEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QPointer>

namespace kvlink {

namespace {

// The character code the platform's KeyPress would carry, or -1 for a key
// that types no character (arrows, Home, Delete, function keys).
int keyAsciiOf(const QKeyEvent& event) {
  switch (event.key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
      return kKeyEnter;
    case Qt::Key_Escape:
      return kKeyEscape;
    case Qt::Key_Backspace:
      return kKeyBackspace;
    default:
      break;
  }
  const QString text = event.text();
  if (text.isEmpty()) return -1;
  return text.at(0).unicode();
}

}  // namespace

EditBox::EditBox(const FieldRow& row, QWidget* parent) : QLineEdit(parent), row_(row) {
  setObjectName(QString::fromUtf8(row.box));
  setMouseTracking(true);
  setAcceptDrops(false);
  setDragEnabled(false);
  setAttribute(Qt::WA_InputMethodEnabled, false);
}

bool EditBox::roomForOneMore() const {
  return text().size() - selectedText().size() < row_.maxLength;
}

bool EditBox::pasteText(const QString& pasted) {
  QString result = text();
  int start = cursorPosition();
  if (hasSelectedText()) {
    start = selectionStart();
    result.remove(start, selectedText().size());
  }
  result.insert(start, pasted);
  if (pasted.isEmpty() || !typedTextAllowed(result.toStdString(), row_.maxLength)) return false;
  QPointer<EditBox> self(this);
  if (onUserChange) onUserChange();
  if (!self) return false;
  insert(pasted);
  return true;
}

void EditBox::keyPressEvent(QKeyEvent* event) {
  QPointer<EditBox> self(this);
  if (event->matches(QKeySequence::Copy) || event->matches(QKeySequence::SelectAll)) {
    QLineEdit::keyPressEvent(event);
    return;
  }
  if (event->matches(QKeySequence::Paste)) {
    pasteText(QGuiApplication::clipboard()->text());
    event->accept();
    return;
  }
  if (event->matches(QKeySequence::Cut) || event->matches(QKeySequence::Undo) ||
      event->matches(QKeySequence::Redo)) {
    event->accept();
    return;
  }
  int keyAscii = keyAsciiOf(*event);
  if (keyAscii < 0) {
    // No character: navigation passes; the Delete key changes the text.
    if (event->matches(QKeySequence::Delete) || event->key() == Qt::Key_Delete) {
      if (onUserChange) onUserChange();
      if (!self) return;
    }
    QLineEdit::keyPressEvent(event);
    return;
  }
  if (onKeyPress) onKeyPress(keyAscii);
  event->accept();
  if (!self || keyAscii == 0 || keyAscii == kKeyEnter || keyAscii == kKeyEscape) return;
  if (keyAscii != kKeyBackspace && !roomForOneMore()) return;
  QLineEdit::keyPressEvent(event);
}

void EditBox::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() == Qt::MiddleButton) {
    event->accept();  // no selection paste
    return;
  }
  QLineEdit::mouseReleaseEvent(event);
  if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()) && onClick)
    onClick();
}

void EditBox::mouseMoveEvent(QMouseEvent* event) {
  QLineEdit::mouseMoveEvent(event);
  if (onMouseMove) onMouseMove();
}

void EditBox::focusOutEvent(QFocusEvent* event) {
  QLineEdit::focusOutEvent(event);
  if (onLostFocus) onLostFocus();
}

void EditBox::contextMenuEvent(QContextMenuEvent* event) {
  QMenu menu(this);
  QAction* copy = menu.addAction(tr("&Copy"), this, &QLineEdit::copy);
  copy->setEnabled(hasSelectedText());
  menu.addAction(tr("&Paste"), this, [this] { pasteText(QGuiApplication::clipboard()->text()); });
  menu.addSeparator();
  menu.addAction(tr("Select All"), this, &QLineEdit::selectAll);
  menu.exec(event->globalPos());
}

}  // namespace kvlink
