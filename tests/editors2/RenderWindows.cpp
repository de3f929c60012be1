// Renders the editor windows of this folder to PNG files, for a look at
// their layout: editors2_render <directory>. Not a test.
#include "CtModule.h"
#include "EditorTestProgram.h"
#include "ProgramModeActions.h"
#include "ProgramModeModule.h"
#include "WindowImage.h"

using namespace kvlink;
using test::saveWindowImage;

int main(int argc, char** argv) {
  return test::renderWindows(argc, argv, [](const QString& dir) {
    test::EditorTestProgram p;
    auto& mode = p->module<ProgramModeModule>();
    p->poll.values.ProgramModeWord1 = 0x5A;
    p->poll.values.ProgramModeWord2 = 4;
    for (int16_t type : {0, 1, 4}) {
      p.answeredSetPointRead(type);
      openProgramMode(*p, programModeFamilyOf(type));
      ProgramModeWindow& window = mode.window(programModeFamilyOf(type));
      saveWindowImage(window, dir, window.designName() + "_type" + QString::number(type));
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
      saveWindowImage(window, dir, window.designName() + "_type" + QString::number(type));
      window.Box_Click(*window.box("Text1"));
      saveWindowImage(window, dir, window.designName() + "_type" + QString::number(type) + "_edit");
      int esc = 27;
      window.Box_KeyPress(*window.box("Text1"), esc);
    }
  });
}
