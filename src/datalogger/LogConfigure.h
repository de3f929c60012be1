#pragma once
// "Configure Data Logging": the data logger of the current station (sample
// interval, trigger duration, control word and trigger masks) on the page
// "Control Options", and the unit's real-time clock beside the PC clock on
// the page "Set Time and Date". Opened modally by Data Logging > Configure,
// filled by LoadLogConfiguration just before it shows.
//
// The clock fields are spin boxes: each SSPanel's up-down (UpDown1..6) is the
// box's own arrows, and its range is the up-down's range.

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QTimer>
#include <array>
#include <string_view>
#include <vector>

#include "Form.h"
#include "LogConfigBitTable.h"
#include "LoggerSettings.h"
#include "UnitClockCodec.h"

namespace kvlink {

class Program;
class LoggerConfigModule;

inline const QString kLogConfigureCaption = QStringLiteral("Configure Data Logging");

class LogConfigure : public Form {
  Q_OBJECT
 public:
  LogConfigure(Program& program, LoggerConfigModule& module);

  QTimer* Timer1 = nullptr;  // PC clock, 400 ms
  QTimer* Timer2 = nullptr;  // unit clock, 5000 ms
  QTabWidget* SSTab1 = nullptr;
  QPushButton* SSCommand1 = nullptr;  // "Close"

  // Page "Control Options".
  QGroupBox* SSFrame5 = nullptr;   // "Control Options"
  QGroupBox* SSFrame10 = nullptr;  // "Trigger Mode"
  QRadioButton* SSOption1 = nullptr;
  QRadioButton* SSOption2 = nullptr;
  QRadioButton* SSOption5 = nullptr;
  QCheckBox* SSCheck22 = nullptr;
  QGroupBox* SSFrame11 = nullptr;  // "Clock Settings"
  QRadioButton* SSOption3 = nullptr;
  QRadioButton* SSOption4 = nullptr;
  QLineEdit* Text1 = nullptr;  // sample interval
  QLabel* Label2 = nullptr;
  QLineEdit* Text2 = nullptr;  // trigger duration
  QLabel* Label3 = nullptr;
  QPushButton* SSCommand3 = nullptr;  // "Set Control and Trigger Options"
  QGroupBox* SSFrame6 = nullptr;      // "Trigger Masks"
  QGroupBox* SSFrame8 = nullptr;      // "Trip Mask"
  QGroupBox* SSFrame9 = nullptr;      // "Alarm Mask"
  QGroupBox* SSFrame7 = nullptr;      // status mask, caption per unit type

  // Page "Set Time and Date".
  QLabel* Label12 = nullptr;      // PC year before 1995
  QGroupBox* SSFrame2 = nullptr;  // "Local Time"
  QLabel* Label1 = nullptr;       // PC clock
  QGroupBox* SSFrame12 = nullptr;
  QLabel* Label9 = nullptr;  // unit clock
  QLabel* Label4 = nullptr;
  QGroupBox* SSFrame1 = nullptr;  // "Set Time and Date"
  QCheckBox* SSCheck23 = nullptr;
  QFrame* SSFrame3 = nullptr;
  QLabel* Label10 = nullptr;
  QSpinBox* SSPanel6 = nullptr;  // hour (UpDown2)
  QLabel* Label8 = nullptr;
  QSpinBox* SSPanel5 = nullptr;  // minute (UpDown5)
  QLabel* Label7 = nullptr;
  QSpinBox* SSPanel4 = nullptr;  // second (UpDown6)
  QComboBox* Combo2 = nullptr;   // AM/PM
  QLabel* Label11 = nullptr;
  QSpinBox* SSPanel3 = nullptr;  // day (UpDown4)
  QLabel* Label5 = nullptr;
  QSpinBox* SSPanel2 = nullptr;  // month (UpDown3)
  QLabel* Label6 = nullptr;
  QSpinBox* SSPanel1 = nullptr;       // year (UpDown1)
  QComboBox* Combo1 = nullptr;        // weekday
  QPushButton* SSCommand2 = nullptr;  // "Set Time and Date"

  // The check boxes of a mask, in the order of maskBitControls(mask).
  const std::vector<QCheckBox*>& maskBoxes(TriggerMask mask) const;
  // A mask box by design name ("SSCheck1"); nullptr for none.
  QCheckBox* maskBox(std::string_view designName) const;

  // What LoadLogConfiguration puts into the window.
  void showPcClockFields(const LocalTime& now);
  void showSettings(const LoggerSettings& settings, int16_t unitType, int16_t station);
  // Marks the window as showing no settings read from any unit.
  void forgetLoadedSettings() { loadedStation_ = 0; }
  int16_t loadedStation() const { return loadedStation_; }

  // The words and fields as the controls show them.
  ControlOptions controlOptions() const;
  uint16_t maskValue(TriggerMask mask) const;
  ClockFields clockFields() const;

  // Handlers.
  void SSCommand1_Click();  // Close
  void SSCommand2_Click();  // Set Time and Date
  void SSCommand3_Click();  // Set Control and Trigger Options
  void SSCheck23_Click();   // 24-Hour Format
  void Text1_KeyPress(int& KeyAscii);
  void Text2_KeyPress(int& KeyAscii);
  void Timer1_Timer();
  void Timer2_Timer();
  void Form_Unload() override;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  class BusyScope;

  void buildDesign();
  QWidget* buildControlPage();
  QWidget* buildClockPage();
  QGroupBox* buildMaskFrame(TriggerMask mask, const QString& name);
  void applyUnitType(int16_t unitType);
  void layOutMaskBoxes(TriggerMask mask);
  void numberBoxKeyPress(QLineEdit* box, int& KeyAscii);
  void closeWindow();
  int16_t probeUnit();

  Program& program_;
  LoggerConfigModule& module_;
  std::array<std::vector<QCheckBox*>, 3> maskBoxes_;
  std::array<QGridLayout*, 3> maskGrids_{};
  bool hour24_ = true;         // the hour field holds a 24-hour hour
  int16_t loadedStation_ = 0;  // station whose settings this opening read
};

}  // namespace kvlink
