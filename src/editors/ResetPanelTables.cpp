#include "ResetPanelTables.h"

namespace kvlink {

const std::vector<CommandButton>& commandButtons() {
  using C = CommandRequests;
  static const std::vector<CommandButton> buttons = {
      {"Command3D1", "Trip Reset", PanelFrame::Reset, &C::PendingTripReset},
      {"Command3D2", "Alarm Latch Reset", PanelFrame::Reset, &C::PendingAlarmLatchReset},
      {"Command3D3", "ETR", PanelFrame::Reset, nullptr},
      {"Command3D4", "Re-Enable Temp", PanelFrame::Reset, &C::PendingReEnableTemp},
      {"Command3D5", "Clear Peak", PanelFrame::Reset, &C::PendingClearPeak},
      {"Command3D11", "Remote Start", PanelFrame::Remote, &C::PendingRemoteStart},
      {"Command3D10", "Remote Trip", PanelFrame::Remote, &C::PendingRemoteTrip},
  };
  return buttons;
}

const ResetPanelDesign& form10Design() {
  static const ResetPanelDesign design = {
      "Form10",
      "RVX Reset Control",
      0,
      {"Command3D1", "Command3D2", "Command3D3", "Command3D4", "Command3D5"},
      true};
  return design;
}

const ResetPanelDesign& form40Design() {
  static const ResetPanelDesign design = {
      "Form40", "GLT Reset Control", 1, {"Command3D1", "Command3D2", "Command3D3"}, false};
  return design;
}

const ResetPanelDesign& lpForm10Design() {
  static const ResetPanelDesign design = {"lpForm10",
                                          "DA-DAroze Reset Control",
                                          2,
                                          {"Command3D1", "Command3D2", "Command3D3", "Command3D4",
                                           "Command3D5", "Command3D11", "Command3D10"},
                                          true};
  return design;
}

const ResetPanelDesign& lpForm40Design() {
  static const ResetPanelDesign design = {
      "lpForm40",
      "DA-RUV Reset Control",
      4,
      {"Command3D1", "Command3D2", "Command3D3", "Command3D11", "Command3D10"},
      false};
  return design;
}

}  // namespace kvlink
