#include "ProgramModeModule.h"

#include "PollSwitch.h"

namespace kvlink {

class ProgramModeModule::Kind : public VariantWindowKind {
 public:
  Kind(Program& program, ProgramModeModule& module, std::vector<WindowVariant> variants)
      : VariantWindowKind(program.windowStates.ProgramModeWindowState, std::move(variants)),
        program_(program),
        module_(module) {}

  // No click on "Apply Settings" while a pass runs.
  void beginPass() override { setApplyEnabled(false); }
  void endPass() override { setApplyEnabled(true); }
  // Hidden by the link's Disable, the watchdog or No Response: the window
  // holds the poll no longer.
  void closeAll(CloseReason reason) override {
    VariantWindowKind::closeAll(reason);
    ReleasePoll(program_, PollHolder::ProgramMode);
  }
  void forgetStation() override {
    for (ProgramModeFamily family : {ProgramModeFamily::Motor, ProgramModeFamily::Feeder})
      if (ProgramModeWindow* window = module_.windowIfLoaded(family)) window->clearSettings();
  }

 private:
  void setApplyEnabled(bool on) {
    for (ProgramModeFamily family : {ProgramModeFamily::Motor, ProgramModeFamily::Feeder})
      if (ProgramModeWindow* window = module_.windowIfLoaded(family))
        window->Command1->setEnabled(on);
  }

  Program& program_;
  ProgramModeModule& module_;
};

ProgramModeModule::ProgramModeModule(Program& program) {
  Form6.setFactory([&program] { return std::make_unique<kvlink::Form6>(program); });
  Form36.setFactory([&program] { return std::make_unique<kvlink::Form36>(program); });

  int16_t& state = program.windowStates.ProgramModeWindowState;
  // The window that takes the other's place (whose unload let go of the
  // poll) holds the poll in its turn.
  auto moveIn = [this, &program](ProgramModeFamily family, int16_t unitType) {
    HoldPoll(program, PollHolder::ProgramMode);
    window(family).DecodeProgramModeWords(unitType);
  };
  WindowVariant motor = variantOf(Form6, {0, 2});
  // Types 0 and 2 share the window: only the state changes.
  motor.afterMoveIn = [moveIn](int16_t unitType) { moveIn(ProgramModeFamily::Motor, unitType); };

  WindowVariant feeder = variantOf(Form36, {1, 4});
  feeder.afterMoveIn = [moveIn](int16_t unitType) { moveIn(ProgramModeFamily::Feeder, unitType); };
  // Between types 1 and 4 the window is re-captioned and shows the words
  // again; the same type again changes nothing.
  feeder.onSameWindow = [this, &state](int16_t unitType) {
    if (state != unitType) Form36().DecodeProgramModeWords(unitType);
  };

  kind_ = std::make_unique<Kind>(program, *this, std::vector<WindowVariant>{motor, feeder});
}

ProgramModeModule::~ProgramModeModule() = default;

VariantWindowKind& ProgramModeModule::kind() {
  return *kind_;
}

void ProgramModeModule::unloadWindows() {
  Form6.Unload();
  Form36.Unload();
}

ProgramModeWindow& ProgramModeModule::window(ProgramModeFamily family) {
  if (family == ProgramModeFamily::Motor) return Form6();
  return Form36();
}

ProgramModeWindow* ProgramModeModule::windowIfLoaded(ProgramModeFamily family) {
  if (family == ProgramModeFamily::Motor) return Form6.ifLoaded();
  return Form36.ifLoaded();
}

}  // namespace kvlink
