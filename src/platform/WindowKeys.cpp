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

QPushButton* focusedButton(QWidget& window) {
  auto* focused = qobject_cast<QPushButton*>(window.focusWidget());
  return usable(window, focused) ? focused : nullptr;
}

QPushButton* buttonForEnter(QWidget& window) {
  if (QPushButton* focused = focusedButton(window)) return focused;
  QPushButton* shown = defaultButton(window);
  return usable(window, shown) ? shown : nullptr;
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

QPushButton* defaultButton(QWidget& window) {
  for (QPushButton* button : window.findChildren<QPushButton*>())
    if (button->isDefault()) return button;
  return nullptr;
}

QWidget* firstInTabOrder(QWidget& window) {
  for (QWidget* next = window.nextInFocusChain(); next != &window; next = next->nextInFocusChain())
    if ((next->focusPolicy() & Qt::TabFocus) && next->isEnabled() && next->isVisibleTo(&window))
      return next;
  return nullptr;
}

void showEnterButton(QWidget& window, QPushButton* ownDefault) {
  QPushButton* focused = focusedButton(window);
  QPushButton* shown = focused ? focused : ownDefault;
  for (QPushButton* button : window.findChildren<QPushButton*>())
    if (button->isDefault() != (button == shown)) button->setDefault(button == shown);
}

bool isModifiedEnterOrEsc(const QKeyEvent& key) {
  const bool enterOrEsc =
      key.key() == Qt::Key_Return || key.key() == Qt::Key_Enter || key.key() == Qt::Key_Escape;
  return enterOrEsc && (key.modifiers() & ~Qt::KeypadModifier) != Qt::NoModifier;
}

namespace {

const QLatin1String kFilterName("modifiedEnterAndEsc");

class ModifiedEnterAndEscFilter : public QObject {
 public:
  explicit ModifiedEnterAndEscFilter(QObject* parent) : QObject(parent) {
    setObjectName(kFilterName);
  }
  bool eventFilter(QObject*, QEvent* event) override {
    return event->type() == QEvent::KeyPress &&
           isModifiedEnterOrEsc(*static_cast<QKeyEvent*>(event));
  }
};

}  // namespace

void keepModifiedEnterAndEscFromButtons(QWidget& window) {
  QObject* filter = window.findChild<QObject*>(kFilterName, Qt::FindDirectChildrenOnly);
  if (!filter) filter = new ModifiedEnterAndEscFilter(&window);
  for (QPushButton* button : window.findChildren<QPushButton*>())
    button->installEventFilter(filter);
}

QPushButton* buttonForKey(QWidget& window, const QKeyEvent& key) {
  if (isModifiedEnterOrEsc(key)) return nullptr;
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
