// The record viewer and Save Records of the whole program on a simulated
// line over a pseudo-terminal, in Modbus RTU and in DF1 with both error
// checks: records paged through, saved to a file line for line as the unit
// holds them, the unit going silent in the middle of a save, and the poll
// stopped while the window is open and running again after it.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>
#include <cstdlib>

#include "Form1.h"
#include "Install.h"
#include "LinkSwitch.h"
#include "LogRecordDecode.h"
#include "LogRecordLine.h"
#include "LoggerRecordsModule.h"
#include "PasswordCoding.h"
#include "PollPass.h"
#include "ScriptedHost.h"
#include "SettingsFile.h"
#include "UnitSimulator.h"
#include "link/SerialLinkLibrary.h"
#include "platform/profile.h"

namespace kvlink {
namespace {

using sim::Protocol;

struct LineCase {
  Protocol protocol;
  const char* name;
};

constexpr int kMotorStation = 5;
constexpr int kFeederStation = 20;  // type 4

class LoggerRecordsEndToEndTest : public ::testing::TestWithParam<LineCase> {
 protected:
  void SetUp() override {
    ASSERT_TRUE(dir.isValid());
    setenv("KVLINK_WINDIR", dir.path().toLocal8Bit().constData(), 1);
    for (int level : {1, 2})
      ASSERT_TRUE(WriteIni(kMiscSection, passwordKey(level), kNoPassword, kSettingsFile));
    line =
        std::make_unique<sim::UnitSimulator>(sim::SimOptions{GetParam().protocol, 9600, false, {}});
    line->addStation(kMotorStation, 0);
    line->addStation(kFeederStation, 4);
    line->setFrozen(true);
    ASSERT_TRUE(line->start());
    const std::string device = line->devicePath();
    program = std::make_unique<Program>(
        host, std::make_unique<SerialLinkLibrary>([device](int) { return device; }));
    installSubsystems(*program);
    LinkState& link = program->linkState;
    link.CommPort = 3;
    link.BaudCode = 96;
    link.UseModbus = GetParam().protocol == Protocol::Modbus ? 1 : 0;
    link.CheckMode = GetParam().protocol == Protocol::Df1Bcc ? 1 : 0;
    link.CommEnabled = 1;
    ASSERT_TRUE(SwitchLinkOn(*program));
  }
  void TearDown() override {
    program.reset();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    line.reset();
    unsetenv("KVLINK_WINDIR");
  }

  bool polling() { return program->Form1().Timer1->isActive(); }
  void pollStation(int station, int16_t type) {
    program->selectStation(int16_t(station));
    PollCurrentStation(*program);
    ASSERT_EQ(program->poll.PollStatus, 0);
    ASSERT_EQ(program->poll.UnitType, type);
  }
  void setRecord(int station, int n, const std::vector<uint16_t>& words) {
    for (std::size_t i = 0; i < words.size(); ++i)
      line->setReg(station, 192 + 24 * n + int(i), words[i]);
  }
  // The lines the unit's records 0..count-1 make, as it holds them now.
  std::string unitRecords(int station, int16_t type, int count) {
    const int words = type == 0 || type == 2 ? 18 : 19;
    std::string text = logHeaderLine(type);
    LogRecordValues v;
    for (int n = 0; n < count; ++n) {
      const auto regs = line->regs(station, 192 + 24 * n, words);
      EXPECT_TRUE(decodeLogRecord(v, regs, type));
      text += logRecordLine(v, type);
    }
    return text;
  }
  static std::string contents(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll().toStdString() : std::string();
  }

  QTemporaryDir dir;
  ScriptedHost host;
  std::unique_ptr<sim::UnitSimulator> line;
  std::unique_ptr<Program> program;
};

TEST_P(LoggerRecordsEndToEndTest, MotorRecordsBrowsedAndSaved) {
  pollStation(kMotorStation, 0);
  setRecord(kMotorStation, 0,
            {0x2003, 0x1225, 0x0314, 0x0509, 3, 0, 2, 120, 95, 4, 41, 0, 87, 650, 12, 39, 0, 100});
  setRecord(kMotorStation, 1, {0x0099, 0x0101, 0x0700, 0x0005, 0, 64, 6});
  for (int n = 2; n < 6; ++n) setRecord(kMotorStation, n, {0x2024, 0x0301, 0x0509, 0x1500, 1});
  line->setReg(kMotorStation, 138, 6);

  const QString file = dir.filePath("MOTOR.TXT");
  host.answerFileDialog({false, file});
  bool pollStoppedInside = false;
  host.onNextModal([&](Form& form) {
    auto& w = static_cast<LogRetr&>(form);
    pollStoppedInside = !polling();
    EXPECT_EQ(w.Label4->text(), "25/12/2003  14:05:09 Tuesday");
    EXPECT_TRUE(w.fieldListCaption().startsWith("Trip Status=3 overcurrent;I^2t;\r"));
    EXPECT_EQ(w.Label11->text(), "6");
    w.HScroll1->setValue(1);
    EXPECT_EQ(w.Label4->text(), "01/01/1999  00:00:05 Saturday");
    EXPECT_TRUE(w.fieldListCaption().startsWith(
        "Trip Status=0 no trips\rAlarm Status=64 \rMotor Status=6 ETR On;running;\r"));
    w.SSCommand2->click();
    w.SSCommand1->click();
  });
  program->Form1().mnuRetrieve->trigger();

  EXPECT_TRUE(pollStoppedInside);
  EXPECT_TRUE(polling());
  ASSERT_FALSE(host.boxes().empty());
  EXPECT_EQ(host.boxes().back().text, "File Saved.");
  const std::string saved = contents(file);
  EXPECT_EQ(saved, unitRecords(kMotorStation, 0, 6));
  EXPECT_NE(saved.find("\r\n\"25/12/2003  14:05:09 Tuesday\",3,\" overcurrent;I^2t;\",0,"
                       "\" no alarms\",2,\" running;\",120,95,4,41,0,87,650,12,39,0,100\r\n"),
            std::string::npos);
}

TEST_P(LoggerRecordsEndToEndTest, LoggedFeederRecordsSavedAndUnitGoingSilent) {
  pollStation(kFeederStation, 4);
  // The unit logs three records of its own, one a second.
  line->setReg(kFeederStation, 132, 1);
  line->setReg(kFeederStation, 134, 1);
  line->setReg(kFeederStation, 138, 0);
  line->advance(3);
  ASSERT_EQ(line->reg(kFeederStation, 138), 3);

  const QString all = dir.filePath("FEEDER.TXT");
  const QString part = dir.filePath("PART.TXT");
  host.answerFileDialog({false, all});
  host.answerFileDialog({false, part});
  host.onNextModal([&](Form& form) {
    auto& w = static_cast<LogRetr&>(form);
    w.SSCommand2->click();
    // Second save, all 250: the unit stops answering after record 1.
    w.SSOption3->setChecked(true);
    host.atNextDoEvents([&] {
      host.atNextDoEvents([&] {
        host.atNextDoEvents([&] {
          host.atNextDoEvents(
              [&] { line->setFault(kFeederStation, sim::Fault{sim::FaultKind::Silent}); });
        });
      });
    });
    w.SSCommand2->click();
    w.close();
  });
  program->Form1().mnuRetrieve->trigger();

  EXPECT_EQ(contents(all), unitRecords(kFeederStation, 4, 3));
  EXPECT_EQ(contents(part), unitRecords(kFeederStation, 4, 2));
  ASSERT_EQ(host.boxes().size(), 2u);
  EXPECT_EQ(host.boxes()[0].text, "File Saved.");
  EXPECT_EQ(host.boxes()[1].text, "Error: Cannot read record - unit may be offline.");
  EXPECT_TRUE(polling());
}

TEST_P(LoggerRecordsEndToEndTest, SilentUnitShowsOffLine) {
  pollStation(kMotorStation, 0);
  line->setFault(kMotorStation, sim::Fault{sim::FaultKind::Silent});
  host.onNextModal([](Form& form) { form.close(); });
  program->Form1().mnuRetrieve->trigger();
  ASSERT_EQ(host.boxes().size(), 1u);
  EXPECT_EQ(host.boxes()[0].text, "Unit off-line.  Check connections.");
  EXPECT_TRUE(polling());
}

INSTANTIATE_TEST_SUITE_P(Lines, LoggerRecordsEndToEndTest,
                         ::testing::Values(LineCase{Protocol::Modbus, "ModbusRtu"},
                                           LineCase{Protocol::Df1Crc, "Df1Crc"},
                                           LineCase{Protocol::Df1Bcc, "Df1Bcc"}),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace kvlink
