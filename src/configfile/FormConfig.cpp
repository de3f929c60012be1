#include "FormConfig.h"

#include <QCloseEvent>
#include <QFile>
#include <QHBoxLayout>
#include <QVBoxLayout>

#include "ConFileReader.h"
#include "ConfigFileModule.h"
#include "ConfigFileTexts.h"
#include "Controls.h"
#include "FileMenuCommands.h"
#include "Host.h"
#include "Program.h"
#include "QuickConfigDownload.h"
#include "VbColor.h"
#include "WindowParts.h"

namespace kvlink {

FormConfig::FormConfig(Program& program)
    : Form(program.host, QStringLiteral("FormConfig")), program_(program) {
  buildDesign();
}

void FormConfig::buildDesign() {
  setWindowTitle(QStringLiteral("Quick Configuration"));

  Label1 = makeDesignLabel(
      this, "Label1",
      QStringLiteral("Choose a *.CON file previously saved from a session.  All previously saved "
                     "set points will be used to program the unit with exactly the same "
                     "information except for the station number."));
  setTextColor(Label1, kDarkBlue);
  Label2 = makeDesignLabel(this, "Label2",
                           QStringLiteral("CON file loaded.  Information will be sent to the unit "
                                          "KV-LINK27 is currently communicating with."));
  setTextColor(Label2, kDarkRed);
  Label3 = makeDesignLabel(this, "Label3",
                           QStringLiteral("KV-LINK27 is not currently communicating with a unit. "
                                          "   Quick configuration is not possible."));
  Label4 = makeDesignLabel(
      this, "Label4",
      QStringLiteral("You are trying to Quick Configure a unit with the incorrect CON file.  Go "
                     "back to the previous window and choose a correct CON file."));

  Frame3D1 = new QGroupBox(QStringLiteral("Summary of Download"), this);
  Frame3D1->setObjectName(QStringLiteral("Frame3D1"));
  Label6 = makeDesignLabel(Frame3D1, "Label6", QString());
  Label7 = makeDesignLabel(Frame3D1, "Label7", QString());
  for (QLabel* line : {Label6, Label7}) {
    line->setWordWrap(false);
    line->setMinimumHeight(line->fontMetrics().height());
  }

  Command3D3 = makeDesignButton(this, "Command3D3", QStringLiteral("Send Set Points to Unit"));
  Command3D2 = makeDesignButton(this, "Command3D2", QStringLiteral("<< Back"));
  Command3D1 = makeDesignButton(this, "Command3D1", QStringLiteral("Next >>"));
  Command3D4 = makeDesignButton(this, "Command3D4", QStringLiteral("Exit"));
  connect(Command3D1, &QPushButton::clicked, this, [this] { Command3D1_Click(); });
  connect(Command3D2, &QPushButton::clicked, this, [this] { Command3D2_Click(); });
  connect(Command3D3, &QPushButton::clicked, this, [this] { Command3D3_Click(); });
  connect(Command3D4, &QPushButton::clicked, this, [this] { Command3D4_Click(); });

  // The instruction texts share one area, tall enough for two of them, so
  // the window keeps its size from step to step.
  auto* instructions = new QWidget(this);
  auto* texts = new QVBoxLayout(instructions);
  texts->setContentsMargins(0, 0, 0, 0);
  for (QLabel* label : {Label1, Label2, Label3, Label4}) {
    label->setParent(instructions);
    texts->addWidget(label);
  }
  texts->setSpacing(10);
  texts->addStretch(1);
  // Room for the longest pair: a step text and a refusal, three lines each.
  instructions->setMinimumHeight(Label1->fontMetrics().lineSpacing() * 6 + texts->spacing() + 4);

  auto* summary = new QVBoxLayout(Frame3D1);
  summary->addWidget(Label6);
  summary->addWidget(Label7);

  auto* send = new QHBoxLayout();
  send->addStretch(1);
  send->addWidget(Command3D3);
  send->addStretch(1);
  auto* steps = new QHBoxLayout();
  steps->addWidget(Command3D2);
  steps->addWidget(Command3D1);
  steps->addStretch(1);
  steps->addWidget(Command3D4);

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(16, 14, 16, 12);
  layout->addWidget(instructions);
  layout->addWidget(Frame3D1);
  layout->addSpacing(4);
  layout->addLayout(send);
  layout->addSpacing(10);
  layout->addLayout(steps);
  setMinimumWidth(Label1->fontMetrics().averageCharWidth() * 72);
  showStep(1);
}

void FormConfig::showStep(int step) {
  const bool chooseFile = step == 1;
  Label1->setVisible(chooseFile);
  Label2->setVisible(!chooseFile);
  Label3->setVisible(false);
  Label4->setVisible(false);
  Command3D1->setEnabled(chooseFile);
  Command3D2->setEnabled(!chooseFile);
  Command3D3->setEnabled(!chooseFile);
}

void FormConfig::Command3D1_Click() {
  Program& program = program_;  // this window may be gone when the handler returns
  FormConfig_Command3D1_Click(program);
}

void FormConfig::Command3D2_Click() {
  showStep(1);
}

void FormConfig::Command3D3_Click() {
  Program& program = program_;
  FormConfig_Command3D3_Click(program);
}

void FormConfig::Command3D4_Click() {
  Program& program = program_;
  configFileModule(program).FormConfig.Unload();
  setConfigFileItemsEnabled(program, true);
}

void FormConfig::Form_Unload() {
  setConfigFileItemsEnabled(program_, true);
}

void FormConfig::closeEvent(QCloseEvent* event) {
  if (configFileModule(program_).downloadRunning) {
    event->ignore();
    return;
  }
  Form::closeEvent(event);
}

void FormConfig_Command3D1_Click(Program& program) {
  ConfigFileModule& module = configFileModule(program);
  if (UnitOffLine(program)) {
    MsgBox(program.host, QString::fromUtf8(kOffLineText), vbCritical,
           QString::fromUtf8(kOffLineErrorTitle));
    if (FormConfig* wizard = module.FormConfig.ifLoaded()) wizard->Label3->show();
    return;
  }
  FormConfig* wizard = module.FormConfig.ifLoaded();
  if (!wizard) return;
  wizard->Label3->hide();

  FileDialogRequest request;
  request.filter = QString::fromUtf8(kConFileFilter);
  request.flags = cdlOFNFileMustExist;
  request.fileName = wizard->CMDialog1.FileName;
  const FileDialogResult chosen = program.host.fileDialog(request);
  wizard = module.FormConfig.ifLoaded();
  if (!wizard) return;
  if (chosen.cancelled) {
    wizard->showStep(1);
    return;
  }
  wizard->CMDialog1.FileName = chosen.fileName;

  const std::string problem =
      conVersionProblemLine(readConFile(QFile::encodeName(chosen.fileName).toStdString()));
  if (!problem.empty()) {
    wizard->Label6->clear();
    wizard->Label7->setText(QString::fromStdString(problem));
    MsgBox(program.host, QString::fromUtf8(kBadVersionText), vbCritical,
           QString::fromUtf8(kConFileErrorTitle));
    return;
  }
  wizard->showStep(2);
}

}  // namespace kvlink
