#include "EditorsModule.h"

#include "Controls.h"
#include "FieldEdit.h"
#include "Form1.h"
#include "Host.h"
#include "InstallEditors.h"
#include "SettingsFile.h"
#include "enc.h"

namespace kvlink {

namespace {

std::vector<WindowVariant> setPointVariants(EditorsModule& m) {
  WindowVariant feeder = variantOf(m.FORM35, {1, 4});
  auto applyTable = [&m](int16_t unitType) { m.FORM35().applyUnitType(unitType); };
  feeder.afterMoveIn = applyTable;
  feeder.onSameWindow = applyTable;
  return {variantOf(m.FORM5, {0}), std::move(feeder), variantOf(m.lpFORM5, {2})};
}

std::vector<WindowVariant> resetVariants(EditorsModule& m) {
  return {variantOf(m.Form10, {0}), variantOf(m.Form40, {1}), variantOf(m.lpForm10, {2}),
          variantOf(m.lpForm40, {4})};
}

}  // namespace

SetPointWindowKind::SetPointWindowKind(Program& program, EditorsModule& module)
    : VariantWindowKind(program.windowStates.SetPointWindowState, setPointVariants(module)),
      program_(program),
      module_(module) {}

void SetPointWindowKind::showStationName(const QString& name) {
  if (program_.ended) return;  // nothing is created again after the program end
  for (QLabel* label :
       {module_.FORM5().Label24, module_.lpFORM5().Label24, module_.FORM35().Label24})
    setElidedText(label, name, kStationNameShownChars);
}

void SetPointWindowKind::refresh() {
  if (program_.ended) return;
  const int16_t unitType = program_.poll.UnitType;
  SetPointForm* window = module_.setPointWindow(unitType);
  if (!window) return;
  window->refreshBoxes(program_.poll.values);
  window->filled.mark(program_.linkState.CurrentStation);
  if (!program_.pumpKeepsStation()) return;  // the boxes were emptied for another station
  // The pump may have unloaded the window: ask again.
  if (SetPointForm* still = module_.setPointWindowIfLoaded(unitType)) still->refreshMarkers();
}

void SetPointWindowKind::forgetStation() {
  EditorForm::endEditAsEscape(program_);
  for (SetPointForm* w : {module_.setPointWindowIfLoaded(0), module_.setPointWindowIfLoaded(1),
                          module_.setPointWindowIfLoaded(2)})
    if (w) w->clearValues();
}

void SetPointWindowKind::endPass() {
  if (auto* w = module_.FORM5.ifLoaded()) w->setEnabled(true);
  if (auto* w = module_.FORM35.ifLoaded()) w->setEnabled(true);
}

void SetPointWindowKind::resetPointers() {
  module_.FORM5().setMousePointer(vbDefault);
  module_.FORM35().setMousePointer(vbDefault);
}

ResetWindowKind::ResetWindowKind(Program& program, EditorsModule& module)
    : VariantWindowKind(program.windowStates.ResetWindowState, resetVariants(module)),
      program_(program),
      module_(module) {}

void ResetWindowKind::showStationName(const QString& name) {
  stationName_ = name;
  for (const WindowVariant& variant : variants())
    if (auto* panel = static_cast<ResetPanel*>(variant.ifLoaded()))
      setElidedText(panel->Label4, name, kStationNameShownChars);
}

void ResetWindowKind::refresh() {
  if (program_.ended) return;
  const PolledValues& values = program_.poll.values;
  module_.Form10().refresh(stationName_, values);
  module_.Form40().refresh(stationName_, values);
  module_.lpForm10().refresh(stationName_, values);
  module_.lpForm40().refresh(stationName_, values);
  // Commands are queued only from the panel of the unit type read.
  if (const WindowVariant* variant = variantFor(program_.poll.UnitType))
    static_cast<ResetPanel&>(variant->window()).filled.mark(program_.linkState.CurrentStation);
}

void ResetWindowKind::forgetStation() {
  for (ResetPanel* w :
       std::initializer_list<ResetPanel*>{module_.Form10.ifLoaded(), module_.Form40.ifLoaded(),
                                          module_.lpForm10.ifLoaded(), module_.lpForm40.ifLoaded()})
    if (w) w->clearValues();
}

void ResetWindowKind::endPass() {
  if (auto* w = module_.Form10.ifLoaded()) w->setEnabled(true);
  if (auto* w = module_.Form40.ifLoaded()) w->setEnabled(true);
}

void ResetWindowKind::resetPointers() {
  module_.Form10().setMousePointer(vbDefault);
  module_.Form40().setMousePointer(vbDefault);
}

EditorsModule::EditorsModule(Program& program)
    : setPoints(program, *this), resets(program, *this), program_(program) {
  checkPassword = [&program](int16_t level) { return CheckPassword(program, level); };
  auto setPointFactory = [this](auto* tag) {
    using T = std::remove_pointer_t<decltype(tag)>;
    return [this] {
      auto window = std::make_unique<T>(program_);
      window->onProgramModeSettings = [this](SetPointForm& from) {
        if (programModeSettings) programModeSettings(from);
      };
      return window;
    };
  };
  FORM5.setFactory(setPointFactory(static_cast<kvlink::FORM5*>(nullptr)));
  lpFORM5.setFactory(setPointFactory(static_cast<kvlink::lpFORM5*>(nullptr)));
  FORM35.setFactory(setPointFactory(static_cast<kvlink::FORM35*>(nullptr)));
  auto panelFactory = [this](auto* tag) {
    using T = std::remove_pointer_t<decltype(tag)>;
    return [this] {
      auto window = std::make_unique<T>(program_);
      window->checkPassword = [this](int16_t level) { return checkPassword(level); };
      return window;
    };
  };
  Form10.setFactory(panelFactory(static_cast<kvlink::Form10*>(nullptr)));
  Form40.setFactory(panelFactory(static_cast<kvlink::Form40*>(nullptr)));
  lpForm10.setFactory(panelFactory(static_cast<kvlink::lpForm10*>(nullptr)));
  lpForm40.setFactory(panelFactory(static_cast<kvlink::lpForm40*>(nullptr)));
}

EditorsModule::~EditorsModule() = default;

void EditorsModule::unloadWindows() {
  FORM5.Unload();
  lpFORM5.Unload();
  FORM35.Unload();
  Form10.Unload();
  Form40.Unload();
  lpForm10.Unload();
  lpForm40.Unload();
}

SetPointForm* EditorsModule::setPointWindow(int16_t unitType) {
  switch (unitType) {
    case 0:
      return &FORM5();
    case 1:
    case 4:
      return &FORM35();
    case 2:
      return &lpFORM5();
    default:
      return nullptr;
  }
}

SetPointForm* EditorsModule::setPointWindowIfLoaded(int16_t unitType) {
  switch (unitType) {
    case 0:
      return FORM5.ifLoaded();
    case 1:
    case 4:
      return FORM35.ifLoaded();
    case 2:
      return lpFORM5.ifLoaded();
    default:
      return nullptr;
  }
}

void EditorsModule::mnuDisplaySet_Click() {
  if (checkPassword(1) != 1) return;
  program_.session.EditIdle = 1;
  setPoints.open(program_.poll.UnitType);
}

void EditorsModule::Command3D1_Click() {
  if (checkPassword(1) != 1) return;
  resets.open(program_.poll.UnitType);
}

EditorsModule& editorsModule(Program& program) {
  return program.module<EditorsModule>();
}

void installEditors(Program& program) {
  auto owned = std::make_unique<EditorsModule>(program);
  EditorsModule& module = *owned;
  program.addModule(std::move(owned));
  program.addWindowKind(&module.setPoints);
  program.addWindowKind(&module.resets);
  Form1& main = program.Form1();
  QObject::connect(main.mnuDisplaySet, &QAction::triggered, &main,
                   [&module] { module.mnuDisplaySet_Click(); });
  QObject::connect(main.Command3D1, &QPushButton::clicked, &main,
                   [&module] { module.Command3D1_Click(); });
}

}  // namespace kvlink
