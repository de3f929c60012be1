// Renders the status windows with sample contents to PNG files, for the
// documentation and for looking at the layouts: status_screens <folder>.
#include <QApplication>
#include <QDir>
#include <QTemporaryDir>

#include "Form1.h"
#include "InstallStatus.h"
#include "Program.h"
#include "ScriptedHost.h"
#include "StatusModule.h"
#include "platform/Profile.h"

namespace kvlink {
namespace {

void save(QWidget& window, const QString& folder, const QString& name) {
  window.show();
  window.adjustSize();
  QApplication::processEvents();
  window.grab().save(QDir(folder).filePath(name));
}

PolledValues sample(bool motor) {
  PolledValues v;
  if (motor) {
    v.PolledAmps = 212, v.PolledAmpsPercent = 94, v.PolledPeakCurrent = 1288;
    v.PolledModulation = 37, v.PolledUnbalance = 3, v.PolledTemperature = 68;
    v.PolledLeakage = 2, v.PolledPercentI2t = 41;
    v.PolledPreTripCurrent = 1402, v.PolledPreTripUnbalance = 11;
    v.PolledPreTripTemperature = 85, v.PolledPreTripLeakage = 4, v.PolledPreTripPercentI2t = 100;
    v.PolledTripStatus = 1, v.PolledAlarmStatus = 2 | 16, v.PolledMotorStatus = 4 | 3;
  } else {
    v.PolledPhaseA = 402, v.PolledPhaseB = 398, v.PolledPhaseC = 405, v.PolledUnbalance = 1;
    v.PolledLeakage = 0, v.PolledPercentI2t = 12, v.PolledOpCount = 1843;
    v.PolledPreTripPhaseA = 3120, v.PolledPreTripPhaseB = 3088, v.PolledPreTripPhaseC = 3151;
    v.PolledPreTripUnbalance = 2, v.PolledPreTripLeakage = 1, v.PolledPreTripPercentI2t = 64;
    v.PolledTripStatus = 0, v.PolledAlarmStatus = 0, v.PolledMotorStatus = 2;
  }
  return v;
}

void pass(Program& program, int16_t type, const QString& name) {
  program.poll.UnitType = type;
  program.poll.values = sample(type == 0 || type == 2);
  for (WindowKind* kind : program.windowKinds()) kind->showStationName(name);
  for (WindowKind* kind : program.windowKinds()) kind->syncToUnitType(type);
  for (WindowKind* kind : program.windowKinds()) kind->refresh();
}

}  // namespace
}  // namespace kvlink

int main(int argc, char** argv) {
  using namespace kvlink;
  QApplication app(argc, argv);
  const QString folder = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral(".");
  QTemporaryDir settings;
  qputenv("KVLINK_WINDIR", settings.path().toUtf8());
  WriteIni("Station", "station6", "Cooling tower fan 2", "gridmon.ini");
  ScriptedHost host;
  Program program(host, nullptr);
  installStatus(program);
  StatusModule& status = program.module<StatusModule>();
  status.scan.readMarkPause = std::chrono::milliseconds(0);

  program.poll.UnitType = 0;
  Form1_mnuDisplayMeter_Click(program);
  pass(program, 0, QStringLiteral("Boiler feed pump 2"));
  save(status.MeterForm(), folder, QStringLiteral("status-general-status-motor.png"));
  pass(program, 1, QStringLiteral("Incomer feeder A"));
  save(status.MeterForm(), folder, QStringLiteral("status-general-status-feeder.png"));
  pass(program, 4, QStringLiteral("Lighting panel CPR"));
  save(status.MeterForm(), folder, QStringLiteral("status-general-status-type4.png"));
  program.selectStation(6);  // not answered yet
  status.generalStatus.showStationName(QStringLiteral("Cooling tower fan 2"));
  save(status.MeterForm(), folder, QStringLiteral("status-general-status-no-answer.png"));

  program.Form1().menuDisplayNetworkSummary->trigger();
  save(status.Form14(), folder, QStringLiteral("status-network-summary-options.png"));
  status.Form14().Option2->setChecked(true);
  status.Form14().Command3D1->click();
  struct Cell {
    bool answered;
    int16_t type;
    uint16_t trip, alarm, motor;
  };
  for (int s = 1; s <= 63; ++s) {
    const Cell cells[] = {
        {true, 0, 0, 0, 3},  {true, 1, 0, 0, 2},  {true, 2, 2, 0, 0}, {true, 4, 0, 0, 1},
        {false, 0, 0, 0, 0}, {true, 0, 1, 16, 7}, {true, 2, 0, 0, 5}, {true, 1, 32, 1, 3},
    };
    const Cell& c = cells[(s * 5) % 8];
    program.poll.ScanStationFailed = (c.answered && s < 50) ? 0 : 1;
    program.poll.scan.ScanUnitType = c.type;
    program.poll.scan.ScanTripStatus = c.trip;
    program.poll.scan.ScanAlarmStatus = c.alarm;
    program.poll.scan.ScanMotorStatus = c.motor;
    NetworkSummaryStep(program);
  }
  status.Form13().Label1_Click(5);
  save(status.Form13(), folder, QStringLiteral("status-network-summary.png"));

  program.windowStates.PreTripWindowState = 0;
  save(status.Form4(), folder, QStringLiteral("status-pre-trip-motor.png"));
  save(status.Form34(), folder, QStringLiteral("status-pre-trip-feeder.png"));
  return 0;
}
