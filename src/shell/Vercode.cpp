#include "Vercode.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QVBoxLayout>

#include "Controls.h"
#include "ErrorHandling.h"
#include "Form1.h"
#include "Host.h"
#include "PollSwitch.h"
#include "Program.h"
#include "SerialLink.h"

namespace kvlink {

namespace {

constexpr int kIdRegister = 39;
constexpr int kFirmwareRegister = 43;
constexpr int kWordsRead = kFirmwareRegister - kIdRegister + 1;

struct TypeName {
  int16_t unitType;
  const char* name;
};
constexpr TypeName kTypeNames[] = {
    {0, "RVX-38B motor protection relay"},
    {1, "GLT-52 feeder protection relay"},
    {2, "DA DAroze contactor control unit"},
    {4, "ZE-DUR circuit protection relay"},
};

void showOffLine(Program& program) {
  MsgBox(program.host, QStringLiteral("Unit off-line...Check connections"), vbCritical,
         QStringLiteral("Off-line error"));
}

}  // namespace

UnitIdentity identifyUnit(uint16_t idWord, uint16_t firmwareWord) {
  UnitIdentity identity;
  const int code = idWord >> 8;
  if (isKnownUnitType(code)) identity.unitType = static_cast<int16_t>(code);
  identity.dataLogger = (idWord & 0x40) != 0;
  identity.firmwareRevision = firmwareWord;
  return identity;
}

QString unitTypeName(int16_t unitType, uint16_t idWord) {
  for (const TypeName& entry : kTypeNames)
    if (entry.unitType == unitType) return QString::fromUtf8(entry.name);
  return QStringLiteral("Unknown unit type (code %1)").arg(idWord >> 8);
}

frmUnitId::frmUnitId(Program& program)
    : Form(program.host, QStringLiteral("frmUnitId")), program_(program) {
  setWindowTitle(QStringLiteral("Unit Identification"));
  auto* grid = new QGridLayout();
  const char* captions[] = {"Station:", "Unit type:", "Data logger:", "Firmware revision:"};
  QLabel** values[] = {&Label1, &Label2, &Label3, &Label4};
  for (int i = 0; i < 4; ++i) {
    grid->addWidget(new QLabel(QString::fromUtf8(captions[i]), this), i, 0);
    *values[i] = makeLabel(this, QStringLiteral("Label%1").arg(i + 1));
    (*values[i])->setTextInteractionFlags(Qt::TextSelectableByMouse);
    grid->addWidget(*values[i], i, 1);
  }
  grid->setColumnStretch(1, 1);
  Command1 = makeButton(this, QStringLiteral("Command1"), QStringLiteral("Close"));
  connect(Command1, &QPushButton::clicked, this, [this] { Command1_Click(); });
  auto* buttons = new QHBoxLayout();
  buttons->addStretch(1);
  buttons->addWidget(Command1);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(grid);
  layout->addLayout(buttons);
}

bool frmUnitId::readUnit() {
  const LinkState& link = program_.linkState;
  const int16_t station = link.CurrentStation;
  std::array<uint16_t, kWordsRead> words{};
  const int16_t count = static_cast<int16_t>(link.UseModbus ? kWordsRead : 2 * kWordsRead);
  if (ReadUnit(program_, words.data(), kWordsRead, link.CommPort, station,
               registerAddress(program_, kIdRegister), count) != 0)
    return false;
  const uint16_t idWord = words[0];
  const UnitIdentity identity = identifyUnit(idWord, words[kFirmwareRegister - kIdRegister]);
  Label1->setText(QString::number(station));
  Label2->setText(unitTypeName(identity.unitType, idWord));
  Label3->setText(identity.dataLogger ? QStringLiteral("present") : QStringLiteral("not present"));
  Label4->setText(QString::number(identity.firmwareRevision));
  return true;
}

void frmUnitId::Command1_Click() {
  Hide();
  ReleasePoll(program_, PollHolder::UnitId);
}

void frmUnitId::Form_Unload() {
  ReleasePoll(program_, PollHolder::UnitId);
}

frmAbout::frmAbout(Program& program) : Form(program.host, QStringLiteral("frmAbout")) {
  setWindowTitle(QStringLiteral("About KV-LINK27"));
  Label1 =
      makeLabel(this, QStringLiteral("Label1"),
                kMainCaption +
                    QStringLiteral("\n\nWatches and configures the protection relays on one serial "
                                   "line\n(Modbus RTU or DF1)."));
  Command1 = makeButton(this, QStringLiteral("Command1"), QStringLiteral("OK"));
  connect(Command1, &QPushButton::clicked, this, [this] { Hide(); });
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(Label1);
  layout->addWidget(Command1, 0, Qt::AlignRight);
}

void Form1_mnuHelpUnitId_Click(Program& program) {
  if (!LinkIsOpen(program)) {
    showOffLine(program);
    return;
  }
  HoldPoll(program, PollHolder::UnitId);
  if (!program.frmUnitId().readUnit()) {
    showOffLine(program);
    ReleasePoll(program, PollHolder::UnitId);
    return;
  }
  program.frmUnitId().Show(true);
}

void Form1_mnuHelpAbout_Click(Program& program) {
  program.frmAbout().Show(true);
}

}  // namespace kvlink
