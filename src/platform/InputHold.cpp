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
#include "WindowSystemPress.h"

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

// The second press of a double-click: the toolkit gives the double-click
// that follows it in its place.
bool becomesDoubleClick(const QEvent* event) {
  return event->type() == QEvent::MouseButtonPress &&
         (static_cast<const QMouseEvent*>(event)->flags() & Qt::MouseEventCreatedDoubleClick);
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

bool usable(const QWidget* control) {
  return control && control->isVisible() && control->isEnabled();
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
    unwatchWhenIdle();
  }
}

// Input from the window system reaches the window's QWindow first, before a
// click moves the focus; input sent to a control goes to the control.
bool InputHold::keeps(QObject* watched, const QEvent* event) const {
  if (!isOperatorInput(event) || !window_.isEnabled()) return false;
  // Input that comes after kept input waits behind it.
  if (!held_ && kept_.empty()) return false;
  if (watched == window_.windowHandle()) return true;
  // The window passes on what it was given, as spontaneous: its own input,
  // which it kept or let through already.
  return !forwarding_ && watched->isWidgetType() &&
         static_cast<const QWidget*>(watched)->window() == &window_;
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
    if (watched->isWidgetType()) {
      kept.control = static_cast<QWidget*>(watched);
      kept.atWindow = kept.control->mapTo(&window_, pointer->position());
    } else {
      kept.atWindow = pointer->position();
      kept.control = window_.childAt(kept.atWindow.toPoint());
      if (!kept.control) kept.control = &window_;
    }
  }
  if (event->type() == QEvent::MouseButtonRelease) {
    kept.repeatsClick = keptDoubleClick_;
  } else if (startsClick(event)) {
    kept.repeatsClick = keptDoubleClick_ = event->type() == QEvent::MouseButtonDblClick;
  }
  kept.event.reset(event->clone());
  return kept;
}

bool InputHold::nativeEventFilter(const QByteArray& kind, void* message, qintptr*) {
  if (!keepsInput()) return false;
  const QWindow* handle = window_.windowHandle();
  const QWidget* modal = QApplication::activeModalWidget();
  if (handle && modal && modal != &window_ && pressedWindow(kind, message) == handle->winId())
    keepLostToBox();
  return false;
}

// Input a box took from the window stands in the queue as lost: the toolkit
// drops it unseen, and a press given back can no longer be released.
void InputHold::keepLostToBox() {
  letGoOfPress(false);
  if (kept_.empty() || kept_.back().event->type() != QEvent::None) {
    Kept lost;
    lost.event = std::make_unique<QEvent>(QEvent::None);
    kept_.push_back(std::move(lost));
  }
  if (!held_) scheduleReplay();
}

bool InputHold::eventFilter(QObject* watched, QEvent* event) {
  if (isModalWindowShown(watched, event) && watched != &window_) {
    ++modalsShown_;
    if (open_) keepLostToBox();
  }
  if (releasesOpenPress(watched, event)) return completeOpenPress();
  if (!keeps(watched, event)) return false;
  if (!becomesDoubleClick(event)) kept_.push_back(keep(watched, event));
  // A close box kept back leaves the window open for now; anything else goes
  // no further.
  if (event->type() == QEvent::Close)
    event->ignore();
  else
    event->accept();
  return true;
}

// The release, made after the hold, of a press given back.
bool InputHold::releasesOpenPress(QObject* watched, const QEvent* event) const {
  return open_ && !held_ && kept_.empty() && event->type() == QEvent::MouseButtonRelease &&
         event->spontaneous() && watched == window_.windowHandle() &&
         static_cast<const QMouseEvent*>(event)->button() == open_->button;
}

// The toolkit completes the click where the press still acts as made;
// otherwise the control lets go of the mouse without a click.
bool InputHold::completeOpenPress() {
  if (openPressActs()) {
    open_.reset();
    unwatchWhenIdle();
    return false;
  }
  dropAll();
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
    unwatchWhenIdle();
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
  const bool outerForwarding = forwarding_;
  forwarding_ = true;
  deliver(next);
  if (!self) return;
  forwarding_ = outerForwarding;
  unwatchWhenIdle();
}

bool InputHold::unchangedSince(uint64_t context, uint64_t modalsShown) const {
  if (context != host_.inputContext() || modalsShown != modalsShown_) return false;
  if (const QWidget* modal = QApplication::activeModalWidget(); modal && modal != &window_)
    return false;
  return window_.isVisible() && window_.isEnabled();
}

bool InputHold::openPressActs() const {
  return unchangedSince(open_->context, open_->modalsShown) && usable(open_->control);
}

bool InputHold::stillActsAsMade(const Kept& kept) const {
  const QEvent::Type type = kept.event->type();
  if (type == QEvent::None || !unchangedSince(kept.context, kept.modalsShown)) return false;
  if (type == QEvent::Close) return true;
  // A release goes to its press's control wherever it is made.
  if (type == QEvent::MouseButtonRelease) return !open_ || openPressActs();
  if (!kept.event->isPointerEvent()) {
    const QWidget* focus = window_.focusWidget();
    return !focus || focus->isEnabled();
  }
  // Anything else acts only where that control still is.
  QWidget* under = window_.childAt(kept.atWindow.toPoint());
  return usable(kept.control) && (under ? under : &window_) == kept.control;
}

void InputHold::dropAll() {
  // A key or button let go of is nothing lost: its press went before it, or
  // the press it completes is the one lost. Nor is the second half of a
  // double-click whose first half acted.
  bool lost = open_ && !open_->repeatsClick;
  bool firstHalfActed = true;
  bool releaseDropped = false;
  for (const Kept& kept : kept_) {
    const QEvent::Type type = kept.event->type();
    firstHalfActed = firstHalfActed && kept.repeatsClick;
    releaseDropped = releaseDropped || type == QEvent::MouseButtonRelease;
    if (!firstHalfActed && type != QEvent::KeyRelease && type != QEvent::MouseButtonRelease)
      lost = true;
  }
  letGoOfPress(releaseDropped);
  kept_.clear();
  keptDoubleClick_ = false;
  if (lost) host_.beep();
  unwatchWhenIdle();
}

// No control is left holding the mouse, drawn pressed: it is given a release
// away from it, which clicks nothing.
void InputHold::letGoOfPress(bool releaseDropped) {
  QWidget* control = open_ ? open_->control.get() : nullptr;
  const Qt::MouseButton button = open_ ? open_->button : Qt::LeftButton;
  open_.reset();
  // Without a press given back, a dropped release may still be owed to a
  // press made before the hold: the window passes it to that press's control.
  QObject* receiver = control          ? static_cast<QObject*>(control)
                      : releaseDropped ? window_.windowHandle()
                                       : nullptr;
  if (!receiver) return;
  const QWidget* frame = control ? control : &window_;
  const QPointF away(-1, -1);
  QMouseEvent release(QEvent::MouseButtonRelease, away, frame->mapTo(&window_, away),
                      frame->mapToGlobal(away), button, Qt::NoButton, Qt::NoModifier);
  QApplication::sendEvent(receiver, &release);
}

void InputHold::deliver(Kept& kept) {
  QEvent* event = kept.event.get();
  switch (event->type()) {
    case QEvent::Close:
      window_.close();
      return;
    case QEvent::Wheel: {
      const auto* wheel = static_cast<const QWheelEvent*>(event);
      QWheelEvent rebuilt(kept.control->mapFrom(&window_, kept.atWindow), kept.onScreen,
                          wheel->pixelDelta(), wheel->angleDelta(), wheel->buttons(),
                          wheel->modifiers(), wheel->phase(), wheel->inverted(), wheel->source(),
                          wheel->pointingDevice());
      QApplication::sendEvent(kept.control, &rebuilt);
      return;
    }
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick: {
      // Through the window, as the toolkit's own: a press makes the control
      // under it hold the mouse, a release goes to the control that does.
      const auto* mouse = static_cast<const QMouseEvent*>(event);
      QMouseEvent rebuilt(event->type(), kept.atWindow, kept.atWindow, kept.onScreen,
                          mouse->button(), mouse->buttons(), mouse->modifiers(),
                          mouse->pointingDevice());
      if (startsClick(event) && mouse->buttons() == mouse->button())
        open_ = OpenPress{kept.control, mouse->button(), host_.inputContext(), modalsShown_,
                          kept.repeatsClick};
      else if (open_ && mouse->button() == open_->button)
        open_.reset();
      QApplication::sendEvent(window_.windowHandle(), &rebuilt);
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
    QApplication::instance()->installNativeEventFilter(this);
  } else {
    QApplication::instance()->removeNativeEventFilter(this);
    QApplication::instance()->removeEventFilter(this);
  }
}

// Input is watched while it is held, while kept input waits, and while a
// press given back waits for its release.
void InputHold::unwatchWhenIdle() {
  if (!held_ && kept_.empty() && !open_ && !replayDue_) watchInput(false);
}

}  // namespace kvlink
