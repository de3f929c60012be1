// Data Logging > Configure of the whole program on a simulated line of
// relays over a pseudo-terminal, in Modbus RTU and in DF1 with both error
// checks: the operator reads and changes a unit's logger settings, sets its
// clock and watches it tick.
#include "Form1.h"
#include "Install.h"
#include "LoggerConfigModule.h"
#include "PollPass.h"
#include "SimulatedLine.h"

namespace kvlink::test {
namespace {

constexpr int kMotor = 5;     // unit type 0
constexpr int kFeeder = 9;    // unit type 1
constexpr int kCircuit = 20;  // unit type 4

class LoggerConfigEndToEndTest : public EndToEndTest {
 protected:
  void SetUp() override {
    ASSERT_TRUE(writeNoPasswords());
    line->addStation(kMotor, 0);
    line->addStation(kFeeder, 1);
    line->addStation(kCircuit, 4);
    ASSERT_TRUE(startLine());
    makeProgram();
    installSubsystems(*program);
    ASSERT_TRUE(openLink());
  }

  bool polling() { return program->Form1().Timer1->isActive(); }
  void pollStation(int station) {
    program->selectStation(int16_t(station));
    PollCurrentStation(*program);
    ASSERT_EQ(program->poll.PollStatus, 0);
  }
  LogConfigure& openConfigure() {
    program->Form1().mnuConfigure->trigger();
    return loggerConfigModule(*program).LogConfigure();
  }
  std::vector<uint16_t> logger(int station) { return line->regs(station, 132, 7); }
  // The boxes shown since the last look.
  std::vector<QString> boxTexts() {
    std::vector<QString> texts = test::boxTexts(host);
    host.clearRecords();
    return texts;
  }
};

TEST_P(LoggerConfigEndToEndTest, LoggerSettingsAreReadChangedAndSent) {
  line->setReg(kMotor, 138, 42);
  pollStation(kMotor);
  LogConfigure& w = openConfigure();
  ASSERT_TRUE(boxTexts().empty());
  EXPECT_FALSE(polling());
  // The simulated unit's own settings: 60 s, 10, time and events, clock on.
  EXPECT_EQ(w.Text1->text(), "60");
  EXPECT_EQ(w.Text2->text(), "10");
  EXPECT_TRUE(w.SSOption1->isChecked());
  EXPECT_TRUE(w.SSOption3->isChecked());
  EXPECT_EQ(w.maskValue(TriggerMask::Trip), 0x1FF);
  EXPECT_EQ(w.maskValue(TriggerMask::Alarm), 959);
  EXPECT_EQ(loggerConfigModule(*program).settings.LogRecordCounter, 42);

  w.SSOption2->click();
  w.SSCheck22->click();
  w.Text1->setText(QStringLiteral("30"));
  w.Text2->setText(QStringLiteral("5"));
  w.maskBox("SSCheck1")->click();
  w.maskBox("SSCheck19")->click();
  w.SSCommand3->click();
  EXPECT_EQ(boxTexts(), std::vector<QString>{"Information has been sent."});
  // The unit resets its counter and keeps bit 8 no longer than that.
  EXPECT_EQ(logger(kMotor), (std::vector<uint16_t>{30, 5, 2 | 16, 0x1FE, 959, 3, 0}));
  w.SSCommand1->click();
  EXPECT_TRUE(polling());

  LogConfigure& again = openConfigure();
  EXPECT_EQ(again.Text1->text(), "30");
  EXPECT_TRUE(again.SSOption2->isChecked());
  EXPECT_FALSE(again.SSCheck22->isChecked());
  EXPECT_FALSE(again.maskBox("SSCheck19")->isChecked());
  again.SSCommand1->click();
}

TEST_P(LoggerConfigEndToEndTest, FeederUnitKeepsTheBitsOfItsHiddenBoxes) {
  line->setReg(kFeeder, 135, 0x100 | 0x40 | 0x01);
  pollStation(kFeeder);
  LogConfigure& w = openConfigure();
  EXPECT_EQ(w.SSFrame7->title(), "GLT Mask");
  EXPECT_TRUE(w.maskBox("SSCheck8")->isHidden());
  w.SSCommand3->click();
  EXPECT_EQ(boxTexts(), std::vector<QString>{"Information has been sent."});
  EXPECT_EQ(line->reg(kFeeder, 135), 0x141);
  w.SSCommand1->click();
}

// The poll last read the motor: the type-4 unit chosen since is captioned and sent as type 4.
TEST_P(LoggerConfigEndToEndTest, MasksAreCaptionedByTheUnitTheWindowReads) {
  pollStation(kMotor);
  program->selectStation(kCircuit);
  LogConfigure& w = openConfigure();
  EXPECT_EQ(w.SSFrame7->title(), "ZE-DUR Mask");
  EXPECT_EQ(w.maskBox("SSCheck4")->text() + w.maskBox("SSCheck9")->text(),
            "Remote TripGround Fault");
  EXPECT_TRUE(w.maskBox("SSCheck2")->isHidden());
  for (QCheckBox* box : w.maskBoxes(TriggerMask::Trip))
    box->setChecked(box == w.maskBox("SSCheck4"));
  w.SSCommand3->click();
  EXPECT_EQ(line->reg(kCircuit, 135), 64);
}

TEST_P(LoggerConfigEndToEndTest, UnitClockIsSetAndTicksOnScreen) {
  pollStation(kMotor);
  LogConfigure& w = openConfigure();
  // 28 November 2026, Saturday, 3:07:09 PM in the 12-hour form.
  w.SSPanel1->setValue(2026);
  w.SSPanel2->setValue(11);
  w.SSPanel3->setValue(28);
  w.Combo1->setCurrentIndex(6);
  w.SSCheck23->click();
  w.SSPanel6->setValue(3);
  w.Combo2->setCurrentText(QStringLiteral("PM"));
  w.SSPanel5->setValue(7);
  w.SSPanel4->setValue(9);
  w.SSCommand2->click();
  EXPECT_EQ(boxTexts(), std::vector<QString>{"Information has been sent."});
  EXPECT_EQ(line->regs(kMotor, 128, 4), (std::vector<uint16_t>{0x2026, 0x1128, 0x0715, 0x0709}));

  w.Timer2_Timer();
  EXPECT_EQ(w.Label9->text(), "28/11/2026  15:07:09 Saturday");
  line->advance(5);
  w.Timer2_Timer();
  EXPECT_EQ(w.Label9->text(), "28/11/2026  15:07:14 Saturday");

  // New Year's Eve 2030, a Tuesday, two seconds before midnight.
  w.SSCheck23->click();
  w.SSPanel1->setValue(2030);
  w.SSPanel2->setValue(12);
  w.SSPanel3->setValue(31);
  w.Combo1->setCurrentIndex(2);
  w.SSPanel6->setValue(23);
  w.SSPanel5->setValue(59);
  w.SSPanel4->setValue(58);
  w.SSCommand2->click();
  EXPECT_EQ(boxTexts(), std::vector<QString>{"Information has been sent."});
  line->advance(3);
  w.Timer2_Timer();
  EXPECT_EQ(w.Label9->text(), "01/01/2031  00:00:01 Wednesday");
  w.SSCommand1->click();
  EXPECT_TRUE(polling());
}

TEST_P(LoggerConfigEndToEndTest, SilentUnitIsNeitherReadNorWritten) {
  pollStation(kMotor);
  const std::vector<uint16_t> before = logger(kMotor);
  line->setFault(kMotor, sim::Fault{sim::FaultKind::Silent});
  LogConfigure& w = openConfigure();
  EXPECT_EQ(boxTexts(), std::vector<QString>{"Unit off-line.  Check connections."});
  EXPECT_TRUE(w.isVisible());
  EXPECT_FALSE(w.Timer2->isActive());

  w.SSCommand2->click();
  EXPECT_EQ(boxTexts(), std::vector<QString>{"Unit is off-line.  Check connections."});
  w.Timer2_Timer();
  EXPECT_EQ(w.Label9->text(), "Cannot access time");

  // The unit answers again, but the window never read its settings.
  line->clearFault(kMotor);
  w.SSCommand3->click();
  const auto texts = boxTexts();
  ASSERT_EQ(texts.size(), 1u);
  EXPECT_TRUE(texts[0].startsWith("The logger settings of station 5 could not be read"));
  EXPECT_EQ(logger(kMotor), before);
  w.SSCommand1->click();
  EXPECT_TRUE(polling());
}

INSTANTIATE_TEST_SUITE_P(Lines, LoggerConfigEndToEndTest, ::testing::ValuesIn(kLineCases),
                         lineCaseName);

}  // namespace
}  // namespace kvlink::test
