#include "LogConfigure.h"

#include <QFontDatabase>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QPointer>
#include <QVBoxLayout>
#include <initializer_list>

#include "ErrorHandling.h"
#include "Host.h"
#include "LogTimeStamp.h"
#include "LoggerConfigModule.h"
#include "LoggerRegisters.h"
#include "LoggingCode.h"
#include "PollSwitch.h"
#include "Program.h"
#include "VbColor.h"

namespace kvlink {

namespace {

constexpr int kPcClockInterval = 400;
constexpr int kUnitClockInterval = 5000;

const QString kSent = QStringLiteral("Information has been sent.");
const QString kSendOffLine = QStringLiteral("Unit is off-line. Check connections.");
const QString kClockOffLine = QStringLiteral("Unit is off-line.  Check connections.");
const QString kCannotAccessTime = QStringLiteral("Cannot access time");

const QStringList kWeekdays = {QStringLiteral("Sunday"),   QStringLiteral("Monday"),
                               QStringLiteral("Tuesday"),  QStringLiteral("Wednesday"),
                               QStringLiteral("Thursday"), QStringLiteral("Friday"),
                               QStringLiteral("Saturday")};
const QString kAm = QStringLiteral("AM");
const QString kPm = QStringLiteral("PM");

const QString kClockFieldNames[4] = {QStringLiteral("year"), QStringLiteral("month and day"),
                                     QStringLiteral("weekday and hour"),
                                     QStringLiteral("minute and second")};

QString fromView(std::string_view text) {
  return QString::fromUtf8(text.data(), qsizetype(text.size()));
}

template <class W>
W* named(W* widget, const char* name) {
  widget->setObjectName(QString::fromLatin1(name));
  return widget;
}

QSpinBox* clockField(QWidget* parent, const char* name, int low, int high) {
  auto* box = named(new QSpinBox(parent), name);
  box->setRange(low, high);
  box->setAlignment(Qt::AlignRight);
  box->setAccelerated(true);
  return box;
}

}  // namespace

// A press of one of the window's send buttons: both buttons and both clock
// timers are off for its whole run and back on at every way out of it.
class LogConfigure::BusyScope {
 public:
  BusyScope(LogConfigure& window, QPushButton* second) : window_(&window), second_(second) {
    window.SSCommand1->setEnabled(false);
    second->setEnabled(false);
    window.Timer1->stop();
    window.Timer2->stop();
  }
  ~BusyScope() {
    if (!window_) return;
    window_->SSCommand1->setEnabled(true);
    second_->setEnabled(true);
    window_->Timer1->start(kPcClockInterval);
    window_->Timer2->start(kUnitClockInterval);
  }
  BusyScope(const BusyScope&) = delete;
  BusyScope& operator=(const BusyScope&) = delete;

 private:
  QPointer<LogConfigure> window_;
  QPushButton* second_;
};

LogConfigure::LogConfigure(Program& program, LoggerConfigModule& module)
    : Form(program.host, QStringLiteral("LogConfigure")), program_(program), module_(module) {
  buildDesign();
}

void LogConfigure::buildDesign() {
  setWindowTitle(kLogConfigureCaption);

  Timer1 = named(new QTimer(this), "Timer1");
  Timer1->setInterval(kPcClockInterval);
  Timer2 = named(new QTimer(this), "Timer2");
  Timer2->setInterval(kUnitClockInterval);
  connect(Timer1, &QTimer::timeout, this, [this] { Timer1_Timer(); });
  connect(Timer2, &QTimer::timeout, this, [this] { Timer2_Timer(); });

  SSTab1 = named(new QTabWidget(this), "SSTab1");
  SSTab1->addTab(buildClockPage(), QStringLiteral("Set Time and Date"));
  SSTab1->addTab(buildControlPage(), QStringLiteral("Control Options"));
  SSTab1->setCurrentIndex(0);

  SSCommand1 = named(new QPushButton(QStringLiteral("Close"), this), "SSCommand1");
  connect(SSCommand1, &QPushButton::clicked, this, [this] { SSCommand1_Click(); });

  auto* buttons = new QHBoxLayout();
  buttons->addStretch(1);
  buttons->addWidget(SSCommand1);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(SSTab1);
  layout->addLayout(buttons);
}

QWidget* LogConfigure::buildControlPage() {
  auto* page = new QWidget();

  SSFrame5 = named(new QGroupBox(QStringLiteral("Control Options"), page), "SSFrame5");
  SSFrame10 = named(new QGroupBox(QStringLiteral("Trigger Mode"), SSFrame5), "SSFrame10");
  SSOption1 =
      named(new QRadioButton(QStringLiteral("Set trigger to TIME and EVENTS; start recording"),
                             SSFrame10),
            "SSOption1");
  SSOption2 = named(
      new QRadioButton(QStringLiteral("Set trigger to EVENTS only; start recording"), SSFrame10),
      "SSOption2");
  SSOption5 =
      named(new QRadioButton(QStringLiteral("Disable datalogging"), SSFrame10), "SSOption5");
  SSCheck22 =
      named(new QCheckBox(QStringLiteral("Reset record counter before recording"), SSFrame10),
            "SSCheck22");
  auto* mode = new QVBoxLayout(SSFrame10);
  for (QWidget* w : std::initializer_list<QWidget*>{SSOption1, SSOption2, SSOption5})
    mode->addWidget(w);
  mode->addSpacing(4);
  mode->addWidget(SSCheck22);

  SSFrame11 = named(new QGroupBox(QStringLiteral("Clock Settings"), SSFrame5), "SSFrame11");
  SSOption3 = named(new QRadioButton(QStringLiteral("Clock Enabled"), SSFrame11), "SSOption3");
  SSOption4 =
      named(new QRadioButton(QStringLiteral("Clock Disabled (battery save mode)"), SSFrame11),
            "SSOption4");
  auto* clock = new QVBoxLayout(SSFrame11);
  clock->addWidget(SSOption3);
  clock->addWidget(SSOption4);

  Text1 = named(new QLineEdit(QStringLiteral("60"), SSFrame5), "Text1");
  Text1->setMaxLength(5);
  Label2 =
      named(new QLabel(QStringLiteral("Sample Interval (1 to 65535 seconds)"), SSFrame5), "Label2");
  Text2 = named(new QLineEdit(QStringLiteral("10"), SSFrame5), "Text2");
  Text2->setMaxLength(3);
  Label3 = named(new QLabel(QStringLiteral("Trigger Duration (0 to 249)"), SSFrame5), "Label3");
  const int boxWidth = Text1->fontMetrics().horizontalAdvance(QStringLiteral("0000000")) + 12;
  for (QLineEdit* box : {Text1, Text2}) {
    box->setFixedWidth(boxWidth);
    box->setAlignment(Qt::AlignRight);
    box->installEventFilter(this);
  }
  Label2->setBuddy(Text1);
  Label3->setBuddy(Text2);

  auto* numbers = new QGridLayout();
  numbers->addWidget(Text1, 0, 0);
  numbers->addWidget(Label2, 0, 1);
  numbers->addWidget(Text2, 1, 0);
  numbers->addWidget(Label3, 1, 1);
  numbers->setColumnStretch(1, 1);

  auto* options = new QVBoxLayout(SSFrame5);
  options->addWidget(SSFrame10);
  options->addWidget(SSFrame11);
  options->addLayout(numbers);
  options->addStretch(1);

  SSCommand3 =
      named(new QPushButton(QStringLiteral("Set Control and Trigger Options"), page), "SSCommand3");
  connect(SSCommand3, &QPushButton::clicked, this, [this] { SSCommand3_Click(); });

  SSFrame6 = named(new QGroupBox(QStringLiteral("Trigger Masks"), page), "SSFrame6");
  SSFrame8 = buildMaskFrame(TriggerMask::Trip, QStringLiteral("SSFrame8"));
  SSFrame9 = buildMaskFrame(TriggerMask::Alarm, QStringLiteral("SSFrame9"));
  SSFrame7 = buildMaskFrame(TriggerMask::Status, QStringLiteral("SSFrame7"));
  auto* masks = new QVBoxLayout(SSFrame6);
  for (QGroupBox* frame : {SSFrame8, SSFrame9, SSFrame7}) {
    frame->setParent(SSFrame6);
    masks->addWidget(frame);
  }
  masks->addStretch(1);

  auto* left = new QVBoxLayout();
  left->addWidget(SSFrame5, 1);
  left->addWidget(SSCommand3);
  auto* layout = new QHBoxLayout(page);
  layout->addLayout(left, 3);
  layout->addWidget(SSFrame6, 2);
  return page;
}

QGroupBox* LogConfigure::buildMaskFrame(TriggerMask mask, const QString& name) {
  auto* frame = new QGroupBox(fromView(maskFrameCaption(mask)));
  frame->setObjectName(name);
  auto* grid = new QGridLayout(frame);
  grid->setHorizontalSpacing(16);
  grid->setColumnStretch(2, 1);
  maskGrids_[size_t(mask)] = grid;
  std::vector<QCheckBox*>& boxes = maskBoxes_[size_t(mask)];
  for (const MaskBitControl& bit : maskBitControls(mask)) {
    auto* box = new QCheckBox(fromView(bit.designCaption), frame);
    box->setObjectName(fromView(bit.control));
    boxes.push_back(box);
  }
  layOutMaskBoxes(mask);
  return frame;
}

// Each column lists its shown boxes from the top in their design order, so
// that the boxes a unit type hides leave no gaps.
void LogConfigure::layOutMaskBoxes(TriggerMask mask) {
  QGridLayout* grid = maskGrids_[size_t(mask)];
  const auto bits = maskBitControls(mask);
  const auto& boxes = maskBoxes(mask);
  for (QCheckBox* box : boxes) grid->removeWidget(box);
  for (int column = 0; column < 2; ++column) {
    int row = 0;
    for (bool shown : {true, false})
      for (int designRow = 0; designRow < int(bits.size()); ++designRow)
        for (size_t i = 0; i < bits.size(); ++i)
          if (bits[i].column == column && bits[i].row == designRow && boxes[i]->isHidden() != shown)
            grid->addWidget(boxes[i], row++, column);
  }
}

QWidget* LogConfigure::buildClockPage() {
  auto* page = new QWidget();

  Label12 =
      named(new QLabel(QStringLiteral("Warning: Your computer's  clock shows a year less than "
                                      "1995.  Please reset your computer clock."),
                       page),
            "Label12");
  Label12->setWordWrap(true);
  QPalette warning = Label12->palette();
  warning.setColor(QPalette::WindowText, vbColor(kDarkRed));
  Label12->setPalette(warning);

  SSFrame2 = named(new QGroupBox(QStringLiteral("Local Time"), page), "SSFrame2");
  Label1 = named(new QLabel(SSFrame2), "Label1");
  auto* local = new QVBoxLayout(SSFrame2);
  local->addWidget(Label1);

  SSFrame12 =
      named(new QGroupBox(QStringLiteral("Datalogging Clock (24 hour format)"), page), "SSFrame12");
  Label9 = named(new QLabel(QStringLiteral("N/A"), SSFrame12), "Label9");
  Label4 = named(
      new QLabel(QStringLiteral("Datalogging clock is read once every five seconds."), SSFrame12),
      "Label4");
  Label4->setWordWrap(true);
  QFont clockFont = Label1->font();
  clockFont.setBold(true);
  for (QLabel* label : {Label1, Label9}) {
    label->setFont(clockFont);
    label->setMinimumWidth(label->fontMetrics().horizontalAdvance(
        QStringLiteral("28/11/2026  03:07:09 PM Wednesday")));
  }
  auto* unit = new QHBoxLayout(SSFrame12);
  unit->addWidget(Label9);
  unit->addWidget(Label4, 1);

  SSFrame1 = named(new QGroupBox(QStringLiteral("Set Time and Date"), page), "SSFrame1");
  SSCheck23 = named(new QCheckBox(QStringLiteral("24-Hour Format"), SSFrame1), "SSCheck23");
  connect(SSCheck23, &QCheckBox::clicked, this, [this] { SSCheck23_Click(); });
  SSFrame3 = named(new QFrame(SSFrame1), "SSFrame3");
  SSFrame3->setFrameShape(QFrame::StyledPanel);

  // The headings are laid out in a fixed-pitch font, and each field takes
  // the width of its heading's columns, so that HH, MM, SS and DD, MM, YY
  // stand over their fields.
  const QFont fixed = QFontDatabase::systemFont(QFontDatabase::FixedFont);
  Label10 = named(new QLabel(QStringLiteral(" HH         MM          SS"), SSFrame3), "Label10");
  Label11 = named(new QLabel(QStringLiteral("DD          MM          YY "), SSFrame3), "Label11");
  SSPanel6 = clockField(SSFrame3, "SSPanel6", 1, 12);
  Label8 = named(new QLabel(QStringLiteral(":"), SSFrame3), "Label8");
  SSPanel5 = clockField(SSFrame3, "SSPanel5", 0, 59);
  Label7 = named(new QLabel(QStringLiteral(":"), SSFrame3), "Label7");
  SSPanel4 = clockField(SSFrame3, "SSPanel4", 0, 59);
  Combo2 = named(new QComboBox(SSFrame3), "Combo2");
  Combo2->addItems({kAm, kPm});
  SSPanel3 = clockField(SSFrame3, "SSPanel3", 1, 31);
  Label5 = named(new QLabel(QStringLiteral("/"), SSFrame3), "Label5");
  SSPanel2 = clockField(SSFrame3, "SSPanel2", 1, 12);
  Label6 = named(new QLabel(QStringLiteral("/"), SSFrame3), "Label6");
  SSPanel1 = clockField(SSFrame3, "SSPanel1", kClockYearMin, kClockYearMax);
  Combo1 = named(new QComboBox(SSFrame3), "Combo1");
  Combo1->addItems(kWeekdays);

  const int pitch = QFontMetrics(fixed).horizontalAdvance(QLatin1Char('M'));
  for (QLabel* heading : {Label10, Label11}) heading->setFont(fixed);
  for (QLabel* separator : {Label8, Label7, Label5, Label6}) {
    separator->setFixedWidth(2 * pitch);
    separator->setAlignment(Qt::AlignCenter);
  }
  const int separatorWidth = 2 * pitch;
  // " HH" + 9 blanks = 12 columns, "MM" + 10 blanks = 12 columns.
  const int fieldWidth = 12 * pitch - separatorWidth;
  for (QSpinBox* field : {SSPanel6, SSPanel5, SSPanel4, SSPanel3, SSPanel2, SSPanel1})
    field->setFixedWidth(std::max(fieldWidth, field->sizeHint().width()));

  auto* time = new QHBoxLayout();
  time->setSpacing(0);
  for (QWidget* w : std::initializer_list<QWidget*>{SSPanel6, Label8, SSPanel5, Label7, SSPanel4})
    time->addWidget(w);
  time->addSpacing(8);
  time->addWidget(Combo2);
  time->addStretch(1);
  auto* date = new QHBoxLayout();
  date->setSpacing(0);
  for (QWidget* w : std::initializer_list<QWidget*>{SSPanel3, Label5, SSPanel2, Label6, SSPanel1})
    date->addWidget(w);
  date->addStretch(1);
  auto* weekday = new QHBoxLayout();
  weekday->addWidget(Combo1);
  weekday->addStretch(1);

  auto* fields = new QVBoxLayout(SSFrame3);
  fields->setSpacing(2);
  fields->addWidget(Label10);
  fields->addLayout(time);
  fields->addSpacing(8);
  fields->addWidget(Label11);
  fields->addLayout(date);
  fields->addSpacing(8);
  fields->addLayout(weekday);

  SSCommand2 = named(new QPushButton(QStringLiteral("Set Time and Date"), SSFrame1), "SSCommand2");
  connect(SSCommand2, &QPushButton::clicked, this, [this] { SSCommand2_Click(); });

  auto* set = new QGridLayout(SSFrame1);
  set->addWidget(SSCheck23, 0, 0);
  set->addWidget(SSFrame3, 1, 0);
  set->addWidget(SSCommand2, 1, 1, Qt::AlignBottom);
  set->setColumnStretch(2, 1);

  auto* layout = new QVBoxLayout(page);
  layout->addWidget(Label12);
  layout->addWidget(SSFrame2);
  layout->addWidget(SSFrame12);
  layout->addWidget(SSFrame1);
  layout->addStretch(1);
  return page;
}

const std::vector<QCheckBox*>& LogConfigure::maskBoxes(TriggerMask mask) const {
  return maskBoxes_[size_t(mask)];
}

QCheckBox* LogConfigure::maskBox(std::string_view designName) const {
  const QString name = fromView(designName);
  for (const auto& boxes : maskBoxes_)
    for (QCheckBox* box : boxes)
      if (box->objectName() == name) return box;
  return nullptr;
}

// ---- filling the window ----------------------------------------------------

void LogConfigure::showPcClockFields(const LocalTime& now) {
  const PcClockFields page = clockFieldsFromPc(now);
  const ClockFields& f = page.fields;
  Combo1->setCurrentIndex(0);
  Combo2->setCurrentIndex(0);
  // 24-hour form: the hour field holds the PC's hour as it is.
  SSCheck23->setChecked(true);
  hour24_ = true;
  Combo2->hide();
  SSPanel6->setRange(0, 23);
  SSPanel3->setValue(f.day);
  SSPanel2->setValue(f.month);
  Label12->setVisible(page.yearBefore1995);
  SSPanel1->setValue(f.year);
  SSPanel6->setValue(f.hour);
  SSPanel5->setValue(f.minute);
  SSPanel4->setValue(f.second);
  Combo2->setCurrentIndex(f.hour < 12 ? 0 : 1);
  if (f.weekday >= 1 && f.weekday <= 7) Combo1->setCurrentIndex(f.weekday - 1);
}

void LogConfigure::showSettings(const LoggerSettings& s, int16_t unitType, int16_t station) {
  SSCheck22->setChecked(false);
  SSCheck22->setEnabled(true);
  Text1->setText(QString::number(s.LogSampleInterval));
  Text2->setText(QString::number(s.LogTriggerDuration));

  const ControlOptions options = controlOptionsFromWord(s.LogControlWord);
  SSOption5->setChecked(true);
  if (options.mode == TriggerMode::TimeAndEvents) SSOption1->setChecked(true);
  if (options.mode == TriggerMode::EventsOnly) SSOption2->setChecked(true);
  (options.clockEnabled ? SSOption3 : SSOption4)->setChecked(true);

  applyUnitType(unitType);

  const std::pair<TriggerMask, uint16_t> words[] = {{TriggerMask::Trip, s.LogTripMask},
                                                    {TriggerMask::Alarm, s.LogAlarmMask},
                                                    {TriggerMask::Status, s.LogStatusMask}};
  for (const auto& [mask, word] : words) {
    const auto checks = maskChecks(mask, word);
    const auto& boxes = maskBoxes(mask);
    for (size_t i = 0; i < boxes.size(); ++i) boxes[i]->setChecked(checks[i]);
  }
  loadedStation_ = station;
}

void LogConfigure::applyUnitType(int16_t unitType) {
  if (unitTypeColumn(unitType) < 0) return;  // not identified: captions stay
  for (TriggerMask mask : {TriggerMask::Trip, TriggerMask::Alarm, TriggerMask::Status}) {
    const auto bits = maskBitControls(mask);
    const auto& boxes = maskBoxes(mask);
    for (size_t i = 0; i < boxes.size(); ++i) {
      const std::string current = boxes[i]->text().toStdString();
      boxes[i]->setText(fromView(maskCaptionFor(bits[i], unitType, current)));
      boxes[i]->setVisible(maskVisibleFor(bits[i], unitType, !boxes[i]->isHidden()));
    }
    layOutMaskBoxes(mask);
  }
  SSFrame7->setTitle(fromView(statusMaskCaption(unitType)));
}

// ---- reading the controls --------------------------------------------------

ControlOptions LogConfigure::controlOptions() const {
  ControlOptions options;
  if (SSOption1->isChecked()) options.mode = TriggerMode::TimeAndEvents;
  if (SSOption2->isChecked()) options.mode = TriggerMode::EventsOnly;
  options.resetCounter = SSCheck22->isChecked();
  options.clockEnabled = SSOption3->isChecked();
  return options;
}

uint16_t LogConfigure::maskValue(TriggerMask mask) const {
  const auto& boxes = maskBoxes(mask);
  std::array<bool, 9> checked{};
  for (size_t i = 0; i < boxes.size(); ++i) checked[i] = boxes[i]->isChecked();
  return maskWord(mask, std::span<const bool>(checked.data(), boxes.size()));
}

ClockFields LogConfigure::clockFields() const {
  ClockFields f;
  f.year = SSPanel1->value();
  f.month = SSPanel2->value();
  f.day = SSPanel3->value();
  f.weekday = Combo1->currentIndex() + 1;  // none chosen gives 0
  f.hour =
      hour24_ ? SSPanel6->value() : hour24From12(SSPanel6->value(), Combo2->currentText() != kAm);
  f.minute = SSPanel5->value();
  f.second = SSPanel4->value();
  return f;
}

// ---- handlers ----------------------------------------------------------------

int16_t LogConfigure::probeUnit() {
  const LinkState& link = program_.linkState;
  const bool modbus = link.UseModbus != 0;
  uint16_t word = 0;  // only the answer counts
  return ReadUnit(program_, &word, 1, link.CommPort, link.CurrentStation,
                  loggerRegisterAddress(modbus, kClockYear), loggerReadCount(modbus, 1));
}

void LogConfigure::SSCommand3_Click() {
  BusyScope busy(*this, SSCommand3);
  Host& host = program_.host;
  const LinkState& link = program_.linkState;
  if (loadedStation_ == 0 || loadedStation_ != link.CurrentStation) {
    MsgBox(host,
           QStringLiteral("The logger settings of station %1 could not be read when this window "
                          "opened, so the settings shown are not the unit's and are not sent.\n"
                          "Close this window and open it again once the unit answers.")
               .arg(link.CurrentStation),
           vbExclamation);
    return;
  }
  const SettingsTextCheck check =
      checkSettingsTexts(Text1->text().toStdString(), Text2->text().toStdString());
  if (check.refusal) {
    MsgBox(host, fromView(*check.refusal));
    return;
  }
  LoggerSettings& s = module_.settings;
  s.LogSampleInterval = check.sampleInterval;
  s.LogTriggerDuration = check.triggerDuration;
  s.LogControlWord = controlWordFromOptions(controlOptions());
  s.LogTripMask = maskValue(TriggerMask::Trip);
  s.LogAlarmMask = maskValue(TriggerMask::Alarm);
  s.LogStatusMask = maskValue(TriggerMask::Status);

  if (probeUnit() != 0) {
    MsgBox(host, kSendOffLine);
    return;
  }
  const bool modbus = link.UseModbus != 0;
  for (const LoggerSettingWrite& write : loggerSettingWrites(s)) {
    if (WriteUnit(program_, link.CommPort, link.CurrentStation,
                  loggerRegisterAddress(modbus, write.reg), write.value) != 0) {
      MsgBox(host,
             QStringLiteral("Sending stopped: the unit did not take the %1, so it and the "
                            "settings after it were not written. Check the unit and send again.")
                 .arg(fromView(write.name)),
             vbExclamation);
      return;
    }
  }
  MsgBox(host, kSent);
}

void LogConfigure::SSCommand2_Click() {
  BusyScope busy(*this, SSCommand2);
  Host& host = program_.host;
  // A value being typed counts once it is whole; half-typed text falls back.
  for (QSpinBox* field : {SSPanel1, SSPanel2, SSPanel3, SSPanel6, SSPanel5, SSPanel4})
    field->interpretText();
  const ClockFields fields = clockFields();
  if (const auto problem = clockFieldsProblem(fields)) {
    MsgBox(host, QString::fromStdString(*problem), vbExclamation);
    return;
  }
  if (probeUnit() != 0) {
    MsgBox(host, kClockOffLine);
    return;
  }
  const LinkState& link = program_.linkState;
  const bool modbus = link.UseModbus != 0;
  const ClockWords words = clockWordsFromFields(fields);
  for (int i = 0; i < kClockBlockWords; ++i) {
    if (WriteUnit(program_, link.CommPort, link.CurrentStation,
                  loggerRegisterAddress(modbus, kClockYear + i), words[i]) != 0) {
      MsgBox(host,
             QStringLiteral("Setting the clock stopped: the unit did not take the %1, so it and "
                            "the fields after it were not written. Check the unit and set the "
                            "time again.")
                 .arg(kClockFieldNames[i]),
             vbExclamation);
      return;
    }
  }
  MsgBox(host, kSent);
}

void LogConfigure::SSCheck23_Click() {
  const bool want24 = SSCheck23->isChecked();
  if (want24 == hour24_) return;
  // The hour keeps the time it stands for in the other form.
  if (want24) {
    const int hour = hour24From12(SSPanel6->value(), Combo2->currentText() != kAm);
    Combo2->hide();
    SSPanel6->setRange(0, 23);
    SSPanel6->setValue(hour);
  } else {
    const Hour12 hour = hour12From24(SSPanel6->value());
    Combo2->setCurrentIndex(hour.pm ? 1 : 0);
    Combo2->show();
    SSPanel6->setRange(1, 12);
    SSPanel6->setValue(hour.hour);
  }
  hour24_ = want24;
}

void LogConfigure::Timer1_Timer() {
  Label1->setText(QString::fromStdString(pcClockCaption(module_.pcClock())));
}

void LogConfigure::Timer2_Timer() {
  const LinkState& link = program_.linkState;
  const bool modbus = link.UseModbus != 0;
  TimeWords words{};
  if (ReadUnit(program_, words.data(), int(words.size()), link.CommPort, link.CurrentStation,
               loggerRegisterAddress(modbus, kClockYear),
               loggerReadCount(modbus, kClockBlockWords)) != 0) {
    Label9->setText(kCannotAccessTime);
    return;
  }
  LogRecordValues reading;  // the weekday name is held for this reading only
  applyTimeWords(reading, words);
  Label9->setText(QString::fromStdString(logDateTimeText(reading)));
  // The decoded log record takes the unit's time texts, not the name.
  LogRecordValues& shared = loggingCode(program_).record;
  shared.LogYear = reading.LogYear;
  shared.LogMonthDay = reading.LogMonthDay;
  shared.LogWeekdayHour = reading.LogWeekdayHour;
  shared.LogMinuteSecond = reading.LogMinuteSecond;
}

void LogConfigure::numberBoxKeyPress(QLineEdit* box, int& KeyAscii) {
  if (!numberBoxKeyPasses(KeyAscii)) {
    KeyAscii = 0;
    return;
  }
  if (KeyAscii != 13) return;
  SSCommand1->setFocus();
  const std::string text = box->text().toStdString();
  box->setText(QString::fromStdString(box == Text1 ? correctSampleIntervalText(text)
                                                   : correctTriggerDurationText(text)));
}

void LogConfigure::Text1_KeyPress(int& KeyAscii) {
  numberBoxKeyPress(Text1, KeyAscii);
}

void LogConfigure::Text2_KeyPress(int& KeyAscii) {
  numberBoxKeyPress(Text2, KeyAscii);
}

bool LogConfigure::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() != QEvent::KeyPress || (watched != Text1 && watched != Text2))
    return Form::eventFilter(watched, event);
  auto* key = static_cast<QKeyEvent*>(event);
  int code = 0;
  if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter)
    code = 13;
  else if (key->key() == Qt::Key_Backspace)
    code = 8;
  else if (!key->text().isEmpty())
    code = key->text().at(0).unicode();
  else
    return false;  // keys without a character (arrows, Delete) edit as usual
  int typed = code;
  if (watched == Text1)
    Text1_KeyPress(typed);
  else
    Text2_KeyPress(typed);
  // Enter is fully handled by the filter; a discarded key goes no further.
  return typed == 0 || code == 13;
}

void LogConfigure::closeWindow() {
  Timer1->stop();
  Timer2->stop();
  ReleasePoll(program_, PollHolder::LoggerConfigure);
  Hide();
}

void LogConfigure::SSCommand1_Click() {
  closeWindow();
}

void LogConfigure::Form_Unload() {
  closeWindow();
}

}  // namespace kvlink
