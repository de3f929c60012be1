#include "LostToBoxBeep.h"

#include <QApplication>
#include <QWidget>

#include "Form.h"
#include "Host.h"
#include "WindowSystemPress.h"

namespace kvlink {

LostToBoxBeep::LostToBoxBeep(const QWidget& box, Host& host) : box_(box), host_(host) {
  QApplication::instance()->installNativeEventFilter(this);
}

LostToBoxBeep::~LostToBoxBeep() {
  QApplication::instance()->removeNativeEventFilter(this);
}

bool LostToBoxBeep::nativeEventFilter(const QByteArray& kind, void* message, qintptr*) {
  if (rung_) return false;
  const std::optional<WId> window = pressedWindow(kind, message);
  const QWidget* pressed = window ? QWidget::find(*window) : nullptr;
  // The box, or a box it opened in turn, takes its own input.
  if (!pressed || pressed->window() == &box_ ||
      pressed->window() == QApplication::activeModalWidget())
    return false;
  if (const auto* form = qobject_cast<const Form*>(pressed); form && form->keepsInput())
    return false;
  rung_ = true;
  host_.beep();
  return false;
}

}  // namespace kvlink
