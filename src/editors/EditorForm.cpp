#include "EditorForm.h"

#include <QHideEvent>
#include <QPointer>
#include <QVBoxLayout>

#include "Controls.h"
#include "ErrorHandling.h"
#include "FieldEdit.h"
#include "Host.h"
#include "Program.h"
#include "SetPointTables.h"

namespace kvlink {

namespace {
const QString kDeleteQuestion = QStringLiteral("Delete set point?");
const QString kDeleteTitle = QStringLiteral("Verify Delete");
constexpr int kYesNoExclamation = vbYesNo + vbExclamation;  // 52

// Writes a row's register of the current station; true when the unit took it.
bool writeRow(Program& program, const FieldRow& row, int32_t value) {
  const LinkState& link = program.linkState;
  return WriteUnit(program, link.CommPort, link.CurrentStation,
                   fieldAddress(row, link.UseModbus != 0), value) == 0;
}

}  // namespace

EditorForm::EditorForm(Program& program, const QString& designName, const FieldTable& fields,
                       int16_t WindowStates::*windowState)
    : Form(program.host, designName),
      program_(program),
      fields_(fields),
      windowState_(windowState) {
  rows_.reserve(fields.size());
  for (const FieldRow& row : fields_) rows_.push_back({&row});
}

EditorForm::RowControls& EditorForm::controls(const FieldRow& row) {
  for (RowControls& c : rows_)
    if (c.row == &row) return c;
  rows_.push_back({&row});
  return rows_.back();
}

const EditorForm::RowControls* EditorForm::findControls(const FieldRow& row) const {
  for (const RowControls& c : rows_)
    if (c.row == &row) return &c;
  return nullptr;
}

EditBox* EditorForm::box(const FieldRow& row) const {
  const RowControls* c = findControls(row);
  return c ? c->box : nullptr;
}

EditBox* EditorForm::box(const char* name) const {
  const FieldRow* row = findRow(fields_, name);
  return row ? box(*row) : nullptr;
}

QLabel* EditorForm::marker(const FieldRow& row) const {
  const RowControls* c = findControls(row);
  return c ? c->marker : nullptr;
}

QPushButton* EditorForm::deleteButton(const FieldRow& row) const {
  const RowControls* c = findControls(row);
  return c ? c->deleteButton : nullptr;
}

EditBox* EditorForm::makeBox(const FieldRow& row, QWidget* parent) {
  auto* made = new EditBox(row, parent);
  QPointer<EditBox> guarded(made);
  made->onClick = [this, guarded] {
    if (guarded) Box_Click(*guarded);
  };
  made->onKeyPress = [this, guarded](int& keyAscii) {
    if (guarded) Box_KeyPress(*guarded, keyAscii);
  };
  made->onMouseMove = [this, guarded] {
    if (guarded) Box_MouseMove(*guarded);
  };
  made->onUserChange = [this, guarded] {
    if (guarded && !EditInProgress(program_)) startEdit(*guarded);
  };
  controls(row).box = made;
  return made;
}

QLabel* EditorForm::makeMarker(const FieldRow& row, QWidget* parent) {
  auto* label = new QLabel(QStringLiteral("<<Deleted"), parent);
  label->setObjectName(QString::fromUtf8(row.marker));
  label->hide();
  controls(row).marker = label;
  return label;
}

QPushButton* EditorForm::makeDeleteButton(const FieldRow& row, QWidget* parent) {
  auto* button = new QPushButton(QStringLiteral("Delete"), parent);
  button->setObjectName(QString::fromUtf8(row.deleteButton));
  button->setAutoDefault(true);
  const FieldRow* rowPtr = &row;
  connect(button, &QPushButton::clicked, this, [this, rowPtr] { Delete_Click(*rowPtr); });
  controls(row).deleteButton = button;
  return button;
}

void EditorForm::setProtocolControls(QLabel* hint, QLabel* prompt, QPushButton* close) {
  hint_ = hint;
  prompt_ = prompt;
  close_ = close;
  prompt_->hide();
  connect(close_, &QPushButton::clicked, this, &EditorForm::Close_Click);
}

bool EditorForm::editing() const {
  const EditSession& session = editSession(program_);
  return program_.session.editActive && session.window == this;
}

bool EditorForm::beingEdited(const FieldRow& row) const {
  if (!editing()) return false;
  const EditBox* b = box(row);
  return &row == editSession(program_).row || (b && focusWidget() == b);
}

void EditorForm::startEdit(EditBox& box) {
  if (!isEnabled()) return;
  HoldPoll(program_, PollHolder::FieldEdit);
  SaveCursorPos(program_);
  LockCursor(program_);
  program_.session.EditIdle = 0;
  EditSession& session = editSession(program_);
  program_.session.editActive = true;
  session.window = this;
  session.row = &box.row();
  hint_->setText(QString::fromStdString(clickHint(box.row(), program_.poll.UnitType)));
  editStarted(box.row());
  prompt_->show();
  SetCursorVisible(program_, 0);
  box.setFocus(Qt::MouseFocusReason);
}

void EditorForm::Box_Click(EditBox& box) {
  startEdit(box);
}

void EditorForm::Box_KeyPress(EditBox& box, int& keyAscii) {
  if (!keyAccepted(keyAscii)) {
    keyAscii = 0;
    return;
  }
  if (!EditInProgress(program_)) startEdit(box);
  if (keyAscii == kKeyEscape) escape(box.row());
  if (keyAscii == kKeyEnter) enter(box);
}

void EditorForm::Box_MouseMove(EditBox& box) {
  if (program_.session.EditIdle == 1)
    hint_->setText(QString::fromStdString(hoverHint(box.row(), program_.poll.UnitType)));
}

void EditorForm::enter(EditBox& box) {
  const FieldRow& row = box.row();
  const QString text = box.text();
  const std::optional<int32_t> value = boxValue(text.toStdString(), row.maxLength);
  if (!text.isEmpty() && !value) {
    escape(row);
    return;
  }
  if (value && filled.station() != program_.linkState.CurrentStation) {
    escape(row);  // the edit ends before the operator is told
    refuseUnread(program_, windowTitle());
    return;
  }
  // WriteUnit's message box may see this window unloaded: after the write
  // only the program is used, and the window only through `self`.
  Program& program = program_;
  QPointer<EditorForm> self(this);
  const WriteOrder order = writeOrder();
  if (order == WriteOrder::LeaveStepsFirst) leaveEditWindowSteps(row);
  bool written = true;
  if (value) written = writeRow(program, row, *value);
  // The marker tells what the unit holds: a refused write leaves it as it was.
  if (QLabel* m = self ? self->marker(row) : nullptr; m && row.offValue && written)
    m->setVisible(text == QString::number(*row.offValue));
  if (self && order == WriteOrder::WriteFirst) self->leaveEditWindowSteps(row);
  leaveEditProgramSteps(program, self);
}

void EditorForm::escape(const FieldRow& row) {
  leaveEditWindowSteps(row);
  leaveEditProgramSteps(program_, this);
}

void EditorForm::leaveEditWindowSteps(const FieldRow& row) {
  if (close_) close_->setFocus(Qt::OtherFocusReason);
  program_.session.EditIdle = 1;
  if (prompt_) prompt_->hide();
  editLeft(row);
}

void EditorForm::leaveEditProgramSteps(Program& program, const EditorForm* from) {
  EditSession& session = editSession(program);
  // An edit started in another window (reached with the keyboard) ends there
  // too, so that its prompt does not stay.
  if (program.session.editActive && session.window && session.window != from && session.row)
    session.window->leaveEditWindowSteps(*session.row);
  program.session.editActive = false;
  session.window = nullptr;
  session.row = nullptr;
  ReleasePoll(program, PollHolder::FieldEdit);
  UnlockCursor(program);
  SetCursorVisible(program, 1);
}

void EditorForm::endEditAsEscape(Program& program) {
  if (!program.session.editActive) return;
  const EditSession& session = editSession(program);
  if (session.window && session.row) {
    session.window->escape(*session.row);
    return;
  }
  program.session.EditIdle = 1;  // the window is gone: the program's half only
  leaveEditProgramSteps(program, nullptr);
}

void EditorForm::clearValues() {
  for (const RowControls& c : rows_) {
    if (c.box) c.box->clear();
    if (c.marker) c.marker->hide();
  }
  filled.clear();
}

void EditorForm::Delete_Click(const FieldRow& row) {
  // The window may be unloaded while the question or WriteUnit's message box
  // is up: after them only the program is used, and the window only through
  // `self`.
  Program& program = program_;
  const PollHold hold(program, PollHolder::DeleteQuestion);
  QPointer<EditorForm> self(this);
  const QString title = windowTitle();
  const uint32_t changes = program.linkState.stationChanges;
  if (filledByCurrentStation(program, filled, title) &&
      MsgBox(program.host, kDeleteQuestion, kYesNoExclamation, kDeleteTitle) != vbNo &&
      row.offValue) {
    if (program.linkState.stationChanges != changes)
      refuseUnread(program, title);  // another station or link under the question
    else if (writeRow(program, row, *row.offValue) && self) {
      if (QLabel* m = self->marker(row)) m->show();
      if (EditBox* b = self->box(row)) b->clear();
    }
  }
}

void EditorForm::Close_Click() {
  Hide();
  program_.windowStates.*windowState_ = kWindowClosed;
}

void EditorForm::Form_Unload() {
  Hide();
  program_.windowStates.*windowState_ = kWindowClosed;
}

void EditorForm::hideEvent(QHideEvent* event) {
  Form::hideEvent(event);
  if (editing()) {
    const EditSession& session = editSession(program_);
    escape(*session.row);
  }
}

EditorForm::SummaryFrame EditorForm::makeSummaryFrame(const QString& caption,
                                                      const QString& hintDesign) {
  constexpr uint32_t kHintColor = 0x00000080;  // dark red
  SummaryFrame summary;
  summary.frame = makeFrame(this, QStringLiteral("Frame3D4"), caption);
  summary.hint = makeLabel(summary.frame, QStringLiteral("Label7"), hintDesign);
  setTextColor(summary.hint, kHintColor);
  summary.prompt =
      makeLabel(summary.frame, QStringLiteral("Label21"), QString::fromUtf8(kEditPrompt));
  QFont bold = summary.prompt->font();
  bold.setBold(true);
  summary.prompt->setFont(bold);
  keepPlaceWhenHidden(summary.prompt);
  auto* layout = new QVBoxLayout(summary.frame);
  layout->addWidget(summary.hint);
  layout->addWidget(summary.prompt);
  return summary;
}

}  // namespace kvlink
