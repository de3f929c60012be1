#pragma once
// The program-wide state of the field-edit protocol and the procedures it is
// made of, shared by every editor window (set points, CT settings):
//
//   idle    -- EditIdle 1, pointer free and visible, the poll timer as the
//              rest of the program left it;
//   editing -- EditIdle 0, poll timer off, pointer pinned and hidden, the
//              window's prompt shown; one box of one window started it.
//
// The poll timer is switched back on only while the link is open and no
// edit is in progress, so neither the end of a Delete question during an
// edit nor the end of an edit while the link is closed starts the poll.

#include <QPointer>
#include <cstdint>

#include "PollSwitch.h"

namespace kvlink {

class Program;
class EditorForm;
struct FieldRow;

struct EditSession {
  QPointer<EditorForm> window;  // the window whose box started the edit
  const FieldRow* row = nullptr;
};

// The edit session of the program (created on first use).
EditSession& editSession(Program& program);
bool EditInProgress(Program& program);

// The pointer procedures of the field edit, on the program's pointer state.
void SaveCursorPos(Program& program);
void LockCursor(Program& program);
// Frees the pointer from every confinement.
void UnlockCursor(Program& program);
// 0 hides the pointer, 1 shows it; any other value does nothing.
void SetCursorVisible(Program& program, int16_t show);

}  // namespace kvlink
