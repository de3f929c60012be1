#include "SettingsWriter.h"

#include <QStringList>

#include "Host.h"
#include "SettingsFile.h"
#include "platform/Profile.h"

namespace kvlink {

bool saveSetting(Host& host, const std::string& section, const std::string& key,
                 const std::string& value) {
  return saveSettings(host, section, {{key, value}});
}

bool saveSettings(Host& host, const std::string& section, const SettingValues& keys) {
  QStringList failed;
  for (const auto& [key, value] : keys)
    if (!WriteIni(section, key, value, kSettingsFile))
      failed << QStringLiteral("\"%1\"").arg(QString::fromStdString(key));
  if (failed.isEmpty()) return true;
  // "port" / "port" and "baud" / "port", "baud" and "protocol"
  const QString last = failed.takeLast();
  const QString names =
      failed.isEmpty() ? last : failed.join(QStringLiteral(", ")) + " and " + last;
  MsgBox(host,
         QStringLiteral("The %1 %2 could not be saved in %3.")
             .arg(failed.isEmpty() ? "setting" : "settings", names,
                  QString::fromStdString(settingsFilePath())),
         vbExclamation);
  return false;
}

}  // namespace kvlink
