#pragma once
// The program-mode windows Form6 (motor family) and Form36 (feeder family)
// and their window kind: the poll disables their "Apply Settings" buttons
// for the length of a pass, and the window swap moves an open one to the
// variant of a new unit type and shows the words again.

#include <memory>

#include "DefaultInstance.h"
#include "Form36.h"
#include "Form6.h"
#include "Program.h"
#include "VariantWindowKind.h"

namespace kvlink {

class ProgramModeModule : public Module {
 public:
  explicit ProgramModeModule(Program& program);
  ~ProgramModeModule() override;

  DefaultInstance<kvlink::Form6> Form6;
  DefaultInstance<kvlink::Form36> Form36;

  ProgramModeWindow& window(ProgramModeFamily family);
  ProgramModeWindow* windowIfLoaded(ProgramModeFamily family);
  VariantWindowKind& kind();
  void unloadWindows() override;

 private:
  class Kind;
  std::unique_ptr<Kind> kind_;
};

}  // namespace kvlink
