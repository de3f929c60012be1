#pragma once
// A program with the editors installed, a scripted host and a line held in
// memory that records every write (station 7 takes them).

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QMouseEvent>
#include <QTest>
#include <QTimer>
#include <string>

#include "EditorsModule.h"
#include "FieldEdit.h"
#include "Form1.h"
#include "InstallEditors.h"
#include "MemoryLine.h"
#include "PasswordCoding.h"
#include "SerialLink.h"
#include "SettingsFile.h"
#include "TestProgram.h"
#include "platform/Profile.h"

namespace kvlink {

// A program with the editors installed, its settings in a temporary
// directory with no passwords set, the link open on COM2 (Modbus) and the
// poll timer running.
class EditorsTest : public test::ProgramTest {
 protected:
  void SetUp() override {
    setPassword(1, std::nullopt);
    setPassword(2, std::nullopt);
    link = makeProgramOn(std::make_unique<test::MemoryLine>());
    link->station(kStation);
    installEditors(*program);
    m = &editorsModule(*program);
    program->linkState.UseModbus = 1;
    program->linkState.CommPort = 2;
    program->linkState.CurrentStation = kStation;
    setLinkOpen(true);
    timer()->start();
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
  static void flushDeletes() { test::flushDeletes(); }

  // The writes made to the station, as text.
  std::vector<std::string> writes() const { return link->writes(); }
  static std::string modbusWrite(int reg, int32_t value) {
    return test::writeCall(true, 2, kStation, reg, value);
  }
  static std::string df1Write(int address, int32_t value) {
    return test::writeCall(false, 2, kStation, address, value);
  }

  static constexpr int kStation = 7;
  test::MemoryLine* link = nullptr;
  EditorsModule* m = nullptr;
};

}  // namespace kvlink
