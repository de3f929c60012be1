// File > "Quick &Configure": the warning, the wizard's steps and the
// download on a line of units in memory: what is written, in which order,
// how it is checked, and how every way out leaves the poll timer, the
// wizard and the unit.
#include <QTest>

#include "ConFileWriter.h"
#include "ConfigFileFixture.h"
#include "ConfigFileTexts.h"
#include "EditorsModule.h"
#include "InstallEditors.h"
#include "InstallShell.h"
#include "InstallStatus.h"
#include "PollSwitch.h"
#include "QuickConfigDownload.h"
#include "Startup.h"
#include "StatusModule.h"

namespace kvlink::test {
namespace {

// Register n of the file holds 100 + n.
std::string numberedFile(int type) {
  return *conFileText(type, [](int reg) { return std::optional<uint16_t>(100 + reg); });
}

std::string replaced(std::string text, const std::string& from, const std::string& to) {
  const auto at = text.find(from);
  EXPECT_NE(at, std::string::npos) << from;
  if (at != std::string::npos) text.replace(at, from.size(), to);
  return text;
}

const std::vector<int> kMotorOrder = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 13, 14, 15, 16, 17, 12};
const std::vector<int> kFeederOrder = {0, 1, 2, 3, 4, 5, 6, 7, 10, 11, 14, 15, 16, 17, 12};

class QuickConfigTest : public ConfigFileFixture {
 protected:
  FormConfig* wizard() { return files().FormConfig.ifLoaded(); }

  // Quick Configure, "Yes", "Next >>" with the file: the wizard in step 2.
  FormConfig& wizardWithFile(const std::string& file) {
    main().mnuopen->trigger();
    files().ConfigWarning().Command3D1->click();
    answerDialog(file);
    wizard()->Command3D1->click();
    EXPECT_TRUE(wizard()->Command3D3->isEnabled()) << "file refused at Next";
    host.clearRecords();
    line->calls.clear();
    return *wizard();
  }
  void send() { wizard()->Command3D3->click(); }
  // The unit's type and the file; returns the wizard ready to send.
  FormConfig& ready(int type, const std::string& text, int station = 5) {
    line->station(station).unit(type, false);
    answeredPoll(static_cast<int16_t>(type));
    return wizardWithFile(put("unit.con", text));
  }
  QString label7() { return wizard()->Label7->text(); }
  QString label6() { return wizard()->Label6->text(); }
  // After any ending but the off-line refusal: poll on, wizard usable.
  void expectRestored() {
    EXPECT_TRUE(polling());
    EXPECT_TRUE(wizard()->isEnabled());
    EXPECT_FALSE(files().downloadRunning);
  }
  void expectBox(const char* text, int style, const char* title) {
    EXPECT_EQ(lastBox().text, QString::fromUtf8(text));
    EXPECT_EQ(lastBox().style, style);
    EXPECT_EQ(lastBox().title, QString::fromUtf8(title));
  }
};

TEST_F(QuickConfigTest, WarningNoEscOrCloseBoxEnablesTheItemsYesOpensStepOne) {
  for (int way = 0; way < 3; ++way) {
    main().mnuopen->trigger();
    ASSERT_TRUE(files().ConfigWarning.ifLoaded());
    EXPECT_TRUE(itemsDisabled());
    if (way == 0)
      files().ConfigWarning().Command3D2->click();
    else if (way == 1)
      QTest::keyClick(files().ConfigWarning().Command3D1, Qt::Key_Escape);  // focus on "Yes"
    else
      files().ConfigWarning().close();
    EXPECT_FALSE(files().ConfigWarning.ifLoaded());
    EXPECT_TRUE(itemsEnabled());
    flushDeletes();
  }
  main().mnuopen->trigger();
  EXPECT_EQ(files().ConfigWarning().focusWidget(), files().ConfigWarning().Command3D2);  // "No"
  files().ConfigWarning().Command3D1->setFocus();  // Enter on the focused "Yes"
  QTest::keyClick(files().ConfigWarning().Command3D1, Qt::Key_Return);
  EXPECT_FALSE(files().ConfigWarning.ifLoaded());
  EXPECT_TRUE(itemsDisabled());
  ASSERT_TRUE(wizard());
  EXPECT_TRUE(wizard()->isVisible());
  EXPECT_FALSE(wizard()->Label1->isHidden());
  EXPECT_TRUE(wizard()->Label2->isHidden());
  EXPECT_TRUE(wizard()->Command3D1->isEnabled());
  EXPECT_FALSE(wizard()->Command3D2->isEnabled());
  EXPECT_FALSE(wizard()->Command3D3->isEnabled());
  EXPECT_TRUE(wizard()->Label6->text().isEmpty());

  QTest::keyClick(wizard()->Command3D1, Qt::Key_Escape);  // "Exit"
  EXPECT_FALSE(wizard());
  EXPECT_TRUE(itemsEnabled());
  flushDeletes();
  main().mnuopen->trigger();
  files().ConfigWarning().Command3D1->click();
  wizard()->close();  // close box
  EXPECT_FALSE(wizard());
  EXPECT_TRUE(itemsEnabled());
}

TEST_F(QuickConfigTest, NextChecksTheLinkTheDialogAndTheVersion) {
  main().mnuopen->trigger();
  files().ConfigWarning().Command3D1->click();

  Form1::setMenuEnabled(main().mnuDisplay, false);
  wizard()->Command3D1->click();
  expectBox(kOffLineText, vbCritical, kOffLineErrorTitle);
  EXPECT_FALSE(wizard()->Label3->isHidden());
  EXPECT_TRUE(host.dialogRequests().empty());

  Form1::setMenuEnabled(main().mnuDisplay, true);
  wizard()->Command3D1->click();  // cancelled
  EXPECT_TRUE(wizard()->Label3->isHidden());
  ASSERT_EQ(host.dialogRequests().size(), 1u);
  EXPECT_FALSE(host.dialogRequests()[0].save);
  EXPECT_EQ(host.dialogRequests()[0].flags, cdlOFNFileMustExist);
  EXPECT_EQ(host.dialogRequests()[0].filter, QStringLiteral("Config File (*.con)|*.con"));
  EXPECT_EQ(host.shownFilters()[0], QStringList{"Config File (*.con)"});
  EXPECT_TRUE(wizard()->Command3D1->isEnabled());

  for (const char* version : {"2.00", "", "1.0"}) {
    host.clearRecords();
    answerDialog(put("old.con",
                     replaced(numberedFile(0), "Version=2.0", std::string("Version=") + version)));
    wizard()->Command3D1->click();
    expectBox(kBadVersionText, vbCritical, kConFileErrorTitle);
    EXPECT_TRUE(wizard()->Command3D1->isEnabled());
    EXPECT_FALSE(wizard()->Command3D3->isEnabled());
  }
  host.clearRecords();
  answerDialog(path("missing.con"));
  wizard()->Command3D1->click();
  expectBox(kBadVersionText, vbCritical, kConFileErrorTitle);
  EXPECT_EQ(label7(), QStringLiteral("Cannot read CON file"));

  // A file of another unit type is accepted here and refused by Send.
  answerDialog(put("feeder.con", numberedFile(4)));
  wizard()->Command3D1->click();
  EXPECT_FALSE(wizard()->Label2->isHidden());
  EXPECT_TRUE(wizard()->Label1->isHidden());
  EXPECT_FALSE(wizard()->Command3D1->isEnabled());
  EXPECT_TRUE(wizard()->Command3D2->isEnabled());
  EXPECT_TRUE(wizard()->Command3D3->isEnabled());
  EXPECT_EQ(wizard()->CMDialog1.FileName.toStdString(), path("feeder.con"));

  wizard()->Label7->setText(QStringLiteral("Written successfully"));
  wizard()->Command3D2->click();  // Back
  EXPECT_FALSE(wizard()->Label1->isHidden());
  EXPECT_FALSE(wizard()->Command3D3->isEnabled());
  EXPECT_EQ(label7(), QStringLiteral("Written successfully"));
}

TEST_F(QuickConfigTest, MotorDownloadWritesReadsBackAndComparesEveryRegisterInOrder) {
  ready(0, numberedFile(0));
  send();
  const std::vector<std::string>& calls = line->calls;
  ASSERT_EQ(calls.size(), 1 + 2 * kMotorOrder.size());
  // The unit is asked its type first, then each row is written and read back.
  EXPECT_EQ(calls[0], "read 2 5 39 1");
  for (size_t i = 0; i < kMotorOrder.size(); ++i) {
    const int reg = kMotorOrder[i];
    EXPECT_EQ(calls[1 + 2 * i], writeCall(true, 2, 5, reg, 100 + reg));
    EXPECT_EQ(calls[2 + 2 * i], readCall(true, 2, 5, reg, 1));
    EXPECT_EQ(line->station(5).regs[reg], 100 + reg);
  }
  ASSERT_EQ(host.boxes().size(), 1u);
  expectBox(kDownloadDoneText, vbInformation, kInfoTitle);
  EXPECT_TRUE(label6().isEmpty());
  EXPECT_EQ(label7(), QStringLiteral("Download Complete."));
  // One pump after each row and a Pause of 5000 more.
  EXPECT_EQ(host.doEventsCount(), int(kMotorOrder.size()) * (1 + kPauseEventPumps));
  expectRestored();
  EXPECT_TRUE(wizard()->Command3D3->isEnabled());
  EXPECT_TRUE(itemsDisabled());  // the download leaves the File items alone

  // A second Send writes every row again.
  line->calls.clear();
  send();
  EXPECT_EQ(line->writtenRegisters(), kMotorOrder);
}

TEST_F(QuickConfigTest, FeederDownloadOverDf1UsesByteAddressesAndNoPause) {
  useDf1();
  ready(4, numberedFile(4));
  line->station(5).regs[8] = 7;
  send();
  const std::vector<std::string>& calls = line->calls;
  ASSERT_EQ(calls.size(), 1 + 2 * kFeederOrder.size());
  EXPECT_EQ(calls[0], "abread 2 5 334 2");
  for (size_t i = 0; i < kFeederOrder.size(); ++i) {
    const int reg = kFeederOrder[i];
    EXPECT_EQ(calls[1 + 2 * i], writeCall(false, 2, 5, 256 + 2 * reg, 100 + reg));
    EXPECT_EQ(calls[2 + 2 * i], readCall(false, 2, 5, 256 + 2 * reg, 2));
  }
  EXPECT_EQ(line->station(5).regs[8], 7);  // registers 8, 9 and 13 are not the feeder's
  EXPECT_EQ(host.doEventsCount(), int(kFeederOrder.size()));
  expectBox(kDownloadDoneText, vbInformation, kInfoTitle);
  expectRestored();
}

// Only the exact type passes, and the type is the one the unit on the line
// reports, whatever the poll last decoded.
TEST_F(QuickConfigTest, FileOfAnotherTypeIsRefusedBeforeAnyWrite) {
  struct Case {
    int unitType;
    int16_t polledType;
    std::string fileType;
  };
  const Case cases[] = {{0, 0, "2"}, {2, 2, "0"}, {1, 1, "4"},
                        {4, 4, "1"}, {1, 0, "0"}, {0, 0, "0.5"}};
  for (const Case& c : cases) {
    ready(c.unitType, replaced(numberedFile(0), "Type=0", "Type=" + c.fileType));
    answeredPoll(c.polledType);
    send();
    EXPECT_TRUE(line->writes().empty()) << c.fileType;
    expectBox(kWrongTypeText, vbCritical, kTypeErrorTitle);
    EXPECT_EQ(label7().toStdString(), "Wrong type of unit: Type=" + c.fileType + ", unit type " +
                                          std::to_string(c.unitType));
    EXPECT_FALSE(wizard()->Label4->isHidden());
    expectRestored();
    wizard()->Command3D4->click();
    flushDeletes();
  }
  // "2.0" is type 2.
  ready(2, replaced(numberedFile(2), "Type=2", "Type=2.0"));
  send();
  EXPECT_EQ(line->writtenRegisters(), kMotorOrder);
}

TEST_F(QuickConfigTest, DamagedFileIsRefusedWithNothingWritten) {
  struct Case {
    std::string from, to;
    const char* box;
    const char* title;
    const char* line7;
  };
  const Case cases[] = {
      {"Type=0\r\n", "", kBadValueText, kBadValueTitle, "Missing in CON file: Type"},
      {"Type=0", "Type=0 ;motor", kBadValueText, kBadValueTitle,
       "Bad value in CON file: Type=0 ;motor"},
      {"Service Factor=113\r\n", "", kMissingSetPointText, kConFileErrorTitle,
       "Missing in CON file: Service Factor"},
      {"LeakageAlarm=111", "LeakageAlarm=", kMissingSetPointText, kConFileErrorTitle,
       "Missing in CON file: LeakageAlarm"},
      {"FLA=112", "FLA=12.7", kBadValueText, kBadValueTitle, "Bad value in CON file: FLA=12.7"},
      {"I2tTrip=100", "I2tTrip=70000", kBadValueText, kBadValueTitle,
       "Bad value in CON file: I2tTrip=70000"},
      {"EFCT=117", "EFCT=-5", kBadValueText, kBadValueTitle, "Bad value in CON file: EFCT=-5"},
      {"Version=2.0", "Version=2.00", kBadVersionText, kConFileErrorTitle,
       "Bad value in CON file: Version=2.00"},
      // Longer than the profile reader returns whole: never cut and written.
      {"FLA=112", "FLA=" + std::string(300, '0') + "90", kBadValueText, kBadValueTitle,
       "Value too long in CON file: FLA"},
      {"FLA=112", "FLA=" + std::string(254, '0') + "12", kBadValueText, kBadValueTitle,
       "Value too long in CON file: FLA"},
      {"Type=0", "Type=" + std::string(256, '0'), kBadValueText, kBadValueTitle,
       "Value too long in CON file: Type"},
  };
  // One wizard for all: each refusal shows its own reason, never the last one's.
  ready(0, numberedFile(0));
  for (const Case& c : cases) {
    line->calls.clear();
    host.clearRecords();
    // The file changes after "Next >>".
    put("unit.con", replaced(numberedFile(0), c.from, c.to));
    send();
    EXPECT_TRUE(line->writes().empty()) << c.to;
    ASSERT_EQ(host.boxes().size(), 1u) << c.to;
    expectBox(c.box, vbCritical, c.title);
    EXPECT_EQ(label7(), QString::fromUtf8(c.line7));
    expectRestored();
  }
  // A file truncated in the middle of [SetPoints], and one gone since Next.
  ready(0, numberedFile(0));
  const std::string whole = numberedFile(0);
  put("unit.con", whole.substr(0, whole.find("UnbalanceAlarm")));
  send();
  expectBox(kMissingSetPointText, vbCritical, kConFileErrorTitle);
  EXPECT_EQ(label7(), QStringLiteral("Missing in CON file: UnbalanceAlarm"));
  std::remove(path("unit.con").c_str());
  send();
  expectBox(kBadVersionText, vbCritical, kConFileErrorTitle);
  EXPECT_EQ(label7(), QStringLiteral("Cannot read CON file"));
  EXPECT_TRUE(line->writes().empty());
}

TEST_F(QuickConfigTest, MismatchHaltsAtTheFailingRegisterAndIsNeverReportedAsDone) {
  ready(0, numberedFile(0));
  MemoryStation& unit = line->station(5);
  unit.keeps[5] = [](int32_t written) { return static_cast<uint16_t>(written + 1); };
  send();
  EXPECT_EQ(line->writtenRegisters(), (std::vector<int>{0, 1, 2, 3, 4, 5}));
  EXPECT_EQ(label6(), QStringLiteral("Attempting Undercurrent Alarm:105"));
  EXPECT_EQ(label7(), QStringLiteral("Failed to verify.Halt"));
  ASSERT_EQ(host.boxes().size(), 1u);
  expectBox(kDownloadErrorText, vbCritical, kDownloadErrorTitle);
  expectRestored();
  EXPECT_TRUE(wizard()->Command3D3->isEnabled());

  // Send again once the unit takes the value: the whole file again.
  unit.keeps.clear();
  line->calls.clear();
  send();
  EXPECT_EQ(line->writtenRegisters(), kMotorOrder);
  expectBox(kDownloadDoneText, vbInformation, kInfoTitle);
}

TEST_F(QuickConfigTest, FailedWriteOrReadBackHaltsWithItsOwnResult) {
  ready(1, numberedFile(1));
  line->station(5).writeFails[3] = 37;
  send();
  EXPECT_EQ(line->writtenRegisters(), (std::vector<int>{0, 1, 2, 3}));
  EXPECT_EQ(line->calls.back(), "write 2 5 3 103");  // no read-back of a failed write
  ASSERT_EQ(host.boxes().size(), 2u);
  EXPECT_EQ(host.boxes()[0].text, QStringLiteral("Write Error 37:Invalid Address, Size, or Value"));
  expectBox(kDownloadErrorText, vbCritical, kDownloadErrorTitle);
  EXPECT_EQ(label6(), QStringLiteral("Attempting Short Alarm:103"));
  EXPECT_EQ(label7(), QStringLiteral("Failed to write.Halt"));
  expectRestored();

  line->station(5).writeFails.clear();
  line->station(5).readFails = {16};
  line->calls.clear();
  host.clearRecords();
  send();
  EXPECT_EQ(line->writtenRegisters().back(), 16);
  ASSERT_EQ(host.boxes().size(), 1u);
  expectBox(kDownloadErrorText, vbCritical, kDownloadErrorTitle);
  EXPECT_EQ(label7(), QStringLiteral("Failed to read.Halt"));
  expectRestored();
}

TEST_F(QuickConfigTest, RelayModeWordIsWrittenWholeAndVerifiedOnBitsFourAndEight) {
  const std::string file = replaced(numberedFile(0), "Mode8 Level 2=115", "Mode8 Level 2=13");
  ready(0, file);
  line->station(5).keeps[15] = [](int32_t) -> uint16_t { return 28; };
  std::vector<QString> progress;
  line->afterCall = [&](const std::string& call) {
    if (call.rfind("write 2 5 15 ", 0) == 0) progress.push_back(label6());
  };
  send();
  EXPECT_EQ(line->writes()[14], "write 2 5 15 13");
  EXPECT_EQ(progress, std::vector<QString>{QStringLiteral("Attempting Mode 8 Level 2:12")});
  expectBox(kDownloadDoneText, vbInformation, kInfoTitle);

  line->station(5).keeps[15] = [](int32_t) -> uint16_t { return 9; };
  send();
  EXPECT_EQ(line->writtenRegisters().back(), 15);
  EXPECT_EQ(label7(), QStringLiteral("Failed to verify.Halt"));
}

TEST_F(QuickConfigTest, ValuesAboveThirtyTwoThousandAreWrittenAndVerified) {
  ready(4, replaced(numberedFile(4), "Phase CT=116", "Phase CT=40000"));
  send();
  EXPECT_EQ(line->station(5).regs[16], 40000);
  expectBox(kDownloadDoneText, vbInformation, kInfoTitle);
}

TEST_F(QuickConfigTest, OffLineOrSilentUnitWritesNothing) {
  ready(0, numberedFile(0));
  for (bool pollOn : {true, false}) {
    if (!pollOn) main().Timer1->stop();
    Form1::setMenuEnabled(main().mnuDisplay, false);
    host.clearRecords();
    send();
    EXPECT_TRUE(line->calls.empty());
    expectBox(kOffLineText, vbCritical, kOffLineTitle);
    EXPECT_FALSE(wizard()->Label3->isHidden());
    EXPECT_EQ(polling(), pollOn);  // left as it was
    EXPECT_TRUE(wizard()->isEnabled());
  }
  // On line by the poll's word, but the unit does not answer.
  Form1::setMenuEnabled(main().mnuDisplay, true);
  main().Timer1->start();
  line->station(5).silent = true;
  host.clearRecords();
  send();
  EXPECT_TRUE(line->writes().empty());
  expectBox(kOffLineText, vbCritical, kOffLineTitle);
  EXPECT_FALSE(wizard()->Label3->isHidden());
  expectRestored();
}

// Between two rows the operator selects another station or closes
// the link: the download halts, and nothing goes to a unit it did not check.
TEST_F(QuickConfigTest, StationOrLinkChangedDuringTheDownloadHalts) {
  ready(1, numberedFile(1));
  line->station(6).unit(1, false);
  host.atNextDoEvents([this] {
    host.atNextDoEvents([this] { program->selectStation(6), program->selectStation(5); });
  });
  send();
  EXPECT_EQ(line->writtenRegisters(), (std::vector<int>{0, 1}));
  for (const std::string& call : line->calls)
    EXPECT_TRUE(call.rfind("read 2 5 ", 0) == 0 || call.rfind("write 2 5 ", 0) == 0) << call;
  EXPECT_EQ(label7(), QString::fromUtf8(kTargetChanged));
  expectBox(kDownloadErrorText, vbCritical, kDownloadErrorTitle);
  expectRestored();

  program->selectStation(5);
  line->calls.clear();
  host.atNextDoEvents([this] { CloseLink(*program); });
  send();
  EXPECT_EQ(line->writtenRegisters(), (std::vector<int>{0}));
  expectBox(kDownloadErrorText, vbCritical, kDownloadErrorTitle);
  // The poll is not started on a closed link.
  EXPECT_FALSE(polling());
  EXPECT_TRUE(wizard()->isEnabled());
}

// A Delete in the first pump leaves the poll held to the end; an edit, until it ends.
TEST_F(QuickConfigTest, PollStaysHeldToTheEndOfTheDownloadAndOfAnEdit) {
  installEditors(*program);
  FORM5& setPoints = editorsModule(*program).FORM5();
  ready(1, numberedFile(1));
  std::vector<bool> polled;
  std::function<void()> each = [&] {
    if (polled.empty()) setPoints.deleteButton(setPoints.fields().front())->click();
    if (polled.size() == 3) setPoints.Box_Click(*setPoints.box("Text1"));
    polled.push_back(polling());
    if (polled.size() < kFeederOrder.size()) host.atNextDoEvents(each);
  };
  host.atNextDoEvents(each);
  send();
  EXPECT_EQ(polled, std::vector<bool>(kFeederOrder.size(), false));
  EXPECT_FALSE(polling());
  int esc = 27;
  setPoints.Box_KeyPress(*setPoints.box("Text1"), esc);
  EXPECT_TRUE(polling());
}

// What other handlers do in the download's event pumps: a poll pass, a
// second Send, the close box. The wizard stays disabled to the end and the
// download runs once.
TEST_F(QuickConfigTest, WizardStaysDisabledAndSendRunsOnceWhileDownloading) {
  ready(4, numberedFile(4));
  std::vector<bool> enabledInPump;
  std::function<void()> each = [&] {
    FormConfig* w = wizard();
    ASSERT_TRUE(w);
    enabledInPump.push_back(w->isEnabled());
    files().kind.beginPass();
    files().kind.resetPointers();
    files().kind.endPass();
    enabledInPump.push_back(w->isEnabled());
    w->Command3D3->setEnabled(true);
    FormConfig_Command3D3_Click(*program);
    w->close();
    host.atNextDoEvents(each);
  };
  host.atNextDoEvents(each);
  send();
  EXPECT_EQ(line->writtenRegisters(), kFeederOrder);
  EXPECT_EQ(enabledInPump, std::vector<bool>(2 * kFeederOrder.size(), false));
  ASSERT_TRUE(wizard());
  ASSERT_EQ(host.boxes().size(), 1u);
  expectBox(kDownloadDoneText, vbInformation, kInfoTitle);
  expectRestored();
}

TEST_F(QuickConfigTest, ProgramEndDuringTheDownloadStopsIt) {
  ready(0, numberedFile(0));
  host.atNextDoEvents([this] { host.atNextDoEvents([this] { EndProgram(*program); }); });
  send();
  EXPECT_TRUE(program->ended);
  EXPECT_EQ(line->writtenRegisters(), (std::vector<int>{0}));
  EXPECT_TRUE(host.boxes().empty());
  EXPECT_FALSE(files().downloadRunning);
  // The pause ended with the program, not after 5000 pumps.
  EXPECT_LT(host.doEventsCount(), 10);
}

// Send clicked 0.1 s into a timed pass while the Network Summary scans, then,
// still in the pass, what the operator does next: the kept click runs one
// download on station 5, or is dropped with a beep once station 6 is chosen.
TEST_F(QuickConfigTest, SendKeptByATimedPassActsForTheStationItWasMadeOnOrBeeps) {
  installShell(*program);  // the main window's timers drive the poll
  installStatus(*program);
  line->station(6).unit(0, false);
  FormConfig& w = ready(0, numberedFile(0));
  main().menuDisplayNetworkSummary->trigger();
  StatusModule& status = program->module<StatusModule>();
  status.Form14().Option2->setChecked(true);
  status.Form14().Command3D1->click();
  QWindow* summary = status.Form13().windowHandle();
  auto cell = [&](int station) {
    return status.Form13().Label1[station - 1]->mapTo(&status.Form13(), QPoint(8, 8));
  };
  const QPoint send = w.Command3D3->mapTo(&w, w.Command3D3->rect().center());
  using QTest::mouseClick, QTest::mouseDClick;
  const std::tuple<std::function<void()>, size_t, int> cases[] = {
      // then, writes (all to station 5), beeps
      {[&] { mouseDClick(summary, Qt::LeftButton, {}, cell(6)); }, 0, 1},
      {[&] { QTest::mouseMove(w.windowHandle(), QPoint(w.width() - 4, w.height() - 4)); }, 18, 0},
      {[&] { mouseClick(summary, Qt::LeftButton, {}, cell(6)); }, 18, 0},
      {[&] { mouseDClick(summary, Qt::LeftButton, {}, cell(5)); }, 18, 0},
      {[&] { mouseClick(w.windowHandle(), Qt::LeftButton, {}, send); }, 18, 1}};  // a double-click
  for (const auto& [then, writes, beeps] : cases) {
    program->selectStation(5);
    answeredPoll(0);
    host.clearRecords();
    line->calls.clear();
    host.atNextDoEvents([&, then = then] {
      EXPECT_TRUE(program->poll.passRunning);
      QTest::qWait(100);
      mouseClick(w.windowHandle(), Qt::LeftButton, {}, send);
      QTest::qWait(100);
      then();
      EXPECT_TRUE(line->writes().empty()) << "acted during the pass";
    });
    EXPECT_TRUE(QTest::qWaitFor([&] { return host.beeps() || !host.boxes().empty(); }, 20000))
        << "lost without a beep";
    QTest::qWait(50);
    EXPECT_EQ(line->writes().size(), writes);
    for (const std::string& call : line->writes()) EXPECT_EQ(call.rfind("write 2 5 ", 0), 0u);
    EXPECT_EQ(host.beeps(), beeps) << writes;
    EXPECT_EQ(host.boxes().size(), writes ? 1u : 0u);
  }
}

}  // namespace
}  // namespace kvlink::test
