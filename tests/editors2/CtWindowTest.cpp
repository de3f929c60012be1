// The CT and full-load-current windows: rows, hints and notes by window and
// unit type, the order of the edit's end and the write, the service-factor
// box's lost focus, the refresh, the menu item and the window swap.
#include <gtest/gtest.h>

#include <QFocusEvent>
#include <QTest>

#include "CtModule.h"
#include "EditorTestProgram.h"
#include "EditorsModule.h"

namespace kvlink {
namespace {

using test::EditorTestProgram;
using test::writeCall;

const char* const kPhaseCt = "Phase-CT Primary Rating, Range: 1.07 to 2.22 * Motor FLA";
const char* const kEfCt = "EF-CT Primary Rating, Range: 5, 50 to 2000 A";
const char* const kGfCt = "GF-CT Primary Rating, Range: 5, 50 to 2000 A";
const char* const kFla = "Full-Load Current, Range: 0.45 to 0.93 * PH-CT Primary";
const char* const kFlaContactor = "Full-Load Current, Range: 0.45 to 0.75 * PH-CT Primary";
const char* const kServiceFactor = "Service Factor, Range: 100 to 125";

struct RowCase {
  int unitType;
  const char* box;
  int reg;
  int maxLength;
  const char* hint;
};

// Every box of every window, for each unit type that opens the window.
const RowCase kRows[] = {
    {0, "Text1", 16, 4, kPhaseCt},      {0, "Text2", 17, 5, kEfCt},
    {0, "Text3", 12, 3, kFla},          {0, "Text4", 13, 3, kServiceFactor},
    {2, "Text1", 16, 4, kPhaseCt},      {2, "Text2", 17, 5, kEfCt},
    {2, "Text3", 12, 3, kFlaContactor}, {2, "Text4", 13, 3, kServiceFactor},
    {1, "Text1", 16, 4, kPhaseCt},      {1, "Text2", 17, 5, kEfCt},
    {1, "Text3", 12, 3, kFla},          {4, "Text1", 16, 4, kPhaseCt},
    {4, "Text2", 17, 5, kGfCt},         {4, "Text3", 12, 3, kFla},
};

class CtTest : public ::testing::Test {
 protected:
  EditorTestProgram p;

  CtModule& ct() { return ctModule(*p); }
  // Display > "&CT and Misc Settings" for a unit of this type.
  CtForm& openFor(int16_t unitType) {
    p.answeredSetPointRead(unitType);
    p->Form1().mnuDisplayCT->trigger();
    auto& window = static_cast<CtForm&>(ct().kind.variantFor(unitType)->window());
    window.filled.mark(p->linkState.CurrentStation);  // as the answered pass leaves it
    return window;
  }
  bool noteShown(CtForm& w, int n) {
    QLabel* notes[] = {w.Label5, w.Label6, w.Label8};
    return notes[n]->isVisible();
  }
  void typeAndEnter(CtForm& w, const char* box, const QString& digits) {
    EditBox* b = w.box(box);
    QTest::mouseClick(b, Qt::LeftButton);
    b->clear();
    QTest::keyClicks(b, digits);
    QTest::keyClick(b, Qt::Key_Return);
  }
};

TEST_F(CtTest, EveryRowWritesItsRegisterAndShowsItsHint) {
  for (const RowCase& c : kRows) {
    for (uint8_t modbus : {1, 0}) {
      SCOPED_TRACE(testing::Message()
                   << "type " << c.unitType << " " << c.box << " modbus " << int(modbus));
      p->linkState.UseModbus = modbus;
      p.link->calls.clear();
      CtForm& w = openFor(int16_t(c.unitType));
      EditBox* b = w.box(c.box);
      ASSERT_NE(b, nullptr);
      QTest::mouseMove(b);
      w.Box_MouseMove(*b);
      EXPECT_EQ(w.Label7->text(), c.hint);  // hover
      w.Label7->clear();
      QTest::mouseClick(b, Qt::LeftButton);
      EXPECT_EQ(w.Label7->text(), c.hint);  // click
      b->clear();
      QTest::keyClicks(b, "1234567");  // longer than any box
      EXPECT_EQ(b->text(), QString("1234567").left(c.maxLength));
      QTest::keyClick(b, Qt::Key_Return);
      const int32_t typed = QString("1234567").left(c.maxLength).toInt();
      const int address = modbus ? c.reg : 256 + 2 * c.reg;
      EXPECT_EQ(p.link->writes(),
                std::vector<std::string>{writeCall(modbus != 0, 1, 1, address, typed)});
    }
  }
  EXPECT_EQ(ct().Form37().box("Text4"), nullptr);
  EXPECT_EQ(ct().Form37().Label4, nullptr);
}

TEST_F(CtTest, ClickShowsTheBoxsNotesAndTheEditsEndHidesThem) {
  CtForm& w = openFor(0);
  const struct {
    const char* box;
    bool notes[3];
  } cases[] = {{"Text1", {true, false, true}},
               {"Text2", {false, true, false}},
               {"Text3", {true, false, true}},
               {"Text4", {false, false, false}}};
  for (const auto& c : cases) {
    for (int key : {Qt::Key_Escape, Qt::Key_Return}) {
      SCOPED_TRACE(c.box);
      QTest::mouseClick(w.box(c.box), Qt::LeftButton);
      for (int n = 0; n < 3; ++n) EXPECT_EQ(noteShown(w, n), c.notes[n]) << n;
      EXPECT_TRUE(w.Label21->isVisible());
      QTest::keyClick(w.box(c.box), Qt::Key(key));
      for (int n = 0; n < 3; ++n) EXPECT_FALSE(noteShown(w, n)) << n;
      EXPECT_FALSE(w.Label21->isVisible());
    }
  }
  EXPECT_EQ(w.Label5->text(), "Set  Phase CT rating before FLA");
  EXPECT_EQ(w.Label6->text(), "Use 5 A for ZQR-1 or ZQR-2");
  EXPECT_EQ(w.Label8->text(), "Set Phase CT rating before FLA");
}

TEST_F(CtTest, TheEditEndsBeforeTheWriteWhileThePollIsStillStopped) {
  p.setLinkOpen(true);
  p.startPoll();
  CtForm& w = openFor(0);
  bool checked = false;
  p.link->afterCall = [&](const std::string& call) {
    if (call.find("write ") == std::string::npos) return;  // a write of either library
    checked = true;
    EXPECT_EQ(p->session.EditIdle, 1);
    EXPECT_FALSE(w.Label21->isVisible());
    EXPECT_FALSE(w.Label5->isVisible());
    EXPECT_FALSE(w.Label8->isVisible());
    EXPECT_EQ(w.focusWidget(), w.Command5);
    EXPECT_FALSE(p.pollRunning());
    EXPECT_TRUE(p->pointer.locked());
  };
  typeAndEnter(w, "Text1", "150");
  EXPECT_TRUE(checked);
  EXPECT_TRUE(p.pollRunning());
  EXPECT_FALSE(p->pointer.locked());
}

TEST_F(CtTest, EarthFaultBoxTakesFiveDigitsAndTheValueIsNeverCut) {
  p->linkState.UseModbus = 0;
  CtForm& w = openFor(0);
  typeAndEnter(w, "Text2", "2500");
  EXPECT_EQ(p.link->writes(), std::vector<std::string>{"abwrite 1 1 290 2500"});

  // Too large for a register: passed on whole, the link refuses it.
  typeAndEnter(w, "Text2", "99999");
  EXPECT_EQ(p.link->writes(),
            (std::vector<std::string>{"abwrite 1 1 290 2500", "abwrite 1 1 290 99999"}));
  ASSERT_EQ(p.host.boxes().size(), 1u);
  EXPECT_TRUE(p.host.boxes()[0].text.startsWith("Write Error 37:"));
  EXPECT_EQ(p->session.EditIdle, 1);
}

TEST_F(CtTest, EmptyBoxWritesNothingAndEndsTheEdit) {
  CtForm& w = openFor(2);
  typeAndEnter(w, "Text3", "");
  EXPECT_TRUE(p.link->writes().empty());
  EXPECT_FALSE(w.Label5->isVisible());
  EXPECT_FALSE(w.Label21->isVisible());
  EXPECT_FALSE(p->pointer.locked());
}

TEST_F(CtTest, ServiceFactorLosingTheFocusOnlyMarksTheProgramIdle) {
  p.setLinkOpen(true);
  CtForm& w = openFor(0);
  QTest::mouseClick(w.box("Text4"), Qt::LeftButton);
  EXPECT_EQ(p->session.EditIdle, 0);
  QFocusEvent out(QEvent::FocusOut, Qt::TabFocusReason);
  QCoreApplication::sendEvent(w.box("Text4"), &out);
  EXPECT_EQ(p->session.EditIdle, 1);
  EXPECT_FALSE(p.pollRunning());
  EXPECT_TRUE(p->pointer.locked());
  EXPECT_TRUE(w.Label21->isVisible());
  // Hover hints work again.
  w.Box_MouseMove(*w.box("Text1"));
  EXPECT_EQ(w.Label7->text(), kPhaseCt);
  // The other boxes have no such handler.
  QTest::mouseClick(w.box("Text4"), Qt::LeftButton);
  QTest::keyClick(w.box("Text4"), Qt::Key_Escape);
  QTest::mouseClick(w.box("Text3"), Qt::LeftButton);
  QCoreApplication::sendEvent(w.box("Text3"), &out);
  EXPECT_EQ(p->session.EditIdle, 0);
  QTest::keyClick(w.box("Text3"), Qt::Key_Escape);
  EXPECT_TRUE(p.pollRunning());
}

TEST_F(CtTest, RefreshFillsAllThreeWindowsWithoutBlanking) {
  PolledValues& v = p->poll.values;
  v.PolledPhaseCT = 0;
  v.PolledEFCT = 50;
  v.PolledFLA = 999;
  v.PolledServiceFactor = 1000;
  ct().kind.showStationName("North incomer");
  ct().kind.refresh();
  for (CtForm* w : std::initializer_list<CtForm*>{&ct().Form7(), &ct().lpForm7(), &ct().Form37()}) {
    SCOPED_TRACE(w->designName().toStdString());
    EXPECT_FALSE(w->isVisible());
    EXPECT_EQ(w->Label10->text(), "North incomer");
    EXPECT_EQ(w->box("Text1")->text(), "0");
    EXPECT_EQ(w->box("Text2")->text(), "50");
    EXPECT_EQ(w->box("Text3")->text(), "999");
    if (EditBox* sf = w->box("Text4")) {
      EXPECT_EQ(sf->text(), "1000");
    }
  }
  EXPECT_GE(p.host.doEventsCount(), 1);

  // A box being typed into keeps what the operator typed.
  CtForm& w = openFor(0);
  QTest::mouseClick(w.box("Text2"), Qt::LeftButton);
  w.box("Text2")->clear();
  QTest::keyClicks(w.box("Text2"), "7");
  v.PolledEFCT = 60;
  v.PolledPhaseCT = 200;
  ct().kind.refresh();
  EXPECT_EQ(w.box("Text2")->text(), "7");
  EXPECT_EQ(w.box("Text1")->text(), "200");
}

TEST_F(CtTest, MenuOpensTheWindowOfTheUnitType) {
  p->session.EditIdle = 0;
  CtForm& f7 = openFor(0);
  EXPECT_TRUE(f7.isVisible());
  EXPECT_EQ(f7.designName(), "Form7");
  EXPECT_EQ(f7.windowTitle(), "RVX CT/SF/FLA Settings");
  EXPECT_EQ(p->windowStates.CTWindowState, 0);
  EXPECT_EQ(p->session.EditIdle, 1);
  EXPECT_FALSE(f7.Label21->isVisible());
  f7.Command5->click();
  EXPECT_FALSE(f7.isVisible());
  EXPECT_EQ(p->windowStates.CTWindowState, kWindowClosed);

  CtForm& lp = openFor(2);
  EXPECT_EQ(lp.windowTitle(), "DA-DAroze   CT/SF/FLA Settings");
  EXPECT_EQ(p->windowStates.CTWindowState, 2);
  lp.close();  // title bar: unloaded
  EXPECT_EQ(p->windowStates.CTWindowState, kWindowClosed);
  EXPECT_FALSE(ct().lpForm7.loaded());

  CtForm& f37 = openFor(4);
  EXPECT_EQ(f37.windowTitle(), "ZE-DUR  CT and FLA Settings");
  EXPECT_EQ(static_cast<Form37&>(f37).Label2->text(), "GROUND-FAULT CT");
  EXPECT_EQ(p->windowStates.CTWindowState, 1);
  f37.Command5->click();

  // Refused password or unknown type: nothing opens.
  editorsModule(*p).checkPassword = [](int16_t) -> int16_t { return 2; };
  p.answeredSetPointRead(0);
  p->Form1().mnuDisplayCT->trigger();
  EXPECT_EQ(p->windowStates.CTWindowState, kWindowClosed);
  editorsModule(*p).checkPassword = [](int16_t) -> int16_t { return 1; };
  p.answeredSetPointRead(99);
  p->Form1().mnuDisplayCT->trigger();
  EXPECT_EQ(p->windowStates.CTWindowState, kWindowClosed);
}

TEST_F(CtTest, Form37IsRecaptionedBetweenTypes1And4WithoutReload) {
  CtForm& opened = openFor(1);
  auto& f37 = static_cast<Form37&>(opened);
  EXPECT_EQ(f37.windowTitle(), "GLT  CT and FLA Settings");
  EXPECT_EQ(f37.Label2->text(), "EARTH-FAULT CT");
  f37.move(200, 140);

  p->poll.UnitType = 4;
  ct().kind.syncToUnitType(4);
  EXPECT_EQ(&ct().Form37(), &f37);
  EXPECT_EQ(f37.pos(), QPoint(200, 140));
  EXPECT_EQ(f37.windowTitle(), "ZE-DUR  CT and FLA Settings");
  EXPECT_EQ(f37.Label2->text(), "GROUND-FAULT CT");
  EXPECT_EQ(p->windowStates.CTWindowState, 1);
  QTest::mouseClick(f37.box("Text2"), Qt::LeftButton);
  EXPECT_EQ(f37.Label7->text(), kGfCt);
  QTest::keyClick(f37.box("Text2"), Qt::Key_Escape);

  p->poll.UnitType = 1;
  ct().kind.syncToUnitType(1);
  EXPECT_EQ(f37.windowTitle(), "GLT  CT and FLA Settings");
  EXPECT_EQ(f37.Label2->text(), "EARTH-FAULT CT");
}

TEST_F(CtTest, Form7GivesWayToLpForm7AtTheSamePlace) {
  CtForm& f7 = openFor(0);
  f7.move(60, 70);
  ct().kind.syncToUnitType(2);
  EXPECT_FALSE(ct().Form7.loaded());
  EXPECT_TRUE(ct().lpForm7().isVisible());
  EXPECT_EQ(ct().lpForm7().pos(), QPoint(60, 70));
  EXPECT_EQ(p->windowStates.CTWindowState, 2);
  ct().kind.syncToUnitType(1);
  EXPECT_TRUE(ct().Form37().isVisible());
  EXPECT_EQ(ct().Form37().windowTitle(), "GLT  CT and FLA Settings");
  EXPECT_EQ(p->windowStates.CTWindowState, 1);
}

TEST_F(CtTest, PassEndEnablesAndResetsPointers) {
  ct().Form7().setEnabled(false);
  ct().Form37().setEnabled(false);
  ct().Form7().setMousePointer(vbHourglass);
  ct().kind.endPass();
  ct().kind.resetPointers();
  EXPECT_TRUE(ct().Form7().isEnabled());
  EXPECT_TRUE(ct().Form37().isEnabled());
  EXPECT_EQ(ct().Form7().mousePointerValue(), vbDefault);
}

}  // namespace
}  // namespace kvlink
