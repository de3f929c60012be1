#include "StationSwitch.h"

#include "Form1.h"
#include "Program.h"

namespace kvlink {

void switchToStation(Program& program, int16_t station, const QString& name) {
  program.selectStation(station);
  Form1& main = program.Form1();
  main.Label1->clear();
  main.Label3->clear();
  main.showStation(station, name);
  for (WindowKind* kind : program.windowKinds()) kind->showStationName(name);
}

}  // namespace kvlink
