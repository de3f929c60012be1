#include "Form9.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QVBoxLayout>
#include <QValidator>

#include "Form1.h"
#include "Host.h"
#include "Program.h"
#include "SettingsFile.h"
#include "SettingsWriter.h"
#include "StationSwitch.h"
#include "platform/ProfileText.h"

namespace kvlink {

namespace {

const QString kTitle = QStringLiteral("Select Station");

// The name box holds no more than the settings file keeps of a name.
class StoredNameLength : public QValidator {
 public:
  using QValidator::QValidator;
  State validate(QString& input, int&) const override {
    return std::size_t(input.toUtf8().size()) <= kProfileValueMaxLength ? Acceptable : Invalid;
  }
};

}  // namespace

Form9::Form9(Program& program) : Form(program.host, QStringLiteral("Form9")), program_(program) {
  buildDesign();
}

void Form9::buildDesign() {
  setWindowTitle(kTitle);

  Label1 = new QLabel(QStringLiteral("Station number (1 to 63):"), this);
  Label1->setObjectName(QStringLiteral("Label1"));
  Text1 = new QLineEdit(this);
  Text1->setObjectName(QStringLiteral("Text1"));
  Text1->setMaxLength(3);
  Text1->setMaximumWidth(Text1->fontMetrics().horizontalAdvance(QStringLiteral("0000000")));
  Label1->setBuddy(Text1);
  Label2 = new QLabel(QStringLiteral("Station name:"), this);
  Label2->setObjectName(QStringLiteral("Label2"));
  Text2 = new QLineEdit(this);
  Text2->setObjectName(QStringLiteral("Text2"));
  Text2->setMaxLength(int(kProfileValueMaxLength));
  Text2->setValidator(new StoredNameLength(Text2));
  Text2->setToolTip(QStringLiteral("At most %1 bytes: %1 plain letters, fewer accented ones")
                        .arg(kProfileValueMaxLength));
  Text2->setMinimumWidth(Text2->fontMetrics().horizontalAdvance(QLatin1Char('M')) * 20);
  Label2->setBuddy(Text2);

  Command3D1 = new QPushButton(QStringLiteral("OK"), this);
  Command3D1->setObjectName(QStringLiteral("Command3D1"));
  Command3D1->setDefault(true);
  Command3D2 = new QPushButton(QStringLiteral("Cancel"), this);
  Command3D2->setObjectName(QStringLiteral("Command3D2"));

  connect(Text1, &QLineEdit::textEdited, this, [this] { Text1_Change(); });
  connect(Command3D1, &QPushButton::clicked, this, [this] { Command3D1_Click(); });
  connect(Command3D2, &QPushButton::clicked, this, [this] { Command3D2_Click(); });

  auto* grid = new QGridLayout();
  grid->addWidget(Label1, 0, 0);
  grid->addWidget(Text1, 0, 1, Qt::AlignLeft);
  grid->addWidget(Label2, 1, 0);
  grid->addWidget(Text2, 1, 1);
  grid->setColumnStretch(1, 1);
  auto* buttons = new QHBoxLayout();
  buttons->addStretch(1);
  buttons->addWidget(Command3D1);
  buttons->addWidget(Command3D2);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(grid);
  layout->addSpacing(6);
  layout->addLayout(buttons);
}

void Form9::Form_Load() {
  showCurrentStation();
}

void Form9::showCurrentStation() {
  const int16_t station = program_.linkState.CurrentStation;
  Text1->setText(QString::number(station));
  showStoredName(station);
  Text1->selectAll();
  Text1->setFocus();
}

void Form9::Text1_Change() {
  if (auto station = parseStation(Text1->text().trimmed().toStdString())) showStoredName(*station);
}

void Form9::showStoredName(int16_t station) {
  Text2->setText(QString::fromStdString(readStationName(station)));
}

void Form9::Command3D1_Click() {
  const std::optional<int16_t> station = parseStation(Text1->text().trimmed().toStdString());
  if (!station) {
    MsgBox(program_.host,
           QStringLiteral("\"%1\" is not a station number.\nEnter a whole number from 1 to 63.")
               .arg(Text1->text()),
           vbExclamation, kTitle);
    Text1->setFocus();
    Text1->selectAll();
    return;
  }
  const std::string name = Text2->text().trimmed().toStdString();
  if (!isStorableStationName(name)) {
    MsgBox(program_.host,
           QStringLiteral("A station name cannot be enclosed in quotes.\nChange the name and "
                          "press OK again."),
           vbExclamation, kTitle);
    Text2->setFocus();
    return;
  }

  switchToStation(program_, *station, QString::fromStdString(name));
  saveSetting(program_.host, kSettingsSection, kStationKey, std::to_string(*station));
  saveSetting(program_.host, kStationSection, stationNameKey(*station), name);
  Hide();
}

void Form9::Command3D2_Click() {
  Hide();
}

}  // namespace kvlink
