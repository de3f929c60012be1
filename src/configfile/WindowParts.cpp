#include "WindowParts.h"

#include "Controls.h"

namespace kvlink {

QLabel* makeDesignLabel(QWidget* parent, const char* name, const QString& text) {
  QLabel* label = makeLabel(parent, QString::fromUtf8(name), text);
  label->setWordWrap(true);
  return label;
}

QPushButton* makeDesignButton(QWidget* parent, const char* name, const QString& text) {
  QPushButton* button = makeButton(parent, QString::fromUtf8(name), text);
  button->setAutoDefault(false);
  return button;
}

}  // namespace kvlink
