#pragma once
// The configuration-file windows of the program: the save window, the
// quick-configuration warning and wizard, their single instances, and the
// window kind through which the poll pass keeps their buttons still while a
// pass waits in an event pump.

#include <QAction>

#include "ConfigWarning.h"
#include "DefaultInstance.h"
#include "FormConfig.h"
#include "FormSaveInfo.h"
#include "Program.h"
#include "WindowKind.h"

namespace kvlink {

class ConfigFileModule;

// The poll pass holds FormSaveInfo and FormConfig still while it runs (their
// Enabled property False, not greyed, the focus kept; what the operator does
// meanwhile is acted on after the pass) and shows the hourglass over
// FormConfig during the station read. A quick configuration keeps FormConfig
// disabled until it ends, whatever a pass in one of its event pumps does. These windows are not
// data windows: nothing closes them but their own buttons and the program end.
class ConfigFileWindowKind : public WindowKind {
 public:
  explicit ConfigFileWindowKind(ConfigFileModule& module) : module_(module) {}

  void closeAll(CloseReason) override {}
  void beginPass() override;
  void resetPointers() override;
  void endPass() override;

 private:
  ConfigFileModule& module_;
};

class ConfigFileModule : public Module {
 public:
  explicit ConfigFileModule(Program& program);
  ~ConfigFileModule() override;

  DefaultInstance<kvlink::FormSaveInfo> FormSaveInfo;
  DefaultInstance<kvlink::ConfigWarning> ConfigWarning;
  DefaultInstance<kvlink::FormConfig> FormConfig;
  ConfigFileWindowKind kind{*this};

  // File > "Edit CON file (&Notepad)", added to the main window's File menu.
  QAction* mnuNotepad = nullptr;

  // True from the start of a quick configuration's writes to its end.
  bool downloadRunning = false;

  void unloadWindows() override;
};

// The module of a program (installed by installConfigFile).
ConfigFileModule& configFileModule(Program& program);

}  // namespace kvlink
