// Renders "Configure Data Logging" to PNG files, for a look at its layout:
// logger_config_render <directory>. Not a test.
#include "LoggerConfigTestProgram.h"
#include "WindowImage.h"

using namespace kvlink;

namespace {

void save(QWidget& window, const QString& dir, const QString& name) {
  test::saveWindowImage(window, dir, QStringLiteral("logger-config-") + name);
}

}  // namespace

int main(int argc, char** argv) {
  return test::renderWindows(argc, argv, [](const QString& dir) {
    test::LoggerConfigTestProgram p;
    test::MemoryStation& unit = p.link->station(test::kStation);
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
  });
}
