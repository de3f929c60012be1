#pragma once
// What the shell's tests share: a fresh program on a scripted host with the
// shell installed, on a line held in memory that records the calls, and a
// settings directory of its own for every test.

#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "InstallShell.h"
#include "MemoryLine.h"
#include "SerialLink.h"
#include "SettingsFile.h"
#include "TestProgram.h"
#include "WindowKind.h"
#include "platform/Profile.h"

namespace kvlink::test {

// The retry count every link open sets, as the line records it.
inline const std::string kRetry = std::to_string(kLinkRetryCount);

// A data window kind that records how often it was closed, and why.
class RecordingKind : public WindowKind {
 public:
  std::vector<CloseReason> closes;
  void closeAll(CloseReason reason) override { closes.push_back(reason); }
};

// A program on a scripted host with the shell installed, its settings in a
// temporary directory.
class ShellTest : public ProgramTest {
 protected:
  void SetUp() override {
    setenv("XDG_RUNTIME_DIR", settingsDir.path().toLocal8Bit().constData(), 1);
    restart();
  }
  void TearDown() override {
    ProgramTest::TearDown();
    unsetenv("XDG_RUNTIME_DIR");
  }

  // A new run of the program on the same settings directory.
  void restart() {
    endProgram();
    host.clearRecords();
    kind.closes.clear();
    link = makeProgramOn(std::make_unique<MemoryLine>());
    installShell(*program);
    program->addWindowKind(&kind);
  }

  static void setSetting(const std::string& key, const std::string& value) {
    ASSERT_TRUE(WriteIni(kSettingsSection, key, value, kSettingsFile));
  }
  static std::string setting(const std::string& key) {
    return ReadIni(kSettingsSection, key, kSettingsFile);
  }
  // A settings file with every serial key, as the program writes it.
  static void writeLinkSettings(const std::string& port, const std::string& baud,
                                const std::string& protocol, const std::string& checkmode,
                                const std::string& autostart) {
    setSetting(kPortKey, port);
    setSetting(kBaudKey, baud);
    setSetting(kProtocolKey, protocol);
    setSetting(kCheckModeKey, checkmode);
    setSetting(kStationKey, "1");
    setSetting(kAutoStartKey, autostart);
  }
  std::vector<QString> boxTexts() const { return test::boxTexts(host); }

  MemoryLine* link = nullptr;
  RecordingKind kind;
};

}  // namespace kvlink::test
