#include "WindowParts.h"

namespace kvlink {

QFont arialFont(const QFont& base) {
  QFont font = base;
  font.setFamilies(
      {QStringLiteral("Arial"), QStringLiteral("Liberation Sans"), QStringLiteral("DejaVu Sans")});
  return font;
}

QLabel* makeDesignLabel(QWidget* parent, const char* name, const QString& text) {
  auto* label = new QLabel(text, parent);
  label->setObjectName(QString::fromUtf8(name));
  label->setFont(arialFont(label->font()));
  label->setWordWrap(true);
  return label;
}

QPushButton* makeDesignButton(QWidget* parent, const char* name, const QString& text) {
  auto* button = new QPushButton(text, parent);
  button->setObjectName(QString::fromUtf8(name));
  button->setFont(arialFont(button->font()));
  button->setAutoDefault(false);
  return button;
}

QLabel* makeDesignImage(QWidget* parent, const char* name, QStyle::StandardPixmap icon) {
  auto* image = new QLabel(parent);
  image->setObjectName(QString::fromUtf8(name));
  const int size = parent->style()->pixelMetric(QStyle::PM_MessageBoxIconSize);
  image->setPixmap(parent->style()->standardIcon(icon).pixmap(size, size));
  image->setAlignment(Qt::AlignTop | Qt::AlignHCenter);
  return image;
}

}  // namespace kvlink
