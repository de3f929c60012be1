// Renders the editor windows of this folder to PNG files, for a look at
// their layout: editors2_render <directory>. Not a test.
#include <QApplication>
#include <QDir>

#include "CtModule.h"
#include "EditorTestProgram.h"
#include "ProgramModeActions.h"
#include "ProgramModeModule.h"

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
  test::EditorTestProgram p;
  auto& mode = p->module<ProgramModeModule>();
  p->poll.values.ProgramModeWord1 = 0x5A;
  p->poll.values.ProgramModeWord2 = 4;
  for (int16_t type : {0, 1, 4}) {
    p.answeredSetPointRead(type);
    openProgramMode(*p, programModeFamilyOf(type));
    ProgramModeWindow& window = mode.window(programModeFamilyOf(type));
    save(window, dir, window.designName() + "_type" + QString::number(type));
    closeProgramMode(*p, programModeFamilyOf(type));
  }
  PolledValues& values = p->poll.values;
  values.PolledPhaseCT = 150;
  values.PolledEFCT = 5;
  values.PolledFLA = 100;
  values.PolledServiceFactor = 115;
  CtModule& ct = ctModule(*p);
  ct.kind.showStationName(QStringLiteral("Pump house feeder 3"));
  ct.kind.refresh();
  for (int16_t type : {0, 2, 4}) {
    p->poll.UnitType = type;
    ct.mnuDisplayCT_Click();
    CtForm& window = static_cast<CtForm&>(ct.kind.variantFor(type)->window());
    save(window, dir, window.designName() + "_type" + QString::number(type));
    window.Box_Click(*window.box("Text1"));
    save(window, dir, window.designName() + "_type" + QString::number(type) + "_edit");
    int esc = 27;
    window.Box_KeyPress(*window.box("Text1"), esc);
  }
  return 0;
}
