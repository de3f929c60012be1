#pragma once
// The main window's two timers: Timer1 drives the poll, TimerCS is the
// communication watchdog.

namespace kvlink {

class Program;

constexpr int kPollIntervalMs = 1000;

// Timer1 tick: one poll pass.
void Form1_Timer1_Timer(Program& program);

// TimerCS tick: while polling is off and the link closed, every data window
// is closed and the program is put back into its not-connected state.
void Form1_TimerCS_Timer(Program& program);

}  // namespace kvlink
