// "Configure Data Logging" on a line held in memory: what Data Logging >
// Configure reads, what the control page shows for each unit type, what a
// send writes and when it refuses, and the poll timer after every way out.
#include <QTest>

#include "LoggerConfigTestProgram.h"
#include "PollSwitch.h"
#include "Startup.h"

namespace kvlink {
namespace {

using test::MemoryStation;
using Calls = std::vector<std::string>;

// Logger registers 132..138 of the station.
void setLogger(MemoryStation& station, std::array<uint16_t, 7> words) {
  for (int i = 0; i < 7; ++i) station.regs[132 + i] = words[i];
}

class LogConfigureTest : public test::LoggerConfigWindowTest {
 protected:
  LogConfigureTest() { setLogger(unit(), {30, 20, 17, 0x01FF, 0x03FF | 64, 7, 12}); }
};

INSTANTIATE_TEST_SUITE_P(Links, LogConfigureTest, ::testing::Values(true, false),
                         test::protocolName);

TEST_P(LogConfigureTest, ConfigureReadsTheLoggerBlockAndShowsItModally) {
  LogConfigure& w = p.open();
  Calls expected{read(132, 7), read(39, 1)};
  if (!modbus()) expected = {"abcontrol 2 21", expected[0], "abcontrol 2 21", expected[1]};
  EXPECT_EQ(p.takeCalls(), expected);
  EXPECT_EQ(p.host.modalCount(), 1);
  EXPECT_TRUE(w.isVisible());
  EXPECT_FALSE(p.polling());
  EXPECT_TRUE(w.Timer1->isActive());
  EXPECT_EQ(w.Timer1->interval(), 400);
  EXPECT_TRUE(w.Timer2->isActive());
  EXPECT_EQ(w.Timer2->interval(), 5000);
  EXPECT_TRUE(p.host.boxes().empty());

  const LoggerSettings loaded{30, 20, 17, 0x01FF, 0x03FF | 64, 7, 12};
  EXPECT_EQ(p.module().settings, loaded);
  EXPECT_EQ(w.Text1->text(), "30");
  EXPECT_EQ(w.Text2->text(), "20");
  EXPECT_TRUE(w.SSOption1->isChecked());
  EXPECT_TRUE(w.SSOption3->isChecked());
  EXPECT_EQ(w.maskValue(TriggerMask::Trip), 0x01FF);
  EXPECT_EQ(w.maskValue(TriggerMask::Alarm), 959);  // bit 64 has no box
  EXPECT_EQ(w.maskValue(TriggerMask::Status), 7);
  EXPECT_EQ(w.SSTab1->currentIndex(), 0);
}

TEST_P(LogConfigureTest, RefusedPasswordOpensNothing) {
  ASSERT_TRUE(WriteIni(kMiscSection, passwordKey(1), encodePassword("op"), kSettingsFile));
  p.host.answerPassword(QStringLiteral("wrong"));
  Form1_mnuConfigure_Click(*p);
  EXPECT_EQ(p.host.passwordPrompts().size(), 1u);
  EXPECT_TRUE(p.takeCalls().empty());
  EXPECT_FALSE(p.module().LogConfigure.loaded());
  EXPECT_TRUE(p.polling());
}

TEST_P(LogConfigureTest, ControlWordShowsOneTriggerModeAndTheClockOption) {
  struct Case {
    uint16_t word;
    QRadioButton* LogConfigure::*mode;
    QRadioButton* LogConfigure::*clock;
  } cases[] = {
      {1 | 16, &LogConfigure::SSOption1, &LogConfigure::SSOption3},
      {1 | 2, &LogConfigure::SSOption2, &LogConfigure::SSOption4},
      {0, &LogConfigure::SSOption5, &LogConfigure::SSOption4},
      {8 | 16, &LogConfigure::SSOption5, &LogConfigure::SSOption3},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.word);
    setLogger(unit(), {65535, 0, c.word, 0, 0, 0, 0});
    LogConfigure& w = p.open();
    w.SSCheck22->setChecked(true);  // left from the last opening
    p.window().SSCommand1->click();
    LogConfigure& again = p.open();
    EXPECT_EQ(&again, &w);
    EXPECT_TRUE((w.*c.mode)->isChecked());
    EXPECT_TRUE((w.*c.clock)->isChecked());
    EXPECT_FALSE(w.SSCheck22->isChecked());
    EXPECT_TRUE(w.SSCheck22->isEnabled());
    EXPECT_EQ(w.Text1->text(), "65535");
    w.SSCommand1->click();
  }
}

TEST_P(LogConfigureTest, CaptionsAndHiddenBoxesFollowTheUnitType) {
  setLogger(unit(), {60, 10, 0, 256 | 64 | 1, 512, 4, 0});
  unit().unit(1, true);  // the poll's word on the type does not count
  LogConfigure& w = p.open();
  EXPECT_EQ(w.SSFrame7->title(), "GLT Mask");
  EXPECT_EQ(w.maskBox("SSCheck20")->text(), "Contact Closed");
  EXPECT_EQ(w.maskBox("SSCheck3")->text(), "Short-Time");
  for (const char* hidden :
       {"SSCheck2", "SSCheck4", "SSCheck8", "SSCheck17", "SSCheck13", "SSCheck11", "SSCheck19"})
    EXPECT_TRUE(w.maskBox(hidden)->isHidden()) << hidden;
  // Hidden boxes hold their bits like the others.
  EXPECT_TRUE(w.maskBox("SSCheck8")->isChecked());
  EXPECT_TRUE(w.maskBox("SSCheck11")->isChecked());
  EXPECT_TRUE(w.maskBox("SSCheck19")->isChecked());
  w.SSCommand1->click();

  unit().unit(4, true);
  p.open();
  EXPECT_EQ(w.SSFrame7->title(), "ZE-DUR Mask");
  EXPECT_FALSE(w.maskBox("SSCheck4")->isHidden());
  EXPECT_EQ(w.maskBox("SSCheck4")->text(), "Remote Trip");
  EXPECT_EQ(w.maskBox("SSCheck1")->text(), "% Thermal");
  w.SSCommand1->click();

  // A unit of no known type counts as not read: nothing shown is sent.
  unit().regs[39] = 3 << 8;
  p.open();
  w.SSCommand3->click();
  const auto texts = p.boxTexts();
  ASSERT_EQ(texts.size(), 2u);
  EXPECT_EQ(texts[0], "Unit off-line.  Check connections.");
  EXPECT_TRUE(texts[1].startsWith("The logger settings of station 5 could not be read"));
}

TEST_P(LogConfigureTest, SendProbesThenWritesTheSixRegistersInOrder) {
  LogConfigure& w = p.open();
  p.takeCalls();
  w.SSTab1->setCurrentIndex(1);
  w.SSOption2->click();
  w.SSCheck22->click();
  w.Text1->setText(QStringLiteral("65535"));
  w.Text2->setText(QStringLiteral("249"));
  w.maskBox("SSCheck1")->click();  // trip bit 1 off
  w.SSCommand3->click();

  const Calls expected{read(128, 1),      write(132, 65535), write(133, 249), write(134, 26),
                       write(135, 0x1FE), write(136, 959),   write(137, 7)};
  EXPECT_EQ(p.takeCalls(), expected);  // no control code before the probe
  EXPECT_EQ(p.boxTexts(), std::vector<QString>{"Information has been sent."});
  EXPECT_EQ(p.module().settings.LogControlWord, 26);
  EXPECT_EQ(p.module().settings.LogRecordCounter, 12);  // not sent, not changed
  EXPECT_TRUE(w.SSCommand1->isEnabled());
  EXPECT_TRUE(w.SSCommand3->isEnabled());
  EXPECT_TRUE(w.Timer1->isActive());
  EXPECT_TRUE(w.Timer2->isActive());
  EXPECT_FALSE(p.polling());
}

TEST_P(LogConfigureTest, HiddenBoxesSendTheirBitsBack) {
  setLogger(unit(), {60, 10, 1, 256 | 2, 512 | 32, 4, 0});
  p->poll.UnitType = 1;
  LogConfigure& w = p.open();
  p.takeCalls();
  w.SSCommand3->click();
  const Calls expected{read(128, 1),    write(132, 60),       write(133, 10), write(134, 1),
                       write(135, 258), write(136, 512 | 32), write(137, 4)};
  EXPECT_EQ(p.takeCalls(), expected);
}

TEST_P(LogConfigureTest, BoxesOutOfRangeAreRefusedBeforeAnythingIsSent) {
  const QString si =
      QStringLiteral("Sample Interval is Invalid. Please change to a value between 1 and 65535");
  const QString td =
      QStringLiteral("Trigger Duration is Invalid. Please change to a value between 0 and 249");
  struct Case {
    const char* interval;
    const char* duration;
    QString message;
  } cases[] = {{"", "", si}, {"65536", "10", si}, {"6O", "10", si}, {"60", "250", td}};
  LogConfigure& w = p.open();
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.interval) + " / " + c.duration);
    p.takeCalls();
    p.host.clearRecords();
    w.Timer2->stop();
    w.Text1->setText(QString::fromLatin1(c.interval));
    w.Text2->setText(QString::fromLatin1(c.duration));
    w.SSCommand3->click();
    EXPECT_EQ(p.boxTexts(), std::vector<QString>{c.message});
    EXPECT_TRUE(p.takeCalls().empty());
    EXPECT_TRUE(w.SSCommand1->isEnabled());
    EXPECT_TRUE(w.SSCommand3->isEnabled());
    EXPECT_TRUE(w.Timer2->isActive());
  }
}

TEST_P(LogConfigureTest, SilentUnitGetsNoWrite) {
  LogConfigure& w = p.open();
  unit().silent = true;
  p.takeCalls();
  w.SSCommand3->click();
  EXPECT_EQ(p.takeCalls(), Calls{read(128, 1)});
  EXPECT_EQ(p.boxTexts(), std::vector<QString>{"Unit is off-line. Check connections."});
  EXPECT_TRUE(w.SSCommand3->isEnabled());
}

TEST_P(LogConfigureTest, RefusedWriteStopsTheSendAndIsNotReportedAsSent) {
  LogConfigure& w = p.open();
  unit().writeResult = 37;
  p.takeCalls();
  w.SSCommand3->click();
  EXPECT_EQ(p.takeCalls(), (Calls{read(128, 1), write(132, 30)}));
  const auto texts = p.boxTexts();
  ASSERT_EQ(texts.size(), 2u);
  EXPECT_EQ(texts[0], "Write Error 37:Invalid Address, Size, or Value");
  EXPECT_TRUE(texts[1].startsWith("Sending stopped: the unit did not take the sample interval"));
  EXPECT_TRUE(w.SSCommand1->isEnabled());
  EXPECT_TRUE(w.Timer2->isActive());
}

TEST_P(LogConfigureTest, FailedLoadShowsTheWindowButNeverSendsWhatItShows) {
  // Station 5 loads; the operator closes; station 9 does not answer.
  LogConfigure& w = p.open();
  w.SSCommand1->click();
  MemoryStation& other = p.link->station(9);
  other.silent = true;
  p->selectStation(9);
  p.takeCalls();
  p.open();

  EXPECT_EQ(p.takeCalls().size(), modbus() ? 1u : 2u);
  ASSERT_EQ(p.host.boxes().size(), 1u);
  EXPECT_EQ(p.host.boxes()[0].text, "Unit off-line.  Check connections.");
  EXPECT_EQ(p.host.boxes()[0].style, vbOKOnly);
  EXPECT_EQ(p.host.boxes()[0].title, kProgramTitle);
  EXPECT_TRUE(w.isVisible());  // the menu command shows it all the same
  EXPECT_FALSE(p.polling());
  EXPECT_TRUE(w.Timer1->isActive());
  EXPECT_FALSE(w.Timer2->isActive());
  EXPECT_EQ(w.Text1->text(), "30");  // station 5's, as the window last showed them

  // Station 9 answers again: what the window shows is still not its own.
  other.silent = false;
  w.SSCommand3->click();
  EXPECT_TRUE(p.takeCalls().empty());
  ASSERT_EQ(p.host.boxes().size(), 2u);
  EXPECT_TRUE(p.host.boxes()[1].text.startsWith(
      "The logger settings of station 9 could not be read when this window opened"));
  EXPECT_TRUE(w.Timer2->isActive());  // the unit clock runs again after the press

  // Nor are settings read before a change to another station and back.
  p.open();
  p->selectStation(5), p->selectStation(9);
  w.SSCommand3->click();
  EXPECT_EQ(p.host.boxes().back().text, p.host.boxes()[1].text);
  EXPECT_EQ(p.takeCalls().size(), modbus() ? 2u : 4u);  // the load's reads only
}

TEST_P(LogConfigureTest, NumberBoxesTakeDigitsAndEnterCorrectsThemByValue) {
  LogConfigure& w = p.open();
  w.SSTab1->setCurrentIndex(1);
  w.Text1->clear();
  QTest::keyClicks(w.Text1, QStringLiteral("7a-x"));
  EXPECT_EQ(w.Text1->text(), "7");
  QTest::keyClick(w.Text1, Qt::Key_Return);
  EXPECT_EQ(w.Text1->text(), "7");
  w.Text1->setText(QStringLiteral("99999"));
  int enter = 13;
  w.Text1_KeyPress(enter);
  EXPECT_EQ(w.Text1->text(), "65535");
  w.Text1->setText(QStringLiteral("00"));
  w.Text1_KeyPress(enter);
  EXPECT_EQ(w.Text1->text(), "1");

  w.Text2->clear();
  w.Text2_KeyPress(enter);
  EXPECT_EQ(w.Text2->text(), "0");
  w.Text2->setText(QStringLiteral("300"));
  w.Text2_KeyPress(enter);
  EXPECT_EQ(w.Text2->text(), "249");
  int letter = 'q';
  w.Text2_KeyPress(letter);
  EXPECT_EQ(letter, 0);
  EXPECT_EQ(p.takeCalls().size(), modbus() ? 2u : 4u);  // Enter sends nothing: the load's calls

  w.Text1->setText(QStringLiteral("7"));
  p.takeCalls();
  w.SSCommand3->click();
  EXPECT_EQ(p.takeCalls().at(1), write(132, 7));
}

// ---- the poll timer after every way out ------------------------------------

TEST_P(LogConfigureTest, CloseGivesThePollBackOnlyWhileTheLinkIsOpen) {
  LogConfigure& w = p.open();
  w.SSCommand1->click();
  EXPECT_FALSE(w.isVisible());
  EXPECT_TRUE(p.module().LogConfigure.loaded());
  EXPECT_TRUE(p.polling());
  EXPECT_FALSE(w.Timer1->isActive());
  EXPECT_FALSE(w.Timer2->isActive());

  p.open();
  CloseLink(*p);
  w.SSCommand1->click();
  EXPECT_FALSE(p.polling());
}

TEST_P(LogConfigureTest, TitleBarCloseUnloadsAndGivesThePollBack) {
  LogConfigure& w = p.open();
  w.SSTab1->setCurrentIndex(1);
  w.close();
  test::flushDeletes();
  EXPECT_FALSE(p.module().LogConfigure.loaded());
  EXPECT_TRUE(p.polling());

  // The next opening starts from the design.
  LogConfigure& again = p.open();
  EXPECT_EQ(again.SSTab1->currentIndex(), 0);
}

TEST_P(LogConfigureTest, CloseKeepsThePageTheOperatorChose) {
  LogConfigure& w = p.open();
  w.SSTab1->setCurrentIndex(1);
  w.SSCommand1->click();
  p.open();
  EXPECT_EQ(w.SSTab1->currentIndex(), 1);
}

TEST_P(LogConfigureTest, NoPollAfterProgramEndOrDuringAFieldEdit) {
  p.open();
  HoldPoll(*p, PollHolder::FieldEdit);
  p.window().SSCommand1->click();
  EXPECT_FALSE(p.polling());
  ReleasePoll(*p, PollHolder::FieldEdit);

  p.open();
  EndProgram(*p);
  EXPECT_FALSE(p.module().LogConfigure.loaded());
  EXPECT_FALSE(p.polling());
}

TEST_P(LogConfigureTest, FailedLoadThenCloseGivesThePollBack) {
  unit().silent = true;
  LogConfigure& w = p.open();
  EXPECT_FALSE(p.polling());
  w.SSCommand1->click();
  EXPECT_TRUE(p.polling());
}

}  // namespace
}  // namespace kvlink
