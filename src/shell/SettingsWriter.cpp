#include "SettingsWriter.h"

#include "Host.h"
#include "SettingsFile.h"
#include "platform/Profile.h"

namespace kvlink {

bool saveSetting(Host& host, const std::string& section, const std::string& key,
                 const std::string& value) {
  if (WriteIni(section, key, value, kSettingsFile)) return true;
  MsgBox(host,
         QStringLiteral("The setting \"%1\" could not be saved in %2.")
             .arg(QString::fromStdString(key), QString::fromStdString(settingsFilePath())),
         vbExclamation);
  return false;
}

}  // namespace kvlink
