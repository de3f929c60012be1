// The serial set-up window: Enable, Disable, and the settings it saves.
#include <sys/stat.h>
#include <unistd.h>

#include <QDir>

#include "Form1.h"
#include "Form16.h"
#include "SerialLink.h"
#include "ShellTestSupport.h"
#include "Startup.h"

namespace kvlink::test {
namespace {

using Strings = std::vector<std::string>;

class Form16Test : public ShellTest {
 protected:
  void SetUp() override {
    ShellTest::SetUp();
    program->hooks.showGeneralStatusAfterOpen = [this] { ++generalStatusShown; };
    Form1_Form_Load(*program);  // first start: link closed
    link->calls.clear();
  }
  Form16& setup() { return program->Form16(); }
  // How many of the link-setting controls (12 options, the check box and
  // its two labels) are enabled.
  int enabledSettings() {
    Form16& f = setup();
    int enabled = 0;
    for (QWidget* w : std::initializer_list<QWidget*>{
             f.Option3D1, f.Option3D2, f.Option3D3, f.Option3D4, f.Option3D5, f.Option3D6,
             f.Option3D7, f.Option3D8, f.Option3D9, f.Option3D10, f.SSOption1, f.SSOption2,
             f.SSCheck1, f.Label4, f.Label6})
      enabled += w->isEnabled() ? 1 : 0;
    return enabled;
  }
  bool anySettingEnabled() { return enabledSettings() > 0; }
  bool allSettingsEnabled() { return enabledSettings() == 15; }

  int generalStatusShown = 0;
};

TEST_F(Form16Test, MenuOpensTheWindowWithTheCaptionsOfItsDesign) {
  program->Form1().mnuSetupSerial->trigger();
  Form16& f = setup();
  EXPECT_TRUE(f.isVisible());
  EXPECT_EQ(f.Command3D1->text(), "  Enable");
  EXPECT_EQ(f.Command3D2->text(), "Disable");
  EXPECT_EQ(f.SSOption1->text(), "Allen Bradley DF1 protocol");
  EXPECT_EQ(f.SSOption2->text(), "Modbus RTU protocol");
  EXPECT_EQ(f.SSCheck1->text(), "Automatically enable serial communications");
  const std::pair<QRadioButton*, const char*> options[] = {
      {f.Option3D1, "9600"},  {f.Option3D2, "4800"},   {f.Option3D3, "2400"},
      {f.Option3D4, "1200"},  {f.Option3D5, "COM 1"},  {f.Option3D6, "COM 2"},
      {f.Option3D9, "COM 3"}, {f.Option3D10, "COM 4"}, {f.Option3D7, "BCC"},
      {f.Option3D8, "CRC"}};
  for (const auto& [option, caption] : options) EXPECT_EQ(option->text(), caption);
  f.Command3D3->click();
  EXPECT_FALSE(program->Form16().isVisible());
}

TEST_F(Form16Test, EnableOpensTheLinkStartsPollingAndLocksTheSettings) {
  program->poll.ScanActive = 1;
  program->Form1().mnuHelpContents->trigger();
  setup().Command3D1->click();

  EXPECT_EQ(link->calls, (Strings{"abopen 1 96", "abretry " + kRetry, "abcheck 0"}));
  EXPECT_EQ(program->poll.ScanActive, 0);
  EXPECT_EQ(program->linkState.CommEnabled, 1);
  EXPECT_TRUE(LinkIsOpen(*program));
  Form1& form = program->Form1();
  EXPECT_TRUE(form.Timer1->isActive());
  EXPECT_TRUE(Form1::menuEnabled(form.mnuDisplay));
  EXPECT_TRUE(Form1::menuEnabled(form.mnuDataLogging));
  EXPECT_TRUE(Form1::menuEnabled(form.menuDisplayNetworkSum));
  EXPECT_TRUE(form.menuDisplayNetworkSummary->isEnabled());
  EXPECT_EQ(generalStatusShown, 1);
  EXPECT_EQ(program->windowStates.MeterWindowState, 0);
  EXPECT_FALSE(program->HelpWindow.loaded());  // the link opening closes help
  EXPECT_FALSE(setup().Command3D1->isEnabled());
  EXPECT_TRUE(setup().Command3D2->isEnabled());
  EXPECT_FALSE(anySettingEnabled());
  EXPECT_TRUE(host.boxes().empty());
}

TEST_F(Form16Test, DisableClosesTheLinkAndEveryDataWindow) {
  setup().SSOption2->click();
  setup().Option3D6->click();
  setup().Command3D1->click();
  program->windowStates.SetPointWindowState = 1;
  program->windowStates.ResetWindowState = 4;
  program->poll.ScanActive = 1;
  link->calls.clear();

  setup().Command3D2->click();

  EXPECT_EQ(link->calls, Strings{"close 2"});
  EXPECT_FALSE(LinkIsOpen(*program));
  EXPECT_EQ(program->linkState.CommEnabled, 0);
  EXPECT_EQ(program->poll.ScanActive, 1);
  ASSERT_EQ(kind.closes.size(), 1u);
  EXPECT_EQ(kind.closes[0], CloseReason::LinkDisabled);
  const WindowStates& states = program->windowStates;
  for (int16_t state :
       {states.MeterWindowState, states.PreTripWindowState, states.SetPointWindowState,
        states.CTWindowState, states.ResetWindowState, states.ProgramModeWindowState})
    EXPECT_EQ(state, kWindowClosed);
  Form1& form = program->Form1();
  EXPECT_FALSE(form.Timer1->isActive());
  EXPECT_FALSE(Form1::menuEnabled(form.mnuDisplay));
  EXPECT_FALSE(Form1::menuEnabled(form.mnuDataLogging));
  EXPECT_FALSE(Form1::menuEnabled(form.menuDisplayNetworkSum));
  EXPECT_TRUE(setup().Command3D1->isEnabled());
  EXPECT_FALSE(setup().Command3D2->isEnabled());
  EXPECT_TRUE(allSettingsEnabled());
}

TEST_F(Form16Test, FailedEnableLeavesEnableOfferedAndDisableEndsTheAttempt) {
  link->openResult = 2;
  setup().Command3D1->click();
  EXPECT_EQ(boxTexts(), std::vector<QString>{"Requested COM port cannot be used."});
  EXPECT_FALSE(program->Form1().Timer1->isActive());
  EXPECT_FALSE(Form1::menuEnabled(program->Form1().mnuDisplay));
  EXPECT_EQ(generalStatusShown, 0);
  EXPECT_TRUE(setup().Command3D1->isEnabled());
  EXPECT_TRUE(setup().Command3D2->isEnabled());
  EXPECT_TRUE(allSettingsEnabled());

  // A window reloaded now still offers Enable: the link is not open.
  program->Form16.Unload();
  flushDeletes();
  EXPECT_TRUE(setup().Command3D1->isEnabled());

  link->calls.clear();
  setup().Command3D2->click();
  EXPECT_TRUE(link->calls.empty());  // nothing to close
  EXPECT_EQ(program->linkState.CommEnabled, 0);
  EXPECT_FALSE(setup().Command3D2->isEnabled());
}

TEST_F(Form16Test, WindowReloadedWhileTheLinkIsOpenShowsItOpen) {
  setup().Command3D1->click();
  setup().Show();
  setup().close();  // title-bar close unloads
  flushDeletes();
  EXPECT_FALSE(program->Form16.loaded());
  EXPECT_FALSE(setup().Command3D1->isEnabled());
  EXPECT_TRUE(setup().Command3D2->isEnabled());
  EXPECT_FALSE(anySettingEnabled());
}

TEST_F(Form16Test, EachSettingIsSavedWhenTheOperatorChangesIt) {
  Form16& f = setup();
  struct Case {
    QRadioButton* option;
    const std::string* key;
    const char* stored;
  };
  const Case cases[] = {
      {f.Option3D4, &kBaudKey, "12"},     {f.Option3D3, &kBaudKey, "24"},
      {f.Option3D2, &kBaudKey, "48"},     {f.Option3D1, &kBaudKey, "96"},
      {f.Option3D10, &kPortKey, "4"},     {f.Option3D9, &kPortKey, "3"},
      {f.Option3D6, &kPortKey, "2"},      {f.Option3D5, &kPortKey, "1"},
      {f.Option3D7, &kCheckModeKey, "1"}, {f.Option3D8, &kCheckModeKey, "0"},
      {f.SSOption2, &kProtocolKey, "1"},  {f.SSOption1, &kProtocolKey, "0"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.option->objectName().toStdString());
    c.option->click();
    EXPECT_TRUE(c.option->isChecked());
    EXPECT_EQ(setting(*c.key), c.stored);
  }
  f.Option3D10->click();
  f.Option3D4->click();
  f.SSOption2->click();
  f.Option3D7->click();
  const LinkState& state = program->linkState;
  EXPECT_EQ(state.CommPort, 4);
  EXPECT_EQ(state.BaudCode, 12);
  EXPECT_EQ(state.UseModbus, 1);
  EXPECT_EQ(state.CheckMode, 1);

  f.SSCheck1->click();
  EXPECT_EQ(setting(kAutoStartKey), "1");
  f.SSCheck1->click();
  EXPECT_EQ(setting(kAutoStartKey), "0");
  EXPECT_TRUE(host.boxes().empty());
}

TEST_F(Form16Test, SettingThatCannotBeSavedIsReported) {
  // gridmon.ini replaced by a directory: the file cannot be read or written.
  ASSERT_TRUE(QFile::remove(QString::fromStdString(settingsFilePath())));
  ASSERT_TRUE(QDir().mkdir(QString::fromStdString(settingsFilePath())));
  setup().Option3D6->click();
  ASSERT_EQ(host.boxes().size(), 1u);
  const QString file = QString::fromStdString(settingsFilePath());
  EXPECT_EQ(host.boxes()[0].text, "The setting \"port\" could not be saved in " + file + ".");
  EXPECT_EQ(program->linkState.CommPort, 2);  // used for this run all the same
  host.clearRecords();                        // Enable names every key it could not save
  setup().Command3D1->click();
  ASSERT_GE(host.boxes().size(), 1u);
  EXPECT_EQ(host.boxes()[0].text,
            "The settings \"port\", \"baud\", \"protocol\" and "
            "\"checkmode\" could not be saved in " +
                file + ".");
}

// gridmon.ini owned by root in a directory the operator may write: a file the
// operator may not write stays as it is and the write is reported; one that
// the operator may write keeps its owner and mode.
TEST_F(Form16Test, ProtectedSettingsFileIsNotReplaced) {
  if (::geteuid() != 0) GTEST_SKIP() << "acting as another user needs root";
  const std::string path = settingsFilePath();
  ASSERT_EQ(::chmod(settingsDir.path().toLocal8Bit().constData(), 0777), 0);
  struct stat st {};
  for (auto [mode, option, port] :
       {std::tuple{0644u, setup().Option3D6, "1"}, std::tuple{0666u, setup().Option3D9, "3"}}) {
    host.clearRecords();
    ASSERT_EQ(::chmod(path.c_str(), mode), 0);
    ASSERT_EQ(::seteuid(65534), 0);  // the operator
    option->click();
    ASSERT_EQ(::seteuid(0), 0);
    ASSERT_EQ(::stat(path.c_str(), &st), 0);
    EXPECT_EQ(setting(kPortKey), port);
    EXPECT_EQ(st.st_uid, 0u);
    EXPECT_EQ(st.st_mode & 07777, mode);
    EXPECT_EQ(boxTexts().size(), mode == 0644u ? 1u : 0u);
  }
  EXPECT_EQ(st.st_gid, 0u);
}

// Enable saves the link it opens, so that a file that lacked a link key
// opens the link at the next start.
TEST_F(Form16Test, EnableWritesAllFourLinkKeys) {
  for (const std::string& key : {kPortKey, kBaudKey, kProtocolKey, kCheckModeKey})
    setSetting(key, "");
  setSetting(kAutoStartKey, "1");
  restart();
  Form1_Form_Load(*program);
  EXPECT_EQ(program->Form1().Label1->text(),
            "Serial communications not set up:\nSetup > Serial Communications");
  setup().Command3D1->click();
  restart();
  Form1_Form_Load(*program);
  EXPECT_EQ(link->calls, (Strings{"abopen 1 96", "abretry " + kRetry, "abcheck 0"}));
  EXPECT_EQ(program->Form1().Label1->text(), "COMM not enabled");
}

}  // namespace
}  // namespace kvlink::test
