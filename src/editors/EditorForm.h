#pragma once
// The base of every editor window that edits unit registers box by box (the
// set-point windows FORM5, lpFORM5, FORM35 and the CT windows Form7,
// lpForm7, Form37). It runs the field-edit protocol once for all of them.
//
// How a window declares its rows:
//  1. Write its field table, a FieldTable (FieldRow.h): per box its design
//     name, register, maximum length, click hint, hover hint where different,
//     hint for unit type 1 where the type chooses, and -- set-point windows
//     only -- off value, "<<Deleted" marker name, Delete button name.
//  2. Derive from EditorForm, passing the table and the window-state member
//     (&WindowStates::SetPointWindowState, &WindowStates::CTWindowState).
//  3. In the constructor create the controls and lay them out as the window
//     wants: makeBox(row), makeMarker(row) and makeDeleteButton(row) for each
//     row (they wire the protocol), and the hint label (Label7), the prompt
//     label (Label21, hidden) and the Close button, handed over with
//     setProtocolControls(). Close is wired to Close_Click.
//  4. Optional steps of the window: editStarted(row) runs at the click's
//     hint step (the CT windows show their notes there), editLeft(row) at the
//     end of the edit (hide them); writeOrder() LeaveStepsFirst moves the
//     focus change, EditIdle := 1, the prompt and the notes before Enter's
//     write, as the CT windows do. A window without markers has no Enter
//     marker step; a row without a Delete button has none.
//
// The protocol: a click (button release) or the first accepted key in a box
// while no edit runs stops the poll timer, pins and hides the pointer, sets
// EditIdle 0, shows the hint and the prompt and focuses the box; the key
// filter passes only digits, Backspace, Enter and Esc; Enter writes a box of
// 1 to maximum-length digits to the row's register (anything else writes
// nothing and ends as Esc); Esc abandons the edit; hiding or closing the
// window during an edit ends it as Esc; hover hints only while EditIdle is 1.
// Enter and Delete write only while the window shows the current station's
// values (`filled`); otherwise they are refused and write nothing. A row's
// "<<Deleted" marker and box change only after a write the unit took.

#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <vector>

#include "EditBox.h"
#include "FieldRow.h"
#include "FilledFrom.h"
#include "Form.h"
#include "ProgramState.h"

namespace kvlink {

class Program;

class EditorForm : public Form {
  Q_OBJECT
 public:
  EditorForm(Program& program, const QString& designName, const FieldTable& fields,
             int16_t WindowStates::*windowState);

  Program& program() const { return program_; }
  const FieldTable& fields() const { return fields_; }

  // The controls of a row, by the row or by the box's design name; nullptr
  // when the window has none.
  EditBox* box(const FieldRow& row) const;
  EditBox* box(const char* name) const;
  QLabel* marker(const FieldRow& row) const;
  QPushButton* deleteButton(const FieldRow& row) const;

  QLabel* hintLabel() const { return hint_; }
  QLabel* promptLabel() const { return prompt_; }
  QPushButton* closeButton() const { return close_; }

  // Handlers of the protocol (window_box_event in the design).
  void Box_Click(EditBox& box);
  void Box_KeyPress(EditBox& box, int& keyAscii);
  void Box_MouseMove(EditBox& box);
  void Delete_Click(const FieldRow& row);
  void Close_Click();
  void Form_Unload() override;

  // True while an edit started in this window runs.
  bool editing() const;
  // Ends a running field edit, in whichever window, as Esc does.
  static void endEditAsEscape(Program& program);
  // No station's values: every box empty, every "<<Deleted" marker hidden,
  // and the window counts as filled by no station.
  void clearValues();
  // The station whose answered pass filled the boxes last (the pass marks
  // it); Enter and Delete write only while it is the current station.
  FilledFrom filled;
  // True for the box of an edit in progress (the one clicked, or the one the
  // keyboard has moved to since): the poll leaves it as the operator has it.
  bool beingEdited(const FieldRow& row) const;

 protected:
  enum class WriteOrder { WriteFirst, LeaveStepsFirst };

  EditBox* makeBox(const FieldRow& row, QWidget* parent);
  QLabel* makeMarker(const FieldRow& row, QWidget* parent);
  QPushButton* makeDeleteButton(const FieldRow& row, QWidget* parent);
  void setProtocolControls(QLabel* hint, QLabel* prompt, QPushButton* close);
  // The summary frame every editor window shows under its rows: the hint
  // label (Label7, the design caption `hintDesign`, dark red) and the prompt
  // label (Label21, bold, keeps its place while hidden).
  struct SummaryFrame {
    QGroupBox* frame;
    QLabel* hint;
    QLabel* prompt;
  };
  SummaryFrame makeSummaryFrame(const QString& caption, const QString& hintDesign);

  virtual void editStarted(const FieldRow&) {}
  virtual void editLeft(const FieldRow&) {}
  virtual WriteOrder writeOrder() const { return WriteOrder::WriteFirst; }

  void hideEvent(QHideEvent* event) override;

 private:
  struct RowControls {
    const FieldRow* row = nullptr;
    EditBox* box = nullptr;
    QLabel* marker = nullptr;
    QPushButton* deleteButton = nullptr;
  };
  RowControls& controls(const FieldRow& row);
  const RowControls* findControls(const FieldRow& row) const;

  void startEdit(EditBox& box);
  void enter(EditBox& box);
  // The window's half of the leave-edit steps: focus to Close, EditIdle 1,
  // prompt hidden, the window's own steps.
  void leaveEditWindowSteps(const FieldRow& row);
  // The program's half: the session ends, poll timer, pointer. Static, so
  // that it runs after the window `from` went away under a message box.
  static void leaveEditProgramSteps(Program& program, const EditorForm* from);
  void escape(const FieldRow& row);

  Program& program_;
  const FieldTable& fields_;
  int16_t WindowStates::*windowState_;
  std::vector<RowControls> rows_;
  QLabel* hint_ = nullptr;
  QLabel* prompt_ = nullptr;
  QPushButton* close_ = nullptr;
};

}  // namespace kvlink
