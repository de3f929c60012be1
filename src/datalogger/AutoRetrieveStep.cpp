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
    if (count_ >= m_.AutoRecordLimit && count_ > 0) saveRecords();
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

  // The pump may have ended the program or changed the link.
  bool mayGoOn() const { return !program_.ended && target_.linkUnchanged(program_); }

  // Reads every record the unit logged since its last save, appends them
  // oldest first, and has the unit reset its counter once they are on the
  // disk. Records logged while they are read are read and appended too; one
  // logged between the last counter read and the reset is read straight after
  // the reset, or at the next visit. Records the unit overwrote before they could be read are
  // counted on a line of their own; from a unit that logs faster than it can
  // be read, the records not yet read are left for the next visit, with the
  // counter not reset.
  // On any failure the file is cut back to its length before the save (or
  // the last part of a long backlog kept) and the records stay in the unit.
  void saveRecords() {
    const RecordCollector::KnownMark before = savedUpTo();
    StationFile file;
    const std::string path = autoRetrieveFilePath(destination(), station_);
    if (!file.open(path)) {
      showStatus(file.notRegular() ? autoRetrieveNotRegularText(station_)
                                   : autoRetrieveCannotOpenText(station_));
      return;
    }
    long fileRun = 0;
    std::string fileBefore;
    const std::optional<LoggedRecord> last = fileLast(path, fileRun, fileBefore);
    RecordCollector records([this](int record) { return readRecord(record); },
                            [this]() -> std::optional<long> {
                              return readWord(program_, target_, station_, kRecordCounter);
                            },
                            logRecordsLostLine, count_, savedUpTo(), last, fileRun, fileBefore);
    std::string text = file.isNew() ? logHeaderLine(unitType_) : std::string();
    std::optional<uint16_t> control;
    RecordCollector::Outcome outcome;
    for (;;) {
      outcome = records.collect();
      if (outcome == RecordCollector::Outcome::ReadFailed) return readFailed(file);
      for (const std::string& line : records.take()) text += line;
      if (!control) control = readWord(program_, target_, station_, kLoggerControlWord);
      if (!control) return readFailed(file);
      // On the disk before the counter is read the last time: as little as
      // can be lies between that reading and the reset.
      if (!text.empty() && !file.append(text)) return writeFailed();
      text.clear();
      if (outcome == RecordCollector::Outcome::Overrun) break;
      if (outcome == RecordCollector::Outcome::Paused) {
        // The oldest ones are in the file to stay, whatever comes after.
        file.keep();
        keepMark(records.markWithoutReset());
        continue;
      }
      const std::optional<bool> unchanged = records.counterUnchanged();
      if (!unchanged) return readFailed(file);
      if (*unchanged) break;
    }
    if (!file.stillNamed()) {
      // Moved or deleted meanwhile: the records stay in the unit for the
      // file the path names next.
      keepMark(before);
      return showStatus(autoRetrieveFileGoneText(station_));
    }
    const bool overrun = outcome == RecordCollector::Outcome::Overrun;
    // A full counter counts no further: reset it even so.
    if (!overrun || records.counterFull()) {
      const int16_t result = WriteUnit(program_, target_.port, station_,
                                       loggerRegisterAddress(target_.useModbus, kLoggerControlWord),
                                       *control | kResetRecordCounter);
      if (result == 0)
        m_.SavedUpTo[station_] = records.markAfterReset();
      else if (result == kNoAnswer)  // reset or not: the file tells next time
        keepMark(std::nullopt);
      else
        keepMark(records.markWithoutReset());
      if (result == 0 && !program_.ended) saveAfterReset(file, records);
    } else {
      keepMark(records.markWithoutReset());
    }
    if (program_.ended) return;
    const bool tooFast = overrun && records.logsTooFast();
    if (tooFast || records.lost() > 0)
      showStatus(autoRetrieveRecordsLostText(station_, records.lost(), tooFast));
    else if (elsewhere_)
      showMainStatus(autoRetrieveSavedToText(station_, path));
  }

  // A record logged between the last counter read and the reset write is not
  // counted: read it now, with any logged since the reset. When that fails,
  // the next save looks for it.
  void saveAfterReset(StationFile& file, RecordCollector& records) {
    file.keep();
    records.counterWasReset();
    if (records.collect() != RecordCollector::Outcome::Complete) return;
    std::string text;
    for (const std::string& line : records.take()) text += line;
    if (!text.empty() && !file.append(text)) return;
    keepMark(records.markWithoutReset());
  }

  RecordCollector::KnownMark savedUpTo() const {
    const auto found = m_.SavedUpTo.find(station_);
    if (found == m_.SavedUpTo.end()) return std::nullopt;
    return found->second;
  }
  void keepMark(const RecordCollector::KnownMark& mark) {
    if (mark)
      m_.SavedUpTo[station_] = *mark;
    else
      m_.SavedUpTo.erase(station_);
  }
  static std::optional<LoggedRecord> fileLast(const std::string& path, long& run,
                                              std::string& before) {
    std::optional<std::string> line = lastRecordLine(path, &run, &before);
    if (!line) return std::nullopt;
    std::string time = logTimeOrderOfLine(*line);
    return LoggedRecord{std::move(*line), std::move(time)};
  }

  // One record, followed by one pass of the event pump; nothing when it could
  // not be read or the pump ended the program or changed the link.
  std::optional<LoggedRecord> readRecord(int record) {
    if (ReadLogRecordAt(program_, static_cast<int16_t>(record), unitType_, station_) != 0)
      return std::nullopt;
    const LogRecordValues& values = loggingCode(program_).record;
    LoggedRecord read{logRecordLine(values, unitType_), logTimeOrder(values)};
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
