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

// "File Saved." over a file that misses records: how many, and why.
QString logSaveShortText(long lost, long unseen) {
  QString text = QStringLiteral("File Saved.");
  if (lost > 0)
    text += QStringLiteral("\nRecords lost: %1 (overwritten before they could be read)").arg(lost);
  if (unseen > 0)
    text += QStringLiteral(
                "\nThe unit logged %1 more records while they were read: as many "
                "may be missing.")
                .arg(unseen);
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
  // logged meanwhile moves them all up by one: a record that reads like the
  // one before it was moved up (the counter counts it) or is alike to it.
  const auto counterNow = [&] {
    const RecordCounterRead read = ReadRecordCounter(program, program.linkState.CurrentStation);
    return read.result == 0 ? std::optional<int>(read.counter) : std::nullopt;
  };
  const auto cannotRead = [&] {
    if (!file.close()) return fail(QString::fromStdString(file.errorDescription()));
    finish();
    MsgBox(host, kCannotReadRecord);
  };
  int moved = 0;
  long lost = 0;
  std::string last;
  for (int i = 0; i < *count;) {
    if (i + moved >= kLogRecordSlots) {  // the oldest ones are overwritten
      lost = *count - i;
      break;
    }
    // What was written stays; nothing stands in for a missing record.
    if (ReadLogRecord(program, int16_t(i + moved)) != 0) return cannotRead();
    std::string line = logRecordLine(loggingCode(program).record, unitType);
    if (i > 0 && line == last) {
      const std::optional<int> now = counterNow();
      if (!now) return cannotRead();
      if (*now > counter + moved) {
        ++moved;
        continue;
      }
    }
    if (!file.write(line)) return fail(QString::fromStdString(file.errorDescription()));
    last = std::move(line);
    ProgressBar1->setValue(i++);
    host.doEvents();
    if (windowGone()) return;
  }
  // More logged than were seen moving the records: unless the last one
  // written sits where the count puts it, some may be missing.
  const std::optional<int> end = counterNow();
  if (!end) return cannotRead();
  long unseen = std::max(0L, long(*end) - counter - moved);
  const int lastPlace = *count - 1 + *end - counter;
  if (unseen > 0 && lost == 0 && lastPlace < kLogRecordSlots) {
    if (ReadLogRecord(program, int16_t(lastPlace)) != 0) return cannotRead();
    if (logRecordLine(loggingCode(program).record, unitType) == last) unseen = 0;
  }
  if (lost > 0 && !file.write(logRecordsLostLine(lost)))
    return fail(QString::fromStdString(file.errorDescription()));

  if (!file.close()) return fail(QString::fromStdString(file.errorDescription()));
  program.pointer.setApplicationPointer(vbDefault);
  if (lost > 0 || unseen > 0)
    MsgBox(host, logSaveShortText(lost, unseen), vbExclamation, QStringLiteral("Info"));
  else
    MsgBox(host, QStringLiteral("File Saved."), vbInformation, QStringLiteral("Info"));
  finish();
}

}  // namespace kvlink
