// File > "&Save Set Point Info" and the save window, the main window's File
// items of the configuration files, File > "Edit CON file (&Notepad)", and
// the poll pass keeping the windows' buttons still.
#include <sys/stat.h>

#include <QApplication>
#include <QTest>
#include <QTimer>
#include <filesystem>

#include "ConFileReader.h"
#include "ConFileWriter.h"
#include "ConfigFileFixture.h"
#include "ConfigFileTexts.h"
#include "InstallShell.h"
#include "PollPass.h"
#include "PolledRegisters.h"
#include "PolledValueTables.h"
#include "SetPointTables.h"
#include "platform/ProfileText.h"

namespace kvlink::test {
namespace {

class SaveWindowTest : public ConfigFileFixture {
 protected:
  // Every value of the family as an answered pass leaves it: register n holds
  // 300 + n.
  void pollFilled(int16_t unitType) {
    std::array<uint16_t, 19> meter{};
    std::array<uint16_t, 18> setPoints{};
    for (int n = 0; n < 19; ++n) meter[n] = static_cast<uint16_t>(324 + n);
    for (int n = 0; n < 18; ++n) setPoints[n] = static_cast<uint16_t>(300 + n);
    storeWords(program->poll.values, meterTableFor(unitType), meter);
    storeWords(program->poll.values, setPointTableFor(unitType), setPoints);
    answeredPoll(unitType);
  }
  FormSaveInfo* saveWindow() { return files().FormSaveInfo.ifLoaded(); }
  void openSaveWindow() { main().mnusaveset->trigger(); }
  void clickContinue() { saveWindow()->Command3D1->click(); }
};

TEST_F(SaveWindowTest, FileItemsDisabledWhileOpenAndEnabledByEveryWayOut) {
  pollFilled(0);
  openSaveWindow();
  ASSERT_TRUE(saveWindow());
  EXPECT_TRUE(saveWindow()->isVisible());
  EXPECT_TRUE(itemsDisabled());
  QTest::keyClick(saveWindow(), Qt::Key_Escape);  // presses "Exit"
  EXPECT_FALSE(saveWindow());
  EXPECT_TRUE(itemsEnabled());

  openSaveWindow();
  FormSaveInfo* first = saveWindow();
  saveWindow()->close();  // close box
  EXPECT_FALSE(saveWindow());
  EXPECT_TRUE(itemsEnabled());
  flushDeletes();

  // Cancel leaves the window open with both items enabled; the command
  // again disables them and brings the same window forward.
  openSaveWindow();
  first = saveWindow();
  QTest::keyClick(first->windowHandle(), Qt::Key_Return);  // presses "Continue"
  EXPECT_EQ(host.dialogRequests().size(), 1u);
  ASSERT_EQ(saveWindow(), first);
  EXPECT_TRUE(saveWindow()->isVisible());
  EXPECT_TRUE(itemsEnabled());
  openSaveWindow();
  EXPECT_EQ(saveWindow(), first);
  EXPECT_TRUE(itemsDisabled());
}

TEST_F(SaveWindowTest, SaveWritesThePolledValuesOfTheUnitFamily) {
  const auto* offRow = &form5Design().fields->at(0);
  ASSERT_EQ(offRow->reg, 0);
  for (int16_t type : {0, 4}) {
    pollFilled(type);
    // A deleted thermal-limit trip is saved as its off value.
    if (type == 0) program->poll.values.PolledI2tTrip = *offRow->offValue;
    const std::string file = path("unit.con");
    openSaveWindow();
    answerDialog(file);
    host.clearRecords();
    clickContinue();

    ASSERT_EQ(host.dialogRequests().size(), 1u);
    const FileDialogRequest& request = host.dialogRequests()[0];
    EXPECT_TRUE(request.save);
    EXPECT_EQ(request.flags, cdlOFNOverwritePrompt);
    EXPECT_EQ(request.filter, QStringLiteral("Config File (*.con)|*.con"));
    EXPECT_TRUE(request.title.isEmpty());

    const PolledValues& values = program->poll.values;
    EXPECT_EQ(contents(file),
              *conFileText(type, [&](int reg) { return polledRegister(values, type, reg); }));
    EXPECT_EQ(profileLookup(contents(file), "Meter", "Leakage"), type == 0 ? "330" : "328");
    if (type == 0) {
      EXPECT_EQ(profileLookup(contents(file), "SetPoints", "I2tTrip"), "46");
    }
    // Saved over the motor file: nothing of it is left.
    if (type == 4) {
      EXPECT_EQ(profileLookup(contents(file), "SetPoints", "Service Factor"), "");
    }

    EXPECT_EQ(lastBox().text, QStringLiteral("File Saved."));
    EXPECT_EQ(lastBox().style, vbInformation);
    EXPECT_EQ(lastBox().title, QStringLiteral("Info"));
    EXPECT_FALSE(saveWindow());
    EXPECT_TRUE(itemsEnabled());
    flushDeletes();
  }
}

TEST_F(SaveWindowTest, OffLineUnitIsRefusedBeforeTheDialog) {
  pollFilled(0);
  for (int way = 0; way < 3; ++way) {
    Form1::setMenuEnabled(main().mnuDisplay, way != 0);
    program->poll.PollStatus = way == 1 ? 1 : way == 2 ? 3 : 0;
    host.clearRecords();
    openSaveWindow();
    clickContinue();
    EXPECT_TRUE(host.dialogRequests().empty());
    ASSERT_EQ(host.boxes().size(), 1u);
    EXPECT_EQ(lastBox().text, QStringLiteral("Unit off-line...Check connections"));
    EXPECT_EQ(lastBox().title, QStringLiteral("Off-line error"));
    EXPECT_FALSE(saveWindow());
    EXPECT_TRUE(itemsEnabled());
  }
}

// The poll runs under the save dialog: what it leaves is tested again, and
// an earlier file of the chosen name is left as it was.
TEST_F(SaveWindowTest, UnitOffLineOrStationChangedUnderTheDialogWritesNothing) {
  const std::string file = put("old.con", "old");
  const std::function<void()> changes[] = {
      [this] { program->poll.PollStatus = 1; },
      [this] { Form1::setMenuEnabled(main().mnuDisplay, false); },
      // Another station selected: until the next pass reads it, the poll
      // still holds the set points of the previous one.
      [this] { program->selectStation(6); },
  };
  for (const auto& change : changes) {
    pollFilled(1);
    Form1::setMenuEnabled(main().mnuDisplay, true);
    host.clearRecords();
    openSaveWindow();
    host.underDialog = change;
    answerDialog(file);
    clickContinue();
    EXPECT_EQ(contents(file), "old");
    ASSERT_EQ(host.boxes().size(), 1u);
    EXPECT_NE(lastBox().text, QStringLiteral("File Saved."));
    EXPECT_EQ(lastBox().title, QStringLiteral("Off-line error"));
    EXPECT_FALSE(saveWindow());
    EXPECT_TRUE(itemsEnabled());
    program->selectStation(5);
  }
}

TEST_F(SaveWindowTest, FileThatCannotBeWrittenIsReportedNotSaved) {
  pollFilled(2);
  openSaveWindow();
  answerDialog(path("no-such-directory/unit.con"));
  clickContinue();
  ASSERT_EQ(host.boxes().size(), 1u);
  EXPECT_EQ(lastBox().text, QString::fromUtf8(kFileNotWrittenText));
  EXPECT_EQ(lastBox().style, vbCritical);
  ASSERT_TRUE(saveWindow());
  EXPECT_TRUE(saveWindow()->isVisible());
  EXPECT_TRUE(itemsEnabled());
  const std::string fifo = path("pipe.con");
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0666), 0);
  answerDialog(fifo);
  clickContinue();
  EXPECT_EQ(lastBox().text.toStdString(), "Cannot write " + fifo +
                                              " (not a regular file).  Set point information "
                                              "has not been saved.");
  EXPECT_TRUE(std::filesystem::is_fifo(fifo));
}

TEST_F(SaveWindowTest, QuickConfigureAsksThePasswordAndEnablesTheItemsOnRefusal) {
  ASSERT_TRUE(WriteIni(kMiscSection, passwordKey(1), encodePassword("relay"), kSettingsFile));
  host.answerPassword(std::nullopt);
  main().mnuopen->trigger();
  EXPECT_EQ(host.passwordPrompts().size(), 1u);
  EXPECT_FALSE(files().ConfigWarning.ifLoaded());
  EXPECT_TRUE(itemsEnabled());

  host.answerPassword(QStringLiteral("relay"));
  main().mnuopen->trigger();
  ASSERT_TRUE(files().ConfigWarning.ifLoaded());
  EXPECT_TRUE(files().ConfigWarning.ifLoaded()->isVisible());
  EXPECT_TRUE(itemsDisabled());
}

TEST_F(SaveWindowTest, EditConFileOpensTheChosenFileInTheEditor) {
  QAction* item = files().mnuNotepad;
  ASSERT_TRUE(item);
  EXPECT_EQ(item->text(), QStringLiteral("Edit CON file (&Notepad)"));
  const auto fileItems = main().mnuFile->actions();
  EXPECT_EQ(fileItems.indexOf(item), fileItems.indexOf(main().mnusaveset) + 1);

  item->trigger();  // cancelled
  EXPECT_TRUE(host.launched().empty());
  ASSERT_EQ(host.dialogRequests().size(), 1u);
  EXPECT_FALSE(host.dialogRequests()[0].save);
  EXPECT_EQ(host.dialogRequests()[0].flags, cdlOFNFileMustExist);

  const std::string file = put("a unit.con", "x");
  answerDialog(file);
  item->trigger();
  ASSERT_EQ(host.launched().size(), 1u);
  EXPECT_EQ(host.launched()[0], QStringLiteral("editor:") + QString::fromStdString(file));
  EXPECT_TRUE(host.boxes().empty());

  host.editorStarts = false;  // no editor at all: a box names the file
  answerDialog(file);
  item->trigger();
  EXPECT_TRUE(lastBox().text.contains(QString::fromStdString(file)))
      << lastBox().text.toStdString();
  EXPECT_EQ(lastBox().style, vbCritical);
}

// A real pass on the line: while it waits in its event pumps both windows
// are disabled and the wizard shows the hourglass; afterwards all is back.
TEST_F(SaveWindowTest, PollPassKeepsTheWindowsStill) {
  line->station(5).unit(0, false);
  openSaveWindow();
  FormConfig& wizard = files().FormConfig();
  wizard.Show();
  bool seen = false;
  host.atNextDoEvents([&] {
    seen = true;
    EXPECT_FALSE(saveWindow()->Enabled());
    EXPECT_FALSE(wizard.Enabled());
    EXPECT_EQ(wizard.mousePointerValue(), vbHourglass);
  });
  PollCurrentStation(*program);
  EXPECT_TRUE(seen);
  EXPECT_EQ(program->poll.PollStatus, 0);
  EXPECT_TRUE(saveWindow()->Enabled());
  EXPECT_TRUE(wizard.Enabled());
  EXPECT_EQ(wizard.mousePointerValue(), vbDefault);
}

// A timed pass holds each window unchanged, focus on "Exit"; Tab and Space then act after it.
TEST_F(SaveWindowTest, KeysTypedDuringATimedPassActAfterItWithTheFocusKept) {
  line->station(5).unit(0, false);
  installShell(*program);  // the main window's timers drive the poll
  openSaveWindow();
  FormConfig& wizard = files().FormConfig();
  const std::tuple<Form*, QPushButton*, const char*> cases[] = {
      {saveWindow(), saveWindow()->Command3D2, "Continue"},
      {&wizard, wizard.Command3D4, "Next >>"}};
  for (const auto& [window, exit, pressed] : cases) {
    host.clearRecords();
    window->Show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window));
    exit->setFocus();
    const QImage before = window->grab().toImage();
    bool inPass = false;
    host.atNextDoEvents([&, window = window, exit = exit] {
      inPass = !window->Enabled();
      EXPECT_TRUE(window->grab().toImage() == before) << "the window changed on screen";
      EXPECT_EQ(QApplication::focusWidget(), exit);
      for (const Qt::Key key : {Qt::Key_Tab, Qt::Key_Space})
        QTest::keyClick(window->windowHandle(), key);
      QCoreApplication::processEvents();
      EXPECT_TRUE(host.dialogRequests().empty());
    });
    EXPECT_TRUE(QTest::qWaitFor([&] { return !host.dialogRequests().empty(); }, 20000));
    EXPECT_TRUE(inPass);
    const auto* focus = qobject_cast<QPushButton*>(QApplication::focusWidget());
    EXPECT_EQ(focus ? focus->text() : QString(), QString::fromUtf8(pressed));
  }
}

}  // namespace
}  // namespace kvlink::test
