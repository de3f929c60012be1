#pragma once
// The main window "KV-LINK27 v1.54a": runtime status, station, trip/alarm
// status, the auto-retrieve status line, the "RESET Menu" button, the two
// timers and the menu bar, which is the program's command table.

#include <QAction>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTimer>

#include "Form.h"

namespace kvlink {

class Program;

inline const QString kMainCaption = QStringLiteral("KV-LINK27 v1.54a");
inline const QString kCommNotEnabled = QStringLiteral("COMM not enabled");
inline const QString kSerialNotSetUp =
    QStringLiteral("Serial communications not set up:\nSetup > Serial Communications");

class Form1 : public Form {
  Q_OBJECT
 public:
  explicit Form1(Program& program);

  // Controls under their design names.
  QGroupBox* Frame3D1 = nullptr;  // "Runtime Status"
  QLabel* Label1 = nullptr;
  QGroupBox* Frame3D2 = nullptr;  // "Station"
  QLabel* Label2 = nullptr;
  QLabel* Label11 = nullptr;
  QGroupBox* Frame3D3 = nullptr;  // "Trip/Alarm Status"
  QLabel* Label3 = nullptr;
  QLabel* Label12 = nullptr;          // auto-retrieve status
  QPushButton* Command3D1 = nullptr;  // "RESET Menu"
  QTimer* Timer1 = nullptr;
  QTimer* TimerCS = nullptr;

  QMenuBar* menuBar = nullptr;
  QMenu* mnuFile = nullptr;
  QAction* mnuopen = nullptr;
  QAction* mnusaveset = nullptr;
  QAction* mnuFileExit = nullptr;
  QMenu* mnuSetup = nullptr;
  QAction* mnuSetupSerial = nullptr;
  QAction* mnuSetupStation = nullptr;
  QMenu* mnuDisplay = nullptr;
  QAction* mnuDisplayMeter = nullptr;
  QAction* mnuDisplaySet = nullptr;
  QAction* mnuDisplayCT = nullptr;
  QAction* menuDisplayTripsAlarms = nullptr;
  QAction* mnuDisplayPretrip = nullptr;
  QMenu* mnuDataLogging = nullptr;
  QAction* mnuConfigure = nullptr;
  QAction* mnuRetrieve = nullptr;
  QAction* mnuautoretrieve = nullptr;
  QMenu* menuDisplayNetworkSum = nullptr;
  QAction* menuDisplayNetworkSummary = nullptr;
  QMenu* mnuHelp = nullptr;
  QAction* mnuHelpContents = nullptr;
  QAction* mnuHelpUnitId = nullptr;
  QAction* mnuHelpAbout = nullptr;

  // Enabled/visible state of a whole menu, as the menu bar shows it.
  static void setMenuEnabled(QMenu* menu, bool on) { menu->menuAction()->setEnabled(on); }
  static bool menuEnabled(const QMenu* menu) { return menu->menuAction()->isEnabled(); }
  static void setMenuVisible(QMenu* menu, bool on) { menu->menuAction()->setVisible(on); }
  static bool menuVisible(const QMenu* menu) { return menu->menuAction()->isVisible(); }

  Program& program() const { return program_; }

  // Station frame: number and name of the current station.
  void showStation(int16_t station, const QString& name);
  // The runtime status while the link is closed: "COMM not enabled", or that
  // the serial communications are not set up while a link key is missing.
  void showCommNotEnabled();

  // Handlers of the shell's menu items (connected by installShell).
  void mnuFileExit_Click();
  void mnuSetupSerial_Click();
  void mnuSetupStation_Click();
  void mnuHelpContents_Click();

  // Program end: stops the timers and ends the program (EndProgram).
  void Form_Unload() override;

 private:
  void buildDesign();

  Program& program_;
};

}  // namespace kvlink
