#include "ConfigWarning.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QVBoxLayout>

#include "ConfigFileModule.h"
#include "Controls.h"
#include "FileMenuCommands.h"
#include "Program.h"
#include "WindowParts.h"

namespace kvlink {

ConfigWarning::ConfigWarning(Program& program)
    : Form(program.host, QStringLiteral("ConfigWarning")), program_(program) {
  buildDesign();
}

void ConfigWarning::buildDesign() {
  setWindowTitle(QStringLiteral("Quick Configure Warning"));

  Panel3D1 = new QFrame(this);
  Panel3D1->setObjectName(QStringLiteral("Panel3D1"));
  Panel3D1->setFrameShape(QFrame::StyledPanel);
  Panel3D1->setFrameShadow(QFrame::Raised);
  Label1 = makeDesignLabel(Panel3D1, "Label1", QStringLiteral("Change Set Points"));
  QFont heading = Label1->font();
  heading.setBold(true);
  heading.setPointSizeF(heading.pointSizeF() * 1.3);
  Label1->setFont(heading);
  Label2 = makeDesignLabel(
      Panel3D1, "Label2",
      QStringLiteral("You are about to change set point information. Do you wish to continue?"));
  Label2->setMinimumWidth(Label2->fontMetrics().averageCharWidth() * 40);
  Image1 = makeImage(Panel3D1, "Image1", QStyle::SP_MessageBoxWarning);

  Command3D1 = makeDesignButton(this, "Command3D1", QStringLiteral("Yes"));
  Command3D2 = makeDesignButton(this, "Command3D2", QStringLiteral("No"));
  Command3D2->setDefault(true);
  connect(Command3D1, &QPushButton::clicked, this, [this] { Command3D1_Click(); });
  connect(Command3D2, &QPushButton::clicked, this, [this] { Command3D2_Click(); });

  auto* texts = new QVBoxLayout();
  texts->addWidget(Label1);
  texts->addSpacing(6);
  texts->addWidget(Label2);
  texts->addStretch(1);
  auto* panel = new QHBoxLayout(Panel3D1);
  panel->setContentsMargins(14, 14, 14, 14);
  panel->addWidget(Image1, 0, Qt::AlignTop);
  panel->addSpacing(10);
  panel->addLayout(texts, 1);

  auto* buttons = new QHBoxLayout();
  buttons->addStretch(1);
  buttons->addWidget(Command3D1);
  buttons->addWidget(Command3D2);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(Panel3D1);
  layout->addSpacing(6);
  layout->addLayout(buttons);
}

void ConfigWarning::Command3D1_Click() {
  Program& program = program_;
  ConfigFileModule& module = configFileModule(program);
  kvlink::FormConfig& wizard = module.FormConfig();
  wizard.Show();
  wizard.showStep(1);
  continuing_ = true;
  module.ConfigWarning.Unload();
}

void ConfigWarning::Command3D2_Click() {
  Program& program = program_;
  configFileModule(program).ConfigWarning.Unload();
  setConfigFileItemsEnabled(program, true);
}

void ConfigWarning::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
    Command3D2->click();
    return;
  }
  Form::keyPressEvent(event);
}

void ConfigWarning::Form_Unload() {
  if (!continuing_) setConfigFileItemsEnabled(program_, true);
}

}  // namespace kvlink
