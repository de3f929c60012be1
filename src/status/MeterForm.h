#pragma once
// The General Status window "General Status": meter and pre-trip values,
// the trips and alarms present and the warnings of the selected station,
// under its name. One window serves every unit type; a layout captions its
// rows and shows or hides the rows that differ.

#include <QLabel>
#include <QPushButton>
#include <array>

#include "Controls.h"
#include "Form.h"
#include "GeneralStatusLayout.h"

namespace kvlink {

class Program;

class MeterForm : public Form {
  Q_OBJECT
 public:
  explicit MeterForm(Program& program);

  // Controls under their design names.
  QFrame* Panel3D2 = nullptr;
  QLabel* Label11 = nullptr;  // station name
  QFrame* Panel3D1 = nullptr;
  CaptionFrame* SSFrame6 = nullptr;  // "Meter Values"
  CaptionFrame* SSFrame7 = nullptr;  // "Pre-Trip Values"
  CaptionFrame* Frame3D1 = nullptr;  // "Trips"
  CaptionFrame* Frame3D2 = nullptr;  // "Alarms"
  CaptionFrame* Frame3D4 = nullptr;  // " Warnings"
  QPushButton* Command1 = nullptr;   // "Close"

  // Meter rows: captions Label27..Label34, values Label1, 4, 7, 2, 5, 8, 3, 6.
  QLabel *Label27 = nullptr, *Label28 = nullptr, *Label29 = nullptr, *Label30 = nullptr;
  QLabel *Label31 = nullptr, *Label32 = nullptr, *Label33 = nullptr, *Label34 = nullptr;
  QLabel *Label1 = nullptr, *Label2 = nullptr, *Label3 = nullptr, *Label4 = nullptr;
  QLabel *Label5 = nullptr, *Label6 = nullptr, *Label7 = nullptr, *Label8 = nullptr;
  // Pre-trip rows: captions Label8p..Label1p, values Label1a, 4a, 2a, 5a, 3a, 6a, 7a, 8a.
  QLabel *Label1p = nullptr, *Label2p = nullptr, *Label3p = nullptr, *Label4p = nullptr;
  QLabel *Label5p = nullptr, *Label6p = nullptr, *Label7p = nullptr, *Label8p = nullptr;
  QLabel *Label1a = nullptr, *Label2a = nullptr, *Label3a = nullptr, *Label4a = nullptr;
  QLabel *Label5a = nullptr, *Label6a = nullptr, *Label7a = nullptr, *Label8a = nullptr;

  // Trip flags (bits 1 to 256) and "No trips...".
  QLabel *Label2t = nullptr, *Label3t = nullptr, *Label4t = nullptr, *Label5t = nullptr;
  QLabel *Label6t = nullptr, *Label7t = nullptr, *Label8t = nullptr, *Label9t = nullptr;
  QLabel *Label21t = nullptr, *Label19t = nullptr;
  // Alarm flags (bits 1 to 512, not 64) and "No alarms...".
  QLabel *Label17t = nullptr, *Label16t = nullptr, *Label15t = nullptr, *Label14t = nullptr;
  QLabel *Label13t = nullptr, *Label12t = nullptr, *Label11t = nullptr, *Label10t = nullptr;
  QLabel *Label26t = nullptr, *Label18t = nullptr;
  // Warnings: "No warnings...", emergency thermal reset, password destroyed.
  QLabel *Label20t = nullptr, *Label25t = nullptr, *Label23t = nullptr;

  // Rows in screen order (row 1 first).
  std::array<QLabel*, kMeterRows> meterCaptions{}, meterValues{};
  std::array<QLabel*, kPreTripRows> preTripCaptions{}, preTripValues{};
  // Flag labels in design order (kTripFlagDesign, kAlarmFlagDesign).
  std::array<QLabel*, kTripFlags> tripLabels{};
  std::array<QLabel*, kAlarmFlags> alarmLabels{};

  // Captions and visible rows of a layout.
  void applyLayout(StatusLayout layout);
  // The polled values, flag captions, trips, alarms and warnings of an
  // answered poll of a unit of this type.
  void showPolled(int unitType, const PolledValues& values, bool passwordDestroyed);
  // A stored password was found missing.
  void showPasswordDestroyed();
  // No station's values: every value empty, no trip, alarm or warning line
  // (the password warning stays), until a station answers.
  void clearValues();

  void Command1_Click();
  void Form_Unload() override;

 private:
  void buildDesign();
  QLabel* flagLabel(bool trip, uint16_t bit) const;
  void showFlags(CaptionFrame* frame, QLabel* none, const std::array<QLabel*, 9>& labels,
                 const std::array<StatusFlag, 9>& design, uint16_t word);

  Program& program_;
};

}  // namespace kvlink
