#include "Startup.h"

#include <cstdio>

#include "Form1.h"
#include "Form16.h"
#include "Host.h"
#include "LinkSwitch.h"
#include "Program.h"
#include "SerialLink.h"
#include "SettingsFile.h"
#include "frmSplash.h"
#include "platform/Profile.h"
#include "platform/SettingsDirectory.h"
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

// A new settings file gets every default and no passwords; one without
// [Settings] (made by the password tool, or damaged) gets the [Settings]
// defaults, and its passwords stay as they are.
void writeFirstStartDefaults(Program& program, const StoredLinkSettings& defaults) {
  const bool fresh = !settingsFileExists();
  if (!fresh && IniHasSection(kSettingsSection, kSettingsFile)) return;
  if (writeDefaultSettings(defaults, fresh)) return;
  MsgBox(program.host,
         QStringLiteral("The settings file %1 could not be %2.\nSettings will not be kept.")
             .arg(QString::fromStdString(settingsFilePath()),
                  fresh ? QStringLiteral("created") : QStringLiteral("written")),
         vbExclamation);
}

void restoreAutoRetrieve(Program& program) {
  if (program.hooks.restoreAutoRetrieve) program.hooks.restoreAutoRetrieve();
}

}  // namespace

StartResult StartProgram(Program& program, SingleInstanceLock& lock,
                         const std::string& settingsDir) {
  QString text;
  StartResult result = StartResult::Failed;
  switch (lock.acquire(settingsDir)) {
    case SingleInstanceLock::Result::Acquired:
      program.frmSplash().Show();
      return StartResult::Started;
    case SingleInstanceLock::Result::HeldElsewhere:
      text = kAlreadyRunning;
      result = StartResult::AlreadyRunning;
      break;
    case SingleInstanceLock::Result::Failed:
      text = QStringLiteral("KV-LINK27 cannot start: its settings directory cannot be used.\n%1")
                 .arg(QString::fromStdString(lock.failure()));
      break;
  }
  std::fprintf(stderr, "%s\n", text.toLocal8Bit().constData());
  MsgBox(program.host, text, vbExclamation);
  return result;
}

StartResult StartProgram(Program& program, SingleInstanceLock& lock) {
  return StartProgram(program, lock, settingsDirectory());
}

void Form1_Form_Load(Program& program) {
  const StoredLinkSettings defaults;  // station 1, COM 1, DF1, 9600 baud, CRC
  setStartValues(program, defaults);

  Form1& form = program.Form1();
  form.Label3->setText(QStringLiteral("N/A"));
  showLinkClosed(form);
  writeFirstStartDefaults(program, defaults);

  const SettingsReadResult read = readStoredLinkSettings(defaults);
  LinkState& link = program.linkState;
  link.serialKeysMissing = !read.allSerialKeysPresent;
  form.showCommNotEnabled();
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
