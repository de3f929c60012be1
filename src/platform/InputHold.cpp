#include "InputHold.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QTimer>
#include <QWheelEvent>
#include <QWindow>
#include <algorithm>

#include "Host.h"

namespace kvlink {

namespace {

bool isMouse(const QEvent* event) {
  switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
      return true;
    default:
      return false;
  }
}

// A press or a double-click: input made on what is under the pointer.
bool startsClick(const QEvent* event) {
  return event->type() == QEvent::MouseButtonPress || event->type() == QEvent::MouseButtonDblClick;
}

// What a person does to a window: keys, clicks, the wheel, the context menu
// and the close box. The program's own events and the input given back here
// are not spontaneous and are never kept.
bool isOperatorInput(const QEvent* event) {
  if (!event->spontaneous()) return false;
  switch (event->type()) {
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::Wheel:
    case QEvent::ContextMenu:
    case QEvent::Close:
      return true;
    default:
      return isMouse(event);
  }
}

bool isModalWindowShown(const QObject* watched, const QEvent* event) {
  if (event->type() != QEvent::Show || !watched->isWidgetType()) return false;
  const auto* widget = static_cast<const QWidget*>(watched);
  return widget->isWindow() && widget->isModal();
}

// Gives the focus as a press from the window system would: to the first
// control from the one pressed outwards that takes the focus on a click.
void focusOnClick(QWidget* control) {
  for (QWidget* w = control; w; w = w->parentWidget()) {
    if (w->isEnabled() && (w->focusPolicy() & Qt::ClickFocus)) {
      w->setFocus(Qt::MouseFocusReason);
      return;
    }
    if (w->isWindow()) return;
  }
}

}  // namespace

InputHold::InputHold(QWidget& window, Host& host)
    : QObject(&window), window_(window), host_(host) {}

InputHold::~InputHold() {
  watchInput(false);
}

void InputHold::setHeld(bool on) {
  if (held_ == on) return;
  held_ = on;
  if (on) {
    watchInput(true);
  } else if (!kept_.empty()) {
    // Given back from the event loop, once the code that held the window
    // has returned.
    scheduleReplay();
  } else {
    watchInput(false);
  }
}

// Input from the window system reaches the window's QWindow first, before a
// click moves the focus; input sent to a control goes to the control.
bool InputHold::keeps(QObject* watched, const QEvent* event) const {
  if (!isOperatorInput(event) || !window_.isEnabled()) return false;
  // Input that comes after kept input waits behind it.
  if (!held_ && kept_.empty()) return false;
  if (watched->isWidgetType()) return static_cast<const QWidget*>(watched)->window() == &window_;
  return watched == window_.windowHandle();
}

InputHold::Kept InputHold::keep(QObject* watched, QEvent* event) {
  Kept kept;
  kept.context = host_.inputContext();
  kept.modalsShown = modalsShown_;
  if (isMouse(event) || event->type() == QEvent::Wheel) {
    const auto* pointer = static_cast<const QSinglePointEvent*>(event);
    // Only the plain values are kept: a copy of the event would follow the
    // pointer's later moves.
    kept.onScreen = pointer->globalPosition();
    QWidget* control = nullptr;
    if (watched->isWidgetType()) {
      control = static_cast<QWidget*>(watched);
      kept.atWindow = control->mapTo(&window_, pointer->position());
    } else {
      kept.atWindow = pointer->position();
      if (event->type() == QEvent::MouseButtonRelease && pressedControl_)
        control = pressedControl_.get();  // a release goes where its press went
      else
        control = window_.childAt(kept.atWindow.toPoint());
      if (!control) control = &window_;
    }
    if (startsClick(event))
      pressedControl_ = control;
    else if (event->type() == QEvent::MouseButtonRelease)
      pressedControl_.clear();
    kept.control = control;
    kept.atControl = control->mapFrom(&window_, kept.atWindow);
  }
  kept.event.reset(event->clone());
  return kept;
}

bool InputHold::eventFilter(QObject* watched, QEvent* event) {
  if (isModalWindowShown(watched, event) && watched != &window_) ++modalsShown_;
  if (!keeps(watched, event)) return false;
  kept_.push_back(keep(watched, event));
  // A close box kept back leaves the window open for now; anything else goes
  // no further.
  if (event->type() == QEvent::Close)
    event->ignore();
  else
    event->accept();
  return true;
}

void InputHold::scheduleReplay() {
  if (replayDue_) return;
  replayDue_ = true;
  QTimer::singleShot(0, this, [this] { replayNext(); });
}

// One piece at a time, each from the event loop: what follows a click is
// given only once the program is back in the event loop, from within what
// the click started as well (a long action's event pumps, a dialog it
// opened), where it meets the window as the operator would have.
void InputHold::replayNext() {
  replayDue_ = false;
  if (held_) return;  // given back when this hold ends
  if (kept_.empty()) {
    watchInput(false);
    return;
  }
  if (!stillActsAsMade(kept_.front())) {
    dropAll();
    return;
  }
  Kept next = std::move(kept_.front());
  kept_.pop_front();
  if (!kept_.empty()) scheduleReplay();
  QPointer<InputHold> self(this);
  deliver(next);
  if (self && !held_ && kept_.empty() && !replayDue_) watchInput(false);
}

bool InputHold::stillActsAsMade(const Kept& kept) const {
  if (kept.context != host_.inputContext() || kept.modalsShown != modalsShown_) return false;
  if (const QWidget* modal = QApplication::activeModalWidget(); modal && modal != &window_)
    return false;
  if (!window_.isVisible() || !window_.isEnabled()) return false;
  const QEvent::Type type = kept.event->type();
  if (type == QEvent::Close) return true;
  if (!kept.event->isPointerEvent()) {
    const QWidget* focus = window_.focusWidget();
    return !focus || focus->isEnabled();
  }
  const QWidget* control = kept.control;
  if (!control || !control->isVisible() || !control->isEnabled()) return false;
  // A release goes to its press's control wherever it is made; anything
  // else acts only where that control still is.
  return type == QEvent::MouseButtonRelease ||
         window_.childAt(kept.atWindow.toPoint()) == control || control == &window_;
}

void InputHold::dropAll() {
  // A key let go of is nothing lost: its press went before it.
  const bool lost = std::any_of(kept_.begin(), kept_.end(), [](const Kept& kept) {
    return kept.event->type() != QEvent::KeyRelease;
  });
  kept_.clear();
  pressedControl_.clear();
  if (lost) host_.beep();
  if (!held_) watchInput(false);
}

void InputHold::deliver(Kept& kept) {
  QEvent* event = kept.event.get();
  switch (event->type()) {
    case QEvent::Close:
      window_.close();
      return;
    case QEvent::Wheel: {
      const auto* wheel = static_cast<const QWheelEvent*>(event);
      QWheelEvent rebuilt(kept.atControl, kept.onScreen, wheel->pixelDelta(), wheel->angleDelta(),
                          wheel->buttons(), wheel->modifiers(), wheel->phase(), wheel->inverted(),
                          wheel->source(), wheel->pointingDevice());
      QApplication::sendEvent(kept.control, &rebuilt);
      return;
    }
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick: {
      const auto* mouse = static_cast<const QMouseEvent*>(event);
      QMouseEvent rebuilt(event->type(), kept.atControl, kept.atWindow, kept.onScreen,
                          mouse->button(), mouse->buttons(), mouse->modifiers(),
                          mouse->pointingDevice());
      if (event->type() == QEvent::MouseButtonPress) focusOnClick(kept.control);
      QApplication::sendEvent(kept.control, &rebuilt);
      return;
    }
    default: {
      // Keys go where the focus is now: a Tab kept back moves it for the keys
      // behind it.
      QObject* receiver = window_.windowHandle();
      if (!receiver) receiver = window_.focusWidget() ? window_.focusWidget() : &window_;
      QApplication::sendEvent(receiver, event);
    }
  }
}

void InputHold::watchInput(bool on) {
  if (on == watching_ || !QApplication::instance()) return;
  watching_ = on;
  if (on) {
    modalsShown_ = 0;
    QApplication::instance()->installEventFilter(this);
  } else {
    QApplication::instance()->removeEventFilter(this);
  }
}

}  // namespace kvlink
