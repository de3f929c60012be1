#pragma once
// Small pieces the status windows share: a frame whose caption colour the
// poll sets, and labels coloured as the window designs give them.

#include <QGroupBox>
#include <QLabel>
#include <cstdint>
#include <optional>

namespace kvlink {

// A frame with a caption colour in the 0x00BBGGRR form.
class CaptionFrame : public QGroupBox {
  Q_OBJECT
 public:
  CaptionFrame(const QString& caption, uint32_t captionColor, QWidget* parent);
  void setCaptionColor(uint32_t color);
  uint32_t captionColor() const { return captionColor_; }

 private:
  uint32_t captionColor_ = 0;
};

// A label with its design name and colours (0x00BBGGRR, or a system colour).
QLabel* makeNamedLabel(QWidget* parent, const QString& name, const QString& text);
void setLabelTextColor(QLabel* label, uint32_t color);
void setLabelBackColor(QLabel* label, uint32_t color);
// The text colour a label was given, in the 0x00BBGGRR form.
uint32_t labelTextColor(const QLabel* label);

}  // namespace kvlink
