#include "FieldEdit.h"

#include <QTimer>

#include "Form1.h"
#include "Program.h"

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
  return program.session.editActive;
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

}  // namespace kvlink
