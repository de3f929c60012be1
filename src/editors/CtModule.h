#pragma once
// The CT and full-load-current windows of the program: their single
// instances, their window kind in the poll pass and Display > "&CT and Misc
// Settings".

#include <memory>

#include "CtForm.h"
#include "DefaultInstance.h"
#include "Program.h"
#include "VariantWindowKind.h"

namespace kvlink {

class CtModule;

// Form7 (state 0), Form37 (state 1 for types 1 and 4, re-captioned in every
// answered pass), lpForm7 (state 2). Every pass writes the station name into
// all three; every answered pass, after one event pump, their boxes.
class CtWindowKind : public VariantWindowKind {
 public:
  CtWindowKind(Program& program, CtModule& module);

  void showStationName(const QString& name) override;
  void refresh() override;
  void endPass() override;
  void resetPointers() override;
  void forgetStation() override;

 private:
  Program& program_;
  CtModule& module_;
};

class CtModule : public Module {
 public:
  explicit CtModule(Program& program);
  ~CtModule() override;

  DefaultInstance<kvlink::Form7> Form7;
  DefaultInstance<kvlink::lpForm7> lpForm7;
  DefaultInstance<kvlink::Form37> Form37;

  CtWindowKind kind;

  // Display > "&CT and Misc Settings": the general password, then the window
  // of the unit type with its prompt hidden.
  void mnuDisplayCT_Click();

  void unloadWindows() override;

 private:
  Program& program_;
};

CtModule& ctModule(Program& program);

}  // namespace kvlink
