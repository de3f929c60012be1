#pragma once
// For the render tools (not tests): windows drawn offscreen into PNG files,
// for a look at their layout.

#include <QDir>
#include <QString>
#include <QWidget>

namespace kvlink::test {

// The directory named on the command line, or the current one.
inline QString imageDirectory(int argc, char** argv) {
  return argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral(".");
}

// `window` at the size its layout asks for, as <dir>/<name>.png.
inline void saveWindowImage(QWidget& window, const QString& dir, const QString& name) {
  window.adjustSize();
  window.grab().save(QDir(dir).filePath(name + QStringLiteral(".png")));
}

}  // namespace kvlink::test
