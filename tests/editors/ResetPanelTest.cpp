// The reset and remote panels: flag buttons, the emergency thermal reset
// behind the master password and a confirmation, the refresh and the swap.
#include "EditorTestSupport.h"

namespace kvlink {
namespace {

class ResetPanelTest : public EditorsTest {
 protected:
  template <class Panel>  // as the station's answered passes leave it
  Panel& filled(Panel& panel) {
    panel.filled.mark(kStation);
    return panel;
  }
  void openFor(int16_t type) {
    program->poll.UnitType = type;
    program->Form1().Command3D1->click();
  }
};

TEST_F(ResetPanelTest, ResetMenuOpensThePanelOfTheUnitType) {
  const std::vector<std::pair<int16_t, QString>> cases = {
      {0, "RVX Reset Control"},
      {1, "GLT Reset Control"},
      {2, "DA-DAroze Reset Control"},
      {4, "DA-RUV Reset Control"},
  };
  for (const auto& [type, title] : cases) {
    SCOPED_TRACE(type);
    openFor(type);
    EXPECT_EQ(program->windowStates.ResetWindowState, type);
    auto* panel = dynamic_cast<ResetPanel*>(m->resets.variantFor(type)->ifLoaded());
    ASSERT_NE(panel, nullptr);
    EXPECT_TRUE(panel->isVisible());
    EXPECT_EQ(panel->windowTitle(), title);
    panel->Command3D6->click();
    EXPECT_FALSE(panel->isVisible());
    EXPECT_EQ(program->windowStates.ResetWindowState, kWindowClosed);
  }
  openFor(99);
  EXPECT_EQ(program->windowStates.ResetWindowState, kWindowClosed);
  EXPECT_TRUE(host.passwordPrompts().empty());  // no general password set
}

TEST_F(ResetPanelTest, ResetMenuAsksTheGeneralPassword) {
  setPassword(1, "op");
  host.answerPassword(QStringLiteral("nope"));
  openFor(0);
  EXPECT_EQ(host.passwordPrompts().size(), 1u);
  EXPECT_EQ(program->windowStates.ResetWindowState, kWindowClosed);
  EXPECT_FALSE(m->Form10.loaded() && m->Form10().isVisible());
  host.answerPassword(QStringLiteral("op"));
  openFor(0);
  EXPECT_EQ(program->windowStates.ResetWindowState, 0);
  EXPECT_TRUE(m->Form10().isVisible());
}

TEST_F(ResetPanelTest, FlagButtonsSetTheirRequestOnlyOnce) {
  lpForm10& panel = filled(m->lpForm10());
  const std::vector<std::pair<const char*, bool CommandRequests::*>> buttons = {
      {"Command3D1", &CommandRequests::PendingTripReset},
      {"Command3D2", &CommandRequests::PendingAlarmLatchReset},
      {"Command3D4", &CommandRequests::PendingReEnableTemp},
      {"Command3D5", &CommandRequests::PendingClearPeak},
      {"Command3D11", &CommandRequests::PendingRemoteStart},
      {"Command3D10", &CommandRequests::PendingRemoteTrip},
  };
  for (const auto& [name, flag] : buttons) {
    SCOPED_TRACE(name);
    program->commands.dropAll();
    panel.commandButton(name)->click();
    panel.commandButton(name)->click();
    EXPECT_TRUE(program->commands.*flag);
    program->commands.*flag = false;
    EXPECT_FALSE(program->commands.any());
  }
  EXPECT_TRUE(host.boxes().empty());
  EXPECT_TRUE(writes().empty());  // buttons never write
}

TEST_F(ResetPanelTest, PanelsHaveTheirConfigurationsButtons) {
  openFor(2);
  EXPECT_EQ(m->lpForm10().focusWidget(), m->lpForm10().Command3D6);
  EXPECT_EQ(m->Form40().commandButton("Command3D4"), nullptr);
  EXPECT_EQ(m->Form40().commandButton("Command3D11"), nullptr);
  EXPECT_EQ(m->Form40().Label3, nullptr);
  EXPECT_EQ(m->Form40().remoteFrame, nullptr);
  EXPECT_NE(m->lpForm40().commandButton("Command3D11"), nullptr);
  EXPECT_EQ(m->lpForm40().commandButton("Command3D5"), nullptr);
  EXPECT_NE(m->Form10().commandButton("Command3D5"), nullptr);
  EXPECT_EQ(m->Form10().commandButton("Command3D10"), nullptr);
  EXPECT_NE(m->Form10().Label3, nullptr);
}

TEST_F(ResetPanelTest, EtrWithoutAMasterPasswordGoesStraightToTheQuestion) {
  setPassword(1, "op");  // only the master password counts here
  host.answerBox(vbYes);
  filled(m->Form40()).commandButton("Command3D3")->click();
  EXPECT_TRUE(host.passwordPrompts().empty());
  ASSERT_EQ(host.boxes().size(), 1u);
  EXPECT_EQ(host.boxes()[0].text, "Are you sure?");
  EXPECT_TRUE(program->commands.PendingEmergencyThermalReset);
}

TEST_F(ResetPanelTest, EtrWithTheMasterPasswordAndYesSetsTheFlag) {
  setPassword(2, "boss");
  host.answerPassword(QStringLiteral("boss"));
  host.answerBox(vbYes);
  filled(m->Form40()).commandButton("Command3D3")->click();
  EXPECT_EQ(host.passwordPrompts().size(), 1u);
  ASSERT_EQ(host.boxes().size(), 1u);
  EXPECT_EQ(host.boxes()[0].text, "Are you sure?");
  EXPECT_EQ(host.boxes()[0].title, "Emergency Thermal Reset!");
  EXPECT_EQ(host.boxes()[0].style, 52);
  EXPECT_TRUE(program->commands.PendingEmergencyThermalReset);
}

TEST_F(ResetPanelTest, EtrAnsweredNoSetsNothing) {
  host.answerBox(vbNo);
  filled(m->Form10()).commandButton("Command3D3")->click();
  EXPECT_FALSE(program->commands.any());
}

TEST_F(ResetPanelTest, EtrRefusedCancelledOrCorruptPasswordShowsTheMessageAndSetsNothing) {
  // Wrong password, prompt cancelled, master password missing from the file.
  const std::vector<std::pair<std::string, std::optional<QString>>> cases = {
      {"boss", QStringLiteral("guess")}, {"boss", std::nullopt}, {"", std::nullopt}};
  for (const auto& [stored, typed] : cases) {
    host.clearRecords();
    setPassword(2, stored);
    host.answerPassword(typed);
    filled(m->Form10()).commandButton("Command3D3")->click();
    ASSERT_FALSE(host.boxes().empty());
    const auto& last = host.boxes().back();
    EXPECT_EQ(last.text, "Password Incorrect...You require a higher level password!");
    EXPECT_EQ(last.style, vbCritical);
    EXPECT_EQ(last.title, "KV-LINK27");
    EXPECT_FALSE(program->commands.PendingEmergencyThermalReset);
  }
  EXPECT_EQ(program->session.PasswordDestroyed, 1);
}

TEST_F(ResetPanelTest, RefreshFillsStationResetTimeAndEtrPeakOfAllFour) {
  program->poll.values.PolledResetTime = 42;
  program->poll.values.PolledETRPeak = 117;
  m->resets.showStationName("Crusher 2");
  m->resets.refresh();
  for (ResetPanel* panel : std::initializer_list<ResetPanel*>{&m->Form10(), &m->Form40(),
                                                              &m->lpForm10(), &m->lpForm40()}) {
    SCOPED_TRACE(panel->designName().toStdString());
    EXPECT_EQ(panel->Label4->text(), "Crusher 2");
    EXPECT_EQ(panel->Label2->text(), "42");
    if (panel->Label3) {
      EXPECT_EQ(panel->Label3->text(), "117");
    }
  }
  EXPECT_NE(m->lpForm10().Label3, nullptr);
}

TEST_F(ResetPanelTest, SwapFromType0To2BringsTheRemoteButtons) {
  openFor(0);
  m->Form10().move(61, 42);
  const QPoint where = m->Form10().pos();
  m->resets.syncToUnitType(2);
  EXPECT_FALSE(m->Form10.loaded());
  EXPECT_TRUE(m->lpForm10().isVisible());
  EXPECT_EQ(m->lpForm10().pos(), where);
  EXPECT_EQ(program->windowStates.ResetWindowState, 2);
  EXPECT_NE(m->lpForm10().commandButton("Command3D11"), nullptr);
  m->resets.syncToUnitType(4);
  EXPECT_TRUE(m->lpForm40().isVisible());
  EXPECT_EQ(program->windowStates.ResetWindowState, 4);
}

TEST_F(ResetPanelTest, TitleBarCloseUnloadsAndClosesTheState) {
  openFor(1);
  m->Form40().close();
  EXPECT_FALSE(m->Form40.loaded());
  EXPECT_EQ(program->windowStates.ResetWindowState, kWindowClosed);
  m->resets.syncToUnitType(0);
  EXPECT_FALSE(m->Form10.loaded());
}

}  // namespace
}  // namespace kvlink
