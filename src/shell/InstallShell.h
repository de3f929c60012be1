#pragma once

namespace kvlink {

class Program;

// Connects the main window's shell menu items (File > Exit, Setup, Help) and
// its two timers: Timer1 ticks call hooks.pollTick, TimerCS ticks call
// hooks.watchdogTick, each only while set. Installed first.
void installShell(Program& program);

}  // namespace kvlink
