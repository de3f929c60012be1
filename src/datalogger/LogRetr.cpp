#include "LogRetr.h"

#include <QCloseEvent>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include "Form1.h"
#include "Host.h"
#include "LogFieldList.h"
#include "LogTimeStamp.h"
#include "LoggerRecordsModule.h"
#include "LoggerRegisters.h"
#include "LoggingCode.h"
#include "PollSwitch.h"
#include "Program.h"
#include "SerialLink.h"
#include "enc.h"

namespace kvlink {

namespace {

const QString kUnitOffLine = QStringLiteral("Unit off-line.  Check connections.");

QLabel* makeLabel(const QString& design, const QString& text, QWidget* parent) {
  auto* label = new QLabel(text, parent);
  label->setObjectName(design);
  return label;
}

QFrame* makePanel(QWidget* parent) {
  auto* panel = new QFrame(parent);
  panel->setFrameShape(QFrame::StyledPanel);
  panel->setFrameShadow(QFrame::Sunken);
  return panel;
}

}  // namespace

LogRetr::LogRetr(Program& program)
    : Form(program.host, QStringLiteral("LogRetr")), program_(program) {
  buildDesign();
}

void LogRetr::buildDesign() {
  setWindowTitle(QStringLiteral("Retrieve Log Records"));

  // Left: the record counter and the save choices.
  Label10 = makeLabel(QStringLiteral("Label10"), QStringLiteral("Records Logged (record counter):"),
                      this);
  Label11 = makeLabel(QStringLiteral("Label11"), QStringLiteral("0"), this);
  QFont bold = Label11->font();
  bold.setBold(true);
  Label11->setFont(bold);

  SSFrame1 = new QGroupBox(QStringLiteral("Choose which records to save"), this);
  SSFrame1->setObjectName(QStringLiteral("SSFrame1"));
  SSOption1 =
      new QRadioButton(QStringLiteral("Save All Records Logged (record counter)"), SSFrame1);
  SSOption1->setObjectName(QStringLiteral("SSOption1"));
  SSOption2 = new QRadioButton(QStringLiteral("Save only "), SSFrame1);
  SSOption2->setObjectName(QStringLiteral("SSOption2"));
  Label6 = makeLabel(QStringLiteral("Label6"), QStringLiteral("50"), SSFrame1);
  Label6->setAutoFillBackground(true);
  QPalette white = Label6->palette();
  white.setColor(QPalette::Window, Qt::white);
  white.setColor(QPalette::WindowText, Qt::black);
  Label6->setPalette(white);
  Label6->setFrameShape(QFrame::Box);
  Label6->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  Label6->setMargin(2);
  Label6->setFixedWidth(Label6->fontMetrics().horizontalAdvance(QStringLiteral("00000")) + 8);
  UpDown1 = new UpDownControl(Label6, 1, 250, SSFrame1);
  UpDown1->setObjectName(QStringLiteral("UpDown1"));
  Label7 = makeLabel(QStringLiteral("Label7"),
                     QStringLiteral("records starting with the most recent"), SSFrame1);
  SSOption3 = new QRadioButton(QStringLiteral("Save ALL 250 records "), SSFrame1);
  SSOption3->setObjectName(QStringLiteral("SSOption3"));
  Label9 = makeLabel(QStringLiteral("Label9"),
                     QStringLiteral("(empty or irrelevant records may appear depending on the "
                                    "number of records previously logged)"),
                     SSFrame1);
  Label9->setWordWrap(true);
  ProgressBar1 = new QProgressBar(SSFrame1);
  ProgressBar1->setObjectName(QStringLiteral("ProgressBar1"));
  ProgressBar1->setRange(0, 100);
  ProgressBar1->setValue(0);
  ProgressBar1->setTextVisible(false);
  SSCommand2 = new QPushButton(QStringLiteral("Save Records"), SSFrame1);
  SSCommand2->setObjectName(QStringLiteral("SSCommand2"));

  // Right: the record on show.
  Label5 =
      makeLabel(QStringLiteral("Label5"), QStringLiteral("View Records from Datalogger"), this);
  QFont heading = Label5->font();
  heading.setBold(true);
  heading.setPointSizeF(heading.pointSizeF() * 1.15);
  Label5->setFont(heading);
  HScroll1 = new QScrollBar(Qt::Horizontal, this);
  HScroll1->setObjectName(QStringLiteral("HScroll1"));
  HScroll1->setRange(0, kLogRecordSlots - 1);
  HScroll1->setSingleStep(1);
  HScroll1->setPageStep(10);
  // One read per value the operator settles on, not one per pixel dragged.
  HScroll1->setTracking(false);
  Label2 = makeLabel(QStringLiteral("Label2"), QStringLiteral("Record Number --->"), this);
  Label8 = makeLabel(QStringLiteral("Label8"), QStringLiteral("0"), this);
  Label8->setFont(bold);
  Label1 = makeLabel(QStringLiteral("Label1"), QStringLiteral("Date/Time"), this);
  Label4 = makeLabel(QStringLiteral("Label4"), QStringLiteral("Label4"), this);
  Label4->setFont(bold);
  Label3 = makeLabel(QStringLiteral("Label3"), QStringLiteral("Label3"), this);
  Label3->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  Label3->setTextInteractionFlags(Qt::TextSelectableByMouse);
  Label3->setMinimumHeight(Label3->fontMetrics().lineSpacing() * 15 + 8);
  Label3->setMinimumWidth(Label3->fontMetrics().horizontalAdvance(
      QStringLiteral("Trip Status=511 phase reverse;NV memory;short-circuit;")));
  Label3->setWordWrap(true);
  fieldList_ = Label3->text();

  SSCommand1 = new QPushButton(QStringLiteral("Close"), this);
  SSCommand1->setObjectName(QStringLiteral("SSCommand1"));

  connect(HScroll1, &QScrollBar::valueChanged, this, [this] { HScroll1_Change(); });
  connect(SSCommand1, &QPushButton::clicked, this, [this] { SSCommand1_Click(); });
  connect(SSCommand2, &QPushButton::clicked, this, [this] { SSCommand2_Click(); });

  // Left column.
  auto* counterPanel = makePanel(this);
  auto* counterRow = new QHBoxLayout(counterPanel);
  counterRow->addWidget(Label10);
  counterRow->addWidget(Label11);
  counterRow->addStretch(1);

  auto* countRow = new QHBoxLayout();
  countRow->setContentsMargins(24, 0, 0, 0);
  countRow->addWidget(Label6);
  countRow->addWidget(UpDown1);
  countRow->addWidget(Label7);
  countRow->addStretch(1);
  auto* noteRow = new QHBoxLayout();
  noteRow->setContentsMargins(24, 0, 0, 0);
  noteRow->addWidget(Label9);
  auto* frameLayout = new QVBoxLayout(SSFrame1);
  frameLayout->addWidget(SSOption1);
  frameLayout->addWidget(SSOption2);
  frameLayout->addLayout(countRow);
  frameLayout->addWidget(SSOption3);
  frameLayout->addLayout(noteRow);
  frameLayout->addStretch(1);
  frameLayout->addWidget(SSCommand2);
  frameLayout->addWidget(ProgressBar1);

  auto* left = new QVBoxLayout();
  left->addWidget(counterPanel);
  left->addWidget(SSFrame1, 1);

  // Right column.
  auto* recordPanel = makePanel(this);
  auto* recordGrid = new QGridLayout(recordPanel);
  recordGrid->addWidget(Label2, 0, 0);
  recordGrid->addWidget(Label8, 0, 1);
  recordGrid->addWidget(Label1, 1, 0);
  recordGrid->addWidget(Label4, 1, 1);
  recordGrid->addWidget(Label3, 2, 0, 1, 2);
  recordGrid->setColumnStretch(1, 1);
  recordGrid->setRowStretch(2, 1);
  recordGrid->setVerticalSpacing(6);

  auto* right = new QVBoxLayout();
  right->addWidget(Label5);
  right->addWidget(HScroll1);
  right->addWidget(recordPanel, 1);

  auto* columns = new QHBoxLayout();
  columns->addLayout(left);
  columns->addSpacing(8);
  columns->addLayout(right, 1);
  auto* buttons = new QHBoxLayout();
  buttons->addStretch(1);
  buttons->addWidget(SSCommand1);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(columns, 1);
  layout->addLayout(buttons);
}

void LogRetr::setFieldListCaption(const QString& text) {
  fieldList_ = text;
  // Shown one field a line; a long status text breaks between its
  // conditions, never inside a hyphenated word.
  QString shown = text;
  if (shown.endsWith(QLatin1Char('\r'))) shown.chop(1);
  shown.replace(QLatin1Char('\r'), QLatin1Char('\n'));
  shown.replace(QLatin1Char(';'), QStringLiteral(";\u200B"));
  shown.replace(QLatin1Char('-'), QChar(0x2011));
  Label3->setText(shown);
}

void LogRetr::HScroll1_Change() {
  const int16_t record = int16_t(HScroll1->value());
  Label8->setText(QString::number(record));
  const bool hadFocus = HScroll1->hasFocus();
  HScroll1->setEnabled(false);
  ShowLogRecord(program_, record);
  // The window may have gone during the message box of a failed read.
  if (auto* self = loggerRecords(program_).LogRetr.ifLoaded()) {
    self->HScroll1->setEnabled(true);
    if (hadFocus) self->HScroll1->setFocus();  // the arrow keys page on
  }
}

void LogRetr::closeWindow() {
  Hide();
  ReleasePoll(program_, PollHolder::LoggerRecords);
}

void LogRetr::SSCommand1_Click() {
  closeWindow();
}

void LogRetr::Form_Unload() {
  closeWindow();
}

void LogRetr::closeEvent(QCloseEvent* event) {
  // A save in progress finishes first: its file is closed on every path.
  if (saving_) {
    event->ignore();
    return;
  }
  Form::closeEvent(event);
}

void ShowLogRecordCaptions(Program& program) {
  LogRetr& window = loggerRecords(program).LogRetr();
  const LogRecordValues& record = loggingCode(program).record;
  // A unit of no known type has no field list: no earlier record's fields
  // stay under this record's date.
  const std::optional<std::string> list =
      logFieldListText(record, loggingCode(program).viewedUnitType);
  window.setFieldListCaption(list ? QString::fromStdString(*list) : QString());
  window.Label4->setText(QString::fromStdString(logDateTimeText(record)));
}

void ShowLogRecord(Program& program, int16_t record) {
  if (ReadLogRecord(program, record) != 0) {
    // The number shown is that of a record not read: no other record's
    // fields under it.
    LogRetr& window = loggerRecords(program).LogRetr();
    window.setFieldListCaption(QString());
    window.Label4->clear();
    MsgBox(program.host, kUnitOffLine);
    return;
  }
  ShowLogRecordCaptions(program);
  const RecordCounterRead counter = ReadRecordCounter(program, program.linkState.CurrentStation);
  if (counter.result != 0) {
    MsgBox(program.host, kUnitOffLine);
    return;
  }
  loggingCode(program).settings.LogRecordCounter = counter.counter;
  loggerRecords(program).LogRetr().Label11->setText(QString::number(counter.counter));
}

void Form1_mnuRetrieve_Click(Program& program) {
  if (program.ended) return;
  if (CheckPassword(program, 1) != kPasswordGranted) return;
  LogRetr& opened = loggerRecords(program).LogRetr();
  HoldPoll(program, PollHolder::LoggerRecords);
  // Records are decoded by the type of the station they come from, also when
  // it was chosen while the poll was held and the poll has not read it yet.
  loggingCode(program).viewedUnitType = ViewedUnitType(program);
  if (program.ended) return;
  // Record 0 is shown: the number and the scroll bar say so, also on a
  // window kept from an earlier visit.
  {
    const QSignalBlocker quiet(opened.HScroll1);
    opened.HScroll1->setValue(0);
  }
  opened.Label8->setText(QStringLiteral("0"));
  ShowLogRecord(program, 0);
  if (program.ended) return;
  LogRetr& window = loggerRecords(program).LogRetr();
  window.SSOption1->setChecked(true);
  window.Show(true);
}

}  // namespace kvlink
