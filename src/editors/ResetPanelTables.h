#pragma once
// The reset and remote control panels as data: which command buttons each
// of the four windows has, in which frame, and which request flag each sets.

#include <vector>

#include "ProgramState.h"

namespace kvlink {

enum class PanelFrame { Reset, Remote };

struct CommandButton {
  const char* name;     // "Command3D1"
  const char* caption;  // "Trip Reset"
  PanelFrame frame;
  // The request flag the button sets; nullptr for the ETR button, which asks
  // the master password and a confirmation first.
  bool CommandRequests::*flag;
};

// Every command button, in the order the panels show them.
const std::vector<CommandButton>& commandButtons();

struct ResetPanelDesign {
  const char* designName;  // "Form10"
  const char* caption;     // "RVX Reset Control"
  int unitType;
  std::vector<const char*> buttons;  // names of the command buttons it has
  bool showsEtrPeak;                 // Label3 in the frame "ETR Peak"
};

const ResetPanelDesign& form10Design();
const ResetPanelDesign& form40Design();
const ResetPanelDesign& lpForm10Design();
const ResetPanelDesign& lpForm40Design();

inline const char* const kEtrButton = "Command3D3";
inline const char* const kEtrRefused = "Password Incorrect...You require a higher level password!";
inline const char* const kEtrQuestion = "Are you sure?";
inline const char* const kEtrTitle = "Emergency Thermal Reset!";

}  // namespace kvlink
