#pragma once
// Small builders for the controls of the windows: named labels, frames,
// panels and buttons, design colours (0x00BBGGRR), frames whose caption has
// a colour of its own, and the raised small label that turns "I  t" into I²t.

#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <cstdint>

namespace kvlink {

QLabel* makeLabel(QWidget* parent, const QString& name, const QString& text = {});
QGroupBox* makeFrame(QWidget* parent, const QString& name, const QString& caption);
QPushButton* makeButton(QWidget* parent, const QString& name, const QString& caption);
// A sunken strip across the top of a window (the design's 3-D panel).
QFrame* makePanel(QWidget* parent, const QString& name);
// A picture of one of the style's standard icons (information, warning, ...).
QLabel* makeImage(QWidget* parent, const QString& name, QStyle::StandardPixmap icon);

// Text colour, and background colour, in the design's 0x00BBGGRR form.
void setTextColor(QWidget* widget, uint32_t color);
// The design colour last given by setTextColor (0 when none was given).
uint32_t textColor(const QWidget* widget);
void setBackgroundColor(QWidget* widget, uint32_t color);

// Shows `text` in at most `chars` average character widths: a longer text is
// cut with an ellipsis and shown whole in the tooltip, so that it cannot widen
// the window.
void setElidedText(QLabel* label, const QString& text, int chars);

// Keeps the widget's place in its layout while it is hidden, so that
// showing or hiding it does not move its neighbours.
void keepPlaceWhenHidden(QWidget* widget);

// A grid of `rows` rows, each at least `rowHeight` high, filling the frame
// from the top.
QGridLayout* rowGrid(QWidget* frame, int rows, int rowHeight);

// Puts `small` (a child label with a smaller font) over the gap of `base`'s
// text that follows `before`, raised above the line.
void attachSuperscript(QLabel* base, QLabel* small, const QString& before);

// A frame whose caption has a design colour of its own.
class CaptionFrame : public QGroupBox {
  Q_OBJECT
 public:
  CaptionFrame(const QString& caption, uint32_t captionColor, QWidget* parent);
  void setCaptionColor(uint32_t color);
  uint32_t captionColor() const { return captionColor_; }

 private:
  uint32_t captionColor_ = 0;
};

}  // namespace kvlink
