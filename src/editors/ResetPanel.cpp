#include "ResetPanel.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QVBoxLayout>
#include <algorithm>

#include "Controls.h"
#include "FieldRow.h"
#include "Host.h"
#include "Program.h"
#include "SettingsFile.h"
#include "enc.h"

namespace kvlink {

namespace {

bool hasButton(const ResetPanelDesign& design, const char* name) {
  return std::any_of(design.buttons.begin(), design.buttons.end(),
                     [name](const char* b) { return std::string_view(b) == name; });
}

QGroupBox* valueFrame(QWidget* parent, const char* frameName, const QString& caption,
                      QLabel*& label, const char* labelName) {
  QGroupBox* frame = makeFrame(parent, frameName, caption);
  label = makeLabel(frame, labelName);
  label->setAlignment(Qt::AlignCenter);
  label->setFrameShape(QFrame::Panel);
  label->setFrameShadow(QFrame::Sunken);
  label->setMinimumWidth(label->fontMetrics().horizontalAdvance(QStringLiteral("000000")) + 12);
  QFont font = label->font();
  font.setBold(true);
  label->setFont(font);
  (new QVBoxLayout(frame))->addWidget(label);
  return frame;
}

}  // namespace

ResetPanel::ResetPanel(Program& program, const ResetPanelDesign& design)
    : Form(program.host, QString::fromUtf8(design.designName)), program_(program), design_(design) {
  buildDesign();
}

void ResetPanel::buildDesign() {
  setWindowTitle(QString::fromUtf8(design_.caption));

  Panel3D1 = makePanel(this, "Panel3D1");
  Label4 = makeLabel(Panel3D1, "Label4");
  Label4->setAlignment(Qt::AlignCenter);
  QFont stationFont = Label4->font();
  stationFont.setBold(true);
  Label4->setFont(stationFont);
  (new QVBoxLayout(Panel3D1))->addWidget(Label4);

  resetFrame = makeFrame(this, "Frame3D1", QStringLiteral("Reset Panel"));
  auto* resetLayout = new QVBoxLayout(resetFrame);
  QVBoxLayout* remoteLayout = nullptr;
  for (const CommandButton& command : commandButtons()) {
    if (!hasButton(design_, command.name)) continue;
    QGroupBox* frame = resetFrame;
    QVBoxLayout* layout = resetLayout;
    if (command.frame == PanelFrame::Remote) {
      if (!remoteFrame) {
        remoteFrame = makeFrame(this, "Frame3D2", QStringLiteral("Remote Panel"));
        remoteLayout = new QVBoxLayout(remoteFrame);
      }
      frame = remoteFrame;
      layout = remoteLayout;
    }
    QPushButton* button = makeButton(frame, command.name, QString::fromUtf8(command.caption));
    layout->addWidget(button);
    const CommandButton* commandPtr = &command;
    if (command.flag)
      connect(button, &QPushButton::clicked, this, [this, commandPtr] { Flag_Click(*commandPtr); });
    else
      connect(button, &QPushButton::clicked, this, &ResetPanel::Command3D3_Click);
  }
  resetLayout->addStretch(1);
  if (remoteLayout) remoteLayout->addStretch(1);

  auto* values = new QHBoxLayout();
  values->addWidget(valueFrame(this, "Frame3D3", QStringLiteral("Reset Time"), Label2, "Label2"));
  if (design_.showsEtrPeak)
    values->addWidget(valueFrame(this, "Frame3D4", QStringLiteral("ETR Peak"), Label3, "Label3"));

  Command3D6 = makeButton(this, "Command3D6", QStringLiteral("Close"));
  connect(Command3D6, &QPushButton::clicked, this, &ResetPanel::Command3D6_Click);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(Panel3D1);
  auto* panels = new QHBoxLayout();
  panels->addWidget(resetFrame, 1);
  if (remoteFrame) panels->addWidget(remoteFrame, 1);
  layout->addLayout(panels);
  layout->addLayout(values);
  auto* bottom = new QHBoxLayout();
  bottom->addStretch(1);
  bottom->addWidget(Command3D6);
  layout->addLayout(bottom);
  setMinimumWidth(260);
  // Close holds the focus when the panel opens, so that a stray Enter
  // queues no command.
  Command3D6->setFocus();
}

QPushButton* ResetPanel::commandButton(const char* name) const {
  return findChild<QPushButton*>(QString::fromUtf8(name));
}

void ResetPanel::Flag_Click(const CommandButton& button) {
  if (!filledByCurrentStation(program_, filled, windowTitle())) return;
  if (button.flag) program_.commands.*button.flag = true;
}

void ResetPanel::Command3D3_Click() {
  // The panel may be unloaded under the prompt or a message box: after them
  // only the program is used.
  Program& program = program_;
  const QString title = windowTitle();
  if (!filledByCurrentStation(program, filled, title)) return;
  const uint32_t changes = program.linkState.stationChanges;
  const int16_t granted = checkPassword ? checkPassword(2) : CheckPassword(program, 2);
  if (granted != 1) {
    MsgBox(program.host, QString::fromUtf8(kEtrRefused), vbOKOnly + vbCritical);
    return;
  }
  if (MsgBox(program.host, QString::fromUtf8(kEtrQuestion), vbYesNo + vbExclamation,
             QString::fromUtf8(kEtrTitle)) != vbYes)
    return;
  // The prompt and the question may have seen another station chosen.
  if (program.linkState.stationChanges != changes)
    refuseUnread(program, title);
  else
    program.commands.PendingEmergencyThermalReset = true;
}

void ResetPanel::Command3D6_Click() {
  Hide();
  program_.windowStates.ResetWindowState = kWindowClosed;
}

void ResetPanel::Form_Unload() {
  Hide();
  program_.windowStates.ResetWindowState = kWindowClosed;
}

void ResetPanel::refresh(const QString& stationName, const PolledValues& values) {
  setElidedText(Label4, stationName, kStationNameShownChars);
  Label2->setText(QString::fromStdString(valueText(values.PolledResetTime)));
  if (Label3) Label3->setText(QString::fromStdString(valueText(values.PolledETRPeak)));
}

void ResetPanel::clearValues() {
  for (QLabel* label : {Label4, Label2, Label3})
    if (label) label->clear();
  filled.clear();
}

}  // namespace kvlink
