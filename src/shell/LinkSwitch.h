#pragma once
// What opening and closing the link means for the program: the menus that
// need a link, polling, the data windows and the serial set-up window's
// buttons. The start-up (autostart) and the Enable and Disable buttons share
// these steps.

namespace kvlink {

class Program;
class Form1;

// Opens the link. When it opens: the help window closes, the Display, Data
// Logging and Network menus and the "RESET Menu" button are enabled, Timer1
// starts and General Status shows. When it does not: "Requested COM port cannot be used." and
// false. The serial set-up window's buttons follow either way. CommEnabled is the caller's.
bool SwitchLinkOn(Program& program);

// Disable: stops Timer1, sets CommEnabled to 0, closes the link, closes every
// data window (window states 10), disables what needs a link; a link change
// (Program::linkChanged), as the open is too.
void SwitchLinkOff(Program& program);

// The main window without a link: the Display, Data Logging and Network
// menus and the "RESET Menu" button disabled.
void showLinkClosed(Form1& form);

}  // namespace kvlink
