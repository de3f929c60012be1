// Save Records: which records go into the file for each choice, the file's
// exact lines, and every way the command ends (cancel, off line, counter
// unreadable or too large, file not writable, a record unreadable, a
// failed write) with the controls given back each time.
#include <gtest/gtest.h>

#include <QDir>

#include "../autoretrieve/FileSizeLimit.h"
#include "LogRecordDecode.h"
#include "LogRecordLine.h"
#include "LoggerTestProgram.h"

namespace kvlink {
namespace {

using test::kStation;
using test::LoggerTestProgram;
using test::readCall;

// Record n of a unit: its own time stamp and values, so that every line
// tells which record it came from.
std::vector<uint16_t> recordWords(int n, int words) {
  std::vector<uint16_t> w = {0x2024, uint16_t(0x0100 + (n % 28) + 1), 0x0310,
                             uint16_t(((n % 60) / 10) << 12 | ((n % 60) % 10) << 8)};
  w.push_back(uint16_t(n % 3));
  w.push_back(0);
  w.push_back(uint16_t(n % 4));
  for (int i = 7; i < words; ++i) w.push_back(uint16_t(1000 * n + i));
  return w;
}

std::string expectedFile(int16_t unitType, int records) {
  const int words = unitType == 0 || unitType == 2 ? 18 : 19;
  std::string text = logHeaderLine(unitType);
  LogRecordValues v;
  for (int n = 0; n < records; ++n) {
    decodeLogRecord(v, recordWords(n, words), unitType);
    text += logRecordLine(v, unitType);
  }
  return text;
}

// The save pumps events twice after opening the file, then once per record.
void atThirdDoEvents(LoggerTestProgram& t, std::function<void()> action) {
  t.host.atNextDoEvents(
      [&t, action] { t.host.atNextDoEvents([&t, action] { t.host.atNextDoEvents(action); }); });
}

class LogSaveTest : public testing::Test {
 protected:
  void fill(LoggerTestProgram& t, int16_t unitType, uint16_t counter) {
    const int words = unitType == 0 || unitType == 2 ? 18 : 19;
    for (int n = 0; n < 250; ++n) t.unit().setRecord(n, recordWords(n, words));
    t.regs()[138] = counter;
  }
  // Opens the viewer, sets the choice and presses Save Records with the
  // dialog answered by `file` (cancelled when empty).
  void save(LoggerTestProgram& t, const QString& file, std::function<void(LogRetr&)> choose = {}) {
    if (!file.isEmpty()) t.host.answerFileDialog({false, file});
    t.retrieve([&](LogRetr& w) {
      if (choose) choose(w);
      t.link->calls.clear();
      t.host.clearRecords();
      w.SSCommand2->click();
      expectControlsEnabled(w);
      EXPECT_EQ(w.ProgressBar1->value(), 0);
      EXPECT_FALSE(w.saving());
    });
    EXPECT_EQ(t->pointer.applicationPointer(), vbDefault);
  }
  static void expectControlsEnabled(LogRetr& w) {
    for (QWidget* c :
         std::initializer_list<QWidget*>{w.SSCommand2, w.SSCommand1, w.SSOption1, w.SSOption2,
                                         w.SSOption3, w.HScroll1, w.UpDown1})
      EXPECT_TRUE(c->isEnabled()) << c->objectName().toStdString();
  }
  static void expectOneBox(LoggerTestProgram& t, const QString& text, int style,
                           const QString& title = kProgramTitle) {
    ASSERT_EQ(t.host.boxes().size(), 1u);
    EXPECT_EQ(t.host.boxes()[0].text, text);
    EXPECT_EQ(t.host.boxes()[0].style, style);
    EXPECT_EQ(t.host.boxes()[0].title, title);
  }
};

TEST_F(LogSaveTest, AllLoggedIsTheCounterAtMost250BothProtocols) {
  for (bool modbus : {true, false}) {
    SCOPED_TRACE(modbus);
    LoggerTestProgram t(modbus, 0);
    fill(t, 0, 300);
    int progressMaximum = -1;
    atThirdDoEvents(t, [&] { progressMaximum = t.window()->ProgressBar1->maximum(); });
    const QString file = t.path("ALL.TXT");
    save(t, file);
    EXPECT_EQ(progressMaximum, 249);
    EXPECT_EQ(t.contents(file).toStdString(), expectedFile(0, 250));
    expectOneBox(t, "File Saved.", vbInformation, "Info");
    EXPECT_EQ(t.window()->Label11->text(), "300");
    // Counter first, then records 0..249 in order, each followed by the counter.
    ASSERT_EQ(t.reads().size(), 501u);
    EXPECT_EQ(t.reads()[500], t.reads()[0]);
    EXPECT_EQ(t.reads()[0], readCall(modbus, 2, kStation, modbus ? 138 : 532, modbus ? 1 : 2));
    EXPECT_EQ(t.reads()[499], readCall(modbus, 2, kStation,
                                       modbus ? 192 + 24 * 249 : 768 + 48 * 249, modbus ? 18 : 36));
    ASSERT_EQ(t.host.dialogRequests().size(), 1u);
    EXPECT_TRUE(t.host.dialogRequests()[0].save);
    EXPECT_EQ(t.host.dialogRequests()[0].flags, cdlOFNOverwritePrompt);
    EXPECT_EQ(t.host.dialogRequests()[0].filter, "Text File (*.TXT)|*.TXT");
  }
}

// 12 records logged during the save, one or two between two reads: each saved once in order; a
// full area's 12 oldest lost, told; likewise with a full counter (65535). A reset ends it, told.
TEST_F(LogSaveTest, RecordsLoggedDuringTheSaveNeitherDoubledNorSilentlyMissing) {
  const std::tuple<int, int, int, const char*, const char*, int> cases[] = {
      {100, 1, 100, "", "File Saved.", vbInformation},
      {100, 2, 100, "", "File Saved.", vbInformation},
      {250, 1, 238, "\"Records lost: 12 (logged faster than they could be read)\"\r\n",
       "File Saved.\nRecords lost: 12 (overwritten before they could be read)", vbExclamation},
      {0xFFFF, 1, 238, "\"Records lost: 12 (logged faster than they could be read)\"\r\n",
       "File Saved.\nRecords lost: 12 (overwritten before they could be read)", vbExclamation},
      {100, 0, 6, "",
       "File Saved.\nRecords not saved: 94 (the record counter was reset while they were read)",
       vbExclamation}};
  for (const auto& [stored, together, saved, lossLine, box, style] : cases) {
    LoggerTestProgram t(true, 0);
    fill(t, 0, uint16_t(stored));
    int reads = 0;
    t.link->afterCall = [&](const std::string& call) {
      if (call.ends_with(" 18") && ++reads % (std::min(stored, 250) / 12) == 0 &&
          t.unit().logged < 12)
        together > 0 ? (void)t.unit().records(together) : (void)(t.regs()[138] = 0);
    };
    save(t, t.path("ALL.TXT"));
    EXPECT_EQ(t.contents(t.path("ALL.TXT")).toStdString(), expectedFile(0, saved) + lossLine);
    expectOneBox(t, box, style, "Info");
  }
}

// A full counter, a stopped clock: records stamped alike to the one before are saved, and told.
TEST_F(LogSaveTest, FullCounterRecordsAlikeToldDoubtful) {
  LoggerTestProgram t(true, 0);
  t.unit().stillAs = 7;
  t.unit().records(3).regs[138] = 0xFFFF;
  save(t, t.path("A.TXT"),
       [](LogRetr& w) { w.SSOption2->setChecked(true), w.UpDown1->setValue(3); });
  const QStringList lines = QString(t.contents(t.path("A.TXT"))).split("\r\n");
  EXPECT_EQ(lines.mid(1),
            QStringList({lines[1], "\"Records doubtful: 2 (these may already be saved above)\"",
                         lines[1], lines[1], ""}));
  expectOneBox(
      t,
      "File Saved.\nRecords doubtful: 2 (stamped alike to the record before them, with the "
      "record counter full: each may repeat a saved record in place of one not saved)",
      vbExclamation, "Info");
}

TEST_F(LogSaveTest, OneRecordAndFeederLayout) {
  LoggerTestProgram t(true, 99);
  fill(t, 99, 1);
  int progressMaximum = -1;
  atThirdDoEvents(t, [&] { progressMaximum = t.window()->ProgressBar1->maximum(); });
  save(t, t.path("ONE.TXT"));
  EXPECT_EQ(progressMaximum, 1);
  EXPECT_EQ(t.contents(t.path("ONE.TXT")).toStdString(), expectedFile(99, 1));
}

TEST_F(LogSaveTest, ChosenCountAndAll250) {
  LoggerTestProgram t(true, 4);
  fill(t, 4, 0);
  save(t, t.path("FIFTY.TXT"), [](LogRetr& w) { w.SSOption2->setChecked(true); });
  EXPECT_EQ(t.contents(t.path("FIFTY.TXT")).toStdString(), expectedFile(4, 50));

  save(t, t.path("FIVE.TXT"), [](LogRetr& w) {
    w.SSOption2->setChecked(true);
    w.UpDown1->setValue(6);
    w.UpDown1->downButton->click();
    EXPECT_EQ(w.Label6->text(), "5");
  });
  EXPECT_EQ(t.contents(t.path("FIVE.TXT")).toStdString(), expectedFile(4, 5));

  save(t, t.path("ALL250.TXT"), [](LogRetr& w) { w.SSOption3->setChecked(true); });
  EXPECT_EQ(t.contents(t.path("ALL250.TXT")).toStdString(), expectedFile(4, 250));
}

TEST_F(LogSaveTest, CounterZeroLeavesTheHeaderOnly) {
  LoggerTestProgram t(true, 2);
  fill(t, 2, 0);
  save(t, t.path("ZERO.TXT"));
  EXPECT_EQ(t.contents(t.path("ZERO.TXT")).toStdString(), logHeaderLine(2));
  expectOneBox(t, "Record Count is zero.  Job cancelled.", vbOKOnly);
}

TEST_F(LogSaveTest, UnreadableRecordEndsTheFileBeforeIt) {
  for (bool modbus : {true, false}) {
    LoggerTestProgram t(modbus, 1);
    fill(t, 1, 40);
    t.unit().readFails = {192 + 24 * 10};  // record 10
    save(t, t.path("PART.TXT"));
    EXPECT_EQ(t.contents(t.path("PART.TXT")).toStdString(), expectedFile(1, 10));
    expectOneBox(t, "Error: Cannot read record - unit may be offline.", vbOKOnly);
  }
}

TEST_F(LogSaveTest, CancelAndOffLineWriteNothing) {
  LoggerTestProgram t;
  fill(t, 0, 5);
  save(t, {});  // dialog cancelled
  EXPECT_TRUE(t.host.boxes().empty());
  EXPECT_TRUE(t.reads().empty());
  EXPECT_TRUE(QDir(t.settingsDir.path()).entryList({"*.TXT"}).isEmpty());

  Form1::setMenuEnabled(t->Form1().mnuDisplay, false);
  save(t, t.path("OFF.TXT"));
  expectOneBox(t, "Unit off-line...Check connections", vbCritical, "Off-line error");
  EXPECT_TRUE(t.host.dialogRequests().empty());
  EXPECT_FALSE(QFile::exists(t.path("OFF.TXT")));

  // Off line by the time the dialog closes.
  Form1::setMenuEnabled(t->Form1().mnuDisplay, true);
  t.host.answerFileDialog({false, t.path("LATE.TXT")});
  t.retrieve([&](LogRetr& w) {
    t.host.clearRecords();
    t->poll.PollStatus = 3;
    w.SSCommand2->click();
  });
  expectOneBox(t, "Unit off-line...Check connections", vbCritical, "Off-line error");
  EXPECT_FALSE(QFile::exists(t.path("LATE.TXT")));
}

TEST_F(LogSaveTest, CounterUnreadableWritesNoFileAndALargeOneSaves250) {
  LoggerTestProgram t;
  fill(t, 0, 5);
  t.unit().readFails = {138};
  t.host.answerFileDialog({false, t.path("A.TXT")});
  t.retrieve([&](LogRetr& w) {
    t.host.clearRecords();
    w.SSCommand2->click();
  });
  expectOneBox(t, "Unit off-line...Check connections", vbCritical, "Unit off-line");
  EXPECT_FALSE(QFile::exists(t.path("A.TXT")));

  // A counter of 32768 or more is a number of records like any other.
  t.unit().readFails.clear();
  t.regs()[138] = 0x9C40;
  save(t, t.path("B.TXT"));
  expectOneBox(t, "File Saved.", vbInformation, "Info");
  EXPECT_EQ(t.window()->Label11->text(), "40000");
  EXPECT_EQ(t.contents(t.path("B.TXT")).toStdString(), expectedFile(0, 250));
}

TEST_F(LogSaveTest, FileFailuresAreReportedNotSaved) {
  LoggerTestProgram t;
  fill(t, 0, 5);
  save(t, t.path("missing/R.TXT"));
  expectOneBox(t, "Path not found", vbOKOnly);
  EXPECT_TRUE(t.reads().size() == 1u);  // the counter only

  {
    test::FileSizeLimit full(10);
    save(t, t.path("FULL.TXT"));
  }
  expectOneBox(t, "Disk full", vbOKOnly);
  EXPECT_EQ(t.reads().size(), 1u);  // stopped at the header: no record read for nothing
}

TEST_F(LogSaveTest, TitleBarCloseWaitsForTheSave) {
  LoggerTestProgram t;
  fill(t, 0, 3);
  t.host.answerFileDialog({false, t.path("R.TXT")});
  t.retrieve([&](LogRetr& w) {
    t.host.atNextDoEvents([&] {
      EXPECT_TRUE(w.saving());
      EXPECT_FALSE(w.SSCommand1->isEnabled());
      EXPECT_EQ(t->pointer.applicationPointer(), vbHourglass);
      w.close();
    });
    w.SSCommand2->click();
    EXPECT_TRUE(t.window());
  });
  EXPECT_EQ(t.contents(t.path("R.TXT")).toStdString(), expectedFile(0, 3));
  EXPECT_EQ(t.host.boxes().back().text, "File Saved.");
}

}  // namespace
}  // namespace kvlink
