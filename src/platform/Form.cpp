#include "Form.h"

#include <QApplication>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QHideEvent>
#include <QKeyEvent>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QVBoxLayout>

#include "Host.h"
#include "InputHold.h"
#include "WindowKeys.h"
#include "WindowPlacement.h"

namespace kvlink {

Form::Form(Host& host, const QString& designName)
    : QWidget(nullptr), host_(host), designName_(designName) {
  setObjectName(designName);
  setAttribute(Qt::WA_DeleteOnClose, false);
  connect(qApp, &QApplication::focusChanged, this, [this](QWidget*, QWidget* now) {
    if (ownDefaultKnown_ && now && now->window() == this) showEnterButton(*this, ownDefault_);
  });
}

Form::~Form() {
  emit hiddenOrClosed();
}

namespace {
QPointer<QWidget>& placementAnchor() {
  static QPointer<QWidget> anchor;
  return anchor;
}
QPointer<QWidget>& uncoveredWindow() {
  static QPointer<QWidget> window;
  return window;
}
int& cascadeStep() {
  static int step = 0;
  return step;
}

// A frame's margins around the window's own area, once the window system has
// given it one; before that, a title bar and a thin border.
QMargins frameMargins(const QWidget* window) {
  static QMargins known(2, 28, 2, 2);
  if (window && window->isVisible()) {
    const QRect frame = window->frameGeometry();
    const QRect inner = window->geometry();
    const QMargins seen(inner.left() - frame.left(), inner.top() - frame.top(),
                        frame.right() - inner.right(), frame.bottom() - inner.bottom());
    if (!seen.isNull()) known = seen;
  }
  return known;
}

QRect availableArea(const QWidget* window) {
  const QScreen* screen = window->screen();
  if (!screen) screen = QGuiApplication::primaryScreen();
  return screen ? screen->availableGeometry() : QRect(0, 0, 1366, 768);
}

// The frame a window has, or will have once shown.
QRect frameOf(const QWidget* window) {
  if (window->isVisible()) return window->frameGeometry();
  const QSize inner = window->size().expandedTo(window->minimumSizeHint());
  return QRect(window->geometry().topLeft(), inner).marginsAdded(frameMargins(nullptr));
}

// Puts the frame of a window not yet shown at `corner`. The window's own area
// is placed, since a window whose frame is not known yet would otherwise have
// its title bar above `corner`.
void placeFrameAt(QWidget* window, QPoint corner) {
  const QMargins margins = frameMargins(nullptr);
  window->setGeometry(QRect(corner + QPoint(margins.left(), margins.top()), window->size()));
}
}  // namespace

void Form::setPlacementAnchor(QWidget* anchor) {
  placementAnchor() = anchor;
  cascadeStep() = 0;
  // The main window opens at the top left, leaving the room beside it for the
  // windows that open from it.
  if (anchor && !anchor->testAttribute(Qt::WA_Moved))
    placeFrameAt(anchor, availableArea(anchor).topLeft());
}

void Form::setKeepUncovered(QWidget* window) {
  uncoveredWindow() = window;
}

void Form::placeOnFirstShow() {
  if (placed_) return;
  placed_ = true;
  if (!testAttribute(Qt::WA_Resized)) adjustSize();
  QWidget* anchor = placementAnchor();
  frameMargins(anchor);  // learn the window system's frame from the shown main window
  const QRect screen = availableArea(anchor ? anchor : this);
  fitToScreen(screen);
  if (testAttribute(Qt::WA_Moved)) return;  // a window keeps the place it was given
  const QRect frame = frameOf(this);
  if (!anchor || anchor == this) {
    placeFrameAt(this, keepInside(frame, screen));
    return;
  }
  // The window kept uncovered stands clear of the main window: where the
  // screen has no room beside it, the main window gives up what is needed
  // and it can spare.
  if (this == uncoveredWindow()) {
    const QRect anchorFrame = frameOf(anchor);
    const QSize margins = anchorFrame.size() - anchor->size();
    if (const std::optional<QSize> room = anchorSizeMakingRoom(frame.size(), screen, anchorFrame,
                                                               anchor->minimumSizeHint() + margins))
      anchor->resize(*room - margins);
  }
  std::optional<QRect> keepClear;
  if (QWidget* uncovered = uncoveredWindow();
      uncovered && uncovered != this && uncovered->isVisible())
    keepClear = frameOf(uncovered);
  placeFrameAt(this,
               placeWindow(frame.size(), screen, frameOf(anchor), keepClear, cascadeStep()++));
}

void Form::fitToScreen(const QRect& screen) {
  const QSize room = screen.size().shrunkBy(frameMargins(nullptr));
  const QSize needed = size().expandedTo(minimumSizeHint());
  if (needed.width() <= room.width() && needed.height() <= room.height()) return;
  if (layout() &&
      !findChild<QScrollArea*>(QStringLiteral("fitToScreen"), Qt::FindDirectChildrenOnly)) {
    // The window's contents go into a scroll area that fits the screen.
    auto* content = new QWidget;
    content->setLayout(layout());  // takes the layout and the controls in it
    auto* area = new QScrollArea(this);
    area->setObjectName(QStringLiteral("fitToScreen"));
    area->setFrameShape(QFrame::NoFrame);
    area->setWidgetResizable(true);
    area->setWidget(content);
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->addWidget(area);
  }
  setMinimumSize(0, 0);
  resize(needed.boundedTo(room));
}

void Form::Show(bool modal) {
  placeOnFirstShow();
  if (modal) {
    host_.showModal(*this);
    return;
  }
  show();
  raise();
  activateWindow();
}

void Form::setMousePointer(int value) {
  mousePointer_ = value;
  if (value == vbHourglass)
    setCursor(Qt::WaitCursor);
  else
    unsetCursor();
}

void Form::setEnabledState(bool on) {
  if (!on && isEnabled()) focusBeforeDisable_ = focusWidget();
  setEnabled(on);
  if (!on) return;
  QWidget* focus = focusBeforeDisable_;
  focusBeforeDisable_.clear();
  if (focus && focus->isEnabled() && focus->isVisible()) focus->setFocus(Qt::OtherFocusReason);
}

void Form::holdInput(bool on) {
  if (!hold_) {
    if (!on) return;
    hold_ = new InputHold(*this, host_);
  }
  hold_->setHeld(on);
}

bool Form::inputHeld() const {
  return hold_ && hold_->held();
}

bool Form::keepsInput() const {
  return hold_ && hold_->keepsInput();
}

void Form::showEvent(QShowEvent* event) {
  if (!ownDefaultKnown_) {
    ownDefaultKnown_ = true;
    ownDefault_ = defaultButton(*this);
  }
  keepModifiedEnterAndEscFromButtons(*this);
  // Where the window would open with the focus on another button, its default
  // button takes the focus instead; a list or a text box keeps it.
  if (!focusWidget() && ownDefault_ && ownDefault_->isEnabled() &&
      qobject_cast<QPushButton*>(firstInTabOrder(*this)))
    ownDefault_->setFocus();
  QWidget::showEvent(event);
}

void Form::keyPressEvent(QKeyEvent* event) {
  if (QPushButton* button = buttonForKey(*this, *event)) {
    event->accept();
    button->click();
    return;
  }
  QWidget::keyPressEvent(event);
}

void Form::closeEvent(QCloseEvent* event) {
  event->accept();
  if (unloadRequest_) {
    // The instance is discarded once this event has been handled.
    auto unload = unloadRequest_;
    unload();
  }
}

void Form::hideEvent(QHideEvent* event) {
  QWidget::hideEvent(event);
  if (!event->spontaneous()) emit hiddenOrClosed();
}

}  // namespace kvlink
