// Network Summary: the options window, Start, the scan step against the
// scan read's values, the drop option, the end with no eligible station,
// Stop, and the cell clicks.
#include <functional>

#include "StatusFixture.h"
#include "platform/Profile.h"

namespace kvlink {
namespace {

struct ScanAnswer {
  bool answered = true;
  int16_t type = 0;
  uint16_t trip = 0, alarm = 0, motor = 0;
};

class NetworkSummaryTest : public StatusFixture {
 protected:
  Form13& summary() { return status().Form13(); }
  Form14& options() { return status().Form14(); }

  void start(bool drop) {
    main().menuDisplayNetworkSummary->trigger();
    (drop ? options().Option1 : options().Option2)->setChecked(true);
    options().Command3D1->click();
  }

  // What the poll does for the scan station: the read, the failed flag, and
  // the step while the scan is active.
  void scanPoll(const ScanAnswer& answer) {
    if (program->poll.ScanActive != 1) return;
    ++scanReads;
    ScanValues& scan = program->poll.scan;
    bool failed = !answer.answered;
    if (answer.answered) {
      const bool known = isKnownUnitType(answer.type);
      scan.ScanUnitType = known ? answer.type : kUnitTypeUnknown;
      failed = !known;
      if (known) {
        scan.ScanTripStatus = answer.trip;
        scan.ScanAlarmStatus = answer.alarm;
        scan.ScanMotorStatus = answer.motor;
      }
    }
    program->poll.ScanStationFailed = failed ? 1 : 0;
    NetworkSummaryStep(*program);
  }

  // One full pass over the line: each station answers as `line` says.
  void scanPass(const std::function<ScanAnswer(int16_t)>& line, int polls) {
    for (int p = 0; p < polls; ++p) scanPoll(line(program->poll.ScanStation));
  }

  uint32_t numberColor(int station) { return textColor(summary().Label1[station - 1]); }
  QString statusText(int station) { return summary().Label2[station - 1]->text(); }
  QString typeText(int station) { return summary().LabelID1[station - 1]->text(); }
  bool cellShown(int station) { return !summary().Label1[station - 1]->isHidden(); }

  int scanReads = 0;
};

TEST_F(NetworkSummaryTest, MenuCommandPreparesTheOptionsWithoutScanning) {
  program->poll.ScanStation = 17;
  program->poll.ScanEligibleCount = 5;
  options().Option2->setChecked(true);
  main().menuDisplayNetworkSummary->trigger();
  EXPECT_TRUE(options().isVisible());
  EXPECT_EQ(options().windowTitle(), "Network Summary Options");
  EXPECT_TRUE(options().Option1->isChecked());
  EXPECT_EQ(program->poll.ScanStation, 1);
  EXPECT_EQ(program->poll.ScanEligibleCount, 63);
  EXPECT_EQ(program->poll.ScanActive, 0);

  options().Command3D2->click();
  EXPECT_FALSE(options().isVisible());
  EXPECT_EQ(program->poll.ScanActive, 0);
  EXPECT_FALSE(status().Form13.loaded());
}

TEST_F(NetworkSummaryTest, StartResetsEveryCellAndStartsTheScan) {
  start(true);
  scanPass([](int16_t) { return ScanAnswer{false}; }, 3);  // three cells dropped
  summary().Command3D1->click();
  main().menuDisplayNetworkSummary->trigger();
  options().Command3D1->click();

  EXPECT_TRUE(summary().isVisible());
  EXPECT_EQ(summary().windowTitle(), "Network Summary");
  EXPECT_FALSE(options().isVisible());
  EXPECT_EQ(program->poll.ScanActive, 1);
  EXPECT_EQ(program->poll.ScanStation, 1);
  EXPECT_EQ(status().scan.ScanFirstPassDone, 0);
  EXPECT_FALSE(main().menuDisplayNetworkSummary->isEnabled());
  EXPECT_EQ(program->pointer.applicationPointer(), vbDefault);
  for (int s = 1; s <= kStations; ++s) {
    EXPECT_TRUE(cellShown(s)) << s;
    EXPECT_FALSE(summary().Label2[s - 1]->isHidden());
    EXPECT_EQ(numberColor(s), kCellIdle);
    EXPECT_EQ(statusText(s), "");
    EXPECT_EQ(typeText(s), "");
    EXPECT_EQ(summary().Label1[s - 1]->text(), QString::number(s));
  }
}

TEST_F(NetworkSummaryTest, AnsweringStationsShowColourStatusAndType) {
  start(false);
  scanPoll({true, 0, 0, 0, 3});
  scanPoll({true, 1, 32, 0, 2});
  scanPoll({true, 2, 0, 64, 2});
  scanPoll({true, 4, 1, 1, 1});
  scanPoll({true, 0, 0, 0, 4});
  EXPECT_EQ(numberColor(1), kCellHealthy);
  EXPECT_EQ(statusText(1), "RUNNING");
  EXPECT_EQ(typeText(1), "RVX");
  EXPECT_EQ(numberColor(2), kCellTripOrAlarm);
  EXPECT_EQ(statusText(2), "TRIPS CLOSED");
  EXPECT_EQ(typeText(2), "GLT");
  EXPECT_EQ(numberColor(3), kCellTripOrAlarm);
  EXPECT_EQ(statusText(3), "ALARMS ");
  EXPECT_EQ(typeText(3), "CCU");
  EXPECT_EQ(statusText(4), "TRIPS ALARMS OPEN");
  EXPECT_EQ(typeText(4), "CPR");
  EXPECT_EQ(numberColor(5), kCellHealthy);
  EXPECT_EQ(statusText(5), "STOPPED");
  EXPECT_EQ(program->poll.ScanStation, 6);
  EXPECT_EQ(textColor(summary().Label2[0]), kCellStatusText);
}

TEST_F(NetworkSummaryTest, StationIsMarkedYellowWhileItIsRead) {
  start(false);
  uint32_t seen = 0;
  host.atNextDoEvents([&] { seen = numberColor(1); });
  scanPoll({true, 0, 0, 0, 3});
  EXPECT_EQ(seen, kCellReading);
  EXPECT_EQ(numberColor(1), kCellHealthy);
}

TEST_F(NetworkSummaryTest, AlwaysOptionShowsNoResponseAndKeepsTheCell) {
  start(false);
  scanPass([](int16_t s) { return s == 2 ? ScanAnswer{true, 1, 0, 0, 0} : ScanAnswer{false}; }, 63);
  EXPECT_EQ(program->poll.ScanStation, 1);
  EXPECT_EQ(status().scan.ScanFirstPassDone, 1);
  EXPECT_EQ(statusText(1), "NR");
  EXPECT_EQ(numberColor(1), kCellIdle);
  EXPECT_TRUE(cellShown(63));
  EXPECT_EQ(statusText(2), "OPEN");

  // Station 2 stops answering; station 3 answers with a type not known.
  scanPoll({false});
  scanPoll({false});
  scanPoll({true, 3, 0, 0, 0});
  EXPECT_EQ(statusText(2), "NR");
  EXPECT_EQ(numberColor(2), kCellIdle);
  EXPECT_EQ(typeText(2), "GLT");
  EXPECT_EQ(statusText(3), "NR");
  EXPECT_TRUE(cellShown(3));
  EXPECT_EQ(program->poll.ScanActive, 1);
  EXPECT_TRUE(host.boxes().empty());
}

TEST_F(NetworkSummaryTest, DropOptionTakesSilentStationsOffOnTheFirstPassOnly) {
  start(true);
  auto line = [](int16_t s) {
    if (s == 5) return ScanAnswer{true, 0, 0, 0, 1};
    if (s == 9) return ScanAnswer{true, 7, 0, 0, 0};  // unknown type: dropped too
    if (s == 40) return ScanAnswer{true, 4, 0, 0, 3};
    return ScanAnswer{false};
  };
  scanPass(line, 63);
  EXPECT_EQ(program->poll.ScanEligibleCount, 2);
  EXPECT_EQ(status().scan.ScanFirstPassDone, 1);
  EXPECT_EQ(program->poll.ScanStation, 5);  // wrap, then the skip to the first cell left
  for (int s = 1; s <= kStations; ++s) EXPECT_EQ(cellShown(s), s == 5 || s == 40) << s;
  EXPECT_TRUE(summary().Label2[8]->isHidden());
  EXPECT_EQ(numberColor(9), kCellIdle);

  // Later passes read only stations 5 and 40; a failure there is "NR".
  scanPoll({false});
  EXPECT_EQ(statusText(5), "NR");
  EXPECT_TRUE(cellShown(5));
  EXPECT_EQ(program->poll.ScanStation, 40);
  scanPoll(line(40));
  EXPECT_EQ(statusText(40), "CLOSED");
  EXPECT_EQ(program->poll.ScanStation, 5);
  EXPECT_EQ(program->poll.ScanEligibleCount, 2);
  EXPECT_EQ(program->poll.ScanActive, 1);
}

// Dropped stations leave their cells empty in place: the grid and the name
// line keep their shape.
TEST_F(NetworkSummaryTest, DroppedCellsKeepTheGridShape) {
  start(true);
  summary().layout()->activate();
  std::vector<QRect> cells;
  for (QFrame* cell : summary().cells) cells.push_back(cell->geometry());
  const QRect nameLine = summary().Label10->geometry();
  scanPass([](int16_t s) { return s == 5 ? ScanAnswer{true, 0, 0, 0, 1} : ScanAnswer{false}; }, 63);
  ASSERT_FALSE(cellShown(6));
  summary().layout()->activate();
  for (int i = 0; i < kStations; ++i) EXPECT_EQ(summary().cells[i]->geometry(), cells[i]) << i;
  EXPECT_EQ(summary().Label10->geometry(), nameLine);
}

TEST_F(NetworkSummaryTest, NoEligibleStationEndsTheScanWithOneBox) {
  start(true);
  // Polls keep running while the box is open.
  host.onEveryBox([&](const ScriptedHost::ShownBox&) {
    for (int p = 0; p < 3; ++p) scanPoll({false});
  });
  scanPass([](int16_t) { return ScanAnswer{false}; }, 70);
  EXPECT_EQ(scanReads, 63);
  ASSERT_EQ(host.boxes().size(), 1u);
  EXPECT_EQ(host.boxes()[0].text, "No elegible stations to scan.");
  EXPECT_EQ(host.boxes()[0].style, vbOKOnly);
  EXPECT_EQ(host.boxes()[0].title, "KV-LINK27");
  EXPECT_EQ(program->poll.ScanActive, 0);
  EXPECT_FALSE(summary().isVisible());
  EXPECT_EQ(summary().Label10->text(), " ");
  EXPECT_TRUE(main().menuDisplayNetworkSummary->isEnabled());
}

TEST_F(NetworkSummaryTest, CloseEndsTheScan) {
  start(false);
  scanPoll({true, 0, 0, 0, 3});
  summary().Label10->setText("Station Number:1  Name:");
  summary().Command3D1->click();
  EXPECT_EQ(program->poll.ScanActive, 0);
  EXPECT_FALSE(summary().isVisible());
  EXPECT_EQ(summary().Label10->text(), " ");
  EXPECT_TRUE(main().menuDisplayNetworkSummary->isEnabled());
  scanPoll({true, 0, 0, 0, 3});
  EXPECT_EQ(scanReads, 1);

  start(false);
  summary().close();  // title bar: the window is discarded
  EXPECT_EQ(program->poll.ScanActive, 0);
  EXPECT_FALSE(status().Form13.loaded());
  EXPECT_TRUE(main().menuDisplayNetworkSummary->isEnabled());
  flushDeletes();
}

TEST_F(NetworkSummaryTest, CloseInsideAStepLetsItFinishWithoutABox) {
  start(true);
  program->poll.ScanEligibleCount = 1;
  host.atNextDoEvents([&] { summary().Command3D1->click(); });
  scanPoll({false});
  EXPECT_EQ(program->poll.ScanActive, 0);
  EXPECT_TRUE(host.boxes().empty());
  EXPECT_FALSE(cellShown(1));

  start(false);
  host.atNextDoEvents([&] { summary().close(); });
  scanPoll({true, 0, 1, 0, 3});
  EXPECT_EQ(program->poll.ScanActive, 0);
  EXPECT_TRUE(host.boxes().empty());
  flushDeletes();
}

TEST_F(NetworkSummaryTest, ClickNamesTheStation) {
  ASSERT_TRUE(WriteIni("Station", "station12", "Boiler feed", "gridmon.ini"));
  start(false);
  click(summary().Label1[11]);
  EXPECT_EQ(summary().Label10->text(), "Station Number:12  Name:Boiler feed");
  click(summary().Label2[12]);
  EXPECT_EQ(summary().Label10->text(), "Station Number:13  Name:");
  click(summary().LabelID1[11]);  // the type text is not a click target
  EXPECT_EQ(summary().Label10->text(), "Station Number:13  Name:");
}

TEST_F(NetworkSummaryTest, DoubleClickSwitchesStationAndDropsQueuedCommands) {
  ASSERT_TRUE(WriteIni("Station", "station20", "Crusher", "gridmon.ini"));
  start(false);
  main().Label1->setText("RUNNING");
  main().Label3->setText("No Trips or Alarms");
  program->commands.PendingTripReset = true;
  program->commands.PendingRemoteStart = true;
  doubleClick(summary().Label2[19]);
  EXPECT_EQ(program->linkState.CurrentStation, 20);
  EXPECT_FALSE(program->commands.any());
  EXPECT_EQ(main().Label1->text(), "");
  EXPECT_EQ(main().Label3->text(), "");
  EXPECT_EQ(main().Label2->text(), "20");
  EXPECT_EQ(main().Label11->text(), "Crusher");
  EXPECT_EQ(summary().mousePointerValue(), vbDefault);
  EXPECT_EQ(program->poll.ScanActive, 1);

  doubleClick(summary().Label1[2]);
  EXPECT_EQ(program->linkState.CurrentStation, 3);
}

TEST_F(NetworkSummaryTest, WatchdogHidesBothWindowsAndKeepsTheScan) {
  start(false);
  main().menuDisplayNetworkSummary->setEnabled(true);
  main().menuDisplayNetworkSummary->trigger();
  for (WindowKind* kind : program->windowKinds()) kind->closeAll(CloseReason::NoResponse);
  EXPECT_TRUE(summary().isVisible());
  for (WindowKind* kind : program->windowKinds()) kind->closeAll(CloseReason::Watchdog);
  EXPECT_FALSE(summary().isVisible());
  EXPECT_FALSE(options().isVisible());
  EXPECT_EQ(program->poll.ScanActive, 1);
}

}  // namespace
}  // namespace kvlink
