#include "CtModule.h"

#include "Controls.h"
#include "EditorsModule.h"
#include "Host.h"
#include "SettingsFile.h"
#include "enc.h"

namespace kvlink {

namespace {

std::vector<WindowVariant> ctVariants(CtModule& m) {
  WindowVariant feeder = variantOf(m.Form37, {1, 4});
  feeder.stateFor = [](int16_t) -> int16_t { return 1; };
  auto applyTable = [&m](int16_t unitType) { m.Form37().applyUnitType(unitType); };
  feeder.afterMoveIn = applyTable;
  feeder.onSameWindow = applyTable;
  return {variantOf(m.Form7, {0}), std::move(feeder), variantOf(m.lpForm7, {2})};
}

}  // namespace

CtWindowKind::CtWindowKind(Program& program, CtModule& module)
    : VariantWindowKind(program.windowStates.CTWindowState, ctVariants(module)),
      program_(program),
      module_(module) {}

void CtWindowKind::showStationName(const QString& name) {
  for (QLabel* label :
       {module_.Form7().Label10, module_.lpForm7().Label10, module_.Form37().Label10})
    setElidedText(label, name, kStationNameShownChars);
}

void CtWindowKind::refresh() {
  if (!program_.pumpKeepsStation()) return;  // the boxes were emptied for another station
  // The pump may have unloaded a window: the next reference makes it again.
  const PolledValues& values = program_.poll.values;
  module_.Form7().refreshBoxes(values);
  module_.lpForm7().refreshBoxes(values);
  module_.Form37().refreshBoxes(values);
  // Only the window of the unit type read holds that unit's settings.
  if (const WindowVariant* variant = variantFor(program_.poll.UnitType))
    static_cast<CtForm&>(variant->window()).filled.mark(program_.linkState.CurrentStation);
}

void CtWindowKind::forgetStation() {
  EditorForm::endEditAsEscape(program_);
  for (CtForm* w : std::initializer_list<CtForm*>{
           module_.Form7.ifLoaded(), module_.lpForm7.ifLoaded(), module_.Form37.ifLoaded()})
    if (w) w->clearValues();
}

void CtWindowKind::endPass() {
  if (auto* w = module_.Form7.ifLoaded()) w->setEnabled(true);
  if (auto* w = module_.Form37.ifLoaded()) w->setEnabled(true);
}

void CtWindowKind::resetPointers() {
  module_.Form7().setMousePointer(vbDefault);
  module_.Form37().setMousePointer(vbDefault);
}

CtModule::CtModule(Program& program) : kind(program, *this), program_(program) {
  Form7.setFactory([&program] { return std::make_unique<kvlink::Form7>(program); });
  lpForm7.setFactory([&program] { return std::make_unique<kvlink::lpForm7>(program); });
  Form37.setFactory([&program] { return std::make_unique<kvlink::Form37>(program); });
}

CtModule::~CtModule() = default;

void CtModule::mnuDisplayCT_Click() {
  EditorsModule* editors = program_.findModule<EditorsModule>();
  const int16_t granted = editors ? editors->checkPassword(1) : CheckPassword(program_, 1);
  if (granted != 1) return;
  program_.session.EditIdle = 1;
  const int16_t unitType = program_.poll.UnitType;
  if (!kind.open(unitType)) return;
  const WindowVariant* shown = kind.variantFor(unitType);
  static_cast<CtForm&>(shown->window()).Label21->hide();
}

void CtModule::unloadWindows() {
  Form7.Unload();
  lpForm7.Unload();
  Form37.Unload();
}

CtModule& ctModule(Program& program) {
  return program.module<CtModule>();
}

}  // namespace kvlink
