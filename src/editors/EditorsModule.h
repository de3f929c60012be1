#pragma once
// The set-point windows and the reset/remote panels of the program: their
// single instances, their window kinds in the poll pass, and the main
// window's commands that open them.

#include <functional>

#include "DefaultInstance.h"
#include "Program.h"
#include "ResetPanel.h"
#include "SetPointWindows.h"
#include "VariantWindowKind.h"

namespace kvlink {

class EditorsModule;

// Set points: FORM5 (state 0), FORM35 (1 or 4, re-captioned between them),
// lpFORM5 (2). The pass writes the station name into all three, refreshes
// the window of the unit type and resets their pointers.
class SetPointWindowKind : public VariantWindowKind {
 public:
  SetPointWindowKind(Program& program, EditorsModule& module);

  void showStationName(const QString& name) override;
  void refresh() override;
  void endPass() override;
  void resetPointers() override;
  void forgetStation() override;

 private:
  Program& program_;
  EditorsModule& module_;
};

// Reset panels: Form10 (0), Form40 (1), lpForm10 (2), lpForm40 (4). The
// station name goes into the panels there are; the answered pass writes
// station name, reset time and ETR peak into all four.
class ResetWindowKind : public VariantWindowKind {
 public:
  ResetWindowKind(Program& program, EditorsModule& module);

  void showStationName(const QString& name) override;
  void refresh() override;
  void endPass() override;
  void resetPointers() override;
  void forgetStation() override;

 private:
  Program& program_;
  EditorsModule& module_;
  QString stationName_;
};

class EditorsModule : public Module {
 public:
  explicit EditorsModule(Program& program);
  ~EditorsModule() override;

  DefaultInstance<kvlink::FORM5> FORM5;
  DefaultInstance<kvlink::lpFORM5> lpFORM5;
  DefaultInstance<kvlink::FORM35> FORM35;
  DefaultInstance<kvlink::Form10> Form10;
  DefaultInstance<kvlink::Form40> Form40;
  DefaultInstance<kvlink::lpForm10> lpForm10;
  DefaultInstance<kvlink::lpForm40> lpForm40;

  SetPointWindowKind setPoints;
  ResetWindowKind resets;

  // "Program-Mode Settings" (Command13) of the set-point windows; filled by
  // the program-mode windows' installer. The argument is the window whose
  // button was pressed.
  std::function<void(SetPointForm&)> programModeSettings;

  // CheckPassword as the editors ask it (the shell's by default).
  std::function<int16_t(int16_t level)> checkPassword;

  // The set-point window of a unit type, created when missing; nullptr for
  // an unknown type.
  SetPointForm* setPointWindow(int16_t unitType);
  SetPointForm* setPointWindowIfLoaded(int16_t unitType);

  // Program end: every window is unloaded, its unload handler runs.
  void unloadWindows() override;

  // Main window commands.
  void mnuDisplaySet_Click();  // Display > "&Set Points"
  void Command3D1_Click();     // "RESET Menu"

 private:
  Program& program_;
};

// The editors module of a program (installed by installEditors).
EditorsModule& editorsModule(Program& program);

}  // namespace kvlink
