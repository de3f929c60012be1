// Renders the record viewer to PNG files, for a look at its layout:
// logger_records_render <directory>. Not a test.
#include <QApplication>
#include <QDir>

#include "LoggerTestProgram.h"

using namespace kvlink;

namespace {

void save(QWidget& window, const QString& dir, const QString& name) {
  window.adjustSize();
  window.grab().save(QDir(dir).filePath(name + ".png"));
}

}  // namespace

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  const QString dir = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral(".");
  {
    test::LoggerTestProgram t(true, 0);
    t.link->setRecord(test::kStation, 0,
                      {0x2003, 0x1225, 0x0314, 0x0509, 0x1FF, 0x3FF, 7, 120, 95, 4, 41, 0, 87, 650,
                       12, 39, 0, 100});
    t.regs()[138] = 137;
    t.retrieve([&](LogRetr& w) { save(w, dir, "logger-retrieve-motor"); });
  }
  {
    test::LoggerTestProgram t(false, 4);
    t.link->setRecord(test::kStation, 17,
                      {0x2024, 0x0102, 0x0208, 0x3000, 17, 1, 3, 200, 201, 202, 5, 60, 1234, 7, 8,
                       9, 10, 11, 12});
    t.regs()[138] = 250;
    t.retrieve([&](LogRetr& w) {
      w.HScroll1->setValue(17);
      w.SSOption2->setChecked(true);
      w.ProgressBar1->setRange(0, 49);
      w.ProgressBar1->setValue(20);
      save(w, dir, "logger-retrieve-type4");
    });
  }
  return 0;
}
