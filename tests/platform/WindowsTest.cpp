// The window stand-ins: default instances, the scripted host, pointer state,
// colours, dialog filters, Enter and Esc, and holding a window still.
#include <gtest/gtest.h>
#include <xcb/xproto.h>

#include <QAbstractEventDispatcher>
#include <QApplication>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QDialog>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <QVBoxLayout>

#include "DefaultInstance.h"
#include "Form.h"
#include "LostToBoxBeep.h"
#include "PointerState.h"
#include "QtHost.h"
#include "ScriptedHost.h"
#include "VbColor.h"
#include "WindowPlacement.h"

namespace kvlink {
namespace {

struct Counters {
  int loads = 0;
  int unloads = 0;
  int constructed = 0;
};

class SampleForm : public Form {
 public:
  SampleForm(Host& host, Counters& counters) : Form(host, "SampleForm"), counters_(counters) {
    ++counters_.constructed;
    caption = new QLabel("design caption", this);
  }
  void Form_Load() override { ++counters_.loads; }
  void Form_Unload() override { ++counters_.unloads; }
  QLabel* caption;

 private:
  Counters& counters_;
};

void flushDeferredDeletes() {
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

TEST(DefaultInstanceTest, FirstReferenceCreatesHiddenAndLoadsOnce) {
  ScriptedHost host;
  Counters counters;
  DefaultInstance<SampleForm> instance(
      [&] { return std::make_unique<SampleForm>(host, counters); });
  EXPECT_FALSE(instance.loaded());
  EXPECT_EQ(instance.ifLoaded(), nullptr);

  SampleForm& form = instance();
  EXPECT_FALSE(form.isVisible());
  EXPECT_EQ(counters.loads, 1);
  instance().caption->setText("changed at run time");
  instance();
  EXPECT_EQ(counters.constructed, 1);
  EXPECT_EQ(counters.loads, 1);
}

TEST(DefaultInstanceTest, UnloadThenReferenceRecreatesFromDesign) {
  ScriptedHost host;
  Counters counters;
  DefaultInstance<SampleForm> instance(
      [&] { return std::make_unique<SampleForm>(host, counters); });
  instance().caption->setText("changed at run time");
  instance().Show();
  EXPECT_TRUE(instance().isVisible());

  instance.Unload();
  EXPECT_EQ(counters.unloads, 1);
  EXPECT_FALSE(instance.loaded());
  instance.Unload();  // unloading an unloaded window does nothing
  EXPECT_EQ(counters.unloads, 1);
  flushDeferredDeletes();

  EXPECT_EQ(instance().caption->text(), "design caption");
  EXPECT_FALSE(instance().isVisible());
  EXPECT_EQ(counters.loads, 2);
}

TEST(DefaultInstanceTest, TitleBarCloseUnloadsAndCloseButtonOnlyHides) {
  ScriptedHost host;
  Counters counters;
  DefaultInstance<SampleForm> instance(
      [&] { return std::make_unique<SampleForm>(host, counters); });
  instance().Show();
  instance().Hide();
  EXPECT_TRUE(instance.loaded());
  EXPECT_EQ(counters.unloads, 0);

  instance().Show();
  instance().close();  // what the title bar's close does
  EXPECT_EQ(counters.unloads, 1);
  EXPECT_FALSE(instance.loaded());
  flushDeferredDeletes();
}

TEST(ScriptedHostTest, RecordsBoxesAndAnswersFromScript) {
  ScriptedHost host;
  host.answerBox(vbYes);
  EXPECT_EQ(MsgBox(host, "Delete set point?", 52, "Verify Delete"), vbYes);
  EXPECT_EQ(MsgBox(host, "Unscripted yes/no", 52, "Q"), vbNo);
  host.answerBox(vbCancel);
  EXPECT_EQ(MsgBox(host, "Dismissed yes/no", 52, "Q"), vbNo);
  EXPECT_EQ(MsgBox(host, "Plain"), vbOK);

  ASSERT_EQ(host.boxes().size(), 4u);
  EXPECT_EQ(host.boxes()[0].text, "Delete set point?");
  EXPECT_EQ(host.boxes()[0].style, 52);
  EXPECT_EQ(host.boxes()[0].title, "Verify Delete");
  EXPECT_EQ(host.boxes()[3].title, "KV-LINK27");
}

TEST(ScriptedHostTest, RunsActionsInsideTheNextPumpOnly) {
  ScriptedHost host;
  std::vector<int> order;
  host.atNextDoEvents([&] {
    order.push_back(1);
    host.atNextDoEvents([&] { order.push_back(2); });
  });
  host.doEvents();
  EXPECT_EQ(order, std::vector<int>{1});
  host.doEvents();
  EXPECT_EQ(order, (std::vector<int>{1, 2}));
  EXPECT_EQ(host.doEventsCount(), 2);
}

TEST(ScriptedHostTest, ModalShowRunsTheScriptedAction) {
  ScriptedHost host;
  Counters counters;
  SampleForm form(host, counters);
  bool sawVisible = false;
  host.onNextModal([&](Form& shown) {
    sawVisible = shown.isVisible();
    shown.Hide();
  });
  form.Show(true);
  EXPECT_TRUE(sawVisible);
  EXPECT_FALSE(form.isVisible());
  EXPECT_EQ(host.modalCount(), 1);
}

TEST(PointerStateTest, OneRestoreClearsHourglassAndHiddenPointer) {
  PointerState pointer;
  pointer.setApplicationPointer(vbHourglass);
  pointer.setApplicationPointer(vbHourglass);
  EXPECT_NE(QGuiApplication::overrideCursor(), nullptr);
  EXPECT_EQ(QGuiApplication::overrideCursor()->shape(), Qt::WaitCursor);
  pointer.setVisible(false);
  EXPECT_EQ(QGuiApplication::overrideCursor()->shape(), Qt::BlankCursor);
  pointer.setVisible(true);
  EXPECT_EQ(QGuiApplication::overrideCursor()->shape(), Qt::WaitCursor);
  pointer.setApplicationPointer(vbDefault);
  EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
}

class ClickCounter : public QWidget {
 public:
  int presses = 0;
  int keys = 0;

 protected:
  void mousePressEvent(QMouseEvent*) override { ++presses; }
  void keyPressEvent(QKeyEvent*) override { ++keys; }
};

int sendPressAndKey(ClickCounter& widget) {
  QMouseEvent press(QEvent::MouseButtonPress, QPointF(1, 1), QPointF(1, 1), Qt::LeftButton,
                    Qt::LeftButton, Qt::NoModifier);
  QCoreApplication::sendEvent(&widget, &press);
  QKeyEvent key(QEvent::KeyPress, Qt::Key_1, Qt::NoModifier, "1");
  QCoreApplication::sendEvent(&widget, &key);
  return widget.presses;
}

TEST(PointerStateTest, LockSwallowsMouseButNotKeysUntilUnlocked) {
  ClickCounter widget;
  PointerState pointer;
  pointer.savePosition();
  pointer.lock();
  pointer.lock();
  EXPECT_TRUE(pointer.locked());
  EXPECT_EQ(sendPressAndKey(widget), 0);
  EXPECT_EQ(widget.keys, 1);

  pointer.unlock();
  pointer.unlock();
  EXPECT_FALSE(pointer.locked());
  EXPECT_EQ(sendPressAndKey(widget), 1);
  EXPECT_EQ(widget.keys, 2);
}

TEST(PointerStateTest, DestructionReleasesEverything) {
  {
    PointerState pointer;
    pointer.lock();
    pointer.setVisible(false);
    pointer.setApplicationPointer(vbHourglass);
  }
  EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
}

TEST(VbColorTest, ConvertsBgrAndSystemColours) {
  EXPECT_EQ(vbColor(kDarkRed), QColor(0xC0, 0, 0));
  EXPECT_EQ(vbColor(kDarkBlue), QColor(0, 0, 0x80));
  EXPECT_EQ(vbColor(0x00123456), QColor(0x56, 0x34, 0x12));
  EXPECT_EQ(vbColor(kSystemWindowBackground), QGuiApplication::palette().color(QPalette::Base));
  EXPECT_EQ(vbColor(kSystemWindowText), QGuiApplication::palette().color(QPalette::Text));
}

// A window as the program builds them, "Continue" its default button; it records buttons pressed.
class KeyForm : public Form {
 public:
  explicit KeyForm(Host& host) : Form(host, "KeyForm") {
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLineEdit(this));
    layout->itemAt(0)->widget()->setObjectName("Text1");
    layout->addWidget(new QListWidget(this));
    for (const char* caption : {"Start", "Continue", "Exit"}) {
      auto* button = new QPushButton(caption, this);
      button->setObjectName(caption);
      layout->addWidget(button);
      connect(button, &QPushButton::clicked, this, [this, caption] { pressed += caption; });
    }
    button("Continue")->setDefault(true);
    Show();
    EXPECT_TRUE(QTest::qWaitForWindowActive(this));
  }
  QPushButton* button(const char* caption) { return findChild<QPushButton*>(caption); }
  std::string pressed;
};

TEST(WindowKeysTest, EnterPressesTheFocusedElseTheDefaultButtonEscExitNoneWithAModifier) {
  ScriptedHost host;
  const std::tuple<const char*, Qt::Key, Qt::KeyboardModifiers, const char*> cases[] = {
      // focus ("" none), key, modifiers, pressed
      {"Start", Qt::Key_Return, {}, "Start"},
      {"Exit", Qt::Key_Enter, Qt::KeypadModifier, "Exit"},
      {"QLineEdit", Qt::Key_Return, {}, "Continue"},
      {"QListWidget", Qt::Key_Return, {}, "Continue"},
      {"", Qt::Key_Return, {}, "Continue"},
      {"QLineEdit", Qt::Key_Escape, {}, "Exit"},
      {"Start", Qt::Key_Return, Qt::ControlModifier, ""},
      {"Exit", Qt::Key_Enter, Qt::ShiftModifier, ""},
      {"QLineEdit", Qt::Key_Return, Qt::AltModifier, ""},
      {"Start", Qt::Key_Escape, Qt::ControlModifier, ""},
      {"QLineEdit", Qt::Key_Escape, Qt::ShiftModifier, ""},
      {"", Qt::Key_Escape, Qt::AltModifier, ""}};
  for (const auto& [focus, key, modifiers, pressed] : cases) {
    KeyForm form(host);
    QApplication::focusWidget()->clearFocus();
    for (QWidget* control : form.findChildren<QWidget*>())
      if (*focus && (control->objectName() == focus || control->inherits(focus)))
        control->setFocus();
    for (const char* caption : {"Start", "Continue", "Exit"})  // drawn as the one Enter presses
      EXPECT_TRUE(key == Qt::Key_Escape || !*pressed ||
                  form.button(caption)->isDefault() == (std::string(caption) == pressed))
          << caption;
    QTest::keyClick(form.windowHandle(), key, modifiers);
    EXPECT_EQ(form.pressed, pressed) << focus << " key " << key << " with " << modifiers;
  }
}

// A key press as the window system hands it to the program, before the toolkit.
void pressNatively(const QWidget& window) {
  xcb_key_press_event_t key{};
  key.response_type = XCB_KEY_PRESS, key.event = xcb_window_t(window.windowHandle()->winId());
  qintptr result = 0;
  QAbstractEventDispatcher::instance()->filterNativeEvent("xcb_generic_event_t", &key, &result);
}

// Held, a window keeps its focus; what came meanwhile acts after the hold, in
// order and as made, or is dropped with a beep. A kept press is the
// toolkit's own: its release, kept or made after the hold, clicks it once.
TEST(InputHoldTest, KeptInputActsAsMadeInOrderOrIsDroppedWithABeep) {
  ScriptedHost host;
  uint64_t station = 0;
  host.setInputContext([&station] { return station; });
  QDialog modal;
  modal.setModal(true);
  using Do = std::function<void(KeyForm&)>;
  const Do tabSpace = [](KeyForm& f) {
    QTest::keyClick(f.windowHandle(), Qt::Key_Tab);  // from "Continue" to "Exit"
    QTest::keyClick(f.windowHandle(), Qt::Key_Space);
  };
  const auto mouse = [](QTest::MouseAction action, const char* name) -> Do {
    return [=](KeyForm& f) {
      const QWidget* control = f.findChild<QWidget*>(name);
      QTest::mouseEvent(action, f.windowHandle(), Qt::LeftButton, {},
                        control->mapTo(&f, control->rect().center()));
    };
  };
  const Do start = mouse(QTest::MouseClick, "Start");
  const Do pressStart = mouse(QTest::MousePress, "Start");
  const Do releaseStart = mouse(QTest::MouseRelease, "Start");
  const auto settled = [](const Do& step) -> Do {  // after the kept input was given back
    return [=](KeyForm& f) {
      for (int i = 0; i < 5; ++i) QCoreApplication::processEvents();
      step(f);
    };
  };
  const Do type42 = [](KeyForm& f) {
    for (char digit : {'4', '2'}) QTest::keyClick(f.windowHandle(), digit);
  };
  const Do opensModal = [&](KeyForm& f) {
    QObject::connect(f.button("Start"), &QPushButton::clicked, &modal, [&] { modal.show(); });
  };
  const Do coverStart = [](KeyForm& f) {  // another control now where Start was clicked
    auto* cover = new QLabel("cover", &f);
    cover->setGeometry(f.button("Start")->geometry()), cover->show();
  };
  const Do doubleClickDisablingStart = [&](KeyForm& f) {  // its second half is nothing lost
    QObject::connect(f.button("Start"), &QPushButton::clicked, f.button("Start"),
                     [&f] { f.button("Start")->setEnabled(false); });
    mouse(QTest::MouseDClick, "Start")(f);
  };
  const Do boxLosesAKey = [&](KeyForm& f) { modal.show(), pressNatively(f), modal.hide(); };
  const Do none = [](KeyForm&) {};
  const std::tuple<std::vector<Do>, Do, const char*, int> cases[] = {
      // held, after the hold, pressed then typed, beeps
      {{tabSpace, start,
        [](KeyForm& f) {
          QTest::mouseMove(f.windowHandle(), {1, 1});
        }},
       none,
       "ExitStart",
       0},
      {{[](KeyForm& f) { QTest::keyClick(f.windowHandle(), Qt::Key_Tab); }},
       [](KeyForm& f) { QTest::keyClick(f.windowHandle(), Qt::Key_Space); },
       "Exit",
       0},
      {{tabSpace, [&](KeyForm&) { ++station; }}, none, "", 1},
      {{tabSpace, [&](KeyForm&) { modal.show(), modal.hide(); }}, none, "", 1},
      {{opensModal, start, tabSpace}, none, "Start", 1},
      {{start, [](KeyForm& f) { f.button("Start")->setEnabled(false); }}, none, "", 1},
      {{start, [](KeyForm& f) { f.button("Start")->hide(); }, tabSpace}, none, "", 1},
      {{start, coverStart}, none, "", 1},
      {{pressStart}, settled(releaseStart), "Start", 0},
      {{pressStart}, settled([&](KeyForm& f) { ++station, releaseStart(f); }), "", 1},
      {{pressStart, mouse(QTest::MouseRelease, "Exit")}, none, "", 0},  // dragged off
      {{mouse(QTest::MouseClick, "Text1"), type42}, none, "42", 0},
      {{doubleClickDisablingStart}, none, "Start", 0},
      {{boxLosesAKey}, none, "", 1},
      {{[&](KeyForm&) { modal.show(), modal.hide(); }}, none, "", 0}};
  for (int row = 0; const auto& [held, after, pressed, beeps] : cases) {
    SCOPED_TRACE(++row);
    host.clearRecords();
    KeyForm form(host);
    form.button("Continue")->setFocus();
    form.holdInput(true);
    for (const Do& step : held) step(form);
    QCoreApplication::processEvents();
    EXPECT_EQ(form.focusWidget(), form.button("Continue"));
    EXPECT_EQ(form.pressed, "");
    form.holdInput(false);
    after(form);
    for (int i = 0; i < 20; ++i) QCoreApplication::processEvents();  // one piece a turn
    EXPECT_EQ(form.pressed + form.findChild<QLineEdit*>()->text().toStdString(), pressed);
    EXPECT_EQ(host.beeps(), beeps) << pressed;
    for (const QPushButton* button : form.findChildren<QPushButton*>())
      EXPECT_FALSE(button->isDown()) << "drawn pressed: " << button->text().toStdString();
    modal.hide();
  }
}

// Input a box keeps from the program's other windows rings one beep; a held
// window's is dropped with its kept input.
TEST(LostToBoxBeepTest, OneBeepForInputOtherWindowsLoseToTheBox) {
  ScriptedHost host;
  KeyForm held(host), other(host);
  QDialog box;
  box.setModal(true), box.show();
  held.holdInput(true);
  const LostToBoxBeep lostToBox(box, host);
  pressNatively(box), pressNatively(held);
  EXPECT_EQ(host.beeps(), 0);
  pressNatively(other), pressNatively(other);
  EXPECT_EQ(host.beeps(), 1);
}

TEST(FileDialogFilterTest, PatternShownAsWritten) {  // Qt's dialog matches any case
  const QStringList filters = shownNameFilters("Config Files (*.con)|*.con|All Files (*.*)|*.*");
  EXPECT_EQ(filters, (QStringList{"Config Files (*.con)", "All Files (*)"}));
}

}  // namespace
}  // namespace kvlink

namespace kvlink {
namespace {

// Beside the main window at 1366x768; at 1024x768 it gives up 25 px; else least overlap.
TEST(WindowPlacementTest, GeneralStatusStandsClearOfTheMainWindow) {
  const QSize status(518, 469);
  const QRect main(0, 0, 523, 333);
  const QSize mainMinimum(401, 249);
  const QRect wide(0, 0, 1366, 768), small(0, 0, 1024, 768);
  EXPECT_EQ(anchorSizeMakingRoom(status, wide, main, mainMinimum), std::nullopt);
  EXPECT_EQ(placeWindow(status, wide, main, std::nullopt, 0), QPoint(531, 0));
  const std::optional<QSize> room = anchorSizeMakingRoom(status, small, main, mainMinimum);
  ASSERT_EQ(room, QSize(498, 333));
  EXPECT_EQ(placeWindow(status, small, QRect(QPoint(0, 0), *room), std::nullopt, 0),
            QPoint(506, 0));
  EXPECT_EQ(anchorSizeMakingRoom(status, small, main, main.size()), std::nullopt);
  EXPECT_EQ(placeWindow(status, QRect(0, 0, 800, 780), main, std::nullopt, 0), QPoint(0, 311));
}

TEST(FormPlacementTest, FirstShowOpensBesideTheAnchorWithoutHidingIt) {
  ScriptedHost host;
  Counters counters;
  SampleForm anchor(host, counters);
  anchor.setGeometry(10, 20, 300, 200);
  Form::setPlacementAnchor(&anchor);
  SampleForm first(host, counters);
  SampleForm second(host, counters);
  first.Show();
  second.Show();
  EXPECT_GT(first.Left(), anchor.frameGeometry().right());
  EXPECT_GT(second.Top(), first.Top());

  first.moveTo(500, 400);  // a window keeps the place it was given
  first.Hide();
  first.Show();
  EXPECT_EQ(first.Left(), 500);
  Form::setPlacementAnchor(nullptr);
}

}  // namespace
}  // namespace kvlink
