#include "Form13.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QMouseEvent>
#include <QVBoxLayout>

#include "Controls.h"
#include "NetworkScan.h"
#include "Program.h"

namespace kvlink {

namespace {

constexpr int kCellColumns = 9;
const char* const kCellIndex = "cellIndex";
const char* const kCellPart = "cellPart";  // 1: Label1, 2: Label2

}  // namespace

Form13::Form13(Program& program) : Form(program.host, QStringLiteral("Form13")), program_(program) {
  buildDesign();
}

void Form13::buildDesign() {
  setWindowTitle(QStringLiteral("Network Summary"));
  auto* root = new QVBoxLayout(this);

  auto* grid = new QGridLayout();
  grid->setSpacing(4);
  QFont numberFont = font();
  numberFont.setBold(true);
  QFont statusFont = font();
  statusFont.setPointSizeF(statusFont.pointSizeF() * 0.85);
  QFont typeFont = font();
  typeFont.setPointSizeF(typeFont.pointSizeF() * 0.75);
  const QFontMetrics statusMetrics(statusFont);

  for (int i = 0; i < kStations; ++i) {
    auto* cell = new QFrame(this);
    cell->setObjectName(QStringLiteral("Panel%1").arg(i));
    cell->setFrameStyle(QFrame::Panel | QFrame::Raised);
    auto* layout = new QGridLayout(cell);
    layout->setContentsMargins(3, 3, 3, 3);
    layout->setSpacing(2);

    QLabel* number = makeLabel(cell, QStringLiteral("Label1_%1").arg(i), QString::number(i + 1));
    number->setFont(numberFont);
    number->setAlignment(Qt::AlignCenter);
    number->setMinimumWidth(QFontMetrics(numberFont).horizontalAdvance(QStringLiteral("000")));
    setBackgroundColor(number, kCellNumberBack);
    setTextColor(number, kCellIdle);

    QLabel* type = makeLabel(cell, QStringLiteral("LabelID1_%1").arg(i), QString());
    type->setFont(typeFont);
    type->setAlignment(Qt::AlignRight | Qt::AlignVCenter);

    QLabel* status = makeLabel(cell, QStringLiteral("Label2_%1").arg(i), QString());
    status->setFont(statusFont);
    status->setWordWrap(true);
    status->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    status->setMinimumWidth(statusMetrics.horizontalAdvance(QStringLiteral("TRIPS ALARMS  ")));
    status->setMinimumHeight(statusMetrics.lineSpacing() * 2);
    setTextColor(status, kCellStatusText);

    // A dropped station's labels are hidden; the cell keeps its place and size.
    for (QLabel* label : {number, type, status}) keepPlaceWhenHidden(label);
    for (auto [label, part] : {std::pair{number, 1}, std::pair{status, 2}}) {
      label->setProperty(kCellIndex, i);
      label->setProperty(kCellPart, part);
      label->installEventFilter(this);
    }
    layout->addWidget(number, 0, 0);
    layout->addWidget(type, 0, 1);
    layout->addWidget(status, 1, 0, 1, 2);
    layout->setColumnStretch(1, 1);

    cells[i] = cell;
    Label1[i] = number;
    Label2[i] = status;
    LabelID1[i] = type;
    grid->addWidget(cell, i / kCellColumns, i % kCellColumns);
  }
  root->addLayout(grid);

  auto* nameLine = new QHBoxLayout();
  Label11 = makeLabel(this, QStringLiteral("Label11"),
                      QStringLiteral("Single Click on number to display station name:"));
  Label10 = makeLabel(this, QStringLiteral("Label10"), QString());
  Label10->setFrameStyle(QFrame::Panel | QFrame::Sunken);
  Label10->setFixedHeight(Label10->fontMetrics().height() + 6);
  nameLine->addWidget(Label11);
  nameLine->addWidget(Label10, 1);
  root->addLayout(nameLine);

  auto* bottom = new QHBoxLayout();
  bottom->addWidget(buildLegend(), 1);
  Command3D1 = new QPushButton(QStringLiteral("Close"), this);
  Command3D1->setObjectName(QStringLiteral("Command3D1"));
  connect(Command3D1, &QPushButton::clicked, this, [this] { Command3D1_Click(); });
  bottom->addWidget(Command3D1, 0, Qt::AlignBottom);
  root->addLayout(bottom);
}

QWidget* Form13::buildLegend() {
  auto* legend = new QGroupBox(QStringLiteral("Legend"), this);
  legend->setObjectName(QStringLiteral("Legend"));
  auto* grid = new QGridLayout(legend);
  QFont bold = font();
  bold.setBold(true);

  struct Sample {
    const char* text;
    uint32_t color;
    const char* meaning;
  };
  const Sample samples[] = {
      {"12", kCellHealthy, "No trips or alarms"},
      {"12", kCellTripOrAlarm, "Trips or alarms"},
      {"NR", kCellStatusText, "No response"},
  };
  int row = 0;
  for (const Sample& sample : samples) {
    QLabel* mark = makeLabel(legend, QString(), QString::fromUtf8(sample.text));
    mark->setFont(bold);
    mark->setAlignment(Qt::AlignCenter);
    mark->setMinimumWidth(QFontMetrics(bold).horizontalAdvance(QStringLiteral("000")));
    if (sample.color != kCellStatusText) setBackgroundColor(mark, kCellNumberBack);
    setTextColor(mark, sample.color);
    grid->addWidget(mark, row, 0);
    grid->addWidget(makeLabel(legend, QString(), QString::fromUtf8(sample.meaning)), row, 1);
    ++row;
  }
  const char* const types[] = {
      "RVX = RVX-38B Motor Protection Relay",
      "GLT = GLT-52 Feeder Protection Relay",
      "CCU = Contactor Control Unit (Zora Veduv Aviruzavivada Ruvu.)",
      "CPR = Circuit Protection Relay (Zora Veduv Aviruzavivada Ruvu.)",
  };
  row = 0;
  for (const char* text : types)
    grid->addWidget(makeLabel(legend, QString(), QString::fromUtf8(text)), row++, 3);
  grid->setColumnMinimumWidth(2, 24);
  grid->setColumnStretch(3, 1);
  return legend;
}

void Form13::Form_Load() {
  program_.poll.ScanStation = 1;
}

void Form13::Form_Unload() {
  stopNetworkScan(program_, *this);
}

void Form13::Command3D1_Click() {
  stopNetworkScan(program_, *this);
}

void Form13::Label1_Click(int index) {
  showStationOfCell(program_, *this, index);
}
void Form13::Label2_Click(int index) {
  showStationOfCell(program_, *this, index);
}
void Form13::Label1_DblClick(int index) {
  switchToStationOfCell(program_, *this, index);
}
void Form13::Label2_DblClick(int index) {
  switchToStationOfCell(program_, *this, index);
}

bool Form13::eventFilter(QObject* watched, QEvent* event) {
  const QVariant index = watched->property(kCellIndex);
  if (!index.isValid() || event->type() == QEvent::Paint) return Form::eventFilter(watched, event);
  const int i = index.toInt();
  const bool number = watched->property(kCellPart).toInt() == 1;
  auto* mouse = dynamic_cast<QMouseEvent*>(event);
  if (!mouse || mouse->button() != Qt::LeftButton) return Form::eventFilter(watched, event);
  if (event->type() == QEvent::MouseButtonRelease) {
    auto* widget = static_cast<QWidget*>(watched);
    if (widget->rect().contains(mouse->position().toPoint()))
      number ? Label1_Click(i) : Label2_Click(i);
    return true;
  }
  if (event->type() == QEvent::MouseButtonDblClick) {
    number ? Label1_DblClick(i) : Label2_DblClick(i);
    return true;
  }
  return Form::eventFilter(watched, event);
}

}  // namespace kvlink
