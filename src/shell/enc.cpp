#include "enc.h"

#include "Host.h"
#include "PasswordCoding.h"
#include "Program.h"
#include "SettingsFile.h"
#include "platform/Profile.h"

namespace kvlink {

namespace {

const QString kPasswordTitle = QStringLiteral("Password");

QString levelName(int16_t level) {
  return level == 1 ? QStringLiteral("general") : QStringLiteral("master");
}

}  // namespace

int16_t CheckPassword(Program& program, int16_t level) {
  const std::string key = passwordKey(level);
  if (key.empty()) return kPasswordRefused;
  const std::string stored = ReadIni(kMiscSection, key, kSettingsFile);
  if (stored == kNoPassword) return kPasswordGranted;

  const std::optional<std::string> password = decodePassword(stored);
  if (!password) {
    MsgBox(program.host,
           QStringLiteral("The %1 password is missing from the settings file %2.\n"
                          "Ask your administrator to set the password again.")
               .arg(levelName(level), QString::fromStdString(settingsFilePath())),
           vbCritical, kPasswordTitle);
    program.session.PasswordDestroyed = 1;
    if (program.hooks.passwordDestroyed) program.hooks.passwordDestroyed();
    return kPasswordFileDamaged;
  }

  const std::optional<QString> typed = program.host.askPassword(
      QStringLiteral("Enter the %1 password:").arg(levelName(level)), kPasswordTitle);
  if (!typed) return kPasswordRefused;
  if (typed->toStdString() == *password) return kPasswordGranted;
  MsgBox(program.host, QStringLiteral("The password is not correct."), vbExclamation,
         kPasswordTitle);
  return kPasswordRefused;
}

}  // namespace kvlink
