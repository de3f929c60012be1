// The shell on a simulated line of relays over a pseudo-terminal: the link
// opened at start-up and from the serial set-up window, used, disabled and
// enabled again, in Modbus RTU and in DF1 with both error checks.
#include <cstdlib>

#include "ErrorHandling.h"
#include "Form1.h"
#include "Form16.h"
#include "InstallShell.h"
#include "SerialLink.h"
#include "SettingsFile.h"
#include "SimulatedLine.h"
#include "Startup.h"
#include "Vercode.h"
#include "link/LinkErrors.h"
#include "link/SerialLinkLibrary.h"
#include "platform/Profile.h"

namespace kvlink::test {
namespace {

constexpr int kIdentificationRegister = 39;

// The program finds the line as COM 3, through a link in the settings directory.
class ShellEndToEndTest : public EndToEndTest {
 protected:
  ShellEndToEndTest() : EndToEndTest("line") {}
  void SetUp() override {
    line->addStation(5, 0);
    line->addStation(9, 1);
    ASSERT_TRUE(startLine());
    setenv("KVLINK_COM3", line->devicePath().c_str(), 1);
    auto link = std::make_unique<SerialLinkLibrary>();
    link->setTiming(busyMachineTiming());
    makeProgram(std::move(link));
    installShell(*program);
  }
  void TearDown() override {
    EndToEndTest::TearDown();
    unsetenv("KVLINK_COM3");
  }

  // The settings an operator would have chosen for this line, saved.
  void saveLineSettings(const char* autostart) {
    const std::pair<const std::string*, std::string> keys[] = {
        {&kPortKey, "3"},
        {&kBaudKey, "96"},
        {&kProtocolKey, modbus() ? "1" : "0"},
        {&kCheckModeKey, std::to_string(checkMode())},
        {&kStationKey, "9"},
        {&kAutoStartKey, autostart}};
    for (const auto& [key, value] : keys)
      ASSERT_TRUE(WriteIni(kSettingsSection, *key, value, kSettingsFile));
  }

  // Reads the identification word of a station through the program's link.
  int readIdentification(int16_t station, uint16_t& word) {
    const int16_t count = modbus() ? 1 : 2;
    const int rc = ReadUnit(*program, program->linkState.CommPort, station,
                            registerAddress(*program, kIdentificationRegister), count);
    word = program->ReadBuffer[0];
    return rc;
  }
  void expectStationsAnswer() {
    for (int16_t station : {5, 9}) {
      uint16_t word = 0;
      ASSERT_EQ(readIdentification(station, word), 0) << "station " << station;
      EXPECT_EQ(word, line->reg(station, kIdentificationRegister));
    }
  }
};

TEST_P(ShellEndToEndTest, LinkOpensAtStartUpClosesOnDisableAndOpensAgainOnEnable) {
  saveLineSettings("1");
  Form1_Form_Load(*program);
  ASSERT_TRUE(host.boxes().empty());
  ASSERT_TRUE(LinkIsOpen(*program));
  EXPECT_EQ(program->linkState.CurrentStation, 9);
  EXPECT_TRUE(program->Form1().Timer1->isActive());
  expectStationsAnswer();

  program->Form16().Command3D2->click();
  EXPECT_FALSE(LinkIsOpen(*program));
  uint16_t word = 0;
  EXPECT_EQ(readIdentification(5, word), kPortNotOpen);

  program->Form16().Command3D1->click();
  ASSERT_TRUE(host.boxes().empty());
  ASSERT_TRUE(LinkIsOpen(*program));
  expectStationsAnswer();
}

TEST_P(ShellEndToEndTest, OperatorChoosesTheLineInTheSetUpWindowAndEnablesIt) {
  Form1_Form_Load(*program);  // first start: COM 1, DF1, CRC, link closed
  Form16& setup = program->Form16();
  setup.Option3D9->click();  // COM 3
  (modbus() ? setup.SSOption2 : setup.SSOption1)->click();
  (checkMode() == 1 ? setup.Option3D7 : setup.Option3D8)->click();
  setup.Command3D1->click();
  ASSERT_TRUE(host.boxes().empty());
  ASSERT_TRUE(LinkIsOpen(*program));
  expectStationsAnswer();

  program->Form16().Command3D2->click();
  EXPECT_FALSE(LinkIsOpen(*program));
}

TEST_P(ShellEndToEndTest, PortWithoutADeviceCannotBeUsed) {
  saveLineSettings("0");
  setenv("KVLINK_COM3", settingsDir.filePath("no-such-device").toLocal8Bit().constData(), 1);
  Form1_Form_Load(*program);
  program->Form16().Command3D1->click();
  ASSERT_EQ(host.boxes().size(), 1u);
  EXPECT_EQ(host.boxes()[0].text, "Requested COM port cannot be used.\n" +
                                      settingsDir.filePath("no-such-device") + ": not found");
  EXPECT_FALSE(LinkIsOpen(*program));
  EXPECT_FALSE(program->Form1().Timer1->isActive());
}

TEST_P(ShellEndToEndTest, UnitIdentificationReadsTheUnitWithThePollPaused) {
  saveLineSettings("1");
  Form1_Form_Load(*program);
  ASSERT_TRUE(LinkIsOpen(*program));
  line->setReg(9, 43, 207);
  bool polledWhileOpen = true;
  host.onNextModal([&](Form& shown) {
    polledWhileOpen = program->Form1().Timer1->isActive();
    static_cast<frmUnitId&>(shown).Command1->click();
  });
  program->Form1().mnuHelpUnitId->trigger();
  EXPECT_FALSE(polledWhileOpen);
  EXPECT_TRUE(program->Form1().Timer1->isActive());
  const frmUnitId& window = program->frmUnitId();
  EXPECT_EQ(window.Label1->text(), "9");
  EXPECT_EQ(window.Label2->text(), "GLT-52 feeder protection relay");
  EXPECT_EQ(window.Label3->text(),
            (line->reg(9, kIdentificationRegister) & 0x40) ? "present" : "not present");
  EXPECT_EQ(window.Label4->text(), "207");
  EXPECT_TRUE(host.boxes().empty());

  // A unit that does not answer: the off-line message, nothing shown, the
  // poll on again.
  line->setFault(9, sim::Fault{sim::FaultKind::Silent, -1});
  program->Form1().mnuHelpUnitId->trigger();
  ASSERT_EQ(host.boxes().size(), 1u);
  EXPECT_EQ(host.boxes()[0].text, "Unit off-line...Check connections");
  EXPECT_EQ(host.boxes()[0].title, "Off-line error");
  EXPECT_EQ(host.modalCount(), 1);
  EXPECT_TRUE(program->Form1().Timer1->isActive());

  // With the link closed the unit is not asked at all.
  program->Form16().Command3D2->click();
  program->Form1().mnuHelpUnitId->trigger();
  EXPECT_EQ(host.boxes().size(), 2u);
  EXPECT_FALSE(program->Form1().Timer1->isActive());
}

INSTANTIATE_TEST_SUITE_P(Lines, ShellEndToEndTest, ::testing::ValuesIn(kLineCases), lineCaseName);

}  // namespace
}  // namespace kvlink::test
