#include "Form16.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QVBoxLayout>
#include <string>

#include "LinkSwitch.h"
#include "Program.h"
#include "SerialLink.h"
#include "SettingsFile.h"
#include "SettingsWriter.h"
#include "platform/Profile.h"

namespace kvlink {

namespace {

enum class LinkSetting { Protocol, Port, Baud, CheckMode };

struct OptionDesign {
  QRadioButton* Form16::*member;
  QGroupBox* Form16::*frame;
  const char* name;
  const char* caption;
  LinkSetting setting;
  int16_t value;
};

// Every option button, the setting it stands for and the value it selects.
const OptionDesign kOptions[] = {
    {&Form16::SSOption1, &Form16::Frame3D1, "SSOption1", "Allen Bradley DF1 protocol",
     LinkSetting::Protocol, 0},
    {&Form16::SSOption2, &Form16::Frame3D1, "SSOption2", "Modbus RTU protocol",
     LinkSetting::Protocol, 1},
    {&Form16::Option3D5, &Form16::Frame3D2, "Option3D5", "COM 1", LinkSetting::Port, 1},
    {&Form16::Option3D6, &Form16::Frame3D2, "Option3D6", "COM 2", LinkSetting::Port, 2},
    {&Form16::Option3D9, &Form16::Frame3D2, "Option3D9", "COM 3", LinkSetting::Port, 3},
    {&Form16::Option3D10, &Form16::Frame3D2, "Option3D10", "COM 4", LinkSetting::Port, 4},
    {&Form16::Option3D1, &Form16::Frame3D3, "Option3D1", "9600", LinkSetting::Baud, 96},
    {&Form16::Option3D2, &Form16::Frame3D3, "Option3D2", "4800", LinkSetting::Baud, 48},
    {&Form16::Option3D3, &Form16::Frame3D3, "Option3D3", "2400", LinkSetting::Baud, 24},
    {&Form16::Option3D4, &Form16::Frame3D3, "Option3D4", "1200", LinkSetting::Baud, 12},
    {&Form16::Option3D8, &Form16::Frame3D4, "Option3D8", "CRC", LinkSetting::CheckMode, 0},
    {&Form16::Option3D7, &Form16::Frame3D4, "Option3D7", "BCC", LinkSetting::CheckMode, 1},
};

int16_t settingValue(const LinkState& state, LinkSetting setting) {
  switch (setting) {
    case LinkSetting::Protocol:
      return state.UseModbus != 0 ? 1 : 0;
    case LinkSetting::Port:
      return state.CommPort;
    case LinkSetting::Baud:
      return state.BaudCode;
    case LinkSetting::CheckMode:
      return state.CheckMode;
  }
  return 0;
}

void setSettingValue(LinkState& state, LinkSetting setting, int16_t value) {
  switch (setting) {
    case LinkSetting::Protocol:
      state.UseModbus = static_cast<uint8_t>(value);
      break;
    case LinkSetting::Port:
      state.CommPort = value;
      break;
    case LinkSetting::Baud:
      state.BaudCode = value;
      break;
    case LinkSetting::CheckMode:
      state.CheckMode = value;
      break;
  }
}

const std::string& settingKey(LinkSetting setting) {
  switch (setting) {
    case LinkSetting::Protocol:
      return kProtocolKey;
    case LinkSetting::Port:
      return kPortKey;
    case LinkSetting::Baud:
      return kBaudKey;
    case LinkSetting::CheckMode:
      break;
  }
  return kCheckModeKey;
}

}  // namespace

Form16::Form16(Program& program) : Form(program.host, QStringLiteral("Form16")), program_(program) {
  buildDesign();
}

void Form16::buildDesign() {
  setWindowTitle(QStringLiteral("Serial Communications"));

  struct FrameDesign {
    QGroupBox* Form16::*member;
    const char* name;
    const char* caption;
  };
  const FrameDesign frames[] = {
      {&Form16::Frame3D1, "Frame3D1", "Protocol"},
      {&Form16::Frame3D2, "Frame3D2", "COM Port"},
      {&Form16::Frame3D3, "Frame3D3", "Baud Rate"},
      {&Form16::Frame3D4, "Frame3D4", "Error Check (DF1)"},
  };
  for (const FrameDesign& design : frames) {
    auto* frame = new QGroupBox(QString::fromUtf8(design.caption), this);
    frame->setObjectName(QString::fromUtf8(design.name));
    new QVBoxLayout(frame);
    this->*design.member = frame;
  }

  for (int i = 0; i < int(std::size(kOptions)); ++i) {
    const OptionDesign& design = kOptions[i];
    QGroupBox* frame = this->*design.frame;
    auto* option = new QRadioButton(QString::fromUtf8(design.caption), frame);
    option->setObjectName(QString::fromUtf8(design.name));
    frame->layout()->addWidget(option);
    this->*design.member = option;
    connect(option, &QRadioButton::clicked, this, [this, i] { optionClicked(i); });
  }
  for (QGroupBox* frame : {Frame3D1, Frame3D2, Frame3D3, Frame3D4})
    static_cast<QVBoxLayout*>(frame->layout())->addStretch(1);

  SSCheck1 = new QCheckBox(QStringLiteral("Automatically enable serial communications"), this);
  SSCheck1->setObjectName(QStringLiteral("SSCheck1"));
  connect(SSCheck1, &QCheckBox::clicked, this, [this] { SSCheck1_Click(); });
  Label4 = new QLabel(QStringLiteral("Checked: the link opens at every start."), this);
  Label4->setObjectName(QStringLiteral("Label4"));
  Label6 =
      new QLabel(QStringLiteral("Unchecked: the link stays closed until Enable is pressed."), this);
  Label6->setObjectName(QStringLiteral("Label6"));
  for (QLabel* label : {Label4, Label6}) label->setIndent(24);

  Command3D1 = new QPushButton(QStringLiteral("  Enable"), this);
  Command3D1->setObjectName(QStringLiteral("Command3D1"));
  Command3D2 = new QPushButton(QStringLiteral("Disable"), this);
  Command3D2->setObjectName(QStringLiteral("Command3D2"));
  Command3D3 = new QPushButton(QStringLiteral("Close"), this);
  Command3D3->setObjectName(QStringLiteral("Command3D3"));
  connect(Command3D1, &QPushButton::clicked, this, [this] { Command3D1_Click(); });
  connect(Command3D2, &QPushButton::clicked, this, [this] { Command3D2_Click(); });
  connect(Command3D3, &QPushButton::clicked, this, [this] { Command3D3_Click(); });

  auto* layout = new QVBoxLayout(this);
  auto* grid = new QGridLayout();
  grid->addWidget(Frame3D1, 0, 0, 1, 3);
  grid->addWidget(Frame3D2, 1, 0);
  grid->addWidget(Frame3D3, 1, 1);
  grid->addWidget(Frame3D4, 1, 2);
  layout->addLayout(grid);
  layout->addSpacing(6);
  layout->addWidget(SSCheck1);
  layout->addWidget(Label4);
  layout->addWidget(Label6);
  layout->addSpacing(6);
  auto* buttons = new QHBoxLayout();
  buttons->addStretch(1);
  for (QPushButton* button : {Command3D1, Command3D2, Command3D3}) buttons->addWidget(button);
  layout->addLayout(buttons);
}

void Form16::Form_Load() {
  showSettings();
}

void Form16::showSettings() {
  showLinkSettings();
  SSCheck1->setChecked(autoStartOf(ReadIni(kSettingsSection, kAutoStartKey, kSettingsFile)) ==
                       AutoStart::On);
  showLinkState();
}

void Form16::showLinkSettings() {
  for (const OptionDesign& design : kOptions)
    if (settingValue(program_.linkState, design.setting) == design.value)
      (this->*design.member)->setChecked(true);
}

void Form16::showLinkState() {
  const bool open = LinkIsOpen(program_);
  Command3D1->setEnabled(!open);
  Command3D2->setEnabled(open || program_.linkState.CommEnabled != 0);
  setLinkSettingsEnabled(!open);
}

void Form16::setLinkSettingsEnabled(bool on) {
  for (const OptionDesign& design : kOptions) (this->*design.member)->setEnabled(on);
  for (QWidget* control : std::initializer_list<QWidget*>{SSCheck1, Label4, Label6})
    control->setEnabled(on);
}

void Form16::optionClicked(int index) {
  const OptionDesign& design = kOptions[index];
  LinkState& state = program_.linkState;
  // The buttons are disabled while the link is open; a click that still
  // arrives must not change the settings of the open link.
  if (LinkIsOpen(program_)) {
    showLinkSettings();
    return;
  }
  if (settingValue(state, design.setting) == design.value) return;
  setSettingValue(state, design.setting, design.value);
  program_.linkChanged();
  saveSetting(program_.host, kSettingsSection, settingKey(design.setting),
              std::to_string(design.value));
}

void Form16::SSCheck1_Click() {
  saveSetting(program_.host, kSettingsSection, kAutoStartKey, SSCheck1->isChecked() ? "1" : "0");
}

void Form16::Command3D1_Click() {
  saveLinkSettings();
  program_.poll.ScanActive = 0;
  program_.linkState.CommEnabled = 1;
  SwitchLinkOn(program_);
}

void Form16::saveLinkSettings() {
  // All four, so that the next start finds the link set up; every key that
  // cannot be saved is named in one message.
  SettingValues values;
  for (LinkSetting setting :
       {LinkSetting::Port, LinkSetting::Baud, LinkSetting::Protocol, LinkSetting::CheckMode})
    values.emplace_back(settingKey(setting),
                        std::to_string(settingValue(program_.linkState, setting)));
  if (saveSettings(program_.host, kSettingsSection, values))
    program_.linkState.serialKeysMissing = false;
}

void Form16::Command3D2_Click() {
  SwitchLinkOff(program_);
}

void Form16::Command3D3_Click() {
  Hide();
}

}  // namespace kvlink
