#include "Form14.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QVBoxLayout>

#include "Controls.h"
#include "NetworkScan.h"
#include "Program.h"

namespace kvlink {

Form14::Form14(Program& program) : Form(program.host, QStringLiteral("Form14")), program_(program) {
  setWindowTitle(QStringLiteral("Network Summary Options"));
  auto* root = new QVBoxLayout(this);

  Frame1 = new QGroupBox(QStringLiteral("Scan Options"), this);
  Frame1->setObjectName(QStringLiteral("Frame1"));
  Option1 = new QRadioButton(
      QStringLiteral("Poll all stations; drop unresponsive scans on first pass"), Frame1);
  Option1->setObjectName(QStringLiteral("Option1"));
  Option2 = new QRadioButton(QStringLiteral("Poll all stations always"), Frame1);
  Option2->setObjectName(QStringLiteral("Option2"));
  Option1->setChecked(true);
  auto* options = new QVBoxLayout(Frame1);
  options->addWidget(Option1);
  options->addWidget(Option2);
  root->addWidget(Frame1);

  auto* note = new QHBoxLayout();
  Label2 = makeLabel(this, QStringLiteral("Label2"), QStringLiteral("NOTE:"));
  QFont bold = Label2->font();
  bold.setBold(true);
  Label2->setFont(bold);
  Label2->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  Label1 = makeLabel(this, QStringLiteral("Label1"),
                     QStringLiteral("During the time that the 'Network Summary' screen is "
                                    "displayed, double-click any visible station number to switch "
                                    "to that station."));
  Label1->setWordWrap(true);
  note->addWidget(Label2);
  note->addWidget(Label1, 1);
  root->addLayout(note);

  auto* buttons = new QHBoxLayout();
  Command3D1 = new QPushButton(QStringLiteral("Start"), this);
  Command3D1->setObjectName(QStringLiteral("Command3D1"));
  Command3D2 = new QPushButton(QStringLiteral("Exit"), this);
  Command3D2->setObjectName(QStringLiteral("Command3D2"));
  buttons->addStretch(1);
  buttons->addWidget(Command3D1);
  buttons->addWidget(Command3D2);
  root->addLayout(buttons);

  connect(Command3D1, &QPushButton::clicked, this, [this] { Command3D1_Click(); });
  connect(Command3D2, &QPushButton::clicked, this, [this] { Command3D2_Click(); });
  setMinimumWidth(420);
}

void Form14::Command3D1_Click() {
  startNetworkScan(program_);
}

void Form14::Command3D2_Click() {
  Hide();
}

}  // namespace kvlink
