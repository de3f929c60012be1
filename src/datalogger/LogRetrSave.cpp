// "Save Records": records 0..N-1 of the current station into a new text
// file chosen in a save dialog, with the header line of the unit's family.

#include <QCoreApplication>
#include <algorithm>
#include <vector>

#include "Form1.h"
#include "Host.h"
#include "LogRecordLine.h"
#include "LogRetr.h"
#include "LogSaveChoice.h"
#include "LogTextFile.h"
#include "LoggerRecordsModule.h"
#include "LoggerRegisters.h"
#include "LoggingCode.h"
#include "Program.h"
#include "UnitOffLine.h"

namespace kvlink {

namespace {

const QString kOffLineText = QStringLiteral("Unit off-line...Check connections");
const QString kRecordCountZero = QStringLiteral("Record Count is zero.  Job cancelled.");
const QString kCannotReadRecord =
    QStringLiteral("Error: Cannot read record - unit may be offline.");

const QString kCounterResetText =
    QStringLiteral("the record counter was reset while they were read");
const QString kTooFastText = QStringLiteral("the unit logs faster than they can be read");
// Readings in a row that find the records moved before the unit counts as
// logging faster than its records can be read.
constexpr int kSteadyTries = 8;

struct SaveShortfall {
  long lost = 0;      // overwritten before they could be read
  long unsaved = 0;   // not read, for `why`
  long doubtful = 0;  // stamped alike to the record before: may be a repeat
  QString why;
};

// "File Saved." over a file that misses records or may repeat some: how
// many, and why.
QString logSaveShortText(const SaveShortfall& s) {
  QString text = QStringLiteral("File Saved.");
  if (s.lost > 0)
    text +=
        QStringLiteral("\nRecords lost: %1 (overwritten before they could be read)").arg(s.lost);
  if (s.unsaved > 0)
    text += QStringLiteral("\nRecords not saved: %1 (%2)").arg(s.unsaved).arg(s.why);
  if (s.doubtful > 0)
    text += QStringLiteral(
                "\nRecords doubtful: %1 (stamped alike to the record before them, with the "
                "record counter full: each may repeat a saved record in place of one not saved)")
                .arg(s.doubtful);
  return text;
}

}  // namespace

void LogRetr::setSaveControlsEnabled(bool on) {
  for (QWidget* control : std::initializer_list<QWidget*>{SSCommand2, SSCommand1, SSOption1,
                                                          SSOption2, SSOption3, HScroll1, UpDown1})
    control->setEnabled(on);
}

void LogRetr::SSCommand2_Click() {
  if (saving_) return;
  Program& program = program_;
  Host& host = program.host;
  LogTextFile file;
  std::vector<std::string> doubtfulRun;  // saved lines that may repeat others, not yet written
  const auto writeDoubtfulRun = [&] {
    if (doubtfulRun.empty()) return true;
    std::string text = logRecordsDoubtfulLine(long(doubtfulRun.size()));
    for (const std::string& line : doubtfulRun) text += line;
    doubtfulRun.clear();
    return file.write(text);
  };
  saving_ = true;
  setSaveControlsEnabled(false);

  // Every end: the controls back, the pointer normal, the progress at 0,
  // the file closed.
  auto finish = [&] {
    file.close();
    saving_ = false;
    setSaveControlsEnabled(true);
    program.pointer.setApplicationPointer(vbDefault);
    ProgressBar1->setValue(0);
  };
  // The error path: the error's own description, no icon, default title.
  auto fail = [&](const QString& description) {
    file.close();
    finish();
    MsgBox(host, description);
  };
  // The window is unloaded only at program end while a save runs; the
  // save then stops with what it has read.
  auto windowGone = [&] {
    if (loggerRecords(program).LogRetr.ifLoaded() == this) return false;
    writeDoubtfulRun();
    file.close();
    saving_ = false;
    program.pointer.setApplicationPointer(vbDefault);
    return true;
  };

  if (UnitOffLine(program)) {
    finish();
    MsgBox(host, kOffLineText, vbCritical, QStringLiteral("Off-line error"));
    return;
  }

  FileDialogRequest request;
  request.save = true;
  request.filter = QStringLiteral("Text File (*.TXT)|*.TXT");
  request.flags = cdlOFNOverwritePrompt;
  const FileDialogResult chosen = host.fileDialog(request);
  if (chosen.cancelled || chosen.fileName.isEmpty()) {
    finish();
    return;
  }

  if (UnitOffLine(program)) {
    finish();
    MsgBox(host, kOffLineText, vbCritical, QStringLiteral("Off-line error"));
    return;
  }

  const RecordCounterRead counterRead =
      ReadRecordCounter(program, program.linkState.CurrentStation);
  if (counterRead.result != 0) {
    finish();
    MsgBox(host, kOffLineText, vbCritical, QStringLiteral("Unit off-line"));
    return;
  }
  // The counter is unsigned (0 to 65535); "all logged" saves at most 250.
  const int counter = counterRead.counter;
  Label11->setText(QString::number(counter));

  if (!file.open(chosen.fileName.toStdString(), LogTextFile::Mode::Output))
    return fail(QString::fromStdString(file.errorDescription()));

  program.pointer.setApplicationPointer(vbHourglass);
  host.doEvents();
  host.doEvents();
  if (windowGone()) return;

  const int16_t unitType = loggingCode(program).viewedUnitType;
  if (!file.write(logHeaderLine(unitType)))
    return fail(QString::fromStdString(file.errorDescription()));

  const LogSaveChoice choice = SSOption1->isChecked()   ? LogSaveChoice::AllLogged
                               : SSOption2->isChecked() ? LogSaveChoice::Only
                                                        : LogSaveChoice::All250;
  const std::optional<int> count = logSaveCount(choice, counter, Label6->text().toInt());
  if (!count) {
    if (!file.close()) return fail(QString::fromStdString(file.errorDescription()));
    finish();
    MsgBox(host, kRecordCountZero);
    return;
  }

  ProgressBar1->setRange(0, logSaveProgressMaximum(*count));
  ProgressBar1->setValue(0);
  // Records 0..count-1 as they were when the counter was read. Each record
  // logged meanwhile moves them all up by one and adds one to the counter: a
  // record read between two equal counter readings is the one wanted,
  // whatever it reads like. A full counter adds nothing: there a record
  // stamped strictly older than the one saved before it, and not one saved,
  // is the next one; any other is the next one only while the record saved
  // before it still stands just below it, else the records moved up by one
  // more.
  const auto counterNow = [&] {
    const RecordCounterRead read = ReadRecordCounter(program, program.linkState.CurrentStation);
    return read.result == 0 ? std::optional<int>(read.counter) : std::nullopt;
  };
  const auto readLine = [&](int index) -> std::optional<std::string> {
    if (ReadLogRecord(program, int16_t(index)) != 0) return std::nullopt;
    return logRecordLine(loggingCode(program).record, unitType);
  };
  const auto cannotRead = [&] {
    if (!writeDoubtfulRun() || !file.close())
      return fail(QString::fromStdString(file.errorDescription()));
    finish();
    MsgBox(host, kCannotReadRecord);
  };
  std::vector<std::string> saved;  // newest first
  int now = counter;               // as last read
  int moved = 0;                   // places the records moved up since the counter was read
  std::string lastOrder;
  SaveShortfall shortfall;
  for (int i = 0, tries = 0; i < *count;) {
    if (now < counter || tries == kSteadyTries) {
      // Reset meanwhile, or logging faster than a record can be read.
      shortfall.unsaved = *count - i;
      shortfall.why = now < counter ? kCounterResetText : kTooFastText;
      break;
    }
    moved = std::max(moved, now - counter);
    const int index = i + moved;
    if (index >= kLogRecordSlots) {  // the oldest ones are overwritten
      shortfall.lost = *count - i;
      break;
    }
    // What was written stays; nothing stands in for a missing record.
    const std::optional<std::string> line = readLine(index);
    if (!line) return cannotRead();
    const std::string order = logTimeOrder(loggingCode(program).record);
    // A full counter stays full (a reset meanwhile moves no record).
    const std::optional<int> after = now == kRecordCounterFull ? now : counterNow();
    if (!after) return cannotRead();
    if (*after != now) {
      now = *after;
      ++tries;
      continue;
    }
    bool doubtful = false;
    if (now == kRecordCounterFull && i > 0 &&
        (order >= lastOrder || std::ranges::find(saved, *line) != saved.end())) {
      const std::optional<std::string> below = readLine(index - 1);
      if (!below) return cannotRead();
      if (*below != saved.back()) {
        ++moved;
        ++tries;
        continue;
      }
      // Its place rests on the record below reading as the one saved
      // before; stamped alike, a record logged meanwhile may read so too.
      doubtful = order == lastOrder;
    }
    tries = 0;
    saved.push_back(*line);
    lastOrder = order;
    if (doubtful) {
      ++shortfall.doubtful;
      doubtfulRun.push_back(*line);
    } else if (!writeDoubtfulRun() || !file.write(*line)) {
      return fail(QString::fromStdString(file.errorDescription()));
    }
    ProgressBar1->setValue(i++);
    host.doEvents();
    if (windowGone()) return;
  }
  if (!writeDoubtfulRun()) return fail(QString::fromStdString(file.errorDescription()));
  if (shortfall.lost > 0 && !file.write(logRecordsLostLine(shortfall.lost)))
    return fail(QString::fromStdString(file.errorDescription()));

  if (!file.close()) return fail(QString::fromStdString(file.errorDescription()));
  program.pointer.setApplicationPointer(vbDefault);
  if (shortfall.lost > 0 || shortfall.unsaved > 0 || shortfall.doubtful > 0)
    MsgBox(host, logSaveShortText(shortfall), vbExclamation, QStringLiteral("Info"));
  else
    MsgBox(host, QStringLiteral("File Saved."), vbInformation, QStringLiteral("Info"));
  finish();
}

}  // namespace kvlink
