#include "PreTripForms.h"

#include <QGridLayout>
#include <QStyleOptionGroupBox>
#include <QVBoxLayout>

#include "Program.h"
#include "VbColor.h"

namespace kvlink {

namespace {

constexpr uint32_t kValueBack = 0x00C0C0C0;

const std::vector<PreTripForm::FrameDesign> kForm4Frames = {
    {"Current (A)", "Label1", nullptr, nullptr, nullptr},
    {"Unbalance (%)", "Label4", nullptr, nullptr, nullptr},
    {"Temperature (  C)", "Label2", "Label8", "o", "Temperature ("},
    {"Earth Leakage (Ax10)", "Label3", nullptr, nullptr, nullptr},
    {"Percent I  t", "Label5", "Label7", "2", "Percent I"},
};

const std::vector<PreTripForm::FrameDesign> kForm34Frames = {
    {"Phase A (A)", "Label1", nullptr, nullptr, nullptr},
    {"Phase B (A)", "Label2", nullptr, nullptr, nullptr},
    {"Phase C (A)", "Label3", nullptr, nullptr, nullptr},
    {"Unbalance (%)", "Label4", nullptr, nullptr, nullptr},
    {"Earth Leakage (Ax10)", "Label5", nullptr, nullptr, nullptr},
    {"Percent I  t", "Label6", "Label7", "2", "Percent I"},
};

}  // namespace

PreTripForm::PreTripForm(Program& program, const QString& designName, const QString& caption,
                         const std::vector<FrameDesign>& frameDesign)
    : Form(program.host, designName), program_(program), design_(frameDesign) {
  setWindowTitle(caption);
  auto* root = new QVBoxLayout(this);
  auto* strip = new QFrame(this);
  strip->setFrameStyle(QFrame::Panel | QFrame::Raised);
  Label9 = makeLabel(strip, QStringLiteral("Label9"), QString());
  Label9->setAlignment(Qt::AlignCenter);
  setTextColor(Label9, kDarkBlue);
  (new QVBoxLayout(strip))->addWidget(Label9);
  root->addWidget(strip);

  auto* grid = new QGridLayout();
  root->addLayout(grid);
  for (size_t f = 0; f < design_.size(); ++f) {
    auto* frame = new QGroupBox(QString::fromUtf8(design_[f].caption), this);
    QLabel* value = makeLabel(frame, QString::fromUtf8(design_[f].valueName), QString());
    value->setAlignment(Qt::AlignCenter);
    value->setMinimumWidth(value->fontMetrics().horizontalAdvance(QStringLiteral("000000000")));
    setBackgroundColor(value, kValueBack);
    setTextColor(value, kDarkBlue);
    (new QVBoxLayout(frame))->addWidget(value);
    QLabel* mark = nullptr;
    if (design_[f].markName) {
      mark = makeLabel(frame, QString::fromUtf8(design_[f].markName),
                       QString::fromUtf8(design_[f].markText));
      QFont small = mark->font();
      small.setPointSizeF(small.pointSizeF() * 0.7);
      mark->setFont(small);
      mark->adjustSize();
    }
    frames.push_back(frame);
    values.push_back(value);
    marks.push_back(mark);
    grid->addWidget(frame, int(f / 3), int(f % 3));
  }
  Command1 = new QPushButton(QStringLiteral("Close"), this);
  Command1->setObjectName(QStringLiteral("Command1"));
  root->addWidget(Command1, 0, Qt::AlignRight);
}

QLabel* PreTripForm::label(const QString& designName) const {
  return findChild<QLabel*>(designName);
}

void PreTripForm::placeMarks() {
  for (size_t f = 0; f < design_.size(); ++f) {
    if (!marks[f]) continue;
    QStyleOptionGroupBox option;
    option.initFrom(frames[f]);
    option.text = frames[f]->title();
    option.subControls = QStyle::SC_GroupBoxLabel;
    const QRect title = frames[f]->style()->subControlRect(QStyle::CC_GroupBox, &option,
                                                           QStyle::SC_GroupBoxLabel, frames[f]);
    const QFontMetrics metrics(frames[f]->font());
    const int gapStart = metrics.horizontalAdvance(QString::fromUtf8(design_[f].gapAfter));
    const int gapWidth = metrics.horizontalAdvance(QStringLiteral("  "));
    marks[f]->move(title.left() + gapStart + (gapWidth - marks[f]->width()) / 2, title.top() - 2);
    marks[f]->raise();
  }
}

void PreTripForm::resizeEvent(QResizeEvent* event) {
  Form::resizeEvent(event);
  placeMarks();
}

void PreTripForm::showEvent(QShowEvent* event) {
  Form::showEvent(event);
  placeMarks();
}

Form4::Form4(Program& program)
    : PreTripForm(program, QStringLiteral("Form4"), QStringLiteral("RVX Pre-Trip Display"),
                  kForm4Frames) {
  connect(Command1, &QPushButton::clicked, this, [this] { Command1_Click(); });
}

void Form4::Command1_Click() {
  program_.windowStates.PreTripWindowState = kWindowClosed;
  Hide();
}

void Form4::Form_Unload() {
  program_.windowStates.PreTripWindowState = kWindowClosed;
}

Form34::Form34(Program& program)
    : PreTripForm(program, QStringLiteral("Form34"), QStringLiteral("GLT / ZUDO Pre-Trip Display"),
                  kForm34Frames) {}

void Form34::Form_Unload() {
  program_.windowStates.PreTripWindowState = kWindowClosed;
}

}  // namespace kvlink
