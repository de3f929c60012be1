#pragma once
// A fresh program with the record viewer installed, a scripted host and an
// in-memory line, settings in a temporary directory with no passwords, the
// link open and the current station answering as the poll would leave it.

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>
#include <cstdlib>
#include <memory>

#include "Form1.h"
#include "InstallLoggerRecords.h"
#include "LoggerFakeLink.h"
#include "LoggerRecordsModule.h"
#include "LoggingCode.h"
#include "PasswordCoding.h"
#include "Program.h"
#include "ScriptedHost.h"
#include "SerialLink.h"
#include "SettingsFile.h"
#include "platform/profile.h"

namespace kvlink::test {

constexpr int kStation = 7;

struct LoggerTestProgram {
  QTemporaryDir dir;
  ScriptedHost host;
  LoggerFakeLink* link = nullptr;
  std::unique_ptr<Program> program;

  explicit LoggerTestProgram(bool modbus = true, int16_t unitType = 0) {
    EXPECT_TRUE(dir.isValid());
    setenv("KVLINK_WINDIR", dir.path().toLocal8Bit().constData(), 1);
    for (int level : {1, 2})
      EXPECT_TRUE(WriteIni(kMiscSection, passwordKey(level), kNoPassword, kSettingsFile));
    auto fake = std::make_unique<LoggerFakeLink>();
    link = fake.get();
    link->station(kStation);
    program = std::make_unique<Program>(host, std::move(fake));
    installLoggerRecords(*program);
    program->linkState.UseModbus = modbus ? 1 : 0;
    program->linkState.CommPort = 2;
    program->selectStation(kStation);
    program->poll.UnitType = unitType;
    EXPECT_EQ(OpenLink(*program), 0);
    Form1::setMenuEnabled(program->Form1().mnuDisplay, true);
    program->Form1().Timer1->start();
  }
  ~LoggerTestProgram() {
    program.reset();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    unsetenv("KVLINK_WINDIR");
  }

  Program& operator*() { return *program; }
  Program* operator->() { return program.get(); }

  LogRetr* window() { return loggerRecords(*program).LogRetr.ifLoaded(); }
  bool polling() { return program->Form1().Timer1->isActive(); }
  std::vector<uint16_t>& regs() { return link->station(kStation); }
  QString path(const QString& name) const { return dir.filePath(name); }
  static QByteArray contents(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
  }

  // Data Logging > "Retrieve Data", with `inside` run while the window is
  // shown modally.
  void retrieve(std::function<void(LogRetr&)> inside = {}) {
    host.onNextModal([inside](Form& form) {
      if (inside) inside(static_cast<LogRetr&>(form));
    });
    program->Form1().mnuRetrieve->trigger();
  }
};

}  // namespace kvlink::test
