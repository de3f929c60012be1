#include "Form6.h"

namespace kvlink {

using F = ProgramModeField;

Form6::Form6(Program& program)
    : ProgramModeWindow(program, QStringLiteral("Form6"), ProgramModeFamily::Motor) {
  setWindowTitle(QStringLiteral("RVX Program-Mode Settings"));

  Frame3D1 = addFrame("Frame3D1", QStringLiteral("Enable List"), 0);
  Check3D1 = addCheck(Frame3D1, "Check3D1", QStringLiteral("AutoReset Enable"), F::AutoResetEnable);
  Check3D2 =
      addCheck(Frame3D1, "Check3D2", QStringLiteral("Alarm Latch Enable"), F::AlarmLatchEnable);
  Check3D3 = addCheck(Frame3D1, "Check3D3", QStringLiteral("Hot-Motor Comp Enable"),
                      F::HotMotorCompEnable);
  Check3D4 =
      addCheck(Frame3D1, "Check3D4", QStringLiteral("Short-Circuit Enable"), F::ShortCircuitEnable);
  Check3D5 =
      addCheck(Frame3D1, "Check3D5", QStringLiteral("Phase Reverse Enable"), F::PhaseReverseEnable);

  Frame3D4 = addFrame("Frame3D4", QStringLiteral("Phase Sequence"), 0);
  auto sequence = addOptions(Frame3D4, F::PhaseSequenceBAC,
                             {{"Option3D5", QStringLiteral("ABC")}, {"Option3D6", "BAC"}});
  Option3D5 = sequence[0];
  Option3D6 = sequence[1];

  addRelayModeFrames();

  Frame3D5 = addFrame("Frame3D5", QStringLiteral("Earth-Fault Time Delay"), 1);
  auto delay = addOptions(Frame3D5, F::EarthFaultDelay,
                          {{"Option3D7", "Instantaneous"},
                           {"Option3D8", "0.25 seconds"},
                           {"Option3D9", "0.5 seconds"},
                           {"Option3D10", "1 second"}});
  Option3D7 = delay[0];
  Option3D8 = delay[1];
  Option3D9 = delay[2];
  Option3D10 = delay[3];

  addButtons(QStringLiteral("Close"));
}

}  // namespace kvlink
