#pragma once
// The reset and remote control panels: one window class in four
// configurations (Form10 type 0, Form40 type 1, lpForm10 type 2, lpForm40
// type 4). A command button only sets its request flag; the next answered
// poll writes the command. ETR asks the master password and "Are you sure?"
// first. A panel not yet filled by the current station queues nothing.

#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <functional>

#include "FilledFrom.h"
#include "Form.h"
#include "ResetPanelTables.h"

namespace kvlink {

class Program;
struct PolledValues;

class ResetPanel : public Form {
  Q_OBJECT
 public:
  ResetPanel(Program& program, const ResetPanelDesign& design);

  const ResetPanelDesign& design() const { return design_; }

  QFrame* Panel3D1 = nullptr;
  QLabel* Label4 = nullptr;           // station name
  QGroupBox* resetFrame = nullptr;    // "Reset Panel"
  QGroupBox* remoteFrame = nullptr;   // "Remote Panel" (nullptr without remote buttons)
  QLabel* Label2 = nullptr;           // reset time, in "Reset Time"
  QLabel* Label3 = nullptr;           // ETR peak, in "ETR Peak" (motor family only)
  QPushButton* Command3D6 = nullptr;  // "Close"

  // A command button by design name; nullptr when this panel has none.
  QPushButton* commandButton(const char* name) const;

  // Handlers.
  void Flag_Click(const CommandButton& button);
  void Command3D3_Click();  // ETR
  void Command3D6_Click();  // Close
  void Form_Unload() override;

  // How the panel asks CheckPassword; set by the module that owns it.
  std::function<int16_t(int16_t level)> checkPassword;

  // The poll's refresh of an answered pass.
  void refresh(const QString& stationName, const PolledValues& values);
  // No station: name, reset time and ETR peak empty until a station answers,
  // and the panel counts as filled by no station.
  void clearValues();
  // The station whose answered pass filled the panel last, with the panel of
  // its unit type; a command is queued only while it is the current station.
  FilledFrom filled;

 private:
  void buildDesign();

  Program& program_;
  const ResetPanelDesign& design_;
};

class Form10 : public ResetPanel {
  Q_OBJECT
 public:
  explicit Form10(Program& program) : ResetPanel(program, form10Design()) {}
};

class Form40 : public ResetPanel {
  Q_OBJECT
 public:
  explicit Form40(Program& program) : ResetPanel(program, form40Design()) {}
};

class lpForm10 : public ResetPanel {
  Q_OBJECT
 public:
  explicit lpForm10(Program& program) : ResetPanel(program, lpForm10Design()) {}
};

class lpForm40 : public ResetPanel {
  Q_OBJECT
 public:
  explicit lpForm40(Program& program) : ResetPanel(program, lpForm40Design()) {}
};

}  // namespace kvlink
