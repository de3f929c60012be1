// The page "Set Time and Date" on a line of fake relays: the fields from the
// PC clock, the 24-hour box, setting the unit clock and its two timers.
#include "LoggerConfigTestProgram.h"
#include "LoggingCode.h"

namespace kvlink {
namespace {

using test::FakeStation;
using test::LoggerConfigTestProgram;
using Calls = std::vector<std::string>;

class UnitClockWindowTest : public ::testing::TestWithParam<bool> {
 protected:
  UnitClockWindowTest() : p(GetParam()) { p.link->station(5); }
  bool modbus() const { return GetParam(); }
  FakeStation& unit() { return p.link->station(5); }
  std::string read(int reg, int words) const {
    return modbus()
               ? "read 2 5 " + std::to_string(reg) + " " + std::to_string(words)
               : "abread 2 5 " + std::to_string(256 + 2 * reg) + " " + std::to_string(2 * words);
  }
  std::string write(int reg, int value) const {
    return (modbus() ? "write 2 5 " + std::to_string(reg)
                     : "abwrite 2 5 " + std::to_string(256 + 2 * reg)) +
           " " + std::to_string(value);
  }
  LogConfigure& open() {
    LogConfigure& w = p.open();
    p.takeCalls();
    return w;
  }
  void setClock(std::array<uint16_t, 4> words) {
    for (int i = 0; i < 4; ++i) unit().regs[128 + i] = words[i];
  }

  LoggerConfigTestProgram p;
};

INSTANTIATE_TEST_SUITE_P(Links, UnitClockWindowTest, ::testing::Values(true, false),
                         [](const auto& info) { return info.param ? "Modbus" : "Df1"; });

TEST_P(UnitClockWindowTest, OpeningFillsTheFieldsFromThePcClockIn24HourForm) {
  LogConfigure& w = open();
  EXPECT_EQ(w.clockFields(), (ClockFields{2026, 11, 28, 7, 15, 7, 9}));
  EXPECT_EQ(w.SSPanel6->text(), "15");
  EXPECT_EQ(w.SSPanel4->text(), "9");
  EXPECT_TRUE(w.SSCheck23->isChecked());
  EXPECT_TRUE(w.Combo2->isHidden());
  EXPECT_EQ(w.SSPanel6->maximum(), 23);
  EXPECT_EQ(w.Combo2->currentText(), "PM");
  EXPECT_EQ(w.Combo1->currentText(), "Saturday");
  EXPECT_TRUE(w.Label12->isHidden());
  EXPECT_EQ(w.Label9->text(), "N/A");
  EXPECT_TRUE(w.Label1->text().isEmpty());
  w.SSCommand1->click();

  p.pcNow = {1990, 3, 4, 1, 9, 0, 0};
  open();
  EXPECT_EQ(w.SSPanel1->value(), 1995);
  EXPECT_FALSE(w.Label12->isHidden());
  EXPECT_EQ(w.Combo1->currentText(), "Sunday");
  EXPECT_EQ(w.Combo2->currentText(), "AM");
  w.SSCommand1->click();

  p.pcNow = {2100, 3, 4, 5, 9, 0, 0};
  open();
  EXPECT_EQ(w.SSPanel1->value(), 2094);
  EXPECT_TRUE(w.Label12->isHidden());
}

TEST_P(UnitClockWindowTest, TwentyFourHourBoxKeepsTheTimeTheHourStandsFor) {
  LogConfigure& w = open();
  w.SSCheck23->click();  // to the 12-hour form
  EXPECT_EQ(w.SSPanel6->value(), 3);
  EXPECT_EQ(w.Combo2->currentText(), "PM");
  EXPECT_FALSE(w.Combo2->isHidden());
  EXPECT_EQ(w.SSPanel6->minimum(), 1);
  EXPECT_EQ(w.SSPanel6->maximum(), 12);
  EXPECT_EQ(w.clockFields().hour, 15);

  w.SSPanel6->setValue(12);
  w.Combo2->setCurrentIndex(0);  // 12 AM is midnight
  EXPECT_EQ(w.clockFields().hour, 0);
  w.SSCheck23->click();  // back to the 24-hour form
  EXPECT_EQ(w.SSPanel6->value(), 0);
  EXPECT_TRUE(w.Combo2->isHidden());
  EXPECT_EQ(w.SSPanel6->maximum(), 23);
}

TEST_P(UnitClockWindowTest, SetTimeProbesThenWritesTheFourBcdWords) {
  LogConfigure& w = open();
  w.SSCheck23->click();
  w.SSPanel6->setValue(3);
  w.Combo2->setCurrentText(QStringLiteral("PM"));
  w.SSPanel5->setValue(7);
  w.SSPanel4->setValue(9);
  w.SSCommand2->click();
  const Calls expected{read(128, 1), write(128, 0x2026), write(129, 0x1128), write(130, 0x0715),
                       write(131, 0x0709)};
  EXPECT_EQ(p.takeCalls(), expected);
  EXPECT_EQ(p.boxTexts(), std::vector<QString>{"Information has been sent."});
  EXPECT_TRUE(w.SSCommand1->isEnabled());
  EXPECT_TRUE(w.SSCommand2->isEnabled());
  EXPECT_TRUE(w.Timer1->isActive());
  EXPECT_TRUE(w.Timer2->isActive());
  EXPECT_FALSE(p.polling());

  // 9 September 2030, a Monday, 00:05:05 in the 24-hour form.
  w.SSCheck23->click();
  w.SSPanel1->setValue(2030);
  w.SSPanel2->setValue(9);
  w.SSPanel3->setValue(9);
  w.Combo1->setCurrentIndex(1);
  w.SSPanel6->setValue(0);
  w.SSPanel5->setValue(5);
  w.SSPanel4->setValue(5);
  w.SSCommand2->click();
  const Calls second{read(128, 1), write(128, 0x2030), write(129, 0x0909), write(130, 0x0200),
                     write(131, 0x0505)};
  EXPECT_EQ(p.takeCalls(), second);
}

TEST_P(UnitClockWindowTest, SetTimeRefusesADayTheMonthDoesNotHave) {
  LogConfigure& w = open();
  w.SSPanel2->setValue(4);
  w.SSPanel3->setValue(31);
  w.Timer2->stop();
  w.SSCommand2->click();
  EXPECT_TRUE(p.takeCalls().empty());
  EXPECT_EQ(p.boxTexts(), std::vector<QString>{"31/4/2026 is not a date. Please correct the day."});
  EXPECT_TRUE(w.SSCommand2->isEnabled());
  EXPECT_TRUE(w.Timer2->isActive());
}

TEST_P(UnitClockWindowTest, SilentUnitGetsNoClockWrite) {
  LogConfigure& w = open();
  unit().silent = true;
  w.SSCommand2->click();
  EXPECT_EQ(p.takeCalls(), Calls{read(128, 1)});
  EXPECT_EQ(p.boxTexts(), std::vector<QString>{"Unit is off-line.  Check connections."});
  EXPECT_TRUE(w.SSCommand1->isEnabled());
  EXPECT_TRUE(w.Timer1->isActive());
  EXPECT_TRUE(w.Timer2->isActive());
}

TEST_P(UnitClockWindowTest, RefusedClockWriteStopsAndIsNotReportedAsSent) {
  LogConfigure& w = open();
  unit().writeResult = 35;
  w.SSCommand2->click();
  EXPECT_EQ(p.takeCalls(), (Calls{read(128, 1), write(128, 0x2026)}));
  const auto texts = p.boxTexts();
  ASSERT_EQ(texts.size(), 2u);
  EXPECT_EQ(texts[0], "Write Error 35:Illegal Command/Format");
  EXPECT_TRUE(texts[1].startsWith("Setting the clock stopped: the unit did not take the year"));
}

TEST_P(UnitClockWindowTest, UnitClockTickShowsTheUnitTimeIn24HourForm) {
  LogConfigure& w = open();
  LogRecordValues& decoded = loggingCode(*p).record;
  decoded.LogWeekdayName = "Friday";
  setClock({0x2026, 0x1128, 0x0715, 0x1507});
  w.Timer2_Timer();
  EXPECT_EQ(p.takeCalls(), Calls{read(128, 4)});  // no control code before it
  EXPECT_EQ(w.Label9->text(), "28/11/2026  15:15:07 Saturday");
  // The decoded log record takes the time texts but keeps its weekday name.
  EXPECT_EQ(decoded.LogYear, "2026");
  EXPECT_EQ(decoded.LogMonthDay, "1128");
  EXPECT_EQ(decoded.LogWeekdayHour, "0715");
  EXPECT_EQ(decoded.LogMinuteSecond, "1507");
  EXPECT_EQ(decoded.LogWeekdayName, "Friday");

  setClock({0x0098, 0x0101, 0x0800, 0x0005});  // weekday byte 8: no name
  w.Timer2_Timer();
  EXPECT_EQ(w.Label9->text(), "01/01/1998  00:00:05 ");

  unit().silent = true;
  w.Timer2_Timer();
  EXPECT_EQ(w.Label9->text(), "Cannot access time");
  EXPECT_EQ(decoded.LogYear, "1998");  // as the last reading left it
  EXPECT_TRUE(p.host.boxes().empty());
  EXPECT_TRUE(w.Timer2->isActive());
}

TEST_P(UnitClockWindowTest, PcClockTickShowsTheTwelveHourClock) {
  LogConfigure& w = open();
  w.Timer1_Timer();
  EXPECT_EQ(w.Label1->text(), "28/11/2026  03:07:09 PM");
  p.pcNow = {2026, 11, 29, 1, 0, 5, 0};
  w.Timer1_Timer();
  EXPECT_EQ(w.Label1->text(), "29/11/2026  12:05:00 AM");
  EXPECT_TRUE(p.takeCalls().empty());
}

}  // namespace
}  // namespace kvlink
