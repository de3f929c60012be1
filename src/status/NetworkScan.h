#pragma once
// The network scan: the Network Summary menu command, Start, the step that
// each poll runs while a scan is active, Stop, and the cell clicks.

#include <chrono>
#include <cstdint>

#include "WindowKind.h"

namespace kvlink {

class Program;
class Form13;

// Scan state that only the scan itself uses.
struct NetworkScanState {
  int16_t ScanFirstPassDone = 0;
  // The scan option chosen when Start was pressed (the options window is
  // hidden while the scan runs, so it cannot change).
  bool dropUnresponsive = true;
  // How long the "being read" mark stays before the result is painted.
  std::chrono::milliseconds readMarkPause{40};
};

// Network > "Network Summary": prepares the options window and shows it.
void Form1_menuDisplayNetworkSummary_Click(Program& program);

// "Start" in the options window.
void startNetworkScan(Program& program);

// Paints the scan station's cell from the scan read and moves on; the poll
// runs it once per pass while ScanActive is 1.
void NetworkSummaryStep(Program& program);

// "Close" or the window discarded: ends the scan.
void stopNetworkScan(Program& program, Form13& window);

// Click on a cell: names the station. Double-click: makes it current.
void showStationOfCell(Program& program, Form13& window, int index);
void switchToStationOfCell(Program& program, Form13& window, int index);

// The Network Summary windows: hidden by Disable and the watchdog (the scan
// state stays), untouched by a station that stops answering.
class NetworkSummaryKind : public WindowKind {
 public:
  explicit NetworkSummaryKind(Program& program) : program_(program) {}
  void closeAll(CloseReason reason) override;

 private:
  Program& program_;
};

}  // namespace kvlink
