#include "Form.h"

#include <QCloseEvent>
#include <QHideEvent>
#include <QPointer>

#include "Host.h"

namespace kvlink {

Form::Form(Host& host, const QString& designName)
    : QWidget(nullptr), host_(host), designName_(designName) {
  setObjectName(designName);
  setAttribute(Qt::WA_DeleteOnClose, false);
}

Form::~Form() {
  emit hiddenOrClosed();
}

namespace {
QPointer<QWidget>& placementAnchor() {
  static QPointer<QWidget> anchor;
  return anchor;
}
int& cascadeStep() {
  static int step = 0;
  return step;
}
}  // namespace

void Form::setPlacementAnchor(QWidget* anchor) {
  placementAnchor() = anchor;
  cascadeStep() = 0;
}

void Form::placeOnFirstShow() {
  if (placed_) return;
  placed_ = true;
  QWidget* anchor = placementAnchor();
  if (!anchor || anchor == this || testAttribute(Qt::WA_Moved)) return;
  const QRect frame = anchor->frameGeometry();
  const int step = 32 * (cascadeStep()++ % 8);
  move(frame.right() + 8, frame.top() + step);
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
