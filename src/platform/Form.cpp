#include "Form.h"

#include <QCloseEvent>
#include <QHideEvent>

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

void Form::Show(bool modal) {
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
