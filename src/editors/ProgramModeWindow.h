#pragma once
// What the two program-mode windows share: the check boxes and option groups
// bound to the fields of the program-mode words, the decode of the polled
// words into them and the encode back, and the Apply and Close buttons.

#include <QBoxLayout>
#include <QCheckBox>
#include <QGroupBox>
#include <QPushButton>
#include <QRadioButton>
#include <vector>

#include "FilledFrom.h"
#include "Form.h"
#include "ProgramModeCodec.h"

namespace kvlink {

class Program;

class ProgramModeWindow : public Form {
  Q_OBJECT
 public:
  ProgramModeWindow(Program& program, const QString& designName, ProgramModeFamily family);

  QPushButton* Command1 = nullptr;  // "Apply Settings"
  QPushButton* Command2 = nullptr;  // "Close" / "Cancel"

  // The relay operating modes both families have (right column). The feeder
  // window shows the alarm-relay frame for type 1 only.
  QGroupBox* Frame3D2 = nullptr;  // "Trip-Relay Operating Mode"
  QRadioButton* Option3D1 = nullptr;
  QRadioButton* Option3D2 = nullptr;
  QGroupBox* Frame3D3 = nullptr;      // "Alarm-Relay Operating Mode"
  QRadioButton* Option3D4 = nullptr;  // "Fail Safe"
  QRadioButton* Option3D3 = nullptr;  // "Non Fail Safe"

  ProgramModeFamily family() const { return family_; }

  // The captions of the unit type (where the window has any), then every box
  // from the polled program-mode words; a word never polled reads as 0.
  void DecodeProgramModeWords(int16_t unitType);
  ProgramModeWords EncodeProgramModeWords(int16_t unitType) const;
  // The station whose answered set-point read the boxes were decoded from,
  // for a unit type of this window's family; no station when the polled
  // words were not the current station's. Apply writes only while it is the
  // current station.
  FilledFrom filled;
  // No station's settings: every box cleared, no option selected, and the
  // boxes count as decoded from no station.
  void clearSettings();

  // The boxes as settings, and settings into the boxes.
  ProgramModeSettings settingsShown() const;
  void showSettings(const ProgramModeSettings& settings);

  void Command1_Click();
  void Command2_Click();
  void Form_Unload() override;

 protected:
  virtual void applyCaptions(int16_t unitType) { (void)unitType; }

  // Design helpers: a frame, a check box bound to a one-bit field, an option
  // group bound to a field whose value is the option's position.
  // Frames stack from the top of the left (0) or right (1) column.
  QGroupBox* addFrame(const char* name, const QString& title, int column);
  QCheckBox* addCheck(QGroupBox* frame, const char* name, const QString& caption,
                      ProgramModeField field);
  std::vector<QRadioButton*> addOptions(
      QGroupBox* frame, ProgramModeField field,
      const std::vector<std::pair<const char*, QString>>& options);
  void addButtons(const QString& secondCaption);
  // Frame3D2 and Frame3D3 with their options, at the top of the right column.
  void addRelayModeFrames();

  Program& program_;

 private:
  struct Binding {
    ProgramModeField field;
    QCheckBox* check = nullptr;
    std::vector<QRadioButton*> options;  // option n selects value n
  };

  ProgramModeFamily family_;
  std::vector<Binding> bindings_;
  QBoxLayout* columns_[2] = {nullptr, nullptr};
};

}  // namespace kvlink
