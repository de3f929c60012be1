// The window swap: an open window kind follows the unit type of every
// answered pass, moving to another variant at the same position or
// re-captioning the window that serves both types.
#include <QCoreApplication>
#include <QLabel>

#include "PollFixture.h"
#include "VariantWindowKind.h"

namespace kvlink::test {
namespace {

class VariantForm : public Form {
 public:
  VariantForm(Host& host, const QString& name, std::vector<std::string>& log)
      : Form(host, name), log_(log) {
    caption = new QLabel("design", this);
  }
  void Form_Unload() override { log_.push_back("unload " + designName().toStdString()); }
  QLabel* caption;

 private:
  std::vector<std::string>& log_;
};

// Three windows: one per motor type, one for both feeder types.
class WindowSwapTest : public PollFixture {
 protected:
  WindowSwapTest() {
    for (auto* instance : {&typeZero, &typeTwo, &feeder}) {
      const QString name = instance == &typeZero ? "Zero" : instance == &typeTwo ? "Two" : "Feeder";
      instance->setFactory([this, name] { return std::make_unique<VariantForm>(host, name, log); });
    }
    setPointKind = std::make_unique<VariantWindowKind>(
        program->windowStates.SetPointWindowState,
        std::vector<WindowVariant>{variant({0}, typeZero), variant({2}, typeTwo),
                                   variant({1, 4}, feeder)});
    program->addWindowKind(setPointKind.get());
    link->station(1).unit(0);
  }
  ~WindowSwapTest() override {
    program.reset();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  }

  WindowVariant variant(std::vector<int16_t> types, DefaultInstance<VariantForm>& instance) {
    WindowVariant v;
    v.unitTypes = std::move(types);
    v.ifLoaded = [&instance] { return instance.ifLoaded(); };
    v.window = [&instance]() -> Form& { return instance(); };
    v.unload = [&instance] { instance.Unload(); };
    v.afterMoveIn = [this, &instance](int16_t type) {
      log.push_back("captions " + std::to_string(type));
      instance().caption->setText(QString::number(type));
    };
    v.onTypeChange = v.afterMoveIn;
    return v;
  }
  void answerAs(int type) {
    link->station(1).unit(type);
    pass();
  }

  std::vector<std::string> log;
  DefaultInstance<VariantForm> typeZero, typeTwo, feeder;
  std::unique_ptr<VariantWindowKind> setPointKind;
};

TEST_F(WindowSwapTest, NewTypeMovesTheOpenWindowToItsVariantAtTheSamePlace) {
  setPointKind->open(0);
  typeZero().moveTo(140, 90);
  answerAs(1);
  EXPECT_FALSE(typeZero.loaded());
  EXPECT_EQ(log, (std::vector<std::string>{"unload Zero", "captions 1"}));
  ASSERT_TRUE(feeder.loaded());
  EXPECT_TRUE(feeder().Visible());
  EXPECT_EQ(feeder().Left(), 140);
  EXPECT_EQ(feeder().Top(), 90);
  EXPECT_EQ(program->windowStates.SetPointWindowState, 1);
}

TEST_F(WindowSwapTest, OneWindowForTwoTypesIsReCaptionedOncePerChange) {
  link->station(1).unit(1);
  setPointKind->open(1);
  log.clear();
  answerAs(4);
  answerAs(4);
  EXPECT_EQ(log, (std::vector<std::string>{"captions 4"}));
  EXPECT_EQ(feeder().caption->text(), "4");
  EXPECT_EQ(program->windowStates.SetPointWindowState, 4);
  answerAs(1);
  EXPECT_EQ(program->windowStates.SetPointWindowState, 1);
  EXPECT_EQ(feeder().caption->text(), "1");
}

TEST_F(WindowSwapTest, ClosedKindAndUnidentifiedTypeMoveNothing) {
  answerAs(2);
  EXPECT_FALSE(typeTwo.loaded());
  EXPECT_EQ(program->windowStates.SetPointWindowState, kWindowClosed);

  setPointKind->open(2);
  typeTwo().Hide();  // Close
  program->windowStates.SetPointWindowState = kWindowClosed;
  answerAs(0);
  EXPECT_FALSE(typeZero.loaded());

  setPointKind->open(0);
  log.clear();
  link->station(1).regs[39] = 0x0300;
  pass();
  EXPECT_EQ(program->poll.UnitType, 99);
  SyncWindowsToUnitType(*program);
  EXPECT_TRUE(log.empty());
  EXPECT_EQ(program->windowStates.SetPointWindowState, 0);
}

TEST_F(WindowSwapTest, WatchdogClosedKindIsNotShownAgainByTheNextAnswer) {
  setPointKind->open(0);
  main().Timer1->stop();
  program->linkState.CommEnabled = 0;
  Form1_TimerCS_Timer(*program);
  EXPECT_FALSE(typeZero().Visible());
  program->linkState.CommEnabled = 1;
  main().Timer1->start();
  answerAs(1);
  EXPECT_FALSE(feeder.loaded());
  EXPECT_FALSE(typeZero().Visible());
  EXPECT_EQ(program->windowStates.SetPointWindowState, kWindowClosed);
}

TEST(VariantStateTest, StateNamingAnotherTypeOfTheSameWindowOnlyChangesTheState) {
  // Program mode: one window for 0 and 2, opened with state 0 for a type 2
  // unit; CT: one window with state 1 for both feeder types, captioned on
  // every pass.
  int16_t state = 0;
  int sameWindowCalls = 0, typeChanges = 0, moves = 0;
  WindowVariant shared;
  shared.unitTypes = {0, 2};
  shared.ifLoaded = [] { return nullptr; };
  shared.window = []() -> Form& { throw std::logic_error("no move expected"); };
  shared.unload = [&] { ++moves; };
  shared.onSameWindow = [&](int16_t) { ++sameWindowCalls; };
  shared.onTypeChange = [&](int16_t) { ++typeChanges; };
  VariantWindowKind kind(state, {shared});
  kind.syncToUnitType(2);
  EXPECT_EQ(state, 2);
  kind.syncToUnitType(2);
  EXPECT_EQ(sameWindowCalls, 2);
  EXPECT_EQ(typeChanges, 1);
  EXPECT_EQ(moves, 0);

  int16_t ctState = 1;
  WindowVariant ct = shared;
  ct.unitTypes = {1, 4};
  ct.stateFor = [](int16_t) -> int16_t { return 1; };
  sameWindowCalls = typeChanges = 0;
  VariantWindowKind ctKind(ctState, {ct});
  ctKind.syncToUnitType(4);
  ctKind.syncToUnitType(4);
  ctKind.syncToUnitType(1);
  EXPECT_EQ(ctState, 1);
  EXPECT_EQ(sameWindowCalls, 3);
  EXPECT_EQ(typeChanges, 0);
}

}  // namespace
}  // namespace kvlink::test
