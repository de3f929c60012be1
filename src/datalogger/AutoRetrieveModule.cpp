#include "AutoRetrieveModule.h"

namespace kvlink {

AutoRetrieveModule::AutoRetrieveModule(Program& program) {
  AutoSave.setFactory([&program] { return std::make_unique<kvlink::AutoSave>(program); });
  AutoSaveDir.setFactory([&program] { return std::make_unique<kvlink::AutoSaveDir>(program); });
}

AutoRetrieveModule::~AutoRetrieveModule() = default;

void AutoRetrieveModule::unloadWindows() {
  AutoSaveDir.Unload();
  AutoSave.Unload();
}

void Form1_mnuautoretrieve_Click(Program& program) {
  program.module<AutoRetrieveModule>().AutoSave().Show();
}

}  // namespace kvlink
