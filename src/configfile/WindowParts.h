#pragma once
// How the configuration-file windows build their texts and buttons: wrapped
// labels, and buttons that Enter does not press unless they are the default.

#include <QLabel>
#include <QPushButton>

namespace kvlink {

QLabel* makeDesignLabel(QWidget* parent, const char* name, const QString& text);
QPushButton* makeDesignButton(QWidget* parent, const char* name, const QString& text);

}  // namespace kvlink
