#pragma once
// The main window's File menu commands of the configuration files, and the
// two services the configuration-file windows share: the off-line test and
// the File items they disable and enable again.

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

// The unit counts as off line when the Display menu is disabled or the last
// poll pass found the selected station silent (PollStatus 1 or 3).
bool UnitOffLine(Program& program);

}  // namespace kvlink
