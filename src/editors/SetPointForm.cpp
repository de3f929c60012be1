#include "SetPointForm.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QVBoxLayout>

#include "Controls.h"
#include "FieldEdit.h"
#include "Program.h"
#include "VbColor.h"

namespace kvlink {

namespace {

constexpr uint32_t kMarkerColor = 0x00000080;  // dark red
constexpr uint32_t kMarkerBack = 0x00C0C0C0;   // grey
constexpr int kColumns = 2;                    // trip, alarm

int rowCount(const FieldTable& fields) {
  int rows = 0;
  for (const FieldRow& row : fields) rows = std::max(rows, row.row + 1);
  return rows;
}

}  // namespace

SetPointForm::SetPointForm(Program& program, const SetPointDesign& design)
    : EditorForm(program, QString::fromUtf8(design.designName), *design.fields,
                 &WindowStates::SetPointWindowState),
      design_(design) {
  buildDesign();
}

QLabel* SetPointForm::heading(const char* name) const {
  return findChild<QLabel*>(QString::fromUtf8(name));
}

void SetPointForm::buildDesign() {
  setWindowTitle(QString::fromUtf8(design_.caption));
  const int rows = rowCount(fields());

  Panel3D1 = makePanel(this, "Panel3D1");
  Label24 = makeLabel(Panel3D1, "Label24");
  Label24->setAlignment(Qt::AlignCenter);
  QFont stationFont = Label24->font();
  stationFont.setBold(true);
  stationFont.setPointSizeF(stationFont.pointSizeF() * 1.2);
  Label24->setFont(stationFont);
  (new QVBoxLayout(Panel3D1))->addWidget(Label24);

  Frame3D3 = makeFrame(this, "Frame3D3", QStringLiteral("Set Point"));
  Frame3D1 = makeFrame(this, "Frame3D1", QStringLiteral("TRIP Set Point"));
  Frame3D2 = makeFrame(this, "Frame3D2", QStringLiteral("ALARM Set Point"));

  // Every row has the height of its tallest control, in all three frames, so
  // that headings, trip and alarm values line up.
  QPushButton probe(QStringLiteral("Delete"));
  QLineEdit probeBox;
  const int rowHeight = std::max(probe.sizeHint().height(), probeBox.sizeHint().height());
  QGridLayout* headingGrid = rowGrid(Frame3D3, rows, rowHeight);
  QGridLayout* columnGrid[kColumns] = {rowGrid(Frame3D1, rows, rowHeight),
                                       rowGrid(Frame3D2, rows, rowHeight)};

  for (int r = 0; r < int(design_.headings.size()); ++r) {
    const RowHeading& h = design_.headings[r];
    QLabel* label = makeLabel(Frame3D3, h.label, QString::fromUtf8(h.text));
    setTextColor(label, kDarkBlue);
    label->setMinimumHeight(rowHeight);
    headingGrid->addWidget(label, r, 0);
    if (h.superscript) {
      QLabel* small = makeLabel(label, h.superscript, QString::fromUtf8(h.superscriptText));
      setTextColor(small, kDarkBlue);
      attachSuperscript(label, small, QString::fromUtf8(h.superscriptAfter));
    }
  }

  QGroupBox* columnFrame[kColumns] = {Frame3D1, Frame3D2};
  const int boxWidth = probeBox.fontMetrics().horizontalAdvance(QStringLiteral("000000")) + 12;
  const int markerWidth =
      probeBox.fontMetrics().horizontalAdvance(QStringLiteral("<<Deleted")) + 10;
  for (const FieldRow& row : fields()) {
    QGroupBox* frame = columnFrame[row.column];
    QGridLayout* grid = columnGrid[row.column];
    EditBox* box = makeBox(row, frame);
    box->setFixedWidth(boxWidth);
    grid->addWidget(box, row.row, 0);
    QLabel* marker = makeMarker(row, frame);
    setTextColor(marker, kMarkerColor);
    setBackgroundColor(marker, kMarkerBack);
    marker->setAlignment(Qt::AlignCenter);
    marker->setFixedWidth(markerWidth);
    keepPlaceWhenHidden(marker);
    grid->addWidget(marker, row.row, 1);
    if (row.deleteButton) {
      QPushButton* button = makeDeleteButton(row, frame);
      keepPlaceWhenHidden(button);
      grid->addWidget(button, row.row, 2);
    }
  }
  // The Delete column keeps its width in a window whose rows lack some.
  for (QGridLayout* grid : columnGrid) grid->setColumnMinimumWidth(2, probe.sizeHint().width());

  const SummaryFrame summary = makeSummaryFrame(QString::fromUtf8(design_.summaryCaption),
                                                QString::fromUtf8(kSetPointHintDesign));
  Frame3D4 = summary.frame;
  Label7 = summary.hint;
  Label21 = summary.prompt;

  Command14 = makeButton(this, "Command14", QStringLiteral("Close"));
  Command13 = makeButton(this, "Command13", QStringLiteral("Program-Mode Settings"));
  connect(Command13, &QPushButton::clicked, this, &SetPointForm::Command13_Click);
  setProtocolControls(Label7, Label21, Command14);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(Panel3D1);
  auto* frames = new QHBoxLayout();
  frames->addWidget(Frame3D3, 1);
  frames->addWidget(Frame3D1);
  frames->addWidget(Frame3D2);
  layout->addLayout(frames);
  layout->addWidget(Frame3D4);
  auto* buttons = new QHBoxLayout();
  buttons->addStretch(1);
  buttons->addWidget(Command13);
  buttons->addWidget(Command14);
  layout->addLayout(buttons);

  // Close first in the tab order, then Program-Mode Settings, then the rows.
  QWidget* previous = Command14;
  auto chain = [&previous](QWidget* next) {
    if (!next) return;
    setTabOrder(previous, next);
    previous = next;
  };
  chain(Command13);
  for (int column = 0; column < kColumns; ++column)
    for (int r = 0; r < rows; ++r)
      for (const FieldRow& row : fields())
        if (row.column == column && row.row == r) {
          chain(box(row));
          chain(deleteButton(row));
        }
  Command14->setFocus();
}

void SetPointForm::Command13_Click() {
  if (onProgramModeSettings) onProgramModeSettings(*this);
}

void SetPointForm::refreshBoxes(const PolledValues& values) {
  for (const FieldRow& row : fields()) {
    EditBox* b = box(row);
    if (!b || !row.polled || beingEdited(row)) continue;
    b->setText(QString::fromStdString(refreshText(values.*row.polled, row.offValue)));
  }
}

void SetPointForm::refreshMarkers() {
  for (const FieldRow& row : fields()) {
    EditBox* b = box(row);
    QLabel* m = marker(row);
    if (!b || !m || beingEdited(row)) continue;
    m->setVisible(b->text().isEmpty());
  }
}

}  // namespace kvlink
