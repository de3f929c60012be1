// The communication watchdog: it acts only while polling is off and the link
// is closed, and then puts the program back into its not-connected state.
#include "Form16.h"
#include "PollFixture.h"

namespace kvlink::test {
namespace {

class WatchdogTest : public PollFixture {
 protected:
  WatchdogTest() {
    WindowStates& s = program->windowStates;
    s.MeterWindowState = 0;
    s.PreTripWindowState = 0;
    s.SetPointWindowState = 1;
    s.CTWindowState = 1;
    s.ResetWindowState = 4;
    s.ProgramModeWindowState = 1;
    Form1::setMenuEnabled(main().mnuDisplay, true);
    Form1::setMenuEnabled(main().mnuDataLogging, true);
    Form1::setMenuEnabled(main().menuDisplayNetworkSum, true);
    Form1::setMenuEnabled(main().mnuHelp, false);
    main().Command3D1->setEnabled(true);
    main().Label1->setText("RUNNING");
    main().Label3->setText("TRIPS");
  }
  void expectUntouched() {
    EXPECT_TRUE(kind.calls.empty());
    EXPECT_EQ(program->windowStates.MeterWindowState, 0);
    EXPECT_TRUE(Form1::menuEnabled(main().mnuDisplay));
    EXPECT_EQ(main().Label1->text(), "RUNNING");
  }
};

TEST_F(WatchdogTest, DoesNothingWhilePollingIsOnOrTheLinkIsEnabled) {
  Form1_TimerCS_Timer(*program);  // polling on, link enabled
  expectUntouched();
  main().Timer1->stop();  // a field edit stopped polling, the link stays open
  Form1_TimerCS_Timer(*program);
  expectUntouched();
  main().Timer1->start();
  program->linkState.CommEnabled = 0;
  Form1_TimerCS_Timer(*program);
  expectUntouched();
}

TEST_F(WatchdogTest, ResetsToNotConnectedWhenPollingIsOffAndTheLinkClosed) {
  main().Timer1->stop();
  program->linkState.CommEnabled = 0;
  poll().ScanActive = 1;
  Form16& setup = program->Form16();  // as an open link leaves it
  setup.Command3D1->setEnabled(false);
  setup.Command3D2->setEnabled(true);
  setup.setLinkSettingsEnabled(false);
  program->hooks.watchdogTick();
  EXPECT_TRUE(setup.Command3D1->isEnabled());
  EXPECT_FALSE(setup.Command3D2->isEnabled());
  for (QWidget* control : std::initializer_list<QWidget*>{
           setup.Option3D1, setup.Option3D2, setup.Option3D3, setup.Option3D4, setup.Option3D5,
           setup.Option3D6, setup.Option3D7, setup.Option3D8, setup.Option3D9, setup.Option3D10,
           setup.SSOption1, setup.SSOption2, setup.SSCheck1, setup.Label4, setup.Label6})
    EXPECT_TRUE(control->isEnabled()) << control->objectName().toStdString();
  EXPECT_EQ(kind.calls, (std::vector<std::string>{"closeAll 1"}));
  const WindowStates& s = program->windowStates;
  for (int16_t state : {s.MeterWindowState, s.PreTripWindowState, s.SetPointWindowState,
                        s.CTWindowState, s.ResetWindowState, s.ProgramModeWindowState})
    EXPECT_EQ(state, kWindowClosed);
  EXPECT_FALSE(Form1::menuEnabled(main().mnuDisplay));
  EXPECT_FALSE(Form1::menuEnabled(main().mnuDataLogging));
  EXPECT_FALSE(Form1::menuEnabled(main().menuDisplayNetworkSum));
  EXPECT_TRUE(Form1::menuEnabled(main().mnuHelp));
  EXPECT_FALSE(main().Command3D1->isEnabled());
  EXPECT_EQ(main().Label1->text(), "COMM not enabled");
  EXPECT_EQ(main().Label3->text(), "N/A");
  EXPECT_EQ(poll().ScanActive, 1) << "the scan state is left as it was";
  EXPECT_TRUE(link->calls.empty()) << "nothing goes to the unit";
}

TEST_F(WatchdogTest, TimersAreWiredThroughTheProgramHooks) {
  EXPECT_EQ(main().TimerCS->interval(), 3000);
  EXPECT_TRUE(main().TimerCS->isActive());
  link->station(1).unit(0);
  program->hooks.pollTick();
  EXPECT_EQ(link->count("abread"), 2);
}

}  // namespace
}  // namespace kvlink::test
