#include "VbColor.h"

#include <QGuiApplication>
#include <QPalette>

namespace kvlink {

QColor vbColor(uint32_t value) {
  if (value & 0x80000000u) {
    const QPalette palette = QGuiApplication::palette();
    switch (value & 0xFF) {
      case 5:
        return palette.color(QPalette::Base);
      case 8:
        return palette.color(QPalette::Text);
      case 15:
        return palette.color(QPalette::Button);
      case 18:
        return palette.color(QPalette::ButtonText);
      default:
        return palette.color(QPalette::WindowText);
    }
  }
  return QColor(int(value & 0xFF), int((value >> 8) & 0xFF), int((value >> 16) & 0xFF));
}

}  // namespace kvlink
