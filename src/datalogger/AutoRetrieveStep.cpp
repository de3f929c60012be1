#include "AutoRetrieveStep.h"

#include <algorithm>
#include <exception>
#include <optional>

#include "AutoRetrieveFile.h"
#include "AutoRetrieveModule.h"
#include "ErrorHandling.h"
#include "Form1.h"
#include "Host.h"
#include "LogRecordLine.h"
#include "LoggerRegisters.h"
#include "LoggingCode.h"
#include "PassTarget.h"
#include "Program.h"
#include "RecordCollector.h"
#include "SaveNote.h"
#include "link/LinkErrors.h"
#include "platform/TempPath.h"

namespace kvlink {

namespace {

constexpr int kIdentificationWord = 39;
constexpr uint16_t kLoggerFitted = 0x40;
constexpr uint16_t kResetRecordCounter = 8;

// The main window's menu items that must not start their own work while a
// step waits in the event pump: the configuration-file windows and the
// logger windows, which share the read buffer and the decoded record. They
// are enabled again on every way out of the step.
class StepMenuLock {
 public:
  explicit StepMenuLock(Program& program) : program_(program) { setEnabled(false); }
  ~StepMenuLock() {
    if (!program_.ended && program_.Form1.loaded()) setEnabled(true);
  }
  StepMenuLock(const StepMenuLock&) = delete;
  StepMenuLock& operator=(const StepMenuLock&) = delete;

 private:
  void setEnabled(bool on) {
    Form1& main = program_.Form1();
    for (QAction* item : {main.mnuopen, main.mnusaveset, main.mnuConfigure, main.mnuRetrieve})
      item->setEnabled(on);
  }
  Program& program_;
};

// One register of a station, one word; nothing when it did not answer.
std::optional<uint16_t> readWord(Program& program, const PassTarget& target, int16_t station,
                                 int reg) {
  const bool modbus = target.useModbus;
  if (ReadUnit(program, target.port, station, loggerRegisterAddress(modbus, reg),
               loggerReadCount(modbus, 1)) != 0)
    return std::nullopt;
  return program.ReadBuffer[0];
}

int16_t unitTypeOf(uint16_t identification) {
  const int16_t type = static_cast<int16_t>(identification >> 8);
  return isKnownUnitType(type) ? type : kUnitTypeUnknown;
}

class StationVisit {
 public:
  StationVisit(Program& program, int position, int16_t station)
      : program_(program),
        m_(program.module<AutoRetrieveModule>()),
        target_(PassTarget::capture(program)),
        position_(position),
        station_(station) {}

  void run() {
    const std::optional<uint16_t> identification =
        readWord(program_, target_, station_, kIdentificationWord);
    if (identification) m_.AutoUnitType = unitTypeOf(*identification);
    if (!identification || m_.AutoUnitType == kUnitTypeUnknown ||
        (*identification & kLoggerFitted) == 0) {
      showStatus(autoRetrieveNoResponseText(station_));
      return;
    }
    unitType_ = m_.AutoUnitType;
    const std::optional<uint16_t> counter = readWord(program_, target_, station_, kRecordCounter);
    if (!counter) {
      showStatus(autoRetrieveNoResponseText(station_));
      return;
    }
    m_.AutoRecordCount = *counter;
    count_ = *counter;
    showStatus(autoRetrieveCountText(station_, count_));
    if ((count_ >= m_.AutoRecordLimit && count_ > 0) || backlogBeforeReset()) saveRecords();
  }

 private:
  void showStatus(const std::string& text) {
    const QString line = QString::fromStdString(text);
    m_.AutoSave().statusLine(position_)->setText(line);
    program_.Form1().Label12->setText(line);
  }
  void showMainStatus(const std::string& text) {
    program_.Form1().Label12->setText(QString::fromStdString(text));
  }

  // The directory shown in the window; the temporary directory when that
  // one takes no files.
  std::string destination() {
    AutoSave& window = m_.AutoSave();
    std::string directory = window.Label7->text().toStdString();
    if (!probeDirectoryWritable(directory)) {
      directory = tempPath();
      window.Label7->setText(QString::fromStdString(directory));
    }
    elsewhere_ = directory == tempPath();
    return directory;
  }

  // Records from before a counter reset wait to be saved, those of a full
  // counter perhaps all of them: the unit overwrites them as it logs, so they
  // are saved whatever the count.
  bool backlogBeforeReset() {
    const std::optional<SaveNote> note =
        readSaveNote(saveNotePath(m_.AutoSave().Label7->text().toStdString(), station_));
    return note && (note->saved.lostAtLeast ||
                    std::ranges::any_of(note->saved.offsets, [](long o) { return o > 1; }));
  }

  // The control word written back with the bit that resets the record counter.
  int16_t writeCounterReset(uint16_t control) {
    return WriteUnit(program_, target_.port, station_,
                     loggerRegisterAddress(target_.useModbus, kLoggerControlWord),
                     control | kResetRecordCounter);
  }

  // The pump may have ended the program or changed the link.
  bool mayGoOn() const { return !program_.ended && target_.linkUnchanged(program_); }

  // Reads every record the unit logged since its last save, appends them
  // oldest first, and has the unit reset its counter once they are on the
  // disk. Records logged while they are read are read and appended too; one
  // logged between the last counter read and the reset is read straight after
  // the reset, or at the next visit. Records the unit overwrote before they could be read are
  // counted on a line of their own; from a unit that logs faster than it can
  // be read, the records not yet read are left for the next visit, with the
  // counter not reset. The station's note says, before and after each step,
  // where the save stands.
  // On any failure the file is cut back to its length before the failed part
  // and the records stay in the unit.
  void saveRecords() {
    const std::string directory = destination();
    const std::string path = autoRetrieveFilePath(directory, station_);
    notePath_ = saveNotePath(directory, station_);
    const ResumedSaves resumed = resumeSaves(path, notePath_);
    note_ = resumed.note;
    StationFile file;
    if (!file.open(path)) {
      showStatus(file.notRegular() ? autoRetrieveNotRegularText(station_)
                                   : autoRetrieveCannotOpenText(station_));
      return;
    }
    if (!resumed.completion.empty()) {
      file.completeLastLine(resumed.completion);
      if (!file.append({})) return writeFailed();
      file.keep();
    }
    SavePoint before = note_.saved;
    std::optional<uint16_t> control;
    if (count_ >= kRecordCounterFull) {
      // A full counter counts no further, so it places no record: it is reset
      // first, and the records the unit holds are placed by the new count.
      const long savedCounted = before.offsets.size() == 1 ? std::max(0L, -before.offsets[0]) : 0;
      before = SavePoint{
          {}, before.lines, std::max(0L, kRecordCounterFull - kLogRecordSlots - savedCounted)};
      if (!noteSaved(file, before)) return writeFailed();
      control = readWord(program_, target_, station_, kLoggerControlWord);
      if (!control) return readFailed(file);
      writeCounterReset(*control);
      const std::optional<uint16_t> counter =
          program_.ended ? std::nullopt : readWord(program_, target_, station_, kRecordCounter);
      if (!counter) return readFailed(file);
      if (*counter >= kRecordCounterFull) return;  // not reset: the records stay in the unit
      count_ = *counter;
    }
    RecordCollector records([this](int record) { return readRecord(record); },
                            [this]() -> std::optional<long> {
                              return readWord(program_, target_, station_, kRecordCounter);
                            },
                            {logRecordsLostLine, logRecordsDoubtfulLine, logCounterChangedLine()},
                            count_, before);
    std::string text = file.isNew() ? logHeaderLine(unitType_) : std::string();
    RecordCollector::Outcome outcome;
    for (;;) {
      outcome = records.collect();
      if (outcome == RecordCollector::Outcome::ReadFailed) return readFailed(file);
      for (const std::string& line : records.take()) text += line;
      if (!control) control = readWord(program_, target_, station_, kLoggerControlWord);
      if (!control) return readFailed(file);
      // On the disk before the counter is read the last time: as little as
      // can be lies between that reading and the reset.
      if (!appendNoted(file, text, records.point())) return writeFailed();
      text.clear();
      if (outcome == RecordCollector::Outcome::Overrun) break;
      if (outcome == RecordCollector::Outcome::Paused) continue;
      const std::optional<bool> unchanged = records.counterUnchanged();
      if (!unchanged) return readFailed(file);
      if (*unchanged) break;
    }
    if (!file.stillNamed()) {
      // Moved or deleted meanwhile: the records stay in the unit for the
      // file the path names next.
      note_ = SaveNote{before, 0, std::nullopt, 0};
      writeSaveNote(notePath_, note_);
      return showStatus(autoRetrieveFileGoneText(station_));
    }
    const bool overrun = outcome == RecordCollector::Outcome::Overrun;
    if (!overrun) {
      if (!noteSaved(file, records.pointAcrossReset())) return writeFailed();
      const int16_t result = writeCounterReset(*control);
      if (result == 0) {
        records.counterWasReset();
        noteSaved(file, records.point());
        if (!program_.ended) saveAfterReset(file, records);
      } else if (result != kNoAnswer) {  // refused: the counter keeps its places
        noteSaved(file, records.point());
      }  // no answer: reset or not, the next save tells
    }
    if (program_.ended) return;
    // Only a loss is told: a unit that logs faster than it is read keeps the
    // rest for the next visit.
    if (records.lost() > 0)
      showStatus(autoRetrieveRecordsLostText(
          station_, records.lost(), overrun && records.logsTooFast(), records.lostBound()));
    else if (elsewhere_)
      showMainStatus(autoRetrieveSavedToText(station_, path));
  }

  // A record logged between the last counter read and the reset write is not
  // counted: read it now, with any logged since the reset. When that fails,
  // the next save looks for it.
  void saveAfterReset(StationFile& file, RecordCollector& records) {
    if (records.collect() == RecordCollector::Outcome::ReadFailed) return;
    std::string text;
    for (const std::string& line : records.take()) text += line;
    appendNoted(file, text, records.point());
  }

  // Appends `text` with the note saying, before and after, where the save
  // stands once it is in; what is in stays. False when either cannot be written.
  bool appendNoted(StationFile& file, const std::string& text, const SavePoint& point) {
    if (text.empty()) return noteSaved(file, point);
    note_.writing = point;
    note_.writingSize = file.sizeAfter(text);
    if (!writeSaveNote(notePath_, note_) || !file.append(text)) {
      note_.writing.reset();
      writeSaveNote(notePath_, note_);
      return false;
    }
    file.keep();
    return noteSaved(file, point);
  }
  bool noteSaved(const StationFile& file, const SavePoint& point) {
    if (point == note_.saved && !note_.writing && note_.fileSize == file.size()) return true;
    note_ = SaveNote{point, file.size(), std::nullopt, 0};
    return writeSaveNote(notePath_, note_);
  }

  // One record, followed by one pass of the event pump; nothing when it could
  // not be read or the pump ended the program or changed the link.
  std::optional<std::string> readRecord(int record) {
    if (ReadLogRecordAt(program_, static_cast<int16_t>(record), unitType_, station_) != 0)
      return std::nullopt;
    std::string read = logRecordLine(loggingCode(program_).record, unitType_);
    program_.host.doEvents();
    if (!mayGoOn()) return std::nullopt;
    return read;
  }

  // Nothing of this save stays in the file but the error line (after the
  // header line of a new file); the records stay in the unit.
  void readFailed(StationFile& file) {
    file.cutBack();
    const std::string header = file.isNew() ? logHeaderLine(unitType_) : std::string();
    const bool written = file.append(header + logReadErrorLine());
    if (program_.ended) return;
    if (!written)
      showStatus(autoRetrieveCannotWriteText(station_));
    else
      showMainStatus(kAutoRetrieveReadFailedText);
  }

  void writeFailed() { showStatus(autoRetrieveCannotWriteText(station_)); }

  Program& program_;
  AutoRetrieveModule& m_;
  const PassTarget target_;
  const int position_;
  const int16_t station_;
  int16_t unitType_ = kUnitTypeUnknown;
  long count_ = 0;
  bool elsewhere_ = false;  // saving to the temporary directory
  std::string notePath_;
  SaveNote note_;  // as last written
};

}  // namespace

void AutoRetrieveStep(Program& program) {
  AutoRetrieveModule& m = program.module<AutoRetrieveModule>();
  if (m.AutoStationCount <= 0) {
    program.Form1().Label12->clear();
    return;
  }
  if (program.ended) return;
  {
    StepMenuLock lock(program);
    if (m.AutoStationIndex < 0 || m.AutoStationIndex >= m.AutoStationCount) m.AutoStationIndex = 0;
    const int position = m.AutoStationIndex;
    const int16_t station = m.AutoStations[position];
    try {
      StationVisit(program, position, station).run();
    } catch (const std::exception&) {
      if (program.ended) return;
      const QString text = QString::fromStdString(autoRetrieveCannotOpenText(station));
      m.AutoSave().statusLine(position)->setText(text);
      program.Form1().Label12->setText(text);
    }
  }
  if (program.ended) return;
  const int next = m.AutoStationIndex + 1;
  m.AutoStationIndex = static_cast<int16_t>(next >= m.AutoStationCount ? 0 : next);
  m.AutoSave().Timer1->start();
  m.AutoRetrieveDue = false;
}

}  // namespace kvlink
