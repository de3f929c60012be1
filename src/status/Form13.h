#pragma once
// "Network Summary": one cell per station (1 to 63) with the station number
// coloured by state, the status text and the unit type, a line that names
// the clicked station, a legend and "Close".

#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <array>

#include "Form.h"

namespace kvlink {

class Program;

constexpr int kStations = 63;

// Colours of a cell's station number (0x00BBGGRR).
constexpr uint32_t kCellIdle = 0x808080;     // reset, no answer, dropped
constexpr uint32_t kCellReading = 0x00FFFF;  // just read
constexpr uint32_t kCellHealthy = 0x008000;  // no trips, no alarms
constexpr uint32_t kCellTripOrAlarm = 0x0000FF;
constexpr uint32_t kCellStatusText = 0x000080;
constexpr uint32_t kCellNumberBack = 0xC0C0C0;

class Form13 : public Form {
  Q_OBJECT
 public:
  explicit Form13(Program& program);

  // The cells: control arrays indexed by station - 1.
  std::array<QFrame*, kStations> cells{};
  std::array<QLabel*, kStations> Label1{};    // station number
  std::array<QLabel*, kStations> Label2{};    // status text
  std::array<QLabel*, kStations> LabelID1{};  // unit type
  QLabel* Label11 = nullptr;                  // "Single Click on number to display station name:"
  QLabel* Label10 = nullptr;                  // the clicked station
  QPushButton* Command3D1 = nullptr;          // "Close"

  void Form_Load() override;
  void Form_Unload() override;
  void Command3D1_Click();
  void Label1_Click(int index);
  void Label2_Click(int index);
  void Label1_DblClick(int index);
  void Label2_DblClick(int index);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void buildDesign();
  QWidget* buildLegend();

  Program& program_;
};

}  // namespace kvlink
