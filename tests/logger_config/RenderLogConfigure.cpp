// Renders "Configure Data Logging" to PNG files, for a look at its layout:
// logger_config_render <directory>. Not a test.
#include <QApplication>
#include <QDir>

#include "LoggerConfigTestProgram.h"

using namespace kvlink;

namespace {

void save(QWidget& window, const QString& dir, const QString& name) {
  window.adjustSize();
  window.grab().save(QDir(dir).filePath(QStringLiteral("logger-config-") + name + ".png"));
}

}  // namespace

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  const QString dir = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral(".");
  test::LoggerConfigTestProgram p;
  test::FakeStation& unit = p.link->station(5);
  const uint16_t logger[7] = {60, 10, 1 | 16, 0x1FF, 0x3BF, 7, 0};
  for (int i = 0; i < 7; ++i) unit.regs[132 + i] = logger[i];
  const uint16_t clock[4] = {0x2026, 0x1128, 0x0715, 0x1507};
  for (int i = 0; i < 4; ++i) unit.regs[128 + i] = clock[i];

  p->poll.UnitType = 0;
  LogConfigure& w = p.open();
  w.Timer1_Timer();
  w.Timer2_Timer();
  save(w, dir, QStringLiteral("clock"));
  w.SSCheck23->click();
  save(w, dir, QStringLiteral("clock-12-hour"));
  w.SSTab1->setCurrentIndex(1);
  save(w, dir, QStringLiteral("control-motor"));
  w.SSCommand1->click();

  p->poll.UnitType = 4;
  p.pcNow = {1990, 1, 2, 3, 9, 5, 0};
  p.open();
  save(w, dir, QStringLiteral("control-type4"));
  w.SSTab1->setCurrentIndex(0);
  w.Timer1_Timer();
  save(w, dir, QStringLiteral("clock-year-warning"));
  return 0;
}
