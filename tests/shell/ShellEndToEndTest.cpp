// The shell on a simulated line of relays over a pseudo-terminal: the link
// opened at start-up and from the serial set-up window, used, disabled and
// enabled again, in Modbus RTU and in DF1 with both error checks.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QTemporaryDir>
#include <cstdlib>

#include "ErrorHandling.h"
#include "Form1.h"
#include "Form16.h"
#include "InstallShell.h"
#include "Program.h"
#include "ScriptedHost.h"
#include "SerialLink.h"
#include "SettingsFile.h"
#include "Startup.h"
#include "UnitSimulator.h"
#include "Vercode.h"
#include "link/LinkErrors.h"
#include "link/SerialLinkLibrary.h"
#include "platform/profile.h"

namespace kvlink::test {
namespace {

using sim::Protocol;

constexpr int kIdentificationRegister = 39;

struct LineCase {
  Protocol protocol;
  const char* name;
};

class ShellEndToEndTest : public ::testing::TestWithParam<LineCase> {
 protected:
  void SetUp() override {
    ASSERT_TRUE(dir_.isValid());
    setenv("KVLINK_WINDIR", dir_.path().toLocal8Bit().constData(), 1);
    sim_ = std::make_unique<sim::UnitSimulator>(
        sim::SimOptions{GetParam().protocol, 9600, false, dir_.filePath("line").toStdString()});
    sim_->addStation(5, 0);
    sim_->addStation(9, 1);
    sim_->setFrozen(true);
    ASSERT_TRUE(sim_->start());
    setenv("KVLINK_COM3", sim_->devicePath().c_str(), 1);
    program_ = std::make_unique<Program>(host_, std::make_unique<SerialLinkLibrary>());
    installShell(*program_);
  }
  void TearDown() override {
    program_.reset();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    sim_.reset();
    unsetenv("KVLINK_COM3");
    unsetenv("KVLINK_WINDIR");
  }

  bool modbus() const { return GetParam().protocol == Protocol::Modbus; }
  int16_t checkMode() const { return GetParam().protocol == Protocol::Df1Bcc ? 1 : 0; }

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
    const int rc = ReadUnit(*program_, program_->linkState.CommPort, station,
                            registerAddress(*program_, kIdentificationRegister), count);
    word = program_->ReadBuffer[0];
    return rc;
  }
  void expectStationsAnswer() {
    for (int16_t station : {5, 9}) {
      uint16_t word = 0;
      ASSERT_EQ(readIdentification(station, word), 0) << "station " << station;
      EXPECT_EQ(word, sim_->reg(station, kIdentificationRegister));
    }
  }

  QTemporaryDir dir_;
  ScriptedHost host_;
  std::unique_ptr<sim::UnitSimulator> sim_;
  std::unique_ptr<Program> program_;
};

TEST_P(ShellEndToEndTest, LinkOpensAtStartUpClosesOnDisableAndOpensAgainOnEnable) {
  saveLineSettings("1");
  Form1_Form_Load(*program_);
  ASSERT_TRUE(host_.boxes().empty());
  ASSERT_TRUE(LinkIsOpen(*program_));
  EXPECT_EQ(program_->linkState.CurrentStation, 9);
  EXPECT_TRUE(program_->Form1().Timer1->isActive());
  expectStationsAnswer();

  program_->Form16().Command3D2->click();
  EXPECT_FALSE(LinkIsOpen(*program_));
  uint16_t word = 0;
  EXPECT_EQ(readIdentification(5, word), kPortNotOpen);

  program_->Form16().Command3D1->click();
  ASSERT_TRUE(host_.boxes().empty());
  ASSERT_TRUE(LinkIsOpen(*program_));
  expectStationsAnswer();
}

TEST_P(ShellEndToEndTest, OperatorChoosesTheLineInTheSetUpWindowAndEnablesIt) {
  Form1_Form_Load(*program_);  // first start: COM 1, DF1, CRC, link closed
  Form16& setup = program_->Form16();
  setup.Option3D9->click();  // COM 3
  (modbus() ? setup.SSOption2 : setup.SSOption1)->click();
  (checkMode() == 1 ? setup.Option3D7 : setup.Option3D8)->click();
  setup.Command3D1->click();
  ASSERT_TRUE(host_.boxes().empty());
  ASSERT_TRUE(LinkIsOpen(*program_));
  expectStationsAnswer();

  program_->Form16().Command3D2->click();
  EXPECT_FALSE(LinkIsOpen(*program_));
}

TEST_P(ShellEndToEndTest, PortWithoutADeviceCannotBeUsed) {
  saveLineSettings("0");
  setenv("KVLINK_COM3", dir_.filePath("no-such-device").toLocal8Bit().constData(), 1);
  Form1_Form_Load(*program_);
  program_->Form16().Command3D1->click();
  ASSERT_EQ(host_.boxes().size(), 1u);
  EXPECT_EQ(host_.boxes()[0].text, "Requested COM port cannot be used.");
  EXPECT_FALSE(LinkIsOpen(*program_));
  EXPECT_FALSE(program_->Form1().Timer1->isActive());
}

TEST_P(ShellEndToEndTest, UnitIdentificationReadsTheUnitWithThePollPaused) {
  saveLineSettings("1");
  Form1_Form_Load(*program_);
  ASSERT_TRUE(LinkIsOpen(*program_));
  sim_->setReg(9, 43, 207);
  bool polledWhileOpen = true;
  host_.onNextModal([&](Form& shown) {
    polledWhileOpen = program_->Form1().Timer1->isActive();
    static_cast<frmUnitId&>(shown).Command1->click();
  });
  program_->Form1().mnuHelpUnitId->trigger();
  EXPECT_FALSE(polledWhileOpen);
  EXPECT_TRUE(program_->Form1().Timer1->isActive());
  const frmUnitId& window = program_->frmUnitId();
  EXPECT_EQ(window.Label1->text(), "9");
  EXPECT_EQ(window.Label2->text(), "GLT-52 feeder protection relay");
  EXPECT_EQ(window.Label3->text(),
            (sim_->reg(9, kIdentificationRegister) & 0x40) ? "present" : "not present");
  EXPECT_EQ(window.Label4->text(), "207");
  EXPECT_TRUE(host_.boxes().empty());

  // A unit that does not answer: the off-line message, nothing shown, the
  // poll on again.
  sim_->setFault(9, sim::Fault{sim::FaultKind::Silent, -1});
  program_->Form1().mnuHelpUnitId->trigger();
  ASSERT_EQ(host_.boxes().size(), 1u);
  EXPECT_EQ(host_.boxes()[0].text, "Unit off-line...Check connections");
  EXPECT_EQ(host_.boxes()[0].title, "Off-line error");
  EXPECT_EQ(host_.modalCount(), 1);
  EXPECT_TRUE(program_->Form1().Timer1->isActive());

  // With the link closed the unit is not asked at all.
  program_->Form16().Command3D2->click();
  program_->Form1().mnuHelpUnitId->trigger();
  EXPECT_EQ(host_.boxes().size(), 2u);
  EXPECT_FALSE(program_->Form1().Timer1->isActive());
}

INSTANTIATE_TEST_SUITE_P(Lines, ShellEndToEndTest,
                         ::testing::Values(LineCase{Protocol::Modbus, "Modbus"},
                                           LineCase{Protocol::Df1Crc, "Df1Crc"},
                                           LineCase{Protocol::Df1Bcc, "Df1Bcc"}),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace kvlink::test
