// The Auto Retrieve window: its design, Enable and Disable with what they
// hand to the poll and write to gridmon.ini, the directory chooser, and the
// start-up restore of the settings into the window.
#include <QDir>

#include "AutoRetrieveFixture.h"
#include "AutoRetrieveRestore.h"

namespace kvlink::test {
namespace {

class AutoSaveTest : public AutoRetrieveFixture {
 protected:
  void expectLocked(bool locked) {
    AutoSave& w = window();
    EXPECT_EQ(w.SSOption1->isChecked(), locked);
    EXPECT_EQ(w.SSOption2->isChecked(), !locked);
    for (QWidget* control :
         std::initializer_list<QWidget*>{w.SSFrame2, w.SSFrame3, w.SSFrame5, w.Label6, w.Label7,
                                         w.Label8, w.Label9, w.SSCommand2, w.UpDown1, w.UpDown2,
                                         w.UpDown3, w.UpDown4, w.UpDown5, w.UpDown6, w.SSCheck1})
      EXPECT_EQ(control->isEnabled(), !locked) << control->objectName().toStdString();
    EXPECT_TRUE(w.SSFrame4->isEnabled());
    EXPECT_TRUE(w.SSOption1->isEnabled());
    EXPECT_TRUE(w.SSOption2->isEnabled());
  }
  std::vector<QString> statusLines() {
    std::vector<QString> found;
    for (int position = 0; position < 5; ++position)
      found.push_back(window().statusLine(position)->text());
    return found;
  }
  const std::vector<QString> kDashes{"-", "-", "-", "-", "-"};
};

TEST_F(AutoSaveTest, DesignValues) {
  AutoSave& w = window();
  EXPECT_EQ(w.windowTitle(), "Auto Retrieve");
  EXPECT_FALSE(w.isVisible());
  EXPECT_EQ(w.SSOption1->text(), "Enable Auto Retrieve");
  EXPECT_EQ(w.SSOption2->text(), "Disable Auto Retrieve");
  EXPECT_EQ(w.SSFrame2->title(), "Choose station to log");
  EXPECT_EQ(w.SSFrame3->title(), "File Destination");
  EXPECT_EQ(w.SSFrame4->title(), "Enable / Disable");
  EXPECT_EQ(w.SSFrame5->title(), "Save Options");
  EXPECT_EQ(w.SSFrame6->title(), "Status");
  EXPECT_EQ(w.Label8->text(), "Save information to disk after Record Count reaches:");
  EXPECT_EQ(w.Label9->text(), "50");
  EXPECT_EQ(w.Label6->text(), "records");
  EXPECT_EQ(w.Label7->text(), "/tmp");
  EXPECT_EQ(w.SSCommand2->text(), "Select Directory");
  EXPECT_EQ(w.SSCommand1->text(), "Close");
  for (int k = 1; k <= 5; ++k) {
    EXPECT_FALSE(w.slotCheck(k)->isChecked());
    EXPECT_EQ(w.slotLabel(k)->text(), QString::number(k));
    EXPECT_EQ(w.slotUpDown(k)->minimum(), 1);
    EXPECT_EQ(w.slotUpDown(k)->maximum(), 63);
  }
  EXPECT_EQ(statusLines(), kDashes);
  EXPECT_EQ(w.Timer1->interval(), 5000);
  EXPECT_FALSE(w.Timer1->isActive());
  expectLocked(false);

  main().mnuautoretrieve->trigger();
  EXPECT_TRUE(window().isVisible());
  EXPECT_TRUE(host.passwordPrompts().empty());
}

TEST_F(AutoSaveTest, ArrowsKeepTheirRangesAndSteps) {
  AutoSave& w = window();
  for (int i = 0; i < 30; ++i) w.UpDown6->stepUp();
  EXPECT_EQ(w.Label9->text(), "250");
  for (int i = 0; i < 30; ++i) w.UpDown6->stepDown();
  EXPECT_EQ(w.Label9->text(), "10");
  w.Label9->setText("55");  // as start-up shows a hand-edited limit
  w.UpDown6->stepUp();
  EXPECT_EQ(w.Label9->text(), "60");
  w.Label9->setText("55");
  w.UpDown6->stepDown();
  EXPECT_EQ(w.Label9->text(), "50");
  w.UpDown1->stepDown();
  EXPECT_EQ(w.Label1->text(), "1");
  w.UpDown5->setValue(63);
  w.UpDown5->stepUp();
  EXPECT_EQ(w.Label5->text(), "63");
}

TEST_F(AutoSaveTest, EnableHandsTheTickedSlotsToThePollAndSavesThem) {
  setSetting("autostationd", "33");
  tickSlot(2, 12);
  tickSlot(5, 40);
  window().UpDown6->stepUp();
  window().Label7->setText(filesDir.path());
  m().AutoStationIndex = 3;
  window().SSOption1->click();

  EXPECT_EQ(m().AutoStationCount, 2);
  EXPECT_EQ(m().AutoStations[0], 12);
  EXPECT_EQ(m().AutoStations[1], 40);
  EXPECT_EQ(m().AutoStationIndex, 0);
  EXPECT_EQ(m().AutoRecordLimit, 60);
  expectLocked(true);
  EXPECT_TRUE(window().Timer1->isActive());
  EXPECT_TRUE(host.boxes().empty());
  EXPECT_EQ(setting("autoretrieve"), "1");
  EXPECT_EQ(setting("autorclimit"), "60");
  EXPECT_EQ(setting("autostationnum"), "2");
  EXPECT_EQ(setting("autodir"), filesDir.path().toStdString());
  EXPECT_EQ(setting("autostationa"), "12");
  EXPECT_EQ(setting("autostationb"), "40");
  for (const char* key : {"autostationc", "autostationd", "autostatione"})
    EXPECT_EQ(setting(key), "0") << key;

  // The next start brings the list back into slots 1 and 2.
  program->module<AutoRetrieveModule>().AutoSave.Unload();
  m().AutoStationCount = 0;
  RestoreAutoRetrieveSettings(*program);
  EXPECT_EQ(m().AutoStationCount, 2);
  EXPECT_TRUE(window().SSCheck1->isChecked());
  EXPECT_TRUE(window().SSCheck2->isChecked());
  EXPECT_FALSE(window().SSCheck5->isChecked());
  EXPECT_EQ(window().Label1->text(), "12");
  EXPECT_EQ(window().Label2->text(), "40");
  expectLocked(true);
}

TEST_F(AutoSaveTest, DuplicateStationsAllEnter) {
  for (int k = 1; k <= 5; ++k) tickSlot(k, 7);
  window().SSOption1->click();
  EXPECT_EQ(m().AutoStationCount, 5);
  EXPECT_EQ(setting("autostatione"), "7");
}

TEST_F(AutoSaveTest, EnableWithNothingTickedRunsDisable) {
  setSetting("autorclimit", "120");
  setSetting("autostationa", "9");
  window().Label12->setText("Station#9  Count= 3");
  window().SSOption1->click();

  ASSERT_EQ(host.boxes().size(), 1u);
  EXPECT_EQ(host.boxes()[0].text,
            "There are no stations selected for Auto Retrieve. Auto Retrieve is disabled.");
  EXPECT_EQ(host.boxes()[0].style, vbOKOnly);
  EXPECT_EQ(host.boxes()[0].title, "KV-LINK27");
  EXPECT_EQ(m().AutoStationCount, 0);
  expectLocked(false);
  EXPECT_EQ(statusLines(), kDashes);
  EXPECT_FALSE(window().Timer1->isActive());
  EXPECT_EQ(setting("autoretrieve"), "0");
  EXPECT_EQ(setting("autostationnum"), "0");
  EXPECT_EQ(setting("autorclimit"), "120");
  EXPECT_EQ(setting("autostationa"), "9");
}

TEST_F(AutoSaveTest, WindowClosedUnderTheNoStationsBoxStillEndsOff) {
  host.onEveryBox([this](const ScriptedHost::ShownBox&) {
    program->module<AutoRetrieveModule>().AutoSave.Unload();
  });
  window().SSOption1->click();
  EXPECT_EQ(m().AutoStationCount, 0);
  EXPECT_EQ(setting("autoretrieve"), "0");
  EXPECT_FALSE(m().AutoSave.loaded());
}

TEST_F(AutoSaveTest, DisableStopsThePollStepsAndKeepsTheRest) {
  tickSlot(1, 5);
  tickSlot(3, 9);
  window().SSOption1->click();
  m().AutoStationIndex = 1;
  window().Label10->setText("Station#5  Count= 4");
  window().SSOption2->click();

  EXPECT_EQ(m().AutoStationCount, 0);
  EXPECT_EQ(m().AutoStationIndex, 1);
  EXPECT_EQ(m().AutoStations[1], 9);
  EXPECT_EQ(m().AutoRecordLimit, 50);
  EXPECT_TRUE(window().Timer1->isActive()) << "left as it is";
  expectLocked(false);
  EXPECT_EQ(statusLines(), kDashes);
  EXPECT_EQ(setting("autoretrieve"), "0");
  EXPECT_EQ(setting("autostationnum"), "0");
  EXPECT_EQ(setting("autostationa"), "5");
  EXPECT_EQ(setting("autorclimit"), "50");
}

TEST_F(AutoSaveTest, SuppressedOptionEventsDoNothing) {
  tickSlot(1, 5);
  m().SuppressOptionEvents = 1;
  window().SSOption1->click();
  EXPECT_EQ(m().AutoStationCount, 0);
  EXPECT_FALSE(window().Timer1->isActive());
  EXPECT_TRUE(window().SSFrame2->isEnabled());
  EXPECT_EQ(setting("autoretrieve"), "");
}

TEST_F(AutoSaveTest, SettingsThatCannotBeSavedAreReportedOnce) {
  // The settings directory lies under a plain file: nothing can be written.
  QFile plain(filesDir.filePath("plain"));
  ASSERT_TRUE(plain.open(QIODevice::WriteOnly));
  plain.close();
  qputenv("KVLINK_WINDIR", filesDir.filePath("plain/settings").toUtf8());
  tickSlot(1, 5);
  window().SSOption1->click();
  EXPECT_EQ(m().AutoStationCount, 1) << "auto retrieve runs for this session";
  ASSERT_EQ(host.boxes().size(), 1u);
  EXPECT_TRUE(host.boxes()[0].text.startsWith("The auto-retrieve settings could not be saved"));
  EXPECT_EQ(host.boxes()[0].style, vbExclamation);
}

TEST_F(AutoSaveTest, TimerTickOnlyMarksARetrieveDue) {
  window().Timer1->start();
  window().Timer1_Timer();
  EXPECT_FALSE(window().Timer1->isActive());
  EXPECT_TRUE(m().AutoRetrieveDue);
}

TEST_F(AutoSaveTest, CloseHidesTitleBarCloseStartsAfreshAndAutoRetrieveGoesOn) {
  tickSlot(2, 12);
  window().Label7->setText(filesDir.path());
  window().SSOption1->click();
  window().Show();
  window().SSCommand1->click();
  EXPECT_FALSE(window().isVisible());
  EXPECT_TRUE(window().SSCheck2->isChecked());

  window().Show();
  window().close();  // the title bar
  flushDeletes();
  EXPECT_FALSE(m().AutoSave.loaded());
  EXPECT_EQ(m().AutoStationCount, 1);
  expectLocked(false);
  EXPECT_FALSE(window().SSCheck2->isChecked());
  EXPECT_EQ(window().Label7->text(), filesDir.path()) << "the records still go there";

  window().SSOption1->click();  // nothing ticked in the new window
  EXPECT_EQ(m().AutoStationCount, 0);
}

TEST_F(AutoSaveTest, DirectoryChooserOkCancelAndExplorer) {
  AutoSaveDir& chooser = m().AutoSaveDir();
  EXPECT_EQ(chooser.windowTitle(), "Select  Destination Directory");
  EXPECT_EQ(chooser.path(), QDir::currentPath());

  host.onNextModal([this](Form&) {
    m().AutoSaveDir().setPath(filesDir.path());
    m().AutoSaveDir().SSCommand2->click();
  });
  window().SSCommand2->click();
  EXPECT_EQ(window().Label7->text(), "/tmp");

  host.onNextModal([this](Form& shown) {
    EXPECT_EQ(&shown, &m().AutoSaveDir());
    m().AutoSaveDir().SSCommand3->click();
    m().AutoSaveDir().SSCommand1->click();
  });
  window().SSCommand2->click();
  EXPECT_EQ(window().Label7->text(), QDir::cleanPath(filesDir.path()));
  ASSERT_EQ(host.launched().size(), 1u);
  EXPECT_TRUE(host.launched()[0].contains(filesDir.path()));
  EXPECT_EQ(m().AutoSaveDir().path(), QDir::cleanPath(filesDir.path())) << "kept while loaded";
  EXPECT_EQ(setting("autodir"), "") << "written at the next Enable";
}

// ---- Start-up restore into the window ----

class AutoSaveRestoreTest : public AutoSaveTest {
 protected:
  void writeGoodSettings() {
    setSetting("autorclimit", "55");
    setSetting("autodir", filesDir.path().toStdString());
    setSetting("autostationnum", "2");
    setSetting("autostationa", "8");
    setSetting("autostationb", "21");
    setSetting("autoretrieve", "1");
  }
  void expectOff() {
    EXPECT_EQ(m().AutoStationCount, 0);
    expectLocked(false);
    EXPECT_EQ(statusLines(), kDashes);
    EXPECT_EQ(m().SuppressOptionEvents, 0);
  }
};

TEST_F(AutoSaveRestoreTest, AcceptedSettingsTurnAutoRetrieveOn) {
  writeGoodSettings();
  RestoreAutoRetrieveSettings(*program);
  EXPECT_FALSE(window().isVisible());
  EXPECT_EQ(m().AutoStationCount, 2);
  EXPECT_EQ(m().AutoStations[0], 8);
  EXPECT_EQ(m().AutoStations[1], 21);
  EXPECT_EQ(m().AutoRecordLimit, 55);
  EXPECT_EQ(window().Label9->text(), "55");
  EXPECT_EQ(window().Label7->text(), filesDir.path());
  EXPECT_TRUE(QFile::exists(filesDir.filePath("test.log")));
  EXPECT_EQ(window().Label1->text(), "8");
  EXPECT_TRUE(window().SSCheck1->isChecked());
  EXPECT_TRUE(window().SSCheck2->isChecked());
  expectLocked(true);
  EXPECT_TRUE(window().Timer1->isActive());
  EXPECT_EQ(m().SuppressOptionEvents, 0);
  EXPECT_TRUE(host.boxes().empty());
  EXPECT_EQ(setting("autoretrieve"), "1") << "the option handlers did not run";
}

TEST_F(AutoSaveRestoreTest, EmptyDirectoryBecomesTheTemporaryOneAndIsWrittenBack) {
  writeGoodSettings();
  setSetting("autodir", "");
  RestoreAutoRetrieveSettings(*program);
  const QString temp = tempDir.path() + "/";
  EXPECT_EQ(window().Label7->text(), temp);
  EXPECT_EQ(setting("autodir"), temp.toStdString());
  EXPECT_EQ(m().AutoStationCount, 2);
}

TEST_F(AutoSaveRestoreTest, UnwritableDirectoryIsToldAndTheTemporaryOneUsed) {
  writeGoodSettings();
  setSetting("autodir", "/nonexistent/kvlink");
  RestoreAutoRetrieveSettings(*program);
  EXPECT_EQ(m().AutoStationCount, 2);
  EXPECT_EQ(window().Label7->text(), tempDir.path() + "/");
  EXPECT_EQ(setting("autodir"), "/nonexistent/kvlink") << "the setting kept";
  EXPECT_EQ(setting("autoretrieve"), "1");
  ASSERT_EQ(host.boxes().size(), 1u);
  EXPECT_TRUE(host.boxes()[0].text.contains("/nonexistent/kvlink (Path not found)"));
  EXPECT_TRUE(host.boxes()[0].text.contains(tempDir.path()));
}

TEST_F(AutoSaveRestoreTest, EachRefusalLeavesItOffAndTheFileAsItWas) {
  struct Case {
    const char* key;
    const char* value;
  };
  // One refusal of each key (every rule is covered without the window).
  const Case cases[] = {{"autorclimit", "lots"},
                        {"autostationnum", "6"},
                        {"autostationb", "64"},
                        {"autoretrieve", "0"}};
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.key) + "=" + c.value);
    writeGoodSettings();
    setSetting(c.key, c.value);
    const QByteArray before = settingsFileText();
    m().AutoSave.Unload();
    m().AutoStationCount = 3;  // whatever an earlier run left
    RestoreAutoRetrieveSettings(*program);
    expectOff();
    EXPECT_FALSE(window().Timer1->isActive());
    EXPECT_EQ(settingsFileText(), before);
    EXPECT_TRUE(host.boxes().empty());
  }
}

TEST_F(AutoSaveRestoreTest, OffStateRestoredIntoALockedWindowUnlocksIt) {
  tickSlot(1, 5);
  window().Label7->setText(filesDir.path());
  window().SSOption1->click();
  window().Label11->setText("Station#5  Count= 2");
  setSetting("autostationnum", "9");
  RestoreAutoRetrieveSettings(*program);
  expectOff();
  EXPECT_EQ(setting("autoretrieve"), "1") << "no key written by the off state";
}

}  // namespace
}  // namespace kvlink::test
