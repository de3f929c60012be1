#include "ProgramWindows.h"

#include <QApplication>
#include <QWidget>

#include "Form1.h"
#include "Program.h"

namespace kvlink::test {

int openEveryWindow(Program& program) {
  Form1& main = program.Form1();
  main.Show();
  for (QAction* action :
       {main.mnuDisplayMeter, main.mnuDisplaySet, main.mnuDisplayCT, main.menuDisplayTripsAlarms,
        main.mnuDisplayPretrip, main.menuDisplayNetworkSummary}) {
    if (action && action->isEnabled()) action->trigger();
  }
  if (main.Command3D1->isEnabled()) main.Command3D1->click();
  QCoreApplication::processEvents();
  int shown = 0;
  for (QWidget* w : QApplication::topLevelWidgets()) shown += w->isVisible() ? 1 : 0;
  return shown;
}

}  // namespace kvlink::test
