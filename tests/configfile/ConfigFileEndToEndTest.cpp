// The configuration files of the whole program on a simulated line of
// relays over a pseudo-terminal, in Modbus RTU and in DF1 with both error
// checks: the operator saves one unit's set points to a *.con file and
// programs another unit of the same type from it; a file of another type
// is refused and the unit keeps its set points.
#include "ConfigFileModule.h"
#include "ConfigFileTexts.h"
#include "Form1.h"
#include "Install.h"
#include "LinkSwitch.h"
#include "PollPass.h"
#include "SetPointRanges.h"
#include "SimulatedLine.h"

namespace kvlink::test {
namespace {

struct Unit {
  int station;
  int16_t type;
};
// Two units of each type: the first is saved, the second programmed.
struct Pair {
  Unit from, to;
};
constexpr Pair kPairs[] = {
    {{5, 0}, {6, 0}}, {{9, 1}, {10, 1}}, {{12, 2}, {13, 2}}, {{20, 4}, {21, 4}}};

bool feeder(int16_t type) {
  return type == 1 || type == 4;
}
bool savedRegister(int16_t type, int reg) {
  return !(feeder(type) && (reg == 8 || reg == 9 || reg == 13));
}

class ConfigFileEndToEndTest : public EndToEndTest {
 protected:
  void SetUp() override {
    ASSERT_TRUE(writeNoPasswords());
    for (const Pair& pair : kPairs)
      for (const Unit& unit : {pair.from, pair.to}) line->addStation(unit.station, unit.type);
    ASSERT_TRUE(startLine());
    makeProgram();
    installSubsystems(*program);
    ASSERT_TRUE(openLink());
  }

  Form1& main() { return program->Form1(); }
  ConfigFileModule& files() { return configFileModule(*program); }
  void pollStation(const Unit& unit) {
    program->selectStation(int16_t(unit.station));
    PollCurrentStation(*program);
    ASSERT_EQ(program->poll.PollStatus, 0);
    ASSERT_EQ(program->poll.UnitType, unit.type);
  }
  QString file(const Unit& unit) {
    return settingsDir.filePath(QStringLiteral("station%1.con").arg(unit.station));
  }
  std::vector<uint16_t> setPoints(const Unit& unit) { return line->regs(unit.station, 0, 18); }

  // File > "&Save Set Point Info", "Continue", the file chosen.
  void save(const Unit& unit) {
    pollStation(unit);
    main().mnusaveset->trigger();
    host.answerFileDialog({false, file(unit)});
    files().FormSaveInfo().Command3D1->click();
    ASSERT_FALSE(host.boxes().empty());
    ASSERT_EQ(host.boxes().back().text, QString::fromUtf8(kFileSavedText));
  }
  // File > "Quick &Configure", "Yes", "Next >>" with the file, Send.
  void quickConfigure(const Unit& unit, const QString& conFile) {
    pollStation(unit);
    main().mnuopen->trigger();
    files().ConfigWarning().Command3D1->click();
    host.answerFileDialog({false, conFile});
    files().FormConfig().Command3D1->click();
    ASSERT_TRUE(files().FormConfig().Command3D3->isEnabled());
    host.clearRecords();
    files().FormConfig().Command3D3->click();
  }
};

TEST_P(ConfigFileEndToEndTest, SavedSetPointsProgramAnotherUnitOfTheSameType) {
  for (const Pair& pair : kPairs) {
    SCOPED_TRACE(testing::Message() << "unit type " << pair.from.type);
    // Set points the target does not hold and takes (inside the unit's
    // ranges), bits 4 and 8 of the relay word included.
    for (int reg = 0; reg < 18; ++reg) {
      const auto range = sim::setPointRange(pair.from.type, reg);
      const int value = range ? (range->low + range->high) / 2 + 1 + pair.from.type
                              : 500 + 7 * reg + pair.from.type;
      line->setReg(pair.from.station, reg, static_cast<uint16_t>(value));
    }
    line->setReg(pair.from.station, 15, 12);
    const std::vector<uint16_t> targetBefore = setPoints(pair.to);
    save(pair.from);

    quickConfigure(pair.to, file(pair.from));
    ASSERT_EQ(host.boxes().size(), 1u) << host.boxes()[0].text.toStdString();
    EXPECT_EQ(host.boxes()[0].text, QString::fromUtf8(kDownloadDoneText));
    EXPECT_EQ(files().FormConfig().Label7->text(), QString::fromUtf8(kDownloadComplete));
    const std::vector<uint16_t> source = setPoints(pair.from), target = setPoints(pair.to);
    for (int reg = 0; reg < 18; ++reg)
      EXPECT_EQ(target[reg], savedRegister(pair.to.type, reg) ? source[reg] : targetBefore[reg])
          << "register " << reg;
    EXPECT_TRUE(main().Timer1->isActive());

    // The next poll shows the new set points.
    PollCurrentStation(*program);
    EXPECT_EQ(program->poll.values.PolledFLA, source[12]);
    files().FormConfig().Command3D4->click();
    EXPECT_TRUE(main().mnuopen->isEnabled());
  }
}

TEST_P(ConfigFileEndToEndTest, FileOfAnotherTypeLeavesTheUnitAsItWas) {
  save(kPairs[0].from);                 // type 0
  const Unit contactor = kPairs[2].to;  // type 2, same family
  const std::vector<uint16_t> before = setPoints(contactor);
  quickConfigure(contactor, file(kPairs[0].from));
  ASSERT_EQ(host.boxes().size(), 1u);
  EXPECT_EQ(host.boxes()[0].text, QString::fromUtf8(kWrongTypeText));
  EXPECT_FALSE(files().FormConfig().Label4->isHidden());
  EXPECT_EQ(setPoints(contactor), before);
  EXPECT_TRUE(main().Timer1->isActive());
}

TEST_P(ConfigFileEndToEndTest, SaveAfterTheLinkWasClosedAndOpenedAgainWaitsForAPoll) {
  pollStation(kPairs[0].from);
  SwitchLinkOff(*program);
  program->linkState.CommPort = 4;
  program->linkState.CommEnabled = 1;
  ASSERT_TRUE(SwitchLinkOn(*program));
  main().mnusaveset->trigger();
  files().FormSaveInfo().Command3D1->click();
  ASSERT_EQ(host.boxes().size(), 1u);
  EXPECT_EQ(
      host.boxes()[0].text,
      QStringLiteral(
          "No set point information has been read from this station yet.  Try again in a moment."));
}

INSTANTIATE_TEST_SUITE_P(Lines, ConfigFileEndToEndTest, ::testing::ValuesIn(kLineCases),
                         lineCaseName);

}  // namespace
}  // namespace kvlink::test
