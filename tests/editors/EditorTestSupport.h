#pragma once
// A program with the editors installed, a scripted host and a link library
// that records every write and answers reads from a register map.

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <map>
#include <vector>

#include "EditorsModule.h"
#include "FieldEdit.h"
#include "Form1.h"
#include "InstallEditors.h"
#include "PasswordCoding.h"
#include "Program.h"
#include "ScriptedHost.h"
#include "SerialLink.h"
#include "SettingsFile.h"
#include "link/LinkLibrary.h"
#include "platform/profile.h"

namespace kvlink {

class RecordingLink : public LinkLibrary {
 public:
  struct Write {
    bool modbus;
    int port;
    int station;
    int address;
    int32_t value;
    bool operator==(const Write&) const = default;
  };
  std::vector<Write> writes;
  int writeResult = 0;  // what every write answers

  int CommOpen(int, int) override { return 0; }
  int CommClose(int) override { return 0; }
  int SetRetry(int) override { return 0; }
  int rvx_ReadInfo(uint16_t*, int, int, int, int, int) override { return 36; }
  int WriteInfo(int port, int station, int reg, int32_t value) override {
    writes.push_back({true, port, station, reg, value});
    return writeResult;
  }
  int abCommOpen(int, int) override { return 0; }
  int abCommClose(int) override { return 0; }
  int abSetRetry(int) override { return 0; }
  int abSetCheckMode(int) override { return 0; }
  int abSendControl(int, int) override { return 0; }
  int abrvx_ReadInfo(uint16_t*, int, int, int, int, int) override { return 36; }
  int abWriteInfo(int port, int station, int address, int32_t value) override {
    writes.push_back({false, port, station, address, value});
    return writeResult;
  }
};

// A program with the editors installed, its settings in a temporary
// directory with no passwords set, the link open on COM2 (Modbus) and the
// poll timer running.
class EditorsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(dir_.isValid());
    setenv("KVLINK_WINDIR", dir_.path().toLocal8Bit().constData(), 1);
    setPassword(1, std::nullopt);
    setPassword(2, std::nullopt);
    auto owned = std::make_unique<RecordingLink>();
    link = owned.get();
    program = std::make_unique<Program>(host, std::move(owned));
    installEditors(*program);
    m = &editorsModule(*program);
    program->linkState.UseModbus = 1;
    program->linkState.CommPort = 2;
    program->linkState.CurrentStation = 7;
    setLinkOpen(true);
    timer()->start();
  }
  void TearDown() override {
    program.reset();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    unsetenv("KVLINK_WINDIR");
  }

  void setLinkOpen(bool open) {
    if (open)
      ASSERT_EQ(OpenLink(*program), 0);
    else
      CloseLink(*program);
  }
  // A password level: nullopt = no password; "" = missing from the file.
  static void setPassword(int level, const std::optional<std::string>& password) {
    const std::string stored = !password           ? kNoPassword
                               : password->empty() ? std::string()
                                                   : encodePassword(*password);
    ASSERT_TRUE(WriteIni(kMiscSection, passwordKey(level), stored, kSettingsFile));
  }

  QTimer* timer() { return program->Form1().Timer1; }
  bool polling() { return timer()->isActive(); }
  bool editIdle() { return program->session.EditIdle == 1; }
  bool pointerFree() { return !program->pointer.locked() && !program->pointer.hidden(); }
  bool pointerPinnedAndHidden() { return program->pointer.locked() && program->pointer.hidden(); }

  void click(QWidget* widget) { QTest::mouseClick(widget, Qt::LeftButton); }
  void type(QWidget* widget, const QString& text) { QTest::keyClicks(widget, text); }
  void key(QWidget* widget, Qt::Key k, Qt::KeyboardModifiers mods = Qt::NoModifier) {
    QTest::keyClick(widget, k, mods);
  }
  void hover(QWidget* widget) {
    QMouseEvent move(QEvent::MouseMove, QPointF(3, 3), widget->mapToGlobal(QPointF(3, 3)),
                     Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(widget, &move);
  }
  void flushDeletes() { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }

  RecordingLink::Write modbusWrite(int reg, int32_t value) { return {true, 2, 7, reg, value}; }
  RecordingLink::Write df1Write(int address, int32_t value) {
    return {false, 2, 7, address, value};
  }

  QTemporaryDir dir_;
  ScriptedHost host;
  RecordingLink* link = nullptr;
  std::unique_ptr<Program> program;
  EditorsModule* m = nullptr;
};

}  // namespace kvlink
