#include "PointerState.h"

#include <QCursor>
#include <QEvent>
#include <QGuiApplication>

#include "Form.h"

namespace kvlink {

PointerState::~PointerState() {
  locked_ = false;
  hidden_ = false;
  appPointer_ = 0;
  if (qApp) qApp->removeEventFilter(this);
  applyOverride();
}

void PointerState::setApplicationPointer(int value) {
  appPointer_ = value == vbHourglass ? vbHourglass : vbDefault;
  applyOverride();
}

void PointerState::savePosition() {
  saved_ = QCursor::pos();
}

void PointerState::lock() {
  if (locked_) return;
  locked_ = true;
  if (qApp) qApp->installEventFilter(this);
}

void PointerState::unlock() {
  if (!locked_) return;
  locked_ = false;
  if (qApp) qApp->removeEventFilter(this);
}

void PointerState::setVisible(bool visible) {
  hidden_ = !visible;
  applyOverride();
}

void PointerState::applyOverride() {
  if (!qobject_cast<QGuiApplication*>(QCoreApplication::instance())) return;
  if (overrideSet_) {
    QGuiApplication::restoreOverrideCursor();
    overrideSet_ = false;
  }
  if (hidden_) {
    QGuiApplication::setOverrideCursor(Qt::BlankCursor);
    overrideSet_ = true;
  } else if (appPointer_ == vbHourglass) {
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    overrideSet_ = true;
  }
}

bool PointerState::eventFilter(QObject* watched, QEvent* event) {
  switch (event->type()) {
    case QEvent::MouseMove:
      if (locked_ && QGuiApplication::platformName() == QLatin1String("xcb"))
        QCursor::setPos(saved_);
      return true;
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::Wheel:
    case QEvent::ContextMenu:
    case QEvent::HoverMove:
    case QEvent::HoverEnter:
      return true;
    default:
      return QObject::eventFilter(watched, event);
  }
}

}  // namespace kvlink
