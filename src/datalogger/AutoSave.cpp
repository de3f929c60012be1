#include "AutoSave.h"

#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QVBoxLayout>

#include "AutoRetrieveFile.h"
#include "AutoRetrieveModule.h"
#include "AutoRetrieveSettings.h"
#include "Host.h"
#include "Program.h"
#include "SettingsFile.h"
#include "platform/Profile.h"

namespace kvlink {

namespace {

constexpr QCheckBox* AutoSave::*kSlotChecks[] = {&AutoSave::SSCheck1, &AutoSave::SSCheck2,
                                                 &AutoSave::SSCheck3, &AutoSave::SSCheck4,
                                                 &AutoSave::SSCheck5};
constexpr QLabel* AutoSave::*kSlotLabels[] = {
    &AutoSave::Label1, &AutoSave::Label2, &AutoSave::Label3, &AutoSave::Label4, &AutoSave::Label5};
constexpr AutoSaveUpDown* AutoSave::*kSlotUpDowns[] = {&AutoSave::UpDown1, &AutoSave::UpDown2,
                                                       &AutoSave::UpDown3, &AutoSave::UpDown4,
                                                       &AutoSave::UpDown5};
constexpr QLabel* AutoSave::*kStatusLines[] = {&AutoSave::Label10, &AutoSave::Label11,
                                               &AutoSave::Label12, &AutoSave::Label13,
                                               &AutoSave::Label14};

// The labels, the button and the arrows that lock with the frames.
constexpr QLabel* AutoSave::*kLockedLabels[] = {&AutoSave::Label6, &AutoSave::Label7,
                                                &AutoSave::Label8, &AutoSave::Label9};
constexpr AutoSaveUpDown* AutoSave::*kLockedUpDowns[] = {&AutoSave::UpDown1, &AutoSave::UpDown2,
                                                         &AutoSave::UpDown3, &AutoSave::UpDown4,
                                                         &AutoSave::UpDown5, &AutoSave::UpDown6};
constexpr QGroupBox* AutoSave::*kLockedFrames[] = {&AutoSave::SSFrame2, &AutoSave::SSFrame3,
                                                   &AutoSave::SSFrame5};

const QString kNoStationsText =
    QStringLiteral("There are no stations selected for Auto Retrieve. Auto Retrieve is disabled.");
const QString kNoStatus = QStringLiteral("-");

template <class T>
T* named(T* widget, const char* name) {
  widget->setObjectName(QString::fromLatin1(name));
  return widget;
}

QLabel* statusLabel(QWidget* parent, const char* name) {
  QLabel* label = named(new QLabel(kNoStatus, parent), name);
  label->setFrameShape(QFrame::StyledPanel);
  label->setFrameShadow(QFrame::Sunken);
  label->setMargin(2);
  // Wide enough for the longest line the poll writes.
  label->setMinimumWidth(label->fontMetrics().horizontalAdvance(
                             QString::fromStdString(autoRetrieveCannotOpenText(63))) +
                         16);
  label->setTextInteractionFlags(Qt::TextSelectableByMouse);
  return label;
}

// Writes keys of [Settings]; one message when any could not be written.
void saveSettings(Program& program, const std::vector<SettingWrite>& writes) {
  bool saved = true;
  for (const auto& [key, value] : writes)
    saved = WriteIni(kSettingsSection, key, value, kSettingsFile) && saved;
  if (saved) return;
  MsgBox(program.host,
         QStringLiteral("The auto-retrieve settings could not be saved in %1.\nThey apply until "
                        "the program ends.")
             .arg(QString::fromStdString(settingsFilePath())),
         vbExclamation);
}

}  // namespace

AutoSave::AutoSave(Program& program)
    : Form(program.host, QStringLiteral("AutoSave")), program_(program) {
  buildDesign();
  // Created again after a close from the title bar: the records go on
  // going where they went.
  if (!module().AutoDirectory.isEmpty()) Label7->setText(module().AutoDirectory);
}

void AutoSave::buildDesign() {
  setWindowTitle(kAutoSaveCaption);

  SSFrame4 = named(new QGroupBox(QStringLiteral("Enable / Disable"), this), "SSFrame4");
  SSOption1 =
      named(new QRadioButton(QStringLiteral("Enable Auto Retrieve"), SSFrame4), "SSOption1");
  SSOption2 =
      named(new QRadioButton(QStringLiteral("Disable Auto Retrieve"), SSFrame4), "SSOption2");
  SSOption2->setChecked(true);
  auto* options = new QHBoxLayout(SSFrame4);
  options->addWidget(SSOption1);
  options->addSpacing(24);
  options->addWidget(SSOption2);
  options->addStretch(1);

  SSFrame2 = named(new QGroupBox(QStringLiteral("Choose station to log"), this), "SSFrame2");
  auto* slotGrid = new QGridLayout(SSFrame2);
  slotGrid->setHorizontalSpacing(8);
  slotGrid->setVerticalSpacing(4);
  const int numberWidth = fontMetrics().horizontalAdvance(QStringLiteral("000"));
  static const char* const kCheckNames[] = {"SSCheck1", "SSCheck2", "SSCheck3", "SSCheck4",
                                            "SSCheck5"};
  static const char* const kLabelNames[] = {"Label1", "Label2", "Label3", "Label4", "Label5"};
  static const char* const kUpDownNames[] = {"UpDown1", "UpDown2", "UpDown3", "UpDown4", "UpDown5"};
  for (int k = 1; k <= kAutoStationSlots; ++k) {
    QCheckBox* check = named(new QCheckBox(SSFrame2), kCheckNames[k - 1]);
    QLabel* number = named(new QLabel(SSFrame2), kLabelNames[k - 1]);
    number->setMinimumWidth(numberWidth);
    number->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    number->setFrameShape(QFrame::StyledPanel);
    number->setFrameShadow(QFrame::Sunken);
    auto* arrows =
        named(new AutoSaveUpDown(k, kAutoStationMin, kAutoStationMax, 1, number, SSFrame2),
              kUpDownNames[k - 1]);
    this->*kSlotChecks[k - 1] = check;
    this->*kSlotLabels[k - 1] = number;
    this->*kSlotUpDowns[k - 1] = arrows;
    slotGrid->addWidget(check, k - 1, 0);
    slotGrid->addWidget(number, k - 1, 1);
    slotGrid->addWidget(arrows, k - 1, 2);
  }
  slotGrid->setColumnStretch(3, 1);

  SSFrame5 = named(new QGroupBox(QStringLiteral("Save Options"), this), "SSFrame5");
  auto* panel = named(new QFrame(SSFrame5), "SSPanel1");
  Label8 = named(
      new QLabel(QStringLiteral("Save information to disk after Record Count reaches:"), panel),
      "Label8");
  Label8->setWordWrap(true);
  Label9 = named(new QLabel(panel), "Label9");
  Label9->setMinimumWidth(numberWidth);
  Label9->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  Label9->setFrameShape(QFrame::StyledPanel);
  Label9->setFrameShadow(QFrame::Sunken);
  UpDown6 = named(new AutoSaveUpDown(kAutoRecordLimitDefault, kAutoRecordLimitMin,
                                     kAutoRecordLimitMax, kAutoRecordLimitStep, Label9, panel),
                  "UpDown6");
  Label6 = named(new QLabel(QStringLiteral("records"), panel), "Label6");
  auto* limitRow = new QHBoxLayout();
  limitRow->addWidget(Label9);
  limitRow->addWidget(UpDown6);
  limitRow->addWidget(Label6);
  limitRow->addStretch(1);
  auto* panelLayout = new QVBoxLayout(panel);
  panelLayout->setContentsMargins(0, 0, 0, 0);
  panelLayout->addWidget(Label8);
  panelLayout->addLayout(limitRow);
  panelLayout->addStretch(1);
  auto* saveOptions = new QVBoxLayout(SSFrame5);
  saveOptions->addWidget(panel);

  SSFrame3 = named(new QGroupBox(QStringLiteral("File Destination"), this), "SSFrame3");
  Label7 = named(new QLabel(kAutoSaveDesignDirectory, SSFrame3), "Label7");
  QFont directoryFont = Label7->font();
  directoryFont.setFamily(QStringLiteral("Arial"));
  Label7->setFont(directoryFont);
  Label7->setFrameShape(QFrame::StyledPanel);
  Label7->setFrameShadow(QFrame::Sunken);
  Label7->setMargin(2);
  Label7->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
  Label7->setTextInteractionFlags(Qt::TextSelectableByMouse);
  SSCommand2 = named(new QPushButton(QStringLiteral("Select Directory"), SSFrame3), "SSCommand2");
  auto* destination = new QHBoxLayout(SSFrame3);
  destination->addWidget(Label7, 1);
  destination->addWidget(SSCommand2);

  SSFrame6 = named(new QGroupBox(QStringLiteral("Status"), this), "SSFrame6");
  auto* status = new QVBoxLayout(SSFrame6);
  status->setSpacing(3);
  static const char* const kStatusNames[] = {"Label10", "Label11", "Label12", "Label13", "Label14"};
  for (int position = 0; position < kAutoStationSlots; ++position) {
    QLabel* line = statusLabel(SSFrame6, kStatusNames[position]);
    this->*kStatusLines[position] = line;
    status->addWidget(line);
  }

  SSCommand1 = named(new QPushButton(QStringLiteral("Close"), this), "SSCommand1");
  Timer1 = new QTimer(this);
  Timer1->setObjectName(QStringLiteral("Timer1"));
  Timer1->setInterval(5000);

  auto* middle = new QHBoxLayout();
  middle->addWidget(SSFrame2);
  middle->addWidget(SSFrame5, 1);
  auto* bottom = new QHBoxLayout();
  bottom->addStretch(1);
  bottom->addWidget(SSCommand1);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(SSFrame4);
  layout->addLayout(middle);
  layout->addWidget(SSFrame3);
  layout->addWidget(SSFrame6);
  layout->addLayout(bottom);

  connect(SSOption1, &QRadioButton::toggled, this, [this](bool on) {
    if (on) SSOption1_Click();
  });
  connect(SSOption2, &QRadioButton::toggled, this, [this](bool on) {
    if (on) SSOption2_Click();
  });
  connect(SSCommand1, &QPushButton::clicked, this, [this] { SSCommand1_Click(); });
  connect(SSCommand2, &QPushButton::clicked, this, [this] { SSCommand2_Click(); });
  connect(Timer1, &QTimer::timeout, this, [this] { Timer1_Timer(); });
}

QCheckBox* AutoSave::slotCheck(int k) const {
  return this->*kSlotChecks[k - 1];
}
QLabel* AutoSave::slotLabel(int k) const {
  return this->*kSlotLabels[k - 1];
}
AutoSaveUpDown* AutoSave::slotUpDown(int k) const {
  return this->*kSlotUpDowns[k - 1];
}
QLabel* AutoSave::statusLine(int position) const {
  return this->*kStatusLines[position];
}

AutoRetrieveModule& AutoSave::module() const {
  return program_.module<AutoRetrieveModule>();
}

void AutoSave::lockSettings() {
  for (auto frame : kLockedFrames) (this->*frame)->setEnabled(false);
  SSOption1->setChecked(true);
  for (auto label : kLockedLabels) (this->*label)->setEnabled(false);
  SSCommand2->setEnabled(false);
  for (auto arrows : kLockedUpDowns) (this->*arrows)->setEnabled(false);
}

void AutoSave::unlockSettings() {
  for (auto frame : kLockedFrames) (this->*frame)->setEnabled(true);
  SSOption2->setChecked(true);
  for (auto label : kLockedLabels) (this->*label)->setEnabled(true);
  SSCommand2->setEnabled(true);
  for (auto arrows : kLockedUpDowns) (this->*arrows)->setEnabled(true);
}

void AutoSave::clearStatusLines() {
  for (auto line : kStatusLines) (this->*line)->setText(kNoStatus);
}

void AutoSave::SSOption1_Click() {
  AutoRetrieveModule& m = module();
  if (m.SuppressOptionEvents == 1) return;
  lockSettings();
  m.AutoRecordLimit = static_cast<int16_t>(Label9->text().toInt());
  m.AutoStationCount = 0;
  m.AutoStationIndex = 0;
  for (int k = 1; k <= kAutoStationSlots; ++k) {
    if (!slotCheck(k)->isChecked()) continue;
    m.AutoStations[m.AutoStationCount] = static_cast<int16_t>(slotLabel(k)->text().toInt());
    ++m.AutoStationCount;
  }

  if (m.AutoStationCount == 0) {
    AutoRetrieveModule* owner = &m;
    Program& program = program_;
    MsgBox(program.host, kNoStationsText, vbOKOnly, kProgramTitle);
    // The box runs the event pump: the window may have been closed meanwhile.
    if (owner->AutoSave.ifLoaded() != this) {
      owner->AutoStationCount = 0;
      if (!program.ended) saveSettings(program, disableSettingWrites());
      return;
    }
    for (auto frame : kLockedFrames) (this->*frame)->setEnabled(true);
    SSOption2->setChecked(true);  // runs the Disable steps
    for (auto label : kLockedLabels) (this->*label)->setEnabled(true);
    SSCommand2->setEnabled(true);
    for (auto arrows : kLockedUpDowns) (this->*arrows)->setEnabled(true);
    m.AutoStationCount = 0;
    return;
  }

  std::vector<int16_t> stations(m.AutoStations.begin(),
                                m.AutoStations.begin() + m.AutoStationCount);
  saveSettings(program_,
               enableSettingWrites(m.AutoRecordLimit, stations, Label7->text().toStdString()));
  Timer1->start();
}

void AutoSave::SSOption2_Click() {
  AutoRetrieveModule& m = module();
  if (m.SuppressOptionEvents == 1) return;
  unlockSettings();
  m.AutoStationCount = 0;
  clearStatusLines();
  saveSettings(program_, disableSettingWrites());
}

void AutoSave::SSCommand1_Click() {
  Hide();
}

void AutoSave::SSCommand2_Click() {
  program_.host.showModal(module().AutoSaveDir());
}

void AutoSave::Timer1_Timer() {
  Timer1->stop();
  module().AutoRetrieveDue = true;
}

void AutoSave::Form_Unload() {
  Hide();
  module().AutoDirectory = Label7->text();
}

}  // namespace kvlink
