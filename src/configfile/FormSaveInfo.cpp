#include "FormSaveInfo.h"

#include <QFile>
#include <QHBoxLayout>
#include <QVBoxLayout>

#include "ConFileWriter.h"
#include "ConfigFileModule.h"
#include "ConfigFileTexts.h"
#include "Controls.h"
#include "FileMenuCommands.h"
#include "Host.h"
#include "PolledRegisters.h"
#include "Program.h"
#include "WindowParts.h"
#include "platform/RegularFile.h"

namespace kvlink {

namespace {

QString text(const char* utf8) {
  return QString::fromUtf8(utf8);
}

// Leaves the window: unloaded, both File items enabled.
void leaveSaveWindow(Program& program) {
  configFileModule(program).FormSaveInfo.Unload();
  setConfigFileItemsEnabled(program, true);
}

// The values the poll holds are those of the selected station, read by an
// answered pass since it was selected.
bool setPointsOfCurrentStation(const Program& program) {
  return program.poll.setPointsReadFrom == program.linkState.CurrentStation;
}

// The off-line test the save makes before and after its dialog; true when it
// refused the save (and left the window).
bool refusedAsOffLine(Program& program) {
  if (UnitOffLine(program)) {
    MsgBox(program.host, text(kOffLineText), vbCritical, text(kOffLineErrorTitle));
    leaveSaveWindow(program);
    return true;
  }
  if (!setPointsOfCurrentStation(program)) {
    MsgBox(program.host, text(kNotReadYetText), vbCritical, text(kOffLineErrorTitle));
    leaveSaveWindow(program);
    return true;
  }
  return false;
}

}  // namespace

FormSaveInfo::FormSaveInfo(Program& program)
    : Form(program.host, QStringLiteral("FormSaveInfo")), program_(program) {
  buildDesign();
}

void FormSaveInfo::buildDesign() {
  setWindowTitle(QStringLiteral("Save Set Points"));
  Label1 = makeDesignLabel(this, "Label1",
                           QStringLiteral("You are about to save all Set Point information from "
                                          "the unit KV-LINK27 is currently communicating with."));
  Label1->setMinimumWidth(Label1->fontMetrics().averageCharWidth() * 44);
  Image1 = makeImage(this, "Image1", QStyle::SP_DialogSaveButton);
  Command3D1 = makeDesignButton(this, "Command3D1", QStringLiteral("Continue"));
  Command3D1->setDefault(true);
  Command3D2 = makeDesignButton(this, "Command3D2", QStringLiteral("Exit"));

  connect(Command3D1, &QPushButton::clicked, this, [this] { Command3D1_Click(); });
  connect(Command3D2, &QPushButton::clicked, this, [this] { Command3D2_Click(); });

  auto* message = new QHBoxLayout();
  message->addWidget(Image1, 0, Qt::AlignTop);
  message->addSpacing(8);
  message->addWidget(Label1, 1);
  auto* buttons = new QHBoxLayout();
  buttons->addStretch(1);
  buttons->addWidget(Command3D1);
  buttons->addWidget(Command3D2);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(16, 16, 16, 12);
  layout->addLayout(message);
  layout->addSpacing(12);
  layout->addLayout(buttons);
}

void FormSaveInfo::Command3D1_Click() {
  Program& program = program_;  // this window may be gone when the save returns
  FormSaveInfo_Command3D1_Click(program);
}

void FormSaveInfo::Command3D2_Click() {
  leaveSaveWindow(program_);
}

void FormSaveInfo::Form_Unload() {
  setConfigFileItemsEnabled(program_, true);
}

void FormSaveInfo_Command3D1_Click(Program& program) {
  if (refusedAsOffLine(program)) return;

  FileDialogRequest request;
  request.save = true;
  request.filter = text(kConFileFilter);
  request.flags = cdlOFNOverwritePrompt;
  const FileDialogResult chosen = program.host.fileDialog(request);
  if (chosen.cancelled) {
    setConfigFileItemsEnabled(program, true);
    return;
  }
  // The poll may have run under the dialog.
  if (refusedAsOffLine(program)) return;

  // From here to the write no event pump runs: one pass, one unit type.
  const int16_t unitType = program.poll.UnitType;
  const PolledValues& values = program.poll.values;
  const std::optional<std::string> contents =
      conFileText(unitType, [&](int reg) { return polledRegister(values, unitType, reg); });
  if (!contents) {
    MsgBox(program.host, text(kNotReadYetText), vbCritical, text(kOffLineErrorTitle));
    leaveSaveWindow(program);
    return;
  }
  const std::string path = QFile::encodeName(chosen.fileName).toStdString();
  if (!writeConFile(path, *contents)) {
    const QString why = namesNonRegularFile(path)
                            ? QString::fromUtf8(kNotRegularFileText).arg(chosen.fileName)
                            : text(kFileNotWrittenText);
    MsgBox(program.host, why, vbCritical, text(kFileErrorTitle));
    setConfigFileItemsEnabled(program, true);
    return;
  }
  MsgBox(program.host, text(kFileSavedText), vbInformation, text(kInfoTitle));
  leaveSaveWindow(program);
}

}  // namespace kvlink
