// Renders the editor windows offscreen into PNG files, to look at their
// layout: editors_render <directory>.
#include <QApplication>
#include <QDir>

#include "EditorsModule.h"
#include "InstallEditors.h"
#include "Program.h"
#include "ScriptedHost.h"
#include "link/SerialLinkLibrary.h"

using namespace kvlink;

namespace {

void save(QWidget& window, const QDir& dir, const QString& name) {
  window.show();
  window.adjustSize();
  QApplication::processEvents();
  window.grab().save(dir.filePath(name + QStringLiteral(".png")));
  window.hide();
}

}  // namespace

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  const QDir dir(argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("."));
  ScriptedHost host;
  Program program(host, std::make_unique<SerialLinkLibrary>());
  installEditors(program);
  EditorsModule& m = editorsModule(program);

  PolledValues& v = program.poll.values;
  v.PolledI2tTrip = 46;  // deleted
  v.PolledI2tAlarm = 12;
  v.PolledOvercurrentTrip = 600;
  v.PolledOvercurrentAlarm = 1000;  // longer than the box
  v.PolledUndercurrentTrip = 15;
  v.PolledUndercurrentAlarm = 101;  // deleted
  v.PolledUnbalanceTrip = 20;
  v.PolledUnbalanceAlarm = 76;
  v.PolledTemperatureTrip = 120;
  v.PolledTemperatureAlarm = 110;
  v.PolledLeakageTrip = 30;
  v.PolledLeakageAlarm = 25;
  v.PolledShortTimeTrip = 40;
  v.PolledShortTimeAlarm = 91;
  v.PolledInstantaneousTrip = 80;
  v.PolledInstantaneousAlarm = 70;
  v.PolledResetTime = 15;
  v.PolledETRPeak = 87;

  m.setPoints.showStationName(QStringLiteral("Pump house feeder 3"));
  m.resets.showStationName(QStringLiteral("Pump house feeder 3"));
  for (int16_t type : {0, 2, 1}) {
    program.poll.UnitType = type;
    m.setPoints.refresh();
  }
  m.resets.refresh();

  save(m.FORM5(), dir, "FORM5");
  save(m.lpFORM5(), dir, "lpFORM5");
  m.FORM35().applyUnitType(1);
  save(m.FORM35(), dir, "FORM35-type1");
  m.FORM35().applyUnitType(4);
  save(m.FORM35(), dir, "FORM35-type4");
  // During an edit: the hint and the prompt.
  m.FORM5().show();
  m.FORM5().Box_Click(*m.FORM5().box("Text5"));
  save(m.FORM5(), dir, "FORM5-editing");
  save(m.Form10(), dir, "Form10");
  save(m.Form40(), dir, "Form40");
  save(m.lpForm10(), dir, "lpForm10");
  save(m.lpForm40(), dir, "lpForm40");
  return 0;
}
