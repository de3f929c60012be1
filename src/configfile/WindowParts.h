#pragma once
// Small pieces the configuration-file windows share.

#include <QLabel>
#include <QPushButton>
#include <QStyle>

namespace kvlink {

// A label or button under its design name, in the windows' Arial face.
QLabel* makeDesignLabel(QWidget* parent, const char* name, const QString& text);
QPushButton* makeDesignButton(QWidget* parent, const char* name, const QString& text);
// A picture of one of the style's standard icons.
QLabel* makeDesignImage(QWidget* parent, const char* name, QStyle::StandardPixmap icon);

// The font the windows' design gives their texts.
QFont arialFont(const QFont& base);

}  // namespace kvlink
