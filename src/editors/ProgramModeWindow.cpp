#include "ProgramModeWindow.h"

#include <QHBoxLayout>
#include <QVBoxLayout>

#include "Program.h"
#include "ProgramModeActions.h"

namespace kvlink {

ProgramModeWindow::ProgramModeWindow(Program& program, const QString& designName,
                                     ProgramModeFamily family)
    : Form(program.host, designName), program_(program), family_(family) {
  auto* layout = new QVBoxLayout(this);
  auto* row = new QHBoxLayout();
  row->setSpacing(12);
  for (QBoxLayout*& column : columns_) {
    column = new QVBoxLayout();
    column->addStretch(1);
    row->addLayout(column, 1);
  }
  layout->addLayout(row);
}

QGroupBox* ProgramModeWindow::addFrame(const char* name, const QString& title, int column) {
  auto* frame = new QGroupBox(title, this);
  frame->setObjectName(QString::fromUtf8(name));
  new QVBoxLayout(frame);
  QBoxLayout* stack = columns_[column];
  stack->insertWidget(stack->count() - 1, frame);  // above the closing stretch
  return frame;
}

QCheckBox* ProgramModeWindow::addCheck(QGroupBox* frame, const char* name, const QString& caption,
                                       ProgramModeField field) {
  auto* box = new QCheckBox(caption, frame);
  box->setObjectName(QString::fromUtf8(name));
  frame->layout()->addWidget(box);
  bindings_.push_back({field, box, {}});
  return box;
}

std::vector<QRadioButton*> ProgramModeWindow::addOptions(
    QGroupBox* frame, ProgramModeField field,
    const std::vector<std::pair<const char*, QString>>& options) {
  std::vector<QRadioButton*> buttons;
  for (const auto& [name, caption] : options) {
    auto* button = new QRadioButton(caption, frame);
    button->setObjectName(QString::fromUtf8(name));
    frame->layout()->addWidget(button);
    buttons.push_back(button);
  }
  buttons.front()->setChecked(true);
  bindings_.push_back({field, nullptr, buttons});
  return buttons;
}

void ProgramModeWindow::addRelayModeFrames() {
  Frame3D2 = addFrame("Frame3D2", QStringLiteral("Trip-Relay Operating Mode"), 1);
  const auto trip = addOptions(Frame3D2, ProgramModeField::TripRelayNonFailSafe,
                               {{"Option3D1", "Fail Safe"}, {"Option3D2", "Non Fail Safe"}});
  Option3D1 = trip[0];
  Option3D2 = trip[1];
  Frame3D3 = addFrame("Frame3D3", QStringLiteral("Alarm-Relay Operating Mode"), 1);
  // Option3D4 comes before Option3D3 in the frame: their numbers do not
  // follow the bit order.
  const auto alarm = addOptions(Frame3D3, ProgramModeField::AlarmRelayNonFailSafe,
                                {{"Option3D4", "Fail Safe"}, {"Option3D3", "Non Fail Safe"}});
  Option3D4 = alarm[0];
  Option3D3 = alarm[1];
}

void ProgramModeWindow::addButtons(const QString& secondCaption) {
  Command1 = new QPushButton(QStringLiteral("Apply Settings"), this);
  Command1->setObjectName(QStringLiteral("Command1"));
  Command2 = new QPushButton(secondCaption, this);
  Command2->setObjectName(QStringLiteral("Command2"));
  auto* row = new QHBoxLayout();
  row->addStretch(1);
  row->addWidget(Command1);
  row->addWidget(Command2);
  static_cast<QVBoxLayout*>(layout())->addLayout(row);
  connect(Command1, &QPushButton::clicked, this, [this] { Command1_Click(); });
  connect(Command2, &QPushButton::clicked, this, [this] { Command2_Click(); });
}

ProgramModeSettings ProgramModeWindow::settingsShown() const {
  ProgramModeSettings settings;
  for (const Binding& binding : bindings_) {
    if (binding.check) {
      settings[binding.field] = binding.check->isChecked() ? 1 : 0;
      continue;
    }
    for (size_t n = 0; n < binding.options.size(); ++n)
      if (binding.options[n]->isChecked()) settings[binding.field] = int(n);
  }
  return settings;
}

void ProgramModeWindow::showSettings(const ProgramModeSettings& settings) {
  for (const Binding& binding : bindings_) {
    const int value = settings[binding.field];
    if (binding.check) {
      binding.check->setChecked(value != 0);
    } else if (value >= 0 && size_t(value) < binding.options.size()) {
      binding.options[size_t(value)]->setChecked(true);
    }
  }
}

void ProgramModeWindow::DecodeProgramModeWords(int16_t unitType) {
  applyCaptions(unitType);
  const PolledValues& values = program_.poll.values;
  showSettings(decodeProgramModeWords(family_, values.ProgramModeWord1.value_or(0),
                                      values.ProgramModeWord2.value_or(0)));
  const int16_t station = program_.linkState.CurrentStation;
  if (program_.poll.setPointsReadFrom == station && programModeFamilyOf(unitType) == family_)
    filled.mark(station);
  else
    clearSettings();  // the words are another station's, or another family's
}

void ProgramModeWindow::clearSettings() {
  for (const Binding& binding : bindings_) {
    if (binding.check) binding.check->setChecked(false);
    for (QRadioButton* option : binding.options) {
      option->setAutoExclusive(false);
      option->setChecked(false);
      option->setAutoExclusive(true);
    }
  }
  filled.clear();
}

ProgramModeWords ProgramModeWindow::EncodeProgramModeWords(int16_t unitType) const {
  return encodeProgramModeWords(family_, unitType, settingsShown());
}

void ProgramModeWindow::Command1_Click() {
  applyProgramMode(program_, family_);  // may unload this window
}

void ProgramModeWindow::Command2_Click() {
  closeProgramMode(program_, family_);
}

void ProgramModeWindow::Form_Unload() {
  closeProgramMode(program_, family_);
}

}  // namespace kvlink
