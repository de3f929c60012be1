#pragma once
// For the render tools (not tests): windows drawn offscreen into PNG files,
// for a look at their layout.

#include <QApplication>
#include <QDir>
#include <QString>
#include <QWidget>
#include <functional>

namespace kvlink::test {

// Runs `draw` in an offscreen application with the directory named on the
// command line, or the current one: the whole of a render tool's main().
inline int renderWindows(int argc, char** argv,
                         const std::function<void(const QString& dir)>& draw) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  draw(argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("."));
  return 0;
}

// `window` at the size its layout asks for, as <dir>/<name>.png.
inline void saveWindowImage(QWidget& window, const QString& dir, const QString& name) {
  window.adjustSize();
  window.grab().save(QDir(dir).filePath(name + QStringLiteral(".png")));
}

}  // namespace kvlink::test
