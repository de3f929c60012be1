#include "FieldEdit.h"

#include <QTimer>

#include "Form1.h"
#include "Program.h"
#include "ShellCalls.h"

namespace kvlink {

namespace {

class EditSessionModule : public Module {
 public:
  EditSession session;
};

}  // namespace

EditSession& editSession(Program& program) {
  if (auto* module = program.findModule<EditSessionModule>()) return module->session;
  auto module = std::make_unique<EditSessionModule>();
  EditSession& session = module->session;
  program.addModule(std::move(module));
  return session;
}

bool EditInProgress(Program& program) {
  return editSession(program).active;
}

void SaveCursorPos(Program& program) {
  program.pointer.savePosition();
}

void LockCursor(Program& program) {
  program.pointer.lock();
}

void UnlockCursor(Program& program) {
  program.pointer.unlock();
}

void SetCursorVisible(Program& program, int16_t show) {
  if (show == 0) program.pointer.setVisible(false);
  if (show == 1) program.pointer.setVisible(true);
}

void StopPollTimer(Program& program) {
  program.Form1().Timer1->stop();
}

void RestartPollIfIdle(Program& program) {
  if (EditInProgress(program) || !editorsLinkIsOpen(program)) return;
  QTimer* timer = program.Form1().Timer1;
  if (!timer->isActive()) timer->start();
}

}  // namespace kvlink
