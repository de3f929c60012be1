#pragma once
// "Retrieve Log Records": pages through the records of the current
// station's data logger one at a time, shows the unit's record counter, and
// saves records to a comma-separated text file. Modal; the poll is stopped
// while it is open and runs again on closing only while the link is open.

#include <QGroupBox>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>

#include "Form.h"
#include "UpDownControl.h"

namespace kvlink {

class Program;

class LogRetr : public Form {
  Q_OBJECT
 public:
  explicit LogRetr(Program& program);

  // Controls under their design names.
  QLabel* Label5 = nullptr;           // "View Records from Datalogger"
  QLabel* Label2 = nullptr;           // "Record Number --->"
  QLabel* Label8 = nullptr;           // number of the record on show
  QScrollBar* HScroll1 = nullptr;     // record 0..249
  QLabel* Label1 = nullptr;           // "Date/Time"
  QLabel* Label4 = nullptr;           // date, time and weekday of the record
  QLabel* Label3 = nullptr;           // field list, one field per line
  QLabel* Label10 = nullptr;          // "Records Logged (record counter):"
  QLabel* Label11 = nullptr;          // the unit's record counter
  QGroupBox* SSFrame1 = nullptr;      // "Choose which records to save"
  QRadioButton* SSOption1 = nullptr;  // all records logged
  QRadioButton* SSOption2 = nullptr;  // "Save only " N
  QLabel* Label6 = nullptr;           // N for choice 2
  UpDownControl* UpDown1 = nullptr;   // 1..250, buddy Label6
  QLabel* Label7 = nullptr;           // "records starting with the most recent"
  QRadioButton* SSOption3 = nullptr;  // all 250 records
  QLabel* Label9 = nullptr;           // note under choice 3
  QProgressBar* ProgressBar1 = nullptr;
  QPushButton* SSCommand2 = nullptr;  // "Save Records"
  QPushButton* SSCommand1 = nullptr;  // "Close"

  // The field list as written, lines ended by CR alone (the label shows
  // them as lines).
  const QString& fieldListCaption() const { return fieldList_; }
  void setFieldListCaption(const QString& text);

  void HScroll1_Change();
  void SSCommand1_Click();  // Close
  void SSCommand2_Click();  // Save Records
  void Form_Unload() override;

  // True while Save Records runs.
  bool saving() const { return saving_; }

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  void buildDesign();
  void closeWindow();
  void setSaveControlsEnabled(bool on);

  Program& program_;
  QString fieldList_;
  bool saving_ = false;
};

// Module LoggingCode's window procedures.
// Reads one record and the record counter of the current station into the
// window; reports a failed read with "Unit off-line.  Check connections.".
void ShowLogRecord(Program& program, int16_t record);
// Writes the decoded record into the field list (unit types 0, 1, 2, 4) and
// the date line (any type).
void ShowLogRecordCaptions(Program& program);

// Data Logging > "Retrieve Data".
void Form1_mnuRetrieve_Click(Program& program);

}  // namespace kvlink
