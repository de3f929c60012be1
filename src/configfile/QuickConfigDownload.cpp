#include "QuickConfigDownload.h"

#include <QFile>

#include "ConFileReader.h"
#include "ConfigFileModule.h"
#include "ConfigFileTexts.h"
#include "ErrorHandling.h"
#include "FileMenuCommands.h"
#include "Host.h"
#include "PollSwitch.h"
#include "Program.h"
#include "SerialLink.h"
#include "StationBlocks.h"

namespace kvlink {

namespace {

QString text(const char* utf8) {
  return QString::fromUtf8(utf8);
}

// The unit the download was started for. Every write and read goes to it,
// and the download halts when the selected station or the link is no longer
// this one.
struct DownloadTarget {
  int16_t port;
  int16_t station;
  bool useModbus;
  uint32_t stationChanges;  // a station or link change since, even undone, halts it

  static DownloadTarget capture(const Program& program) {
    const LinkState& link = program.linkState;
    return {link.CommPort, link.CurrentStation, link.UseModbus != 0, link.stationChanges};
  }
  bool unchanged(const Program& program) const {
    const LinkState& link = program.linkState;
    return LinkIsOpen(program) && link.CommPort == port && link.CurrentStation == station &&
           (link.UseModbus != 0) == useModbus && link.stationChanges == stationChanges;
  }
  int32_t address(int reg) const { return linkAddress(reg, useModbus); }
  int16_t wordCount() const { return useModbus ? 1 : 2; }
};

enum class Ending {
  UnitSilent,       // the unit did not tell its type
  BadVersion,       // file gone, unreadable or not format "2.0"
  WrongType,        // the file is for another unit type
  MissingSetPoint,  // a set point of the family is missing or empty
  BadValue,         // a type or set-point text that is no valid number
  RowFailed,        // a register failed to write, read back or verify
  Done,
  ProgramEnded,
};

// Keeps the poll stopped and the wizard disabled from the first step of the
// download to its end; restore() (or leaving the scope) undoes both.
class DownloadScope {
 public:
  DownloadScope(Program& program, ConfigFileModule& module) : program_(program), module_(module) {
    module_.downloadRunning = true;
    HoldPoll(program_, PollHolder::Download);
    if (FormConfig* wizard = module_.FormConfig.ifLoaded()) wizard->setEnabledState(false);
  }
  ~DownloadScope() { restore(); }
  DownloadScope(const DownloadScope&) = delete;
  DownloadScope& operator=(const DownloadScope&) = delete;

  void restore() {
    if (!module_.downloadRunning) return;
    module_.downloadRunning = false;
    if (program_.ended) return;  // nothing is started or created again after the end
    ReleasePoll(program_, PollHolder::Download);
    if (FormConfig* wizard = module_.FormConfig.ifLoaded()) wizard->setEnabledState(true);
  }

 private:
  Program& program_;
  ConfigFileModule& module_;
};

class Download {
 public:
  Download(Program& program, ConfigFileModule& module)
      : program_(program), module_(module), target_(DownloadTarget::capture(program)) {}

  Ending run() {
    const FormConfig* wizard = module_.FormConfig.ifLoaded();
    if (!wizard) return Ending::RowFailed;
    // Every refusal puts its own reason in the result line.
    const std::optional<std::string> file =
        readConFile(QFile::encodeName(wizard->CMDialog1.FileName).toStdString());
    if (const std::string problem = conVersionProblemLine(file); !problem.empty())
      return refused(Ending::BadVersion, problem);

    // The type the unit on the line reports, not the poll's last word on it:
    // the station may have changed since.
    if (!conTypeIsWhole(*file))
      return refused(Ending::BadValue, kLongValueLine + std::string(kConTypeKey));
    if (checkConType(*file, 0) == ConTypeCheck::NotANumber)
      return refused(Ending::BadValue, conStationTypeKeyLine(*file, kConTypeKey));
    uint16_t idWord = 0;
    if (ReadUnit(program_, &idWord, 1, target_.port, target_.station,
                 target_.address(kIdentificationRegister), target_.wordCount()) != 0)
      return refused(Ending::UnitSilent, kUnitSilentLine);
    const int16_t unitType = unitTypeFromIdWord(idWord);
    const std::optional<UnitFamily> family = unitFamilyOf(unitType);
    if (!family || checkConType(*file, unitType) != ConTypeCheck::Matches)
      return refused(Ending::WrongType, kWrongTypeLine + std::string(kConTypeKey) + '=' +
                                            conValue(*file, kConStationTypeSection, kConTypeKey) +
                                            ", unit type " + std::to_string(unitType));

    const DownloadPlan plan = planDownload(*file, *family);
    switch (plan.problem) {
      case PlanProblem::MissingSetPoint:
        return refused(Ending::MissingSetPoint, kMissingSetPointLine + plan.key);
      case PlanProblem::BadSetPoint:
        return refused(Ending::BadValue, kBadSetPointLine + plan.key + '=' + plan.text);
      case PlanProblem::LongSetPoint:
        return refused(Ending::BadValue, kLongValueLine + plan.key);
      case PlanProblem::None:
        break;
    }
    for (const PlannedWrite& write : plan.writes) {
      const Ending ending = send(write);
      if (ending != Ending::Done) return ending;
      program_.host.doEvents();
      if (*family == UnitFamily::Motor && !program_.ended) Pause(program_);
      if (program_.ended) return Ending::ProgramEnded;
      if (!module_.FormConfig.ifLoaded()) return Ending::RowFailed;
    }
    return Ending::Done;
  }

 private:
  // One row: write, read back, compare.
  Ending send(const PlannedWrite& write) {
    if (!target_.unchanged(program_)) return failed(kTargetChanged);
    setLine(&FormConfig::Label6, QString::fromStdString(write.progressText()));
    const int32_t address = target_.address(write.row->reg);
    if (WriteUnit(program_, target_.port, target_.station, address, write.value) != 0)
      return program_.ended ? Ending::ProgramEnded : failed(kWriteFailed);
    uint16_t readBack = 0;
    if (ReadUnit(program_, &readBack, 1, target_.port, target_.station, address,
                 target_.wordCount()) != 0)
      return failed(kReadFailed);
    if (!write.verifies(readBack)) return failed(kVerifyFailed);
    setLine(&FormConfig::Label7, text(kWrittenOk));
    return Ending::Done;
  }

  Ending refused(Ending ending, const std::string& reason) {
    setLines(QString(), QString::fromStdString(reason));
    return ending;
  }

  Ending failed(const char* result) {
    setLine(&FormConfig::Label7, text(result));
    return Ending::RowFailed;
  }

  void setLine(QLabel* FormConfig::*line, const QString& value) {
    if (FormConfig* wizard = module_.FormConfig.ifLoaded()) (wizard->*line)->setText(value);
  }
  void setLines(const QString& progress, const QString& result) {
    setLine(&FormConfig::Label6, progress);
    setLine(&FormConfig::Label7, result);
  }

  Program& program_;
  ConfigFileModule& module_;
  const DownloadTarget target_;
};

struct EndingReport {
  Ending ending;
  const char* text;
  int style;
  const char* title;
};

constexpr EndingReport kReports[] = {
    {Ending::UnitSilent, kOffLineText, vbCritical, kOffLineTitle},
    {Ending::BadVersion, kBadVersionText, vbCritical, kConFileErrorTitle},
    {Ending::WrongType, kWrongTypeText, vbCritical, kTypeErrorTitle},
    {Ending::MissingSetPoint, kMissingSetPointText, vbCritical, kConFileErrorTitle},
    {Ending::BadValue, kBadValueText, vbCritical, kBadValueTitle},
    {Ending::RowFailed, kDownloadErrorText, vbCritical, kDownloadErrorTitle},
    {Ending::Done, kDownloadDoneText, vbInformation, kInfoTitle},
};

void showWizardLabel(ConfigFileModule& module, QLabel* FormConfig::*label) {
  if (FormConfig* wizard = module.FormConfig.ifLoaded()) (wizard->*label)->show();
}

}  // namespace

void Pause(Program& program) {
  for (int count = 1; count <= kPauseEventPumps && !program.ended; ++count) program.host.doEvents();
}

void FormConfig_Command3D3_Click(Program& program) {
  ConfigFileModule& module = configFileModule(program);
  if (module.downloadRunning || !module.FormConfig.ifLoaded()) return;
  if (UnitOffLine(program)) {
    MsgBox(program.host, text(kOffLineText), vbCritical, text(kOffLineTitle));
    showWizardLabel(module, &FormConfig::Label3);
    return;
  }
  module.FormConfig().Label3->hide();

  DownloadScope scope(program, module);
  const Ending ending = Download(program, module).run();
  if (ending == Ending::ProgramEnded) return;
  if (ending == Ending::WrongType) showWizardLabel(module, &FormConfig::Label4);
  if (ending == Ending::UnitSilent) showWizardLabel(module, &FormConfig::Label3);
  for (const EndingReport& report : kReports)
    if (report.ending == ending)
      MsgBox(program.host, text(report.text), report.style, text(report.title));
  scope.restore();
  if (ending != Ending::Done) return;
  if (FormConfig* wizard = module.FormConfig.ifLoaded()) {
    wizard->Label6->clear();
    wizard->Label7->setText(text(kDownloadComplete));
  }
}

}  // namespace kvlink
