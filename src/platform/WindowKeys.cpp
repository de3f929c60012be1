#include "WindowKeys.h"

#include <QKeyEvent>
#include <QPushButton>

namespace kvlink {

namespace {

// The captions of the buttons that cancel or close a window.
const QLatin1String kLeavingCaptions[] = {QLatin1String("Cancel"), QLatin1String("Close"),
                                          QLatin1String("Exit")};

bool usable(QWidget& window, const QPushButton* button) {
  return button && button->isEnabled() && button->isVisibleTo(&window);
}

QPushButton* buttonForEnter(QWidget& window) {
  if (auto* focused = qobject_cast<QPushButton*>(window.focusWidget()); usable(window, focused))
    return focused;
  for (QPushButton* button : window.findChildren<QPushButton*>())
    if (button->isDefault() && usable(window, button)) return button;
  return nullptr;
}

QPushButton* buttonForEscape(QWidget& window) {
  for (QPushButton* button : window.findChildren<QPushButton*>()) {
    const QString caption = button->text().remove(QLatin1Char('&')).trimmed();
    for (const QLatin1String leaving : kLeavingCaptions)
      if (caption == leaving && usable(window, button)) return button;
  }
  return nullptr;
}

}  // namespace

QPushButton* buttonForKey(QWidget& window, const QKeyEvent& key) {
  if ((key.modifiers() & ~Qt::KeypadModifier) != Qt::NoModifier) return nullptr;
  switch (key.key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
      return buttonForEnter(window);
    case Qt::Key_Escape:
      return buttonForEscape(window);
    default:
      return nullptr;
  }
}

}  // namespace kvlink
