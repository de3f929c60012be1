#pragma once
// Start and end of the program: the single-instance check and the start-up
// window, the main window's load handler (defaults, settings, the serial
// set-up window and the autostart of the link), and the program end.

#include <QString>
#include <string>

namespace kvlink {

class Program;
class SingleInstanceLock;

enum class StartResult { Started, AlreadyRunning, Failed };

inline const QString kAlreadyRunning = QStringLiteral("KV-LINK27 is already running.");

// Takes the single-instance lock on `settingsDir`. When another copy of the
// program holds it (AlreadyRunning), or it cannot be taken (Failed), the
// operator is told on standard error and in a message box, and the caller
// ends. Otherwise the start-up window shows; after 2000 ms it loads and shows
// the main window.
StartResult StartProgram(Program& program, SingleInstanceLock& lock,
                         const std::string& settingsDir);
// The same on the settings directory.
StartResult StartProgram(Program& program, SingleInstanceLock& lock);

// The main window's load handler. It runs when the start-up shows the main
// window, after every subsystem is installed (installing connects the main
// window's menus, which creates the window).
void Form1_Form_Load(Program& program);

// Runs the main window's load handler, then shows the window.
void ShowMainWindow(Program& program);

// Program end (File > Exit, the main window closed): every window is
// unloaded, so that its unload handler runs, the serial port is released and
// the event loop ends. Runs once.
void EndProgram(Program& program);

}  // namespace kvlink
