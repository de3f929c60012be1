#pragma once
// The main window's File menu commands of the configuration files, and the
// File items the configuration-file windows disable and enable again.

#include "UnitOffLine.h"

namespace kvlink {

class Program;

// File > "Quick &Configure": disables "Quick &Configure" and "&Save Set
// Point Info", asks the general password and shows the warning. When the
// password is refused both items are enabled again.
void Form1_mnuopen_Click(Program& program);

// File > "&Save Set Point Info": disables both items and shows the save
// window; no password.
void Form1_mnusaveset_Click(Program& program);

// File > "Edit CON file (&Notepad)": chooses a *.con file and opens it in
// the operator's text editor; when none can be started, a message box names
// the file.
void Form1_mnuNotepad_Click(Program& program);

// "Quick &Configure" and "&Save Set Point Info" of the main window.
void setConfigFileItemsEnabled(Program& program, bool on);

}  // namespace kvlink
