// The program-mode and CT windows of the whole program on a simulated line
// of relays over a pseudo-terminal, in Modbus RTU and in DF1 with both error
// checks: the operator reads and changes program-mode bits and CT, FLA and
// service-factor settings of every unit type, and the next poll brings the
// unit's values back into the windows.
#include <QTest>

#include "CtModule.h"
#include "EditorsModule.h"
#include "Form1.h"
#include "Install.h"
#include "PollPass.h"
#include "ProgramModeModule.h"
#include "SimulatedLine.h"

namespace kvlink::test {
namespace {

struct Unit {
  int station;
  int16_t type;
};
constexpr Unit kUnits[] = {{5, 0}, {9, 1}, {12, 2}, {20, 4}};

class EditorsEndToEndTest : public EndToEndTest {
 protected:
  void SetUp() override {
    ASSERT_TRUE(writeNoPasswords());
    for (const Unit& unit : kUnits) line->addStation(unit.station, unit.type);
    ASSERT_TRUE(startLine());
    makeProgram();
    installSubsystems(*program);
    ASSERT_TRUE(openLink());
  }

  bool polling() { return program->Form1().Timer1->isActive(); }
  // One answered poll of a station.
  void pollStation(const Unit& unit) {
    program->selectStation(int16_t(unit.station));
    ASSERT_TRUE(polling());
    PollCurrentStation(*program);
    ASSERT_EQ(program->poll.PollStatus, 0);
    ASSERT_EQ(program->poll.UnitType, unit.type);
  }
  // Display > "&Set Points", then "Program-Mode Settings".
  ProgramModeWindow& openProgramModeWindow() {
    editorsModule(*program).mnuDisplaySet_Click();
    SetPointForm* setPoints = editorsModule(*program).setPointWindow(program->poll.UnitType);
    EXPECT_TRUE(setPoints && setPoints->isVisible());
    setPoints->Command13->click();
    ProgramModeModule& mode = program->module<ProgramModeModule>();
    return mode.window(programModeFamilyOf(program->poll.UnitType));
  }
  CtForm& openCtWindow() {
    program->Form1().mnuDisplayCT->trigger();
    CtModule& ct = ctModule(*program);
    return static_cast<CtForm&>(ct.kind.variantFor(program->poll.UnitType)->window());
  }
  void enterValue(CtForm& window, const char* box, const QString& digits) {
    EditBox* b = window.box(box);
    QTest::mouseClick(b, Qt::LeftButton);
    b->selectAll();
    QTest::keyClick(b, Qt::Key_Backspace);
    QTest::keyClicks(b, digits);
    QTest::keyClick(b, Qt::Key_Return);
  }
};

// What the operator changes in the program-mode window of each unit type,
// and the words the unit then holds.
struct ModeChange {
  int16_t type;
  uint16_t word1Before, word2Before;
  uint16_t word1After, word2After;
};
constexpr ModeChange kModeChanges[] = {
    // AutoReset off, Hot-Motor Comp on, 0.5 seconds, BAC, trip Non Fail Safe.
    {0, 0x41, 0, 64 + 8 + 32 + 128, 8},
    // The same clicks on a contactor unit that had Short-Circuit on and the
    // alarm relay Non Fail Safe.
    {2, 0x04, 4, 1 + 4 + 8 + 32 + 128, 12},
    // AutoReset off, I2t Immediate Reset on, 24 cycles short time, 6 cycles
    // earth fault, trip Non Fail Safe, alarm back to Fail Safe.
    {1, 0x01, 4, 4 + 192 + 16, 8},
    // The same clicks and 50 Hz on a type-4 unit.
    {4, 0x01, 0, 4 + 8 + 192 + 16, 8},
};

void changeProgramMode(ProgramModeWindow& window) {
  if (auto* f6 = dynamic_cast<Form6*>(&window)) {
    f6->Check3D1->click();
    f6->Check3D3->click();
    f6->Option3D9->click();
    f6->Option3D6->click();
    f6->Option3D2->click();
    return;
  }
  auto& f36 = dynamic_cast<Form36&>(window);
  f36.Check3D1->click();
  f36.Check3D3->click();
  f36.Option3D14->click();
  f36.Option3D8->click();
  f36.Option3D2->click();
  f36.Option3D4->click();
  if (f36.SSFrame1->isVisible()) f36.SSOption2->click();
}

TEST_P(EditorsEndToEndTest, ProgramModeBitsOfEveryUnitTypeAreWrittenAndComeBack) {
  for (const ModeChange& change : kModeChanges) {
    SCOPED_TRACE(testing::Message() << "unit type " << change.type);
    const Unit unit = *std::find_if(std::begin(kUnits), std::end(kUnits),
                                    [&](const Unit& u) { return u.type == change.type; });
    line->setReg(unit.station, 14, change.word1Before);
    line->setReg(unit.station, 15, change.word2Before);
    pollStation(unit);

    ProgramModeWindow& window = openProgramModeWindow();
    EXPECT_FALSE(polling());
    EXPECT_EQ(window.EncodeProgramModeWords(change.type),
              (ProgramModeWords{change.word1Before, change.word2Before}));
    changeProgramMode(window);
    window.Command1->click();
    ASSERT_TRUE(host.boxes().empty()) << host.boxes()[0].text.toStdString();
    EXPECT_EQ(line->reg(unit.station, 14), change.word1After);
    EXPECT_EQ(line->reg(unit.station, 15), change.word2After);
    EXPECT_FALSE(window.isVisible());
    EXPECT_TRUE(polling());

    PollCurrentStation(*program);
    EXPECT_EQ(program->poll.values.ProgramModeWord1, change.word1After);
    EXPECT_EQ(program->poll.values.ProgramModeWord2, change.word2After);
    ProgramModeWindow& again = openProgramModeWindow();
    EXPECT_EQ(again.EncodeProgramModeWords(change.type),
              (ProgramModeWords{change.word1After, change.word2After}));
    again.Command2->click();
    editorsModule(*program).setPointWindow(change.type)->Command14->click();
  }
}

TEST_P(EditorsEndToEndTest, ApplyWithoutAnAnsweredReadOfTheStationWritesNothing) {
  const Unit motor = kUnits[0];
  const Unit contactor = kUnits[2];
  line->setReg(motor.station, 14, 0x41);
  program->selectStation(int16_t(motor.station));
  ProgramModeWindow& early = openProgramModeWindow();  // no poll has answered yet
  early.Command1->click();
  ASSERT_EQ(host.boxes().size(), 1u);
  EXPECT_TRUE(host.boxes()[0].text.startsWith(
      "The values of station 5 have not been read yet, so nothing is written.  "));
  EXPECT_EQ(line->reg(motor.station, 14), 0x41);
  early.Command2->click();

  pollStation(motor);
  ProgramModeWindow& window = openProgramModeWindow();
  program->selectStation(int16_t(contactor.station));
  window.Command1->click();
  EXPECT_EQ(host.boxes().size(), 2u);
  EXPECT_EQ(line->reg(motor.station, 14), 0x41);
  EXPECT_EQ(line->reg(contactor.station, 14), 0);
}

TEST_P(EditorsEndToEndTest, CtSettingsOfEveryUnitTypeAreWrittenAndComeBack) {
  for (const Unit& unit : kUnits) {
    SCOPED_TRACE(testing::Message() << "unit type " << unit.type);
    pollStation(unit);
    CtForm& window = openCtWindow();
    ASSERT_TRUE(window.isVisible());
    EXPECT_EQ(window.box("Text1")->text().toInt(), line->reg(unit.station, 16));
    const bool serviceFactor = unit.type == 0 || unit.type == 2;
    const int phaseCt = 200 + unit.type, earthFaultCt = 5, fla = 150 + unit.type, sf = 110;
    enterValue(window, "Text1", QString::number(phaseCt));
    enterValue(window, "Text2", QString::number(earthFaultCt));
    enterValue(window, "Text3", QString::number(fla));
    if (serviceFactor) enterValue(window, "Text4", QString::number(sf));
    ASSERT_TRUE(host.boxes().empty()) << host.boxes()[0].text.toStdString();
    EXPECT_EQ(line->reg(unit.station, 16), phaseCt);
    EXPECT_EQ(line->reg(unit.station, 17), earthFaultCt);
    EXPECT_EQ(line->reg(unit.station, 12), fla);
    if (serviceFactor) {
      EXPECT_EQ(line->reg(unit.station, 13), sf);
    }
    EXPECT_TRUE(polling());

    // The boxes are refilled by the poll from what the unit holds.
    line->setReg(unit.station, 16, 321);
    PollCurrentStation(*program);
    EXPECT_EQ(window.box("Text1")->text(), "321");
    EXPECT_EQ(window.box("Text2")->text(), QString::number(earthFaultCt));
    EXPECT_EQ(window.box("Text3")->text(), QString::number(fla));
    if (serviceFactor) {
      EXPECT_EQ(window.box("Text4")->text(), QString::number(sf));
    }
    window.Command5->click();
  }
}

TEST_P(EditorsEndToEndTest, FeederCtWindowFollowsTheUnitTypeOfTheNextStation) {
  pollStation(kUnits[1]);  // type 1
  CtForm& window = openCtWindow();
  EXPECT_EQ(window.windowTitle(), "GLT  CT and FLA Settings");
  window.move(150, 90);
  pollStation(kUnits[3]);  // type 4
  CtModule& ct = ctModule(*program);
  EXPECT_EQ(&ct.Form37(), &window);
  EXPECT_TRUE(window.isVisible());
  EXPECT_EQ(window.windowTitle(), "ZE-DUR  CT and FLA Settings");
  EXPECT_EQ(window.Label2->text(), "GROUND-FAULT CT");
  EXPECT_EQ(window.box("Text1")->text().toInt(), line->reg(kUnits[3].station, 16));
  pollStation(kUnits[2]);  // type 2: lpForm7 takes its place
  // Form37 was unloaded; the refresh of the same pass made it again, hidden.
  EXPECT_FALSE(ct.Form37().isVisible());
  EXPECT_EQ(ct.Form37().windowTitle(), "GLT / DA-RUV   CT and FLA Settings");
  EXPECT_TRUE(ct.lpForm7().isVisible());
  EXPECT_EQ(ct.lpForm7().pos(), QPoint(150, 90));
  EXPECT_EQ(program->windowStates.CTWindowState, 2);
}

TEST_P(EditorsEndToEndTest, EarthFaultCtTooLargeForARegisterIsRefusedByTheLink) {
  const Unit motor = kUnits[0];
  pollStation(motor);
  const uint16_t before = line->reg(motor.station, 17);
  CtForm& window = openCtWindow();
  enterValue(window, "Text2", "99999");
  ASSERT_EQ(host.boxes().size(), 1u);
  EXPECT_EQ(host.boxes()[0].text, "Write Error 37:Invalid Address, Size, or Value");
  EXPECT_EQ(line->reg(motor.station, 17), before);
  EXPECT_TRUE(polling());
  PollCurrentStation(*program);
  EXPECT_EQ(window.box("Text2")->text(), QString::number(before));
}

INSTANTIATE_TEST_SUITE_P(Lines, EditorsEndToEndTest, ::testing::ValuesIn(kLineCases), lineCaseName);

}  // namespace
}  // namespace kvlink::test
