#include "StatusWidgets.h"

#include <QPalette>

#include "VbColor.h"

namespace kvlink {

namespace {
const char* const kTextColorProperty = "vbTextColor";
}

CaptionFrame::CaptionFrame(const QString& caption, uint32_t captionColor, QWidget* parent)
    : QGroupBox(caption, parent) {
  setCaptionColor(captionColor);
}

void CaptionFrame::setCaptionColor(uint32_t color) {
  if (color == captionColor_ && !styleSheet().isEmpty()) return;
  captionColor_ = color;
  setStyleSheet(QStringLiteral("QGroupBox::title { color: %1; }").arg(vbColor(color).name()));
}

QLabel* makeNamedLabel(QWidget* parent, const QString& name, const QString& text) {
  auto* label = new QLabel(text, parent);
  label->setObjectName(name);
  return label;
}

void setLabelTextColor(QLabel* label, uint32_t color) {
  if (label->property(kTextColorProperty).toUInt() == color &&
      label->property(kTextColorProperty).isValid())
    return;
  label->setProperty(kTextColorProperty, color);
  QPalette palette = label->palette();
  palette.setColor(QPalette::WindowText, vbColor(color));
  label->setPalette(palette);
}

void setLabelBackColor(QLabel* label, uint32_t color) {
  QPalette palette = label->palette();
  palette.setColor(QPalette::Window, vbColor(color));
  label->setPalette(palette);
  label->setAutoFillBackground(true);
}

uint32_t labelTextColor(const QLabel* label) {
  return label->property(kTextColorProperty).toUInt();
}

}  // namespace kvlink
