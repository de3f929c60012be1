#include "NetworkScan.h"

#include <QPointer>
#include <thread>

#include "Controls.h"
#include "Form1.h"
#include "Host.h"
#include "ScanAdvance.h"
#include "SettingsFile.h"
#include "StationSwitch.h"
#include "StatusModule.h"
#include "UnitStateText.h"
#include "VbColor.h"

namespace kvlink {

namespace {

StatusModule& statusModule(Program& program) {
  return program.module<StatusModule>();
}

void enableSummaryCommand(Program& program, bool on) {
  program.Form1().menuDisplayNetworkSummary->setEnabled(on);
}

// The Network Summary while it exists; a step whose window was discarded in
// one of its event pumps paints no more.
Form13* summary(Program& program) {
  return statusModule(program).Form13.ifLoaded();
}

QString stationName(int station) {
  return QString::fromStdString(readStationName(station));
}

// No station is left in the scan: the scan ends before the operator is told,
// so that polls running under the message box do not repeat the step.
void endScanWithoutStations(Program& program) {
  if (program.poll.ScanActive != 1) return;  // already ended (Close during the step)
  program.poll.ScanActive = 0;
  MsgBox(program.host, QStringLiteral("No elegible stations to scan."));
  enableSummaryCommand(program, true);
  if (Form13* window = summary(program)) {
    window->Label10->setText(QStringLiteral(" "));
    window->Hide();
  }
}

void paintAnswer(Program& program, int i) {
  Host& host = program.host;
  const ScanValues& scan = program.poll.scan;
  const int unitType = scan.ScanUnitType.value_or(kUnitTypeUnknown);
  host.doEvents();
  Form13* window = summary(program);
  if (!window) return;
  setTextColor(window->Label1[i], kCellHealthy);
  window->Label2[i]->clear();
  if (scan.ScanTripStatus.value_or(0) != 0) {
    window->Label2[i]->setText(QStringLiteral("TRIPS "));
    host.doEvents();
    if (!(window = summary(program))) return;
    setTextColor(window->Label1[i], kCellTripOrAlarm);
  }
  if (scan.ScanAlarmStatus.value_or(0) != 0) {
    window->Label2[i]->setText(window->Label2[i]->text() + QStringLiteral("ALARMS "));
    host.doEvents();
    if (!(window = summary(program))) return;
    setTextColor(window->Label1[i], kCellTripOrAlarm);
  }
  window->Label2[i]->setText(
      window->Label2[i]->text() +
      QString::fromUtf8(unitStateText(unitType, scan.ScanMotorStatus.value_or(0xFFFF))));
  host.doEvents();
  if (!(window = summary(program))) return;
  window->LabelID1[i]->setText(QString::fromUtf8(unitTypeAbbreviation(unitType)));
  host.doEvents();
}

}  // namespace

void Form1_menuDisplayNetworkSummary_Click(Program& program) {
  program.poll.ScanStation = 1;
  Form14& options = statusModule(program).Form14();
  options.Option1->setChecked(true);
  program.poll.ScanEligibleCount = 63;
  options.Show();
}

void startNetworkScan(Program& program) {
  StatusModule& module = statusModule(program);
  module.scan.dropUnresponsive = module.Form14().Option1->isChecked();
  enableSummaryCommand(program, false);
  program.pointer.setApplicationPointer(vbHourglass);
  program.poll.ScanStation = 1;
  module.Form13();
  program.host.doEvents();
  program.pointer.setApplicationPointer(vbDefault);
  Form13& window = module.Form13();
  for (int i = 0; i < kStations; ++i) {
    window.Label1[i]->show();
    window.Label2[i]->show();
    setTextColor(window.Label1[i], kCellIdle);
    window.Label2[i]->clear();
    window.LabelID1[i]->show();
    window.LabelID1[i]->clear();
    window.LabelID1[i]->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  }
  window.Show();
  module.Form14().Hide();
  program.host.doEvents();
  module.scan.ScanFirstPassDone = 0;
  program.poll.ScanActive = 1;
}

void NetworkSummaryStep(Program& program) {
  StatusModule& module = statusModule(program);
  PollState& poll = program.poll;
  const int16_t station = poll.ScanStation;
  if (station < 1 || station > kStations) return;
  const int i = station - 1;

  if (Form13* window = summary(program)) setTextColor(window->Label1[i], kCellReading);
  program.host.doEvents();
  if (module.scan.readMarkPause.count() > 0) std::this_thread::sleep_for(module.scan.readMarkPause);

  const bool drop = module.scan.dropUnresponsive;
  if (poll.ScanStationFailed != 1) {
    paintAnswer(program, i);
  } else if (drop && module.scan.ScanFirstPassDone == 0) {
    if (Form13* window = summary(program)) {
      window->Label2[i]->hide();
      window->Label1[i]->hide();
      setTextColor(window->Label1[i], kCellIdle);
    }
    --poll.ScanEligibleCount;
    if (poll.ScanEligibleCount <= 0) {
      endScanWithoutStations(program);
      return;
    }
  } else if (Form13* window = summary(program)) {
    window->Label2[i]->show();
    window->Label1[i]->show();
    window->Label2[i]->setText(QStringLiteral("NR"));
    setTextColor(window->Label1[i], kCellIdle);
  }

  auto shown = [&program](int16_t s) {
    Form13* window = summary(program);
    return window && !window->Label1[s - 1]->isHidden();
  };
  const std::optional<ScanPosition> next =
      nextScanPosition({poll.ScanStation, module.scan.ScanFirstPassDone != 0}, drop, shown);
  if (!next) {
    endScanWithoutStations(program);
    return;
  }
  poll.ScanStation = next->station;
  module.scan.ScanFirstPassDone = next->firstPassDone ? 1 : 0;
}

void stopNetworkScan(Program& program, Form13& window) {
  QPointer<Form13> guard(&window);
  program.poll.ScanActive = 0;
  program.host.doEvents();
  if (guard) {
    guard->Label10->setText(QStringLiteral(" "));
    guard->Hide();
  }
  enableSummaryCommand(program, true);
}

void showStationOfCell(Program&, Form13& window, int index) {
  const int station = index + 1;
  setElidedText(window.Label10,
                QStringLiteral("Station Number:%1  Name:%2").arg(station).arg(stationName(station)),
                kStationNameShownChars + 24);
}

void switchToStationOfCell(Program& program, Form13& window, int index) {
  const int16_t station = int16_t(index + 1);
  switchToStation(program, station, stationName(station));
  QPointer<Form13> guard(&window);
  window.setMousePointer(vbHourglass);
  program.host.doEvents();
  if (guard) guard->setMousePointer(vbDefault);
}

void NetworkSummaryKind::closeAll(CloseReason reason) {
  if (reason == CloseReason::NoResponse) return;
  StatusModule& module = statusModule(program_);
  if (Form13* window = module.Form13.ifLoaded()) window->Hide();
  if (kvlink::Form14* options = module.Form14.ifLoaded()) options->Hide();
}

}  // namespace kvlink
