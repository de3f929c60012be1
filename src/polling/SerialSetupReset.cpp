#include "SerialSetupReset.h"

#include "Form16.h"
#include "Program.h"

namespace kvlink {

void resetSerialSetupForNewEnable(Program& program) {
  Form16& setup = program.Form16();
  setup.Command3D1->setEnabled(true);
  setup.Command3D2->setEnabled(false);
  setup.setLinkSettingsEnabled(true);
}

}  // namespace kvlink
