#pragma once
// A fresh program with the logger configuration installed, a scripted host,
// a line of fake relays that records every library call as text, settings
// in a temporary directory without passwords, and a PC clock standing still.

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QTemporaryDir>
#include <cstdlib>
#include <memory>

#include "FakeLink.h"
#include "Form1.h"
#include "InstallLoggerConfig.h"
#include "LoggerConfigModule.h"
#include "PasswordCoding.h"
#include "Program.h"
#include "ScriptedHost.h"
#include "SerialLink.h"
#include "SettingsFile.h"
#include "platform/profile.h"

namespace kvlink::test {

// 28 November 2026, a Saturday, 15:07:09.
constexpr LocalTime kPcNow{2026, 11, 28, 7, 15, 7, 9};

struct LoggerConfigTestProgram {
  QTemporaryDir settingsDir;
  ScriptedHost host;
  FakeLink* link = nullptr;
  std::unique_ptr<Program> program;
  LocalTime pcNow = kPcNow;

  explicit LoggerConfigTestProgram(bool modbus = true) {
    EXPECT_TRUE(settingsDir.isValid());
    setenv("KVLINK_WINDIR", settingsDir.path().toLocal8Bit().constData(), 1);
    for (int level : {1, 2})
      EXPECT_TRUE(WriteIni(kMiscSection, passwordKey(level), kNoPassword, kSettingsFile));
    auto fake = std::make_unique<FakeLink>();
    link = fake.get();
    program = std::make_unique<Program>(host, std::move(fake));
    installLoggerConfig(*program);
    module().pcClock = [this] { return pcNow; };
    LinkState& state = program->linkState;
    state.UseModbus = modbus ? 1 : 0;
    state.CommPort = 2;
    EXPECT_EQ(OpenLink(*program), 0);
    program->selectStation(5);
    program->Form1().Timer1->start();
    link->calls.clear();
  }
  ~LoggerConfigTestProgram() {
    program.reset();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    unsetenv("KVLINK_WINDIR");
  }

  Program& operator*() { return *program; }
  Program* operator->() { return program.get(); }
  LoggerConfigModule& module() { return loggerConfigModule(*program); }
  LogConfigure& window() { return module().LogConfigure(); }
  bool polling() { return program->Form1().Timer1->isActive(); }

  // Data Logging > "Configure" (the modal window stays up after this).
  LogConfigure& open() {
    program->Form1().mnuConfigure->trigger();
    return window();
  }
  // The calls made since the last look, then forgotten.
  std::vector<std::string> takeCalls() {
    auto calls = std::move(link->calls);
    link->calls.clear();
    return calls;
  }
  std::vector<QString> boxTexts() const {
    std::vector<QString> texts;
    for (const auto& box : host.boxes()) texts.push_back(box.text);
    return texts;
  }
};

}  // namespace kvlink::test
