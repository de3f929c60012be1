#pragma once
// What the shell's tests share: a recording link library, a fresh program on
// a scripted host with the shell installed, and a settings directory of its
// own for every test.

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QTemporaryDir>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "InstallShell.h"
#include "Program.h"
#include "ScriptedHost.h"
#include "SerialLink.h"
#include "SettingsFile.h"
#include "WindowKind.h"
#include "link/LinkLibrary.h"
#include "platform/profile.h"

namespace kvlink::test {

// The retry count every link open sets, as the recorder writes it.
inline const std::string kRetry = std::to_string(kLinkRetryCount);

// A link library that records every call; opens fail with openResult.
class RecordingLink : public LinkLibrary {
 public:
  std::vector<std::string> calls;
  int openResult = 0;
  int retryResult = 0;
  int checkModeResult = 0;

  int CommOpen(int port, int baud) override { return record("CommOpen", port, baud, openResult); }
  int CommClose(int port) override { return record("CommClose", port, -1, 0); }
  int SetRetry(int count) override { return record("SetRetry", count, -1, retryResult); }
  int rvx_ReadInfo(uint16_t*, int, int, int, int, int) override { return 36; }
  int WriteInfo(int, int, int, int32_t) override { return 36; }
  int abCommOpen(int port, int baud) override {
    return record("abCommOpen", port, baud, openResult);
  }
  int abCommClose(int port) override { return record("abCommClose", port, -1, 0); }
  int abSetRetry(int count) override { return record("abSetRetry", count, -1, retryResult); }
  int abSetCheckMode(int mode) override {
    return record("abSetCheckMode", mode, -1, checkModeResult);
  }
  int abSendControl(int, int) override { return 0; }
  int abrvx_ReadInfo(uint16_t*, int, int, int, int, int) override { return 36; }
  int abWriteInfo(int, int, int, int32_t) override { return 36; }

 private:
  int record(const char* name, int a, int b, int result) {
    calls.push_back(std::string(name) + "(" + std::to_string(a) +
                    (b >= 0 ? "," + std::to_string(b) : std::string()) + ")");
    return result;
  }
};

// A data window kind that records how often it was closed, and why.
class RecordingKind : public WindowKind {
 public:
  std::vector<CloseReason> closes;
  void closeAll(CloseReason reason) override { closes.push_back(reason); }
};

// A program on a scripted host with the shell installed, its settings in a
// temporary directory.
class ShellTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(dir_.isValid());
    setenv("KVLINK_WINDIR", dir_.path().toLocal8Bit().constData(), 1);
    setenv("XDG_RUNTIME_DIR", dir_.path().toLocal8Bit().constData(), 1);
    restart();
  }
  void TearDown() override {
    program.reset();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    unsetenv("KVLINK_WINDIR");
    unsetenv("XDG_RUNTIME_DIR");
  }

  // A new run of the program on the same settings directory.
  void restart() {
    program.reset();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    host.clearRecords();
    kind.closes.clear();
    auto recording = std::make_unique<RecordingLink>();
    link = recording.get();
    program = std::make_unique<Program>(host, std::move(recording));
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
  std::vector<QString> boxTexts() const {
    std::vector<QString> texts;
    for (const auto& box : host.boxes()) texts.push_back(box.text);
    return texts;
  }

  QTemporaryDir dir_;
  ScriptedHost host;
  RecordingLink* link = nullptr;
  RecordingKind kind;
  std::unique_ptr<Program> program;
};

}  // namespace kvlink::test
