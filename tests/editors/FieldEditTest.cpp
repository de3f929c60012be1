// The field-edit protocol on the set-point windows: click, key filter,
// Enter, Esc, paste, Delete, close during an edit, and the poll timer and
// pointer after each.
#include <QClipboard>
#include <QGuiApplication>

#include "EditorTestSupport.h"

namespace kvlink {
namespace {

class FieldEditTest : public EditorsTest {
 protected:
  void SetUp() override {
    EditorsTest::SetUp();
    program->poll.UnitType = 0;
    m->mnuDisplaySet_Click();
    ASSERT_TRUE(m->FORM5().isVisible());
    form().filled.mark(kStation);  // as an answered pass leaves it
  }
  FORM5& form() { return m->FORM5(); }
  EditBox* box(const char* name) { return form().box(name); }
  QLabel* marker(const char* box) { return form().marker(*findRow(form().fields(), box)); }
  QPushButton* deleteButton(const char* box) {
    return form().deleteButton(*findRow(form().fields(), box));
  }

  void expectIdleAfterEdit() {
    EXPECT_TRUE(editIdle());
    EXPECT_FALSE(EditInProgress(*program));
    EXPECT_TRUE(pointerFree());
    EXPECT_FALSE(form().Label21->isVisible());
    EXPECT_EQ(form().focusWidget(), form().Command14);
  }
};

TEST_F(FieldEditTest, ClickStopsThePollPinsThePointerAndShowsHintAndPrompt) {
  EXPECT_EQ(form().Label7->text(), "Select a setpoint to change or press OK.");
  EXPECT_FALSE(form().Label21->isVisible());
  click(box("Text5"));
  EXPECT_FALSE(polling());
  EXPECT_TRUE(pointerPinnedAndHidden());
  EXPECT_FALSE(editIdle());
  EXPECT_TRUE(EditInProgress(*program));
  EXPECT_EQ(form().Label7->text(), "Temperature Trip, Range: 50 deg c to 220 deg c");
  EXPECT_TRUE(form().Label21->isVisible());
  EXPECT_EQ(form().Label21->text(), ">>> Press ENTER to program setpoint or ESC to cancel <<<");
  EXPECT_EQ(form().focusWidget(), box("Text5"));
}

TEST_F(FieldEditTest, KeyFilterTakesDigitsAndBackspaceUpToTheMaximumLength) {
  EditBox* t = box("Text2");  // three digits
  click(t);
  t->selectAll();
  type(t, "a1 -.2x3");
  EXPECT_EQ(t->text(), "123");
  type(t, "4");  // a fourth digit does not fit
  EXPECT_EQ(t->text(), "123");
  key(t, Qt::Key_Backspace);
  EXPECT_EQ(t->text(), "12");
  key(t, Qt::Key_B, Qt::ControlModifier);  // a control character is no digit either
  key(t, Qt::Key_Z, Qt::ControlModifier);  // nor is undo
  key(t, Qt::Key_Delete);                  // a key that types no character passes
  EXPECT_EQ(t->text(), "12");
  key(t, Qt::Key_Home);
  key(t, Qt::Key_Delete);
  EXPECT_EQ(t->text(), "2");
  EXPECT_TRUE(writes().empty());
  EXPECT_FALSE(polling());
}

TEST_F(FieldEditTest, PolledValueLongerThanTheBoxIsShownWhole) {
  program->poll.values.PolledOvercurrentAlarm = 1000;
  m->setPoints.refresh();
  EXPECT_EQ(box("Text11")->text(), "1000");
}

TEST_F(FieldEditTest, EnterWritesTheRegisterAndRestartsThePoll) {
  EditBox* t = box("Text12");
  click(t);
  t->clear();
  type(t, "30");
  key(t, Qt::Key_Return);
  ASSERT_EQ(writes().size(), 1u);
  EXPECT_EQ(writes()[0], modbusWrite(1, 30));
  EXPECT_FALSE(marker("Text12")->isVisible());
  EXPECT_TRUE(polling());
  expectIdleAfterEdit();

  program->linkState.UseModbus = 0;
  click(t);
  type(t, "\b\b12");
  key(t, Qt::Key_Enter);
  ASSERT_EQ(writes().size(), 2u);
  EXPECT_EQ(writes()[1], df1Write(258, 12));
  expectIdleAfterEdit();
}

TEST_F(FieldEditTest, EnterOnTheOffValueShowsTheMarkerAndDeletes) {
  EditBox* t = box("Text12");
  click(t);
  t->clear();
  type(t, "46");
  key(t, Qt::Key_Return);
  EXPECT_TRUE(marker("Text12")->isVisible());
  ASSERT_EQ(writes().size(), 1u);
  EXPECT_EQ(writes()[0], modbusWrite(1, 46));
}

TEST_F(FieldEditTest, EnterOnAnEmptyBoxWritesNothingAndHidesTheMarker) {
  program->poll.values.PolledI2tTrip = 46;
  m->setPoints.refresh();
  ASSERT_TRUE(marker("Text1")->isVisible());
  click(box("Text1"));
  key(box("Text1"), Qt::Key_Return);
  EXPECT_TRUE(writes().empty());
  EXPECT_FALSE(marker("Text1")->isVisible());
  EXPECT_TRUE(polling());
  expectIdleAfterEdit();
}

TEST_F(FieldEditTest, EscWritesNothingAndLeavesTheTypedText) {
  EditBox* t = box("Text4");
  click(t);
  t->clear();
  type(t, "33");
  key(t, Qt::Key_Escape);
  EXPECT_TRUE(writes().empty());
  EXPECT_EQ(t->text(), "33");
  EXPECT_TRUE(polling());
  expectIdleAfterEdit();
}

TEST_F(FieldEditTest, FailedWriteIsReportedAndTheEditEnds) {
  link->station(kStation).writeResult = 37;
  bool pinnedUnderTheBox = false;
  host.onEveryBox([&](const ScriptedHost::ShownBox&) {
    pinnedUnderTheBox = pointerPinnedAndHidden() && !polling();
  });
  EditBox* t = box("Text3");
  click(t);
  type(t, "\b\b\b50");
  key(t, Qt::Key_Return);
  ASSERT_EQ(host.boxes().size(), 1u);
  EXPECT_TRUE(host.boxes()[0].text.startsWith("Write Error 37"));
  EXPECT_TRUE(pinnedUnderTheBox);
  EXPECT_TRUE(polling());
  expectIdleAfterEdit();
}

TEST_F(FieldEditTest, PasteInsertsOnlyDigitsThatFit) {
  EditBox* t = box("Text2");
  t->clear();
  QGuiApplication::clipboard()->setText("12");
  key(t, Qt::Key_V, Qt::ControlModifier);
  EXPECT_EQ(t->text(), "12");
  // A paste changes the box: it starts the edit, so no poll overwrites it.
  EXPECT_TRUE(EditInProgress(*program));
  EXPECT_FALSE(polling());
  EXPECT_FALSE(t->pasteText("5a"));
  EXPECT_FALSE(t->pasteText("34"));  // five digits in a three-digit box
  EXPECT_FALSE(t->pasteText("-1"));
  EXPECT_TRUE(t->pasteText("3"));
  EXPECT_EQ(t->text(), "123");
  key(t, Qt::Key_Return);
  ASSERT_EQ(writes().size(), 1u);
  EXPECT_EQ(writes()[0], modbusWrite(2, 123));
}

TEST_F(FieldEditTest, EnterOnTextThatIsNoWholeNumberOfTheBoxEndsAsEsc) {
  program->poll.values.PolledOvercurrentAlarm = 1000;
  program->poll.values.PolledUnbalanceAlarm = 76;
  m->setPoints.refresh();
  EditBox* t = box("Text11");
  click(t);
  key(t, Qt::Key_Return);  // "1000" does not fit a three-digit box
  EXPECT_TRUE(writes().empty());
  EXPECT_TRUE(polling());
  expectIdleAfterEdit();

  // Text put into a box by any other way than typing is tested the same way.
  EditBox* u = box("Text9");
  ASSERT_TRUE(marker("Text9")->isVisible());
  u->setText("7x");
  click(u);
  key(u, Qt::Key_Return);
  EXPECT_TRUE(writes().empty());
  EXPECT_TRUE(marker("Text9")->isVisible());  // as Esc: the marker is left alone
  expectIdleAfterEdit();
}

TEST_F(FieldEditTest, FirstKeyInABoxReachedWithTabStartsTheEdit) {
  EditBox* t = box("Text6");
  t->setFocus(Qt::TabFocusReason);
  t->selectAll();
  type(t, "9");
  EXPECT_FALSE(polling());
  EXPECT_TRUE(pointerPinnedAndHidden());
  EXPECT_FALSE(editIdle());
  EXPECT_EQ(form().Label7->text(), "Earth-Leakage Trip, Range: 1% to 100%");
  EXPECT_EQ(t->text(), "9");
  key(t, Qt::Key_Return);
  ASSERT_EQ(writes().size(), 1u);
  EXPECT_EQ(writes()[0], modbusWrite(10, 9));
  expectIdleAfterEdit();

  // A dropped key starts nothing.
  type(t, "x");
  EXPECT_TRUE(editIdle());
  EXPECT_TRUE(polling());
}

TEST_F(FieldEditTest, HoverShowsHintsOnlyWhileIdle) {
  for (const FieldRow& row : form().fields()) EXPECT_TRUE(form().box(row)->hasMouseTracking());
  hover(box("Text8"));
  EXPECT_EQ(form().Label7->text(), "Temperature Alarm, Range: 50 c to 220 c");
  click(box("Text8"));
  EXPECT_EQ(form().Label7->text(), "Temperature Alarm, Range: 50 deg c to 220 deg c");
  hover(box("Text1"));  // swallowed while the pointer is pinned
  form().Box_MouseMove(*box("Text1"));
  EXPECT_EQ(form().Label7->text(), "Temperature Alarm, Range: 50 deg c to 220 deg c");
  key(box("Text8"), Qt::Key_Escape);
  hover(box("Text1"));
  EXPECT_EQ(form().Label7->text(), "Thermal Limit Trip, Range: 1 to 45 seconds");
}

TEST_F(FieldEditTest, ClicksOnOtherBoxesDuringAnEditAreSwallowed) {
  click(box("Text1"));
  click(box("Text2"));
  EXPECT_EQ(form().Label7->text(), "Thermal Limit Trip, Range: 1 to 45 seconds");
  EXPECT_EQ(editSession(*program).row, findRow(form().fields(), "Text1"));
}

TEST_F(FieldEditTest, DeleteYesWritesTheOffValue) {
  program->poll.values.PolledUnbalanceAlarm = 20;
  m->setPoints.refresh();
  host.answerBox(vbYes);
  bool pollOffUnderQuestion = false;
  host.onEveryBox([&](const ScriptedHost::ShownBox&) { pollOffUnderQuestion = !polling(); });
  click(deleteButton("Text9"));
  ASSERT_EQ(host.boxes().size(), 1u);
  EXPECT_EQ(host.boxes()[0].text, "Delete set point?");
  EXPECT_EQ(host.boxes()[0].title, "Verify Delete");
  EXPECT_EQ(host.boxes()[0].style, 52);
  EXPECT_TRUE(pollOffUnderQuestion);
  ASSERT_EQ(writes().size(), 1u);
  EXPECT_EQ(writes()[0], modbusWrite(7, 76));
  EXPECT_TRUE(marker("Text9")->isVisible());
  EXPECT_EQ(box("Text9")->text(), "");
  EXPECT_TRUE(polling());
  EXPECT_TRUE(editIdle());

  program->linkState.UseModbus = 0;
  host.answerBox(vbYes);
  click(deleteButton("Text9"));
  EXPECT_EQ(writes().back(), df1Write(270, 76));
}

TEST_F(FieldEditTest, WindowUnloadedUnderTheDeleteQuestionOrAWriteErrorBox) {
  host.onEveryBox([this](const ScriptedHost::ShownBox&) {
    m->FORM5.Unload();
    flushDeletes();
  });
  host.answerBox(vbYes);
  click(deleteButton("Text9"));
  EXPECT_EQ(writes(), std::vector<std::string>{modbusWrite(7, 76)});
  link->station(kStation).writeResult = 37;
  form().Show();
  form().filled.mark(kStation);
  click(box("Text2"));
  type(box("Text2"), "500");
  key(box("Text2"), Qt::Key_Return);
  EXPECT_EQ(host.boxes().back().text, "Write Error 37:Invalid Address, Size, or Value");
  EXPECT_TRUE(editIdle() && pointerFree() && polling());
}

TEST_F(FieldEditTest, DeleteNoWritesNothingAndRestartsThePoll) {
  program->poll.values.PolledUnbalanceAlarm = 20;
  m->setPoints.refresh();
  host.answerBox(vbNo);
  click(deleteButton("Text9"));
  EXPECT_TRUE(writes().empty());
  EXPECT_FALSE(marker("Text9")->isVisible());
  EXPECT_EQ(box("Text9")->text(), "20");
  EXPECT_TRUE(polling());
}

TEST_F(FieldEditTest, DeleteReachedWithTheKeyboardDuringAnEditLeavesThePollOff) {
  click(box("Text1"));
  host.answerBox(vbYes);
  form().Delete_Click(*findRow(form().fields(), "Text3"));
  EXPECT_EQ(writes().back(), modbusWrite(4, 101));
  EXPECT_FALSE(polling());
  EXPECT_TRUE(pointerPinnedAndHidden());
  key(box("Text1"), Qt::Key_Escape);
  EXPECT_TRUE(polling());
  EXPECT_TRUE(pointerFree());
}

TEST_F(FieldEditTest, EndOfAnEditOrADeleteLeavesThePollOffWhileTheLinkIsClosed) {
  setLinkOpen(false);
  click(box("Text1"));
  key(box("Text1"), Qt::Key_Escape);
  EXPECT_FALSE(polling());
  EXPECT_TRUE(pointerFree());
  host.answerBox(vbNo);
  click(deleteButton("Text1"));
  EXPECT_FALSE(polling());
}

TEST_F(FieldEditTest, CloseDuringAnEditEndsItAsEsc) {
  EditBox* t = box("Text2");
  click(t);
  type(t, "\b\b\b99");
  form().Command14->click();
  EXPECT_FALSE(form().isVisible());
  EXPECT_EQ(program->windowStates.SetPointWindowState, kWindowClosed);
  EXPECT_TRUE(writes().empty());
  EXPECT_TRUE(editIdle());
  EXPECT_FALSE(EditInProgress(*program));
  EXPECT_TRUE(pointerFree());
  EXPECT_TRUE(polling());
}

TEST_F(FieldEditTest, TitleBarCloseDuringAnEditUnloadsAndEndsTheEdit) {
  click(box("Text2"));
  QPointer<FORM5> before(&form());
  before->close();
  EXPECT_FALSE(m->FORM5.loaded());
  EXPECT_EQ(program->windowStates.SetPointWindowState, kWindowClosed);
  EXPECT_TRUE(editIdle());
  EXPECT_TRUE(pointerFree());
  EXPECT_TRUE(polling());
  flushDeletes();
  EXPECT_TRUE(before.isNull());
  // The next use builds the window again from its design.
  EXPECT_EQ(form().Label7->text(), "Select a setpoint to change or press OK.");
}

TEST_F(FieldEditTest, WindowsHiddenByTheLinkDisableEndTheEditWithoutStartingThePoll) {
  click(box("Text2"));
  setLinkOpen(false);
  m->setPoints.closeAll(CloseReason::LinkDisabled);
  EXPECT_FALSE(form().isVisible());
  EXPECT_TRUE(pointerFree());
  EXPECT_TRUE(editIdle());
  EXPECT_FALSE(polling());
}

TEST_F(FieldEditTest, ClickOnADisabledWindowDoesNothing) {
  form().setEnabled(false);
  form().Box_Click(*box("Text1"));
  EXPECT_TRUE(editIdle());
  EXPECT_TRUE(polling());
  m->setPoints.endPass();
  EXPECT_TRUE(form().isEnabled());
}

TEST_F(FieldEditTest, CloseButtonHasTheFocusWhenTheWindowOpens) {
  EXPECT_EQ(form().focusWidget(), form().Command14);
  QWidget* next = form().Command14->nextInFocusChain();
  EXPECT_EQ(next, form().Command13);
}

}  // namespace
}  // namespace kvlink
