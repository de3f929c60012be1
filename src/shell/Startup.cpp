#include "Startup.h"

#include "Form1.h"
#include "Form16.h"
#include "Host.h"
#include "LinkSwitch.h"
#include "Program.h"
#include "SerialLink.h"
#include "SettingsFile.h"
#include "frmSplash.h"
#include "platform/Profile.h"
#include "platform/SingleInstanceLock.h"

namespace kvlink {

namespace {

void setStartValues(Program& program, const StoredLinkSettings& defaults) {
  LinkState& link = program.linkState;
  link.CommPort = defaults.CommPort;
  link.BaudCode = defaults.BaudCode;
  link.UseModbus = defaults.UseModbus;
  link.CheckMode = defaults.CheckMode;
  program.selectStation(defaults.CurrentStation);
  program.windowStates.closeAll();
  program.commands.dropAll();
  program.session.EditIdle = 1;
}

void restoreAutoRetrieve(Program& program) {
  if (program.hooks.restoreAutoRetrieve) program.hooks.restoreAutoRetrieve();
}

}  // namespace

bool StartProgram(Program& program, SingleInstanceLock& lock, const std::string& lockName) {
  if (!lock.acquire(lockName)) return false;
  program.frmSplash().Show();
  return true;
}

void Form1_Form_Load(Program& program) {
  const StoredLinkSettings defaults;  // station 1, COM 1, DF1, 9600 baud, CRC
  setStartValues(program, defaults);

  Form1& form = program.Form1();
  form.Label1->setText(QStringLiteral("COMM not enabled"));
  form.Label3->setText(QStringLiteral("N/A"));
  showLinkClosed(form);

  if (!settingsFileExists() && !writeDefaultSettingsFile(defaults)) {
    MsgBox(program.host,
           QStringLiteral("The settings file %1 could not be created.\nSettings will not be kept.")
               .arg(QString::fromStdString(settingsFilePath())),
           vbExclamation);
  }

  const SettingsReadResult read = readStoredLinkSettings(defaults);
  LinkState& link = program.linkState;
  link.CommPort = read.settings.CommPort;
  link.CheckMode = read.settings.CheckMode;
  link.BaudCode = read.settings.BaudCode;
  link.UseModbus = read.settings.UseModbus;
  program.selectStation(read.settings.CurrentStation);
  form.showStation(link.CurrentStation,
                   QString::fromStdString(readStationName(link.CurrentStation)));

  program.Form16().showSettings();  // loaded (hidden) when it was not
  if (!read.allSerialKeysPresent) return;

  switch (autoStartOf(ReadIni(kSettingsSection, kAutoStartKey, kSettingsFile))) {
    case AutoStart::Empty:
      return;
    case AutoStart::Off:
      restoreAutoRetrieve(program);
      return;
    case AutoStart::On:
      break;
  }
  link.CommEnabled = 1;
  if (!SwitchLinkOn(program)) return;
  restoreAutoRetrieve(program);
}

void ShowMainWindow(Program& program) {
  Form::setPlacementAnchor(&program.Form1());
  Form1_Form_Load(program);
  if (program.ended) return;
  program.Form1().Show();
}

void EndProgram(Program& program) {
  if (program.ended) return;
  program.ended = true;
  if (Form1* form = program.Form1.ifLoaded()) form->Timer1->stop();
  program.unloadAll();
  CloseLink(program);
  if (program.quit) program.quit();
}

}  // namespace kvlink
