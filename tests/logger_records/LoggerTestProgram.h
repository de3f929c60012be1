#pragma once
// A fresh program with the record viewer installed, a scripted host and an
// in-memory line, settings in a temporary directory with no passwords, the
// link open and the current station answering as the poll would leave it.

#include <QFile>
#include <memory>

#include "Form1.h"
#include "InstallLoggerRecords.h"
#include "LoggerRecordsModule.h"
#include "LoggingCode.h"
#include "MemoryLine.h"
#include "PasswordCoding.h"
#include "SerialLink.h"
#include "SettingsFile.h"
#include "TestProgram.h"
#include "platform/Profile.h"

namespace kvlink::test {

constexpr int kStation = 7;

struct LoggerTestProgram : TestProgram {
  MemoryLine* link = nullptr;

  explicit LoggerTestProgram(bool modbus = true, int16_t unitType = 0) {
    EXPECT_TRUE(writeNoPasswords());
    link = makeProgramOn(std::make_unique<MemoryLine>());
    link->station(kStation);
    installLoggerRecords(*program);
    program->linkState.UseModbus = modbus ? 1 : 0;
    program->linkState.CommPort = 2;
    program->selectStation(kStation);
    program->poll.UnitType = unitType;
    program->poll.setPointsReadFrom = kStation;  // as a pass that read the station leaves it
    EXPECT_EQ(OpenLink(*program), 0);
    Form1::setMenuEnabled(program->Form1().mnuDisplay, true);
    program->Form1().Timer1->start();
  }

  LogRetr* window() { return loggerRecords(*program).LogRetr.ifLoaded(); }
  bool polling() { return program->Form1().Timer1->isActive(); }
  MemoryStation& unit() { return link->station(kStation); }
  std::vector<uint16_t>& regs() { return unit().regs; }
  // The unit reads made since the link opened, as text.
  std::vector<std::string> reads() const { return link->reads(); }
  QString path(const QString& name) const { return settingsDir.filePath(name); }
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
