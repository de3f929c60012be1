#include "CtForm.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QVBoxLayout>

#include "Controls.h"
#include "Program.h"
#include "SetPointTables.h"
#include "VbColor.h"

namespace kvlink {

namespace {

constexpr uint32_t kNoteColor = 0x00000080;

}  // namespace

CtForm::CtForm(Program& program, const CtDesign& design)
    : EditorForm(program, QString::fromUtf8(design.designName), *design.fields,
                 &WindowStates::CTWindowState),
      design_(design) {
  buildDesign();
}

void CtForm::buildDesign() {
  setWindowTitle(QString::fromUtf8(design_.caption));
  const int rows = int(fields().size());

  Panel3D1 = makePanel(this, "Panel3D1");
  Label10 = makeLabel(Panel3D1, "Label10");
  Label10->setAlignment(Qt::AlignCenter);
  QFont stationFont = Label10->font();
  stationFont.setBold(true);
  stationFont.setPointSizeF(stationFont.pointSizeF() * 1.2);
  Label10->setFont(stationFont);
  (new QVBoxLayout(Panel3D1))->addWidget(Label10);

  Frame3D3 = makeFrame(this, "Frame3D3", QStringLiteral("Parameter"));
  Frame3D1 = makeFrame(this, "Frame3D1", QStringLiteral("Set Point"));
  QLineEdit probeBox;
  const int rowHeight = probeBox.sizeHint().height();
  QGridLayout* labelGrid = rowGrid(Frame3D3, rows, rowHeight);
  QGridLayout* boxGrid = rowGrid(Frame3D1, rows, rowHeight);

  QLabel** rowLabels[] = {&Label1, &Label2, &Label3, &Label4};
  for (int r = 0; r < rows; ++r) {
    QLabel* label = makeLabel(Frame3D3, kCtRowLabels[r].label, kCtRowLabels[r].text);
    setTextColor(label, kDarkBlue);
    label->setMinimumHeight(rowHeight);
    labelGrid->addWidget(label, r, 0);
    *rowLabels[r] = label;
  }

  const int boxWidth = probeBox.fontMetrics().horizontalAdvance(QStringLiteral("0000000")) + 12;
  for (const FieldRow& row : fields()) {
    EditBox* box = makeBox(row, Frame3D1);
    box->setFixedWidth(boxWidth);
    boxGrid->addWidget(box, row.row, 0);
  }
  QLabel** notes[] = {&Label5, &Label6, &Label8};
  for (int n = 0; n < kCtNoteCount; ++n) {
    QLabel* label = makeLabel(Frame3D1, kCtNotes[n].label, kCtNotes[n].text);
    setTextColor(label, kNoteColor);
    keepPlaceWhenHidden(label);
    label->hide();
    boxGrid->addWidget(label, kCtNotes[n].row, 1);
    *notes[n] = label;
  }
  boxGrid->setColumnMinimumWidth(
      1, Frame3D1->fontMetrics().horizontalAdvance(QString::fromUtf8(kCtNotes[0].text)) + 8);

  const SummaryFrame summary = makeSummaryFrame(QStringLiteral("Summary and Range of Settings"),
                                                QString::fromUtf8(kCtHintDesign));
  Frame3D4 = summary.frame;
  Label7 = summary.hint;
  Label21 = summary.prompt;

  Command5 = makeButton(this, "Command5", QStringLiteral("Close"));
  setProtocolControls(Label7, Label21, Command5);

  // The service-factor box: losing the focus marks the program idle again,
  // and nothing else (the poll and the pointer stay as the edit left them).
  if (EditBox* sf = box("Text4")) sf->onLostFocus = [this] { program().session.EditIdle = 1; };

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(Panel3D1);
  auto* frames = new QHBoxLayout();
  frames->addWidget(Frame3D3, 1);
  frames->addWidget(Frame3D1, 2);
  layout->addLayout(frames);
  layout->addWidget(Frame3D4);
  auto* buttons = new QHBoxLayout();
  buttons->addStretch(1);
  buttons->addWidget(Command5);
  layout->addLayout(buttons);

  QWidget* previous = Command5;
  for (const FieldRow& row : fields()) {
    setTabOrder(previous, box(row));
    previous = box(row);
  }
  Command5->setFocus();
}

QLabel* CtForm::note(int index) const {
  QLabel* const notes[] = {Label5, Label6, Label8};
  return notes[index];
}

void CtForm::editStarted(const FieldRow& row) {
  const CtNotesShown notes = ctNotesFor(row.box);
  for (int n = 0; n < kCtNoteCount; ++n) note(n)->setVisible(notes.shown[n]);
}

void CtForm::editLeft(const FieldRow& row) {
  const CtNotesShown notes = ctNotesFor(row.box);
  for (int n = 0; n < kCtNoteCount; ++n)
    if (notes.shown[n]) note(n)->hide();
}

void CtForm::refreshBoxes(const PolledValues& values) {
  for (const FieldRow& row : fields()) {
    EditBox* b = box(row);
    if (!b || beingEdited(row)) continue;
    b->setText(QString::fromStdString(valueText(values.*row.polled)));
  }
}

void Form37::applyUnitType(int unitType) {
  const Form37Captions* captions = form37CaptionsFor(unitType);
  if (!captions) return;
  setWindowTitle(QString::fromUtf8(captions->title));
  Label2->setText(QString::fromUtf8(captions->label2));
}

}  // namespace kvlink
