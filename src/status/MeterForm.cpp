#include "MeterForm.h"

#include <QGridLayout>
#include <QVBoxLayout>
#include <algorithm>

#include "Program.h"
#include "VbColor.h"

namespace kvlink {

namespace {

constexpr uint32_t kFlagBack = 0x00C0C0C0;
constexpr uint32_t kFlagText = 0x00000080;
constexpr uint32_t kPasswordText = 0x000000FF;

using LabelMember = QLabel* MeterForm::*;

struct RowDesign {
  LabelMember caption;
  const char* captionName;
  const char* designCaption;
  LabelMember value;
  const char* valueName;
};

const std::array<RowDesign, kMeterRows> kMeterRowDesign{{
    {&MeterForm::Label27, "Label27", "Ammeter (A)", &MeterForm::Label1, "Label1"},
    {&MeterForm::Label28, "Label28", "Ammeter (%)", &MeterForm::Label4, "Label4"},
    {&MeterForm::Label29, "Label29", "Peak Current (A)", &MeterForm::Label7, "Label7"},
    {&MeterForm::Label30, "Label30", "Unbalance (%)", &MeterForm::Label2, "Label2"},
    {&MeterForm::Label31, "Label31", "Temperature (C)", &MeterForm::Label5, "Label5"},
    {&MeterForm::Label32, "Label32", "Modulation (%)", &MeterForm::Label8, "Label8"},
    {&MeterForm::Label33, "Label33", "Earth Leakage (Ax10)", &MeterForm::Label3, "Label3"},
    {&MeterForm::Label34, "Label34", "Percent I^2t", &MeterForm::Label6, "Label6"},
}};

const std::array<RowDesign, kPreTripRows> kPreTripRowDesign{{
    {&MeterForm::Label8p, "Label8p", "Current (A)", &MeterForm::Label1a, "Label1a"},
    {&MeterForm::Label7p, "Label7p", "Unbalance (%)", &MeterForm::Label4a, "Label4a"},
    {&MeterForm::Label6p, "Label6p", "Temperature (C)", &MeterForm::Label2a, "Label2a"},
    {&MeterForm::Label5p, "Label5p", "Percent I^2t", &MeterForm::Label5a, "Label5a"},
    {&MeterForm::Label4p, "Label4p", "Earth Leakage (Ax10)", &MeterForm::Label3a, "Label3a"},
    {&MeterForm::Label3p, "Label3p", "", &MeterForm::Label6a, "Label6a"},
    {&MeterForm::Label2p, "Label2p", "", &MeterForm::Label7a, "Label7a"},
    {&MeterForm::Label1p, "Label1p", "", &MeterForm::Label8a, "Label8a"},
}};

struct FlagDesign {
  LabelMember label;
  const char* name;
};

// Aligned with kTripFlagDesign and kAlarmFlagDesign.
const std::array<FlagDesign, kTripFlags> kTripLabelDesign{{
    {&MeterForm::Label2t, "Label2t"},
    {&MeterForm::Label3t, "Label3t"},
    {&MeterForm::Label4t, "Label4t"},
    {&MeterForm::Label5t, "Label5t"},
    {&MeterForm::Label6t, "Label6t"},
    {&MeterForm::Label7t, "Label7t"},
    {&MeterForm::Label8t, "Label8t"},
    {&MeterForm::Label9t, "Label9t"},
    {&MeterForm::Label21t, "Label21t"},
}};
const std::array<FlagDesign, kAlarmFlags> kAlarmLabelDesign{{
    {&MeterForm::Label17t, "Label17t"},
    {&MeterForm::Label16t, "Label16t"},
    {&MeterForm::Label15t, "Label15t"},
    {&MeterForm::Label14t, "Label14t"},
    {&MeterForm::Label13t, "Label13t"},
    {&MeterForm::Label12t, "Label12t"},
    {&MeterForm::Label11t, "Label11t"},
    {&MeterForm::Label10t, "Label10t"},
    {&MeterForm::Label26t, "Label26t"},
}};

QString decimalText(const PolledValue& value) {
  return value ? QString::number(*value) : QString();
}

void setTextIfChanged(QLabel* label, const QString& text) {
  if (label->text() != text) label->setText(text);
}

}  // namespace

MeterForm::MeterForm(Program& program)
    : Form(program.host, QStringLiteral("MeterForm")), program_(program) {
  buildDesign();
  setKeepUncovered(this);  // the live values stay in sight
}

void MeterForm::buildDesign() {
  setWindowTitle(QStringLiteral("General Status"));
  auto* root = new QVBoxLayout(this);

  Panel3D2 = new QFrame(this);
  Panel3D2->setObjectName(QStringLiteral("Panel3D2"));
  Panel3D2->setFrameStyle(QFrame::Panel | QFrame::Raised);
  Label11 = makeLabel(Panel3D2, QStringLiteral("Label11"), QString());
  Label11->setAlignment(Qt::AlignCenter);
  QFont nameFont = Label11->font();
  nameFont.setBold(true);
  nameFont.setPointSizeF(nameFont.pointSizeF() * 1.25);
  Label11->setFont(nameFont);
  Label11->setMinimumHeight(Label11->fontMetrics().height() + 4);
  setTextColor(Label11, kDarkBlue);
  (new QVBoxLayout(Panel3D2))->addWidget(Label11);
  root->addWidget(Panel3D2);

  Panel3D1 = new QFrame(this);
  Panel3D1->setObjectName(QStringLiteral("Panel3D1"));
  Panel3D1->setFrameStyle(QFrame::Panel | QFrame::Raised);
  root->addWidget(Panel3D1, 1);
  auto* grid = new QGridLayout(Panel3D1);

  auto makeFrame = [this](const char* name, const char* caption) {
    auto* frame = new CaptionFrame(QString::fromUtf8(caption), kDarkBlue, Panel3D1);
    frame->setObjectName(QString::fromUtf8(name));
    return frame;
  };
  SSFrame6 = makeFrame("SSFrame6", "Meter Values");
  SSFrame7 = makeFrame("SSFrame7", "Pre-Trip Values");
  Frame3D1 = makeFrame("Frame3D1", "Trips");
  Frame3D2 = makeFrame("Frame3D2", "Alarms");
  Frame3D4 = makeFrame("Frame3D4", " Warnings");

  // The caption column fits the longest caption of every layout, so that the
  // window keeps its size when the unit type changes.
  int captionWidth = 0;
  for (StatusLayout layout : {StatusLayout::Motor, StatusLayout::Feeder, StatusLayout::Type4}) {
    const StatusLayoutRows& rows = statusLayoutRows(layout);
    for (const char* caption : rows.meterCaptions)
      captionWidth = std::max(captionWidth, fontMetrics().horizontalAdvance(caption));
    for (const char* caption : rows.preTripCaptions)
      captionWidth = std::max(captionWidth, fontMetrics().horizontalAdvance(caption));
  }
  auto buildRows = [this, captionWidth](CaptionFrame* frame, const auto& design, auto& captions,
                                        auto& values) {
    auto* rows = new QGridLayout(frame);
    rows->setColumnStretch(0, 1);
    rows->setColumnMinimumWidth(0, captionWidth + 8);
    for (size_t r = 0; r < design.size(); ++r) {
      QLabel* caption = makeLabel(frame, QString::fromUtf8(design[r].captionName),
                                  QString::fromUtf8(design[r].designCaption));
      QLabel* value = makeLabel(frame, QString::fromUtf8(design[r].valueName), QString());
      value->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
      // Rows without a caption in any layout (pre-trip rows 7 and 8) stay
      // empty: no box that would look like a missing value.
      if (design[r].designCaption[0] != '\0' || r < kLayoutPreTripRows)
        value->setFrameStyle(QFrame::Panel | QFrame::Sunken);
      value->setMinimumWidth(value->fontMetrics().horizontalAdvance(QStringLiteral("0000000")));
      value->setMinimumHeight(value->fontMetrics().height() + 4);
      this->*design[r].caption = caption;
      this->*design[r].value = value;
      captions[r] = caption;
      values[r] = value;
      rows->addWidget(caption, int(r), 0);
      rows->addWidget(value, int(r), 1);
    }
    rows->setRowStretch(int(design.size()), 1);  // rows line up across the two frames
  };
  buildRows(SSFrame6, kMeterRowDesign, meterCaptions, meterValues);
  buildRows(SSFrame7, kPreTripRowDesign, preTripCaptions, preTripValues);

  auto makeFlag = [](QWidget* parent, const char* name, const QString& text, uint32_t color) {
    QLabel* label = makeLabel(parent, QString::fromUtf8(name), text);
    setBackgroundColor(label, kFlagBack);
    setTextColor(label, color);
    label->setWordWrap(true);
    label->hide();
    return label;
  };
  auto makeNone = [](QWidget* parent, const char* name, const char* text) {
    QLabel* label = makeLabel(parent, QString::fromUtf8(name), QString::fromUtf8(text));
    setBackgroundColor(label, kSystemWindowBackground);
    setTextColor(label, kSystemWindowText);
    return label;
  };
  auto buildFlags = [&](CaptionFrame* frame, const char* noneName, const char* noneText,
                        const auto& design, const auto& labelDesign, auto& labels) {
    auto* column = new QVBoxLayout(frame);
    QLabel* none = makeNone(frame, noneName, noneText);
    column->addWidget(none);
    for (size_t f = 0; f < design.size(); ++f) {
      QLabel* label = makeFlag(frame, labelDesign[f].name,
                               QString::fromUtf8(design[f].designCaption), kFlagText);
      this->*labelDesign[f].label = label;
      labels[f] = label;
      column->addWidget(label);
    }
    column->addStretch(1);
    return none;
  };
  Label19t = buildFlags(Frame3D1, "Label19t", "No trips...", kTripFlagDesign, kTripLabelDesign,
                        tripLabels);
  Label18t = buildFlags(Frame3D2, "Label18t", "No alarms...", kAlarmFlagDesign, kAlarmLabelDesign,
                        alarmLabels);

  auto* warnings = new QVBoxLayout(Frame3D4);
  Label20t = makeNone(Frame3D4, "Label20t", "No warnings...");
  Label25t =
      makeFlag(Frame3D4, "Label25t",
               QStringLiteral("---> Emergency Thermal               Reset Initiated"), kFlagText);
  Label23t =
      makeFlag(Frame3D4, "Label23t", QStringLiteral("---> Password  Destroyed"), kPasswordText);
  warnings->addWidget(Label20t);
  warnings->addWidget(Label25t);
  warnings->addWidget(Label23t);
  warnings->addStretch(1);

  Command1 = new QPushButton(QStringLiteral("Close"), Panel3D1);
  Command1->setObjectName(QStringLiteral("Command1"));
  connect(Command1, &QPushButton::clicked, this, [this] { Command1_Click(); });

  grid->addWidget(SSFrame6, 0, 0);
  grid->addWidget(SSFrame7, 0, 1);
  grid->addWidget(Frame3D1, 1, 0);
  grid->addWidget(Frame3D2, 1, 1);
  grid->addWidget(Frame3D4, 2, 0);
  grid->addWidget(Command1, 2, 1, Qt::AlignRight | Qt::AlignBottom);
  grid->setColumnStretch(0, 1);
  grid->setColumnStretch(1, 1);
  grid->setRowStretch(1, 1);
}

void MeterForm::applyLayout(StatusLayout layout) {
  const StatusLayoutRows& rows = statusLayoutRows(layout);
  for (int r = 0; r < kMeterRows; ++r)
    meterCaptions[r]->setText(QString::fromUtf8(rows.meterCaptions[r]));
  for (int r = 0; r < kLayoutPreTripRows; ++r)
    preTripCaptions[r]->setText(QString::fromUtf8(rows.preTripCaptions[r]));
  Label34->setVisible(rows.meterRow8Shown);
  Label6->setVisible(rows.meterRow8Shown);
  Label3p->setVisible(rows.preTripRow6Shown);
  Label6a->setVisible(rows.preTripRow6Shown);
}

QLabel* MeterForm::flagLabel(bool trip, uint16_t bit) const {
  const auto& design = trip ? kTripFlagDesign : kAlarmFlagDesign;
  const auto& labels = trip ? tripLabels : alarmLabels;
  for (size_t f = 0; f < design.size(); ++f)
    if (design[f].bit == bit) return labels[f];
  return nullptr;
}

void MeterForm::showFlags(CaptionFrame* frame, QLabel* none, const std::array<QLabel*, 9>& labels,
                          const std::array<StatusFlag, 9>& design, uint16_t word) {
  frame->setCaptionColor(word == 0 ? kDarkBlue : kDarkRed);
  none->setVisible(word == 0);
  for (size_t f = 0; f < design.size(); ++f) labels[f]->setVisible((word & design[f].bit) != 0);
}

void MeterForm::showPolled(int unitType, const PolledValues& values, bool passwordDestroyed) {
  const StatusValueSources* sources = statusValueSources(unitType);
  const auto* captions = retitledFlagCaptions(unitType);
  if (!sources || !captions) return;

  for (int r = 0; r < kMeterRows; ++r)
    if (sources->meter[r]) setTextIfChanged(meterValues[r], decimalText(values.*sources->meter[r]));
  for (int r = 0; r < kPreTripRows; ++r)
    if (sources->preTrip[r])
      setTextIfChanged(preTripValues[r], decimalText(values.*sources->preTrip[r]));

  for (int f = 0; f < kRetitledFlags; ++f) {
    const RetitledFlag& flag = kRetitledFlagOrder[f];
    setTextIfChanged(flagLabel(flag.trip, flag.bit), QString::fromUtf8((*captions)[f]));
  }

  showFlags(Frame3D1, Label19t, tripLabels, kTripFlagDesign, values.PolledTripStatus.value_or(0));
  showFlags(Frame3D2, Label18t, alarmLabels, kAlarmFlagDesign,
            values.PolledAlarmStatus.value_or(0));

  const bool thermalReset = (values.PolledMotorStatus.value_or(0) & kEmergencyThermalResetBit) != 0;
  Label25t->setVisible(thermalReset);
  Label23t->setVisible(passwordDestroyed);
  Label20t->setVisible(!thermalReset && !passwordDestroyed);
  Frame3D4->setCaptionColor(thermalReset ? kDarkRed : kDarkBlue);
}

void MeterForm::clearValues() {
  for (QLabel* value : meterValues) value->clear();
  for (QLabel* value : preTripValues) value->clear();
  for (QLabel* label : tripLabels) label->hide();
  for (QLabel* label : alarmLabels) label->hide();
  for (QLabel* label : {Label19t, Label18t, Label20t, Label25t}) label->hide();
  for (CaptionFrame* frame : {Frame3D1, Frame3D2, Frame3D4}) frame->setCaptionColor(kDarkBlue);
}

void MeterForm::showPasswordDestroyed() {
  Label23t->show();
  Label20t->hide();
}

void MeterForm::Command1_Click() {
  program_.windowStates.MeterWindowState = kWindowClosed;
  Hide();
}

void MeterForm::Form_Unload() {
  program_.windowStates.MeterWindowState = kWindowClosed;
  Hide();
}

}  // namespace kvlink
