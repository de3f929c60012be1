// The main window's start-up: defaults, the settings file, and the three
// cases of "autostart".
#include <pty.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QProcess>
#include <fstream>

#include "Form1.h"
#include "Form16.h"
#include "PasswordCoding.h"
#include "SerialLink.h"
#include "ShellTestSupport.h"
#include "Startup.h"
#include "link/SerialLinkLibrary.h"
#include "link/SerialPort.h"

namespace kvlink::test {
namespace {

using Strings = std::vector<std::string>;

class StartupTest : public ShellTest {
 protected:
  void SetUp() override {
    ShellTest::SetUp();
    installRecordingHooks();
  }
  void installRecordingHooks() {
    program->hooks.showGeneralStatusAfterOpen = [this] { events.push_back("general status"); };
    program->hooks.restoreAutoRetrieve = [this] { events.push_back("auto retrieve"); };
  }
  void startAgain() {
    restart();
    events.clear();
    installRecordingHooks();
  }

  // What an operator sees of the link in the main and set-up windows.
  void expectLinkClosedUi() {
    Form1& form = program->Form1();
    EXPECT_FALSE(form.Timer1->isActive());
    EXPECT_FALSE(Form1::menuEnabled(form.mnuDisplay));
    EXPECT_FALSE(Form1::menuEnabled(form.mnuDataLogging));
    EXPECT_FALSE(Form1::menuEnabled(form.menuDisplayNetworkSum));
    EXPECT_FALSE(form.Command3D1->isEnabled());
    EXPECT_TRUE(Form1::menuEnabled(form.mnuHelp));
    EXPECT_TRUE(program->Form16().Command3D1->isEnabled());
    EXPECT_TRUE(program->Form16().SSOption1->isEnabled());
    EXPECT_FALSE(LinkIsOpen(*program));
  }
  void expectLinkOpenUi() {
    Form1& form = program->Form1();
    EXPECT_TRUE(form.Timer1->isActive());
    EXPECT_EQ(form.Timer1->interval(), 1000);
    EXPECT_TRUE(Form1::menuEnabled(form.mnuDisplay));
    EXPECT_TRUE(Form1::menuEnabled(form.mnuDataLogging));
    EXPECT_TRUE(Form1::menuEnabled(form.menuDisplayNetworkSum));
    EXPECT_TRUE(form.menuDisplayNetworkSummary->isEnabled());
    EXPECT_TRUE(form.Command3D1->isEnabled());
    Form16& setup = program->Form16();
    EXPECT_FALSE(setup.Command3D1->isEnabled());
    EXPECT_TRUE(setup.Command3D2->isEnabled());
    for (QWidget* control : std::initializer_list<QWidget*>{
             setup.SSOption1, setup.SSOption2, setup.Option3D1, setup.Option3D4, setup.Option3D5,
             setup.Option3D10, setup.Option3D7, setup.Option3D8, setup.SSCheck1})
      EXPECT_FALSE(control->isEnabled()) << control->objectName().toStdString();
    EXPECT_TRUE(LinkIsOpen(*program));
    EXPECT_EQ(program->linkState.CommEnabled, 1);
  }

  Strings events;
};

TEST_F(StartupTest, FirstStartWritesDefaultsWithoutPasswordsAndKeepsTheLinkClosed) {
  ASSERT_FALSE(settingsFileExists());
  program->poll.ScanActive = 1;
  program->commands.PendingRemoteTrip = true;
  program->windowStates.CTWindowState = 1;
  program->session.EditIdle = 0;

  Form1_Form_Load(*program);

  EXPECT_TRUE(settingsFileExists());
  EXPECT_EQ(setting(kPortKey), "1");
  EXPECT_EQ(setting(kBaudKey), "96");
  EXPECT_EQ(setting(kProtocolKey), "0");
  EXPECT_EQ(setting(kCheckModeKey), "0");
  EXPECT_EQ(setting(kStationKey), "1");
  EXPECT_EQ(setting(kAutoStartKey), "0");
  EXPECT_EQ(ReadIni(kMiscSection, kGeneralPasswordKey, kSettingsFile), kNoPassword);
  EXPECT_EQ(ReadIni(kMiscSection, kMasterPasswordKey, kSettingsFile), kNoPassword);

  const LinkState& link = program->linkState;
  EXPECT_EQ(link.CommPort, 1);
  EXPECT_EQ(link.UseModbus, 0);
  EXPECT_EQ(link.CurrentStation, 1);
  EXPECT_EQ(link.CommEnabled, 0);
  EXPECT_FALSE(program->commands.any());
  EXPECT_EQ(program->windowStates.CTWindowState, kWindowClosed);
  EXPECT_EQ(program->session.EditIdle, 1);
  EXPECT_TRUE(this->link->calls.empty());
  EXPECT_TRUE(host.boxes().empty());
  EXPECT_EQ(events, Strings{"auto retrieve"});  // autostart "0"

  Form1& form = program->Form1();
  EXPECT_EQ(form.windowTitle(), "KV-LINK27 v1.54a");
  EXPECT_EQ(form.Label1->text(), "COMM not enabled");
  EXPECT_EQ(form.Label3->text(), "N/A");
  EXPECT_EQ(form.Label2->text(), "1");
  EXPECT_TRUE(form.TimerCS->isActive());
  EXPECT_EQ(form.TimerCS->interval(), 3000);
  expectLinkClosedUi();
  EXPECT_TRUE(program->Form16().Option3D5->isChecked());
  EXPECT_TRUE(program->Form16().SSOption1->isChecked());
  EXPECT_FALSE(program->Form16().Command3D2->isEnabled());
}

TEST_F(StartupTest, EmptyAutostartEndsTheLoadWithTheLinkClosed) {
  writeLinkSettings("2", "9600", "1", "0", "");
  Form1_Form_Load(*program);
  EXPECT_TRUE(link->calls.empty());
  EXPECT_TRUE(events.empty());
  EXPECT_EQ(program->linkState.CommPort, 2);
  EXPECT_TRUE(program->Form16().Option3D6->isChecked());
  EXPECT_FALSE(program->Form16().SSCheck1->isChecked());
  expectLinkClosedUi();
}

TEST_F(StartupTest, AutostartZeroKeepsTheLinkClosedAndRestoresAutoRetrieve) {
  writeLinkSettings("1", "96", "0", "0", "0");
  Form1_Form_Load(*program);
  EXPECT_TRUE(link->calls.empty());
  EXPECT_EQ(events, Strings{"auto retrieve"});
  expectLinkClosedUi();
}

TEST_F(StartupTest, AutostartOpensModbusWithTheSavedPortAndBaudRate) {
  writeLinkSettings("3", "4800", "1", "1", "1");
  Form1_Form_Load(*program);
  EXPECT_EQ(link->calls, (Strings{"open 3 48", "retry " + kRetry}));
  EXPECT_EQ(events, (Strings{"general status", "auto retrieve"}));
  EXPECT_EQ(program->windowStates.MeterWindowState, 0);
  EXPECT_TRUE(host.boxes().empty());
  expectLinkOpenUi();
  Form16& setup = program->Form16();
  EXPECT_TRUE(setup.SSOption2->isChecked());
  EXPECT_TRUE(setup.Option3D9->isChecked());
  EXPECT_TRUE(setup.Option3D2->isChecked());
  EXPECT_TRUE(setup.SSCheck1->isChecked());
}

TEST_F(StartupTest, AutostartOpensDf1WithItsErrorCheck) {
  writeLinkSettings("2", "12", "0", "1", "1");
  Form1_Form_Load(*program);
  EXPECT_EQ(link->calls, (Strings{"abopen 2 12", "abretry " + kRetry, "abcheck 1"}));
  expectLinkOpenUi();
  EXPECT_TRUE(program->Form16().Option3D7->isChecked());
}

TEST_F(StartupTest, PortThatCannotBeOpenedIsReportedAndNothingStarts) {
  writeLinkSettings("4", "9600", "0", "0", "1");
  link->openResult = 3;
  Form1_Form_Load(*program);
  EXPECT_EQ(boxTexts(), std::vector<QString>{"Requested COM port cannot be used."});
  EXPECT_TRUE(events.empty());
  EXPECT_EQ(program->windowStates.MeterWindowState, kWindowClosed);
  expectLinkClosedUi();
  // The open was tried: Disable is offered, and the watchdog leaves the UI.
  EXPECT_EQ(program->linkState.CommEnabled, 1);
  EXPECT_TRUE(program->Form16().Command3D2->isEnabled());
}

TEST_F(StartupTest, LinkWhoseErrorCheckCannotBeSetIsClosedAgain) {
  writeLinkSettings("1", "9600", "0", "0", "1");
  link->checkModeResult = 7;
  Form1_Form_Load(*program);
  EXPECT_EQ(link->calls, (Strings{"abopen 1 96", "abretry " + kRetry, "abcheck 0", "abclose 1"}));
  EXPECT_EQ(boxTexts(), std::vector<QString>{"Requested COM port cannot be used."});
  expectLinkClosedUi();
}

TEST_F(StartupTest, BadValuesGiveTheDefaults) {
  writeLinkSettings("5", "19200", "2", "x", "1");
  setSetting(kStationKey, "64");
  Form1_Form_Load(*program);
  EXPECT_EQ(link->calls, (Strings{"abopen 1 96", "abretry " + kRetry, "abcheck 0"}));
  EXPECT_EQ(program->linkState.CurrentStation, 1);
  EXPECT_TRUE(host.boxes().empty());
  // Nothing is written back at start.
  EXPECT_EQ(setting(kPortKey), "5");
}

TEST_F(StartupTest, EveryStationTheProgramSavesIsAcceptedAtTheNextStart) {
  for (const char* station : {"1", "7", "8", "9", "10", "63"}) {
    SCOPED_TRACE(station);
    writeLinkSettings("1", "9600", "0", "0", "");
    setSetting(kStationKey, station);
    ASSERT_TRUE(WriteIni(kStationSection, stationNameKey(std::stoi(station)),
                         std::string("Relay ") + station, kSettingsFile));
    startAgain();
    Form1_Form_Load(*program);
    EXPECT_EQ(program->linkState.CurrentStation, std::stoi(station));
    EXPECT_EQ(program->Form1().Label2->text().toStdString(), station);
    EXPECT_EQ(program->Form1().Label11->text().toStdString(), std::string("Relay ") + station);
  }
  for (const char* station : {"0", "64", "-3", "7.5", "abc", "99999999999"}) {
    SCOPED_TRACE(station);
    setSetting(kStationKey, station);
    startAgain();
    program->linkState.CurrentStation = 40;
    Form1_Form_Load(*program);
    EXPECT_EQ(program->linkState.CurrentStation, 1);
  }
}

TEST_F(StartupTest, MissingSerialKeyLeavesTheLinkClosedAndAutoRetrieveOff) {
  writeLinkSettings("1", "9600", "0", "0", "1");
  setSetting(kBaudKey, "");
  Form1_Form_Load(*program);
  EXPECT_TRUE(link->calls.empty());
  EXPECT_TRUE(events.empty());
  expectLinkClosedUi();
}

TEST_F(StartupTest, SettingsChosenInTheWindowsAreRestoredAtTheNextStart) {
  Form1_Form_Load(*program);
  Form16& setup = program->Form16();
  setup.SSOption2->click();
  setup.Option3D9->click();
  setup.Option3D3->click();
  setup.SSCheck1->click();
  EXPECT_EQ(setting(kAutoStartKey), "1");

  startAgain();
  Form1_Form_Load(*program);
  EXPECT_EQ(link->calls, (Strings{"open 3 24", "retry " + kRetry}));
  expectLinkOpenUi();
}

TEST_F(StartupTest, SettingsFileThatCannotBeCreatedIsReported) {
  setenv("KVLINK_WINDIR", "/proc/kv-link27-cannot-exist", 1);
  Form1_Form_Load(*program);
  ASSERT_EQ(host.boxes().size(), 1u);
  EXPECT_TRUE(host.boxes()[0].text.contains("could not be created"));
  expectLinkClosedUi();
}

// The password tool run before the first start, and a damaged file: the
// start adds the [Settings] defaults and keeps the passwords as they are.
TEST_F(StartupTest, FileWithoutSettingsSectionGetsTheFirstStartDefaults) {
  QProcess tool;
  tool.start(QStringLiteral(KVLINK27_PASSWD_EXECUTABLE), {QStringLiteral("general")});
  tool.write("secret\n");
  tool.closeWriteChannel();
  ASSERT_TRUE(tool.waitForFinished(5000));
  EXPECT_EQ(ReadIni(kMiscSection, kMasterPasswordKey, kSettingsFile), "-");
  Form1_Form_Load(*program);
  EXPECT_EQ(setting(kBaudKey), "96");
  EXPECT_EQ(ReadIni(kMiscSection, kGeneralPasswordKey, kSettingsFile), encodePassword("secret"));
  EXPECT_EQ(program->Form1().Label1->text(), "COMM not enabled");

  std::ofstream(settingsFilePath(), std::ios::trunc) << "\x7f\x01 not a settings file\n";
  startAgain();
  Form1_Form_Load(*program);
  EXPECT_EQ(setting(kProtocolKey), "0");
  EXPECT_EQ(ReadIni(kMiscSection, kGeneralPasswordKey, kSettingsFile), "");
  EXPECT_TRUE(host.boxes().empty());
}

// A port that cannot be used: the box names the device and the reason.
TEST_F(StartupTest, PortFailureNamesTheDeviceAndTheReason) {
  const std::string dir = settingsDir.path().toStdString();
  int master = -1, slave = -1;
  ASSERT_EQ(::openpty(&master, &slave, nullptr, nullptr, nullptr), 0);
  const std::string pty = ::ttyname(slave);
  SerialPort holder;
  ASSERT_EQ(holder.open(pty, 9600), SerialPort::OpenResult::Ok);
  for (const auto& [device, reason] : {std::pair{dir + "/none", "not found"},
                                       {"/dev/null", "not a serial device"},
                                       {dir, "not a serial device"},
                                       {pty, "in use by another program"}}) {
    setenv("KVLINK_COM2", device.c_str(), 1);
    makeProgram(std::make_unique<SerialLinkLibrary>());
    installShell(*program);
    writeLinkSettings("2", "9600", device == pty ? "1" : "0", "0", "1");
    host.clearRecords();
    Form1_Form_Load(*program);
    EXPECT_EQ(boxTexts(), std::vector<QString>{QString::fromStdString(
                              "Requested COM port cannot be used.\n" + device + ": " + reason)});
  }
  unsetenv("KVLINK_COM2");
  ::close(master);
  ::close(slave);
}

TEST_F(ShellTest, MainWindowTimersDriveThePollAndTheWatchdogOnceTheyAreInstalled) {
  Form1& form = program->Form1();
  form.Timer1->setInterval(1);
  form.TimerCS->setInterval(1);
  form.Timer1->start();
  auto spin = [](const std::function<bool()>& done) {
    QElapsedTimer clock;
    clock.start();
    while (!done() && clock.elapsed() < 2000)
      QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
  };
  // Ticks without a poll or a watchdog installed do nothing.
  QElapsedTimer wait;
  wait.start();
  spin([&] { return wait.elapsed() > 20; });

  int polls = 0, watchdogs = 0;
  program->hooks.pollTick = [&] { ++polls; };
  program->hooks.watchdogTick = [&] { ++watchdogs; };
  spin([&] { return polls > 0 && watchdogs > 0; });
  EXPECT_GT(polls, 0);
  EXPECT_GT(watchdogs, 0);

  form.Timer1->stop();
  const int pollsWhenStopped = polls;
  wait.restart();
  spin([&] { return wait.elapsed() > 20; });
  EXPECT_EQ(polls, pollsWhenStopped);
  EXPECT_GT(watchdogs, 1);
}

}  // namespace
}  // namespace kvlink::test
