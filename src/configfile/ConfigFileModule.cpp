#include "ConfigFileModule.h"

namespace kvlink {

void ConfigFileWindowKind::beginPass() {
  if (auto* save = module_.FormSaveInfo.ifLoaded()) save->holdInput(true);
  if (auto* wizard = module_.FormConfig.ifLoaded()) {
    wizard->holdInput(true);
    wizard->setMousePointer(vbHourglass);
  }
}

void ConfigFileWindowKind::resetPointers() {
  if (auto* wizard = module_.FormConfig.ifLoaded()) wizard->setMousePointer(vbDefault);
}

void ConfigFileWindowKind::endPass() {
  if (auto* save = module_.FormSaveInfo.ifLoaded()) save->holdInput(false);
  if (auto* wizard = module_.FormConfig.ifLoaded()) wizard->holdInput(false);
}

ConfigFileModule::ConfigFileModule(Program& program) {
  FormSaveInfo.setFactory([&program] { return std::make_unique<kvlink::FormSaveInfo>(program); });
  ConfigWarning.setFactory([&program] { return std::make_unique<kvlink::ConfigWarning>(program); });
  FormConfig.setFactory([&program] { return std::make_unique<kvlink::FormConfig>(program); });
}

ConfigFileModule::~ConfigFileModule() = default;

void ConfigFileModule::unloadWindows() {
  FormConfig.Unload();
  ConfigWarning.Unload();
  FormSaveInfo.Unload();
}

ConfigFileModule& configFileModule(Program& program) {
  return program.module<ConfigFileModule>();
}

}  // namespace kvlink
