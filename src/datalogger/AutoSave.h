#pragma once
// "Auto Retrieve": the stations (up to five), the record count at which the
// poll saves a station's records, and the destination directory; "Enable
// Auto Retrieve" hands them to the poll and stores them in gridmon.ini,
// "Disable Auto Retrieve" stops it. The status lines show what the poll's
// auto-retrieve step last did at each list position.
//
// The option buttons raise their click handler whenever they become
// selected, by the operator or by code; while SuppressOptionEvents is 1
// (start-up setting them) both handlers do nothing.

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <array>

#include "AutoSaveUpDown.h"
#include "Form.h"

namespace kvlink {

class Program;
class AutoRetrieveModule;

inline const QString kAutoSaveCaption = QStringLiteral("Auto Retrieve");
// Design value of the destination directory.
inline const QString kAutoSaveDesignDirectory = QStringLiteral("/tmp");

class AutoSave : public Form {
  Q_OBJECT
 public:
  explicit AutoSave(Program& program);

  QGroupBox* SSFrame4 = nullptr;  // "Enable / Disable"
  QRadioButton* SSOption1 = nullptr;
  QRadioButton* SSOption2 = nullptr;
  QGroupBox* SSFrame2 = nullptr;  // "Choose station to log"
  QCheckBox* SSCheck1 = nullptr;
  QCheckBox* SSCheck2 = nullptr;
  QCheckBox* SSCheck3 = nullptr;
  QCheckBox* SSCheck4 = nullptr;
  QCheckBox* SSCheck5 = nullptr;
  QLabel* Label1 = nullptr;
  QLabel* Label2 = nullptr;
  QLabel* Label3 = nullptr;
  QLabel* Label4 = nullptr;
  QLabel* Label5 = nullptr;
  AutoSaveUpDown* UpDown1 = nullptr;
  AutoSaveUpDown* UpDown2 = nullptr;
  AutoSaveUpDown* UpDown3 = nullptr;
  AutoSaveUpDown* UpDown4 = nullptr;
  AutoSaveUpDown* UpDown5 = nullptr;
  QGroupBox* SSFrame5 = nullptr;  // "Save Options"
  QLabel* Label8 = nullptr;
  QLabel* Label9 = nullptr;  // the record limit
  AutoSaveUpDown* UpDown6 = nullptr;
  QLabel* Label6 = nullptr;
  QGroupBox* SSFrame3 = nullptr;  // "File Destination"
  QLabel* Label7 = nullptr;       // the destination directory
  QPushButton* SSCommand2 = nullptr;
  QGroupBox* SSFrame6 = nullptr;  // "Status"
  QLabel* Label10 = nullptr;
  QLabel* Label11 = nullptr;
  QLabel* Label12 = nullptr;
  QLabel* Label13 = nullptr;
  QLabel* Label14 = nullptr;
  QPushButton* SSCommand1 = nullptr;  // "Close"
  QTimer* Timer1 = nullptr;

  // Slot k (1..5): its check box, its number and its arrows.
  QCheckBox* slotCheck(int k) const;
  QLabel* slotLabel(int k) const;
  AutoSaveUpDown* slotUpDown(int k) const;
  // Status line of list position 0..4 (Label10..Label14).
  QLabel* statusLine(int position) const;

  void SSOption1_Click();   // Enable
  void SSOption2_Click();   // Disable
  void SSCommand1_Click();  // Close
  void SSCommand2_Click();  // Select Directory
  void Timer1_Timer();
  void Form_Unload() override;

  // The settings locked (auto retrieve on) or open to change (off).
  void lockSettings();
  void unlockSettings();
  // Every status line "-".
  void clearStatusLines();

 private:
  void buildDesign();
  AutoRetrieveModule& module() const;

  Program& program_;
};

}  // namespace kvlink
