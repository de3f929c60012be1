// The poll's auto-retrieve step on an in-memory line of logger units: what it
// reads, the status lines, the station files (header once, each record once
// and oldest first, the error line, never part of a line), when the unit's
// counter is reset, and the walk through the list.
#include <QDir>
#include <QFileInfo>

#include "AutoRetrieveFile.h"
#include "AutoRetrieveFixture.h"
#include "AutoRetrieveStep.h"
#include "FileSizeLimit.h"
#include "JournalCheck.h"
#include "LogRecordLine.h"
#include "PollPass.h"
#include "PollingModule.h"
#include "SaveNote.h"
#include "link/LinkErrors.h"

namespace kvlink::test {
namespace {

using Strings = std::vector<std::string>;

std::string withoutLineEnd(std::string line) {
  while (!line.empty() && (line.back() == '\n' || line.back() == '\r')) line.pop_back();
  return line;
}

class AutoRetrieveStepTest : public AutoRetrieveFixture {
 protected:
  void step() { AutoRetrieveStep(*program); }
  QString file(int station) {
    return filesDir.filePath(QStringLiteral("station%1.txt").arg(station));
  }
  Strings fileLines(int station) {
    Strings found;
    for (const std::string& line : lines(file(station))) found.push_back(withoutLineEnd(line));
    return found;
  }
  static std::string header(int16_t type) { return withoutLineEnd(logHeaderLine(type)); }
  static std::string errorLine() { return withoutLineEnd(logReadErrorLine()); }
  // The start of the line of the k-th record logged (MemoryStation::records).
  static std::string recordStart(int k) {
    const auto two = [](int n) { return std::to_string(n / 10) + std::to_string(n % 10); };
    return "\"25/12/2003  14:" + two(k / 60) + ":" + two(k % 60) + " Tuesday\"," +
           std::to_string(k) + ",";
  }
  void expectRecords(const Strings& got, size_t first, std::vector<int> records) {
    ASSERT_GE(got.size(), first + records.size());
    for (size_t i = 0; i < records.size(); ++i)
      EXPECT_EQ(got[first + i].rfind(recordStart(records[i]), 0), 0u)
          << "line " << first + i << ": " << got[first + i];
  }
  Strings writes() const { return link->writes(); }
  std::vector<int> recordsIn(int station) {
    std::vector<int> found;
    for (const std::string& line : fileLines(station))
      if (line.rfind("\"25/12/2003  ", 0) == 0) found.push_back(std::stoi(line.substr(31)));
    return found;
  }
  // The record reads of one visit.
  long visitReads() {
    link->calls.clear();
    step();
    return std::ranges::count_if(
        link->calls, [](const std::string& c) { return c.ends_with(" 18") || c.ends_with(" 36"); });
  }
  // A visit of `station` that ends killed at the last counter reading, right after the file
  // was written: nothing after it runs, what is on the disk stays.
  void killedBeforeTheReset(int station) {
    struct Killed {};
    const bool modbus = program->linkState.UseModbus != 0;
    const std::string at = (modbus ? "read 1 " : "abread 1 ") + std::to_string(station);
    const std::string counter = at + (modbus ? " 138 1" : " 532 2");
    const std::string control = at + (modbus ? " 134 1" : " 524 2");
    std::string previous;
    link->afterCall = [&](const std::string& call) {
      const std::string before = std::exchange(previous, call);
      if (call == counter && (before == control || before == counter)) throw Killed{};
    };
    EXPECT_THROW(step(), Killed);
    link->afterCall = nullptr;
  }
  // The station file held against what the unit logged, record by record.
  JournalFigures checked(int station) {
    std::vector<std::string> journal, got;
    for (const int k : link->station(station).journal) journal.push_back(std::to_string(k));
    const std::string head = header(link->station(station).regs[39] >> 8);
    const auto commas = [](const std::string& line) { return std::ranges::count(line, ','); };
    for (const std::string& line : fileLines(station))  // whole record lines by their number
      got.push_back(line.starts_with("\"25/12/2003  ") && commas(line) == commas(head)
                        ? std::to_string(std::stoi(line.substr(31)))
                        : line);
    return checkAgainstJournal(journal, got, head);
  }
  static std::vector<int> numbers(int first, int last, std::vector<int> before = {}) {
    for (int k = first; k <= last; ++k) before.push_back(k);
    return before;
  }
  QString note(int station) { return file(station).replace(".txt", ".note"); }
  MemoryStation& unitAt(int16_t s, int records, bool modbus) {
    program->linkState.UseModbus = modbus ? 1 : 0;
    useList({s}, 10, filesDir.path());
    return link->station(s).unit(s % 3 == 0 ? 1 : 0, true).records(records);
  }
  // Saved until the unit holds nothing: each record once and in order, or told.
  JournalFigures drained(int16_t s) {
    link->afterCall = nullptr;
    m().AutoRecordLimit = 1;
    for (int visit = 0; visit < 12 && link->station(s).regs[138] != 0; ++visit) step();
    const JournalFigures f = checked(s);
    EXPECT_EQ(f.doubled + f.lostUntold + f.disorder + f.broken + f.pending, 0) << s;
    return f;
  }
  // A visit whose counter reset's write gets `answer` (0: as usual).
  void stepResetAnswered(MemoryStation& unit, int answer) {
    if (answer) unit.writeFails[134] = answer;
    step();
    unit.writeFails.clear();
  }
  bool fileSays(int station, const QByteArray& text) {
    QFile read(file(station));
    return read.open(QIODevice::ReadOnly) && read.readAll().contains(text);
  }
};

TEST_F(AutoRetrieveStepTest, OffOnlyEmptiesTheMainLine) {
  main().Label12->setText("Station#5  Count= 3");
  step();
  EXPECT_TRUE(main().Label12->text().isEmpty());
  EXPECT_TRUE(link->calls.empty());
  EXPECT_FALSE(m().AutoSave.loaded());
}

TEST_F(AutoRetrieveStepTest, BelowTheLimitShowsTheCountOnly) {
  link->station(5).unit(0, true).records(3);
  useList({5}, 10, filesDir.path());
  m().AutoRetrieveDue = true;
  step();
  EXPECT_EQ(link->calls, (Strings{"read 1 5 39 1", "read 1 5 138 1"}));
  EXPECT_EQ(window().Label10->text(), "Station#5  Count= 3");
  EXPECT_EQ(main().Label12->text(), "Station#5  Count= 3");
  EXPECT_FALSE(QFile::exists(file(5)));
  EXPECT_EQ(m().AutoUnitType, 0);
  EXPECT_EQ(m().AutoRecordCount, 3);
  EXPECT_EQ(m().AutoStationIndex, 0);
  EXPECT_TRUE(window().Timer1->isActive());
  EXPECT_FALSE(m().AutoRetrieveDue);
}

TEST_F(AutoRetrieveStepTest, SaveAppendsOldestFirstWithOneHeaderThenClearsTheUnit) {
  MemoryStation& unit = link->station(5).unit(0, true).records(3);
  unit.regs[134] = 0x11;
  useList({5}, 3, filesDir.path());
  step();
  EXPECT_EQ(link->calls,
            (Strings{"read 1 5 39 1", "read 1 5 138 1", "read 1 5 192 18", "read 1 5 138 1",
                     "read 1 5 216 18", "read 1 5 240 18", "read 1 5 138 1", "read 1 5 134 1",
                     "read 1 5 138 1", "write 1 5 134 25", "read 1 5 192 18", "read 1 5 216 18",
                     "read 1 5 138 1"}));
  Strings got = fileLines(5);
  ASSERT_EQ(got.size(), 4u);
  EXPECT_EQ(got[0], header(0));
  expectRecords(got, 1, {1, 2, 3});
  EXPECT_EQ(unit.regs[138], 0);
  EXPECT_EQ(host.doEventsCount(), 5);
  EXPECT_TRUE(host.boxes().empty());

  // More records later: appended under the same header.
  unit.records(4);
  step();
  got = fileLines(5);
  ASSERT_EQ(got.size(), 8u);
  EXPECT_EQ(std::count(got.begin(), got.end(), header(0)), 1);
  expectRecords(got, 4, {4, 5, 6, 7});
  EXPECT_EQ(unit.regs[138], 0);
}

TEST_F(AutoRetrieveStepTest, FeederFamilyChosenByTheAutoStationsType) {
  program->poll.UnitType = 0;  // the selected station is of the other family
  link->station(20).unit(4, true).records(1);
  useList({20}, 1, filesDir.path());
  step();
  EXPECT_EQ(link->count("read 1 20 192 19"), 2);
  const Strings got = fileLines(20);
  ASSERT_EQ(got.size(), 2u);
  EXPECT_EQ(got[0], header(4));
  EXPECT_NE(header(4), header(0));
}

TEST_F(AutoRetrieveStepTest, UnreadableRecordWritesTheErrorLineAndKeepsTheRecords) {
  MemoryStation& unit = link->station(5).unit(0, true).records(4);
  unit.readFails.insert(192 + 24 * 1);
  useList({5}, 4, filesDir.path());
  step();
  Strings got = fileLines(5);
  ASSERT_EQ(got.size(), 2u) << "none of the records, which are saved next time";
  EXPECT_EQ(got[0], header(0));
  EXPECT_EQ(got[1], "\"Could not read info from unit (Unit may be off). Will Retry.\"");
  EXPECT_EQ(main().Label12->text(), "Could not read data from unit.");
  EXPECT_EQ(window().Label10->text(), "Station#5  Count= 4");
  EXPECT_TRUE(writes().empty());
  EXPECT_EQ(unit.regs[138], 4);

  // The next visit saves them all.
  unit.readFails.clear();
  step();
  got = fileLines(5);
  ASSERT_EQ(got.size(), 6u);
  expectRecords(got, 2, {1, 2, 3, 4});
  EXPECT_EQ(unit.regs[138], 0);
}

TEST_F(AutoRetrieveStepTest, FileThatIsNotARegularFileIsReportedAndRecordsKept) {
  ASSERT_TRUE(QDir(filesDir.path()).mkdir("station5.txt"));
  link->station(5).unit(0, true).records(2);
  useList({5}, 2, filesDir.path());
  step();
  const QString text = "Cannot write station5.txt (not a regular file) - records kept in the unit";
  EXPECT_EQ(window().Label10->text(), text);
  EXPECT_EQ(main().Label12->text(), text);
  EXPECT_EQ(link->count("read 1 5 192"), 0);
  EXPECT_TRUE(writes().empty());
  EXPECT_EQ(link->station(5).regs[138], 2);
}

TEST_F(AutoRetrieveStepTest, FailedFileWriteLeavesNoPartOfALineAndKeepsTheRecords) {
  link->station(5).unit(0, true).records(5);
  useList({5}, 5, filesDir.path());
  window();  // loaded before the limit
  for (const size_t room : {size_t(10), logHeaderLine(0).size() + 100}) {
    FileSizeLimit limit(room);
    step();
    EXPECT_EQ(QFileInfo(file(5)).size(), 0) << "no part of the header or of a line";
  }
  const QString text = "Cannot write station5.txt (disk full?) - records kept in the unit";
  EXPECT_EQ(window().Label10->text(), text);
  EXPECT_EQ(main().Label12->text(), text);
  EXPECT_TRUE(writes().empty());
  EXPECT_EQ(link->station(5).regs[138], 5);

  step();  // room again: the header once, then every record once
  const Strings got = fileLines(5);
  ASSERT_EQ(got.size(), 6u);
  EXPECT_EQ(got[0], header(0));
  expectRecords(got, 1, {1, 2, 3, 4, 5});
}

TEST_F(AutoRetrieveStepTest, UnwritableDirectoryFallsBackToTheTemporaryOne) {
  link->station(5).unit(0, true).records(1);
  useList({5}, 1, "/nonexistent/kvlink-logs");
  step();
  const QString temp = tempDir.path() + "/";
  EXPECT_EQ(window().Label7->text(), temp);
  EXPECT_EQ(lines(temp + "station5.txt").size(), 2u);
  EXPECT_EQ(setting("autodir"), "") << "the settings file is not written";
  EXPECT_EQ(link->station(5).regs[138], 0);
  EXPECT_EQ(main().Label12->text(), "Station#5  Records saved to " + temp + "station5.txt");
}

// The file deleted (archived) while a save writes it: the records stay in the unit for the next.
TEST_F(AutoRetrieveStepTest, FileDeletedDuringTheSaveKeepsItsRecordsInTheUnit) {
  MemoryStation& unit = link->station(5).unit(0, true).records(3);
  link->afterCall = [&](const std::string& call) {
    if (call == "read 1 5 134 1") QFile::remove(file(5));
  };
  useList({5}, 3, filesDir.path());
  step();
  link->afterCall = nullptr;
  EXPECT_EQ(unit.regs[138], 3);
  EXPECT_EQ(main().Label12->text(),
            "station5.txt was moved or deleted while saving - records kept in the unit");
  step();
  EXPECT_EQ(recordsIn(5), numbers(1, 3));
  EXPECT_EQ(unit.regs[138], 0);
}

TEST_F(AutoRetrieveStepTest, RecordsLoggedDuringTheSaveAreSavedOnceBeforeTheReset) {
  MemoryStation& unit = link->station(5).unit(0, true).records(3);
  // One record logged while the records are read (moving them all up by
  // one), one while the file is written.
  int logged = 0;
  link->afterCall = [&](const std::string& call) {
    if ((call == "read 1 5 192 18" && logged == 0) || (call == "read 1 5 134 1" && logged == 1)) {
      ++logged;
      unit.records(1);
    }
  };
  useList({5}, 3, filesDir.path());
  step();
  const Strings got = fileLines(5);
  ASSERT_EQ(got.size(), 6u);
  expectRecords(got, 1, {1, 2, 3, 4, 5});
  EXPECT_EQ(writes(), Strings{"write 1 5 134 8"});
  EXPECT_EQ(unit.regs[138], 0);
}

// Logged after the last counter read, unreadable right after the reset: saved next visit.
TEST_F(AutoRetrieveStepTest, RecordLoggedJustBeforeTheResetIsSavedNextVisit) {
  MemoryStation& unit = link->station(5).unit(0, true).records(3);
  std::string previous;
  link->afterCall = [&](const std::string& call) {
    if (call == "read 1 5 138 1" && previous == "read 1 5 134 1" && unit.logged == 3)
      unit.records(1);
    if (call.rfind("write 1 5 134", 0) == 0) unit.readFails = {192};
    if (call == "read 1 5 192 18") unit.readFails.clear();
    previous = call;
  };
  useList({5}, 2, filesDir.path());
  step();
  ASSERT_EQ(unit.logged, 4);
  EXPECT_EQ(unit.regs[138], 0);
  unit.records(2);
  step();
  const Strings got = fileLines(5);
  ASSERT_EQ(got.size(), 7u);
  expectRecords(got, 1, {1, 2, 3, 4, 5, 6});
}

// Alike records (clock off, values still) across restarts: after a normal save with 260 logged
// while down, killed before the reset, with the file's last line edited, and with the unit logging
// during a first visit: each record saved once, in order, or told lost or doubtful.
TEST_F(AutoRetrieveStepTest, AlikeRecordsAcrossRestartsSavedOnceInOrderOrTold) {
  for (const bool modbus : {true, false}) {
    SCOPED_TRACE(modbus ? "Modbus" : "DF1");
    program->linkState.UseModbus = modbus ? 1 : 0;
    const int16_t s = modbus ? 5 : 6;
    MemoryStation& unit = link->station(s).unit(0, true).records(10);
    unit.stillAs = 100;
    useList({s}, 10, filesDir.path());
    const auto alike = [&](int count) {  // each run alike within, told apart from the last
      ++unit.stillAs;
      unit.records(count);
    };
    step();
    alike(260);
    for (int visit = 0; visit < 12 && unit.regs[138] != 0; ++visit) EXPECT_LE(visitReads(), 100);
    alike(20);
    killedBeforeTheReset(s);
    alike(20);
    step();
    alike(12);
    killedBeforeTheReset(s);
    QFile edited(file(s));  // the last value of the last line
    ASSERT_TRUE(edited.open(QIODevice::ReadWrite));
    ASSERT_TRUE(edited.seek(edited.size() - 3));
    edited.write("7");
    edited.close();
    alike(3);
    step();
    alike(150);
    step();  // more than a visit reads: it goes on at the next, with no reset to be killed before
    int exchanges = 0;
    link->afterCall = [&](const std::string&) {
      if (++exchanges % 7 == 0) alike(1);
    };
    const qint64 before = QFileInfo(file(s)).size();
    EXPECT_LE(visitReads(), 100);
    EXPECT_GT(QFileInfo(file(s)).size(), before) << "what the first visit read is in the file";
    for (int visit = 0; visit < 6; ++visit) EXPECT_LE(visitReads(), 100);
    link->afterCall = nullptr;
    m().AutoRecordLimit = 1;
    for (int visit = 0; visit < 12 && unit.regs[138] != 0; ++visit) step();
    const JournalFigures f = checked(s);
    EXPECT_EQ(f.pending, 0);
    EXPECT_EQ(f.told, 10);
    EXPECT_EQ(f.doubled + f.disorder + f.lostUntold + f.broken, 0);
  }
}

// A clock set back, a counter cleared from outside while the program is down, a file cut short
// in a line: no record lost without a word, no line broken by the program.
TEST_F(AutoRetrieveStepTest, ClockSetBackCounterClearedAndCutLineLoseNothingUntold) {
  MemoryStation& unit = link->station(5).unit(0, true).records(40);
  useList({5}, 10, filesDir.path());
  // One record logged between the last counter reading and the reset, 30 s earlier by its clock.
  std::string previous;
  link->afterCall = [&](const std::string& call) {
    if (call == "read 1 5 138 1" && std::exchange(previous, call) == "read 1 5 134 1") {
      unit.clockBack = 30;
      unit.records(1);
    }
    previous = call;
  };
  step();
  link->afterCall = nullptr;
  unit.records(10);
  step();
  // Cleared from outside after 6 more, then 10 logged.
  unit.records(6);
  unit.regs[138] = 0;
  unit.records(10);
  step();
  EXPECT_EQ(fileLines(5).end()[-17],
            "\"Record counter changed by another program or a unit restart: records logged "
            "before this line may be missing\"");
  // Values still, killed before the reset, the clock set back 6 s while down.
  unit.stillAs = 40;
  unit.records(10);
  killedBeforeTheReset(5);
  unit.clockBack = 36;
  unit.records(10);
  step();
  // Cut in the middle of its last line, as by a power loss.
  const qint64 size = QFileInfo(file(5)).size();
  ASSERT_TRUE(QFile::resize(file(5), size - 40));
  unit.stillAs = 0;
  unit.records(10);
  step();
  const JournalFigures f = checked(5);
  EXPECT_EQ(f.saved, f.logged);
  EXPECT_EQ(f.doubled + f.disorder + f.lostUntold + f.told, 0);
  EXPECT_EQ(f.broken, 0) << "the half line completed";
  EXPECT_EQ(unit.regs[138], 0);
}

// Two units logging a record every k-th exchange: each record saved once in order, counted
// lost, or still in the unit; only k = 1 outruns the line.
TEST_F(AutoRetrieveStepTest, UnitsLoggingWhileTheyAreReadLoseNoRecordUntold) {
  for (const bool modbus : {true, false}) {
    for (const int k : {1, 5, 8}) {
      SCOPED_TRACE("k = " + std::to_string(k) + (modbus ? ", Modbus" : ", DF1"));
      program->linkState.UseModbus = modbus ? 1 : 0;
      const int16_t a = static_cast<int16_t>(k * 2 + (modbus ? 0 : 1) + 20), b = a + 20;
      for (const int16_t s : {a, b}) link->station(s).unit(s % 2, true).records(50);
      int exchanges = 0;
      link->afterCall = [&](const std::string&) {
        if (++exchanges % k == 0)
          for (const int16_t s : {a, b}) link->station(s).records(1);
      };
      useList({a, b}, 10, filesDir.path());
      bool overrun = false;
      for (int visit = 0; visit < 84; ++visit) {
        step();
        overrun |=
            main().Label12->text().contains("  Logs faster than it can be read - records lost: ");
      }
      link->afterCall = nullptr;
      long lost = 0;
      for (const int16_t s : {a, b}) {
        const Strings got = fileLines(s);
        int next = 1;  // the header, then records in order and lines counting the lost ones
        for (size_t i = 1; i < got.size(); ++i) {
          const int n = got[i].rfind("\"Records lost: ", 0) == 0 ? std::stoi(got[i].substr(15)) : 0;
          lost += n;
          next += n;
          if (n > 0) continue;
          EXPECT_EQ(got[i].rfind(recordStart(next++), 0), 0u) << s << ": " << got[i];
        }
        const long unsaved = link->station(s).logged - (next - 1);
        EXPECT_TRUE(unsaved >= 0 && unsaved <= link->station(s).regs[138] + 1) << unsaved;
      }
      EXPECT_EQ(lost > 0, k == 1);
      EXPECT_EQ(overrun, k == 1);
    }
  }
}

// A full area is saved oldest first, at most 100 record reads a visit, also across a restart.
TEST_F(AutoRetrieveStepTest, FullAreaSavedOldestFirstAtMostAHundredReadsAVisit) {
  MemoryStation& unit = link->station(5).unit(0, true).records(250);
  unit.regs[138] = 40000;
  useList({5}, 50, filesDir.path());
  EXPECT_LE(visitReads(), 100);
  EXPECT_EQ(window().Label10->text(),
            "Station#5  Records lost: 39750 (overwritten before they could be read)");
  const Strings got = fileLines(5);
  ASSERT_GE(got.size(), 3u);
  EXPECT_EQ(got[1], "\"Records lost: 39750 (logged faster than they could be read)\"");
  expectRecords(got, 2, {1, 2});
  for (int visit = 0; visit < 8 && unit.regs[138] != 0; ++visit) EXPECT_LE(visitReads(), 100);
  EXPECT_EQ(recordsIn(5), numbers(1, 250));
  EXPECT_EQ(unit.regs[138], 0);
}

TEST_F(AutoRetrieveStepTest, Df1AddressesAndCounts) {
  program->linkState.UseModbus = 0;
  program->linkState.CommPort = 2;
  MemoryStation& unit = link->station(9).unit(1, true).records(2);
  unit.regs[134] = 0x12;
  useList({9}, 2, filesDir.path());
  step();
  EXPECT_EQ(link->calls, (Strings{"abread 2 9 334 2", "abread 2 9 532 2", "abread 2 9 768 38",
                                  "abread 2 9 532 2", "abread 2 9 816 38", "abread 2 9 532 2",
                                  "abread 2 9 524 2", "abread 2 9 532 2", "abwrite 2 9 524 26",
                                  "abread 2 9 768 38", "abread 2 9 816 38", "abread 2 9 532 2"}));
  const Strings got = fileLines(9);
  ASSERT_EQ(got.size(), 3u);
  EXPECT_EQ(got[0], header(1));
  expectRecords(got, 1, {1, 2});
}

TEST_F(AutoRetrieveStepTest, ControlWordWithTheResetBitAlreadySetKeepsItsOtherBits) {
  MemoryStation& unit = link->station(5).unit(0, true).records(1);
  unit.regs[134] = 0x19;  // reset bit left set, clock enabled, time and events
  useList({5}, 1, filesDir.path());
  unit.readFails.clear();
  step();
  EXPECT_EQ(writes(), Strings{"write 1 5 134 25"});
}

TEST_F(AutoRetrieveStepTest, WalksTheListOneStationPerStep) {
  link->station(5).unit(0, true).records(2);
  link->station(9).silent = true;
  link->station(12).unit(2, false);
  link->station(30).regs[39] = 0x0740;  // a type the program does not know
  useList({5, 9, 12, 30}, 10, filesDir.path());
  std::vector<int16_t> indexes;
  for (int i = 0; i < 5; ++i) {
    step();
    indexes.push_back(m().AutoStationIndex);
  }
  EXPECT_EQ(indexes, (std::vector<int16_t>{1, 2, 3, 0, 1}));
  EXPECT_EQ(window().Label10->text(), "Station#5  Count= 2");
  EXPECT_EQ(window().Label11->text(), "Station#9  No response (or datalogging not present)");
  EXPECT_EQ(window().Label12->text(), "Station#12  No response (or datalogging not present)");
  EXPECT_EQ(window().Label13->text(), "Station#30  No response (or datalogging not present)");
  EXPECT_EQ(window().Label14->text(), "-");
  EXPECT_EQ(main().Label12->text(), "Station#5  Count= 2");
  EXPECT_EQ(link->count("read 1 12 138"), 0);
  EXPECT_EQ(link->count("read 1 30 138"), 0);
  EXPECT_EQ(m().AutoUnitType, 0);
}

TEST_F(AutoRetrieveStepTest, ListShortenedMeanwhileStartsAgainAtTheTop) {
  link->station(5).unit(0, true).records(1);
  useList({5}, 10, filesDir.path());
  m().AutoStationIndex = 3;
  step();
  EXPECT_EQ(link->count("read 1 5 39"), 1);
  EXPECT_EQ(m().AutoStationIndex, 0);
}

TEST_F(AutoRetrieveStepTest, MenusLockedWhileTheStepWaitsAndOpenAfter) {
  link->station(5).unit(0, true).records(1);
  useList({5}, 1, filesDir.path());
  std::vector<bool> seen;
  host.atNextDoEvents([&] {
    for (QAction* item :
         {main().mnuopen, main().mnusaveset, main().mnuConfigure, main().mnuRetrieve})
      seen.push_back(item->isEnabled());
  });
  main().mnuopen->setEnabled(false);  // as a configuration window leaves it
  step();
  EXPECT_EQ(seen, std::vector<bool>(4, false));
  for (QAction* item : {main().mnuopen, main().mnusaveset, main().mnuConfigure, main().mnuRetrieve})
    EXPECT_TRUE(item->isEnabled());
  EXPECT_TRUE(main().mnuautoretrieve->isEnabled());
}

TEST_F(AutoRetrieveStepTest, LinkClosedDuringTheSaveStopsItWithoutClearing) {
  link->station(5).unit(0, true).records(3);
  useList({5}, 3, filesDir.path());
  host.atNextDoEvents([this] { program->linkState.CommEnabled = 0; });
  step();
  const Strings got = fileLines(5);
  ASSERT_EQ(got.size(), 2u);
  EXPECT_EQ(got[1], errorLine());
  EXPECT_EQ(link->count("read 1 5 216"), 0);
  EXPECT_TRUE(writes().empty());
}

TEST_F(AutoRetrieveStepTest, DisableDuringTheSaveLetsTheStationFinish) {
  link->station(5).unit(0, true).records(2);
  link->station(9).unit(0, true).records(2);
  tickSlot(1, 5);
  tickSlot(2, 9);
  window().Label7->setText(filesDir.path());
  window().SSOption1->click();
  m().AutoRecordLimit = 2;
  host.atNextDoEvents([this] { window().SSOption2->click(); });
  step();
  EXPECT_EQ(m().AutoStationCount, 0);
  EXPECT_EQ(fileLines(5).size(), 3u);
  EXPECT_EQ(link->station(5).regs[138], 0);
  EXPECT_EQ(link->count("read 1 9"), 0);
  EXPECT_EQ(m().AutoStationIndex, 0);
}

TEST_F(AutoRetrieveStepTest, ProgramEndDuringTheSaveCreatesNoWindowAndClearsNothing) {
  link->station(5).unit(0, true).records(3);
  useList({5}, 3, filesDir.path());
  host.atNextDoEvents([this] {
    m().AutoSave.Unload();
    program->ended = true;
  });
  step();
  EXPECT_FALSE(m().AutoSave.loaded());
  EXPECT_TRUE(writes().empty());
  EXPECT_EQ(fileLines(5).back(), errorLine());
}

TEST_F(AutoRetrieveStepTest, PollPassRunsOneStepWhetherOrNotItsStationAnswered) {
  link->station(1).unit(0, true);
  link->station(5).unit(0, true).records(1);
  useList({5}, 10, filesDir.path());
  main().Timer1->start();
  PollCurrentStation(*program);
  EXPECT_EQ(link->count("read 1 5 39"), 1);
  link->station(1).silent = true;
  PollCurrentStation(*program);
  EXPECT_EQ(link->count("read 1 5 39"), 2);
  EXPECT_EQ(main().Label12->text(), "Station#5  Count= 1");
}

// A note deleted, unreadable, put back from an older copy, from another station or out of range,
// after a save whose reset went unanswered, or a file that lost its last LF or CR LF: with the
// unit logging, the first visit saves, and every record is saved once, in order, none told lost.
TEST_F(AutoRetrieveStepTest, WithoutANoteThatFitsEveryRecordIsSavedOnce) {
  enum How { Deleted, Garbled, Older, Other, OutOfRange, CutLf, CutCrLf, CutCrLfNoNote };
  const struct {
    How how;
    int unanswered, logged;
  } cases[] = {{Deleted, 0, 30},    {Garbled, 0, 30}, {Older, 0, 30},        {Other, 0, 30},
               {OutOfRange, 0, 30}, {Deleted, 50, 5}, {Deleted, 50, 30},     {Deleted, 50, 200},
               {CutLf, 0, 30},      {CutCrLf, 0, 30}, {CutCrLfNoNote, 0, 30}};
  for (int16_t s = 11; s < 33; ++s) {
    const auto& c = cases[s % 11];
    MemoryStation& unit = unitAt(s, 12, s < 22);
    step();
    QFile::copy(note(s), note(s) + ".old");
    unit.records(c.unanswered + 12);
    stepResetAnswered(unit, c.unanswered ? kNoAnswer : 0);
    const qint64 size = QFileInfo(file(s)).size();
    if (c.how != CutLf && c.how != CutCrLf) QFile::remove(note(s));
    QFile::copy(c.how == Older ? note(s) + ".old" : note(s - 1), note(s));
    if (QFile garbled(note(s)); c.how == Garbled || c.how == OutOfRange) {
      ASSERT_TRUE(garbled.open(QIODevice::WriteOnly));
      garbled.write(c.how == Garbled ? "\x01" : "saved " + QByteArray::number(size) + " 9\n0\n");
    }
    if (c.how == Deleted || c.how == CutCrLfNoNote) QFile::remove(note(s));
    QFile::resize(file(s), size - (c.how < CutLf ? 0 : c.how == CutLf ? 1 : 2));
    unit.records(c.logged);
    link->afterCall = [&, n = 0](const std::string&) mutable {
      if (++n % 20 == 0) unit.records(1);
    };
    step();
    EXPECT_GT(QFileInfo(file(s)).size(), size) << s << ": the first visit saves";
    for (int visit = 0; visit < 4; ++visit) step();
    EXPECT_EQ(drained(s).told, 0);
    EXPECT_FALSE(fileSays(s, "\r\r")) << s;
  }
}

// A full counter, an area that wrapped while the program was down without a note or after a reset
// done but unanswered: the records the unit holds are saved once, the loss told at least or at
// most.
TEST_F(AutoRetrieveStepTest, FullCounterOrWrappedAreaSavesWhatTheUnitHoldsAndBoundsTheLoss) {
  const char* lost[] = {"at least 65285", "at least 65285", "at most 51", "at most 51"};
  for (int16_t s = 40; s < 48; ++s) {
    MemoryStation& unit = unitAt(s, 10, s < 44);
    link->afterCall = [&](const std::string& call) {
      if (call.find("write") != std::string::npos) unit.regs[138] = 0;
    };
    stepResetAnswered(unit, s % 4 == 3 ? kNoAnswer : 0);
    unit.records(300);
    if (s % 4 < 2) unit.regs[138] = 0xFFFF;
    if (s % 4 == 1 || s % 4 == 2) QFile::remove(note(s));
    EXPECT_EQ(drained(s).saved, 260);
    EXPECT_TRUE(fileSays(s, QByteArray("\"Records lost: ") + lost[s % 4] + " (logged")) << s;
  }
}

// A unit logging two records every fourth or fifth exchange, about as fast as a slow line reads
// them, or alike records once every 6 to 16 exchanges with no fault: every visit saves, or keeps
// up with no status that speaks of a loss; each record is saved once, in order, or told.
TEST_F(AutoRetrieveStepTest, UnitsLoggingAsTheyAreReadAreKeptUpWith) {
  for (int16_t s = 50; s < 56; ++s) {
    const bool alike = s < 52;
    MemoryStation& unit = unitAt(s, alike ? 10 : 30, s % 2 == 0);
    if (alike) unit.stillAs = 7;
    link->afterCall = [&, next = alike ? 6 : 4 + s / 2 % 2](const std::string&) mutable {
      if (--next == 0)
        unit.records(alike ? 1 : 2), next = alike ? 6 + unit.logged % 11 : 4 + s / 2 % 2;
    };
    for (int visit = 0; visit < (alike ? 1000 : 8); ++visit) {
      const size_t before = recordsIn(s).size();
      step();
      EXPECT_TRUE(alike ? !main().Label12->text().contains("lost") && unit.regs[138] < 250
                        : recordsIn(s).size() > before)
          << s << ", visit " << visit;
    }
    EXPECT_TRUE(drained(s).told == 0 || !alike);
  }
}

// A read failure in the third part of a backlog, a refused reset, a kill between an append and the
// note saying so, a kill part way through an append, a reset done but unanswered with a record
// logged just before it (records apart without the note, alike with it): every record once, in
// order, and no line that speaks of doubt or of a changed counter where records read apart.
TEST_F(AutoRetrieveStepTest, KillsAndUnansweredOrRefusedResetsSaveEveryRecordOnce) {
  for (int16_t s = 2; s < 4; ++s) {
    MemoryStation& unit = unitAt(s, 30, s == 2);
    const auto logged = [&](int still, int count) { unit.stillAs = still, unit.records(count); };
    const auto untold = [&] { EXPECT_FALSE(fileSays(s, "doubtful") || fileSays(s, "changed")); };
    unit.readFails = {192 + 24 * 5};
    step();
    EXPECT_EQ(recordsIn(s).size(), 20u);
    unit.readFails.clear();
    for (const bool killed : {false, true}) {  // ten records logged, then the same again
      for (int k = 60; k < 70; ++k) logged(k, 1);
      step();
      for (int k = 60; k < 70; ++k) logged(k, 1);
      const std::optional<SaveNote> before = readSaveNote(note(s).toStdString());
      stepResetAnswered(unit, 35);
      const std::optional<SaveNote> after = readSaveNote(note(s).toStdString());
      if (killed)
        writeSaveNote(note(s).toStdString(),
                      {before->saved, before->fileSize, after->saved, after->fileSize});
      logged(0, 3);
      step();
      untold();
    }
    logged(0, 30);
    EXPECT_EXIT(
        {  // in the first line of the append
          FileSizeLimit limit(rlim_t(QFileInfo(file(s)).size() + lines(file(s)).back().size() / 2));
          ::signal(SIGXFSZ, SIG_DFL);
          step();
        },
        testing::KilledBySignal(SIGXFSZ), "");
    step();
    untold();
    for (const bool noted : {false, true}) {
      logged(noted ? 70 : 0, 12);
      link->afterCall = [&](const std::string& call) {
        if (call.find("write") != std::string::npos) unit.records(1), unit.regs[138] = 0;
      };
      stepResetAnswered(unit, kNoAnswer);
      if (!noted) QFile::remove(note(s));
      logged(0, 5);
      step();
      if (!noted) untold();
    }
    EXPECT_FALSE(fileSays(s, "changed"));
    EXPECT_EQ(drained(s).told, 0);
  }
}

}  // namespace
}  // namespace kvlink::test
