#include "LinkSwitch.h"

#include "Form1.h"
#include "Form16.h"
#include "Help.h"
#include "Host.h"
#include "PollSwitch.h"
#include "Program.h"
#include "SerialLink.h"
#include "link/LinkLibrary.h"

namespace kvlink {

namespace {

void setLinkMenusEnabled(Form1& form, bool on) {
  Form1::setMenuEnabled(form.mnuDisplay, on);
  Form1::setMenuEnabled(form.mnuDataLogging, on);
  Form1::setMenuEnabled(form.menuDisplayNetworkSum, on);
  form.menuDisplayNetworkSummary->setEnabled(on);
  form.Command3D1->setEnabled(on);
}

}  // namespace

void showLinkClosed(Form1& form) {
  setLinkMenusEnabled(form, false);
}

bool SwitchLinkOn(Program& program) {
  program.linkChanged();
  const int rc = OpenLink(program);
  program.Form16().showLinkState();
  if (rc != 0) {
    QString text = QStringLiteral("Requested COM port cannot be used.");
    if (const std::string reason = program.link->openFailureReason(); !reason.empty())
      text += QLatin1Char('\n') + QString::fromStdString(reason);
    MsgBox(program.host, text, vbExclamation);
    return false;
  }
  program.HelpWindow.Unload();
  Form1& form = program.Form1();
  setLinkMenusEnabled(form, true);
  RestartPollIfIdle(program);  // unless a window or a download holds it
  if (program.hooks.showGeneralStatusAfterOpen) {
    program.hooks.showGeneralStatusAfterOpen();
    program.windowStates.MeterWindowState = 0;
  }
  return true;
}

void SwitchLinkOff(Program& program) {
  program.Form1().Timer1->stop();
  program.linkState.CommEnabled = 0;
  CloseLink(program);
  for (WindowKind* kind : program.windowKinds()) kind->closeAll(CloseReason::LinkDisabled);
  program.windowStates.closeAll();
  program.linkChanged();
  showLinkClosed(program.Form1());
  program.Form16().showLinkState();
}

}  // namespace kvlink
