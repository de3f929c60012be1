// Renders the editor windows of this folder to PNG files, for a look at
// their layout: editors2_render <directory>. Not a test.
#include <QApplication>
#include <QDir>

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
  return 0;
}
