#pragma once
// A fresh program on an in-memory line of logger units, with the poll and
// auto retrieve installed, the settings file and the destination directory
// in temporary directories.

#include <QFile>
#include <QTemporaryDir>
#include <string>
#include <vector>

#include "AutoRetrieveModule.h"
#include "Form1.h"
#include "InstallAutoRetrieve.h"
#include "InstallPolling.h"
#include "MemoryLine.h"
#include "SettingsFile.h"
#include "TestProgram.h"
#include "platform/Profile.h"

namespace kvlink::test {

class AutoRetrieveFixture : public ProgramTest {
 protected:
  AutoRetrieveFixture() {
    qputenv("TMPDIR", tempDir.path().toUtf8());
    link = makeProgramOn(std::make_unique<MemoryLine>());
    installPolling(*program);
    installAutoRetrieve(*program);
    program->linkState.CommEnabled = 1;
    program->linkState.UseModbus = 1;
  }
  ~AutoRetrieveFixture() override { qunsetenv("TMPDIR"); }

  AutoRetrieveModule& m() { return program->module<AutoRetrieveModule>(); }
  AutoSave& window() { return m().AutoSave(); }
  Form1& main() { return program->Form1(); }

  std::string setting(const std::string& key) {
    return ReadIni(kSettingsSection, key, kSettingsFile);
  }
  void setSetting(const std::string& key, const std::string& value) {
    ASSERT_TRUE(WriteIni(kSettingsSection, key, value, kSettingsFile));
  }
  QByteArray settingsFileText() {
    QFile file(QString::fromStdString(settingsFilePath()));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
  }

  // Ticks slot k showing `station`.
  void tickSlot(int k, int station) {
    window().slotCheck(k)->setChecked(true);
    window().slotUpDown(k)->setValue(station);
  }
  // The list handed to the poll directly, saving into `directory`.
  void useList(std::vector<int16_t> stations, int16_t limit, const QString& directory) {
    for (size_t i = 0; i < stations.size(); ++i) m().AutoStations[i] = stations[i];
    m().AutoStationCount = static_cast<int16_t>(stations.size());
    m().AutoStationIndex = 0;
    m().AutoRecordLimit = limit;
    window().Label7->setText(directory);
  }

  static std::vector<std::string> lines(const QString& path) {
    QFile file(path);
    std::vector<std::string> found;
    if (!file.open(QIODevice::ReadOnly)) return found;
    const QByteArray all = file.readAll();
    for (const QByteArray& line : all.split('\n'))
      if (!line.isEmpty()) found.push_back(line.toStdString());
    return found;
  }

  QTemporaryDir tempDir;  // what the temporary path is in these tests
  QTemporaryDir filesDir;
  MemoryLine* link = nullptr;
};

}  // namespace kvlink::test
