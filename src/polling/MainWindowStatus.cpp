#include "MainWindowStatus.h"

#include "Form1.h"
#include "MainStatusText.h"
#include "PassTarget.h"
#include "Program.h"
#include "VbColor.h"

namespace kvlink {

namespace {

void setAlarmColour(QLabel* label, bool alarming) {
  QPalette palette = label->parentWidget() ? label->parentWidget()->palette() : QPalette();
  if (alarming) palette.setColor(QPalette::WindowText, vbColor(kDarkRed));
  label->setPalette(palette);
}

void setStationMenus(Form1& main, bool on) {
  Form1::setMenuEnabled(main.mnuDisplay, on);
  Form1::setMenuEnabled(main.mnuDataLogging, on);
  main.Command3D1->setEnabled(on);
}

}  // namespace

void showMainWindowStatus(Program& program, const PassTarget& target, bool answered) {
  Form1& main = program.Form1();
  setStationMenus(main, answered);
  if (!target.stationUnchanged(program)) return;
  const PollState& poll = program.poll;
  main.Label1->setText(
      QString::fromStdString(runtimeStatusText(answered, poll.UnitType, poll.values)));
  const TripAlarmText tripAlarm = tripAlarmText(answered, poll.values);
  main.Label3->setText(QString::fromStdString(tripAlarm.text));
  setAlarmColour(main.Label3, tripAlarm.alarming);
}

void showMainWindowNotConnected(Program& program) {
  Form1& main = program.Form1();
  Form1::setMenuEnabled(main.mnuDisplay, false);
  Form1::setMenuEnabled(main.mnuDataLogging, false);
  Form1::setMenuEnabled(main.mnuHelp, true);
  Form1::setMenuEnabled(main.menuDisplayNetworkSum, false);
  main.Command3D1->setEnabled(false);
  main.showCommNotEnabled();
  main.Label3->setText(QString::fromUtf8(kNotAvailableText));
  setAlarmColour(main.Label3, false);
}

}  // namespace kvlink
