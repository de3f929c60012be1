#include "InputHold.h"

#include <QApplication>
#include <QEvent>
#include <QTimer>
#include <QWidget>
#include <QWindow>

namespace kvlink {

namespace {

bool isKey(const QEvent* event) {
  return event->type() == QEvent::KeyPress || event->type() == QEvent::KeyRelease;
}

// What a person does to a window: keys, clicks, the wheel, the context menu
// and the close box (the program's own closing is not held).
bool isOperatorInput(const QEvent* event) {
  switch (event->type()) {
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::Wheel:
    case QEvent::ContextMenu:
      return true;
    case QEvent::Close:
      return event->spontaneous();
    default:
      return false;
  }
}

}  // namespace

InputHold::InputHold(QWidget& window) : QObject(&window), window_(window) {}

InputHold::~InputHold() {
  watchInput(false);
}

void InputHold::setHeld(bool on) {
  if (held_ == on) return;
  held_ = on;
  if (on) {
    watchInput(true);
  } else if (!kept_.empty() && !replayDue_) {
    // Given back from the event loop, once the code that held the window
    // has returned.
    replayDue_ = true;
    QTimer::singleShot(0, this, [this] { replay(); });
  } else if (kept_.empty() && !replaying_) {
    watchInput(false);
  }
}

// Input from the window system reaches the window's QWindow first, before a
// click moves the focus; input sent to a control goes to the control.
bool InputHold::keeps(QObject* watched, const QEvent* event) const {
  if (!isOperatorInput(event) || !window_.isEnabled()) return false;
  // Input that comes after kept input waits behind it.
  if (!held_ && (replaying_ || kept_.empty())) return false;
  if (watched->isWidgetType()) return static_cast<const QWidget*>(watched)->window() == &window_;
  return watched == window_.windowHandle();
}

bool InputHold::eventFilter(QObject* watched, QEvent* event) {
  if (!keeps(watched, event)) return false;
  kept_.push_back({watched, std::unique_ptr<QEvent>(event->clone())});
  // A close box kept back leaves the window open for now; anything else goes
  // no further.
  if (event->type() == QEvent::Close)
    event->ignore();
  else
    event->accept();
  return true;
}

void InputHold::replay() {
  replayDue_ = false;
  if (replaying_) return;
  QPointer<InputHold> self(this);
  replaying_ = true;
  while (!held_ && !kept_.empty()) {
    if (blockedByModal()) {
      // A modal window opened meanwhile: the window takes no input now, as
      // it would not take it from the operator.
      kept_.clear();
      QApplication::beep();
      break;
    }
    Kept next = std::move(kept_.front());
    kept_.pop_front();
    deliver(next);
    if (!self) return;  // the window went with the input
  }
  replaying_ = false;
  if (!held_ && kept_.empty()) watchInput(false);
}

bool InputHold::blockedByModal() const {
  const QWidget* modal = QApplication::activeModalWidget();
  return modal && modal->window() != &window_;
}

void InputHold::deliver(Kept& kept) {
  QEvent* event = kept.event.get();
  if (event->type() == QEvent::Close) {
    window_.close();
    return;
  }
  // Keys go where the focus is now: a Tab kept back moves it for the keys
  // behind it.
  QObject* receiver = kept.receiver;
  if (isKey(event)) {
    receiver = window_.windowHandle();
    if (!receiver) receiver = window_.focusWidget() ? window_.focusWidget() : &window_;
  }
  if (receiver) QApplication::sendEvent(receiver, event);
}

void InputHold::watchInput(bool on) {
  if (on == watching_ || !QApplication::instance()) return;
  watching_ = on;
  if (on)
    QApplication::instance()->installEventFilter(this);
  else
    QApplication::instance()->removeEventFilter(this);
}

}  // namespace kvlink
