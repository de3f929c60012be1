// The record viewer: opening from the menu, the reads it makes in both
// protocols, paging with the scroll bar, the field list and date line per
// unit type, failed reads, and closing with the link open or closed.
#include <gtest/gtest.h>

#include <QTest>

#include "LoggerTestProgram.h"

namespace kvlink {
namespace {

using test::kStation;
using test::LoggerTestProgram;
using test::readCall;

const std::vector<uint16_t> kMotorRecord = {0x2003, 0x1225, 0x0314, 0x0509, 3,   0,  2,  120, 95,
                                            4,      41,     0,      87,     650, 12, 39, 0,   100};
const std::vector<uint16_t> kFeederRecord = {
    0x2024, 0x0102, 0x0208, 0x3000, 17, 1, 3, 200, 201, 202, 5, 60, 1234, 7, 8, 9, 10, 11, 12};

const QString kOffLine = QStringLiteral("Unit off-line.  Check connections.");

TEST(LogRetrTest, RetrieveDataShowsRecordZeroAndCounterModbusAndDf1) {
  for (bool modbus : {true, false}) {
    SCOPED_TRACE(modbus);
    LoggerTestProgram t(modbus, 0);
    t.unit().setRecord(0, kMotorRecord);
    t.regs()[138] = 65535;
    bool pollStoppedInside = false;
    t.retrieve([&](LogRetr& w) {
      pollStoppedInside = !t.polling();
      EXPECT_TRUE(w.isVisible());
    });
    EXPECT_TRUE(pollStoppedInside);
    ASSERT_EQ(t.reads().size(), 2u);
    EXPECT_EQ(t.reads()[0], readCall(modbus, 2, kStation, modbus ? 192 : 768, modbus ? 18 : 36));
    EXPECT_EQ(t.reads()[1], readCall(modbus, 2, kStation, modbus ? 138 : 532, modbus ? 1 : 2));
    EXPECT_EQ(t.link->count("abcontrol"), 0);
    LogRetr* w = t.window();
    ASSERT_TRUE(w);
    EXPECT_EQ(w->Label4->text(), "25/12/2003  14:05:09 Tuesday");
    EXPECT_EQ(w->fieldListCaption().section('\r', 0, 0), "Trip Status=3 overcurrent;I^2t;");
    EXPECT_EQ(w->fieldListCaption().count('\r'), 14);
    EXPECT_EQ(w->Label11->text(), "65535");
    EXPECT_EQ(loggingCode(*t).settings.LogRecordCounter, 65535);
    EXPECT_TRUE(w->SSOption1->isChecked());
    EXPECT_EQ(t.host.modalCount(), 1);
    EXPECT_TRUE(t.host.boxes().empty());
  }
}

TEST(LogRetrTest, PasswordRefusedOpensNothing) {
  LoggerTestProgram t;
  ASSERT_TRUE(WriteIni(kMiscSection, passwordKey(1), encodePassword("secret"), kSettingsFile));
  t.host.answerPassword(QStringLiteral("wrong"));
  t.retrieve();
  EXPECT_TRUE(t.reads().empty());
  EXPECT_EQ(t.host.modalCount(), 0);
  EXPECT_TRUE(t.polling());
}

TEST(LogRetrTest, ScrollBarReadsTheChosenRecordOfTheFeederLayout) {
  for (bool modbus : {true, false}) {
    SCOPED_TRACE(modbus);
    LoggerTestProgram t(modbus, 1);
    t.unit().setRecord(249, kFeederRecord);
    t.retrieve([&](LogRetr& w) {
      t.link->calls.clear();
      w.HScroll1->setValue(249);
      EXPECT_EQ(w.Label8->text(), "249");
      EXPECT_TRUE(w.HScroll1->isEnabled());
    });
    ASSERT_EQ(t.reads().size(), 2u);
    EXPECT_EQ(t.reads()[0], readCall(modbus, 2, kStation, modbus ? 192 + 24 * 249 : 768 + 48 * 249,
                                     modbus ? 19 : 38));
    LogRetr* w = t.window();
    EXPECT_EQ(w->Label4->text(), "02/01/2024  08:30:00 Monday");
    EXPECT_EQ(w->fieldListCaption(),
              "Trip Status=17 earth fault;I^2t;\rAlarm Status=1 I^2t;\r"
              "Breaker Status=3 contact closed;load cur>10%;\rPhase A (A)=200\r"
              "Phase B (A)=201\rPhase C (A)=202\rEarth Leakage (x10 A)=5\r"
              "Percent I^2t (%)=60\rOperations Count=1234\rPre-Trip Phase A (A)=7\r"
              "Pre-Trip Phase B (A)=8\rPre-Trip Phase C (A)=9\rPre-Trip Unbalance (%)=10\r"
              "Pre-Trip Earth Leakage (x10 A)=11\rPre-Trip I^2t=12\r");
    // The label shows the fields as lines.
    EXPECT_EQ(w->Label3->text().count('\n'), 14);
  }
}

TEST(LogRetrTest, Type4WordingAndUnidentifiedUnit) {
  LoggerTestProgram t(true, 4);
  t.unit().setRecord(0, kFeederRecord);
  t.retrieve();
  LogRetr* w = t.window();
  const QString list = w->fieldListCaption();
  for (const char* line :
       {"Ground Leakage (x10 A)=5", "% Thermal Used=60", "Operation Counter=1234",
        "Pre-Trip GND Leakage (x10 A)=11", "Pre-Trip % Thermal Used=12"})
    EXPECT_TRUE(list.contains(QLatin1String(line))) << line;
  EXPECT_TRUE(list.startsWith("Trip Status=17 gnd fault;% thermal;\r"));

  // A type-4 station chosen after a motor, before any pass: its records read as type 4's.
  LoggerTestProgram m(true, 0);
  m->selectStation(8);
  m.link->station(8).regs[39] = 0x0400;
  m.link->station(8).setRecord(0, kFeederRecord);
  m.retrieve();
  EXPECT_EQ(m.reads()[1], readCall(true, 2, 8, 192, 19));
  EXPECT_TRUE(m.window()->fieldListCaption().startsWith("Trip Status=17 gnd fault;% thermal;\r"));

  // Unit not identified: a feeder record is read, the date follows it and
  // no earlier record's fields stay.
  t->poll.UnitType = 99;
  t.unit().setRecord(5, {0x1998, 0x0704, 0x0712, 0x0001});
  t.link->calls.clear();
  t.retrieve([](LogRetr& w) { w.HScroll1->setValue(5); });
  EXPECT_EQ(t.reads()[0], readCall(true, 2, kStation, 192, 19));
  EXPECT_EQ(t.window()->Label4->text(), "04/07/1998  12:00:01 Saturday");
  EXPECT_EQ(t.window()->fieldListCaption(), "");
}

TEST(LogRetrTest, FailedReadsReportAndShowNoOtherRecordsFields) {
  LoggerTestProgram t(true, 0);
  t.unit().setRecord(0, kMotorRecord);
  t.regs()[138] = 12;
  t.unit().readFails = {138};
  t.retrieve([&](LogRetr& w) {
    // The record is shown, the counter keeps its old value.
    EXPECT_EQ(w.Label4->text(), "25/12/2003  14:05:09 Tuesday");
    EXPECT_EQ(w.Label11->text(), "0");

    t.unit().silent = true;
    bool scrollDisabledUnderBox = false;
    t.host.onEveryBox([&](const auto&) { scrollDisabledUnderBox = !w.HScroll1->isEnabled(); });
    w.HScroll1->setValue(3);
    EXPECT_TRUE(scrollDisabledUnderBox);
    EXPECT_TRUE(w.HScroll1->isEnabled());
    EXPECT_EQ(w.Label8->text(), "3");
    EXPECT_EQ(w.Label4->text(), "");
    EXPECT_EQ(w.fieldListCaption(), "");
    EXPECT_EQ(loggingCode(*t).record.LogTripStatus, 3);
  });
  ASSERT_EQ(t.host.boxes().size(), 2u);
  for (const auto& box : t.host.boxes()) {
    EXPECT_EQ(box.text, kOffLine);
    EXPECT_EQ(box.style, vbOKOnly);
    EXPECT_EQ(box.title, kProgramTitle);
  }
}

TEST(LogRetrTest, UnitNotAnsweringOnAFreshWindowShowsNoFields) {
  LoggerTestProgram t;
  t.unit().silent = true;
  int modalsWhenBoxShown = -1;
  t.host.onEveryBox([&](const auto&) { modalsWhenBoxShown = t.host.modalCount(); });
  t.retrieve();
  EXPECT_EQ(modalsWhenBoxShown, 0);  // the box comes before the window
  ASSERT_EQ(t.host.boxes().size(), 1u);
  EXPECT_EQ(t.window()->Label3->text(), "");
  EXPECT_EQ(t.window()->Label4->text(), "");
  EXPECT_EQ(t.reads().size(), 1u);
}

TEST(LogRetrTest, ClosingRestartsThePollOnlyOnAnOpenLink) {
  LoggerTestProgram t;
  t.retrieve([](LogRetr& w) { w.SSCommand1->click(); });
  EXPECT_FALSE(t.window()->isVisible());
  EXPECT_TRUE(t.polling());

  // Hidden, not unloaded; the next visit shows record 0 and says so.
  t.retrieve([](LogRetr& w) {
    w.HScroll1->setValue(12);
    w.SSCommand1->click();
  });
  t.link->calls.clear();
  t.retrieve([&](LogRetr& w) {
    EXPECT_EQ(w.HScroll1->value(), 0);
    EXPECT_EQ(w.Label8->text(), "0");
    EXPECT_EQ(t.reads()[0], readCall(true, 2, kStation, 192, 18));
    EXPECT_EQ(t.reads().size(), 2u) << "record 0 and the counter, once";
    CloseLink(*t);
    w.close();  // the title bar: unloaded
  });
  test::flushDeletes();
  EXPECT_EQ(t.window(), nullptr);
  EXPECT_FALSE(t.polling());

  // Created again from its design.
  ASSERT_EQ(OpenLink(*t), 0);
  t.retrieve([](LogRetr& w) {
    EXPECT_EQ(w.HScroll1->value(), 0);
    EXPECT_EQ(w.Label8->text(), "0");
    w.close();
  });
  EXPECT_TRUE(t.polling());
}

TEST(LogRetrTest, NothingOpensAfterTheProgramEnd) {
  LoggerTestProgram t;
  t.retrieve([&](LogRetr&) {
    t->ended = true;
    loggerRecords(*t).unloadWindows();
  });
  test::flushDeletes();
  EXPECT_FALSE(t.polling());
  t.retrieve();
  EXPECT_EQ(t.host.modalCount(), 1);
  EXPECT_EQ(t.window(), nullptr);
}

}  // namespace
}  // namespace kvlink
