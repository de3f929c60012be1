#include "AutoRetrieveRestore.h"

#include "AutoRetrieveFile.h"
#include "AutoRetrieveModule.h"
#include "AutoRetrieveSettings.h"
#include "Host.h"
#include "SettingsFile.h"
#include "platform/Profile.h"
#include "platform/TempPath.h"

namespace kvlink {

namespace {

// Sets the option buttons in code, without running their handlers.
template <class F>
void withOptionEventsSuppressed(AutoRetrieveModule& m, F set) {
  m.SuppressOptionEvents = 1;
  set();
  m.SuppressOptionEvents = 0;
}

void showRestored(AutoRetrieveModule& m, AutoSave& window, const RestoredAutoRetrieve& restored) {
  if (restored.limit) {
    m.AutoRecordLimit = restored.limit->limit;
    window.Label9->setText(QString::fromStdString(restored.limit->shown));
  }
  if (restored.directory) window.Label7->setText(QString::fromStdString(*restored.directory));
  for (size_t i = 0; i < restored.stations.size(); ++i) {
    const int slot = int(i) + 1;
    m.AutoStations[i] = restored.stations[i];
    window.slotCheck(slot)->setChecked(true);
    window.slotUpDown(slot)->setValue(restored.stations[i]);
  }
}

}  // namespace

void RestoreAutoRetrieveSettings(Program& program) {
  AutoRetrieveModule& m = program.module<AutoRetrieveModule>();
  AutoSave& window = m.AutoSave();

  const RestoredAutoRetrieve restored = restoreAutoRetrieveSettings(
      [](const std::string& key) { return ReadIni(kSettingsSection, key, kSettingsFile); },
      directoryProblem, tempPath());
  showRestored(m, window, restored);
  // A directory that takes no files stays in the settings, to be tried
  // again at the next start.
  if (restored.directory && !restored.unwritable)
    WriteIni(kSettingsSection, kAutoDirKey, *restored.directory, kSettingsFile);

  if (restored.refused || !restored.on) {
    withOptionEventsSuppressed(m, [&window] { window.unlockSettings(); });
    m.AutoStationCount = 0;
    window.clearStatusLines();
    return;
  }
  withOptionEventsSuppressed(m, [&window] { window.lockSettings(); });
  m.AutoStationCount = static_cast<int16_t>(restored.stations.size());
  window.Timer1->start();
  if (restored.unwritable)
    MsgBox(program.host,
           QStringLiteral("Auto Retrieve cannot write to the directory %1 (%2).\nThe records are "
                          "saved in %3 instead.")
               .arg(QString::fromStdString(restored.unwritable->directory),
                    QString::fromStdString(restored.unwritable->reason),
                    QString::fromStdString(*restored.directory)),
           vbExclamation);
}

}  // namespace kvlink
