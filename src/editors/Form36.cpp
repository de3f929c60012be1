#include "Form36.h"

namespace kvlink {

using F = ProgramModeField;

const Form36Captions& form36Captions(int16_t unitType) {
  static const Form36Captions type1{
      QStringLiteral("GLT Program-Mode Settings"),
      {"3 cycles", "6 cycles", "12 cycles", "24 cycles"},
      {"3 cycles", "6 cycles", "12 cycles", "24 cycles"},
      QStringLiteral("Earth-Fault Time"),
      true,
      false,
  };
  static const Form36Captions type4{
      QStringLiteral("ZE-DUR Program-Mode Settings"),
      {"100 ms", "200 ms", "300 ms", "400 ms"},
      {"Instantaneous", "100 ms", "200 ms", "300 ms"},
      QStringLiteral("Ground-Fault Time"),
      false,
      true,
  };
  return unitType == 1 ? type1 : type4;
}

Form36::Form36(Program& program)
    : ProgramModeWindow(program, QStringLiteral("Form36"), ProgramModeFamily::Feeder) {
  // The design shows the type-1 texts until the captions of a type are applied.
  const Form36Captions& design = form36Captions(1);
  setWindowTitle(design.title);

  Frame3D1 = addFrame("Frame3D1", QStringLiteral("Enable List"), 0);
  Check3D1 = addCheck(Frame3D1, "Check3D1", QStringLiteral("AutoReset Enable"), F::AutoResetEnable);
  Check3D2 =
      addCheck(Frame3D1, "Check3D2", QStringLiteral("Alarm Latch Enable"), F::AlarmLatchEnable);
  Check3D3 =
      addCheck(Frame3D1, "Check3D3", QStringLiteral("I2t Immediate Reset"), F::I2tImmediateReset);

  Frame3D4 = addFrame("Frame3D4", QStringLiteral("Short-Time Trip"), 0);
  auto shortTime = addOptions(Frame3D4, F::ShortTimeDelay,
                              {{"Option3D11", design.shortTime[0]},
                               {"Option3D12", design.shortTime[1]},
                               {"Option3D13", design.shortTime[2]},
                               {"Option3D14", design.shortTime[3]}});
  Option3D11 = shortTime[0];
  Option3D12 = shortTime[1];
  Option3D13 = shortTime[2];
  Option3D14 = shortTime[3];

  // The alarm-relay frame and the frequency frame share one place; one is
  // visible.
  addRelayModeFrames();
  SSFrame1 = addFrame("SSFrame1", QStringLiteral("Frequency"), 1);
  auto frequency =
      addOptions(SSFrame1, F::Frequency50Hz, {{"SSOption1", "60 Hz"}, {"SSOption2", "50 Hz"}});
  SSOption1 = frequency[0];
  SSOption2 = frequency[1];
  SSFrame1->setVisible(design.frequencyVisible);

  Frame3D5 = addFrame("Frame3D5", design.earthFaultFrame, 1);
  auto delay = addOptions(Frame3D5, F::EarthFaultDelay,
                          {{"Option3D7", design.earthFault[0]},
                           {"Option3D8", design.earthFault[1]},
                           {"Option3D9", design.earthFault[2]},
                           {"Option3D10", design.earthFault[3]}});
  Option3D7 = delay[0];
  Option3D8 = delay[1];
  Option3D9 = delay[2];
  Option3D10 = delay[3];

  addButtons(QStringLiteral("Cancel"));
}

void Form36::applyCaptions(int16_t unitType) {
  const Form36Captions& captions = form36Captions(unitType);
  Frame3D3->setVisible(captions.alarmRelayVisible);
  QRadioButton* shortTime[] = {Option3D11, Option3D12, Option3D13, Option3D14};
  QRadioButton* earthFault[] = {Option3D7, Option3D8, Option3D9, Option3D10};
  for (int n = 0; n < 4; ++n) shortTime[n]->setText(captions.shortTime[n]);
  for (int n = 0; n < 4; ++n) earthFault[n]->setText(captions.earthFault[n]);
  setWindowTitle(captions.title);
  Frame3D5->setTitle(captions.earthFaultFrame);
  SSFrame1->setVisible(captions.frequencyVisible);
}

}  // namespace kvlink
