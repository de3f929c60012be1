// The program-mode windows: what the polled words show, what Apply writes
// and when it refuses, closing, the swap to another unit type and the poll
// pass's hold on "Apply Settings".
#include <gtest/gtest.h>

#include "CtModule.h"
#include "EditorTestProgram.h"
#include "EditorsModule.h"
#include "ProgramModeActions.h"
#include "ProgramModeModule.h"

namespace kvlink {
namespace {

using test::EditorTestProgram;

class ProgramModeTest : public ::testing::Test {
 protected:
  EditorTestProgram p;

  ProgramModeModule& mode() { return p->module<ProgramModeModule>(); }
  void polledWords(uint16_t word1, uint16_t word2) {
    p->poll.values.ProgramModeWord1 = word1;
    p->poll.values.ProgramModeWord2 = word2;
  }
  // The unit answered with these words, then the operator opened the window
  // from the set-point window of the unit type.
  void openAfterRead(int16_t unitType, uint16_t word1, uint16_t word2) {
    polledWords(word1, word2);
    p.answeredSetPointRead(unitType);
    openProgramMode(*p, programModeFamilyOf(unitType));
  }
  int16_t state() { return p->windowStates.ProgramModeWindowState; }
};

TEST_F(ProgramModeTest, ZeroWordsShowFirstOptionsAndClearedBoxes) {
  openAfterRead(0, 0, 0);
  Form6& f6 = mode().Form6();
  for (QCheckBox* box : {f6.Check3D1, f6.Check3D2, f6.Check3D3, f6.Check3D4, f6.Check3D5})
    EXPECT_FALSE(box->isChecked()) << box->objectName().toStdString();
  EXPECT_TRUE(f6.Option3D7->isChecked());
  EXPECT_EQ(f6.Option3D7->text(), "Instantaneous");
  EXPECT_TRUE(f6.Option3D5->isChecked());
  EXPECT_EQ(f6.Option3D5->text(), "ABC");
  EXPECT_TRUE(f6.Option3D1->isChecked());
  EXPECT_TRUE(f6.Option3D4->isChecked());
  closeProgramMode(*p, ProgramModeFamily::Motor);

  openAfterRead(1, 0, 0);
  Form36& f36 = mode().Form36();
  EXPECT_EQ(f36.windowTitle(), "GLT Program-Mode Settings");
  EXPECT_FALSE(f36.Check3D1->isChecked() || f36.Check3D2->isChecked() || f36.Check3D3->isChecked());
  EXPECT_TRUE(f36.Option3D11->isChecked());
  EXPECT_EQ(f36.Option3D11->text(), "3 cycles");
  EXPECT_TRUE(f36.Option3D7->isChecked());
  EXPECT_EQ(f36.Option3D7->text(), "3 cycles");
  EXPECT_EQ(f36.Frame3D5->title(), "Earth-Fault Time");
  EXPECT_TRUE(f36.Frame3D3->isVisible());
  EXPECT_FALSE(f36.SSFrame1->isVisible());
  closeProgramMode(*p, ProgramModeFamily::Feeder);

  openAfterRead(4, 0, 0);
  EXPECT_EQ(f36.windowTitle(), "ZE-DUR Program-Mode Settings");
  EXPECT_TRUE(f36.Option3D11->isChecked());
  EXPECT_EQ(f36.Option3D11->text(), "100 ms");
  EXPECT_TRUE(f36.Option3D7->isChecked());
  EXPECT_EQ(f36.Option3D7->text(), "Instantaneous");
  EXPECT_EQ(f36.Frame3D5->title(), "Ground-Fault Time");
  EXPECT_TRUE(f36.SSFrame1->isVisible());
  EXPECT_TRUE(f36.SSOption1->isChecked());
  EXPECT_EQ(f36.SSOption1->text(), "60 Hz");
  EXPECT_FALSE(f36.Frame3D3->isVisible());
}

TEST_F(ProgramModeTest, ControlsWhoseNumbersDoNotFollowTheBits) {
  openAfterRead(0, 4, 4);
  Form6& f6 = mode().Form6();
  EXPECT_TRUE(f6.Check3D4->isChecked());  // "Short-Circuit Enable", bit 2
  EXPECT_EQ(f6.Check3D4->text(), "Short-Circuit Enable");
  EXPECT_FALSE(f6.Check3D3->isChecked());
  EXPECT_TRUE(f6.Option3D1->isChecked());  // trip "Fail Safe"
  EXPECT_TRUE(f6.Option3D3->isChecked());  // alarm "Non Fail Safe"
  EXPECT_EQ(f6.Option3D3->text(), "Non Fail Safe");

  f6.Check3D4->setChecked(false);
  f6.Check3D3->setChecked(true);  // "Hot-Motor Comp Enable", bit 3
  f6.Option3D4->setChecked(true);
  f6.Option3D2->setChecked(true);
  EXPECT_EQ(f6.EncodeProgramModeWords(0), (ProgramModeWords{8, 8}));
}

TEST_F(ProgramModeTest, ApplyWritesRegister14Then15InBothProtocols) {
  p.setLinkOpen(true);
  p->linkState.CommPort = 2;
  p->selectStation(7);
  p->linkState.UseModbus = 1;
  openAfterRead(0, 255, 12);
  Form6& f6 = mode().Form6();
  EXPECT_TRUE(f6.Check3D5->isChecked());
  EXPECT_TRUE(f6.Option3D10->isChecked());
  EXPECT_TRUE(f6.Option3D6->isChecked());
  EXPECT_FALSE(p.pollRunning());
  f6.Command1->click();
  EXPECT_EQ(p.link->writes(), (std::vector<std::string>{"write 2 7 14 255", "write 2 7 15 12"}));
  EXPECT_FALSE(f6.isVisible());
  EXPECT_EQ(state(), kWindowClosed);
  EXPECT_TRUE(p.pollRunning());
  EXPECT_GE(p.host.doEventsCount(), 1);

  p.link->calls.clear();
  p->linkState.UseModbus = 0;
  openAfterRead(4, 0xFF00 | 0x5A, 0xFFFF);
  mode().Form36().Command1->click();
  // 0x5A = I2t reset, 50 Hz, earth-fault 100 ms, short-time 200 ms; the
  // alarm-relay bit is never written for type 4.
  EXPECT_EQ(p.link->writes(),
            (std::vector<std::string>{"abwrite 2 7 284 90", "abwrite 2 7 286 8"}));
}

TEST_F(ProgramModeTest, ApplyWritesTheFieldsOfTheUnitTypeOnly) {
  p->linkState.UseModbus = 1;
  openAfterRead(1, 8 | 1, 4);
  Form36& f36 = mode().Form36();
  EXPECT_TRUE(f36.SSOption2->isChecked());  // decoded, though hidden for type 1
  f36.Command1->click();
  EXPECT_EQ(p.link->writes(), (std::vector<std::string>{"write 1 1 14 1", "write 1 1 15 4"}));
}

TEST_F(ProgramModeTest, ApplyRefusedBeforeTheFirstAnsweredRead) {
  p.setLinkOpen(true);
  polledWords(0, 0);
  openProgramMode(*p, ProgramModeFamily::Motor);
  mode().Form6().Check3D1->setChecked(true);
  mode().Form6().Command1->click();
  EXPECT_TRUE(p.link->writes().empty());
  ASSERT_EQ(p.host.boxes().size(), 1u);
  EXPECT_EQ(p.host.boxes()[0].text,
            "The values of station 1 have not been read yet, so nothing is written.  Close this "
            "window and open it again once the station answers.");
  EXPECT_EQ(p.host.boxes()[0].style, vbExclamation);
  EXPECT_TRUE(mode().Form6().isVisible());
  EXPECT_EQ(state(), 0);

  p->poll.PollStatus = 1;  // off line, the refusal says so
  mode().Form6().Command1->click();
  EXPECT_EQ(p.host.boxes().back().text, "Unit off-line...Check connections");
  EXPECT_EQ(p.host.boxes().back().title, "Off-line error");
  p->poll.PollStatus = 0;

  // A read answered while the window is open does not vouch for the boxes,
  // which still show what was there before it.
  p.answeredSetPointRead(0);
  mode().Form6().Command1->click();
  EXPECT_TRUE(p.link->writes().empty());
  EXPECT_EQ(p.host.boxes().size(), 3u);
}

TEST_F(ProgramModeTest, ApplyRefusedAfterAStationChange) {
  openAfterRead(0, 3, 0);
  p->selectStation(5);
  mode().Form6().Command1->click();
  EXPECT_TRUE(p.link->writes().empty());
  ASSERT_EQ(p.host.boxes().size(), 1u);
  EXPECT_EQ(p.host.boxes()[0].title, "RVX Program-Mode Settings");

  // A station change inside Apply's event pump is caught too.
  closeProgramMode(*p, ProgramModeFamily::Motor);
  openAfterRead(0, 3, 0);
  p.host.atNextDoEvents([&] { p->selectStation(6); });
  mode().Form6().Command1->click();
  EXPECT_TRUE(p.link->writes().empty());
  EXPECT_EQ(p.host.boxes().size(), 2u);

  // And after a change of the link.
  closeProgramMode(*p, ProgramModeFamily::Motor);
  openAfterRead(0, 3, 0);
  p->linkChanged();
  mode().Form6().Command1->click();
  EXPECT_TRUE(p.link->writes().empty());

  // The feeder window holds no words of a motor unit read.
  openAfterRead(0, 3, 0);
  openProgramMode(*p, ProgramModeFamily::Feeder);
  mode().Form36().Command1->click();
  EXPECT_TRUE(p.link->writes().empty());
}

TEST_F(ProgramModeTest, RefusedWordStopsApplyAndKeepsTheOperatorsChoice) {
  p->linkState.UseModbus = 1;
  for (int refused : {14, 15}) {
    p.link->station(1).writeFails = {{refused, 36}};
    openAfterRead(2, 1, 0);
    mode().Form6().Check3D2->setChecked(true);
    mode().Form6().Command1->click();
    EXPECT_EQ(p.link->take().size(), refused == 14 ? 1u : 2u);
    EXPECT_TRUE(p.host.boxes().back().text.startsWith(
        refused == 14 ? "The unit did not take program-mode word 1 (register 14), so word 2"
                      : "The unit took program-mode word 1 (register 14) but not word 2"));
    EXPECT_TRUE(state() == 0 && mode().Form6().Check3D2->isChecked()) << refused;
  }
}

TEST_F(ProgramModeTest, OpenSetsTheFamilyStateAndStopsThePoll) {
  p.startPoll();
  openAfterRead(2, 0, 0);  // lpFORM5's button, type 2
  EXPECT_FALSE(p.pollRunning());
  EXPECT_EQ(state(), 0);
  EXPECT_TRUE(mode().Form6().isVisible());
  closeProgramMode(*p, ProgramModeFamily::Motor);
  openAfterRead(4, 0, 0);  // FORM35's button, type 4
  EXPECT_EQ(state(), 1);
  EXPECT_EQ(mode().Form36().windowTitle(), "ZE-DUR Program-Mode Settings");
}

TEST_F(ProgramModeTest, SetPointWindowsOpenTheirFamilysWindow) {
  polledWords(1, 0);
  p.answeredSetPointRead(2);
  editorsModule(*p).lpFORM5().Command13->click();
  EXPECT_TRUE(mode().Form6().isVisible());
  EXPECT_TRUE(mode().Form6().Check3D1->isChecked());
  EXPECT_EQ(state(), 0);
  mode().Form6().Command2->click();

  p.answeredSetPointRead(4);
  editorsModule(*p).FORM35().Command13->click();
  EXPECT_TRUE(mode().Form36().isVisible());
  EXPECT_EQ(state(), 1);
  EXPECT_EQ(mode().Form36().windowTitle(), "ZE-DUR Program-Mode Settings");
  mode().Form36().Command2->click();

  p.answeredSetPointRead(0);
  editorsModule(*p).FORM5().Command13->click();
  EXPECT_TRUE(mode().Form6().isVisible());
}

TEST_F(ProgramModeTest, CancelWritesNothingAndReopenShowsThePolledWords) {
  p.setLinkOpen(true);
  openAfterRead(1, 2, 0);
  Form36& f36 = mode().Form36();
  f36.Check3D2->setChecked(false);
  f36.Check3D1->setChecked(true);
  EXPECT_EQ(f36.Command2->text(), "Cancel");
  f36.Command2->click();
  EXPECT_TRUE(p.link->writes().empty());
  EXPECT_EQ(state(), kWindowClosed);
  EXPECT_FALSE(f36.isVisible());
  EXPECT_TRUE(p.pollRunning());
  openProgramMode(*p, ProgramModeFamily::Feeder);
  EXPECT_TRUE(f36.Check3D2->isChecked());
  EXPECT_FALSE(f36.Check3D1->isChecked());
}

TEST_F(ProgramModeTest, PollRunsAgainOnlyWhenNoWindowOrEditHoldsIt) {
  openAfterRead(0, 0, 0);
  mode().Form6().Command2->click();
  EXPECT_FALSE(p.pollRunning());  // link closed

  p.setLinkOpen(true);
  // A set-point edit runs; its window's button is reached with the keyboard.
  p.answeredSetPointRead(0);
  FORM5& setPoints = editorsModule(*p).FORM5();
  setPoints.Show();
  setPoints.Box_Click(*setPoints.box("Text1"));
  setPoints.Command13->click();
  EXPECT_TRUE(mode().Form6().isVisible());
  mode().Form6().Command2->click();
  EXPECT_FALSE(p.pollRunning());
  int key = 27;
  setPoints.Box_KeyPress(*setPoints.box("Text1"), key);  // Esc ends the edit
  EXPECT_TRUE(p.pollRunning());

  // While it is open, a Delete answered No or an edit ended leave the poll held.
  openAfterRead(0, 0, 0);
  setPoints.deleteButton(setPoints.fields().front())->click();
  EXPECT_FALSE(p.pollRunning());
  for (EditorForm* window : std::initializer_list<EditorForm*>{&setPoints, &ctModule(*p).Form7()}) {
    window->Box_Click(*window->box(window->fields().front()));
    window->Box_KeyPress(*window->box(window->fields().front()), key = 27);
    EXPECT_FALSE(p.pollRunning());
  }
  mode().Form6().close();  // title bar: unloads
  EXPECT_EQ(state(), kWindowClosed);
  EXPECT_TRUE(p.pollRunning());
  EXPECT_FALSE(mode().Form6.loaded());
}

TEST_F(ProgramModeTest, ProgramEndUnloadsWithoutStartingThePoll) {
  p.setLinkOpen(true);
  openAfterRead(4, 0, 0);
  p->ended = true;  // the program end stopped the poll and unloads every window
  mode().unloadWindows();
  EXPECT_FALSE(mode().Form36.loaded());
  EXPECT_EQ(state(), kWindowClosed);
  EXPECT_FALSE(p.pollRunning());
}

TEST_F(ProgramModeTest, PassHoldsApplySettings) {
  openAfterRead(0, 0, 0);
  openAfterRead(1, 0, 0);
  VariantWindowKind& kind = mode().kind();
  kind.beginPass();
  EXPECT_FALSE(mode().Form6().Command1->isEnabled());
  EXPECT_FALSE(mode().Form36().Command1->isEnabled());
  kind.endPass();
  EXPECT_TRUE(mode().Form6().Command1->isEnabled());
  EXPECT_TRUE(mode().Form36().Command1->isEnabled());
}

TEST_F(ProgramModeTest, SwapFollowsTheUnitType) {
  VariantWindowKind& kind = mode().kind();
  p.setLinkOpen(true);
  openAfterRead(0, 0, 0);
  mode().Form6().move(123, 87);
  // 0 -> 2: the same window, only the state changes.
  mode().Form6().Check3D1->setChecked(true);
  kind.syncToUnitType(2);
  EXPECT_EQ(state(), 2);
  EXPECT_TRUE(mode().Form6().Check3D1->isChecked());

  // 2 -> 1: Form36 takes Form6's place and shows the words of the new unit.
  polledWords(64 + 16, 8);
  p.answeredSetPointRead(1);
  kind.syncToUnitType(1);
  EXPECT_FALSE(mode().Form6.loaded());
  Form36& f36 = mode().Form36();
  EXPECT_TRUE(f36.isVisible());
  EXPECT_EQ(f36.pos(), QPoint(123, 87));
  EXPECT_EQ(state(), 1);
  EXPECT_FALSE(p.pollRunning());  // Form36 holds the poll in Form6's place
  EXPECT_TRUE(f36.Option3D12->isChecked());
  EXPECT_TRUE(f36.Option3D8->isChecked());
  EXPECT_TRUE(f36.Option3D2->isChecked());

  // 1 -> 1: nothing is decoded again.
  f36.Option3D11->setChecked(true);
  kind.syncToUnitType(1);
  EXPECT_TRUE(f36.Option3D11->isChecked());

  // 1 -> 4: re-captioned and decoded again, not reloaded.
  kind.syncToUnitType(4);
  EXPECT_EQ(&mode().Form36(), &f36);
  EXPECT_EQ(state(), 4);
  EXPECT_EQ(f36.windowTitle(), "ZE-DUR Program-Mode Settings");
  EXPECT_TRUE(f36.Option3D12->isChecked());
  EXPECT_EQ(f36.Option3D12->text(), "200 ms");
}

TEST_F(ProgramModeTest, FeederWindowOpenedForType4IsRedecodedByTheFirstPass) {
  openAfterRead(4, 0, 0);
  mode().Form36().Check3D1->setChecked(true);
  mode().kind().syncToUnitType(4);  // state 1 -> 4
  EXPECT_EQ(state(), 4);
  EXPECT_FALSE(mode().Form36().Check3D1->isChecked());
}

}  // namespace
}  // namespace kvlink
