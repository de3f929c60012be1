#include "TestProgram.h"

#include <QCoreApplication>
#include <cstdlib>

#include "PasswordCoding.h"
#include "SettingsFile.h"
#include "platform/Profile.h"

namespace kvlink::test {

void flushDeletes() {
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

void useSettingsDirectory(const QTemporaryDir& dir) {
  setenv("KVLINK_WINDIR", dir.path().toLocal8Bit().constData(), 1);
}

void forgetSettingsDirectory() {
  unsetenv("KVLINK_WINDIR");
}

bool writeNoPasswords() {
  bool written = true;
  for (int level : {1, 2})
    written = WriteIni(kMiscSection, passwordKey(level), kNoPassword, kSettingsFile) && written;
  return written;
}

std::vector<QString> boxTexts(const ScriptedHost& host) {
  std::vector<QString> texts;
  for (const auto& box : host.boxes()) texts.push_back(box.text);
  return texts;
}

}  // namespace kvlink::test
