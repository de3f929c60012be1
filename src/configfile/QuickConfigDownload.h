#pragma once
// The quick configuration's Send step: the set points of the chosen *.con
// file are written to the selected unit one register at a time, each read
// back and compared before the next, with the poll stopped and the wizard
// disabled. Nothing is written unless the whole file is good and the unit
// on the line is of the file's type; the first register that fails stops
// the download and is reported.

namespace kvlink {

class Program;

// Event pumps of one Pause.
inline constexpr int kPauseEventPumps = 5000;

// "Send Set Points to Unit". The wizard may be gone when it returns.
void FormConfig_Command3D3_Click(Program& program);

// The wait after each motor-family set point: the event pump, 5000 times
// (fewer when the program ends meanwhile).
void Pause(Program& program);

}  // namespace kvlink
