// General Status: layouts by unit type, the values and flags of an answered
// poll, the openers, Close and unload, and the pre-trip windows.
#include "StatusFixture.h"
#include "VbColor.h"

namespace kvlink {
namespace {

PolledValues motorValues() {
  PolledValues v;
  v.PolledAmps = 120;
  v.PolledAmpsPercent = 87;
  v.PolledPeakCurrent = 300;
  v.PolledModulation = 45;
  v.PolledUnbalance = 3;
  v.PolledTemperature = 61;
  v.PolledLeakage = 12;
  v.PolledPercentI2t = 40;
  v.PolledPreTripCurrent = 500;
  v.PolledPreTripUnbalance = 9;
  v.PolledPreTripTemperature = 70;
  v.PolledPreTripLeakage = 14;
  v.PolledPreTripPercentI2t = 99;
  v.PolledTripStatus = 0;
  v.PolledAlarmStatus = 0;
  v.PolledMotorStatus = 3;
  return v;
}

PolledValues feederValues() {
  PolledValues v;
  v.PolledPhaseA = 101;
  v.PolledPhaseB = 102;
  v.PolledPhaseC = 103;
  v.PolledUnbalance = 4;
  v.PolledLeakage = 5;
  v.PolledPercentI2t = 6;
  v.PolledOpCount = 40000;
  v.PolledPreTripPhaseA = 201;
  v.PolledPreTripPhaseB = 202;
  v.PolledPreTripPhaseC = 203;
  v.PolledPreTripUnbalance = 7;
  v.PolledPreTripLeakage = 8;
  v.PolledPreTripPercentI2t = 9;
  v.PolledTripStatus = 0;
  v.PolledAlarmStatus = 0;
  v.PolledMotorStatus = 2;
  return v;
}

QStringList texts(const auto& labels, int count) {
  QStringList out;
  for (int i = 0; i < count; ++i) out << labels[i]->text();
  return out;
}

struct LayoutCase {
  int16_t unitType;
  QStringList meterCaptions;
  QStringList preTripCaptions;
  bool motorRows;  // meter row 8 shown, pre-trip row 6 hidden
};

class GeneralStatusLayoutTest : public StatusFixture,
                                public ::testing::WithParamInterface<LayoutCase> {};

TEST_P(GeneralStatusLayoutTest, MenuOpenerAndAnsweredPollShowTheTypesLayout) {
  const LayoutCase& c = GetParam();
  program->poll.UnitType = c.unitType;
  Form1_mnuDisplayMeter_Click(*program);
  EXPECT_TRUE(meter().isVisible());
  EXPECT_EQ(meterState(), c.unitType);
  EXPECT_EQ(texts(meter().meterCaptions, 8), c.meterCaptions);
  EXPECT_EQ(texts(meter().preTripCaptions, 6), c.preTripCaptions);
  EXPECT_EQ(meter().Label34->isHidden(), !c.motorRows);
  EXPECT_EQ(meter().Label6->isHidden(), !c.motorRows);
  EXPECT_EQ(meter().Label3p->isHidden(), c.motorRows);
  EXPECT_EQ(meter().Label6a->isHidden(), c.motorRows);
  // Pre-trip rows 7 and 8 never get a caption.
  EXPECT_EQ(meter().Label2p->text(), "");
  EXPECT_EQ(meter().Label1p->text(), "");

  // Another type's layout first, then one answered poll brings this one back.
  program->poll.UnitType = c.motorRows ? 1 : 0;
  Form1_mnuDisplayMeter_Click(*program);
  answeredPass(c.unitType, c.motorRows ? motorValues() : feederValues());
  EXPECT_EQ(meterState(), c.unitType);
  EXPECT_EQ(texts(meter().meterCaptions, 8), c.meterCaptions);
  EXPECT_EQ(texts(meter().preTripCaptions, 6), c.preTripCaptions);
  EXPECT_EQ(meter().Label34->isHidden(), !c.motorRows);
  EXPECT_EQ(meter().Label3p->isHidden(), c.motorRows);
  EXPECT_EQ(meter().Label11->text(), "Pump 3");
}

const QStringList kMotorMeter = {"Ammeter (A)",          "Ammeter (%)",     "Peak Current (A)",
                                 "Unbalance (%)",        "Temperature (C)", "Modulation (%)",
                                 "Earth Leakage (Ax10)", "Percent I^2t"};
const QStringList kMotorPreTrip = {"Current (A)",  "Unbalance (%)",        "Temperature (C)",
                                   "Percent I^2t", "Earth Leakage (Ax10)", "Percent I^2t"};
const QStringList kFeederMeter = {"Phase A (A)",      "Phase B (A)",          "Phase C (A)",
                                  "Unbalance (%)",    "Earth Leakage (Ax10)", "Percent I^2t",
                                  "Operations Count", "Percent I^2t"};
const QStringList kFeederPreTrip = {"Phase A (A)",   "Phase B (A)",          "Phase C (A)",
                                    "Unbalance (%)", "Earth Leakage (Ax10)", "Percent I^2t"};
const QStringList kType4Meter = {"Phase A (A)",       "Phase B (A)",           "Phase C (A)",
                                 "Unbalance (%)",     "Ground Leakage (Ax10)", "% Thermal Used",
                                 "Operation Counter", "% Thermal Used"};
const QStringList kType4PreTrip = {"Phase A (A)",   "Phase B (A)",           "Phase C (A)",
                                   "Unbalance (%)", "Ground Leakage (Ax10)", "% Thermal Used"};

INSTANTIATE_TEST_SUITE_P(AllTypes, GeneralStatusLayoutTest,
                         ::testing::Values(LayoutCase{0, kMotorMeter, kMotorPreTrip, true},
                                           LayoutCase{2, kMotorMeter, kMotorPreTrip, true},
                                           LayoutCase{1, kFeederMeter, kFeederPreTrip, false},
                                           LayoutCase{4, kType4Meter, kType4PreTrip, false}),
                         [](const auto& info) {
                           return "UnitType" + std::to_string(info.param.unitType);
                         });

using GeneralStatusTest = StatusFixture;

TEST_F(GeneralStatusTest, MotorValuesGoToTheirRows) {
  answeredPass(0, motorValues());
  MeterForm& m = meter();
  EXPECT_EQ(texts(m.meterValues, 8),
            QStringList({"120", "87", "300", "3", "61", "45", "12", "40"}));
  EXPECT_EQ(m.Label1->text(), "120");
  EXPECT_EQ(m.Label8->text(), "45");
  EXPECT_EQ(texts(m.preTripValues, 5), QStringList({"500", "9", "70", "99", "14"}));
  EXPECT_EQ(m.Label6a->text(), "");
  EXPECT_EQ(m.Label7a->text(), "");
  EXPECT_EQ(m.Label8a->text(), "");
}

TEST_F(GeneralStatusTest, FeederValuesGoToTheirRowsAndLeaveMeterRow8) {
  answeredPass(0, motorValues());
  answeredPass(4, feederValues());
  MeterForm& m = meter();
  EXPECT_EQ(texts(m.meterValues, 8),
            QStringList({"101", "102", "103", "4", "5", "6", "40000", "40"}));
  EXPECT_EQ(texts(m.preTripValues, 6), QStringList({"201", "202", "203", "7", "8", "9"}));
  EXPECT_EQ(m.Label7a->text(), "");
}

TEST_F(GeneralStatusTest, ValueNeverStoredShowsEmpty) {
  PolledValues values = motorValues();
  values.PolledModulation.reset();
  answeredPass(2, values);
  EXPECT_EQ(meter().Label8->text(), "");
  EXPECT_EQ(meter().Label1->text(), "120");
}

TEST_F(GeneralStatusTest, FlagCaptionsFollowTheUnitType) {
  const std::vector<std::pair<int16_t, QStringList>> cases = {
      {0,
       {"---> I^2t Thermal Capacity Trip", "---> Overcurrent Trip", "---> Undercurrent Trip",
        "---> Temperature Trip", "---> I^2t Thermal Capacity Alarm", "---> Overcurrent Alarm",
        "---> Undercurrent Alarm", "---> Temperature Alarm", "---> Short-Circuit Trip"}},
      {1,
       {"---> I^2t Thermal Capacity Trip", "---> Short Time Trip", "---> Instantaneous Trip",
        "---> Earth Fault Trip", "---> I^2t Thermal Capacity Alarm", "---> Short Time Alarm",
        "---> Instantaneous Alarm", "---> Earth Fault Alarm", "---> Remote Trip"}},
      {2,
       {"---> I^2t Thermal Capacity Trip", "---> Overcurrent Trip", "---> Undercurrent Trip",
        "---> Temperature Trip", "---> I^2t Thermal Capacity Alarm", "---> Overcurrent Alarm",
        "---> Undercurrent Alarm", "---> Temperature Alarm", "---> Remote Trip"}},
      {4,
       {"---> % Thermal Used Trip", "---> Short Time Trip", "---> Instantaneous Trip",
        "---> Ground Fault Trip", "---> % Thermal Used Alarm", "---> Short Time Alarm",
        "---> Instantaneous Alarm", "---> Ground Fault Alarm", "---> Remote Trip"}},
  };
  // Before any poll the design captions stand.
  EXPECT_EQ(meter().Label2t->text(), "---> I2t Thermal Capacity Trip");
  EXPECT_EQ(meter().Label8t->text(), "---> Short-Circuit Trip");
  for (const auto& [type, expected] : cases) {
    answeredPass(type, type == 0 || type == 2 ? motorValues() : feederValues());
    MeterForm& m = meter();
    const QStringList shown = {m.Label2t->text(),  m.Label3t->text(),  m.Label4t->text(),
                               m.Label6t->text(),  m.Label17t->text(), m.Label16t->text(),
                               m.Label15t->text(), m.Label13t->text(), m.Label8t->text()};
    EXPECT_EQ(shown, expected) << "unit type " << type;
    EXPECT_EQ(m.Label5t->text(), "---> Unbalance Trip");
    EXPECT_EQ(m.Label26t->text(), "---> Open-RTD Alarm");
  }
}

TEST_F(GeneralStatusTest, TripsAndAlarmsShowTheirBitsAndColourTheFrames) {
  PolledValues values = motorValues();
  values.PolledTripStatus = 1 | 8 | 256;
  values.PolledAlarmStatus = 2 | 512;
  answeredPass(0, values);
  MeterForm& m = meter();
  EXPECT_TRUE(m.Label19t->isHidden());
  EXPECT_FALSE(m.Label2t->isHidden());
  EXPECT_FALSE(m.Label5t->isHidden());
  EXPECT_FALSE(m.Label21t->isHidden());
  for (QLabel* off : {m.Label3t, m.Label4t, m.Label6t, m.Label7t, m.Label8t, m.Label9t})
    EXPECT_TRUE(off->isHidden()) << off->objectName().toStdString();
  EXPECT_EQ(m.Frame3D1->captionColor(), kDarkRed);
  EXPECT_TRUE(m.Label18t->isHidden());
  EXPECT_FALSE(m.Label16t->isHidden());
  EXPECT_FALSE(m.Label26t->isHidden());
  EXPECT_TRUE(m.Label17t->isHidden());
  EXPECT_EQ(m.Frame3D2->captionColor(), kDarkRed);
  EXPECT_EQ(textColor(m.Label2t), 0x80u);

  // Cleared: "No trips..." and "No alarms..." again, frames dark blue.
  answeredPass(0, motorValues());
  EXPECT_FALSE(m.Label19t->isHidden());
  EXPECT_FALSE(m.Label18t->isHidden());
  for (QLabel* label : m.tripLabels) EXPECT_TRUE(label->isHidden());
  for (QLabel* label : m.alarmLabels) EXPECT_TRUE(label->isHidden());
  EXPECT_EQ(m.Frame3D1->captionColor(), kDarkBlue);
  EXPECT_EQ(m.Frame3D2->captionColor(), kDarkBlue);
}

TEST_F(GeneralStatusTest, PasswordDestroyedStaysShownThroughPollsAndRecreation) {
  program->session.PasswordDestroyed = 1;
  program->hooks.passwordDestroyed();
  EXPECT_FALSE(meter().Label23t->isHidden());
  EXPECT_TRUE(meter().Label20t->isHidden());

  PolledValues values = motorValues();
  values.PolledMotorStatus = 4;
  answeredPass(0, values);
  answeredPass(0, motorValues());
  EXPECT_FALSE(meter().Label23t->isHidden());
  EXPECT_TRUE(meter().Label20t->isHidden());
  EXPECT_TRUE(meter().Label25t->isHidden());

  meter().Show();
  meter().close();  // title-bar close discards the window
  flushDeletes();
  answeredPass(0, motorValues());
  EXPECT_FALSE(meter().Label23t->isHidden());
  EXPECT_TRUE(meter().Label20t->isHidden());
}

TEST_F(GeneralStatusTest, CloseThenTypeChangeThenReopen) {
  program->poll.UnitType = 0;
  Form1_mnuDisplayMeter_Click(*program);
  answeredPass(0, motorValues());
  meter().Command1->click();
  EXPECT_FALSE(meter().isVisible());
  EXPECT_EQ(meterState(), kWindowClosed);

  // A closed window is not re-captioned, but its values stay current.
  answeredPass(1, feederValues());
  EXPECT_EQ(meterState(), kWindowClosed);
  EXPECT_EQ(meter().Label27->text(), "Ammeter (A)");
  EXPECT_EQ(meter().Label1->text(), "101");

  Form1_mnuDisplayMeter_Click(*program);
  EXPECT_TRUE(meter().isVisible());
  EXPECT_EQ(meterState(), 1);
  EXPECT_EQ(meter().Label27->text(), "Phase A (A)");
  EXPECT_EQ(meter().Label1->text(), "101");
}

TEST_F(GeneralStatusTest, TitleBarCloseThenPollRecreatesFromDesign) {
  program->poll.UnitType = 4;
  Form1_mnuDisplayMeter_Click(*program);
  answeredPass(4, feederValues());
  meter().close();
  EXPECT_EQ(meterState(), kWindowClosed);
  EXPECT_FALSE(status().MeterForm.loaded());
  flushDeletes();

  answeredPass(4, feederValues(), QStringLiteral("Feeder 7"));
  ASSERT_TRUE(status().MeterForm.loaded());
  MeterForm& m = meter();
  EXPECT_FALSE(m.isVisible());
  EXPECT_EQ(meterState(), kWindowClosed);
  EXPECT_EQ(m.Label27->text(), "Ammeter (A)");
  EXPECT_EQ(m.Label31->text(), "Temperature (C)");
  EXPECT_FALSE(m.Label34->isHidden());
  EXPECT_FALSE(m.Label3p->isHidden());
  EXPECT_EQ(m.Label11->text(), "Feeder 7");
  EXPECT_EQ(m.Label1->text(), "101");

  Form1_mnuDisplayMeter_Click(*program);
  EXPECT_EQ(meter().Label31->text(), "Ground Leakage (Ax10)");
  EXPECT_TRUE(meter().Label34->isHidden());
}

TEST_F(GeneralStatusTest, UnknownTypeOpensClosedWindowThatTheNextPollCaptions) {
  program->poll.UnitType = 1;
  Form1_mnuDisplayMeter_Click(*program);
  meter().Command1->click();

  program->poll.UnitType = kUnitTypeUnknown;
  Form1_mnuDisplayMeter_Click(*program);
  EXPECT_TRUE(meter().isVisible());
  EXPECT_EQ(meter().Label27->text(), "Phase A (A)");  // captions as they were
  EXPECT_NE(meterState(), kWindowClosed);

  answeredPass(0, motorValues());
  EXPECT_EQ(meterState(), 0);
  EXPECT_EQ(meter().Label27->text(), "Ammeter (A)");
  EXPECT_EQ(meter().Label1->text(), "120");
}

TEST_F(GeneralStatusTest, UnknownTypeKeepsAnOpenWindowsState) {
  program->poll.UnitType = 2;
  Form1_mnuDisplayMeter_Click(*program);
  program->poll.UnitType = kUnitTypeUnknown;
  Form1_mnuDisplayMeter_Click(*program);
  EXPECT_EQ(meterState(), 2);
}

TEST_F(GeneralStatusTest, DoubleClickOpensOnlyWhileDisplayIsEnabled) {
  program->poll.UnitType = 0;
  Form1::setMenuEnabled(main().mnuDisplay, false);
  doubleClick(main().Label3);
  doubleClick(main().Frame3D3);
  EXPECT_FALSE(status().MeterForm.loaded() && meter().isVisible());
  EXPECT_EQ(meterState(), kWindowClosed);

  Form1::setMenuEnabled(main().mnuDisplay, true);
  doubleClick(main().Frame3D3);
  EXPECT_TRUE(meter().isVisible());
  EXPECT_EQ(meterState(), 0);
  meter().Command1->click();
  doubleClick(main().Label3);
  EXPECT_TRUE(meter().isVisible());
}

TEST_F(GeneralStatusTest, DoubleClickGivesType4TheFeederLayoutUntilTheNextPoll) {
  program->poll.UnitType = 4;
  Form1::setMenuEnabled(main().mnuDisplay, true);
  doubleClick(main().Label3);
  EXPECT_EQ(meterState(), 4);
  EXPECT_EQ(meter().Label31->text(), "Earth Leakage (Ax10)");
  EXPECT_EQ(meter().Label32->text(), "Percent I^2t");
  EXPECT_EQ(meter().Label33->text(), "Operations Count");
  answeredPass(4, feederValues());
  EXPECT_EQ(meter().Label31->text(), "Ground Leakage (Ax10)");
  EXPECT_EQ(meter().Label33->text(), "Operation Counter");
}

TEST_F(GeneralStatusTest, MenuCommandAndLinkOpenHook) {
  program->poll.UnitType = 1;
  main().mnuDisplayMeter->trigger();
  EXPECT_EQ(meterState(), 1);
  meter().Command1->click();

  program->hooks.showGeneralStatusAfterOpen();
  EXPECT_TRUE(meter().isVisible());
  EXPECT_EQ(meterState(), 0);
  EXPECT_EQ(meter().Label27->text(), "Ammeter (A)");
  EXPECT_FALSE(meter().Label34->isHidden());
}

TEST_F(GeneralStatusTest, DisableAndWatchdogHideAndClose) {
  program->poll.UnitType = 0;
  Form1_mnuDisplayMeter_Click(*program);
  for (WindowKind* kind : program->windowKinds()) kind->closeAll(CloseReason::Watchdog);
  EXPECT_FALSE(meter().isVisible());
  EXPECT_EQ(meterState(), kWindowClosed);
  answeredPass(0, motorValues());
  EXPECT_FALSE(meter().isVisible());
}

TEST_F(GeneralStatusTest, PreTripWindowsFollowTheFamilyOnlyWhileOpen) {
  answeredPass(1, feederValues());
  EXPECT_FALSE(status().Form4.loaded());
  EXPECT_FALSE(status().Form34.loaded());
  EXPECT_EQ(program->windowStates.PreTripWindowState, kWindowClosed);

  // Nothing opens a pre-trip window; should one be open, the swap moves it.
  status().Form4().Show();
  status().Form4().move(140, 90);
  program->windowStates.PreTripWindowState = 0;
  answeredPass(4, feederValues());
  EXPECT_EQ(program->windowStates.PreTripWindowState, 1);
  EXPECT_FALSE(status().Form4.loaded());
  ASSERT_TRUE(status().Form34.loaded());
  EXPECT_TRUE(status().Form34().isVisible());
  EXPECT_EQ(status().Form34().pos(), QPoint(140, 90));
  EXPECT_EQ(status().Form34().windowTitle(), "GLT / ZUDO Pre-Trip Display");
  EXPECT_EQ(status().Form34().frames.size(), 6u);
  flushDeletes();

  answeredPass(2, motorValues());
  EXPECT_EQ(program->windowStates.PreTripWindowState, 2);
  EXPECT_EQ(status().Form4().windowTitle(), "RVX Pre-Trip Display");
  status().Form4().Command1->click();
  EXPECT_EQ(program->windowStates.PreTripWindowState, kWindowClosed);
  EXPECT_FALSE(status().Form4().isVisible());
}

}  // namespace
}  // namespace kvlink
