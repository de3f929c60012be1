// The set-point windows in the poll pass: refresh with off-value blanking
// and markers around the event pump, the station name, the window swap
// between unit types, and Display > Set Points.
#include "EditorTestSupport.h"

namespace kvlink {
namespace {

class SetPointWindowsTest : public EditorsTest {
 protected:
  PolledValues& values() { return program->poll.values; }
  void answeredPass(int16_t unitType) {
    program->poll.UnitType = unitType;
    m->setPoints.syncToUnitType(unitType);
    m->setPoints.refresh();
  }
  QLabel* markerOf(SetPointForm& w, const char* box) { return w.marker(*findRow(w.fields(), box)); }
  QPushButton* deleteOf(SetPointForm& w, const char* box) {
    return w.deleteButton(*findRow(w.fields(), box));
  }
};

TEST_F(SetPointWindowsTest, RefreshBlanksOffValuesThenShowsMarkersAfterThePump) {
  values().PolledI2tTrip = 46;
  values().PolledI2tAlarm = 45;
  values().PolledOvercurrentTrip = 625;
  values().PolledOvercurrentAlarm = 624;
  values().PolledTemperatureTrip = 225;
  values().PolledLeakageAlarm = 0;
  program->poll.UnitType = 0;
  // Before the pump the boxes are filled and the markers still as they were.
  bool markersWaitedForThePump = false;
  host.atNextDoEvents([&] {
    FORM5& w = m->FORM5();
    markersWaitedForThePump =
        w.box("Text1")->text().isEmpty() && w.marker(*findRow(w.fields(), "Text1"))->isHidden();
  });
  m->setPoints.refresh();
  EXPECT_TRUE(markersWaitedForThePump);
  FORM5& w = m->FORM5();
  EXPECT_FALSE(w.isVisible());  // refreshed whether on screen or not
  const std::vector<std::tuple<const char*, QString, bool>> expected = {
      {"Text1", "", true},      {"Text12", "45", false}, {"Text2", "", true},
      {"Text11", "624", false}, {"Text5", "", true},     {"Text7", "0", false},
  };
  for (const auto& [name, text, deleted] : expected) {
    SCOPED_TRACE(name);
    EXPECT_EQ(w.box(name)->text(), text);
    EXPECT_EQ(markerOf(w, name)->isVisibleTo(&w), deleted);
  }
  values().PolledI2tTrip = 30;
  m->setPoints.refresh();
  EXPECT_EQ(w.box("Text1")->text(), "30");
  EXPECT_FALSE(markerOf(w, "Text1")->isVisibleTo(&w));
}

TEST_F(SetPointWindowsTest, RefreshUsesTheWindowAndOffValuesOfTheUnitType) {
  values().PolledI2tTrip = 46;
  values().PolledOvercurrentTrip = 9988;
  values().PolledShortTimeTrip = 91;
  values().PolledInstantaneousTrip = 90;
  program->poll.UnitType = 2;
  m->setPoints.refresh();
  EXPECT_EQ(m->lpFORM5().box("Text1")->text(), "46");  // 998 is the off value here
  EXPECT_EQ(m->lpFORM5().box("Text2")->text(), "");
  EXPECT_TRUE(markerOf(m->lpFORM5(), "Text2")->isVisibleTo(&m->lpFORM5()));
  EXPECT_FALSE(m->FORM5.loaded());
  EXPECT_FALSE(m->FORM35.loaded());
  program->poll.UnitType = 4;
  m->setPoints.refresh();
  EXPECT_EQ(m->FORM35().box("Text2")->text(), "");
  EXPECT_TRUE(markerOf(m->FORM35(), "Text2")->isVisibleTo(&m->FORM35()));
  EXPECT_EQ(m->FORM35().box("Text3")->text(), "90");
  EXPECT_FALSE(markerOf(m->FORM35(), "Text3")->isVisibleTo(&m->FORM35()));
  program->poll.UnitType = 99;
  m->setPoints.refresh();
  EXPECT_FALSE(m->FORM5.loaded());
}

TEST_F(SetPointWindowsTest, RefreshLeavesTheBoxBeingEditedAlone) {
  program->poll.UnitType = 0;
  m->mnuDisplaySet_Click();
  FORM5& w = m->FORM5();
  values().PolledUnbalanceTrip = 20;
  values().PolledUnbalanceAlarm = 21;
  QTest::mouseClick(w.box("Text4"), Qt::LeftButton);
  w.box("Text4")->clear();
  m->setPoints.refresh();  // a pass that was already running when the click came
  EXPECT_EQ(w.box("Text4")->text(), "");
  EXPECT_FALSE(markerOf(w, "Text4")->isVisible());
  EXPECT_EQ(w.box("Text9")->text(), "21");
}

TEST_F(SetPointWindowsTest, StationNameGoesIntoAllThreeWindowsOnEveryPass) {
  m->setPoints.showStationName("Intake pump");
  EXPECT_EQ(m->FORM5().Label24->text(), "Intake pump");
  EXPECT_EQ(m->lpFORM5().Label24->text(), "Intake pump");
  EXPECT_EQ(m->FORM35().Label24->text(), "Intake pump");
  EXPECT_FALSE(m->FORM5().isVisible());
}

TEST_F(SetPointWindowsTest, MenuOpensTheWindowOfTheUnitType) {
  const std::vector<std::pair<int16_t, QString>> cases = {
      {0, "RVX Trip-And-Alarm Set Points"},
      {1, "GLT Trip/Alarm Setpoints"},
      {2, "DA-DAroze Trip-And-Alarm Set Points"},
      {4, "ZE-DUR Trip/Alarm Setpoints"},
  };
  for (const auto& [type, title] : cases) {
    SCOPED_TRACE(type);
    program->poll.UnitType = type;
    program->session.EditIdle = 0;
    m->mnuDisplaySet_Click();
    EXPECT_EQ(program->windowStates.SetPointWindowState, type);
    EXPECT_TRUE(editIdle());
    SetPointForm* shown = m->setPointWindow(type);
    EXPECT_TRUE(shown->isVisible());
    EXPECT_EQ(shown->windowTitle(), title);
    shown->Command14->click();
    EXPECT_EQ(program->windowStates.SetPointWindowState, kWindowClosed);
    EXPECT_FALSE(shown->isVisible());
  }
  program->poll.UnitType = 99;
  m->mnuDisplaySet_Click();
  EXPECT_EQ(program->windowStates.SetPointWindowState, kWindowClosed);
}

TEST_F(SetPointWindowsTest, MenuWithoutTheGeneralPasswordOpensNothing) {
  setPassword(1, "op");
  setPassword(2, "boss");
  host.answerPassword(QStringLiteral("boss"));  // the master password is not the general one
  program->poll.UnitType = 0;
  program->session.EditIdle = 0;
  program->Form1().mnuDisplaySet->trigger();
  EXPECT_EQ(host.passwordPrompts().size(), 1u);
  EXPECT_FALSE(m->FORM5.loaded() && m->FORM5().isVisible());
  EXPECT_EQ(program->windowStates.SetPointWindowState, kWindowClosed);
  EXPECT_FALSE(editIdle());
}

TEST_F(SetPointWindowsTest, FeederWindowIsReCaptionedBetweenTypesOneAndFourWithoutReload) {
  program->poll.UnitType = 1;
  m->mnuDisplaySet_Click();
  FORM35& w = m->FORM35();
  QPointer<FORM35> same(&w);
  auto visibleDeletes = [&] {
    int n = 0;
    for (const FieldRow& row : w.fields())
      if (w.deleteButton(row) && w.deleteButton(row)->isVisible()) ++n;
    return n;
  };
  EXPECT_EQ(w.heading("Label1")->text(), "I  t (s @ 600%)");
  EXPECT_TRUE(w.heading("Label22")->isVisible());
  EXPECT_EQ(visibleDeletes(), 10);

  answeredPass(4);
  ASSERT_TRUE(same);
  EXPECT_EQ(&m->FORM35(), same.data());
  EXPECT_EQ(program->windowStates.SetPointWindowState, 4);
  EXPECT_EQ(w.windowTitle(), "ZE-DUR Trip/Alarm Setpoints");
  EXPECT_EQ(w.heading("Label1")->text(), "O / L Class (s@600%)");
  EXPECT_EQ(w.heading("Label6")->text(), "GROUND FAULT (%)");
  EXPECT_FALSE(w.heading("Label22")->isVisible());
  EXPECT_EQ(visibleDeletes(), 2);
  EXPECT_TRUE(deleteOf(w, "Text2")->isVisible());
  EXPECT_TRUE(deleteOf(w, "Text11")->isVisible());

  // Row 5's hint follows the unit type at the moment of the click.
  QTest::mouseClick(w.box("Text6"), Qt::LeftButton);
  EXPECT_EQ(w.Label7->text(), "Ground Fault Trip, Range: 1% to 100%");
  QTest::keyClick(w.box("Text6"), Qt::Key_Escape);

  answeredPass(1);
  EXPECT_EQ(&m->FORM35(), same.data());
  EXPECT_EQ(program->windowStates.SetPointWindowState, 1);
  EXPECT_EQ(w.windowTitle(), "GLT Trip/Alarm Setpoints");
  EXPECT_EQ(w.heading("Label6")->text(), "EARTH LEAKAGE (%)");
  EXPECT_TRUE(w.heading("Label22")->isVisible());
  EXPECT_EQ(visibleDeletes(), 10);
  QTest::mouseClick(w.box("Text7"), Qt::LeftButton);
  EXPECT_EQ(w.Label7->text(), "Earth-Leakage Alarm, Range: 1% to 100%");
}

TEST_F(SetPointWindowsTest, SwapBetweenTypesZeroAndTwoKeepsThePosition) {
  program->poll.UnitType = 0;
  m->mnuDisplaySet_Click();
  m->FORM5().move(143, 87);
  const QPoint where = m->FORM5().pos();
  answeredPass(2);
  EXPECT_FALSE(m->FORM5.loaded());
  EXPECT_TRUE(m->lpFORM5().isVisible());
  EXPECT_EQ(m->lpFORM5().pos(), where);
  EXPECT_EQ(program->windowStates.SetPointWindowState, 2);
  EXPECT_EQ(deleteOf(m->lpFORM5(), "Text1"), nullptr);
  EXPECT_NE(deleteOf(m->lpFORM5(), "Text3"), nullptr);

  answeredPass(0);
  EXPECT_FALSE(m->lpFORM5.loaded());
  EXPECT_TRUE(m->FORM5().isVisible());
  EXPECT_EQ(m->FORM5().pos(), where);
  EXPECT_EQ(program->windowStates.SetPointWindowState, 0);

  answeredPass(4);
  EXPECT_EQ(m->FORM35().pos(), where);
  EXPECT_EQ(m->FORM35().windowTitle(), "ZE-DUR Trip/Alarm Setpoints");
  EXPECT_EQ(program->windowStates.SetPointWindowState, 4);
}

TEST_F(SetPointWindowsTest, ClosedKindIsNotShownAgainBySwapOrRefresh) {
  program->poll.UnitType = 0;
  m->mnuDisplaySet_Click();
  m->FORM5().Command14->click();
  values().PolledI2tTrip = 12;
  answeredPass(2);
  answeredPass(0);
  EXPECT_FALSE(m->FORM5().isVisible());
  EXPECT_EQ(m->FORM5().box("Text1")->text(), "12");
  m->mnuDisplaySet_Click();  // reopened: the last polled values at once
  EXPECT_EQ(m->FORM5().box("Text1")->text(), "12");
}

TEST_F(SetPointWindowsTest, ProgramModeButtonCallsItsHookWithTheWindow) {
  std::vector<QString> from;
  m->programModeSettings = [&](SetPointForm& w) { from.push_back(w.designName()); };
  m->FORM35().Command13->click();
  m->lpFORM5().Command13->click();
  m->FORM5.Unload();  // a window built again keeps the hook
  flushDeletes();
  m->FORM5().Command13->click();
  EXPECT_EQ(from, (std::vector<QString>{"FORM35", "lpFORM5", "FORM5"}));
}

TEST_F(SetPointWindowsTest, PassResetsPointersAndEnablesTheWindows) {
  m->FORM5().setMousePointer(vbHourglass);
  m->FORM5().setEnabled(false);
  m->setPoints.resetPointers();
  m->setPoints.endPass();
  EXPECT_EQ(m->FORM5().mousePointerValue(), vbDefault);
  EXPECT_TRUE(m->FORM5().isEnabled());
  EXPECT_TRUE(m->FORM35.loaded());
}

}  // namespace
}  // namespace kvlink

namespace kvlink {
namespace {

TEST_F(SetPointWindowsTest, ProgramEndUnloadsEveryWindowAndAPassAfterItCreatesNone) {
  program->poll.UnitType = 0;
  m->mnuDisplaySet_Click();
  QTest::mouseClick(m->FORM5().box("Text1"), Qt::LeftButton);
  program->Form1().Command3D1->click();
  program->ended = true;
  program->unloadAll();
  EXPECT_FALSE(m->FORM5.loaded());
  EXPECT_FALSE(m->Form10.loaded());
  EXPECT_EQ(program->windowStates.SetPointWindowState, kWindowClosed);
  EXPECT_EQ(program->windowStates.ResetWindowState, kWindowClosed);
  EXPECT_TRUE(pointerFree());  // the edit ended with its window
  m->setPoints.showStationName("late");
  m->setPoints.refresh();
  m->resets.refresh();
  EXPECT_FALSE(m->FORM5.loaded() || m->FORM35.loaded() || m->lpFORM5.loaded());
  EXPECT_FALSE(m->Form10.loaded() || m->Form40.loaded());
}

}  // namespace
}  // namespace kvlink
