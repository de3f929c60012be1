// "Save Records": records 0..N-1 of the current station into a new text
// file chosen in a save dialog, with the header line of the unit's family.

#include <QCoreApplication>

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
// Readings in a row that find the counter moved before the unit counts as
// logging faster than its records can be read.
constexpr int kSteadyTries = 8;

// "File Saved." over a file that misses records: how many, and why.
QString logSaveShortText(long lost, long unsaved, const QString& why) {
  QString text = QStringLiteral("File Saved.");
  if (lost > 0)
    text += QStringLiteral("\nRecords lost: %1 (overwritten before they could be read)").arg(lost);
  if (unsaved > 0) text += QStringLiteral("\nRecords not saved: %1 (%2)").arg(unsaved).arg(why);
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
  // save then stops with what it has written.
  auto windowGone = [&] {
    if (loggerRecords(program).LogRetr.ifLoaded() == this) return false;
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
  // whatever it reads like.
  const auto counterNow = [&] {
    const RecordCounterRead read = ReadRecordCounter(program, program.linkState.CurrentStation);
    return read.result == 0 ? std::optional<int>(read.counter) : std::nullopt;
  };
  const auto cannotRead = [&] {
    if (!file.close()) return fail(QString::fromStdString(file.errorDescription()));
    finish();
    MsgBox(host, kCannotReadRecord);
  };
  int now = counter;  // as last read
  long lost = 0, unsaved = 0;
  QString why;
  for (int i = 0, tries = 0; i < *count;) {
    if (now < counter || tries == kSteadyTries) {
      // Reset meanwhile, or logging faster than a record can be read.
      unsaved = *count - i;
      why = now < counter ? kCounterResetText : kTooFastText;
      break;
    }
    const int index = i + now - counter;
    if (index >= kLogRecordSlots) {  // the oldest ones are overwritten
      lost = *count - i;
      break;
    }
    // What was written stays; nothing stands in for a missing record.
    if (ReadLogRecord(program, int16_t(index)) != 0) return cannotRead();
    const std::string line = logRecordLine(loggingCode(program).record, unitType);
    const std::optional<int> after = counterNow();
    if (!after) return cannotRead();
    if (*after != now) {
      now = *after;
      ++tries;
      continue;
    }
    tries = 0;
    if (!file.write(line)) return fail(QString::fromStdString(file.errorDescription()));
    ProgressBar1->setValue(i++);
    host.doEvents();
    if (windowGone()) return;
  }
  if (lost > 0 && !file.write(logRecordsLostLine(lost)))
    return fail(QString::fromStdString(file.errorDescription()));

  if (!file.close()) return fail(QString::fromStdString(file.errorDescription()));
  program.pointer.setApplicationPointer(vbDefault);
  if (lost > 0 || unsaved > 0)
    MsgBox(host, logSaveShortText(lost, unsaved, why), vbExclamation, QStringLiteral("Info"));
  else
    MsgBox(host, QStringLiteral("File Saved."), vbInformation, QStringLiteral("Info"));
  finish();
}

}  // namespace kvlink
