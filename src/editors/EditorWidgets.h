#pragma once
// Small builders for the controls of the editor windows: named labels,
// frames, panels and buttons, design colours, and the raised small label
// that turns "I  t" into I²t.

#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <cstdint>

namespace kvlink {

QLabel* makeLabel(QWidget* parent, const char* name, const QString& text = {});
QGroupBox* makeFrame(QWidget* parent, const char* name, const QString& caption);
QPushButton* makeButton(QWidget* parent, const char* name, const QString& caption);
// A sunken strip across the top of a window (the design's 3-D panel).
QFrame* makePanel(QWidget* parent, const char* name);

// Text colour, and background colour, in the design's 0x00BBGGRR form.
void setTextColor(QWidget* widget, uint32_t color);
void setBackgroundColor(QWidget* widget, uint32_t color);

// Keeps the widget's place in its layout while it is hidden, so that
// showing or hiding it does not move its neighbours.
void keepPlaceWhenHidden(QWidget* widget);

// Puts `small` (a child label with a smaller font) over the gap of `base`'s
// text that follows `before`, raised above the line.
void attachSuperscript(QLabel* base, QLabel* small, const QString& before);

}  // namespace kvlink
