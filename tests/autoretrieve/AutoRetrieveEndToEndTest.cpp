// Auto retrieve in the whole program on a simulated line of relays over a
// pseudo-terminal, in Modbus RTU and in DF1 with both error checks: the
// start-up restores the list from gridmon.ini, and the poll passes save each
// station's logged records to its file, each once and oldest first, also
// while the units go on logging, and reset the unit's counter.
#include <QFile>
#include <QTemporaryDir>
#include <functional>

#include "AutoRetrieveModule.h"
#include "FileSizeLimit.h"
#include "Form1.h"
#include "Install.h"
#include "LogRecordDecode.h"
#include "LogRecordLine.h"
#include "PollPass.h"
#include "SettingsFile.h"
#include "SimulatedLine.h"
#include "Startup.h"
#include "UnitRegisters.h"
#include "platform/Profile.h"

namespace kvlink::test {
namespace {

using Strings = std::vector<std::string>;

constexpr int kMotor = 5, kFeeder = 9, kNoLogger = 12;

class AutoRetrieveEndToEndTest : public EndToEndTest {
 protected:
  void SetUp() override {
    ASSERT_TRUE(filesDir.isValid());
    line->addStation(kMotor, 0, true);
    line->addStation(kFeeder, 1, true);
    line->addStation(kNoLogger, 2, false);
    for (int station : {kMotor, kFeeder, kNoLogger}) line->setReg(station, sim::kSampleInterval, 0);
    ASSERT_TRUE(startLine());
    makeProgram();
    installSubsystems(*program);
  }

  static void set(const std::string& key, const std::string& value) {
    ASSERT_TRUE(WriteIni(kSettingsSection, key, value, kSettingsFile));
  }
  // gridmon.ini with the link on COM 3 opened at start and this list.
  void writeSettings(const Strings& stations, int limit) {
    set(kPortKey, "3");
    set(kBaudKey, "9600");
    set(kProtocolKey, modbus() ? "1" : "0");
    set(kCheckModeKey, std::to_string(checkMode()));
    set(kStationKey, std::to_string(kMotor));
    set(kAutoStartKey, "1");
    set("autorclimit", std::to_string(limit));
    set("autodir", filesDir.path().toStdString());
    set("autostationnum", std::to_string(stations.size()));
    const char* keys[] = {"autostationa", "autostationb", "autostationc"};
    for (size_t i = 0; i < stations.size(); ++i) set(keys[i], stations[i]);
    set("autoretrieve", "1");
  }
  // The unit logs `count` more records, one a second; the others log none.
  // (A simulated unit starts with a few records of its own.)
  void logRecords(int station, int count) {
    const uint16_t before = line->reg(station, sim::kRecordCounter);
    line->setReg(station, sim::kSampleInterval, 1);
    line->advance(count);
    line->setReg(station, sim::kSampleInterval, 0);
    ASSERT_EQ(line->reg(station, sim::kRecordCounter), before + count);
  }
  AutoRetrieveModule& m() { return program->module<AutoRetrieveModule>(); }
  void pass() { PollCurrentStation(*program); }

  Strings fileLines(int station) {
    QFile file(filesDir.filePath(QStringLiteral("station%1.txt").arg(station)));
    Strings found;
    if (!file.open(QIODevice::ReadOnly)) return found;
    for (const QByteArray& l : file.readAll().split('\n'))
      if (!l.isEmpty()) found.push_back(l.toStdString() + "\n");
    return found;
  }
  // The lines of the unit's records `from` down to 0, as the file must hold them.
  Strings expectedLines(int station, int16_t type, int from) {
    Strings expected;
    for (int n = from; n >= 0; --n) {
      const std::vector<uint16_t> words = line->regs(station, 192 + 24 * n, 24);
      LogRecordValues values;
      EXPECT_TRUE(decodeLogRecord(values, words, type));
      expected.push_back(logRecordLine(values, type));
    }
    return expected;
  }

  QTemporaryDir filesDir;
};

TEST_P(AutoRetrieveEndToEndTest, StartUpRestoresTheListAndThePollSavesEachStation) {
  logRecords(kMotor, 12);
  logRecords(kFeeder, 1);
  const int motorCount = line->reg(kMotor, sim::kRecordCounter);
  const int feederCount = line->reg(kFeeder, sim::kRecordCounter);
  ASSERT_LT(feederCount, 10) << "below the limit";
  const QString feederStatus = QStringLiteral("Station#9  Count= %1").arg(feederCount);
  const uint16_t control = line->reg(kMotor, sim::kLoggerControl);
  writeSettings({"5", "9", "12"}, 10);
  Form1_Form_Load(*program);
  ASSERT_TRUE(program->Form1().Timer1->isActive());
  ASSERT_EQ(m().AutoStationCount, 3);
  EXPECT_TRUE(m().AutoSave().SSOption1->isChecked());

  pass();
  ASSERT_EQ(program->poll.PollStatus, 0);
  Strings expected{logHeaderLine(0)};
  for (const std::string& l : expectedLines(kMotor, 0, motorCount - 1)) expected.push_back(l);
  EXPECT_EQ(fileLines(kMotor), expected);
  EXPECT_EQ(line->reg(kMotor, sim::kRecordCounter), 0);
  EXPECT_EQ(line->reg(kMotor, sim::kLoggerControl), control) << "the other bits kept";
  EXPECT_EQ(m().AutoSave().Label10->text(), QStringLiteral("Station#5  Count= %1").arg(motorCount));

  pass();
  EXPECT_EQ(m().AutoSave().Label11->text(), feederStatus);
  EXPECT_EQ(program->Form1().Label12->text(), feederStatus);
  EXPECT_TRUE(fileLines(kFeeder).empty());
  EXPECT_EQ(line->reg(kFeeder, sim::kRecordCounter), feederCount);

  pass();
  EXPECT_EQ(m().AutoSave().Label12->text(), "Station#12  No response (or datalogging not present)");

  // Back at the top of the list: new records are appended under the header.
  logRecords(kMotor, 10);
  const Strings more = expectedLines(kMotor, 0, 9);
  pass();
  const Strings got = fileLines(kMotor);
  ASSERT_EQ(got.size(), size_t(1 + motorCount + 10));
  EXPECT_EQ(Strings(got.begin() + 1 + motorCount, got.end()), more);
  EXPECT_EQ(line->reg(kMotor, sim::kRecordCounter), 0);
  EXPECT_TRUE(host.boxes().empty());
}

TEST_P(AutoRetrieveEndToEndTest, FeederStationSavedInItsFamilysFormat) {
  logRecords(kFeeder, 10);
  const int count = line->reg(kFeeder, sim::kRecordCounter);
  writeSettings({"9"}, 10);
  Form1_Form_Load(*program);
  pass();
  Strings expected{logHeaderLine(1)};
  for (const std::string& l : expectedLines(kFeeder, 1, count - 1)) expected.push_back(l);
  EXPECT_EQ(fileLines(kFeeder), expected);
  EXPECT_EQ(line->reg(kFeeder, sim::kRecordCounter), 0);
}

TEST_P(AutoRetrieveEndToEndTest, UnitGoneQuietDuringTheSaveKeepsItsRecords) {
  logRecords(kMotor, 10);
  const int count = line->reg(kMotor, sim::kRecordCounter);
  writeSettings({"5"}, 10);
  Form1_Form_Load(*program);
  // The unit goes quiet once the first record was read (the pass pumps
  // events before the step too).
  std::function<void()> quietAfterFirstRecord = [&] {
    if (m().AutoRecordCount == 0)
      host.atNextDoEvents(quietAfterFirstRecord);
    else
      line->setFault(kMotor, sim::Fault{sim::FaultKind::Silent});
  };
  host.atNextDoEvents(quietAfterFirstRecord);
  pass();
  Strings got = fileLines(kMotor);
  ASSERT_EQ(got.size(), 2u);
  EXPECT_EQ(got[1], logReadErrorLine());
  EXPECT_EQ(program->Form1().Label12->text(), "Could not read data from unit.");
  line->clearFault(kMotor);
  EXPECT_EQ(line->reg(kMotor, sim::kRecordCounter), count);

  pass();
  got = fileLines(kMotor);
  ASSERT_EQ(got.size(), size_t(2 + count));
  EXPECT_EQ(Strings(got.begin() + 2, got.end()), expectedLines(kMotor, 0, count - 1));
  EXPECT_EQ(line->reg(kMotor, sim::kRecordCounter), 0);
}

// Both units log faster than a station's records can be saved: records come
// in while every save reads them and while it writes the file, and the disk
// is full for one save. Every record logged is in the file once, in logging
// order, or still counted in the unit; no line is cut short.
TEST_P(AutoRetrieveEndToEndTest, SteadyLoggingSavesEveryRecordOnce) {
  const int stations[] = {kMotor, kFeeder};
  const int16_t types[] = {0, 1};
  std::vector<Strings> logged(2);
  const auto logOne = [&](int i) {
    line->setReg(stations[i], sim::kSampleInterval, 1);
    line->advance(1);
    line->setReg(stations[i], sim::kSampleInterval, 0);
    logged[i].push_back(expectedLines(stations[i], types[i], 0)[0]);
  };
  for (int i : {0, 1}) line->setReg(stations[i], sim::kRecordCounter, 0);  // earlier records out
  for (int n = 0; n < 12; ++n) logOne(n % 2);
  writeSettings({"5", "9"}, 10);
  Form1_Form_Load(*program);
  ASSERT_EQ(m().AutoStationCount, 2);
  // While the step reads a station, one record every third pump of events,
  // by turns at one unit and the other.
  int pumps = 0;
  bool steady = true;
  std::function<void()> logging = [&] {
    if (!steady) return;
    if (++pumps % 3 == 0) logOne(pumps / 3 % 2);
    host.atNextDoEvents(logging);
  };
  host.atNextDoEvents(logging);

  const QString diskFull = "Cannot write station9.txt (disk full?) - records kept in the unit";
  bool diskWasFull = false;  // at the first save of station 9 from visit 13 on
  for (int visit = 0; visit < 40; ++visit) {
    if (visit >= 13 && visit % 2 == 1 && !diskWasFull) {
      FileSizeLimit full(1);
      pass();
      diskWasFull = m().AutoSave().Label11->text() == diskFull;
    } else {
      pass();
    }
    if (visit % 2 == 0) logOne(1);  // also between the visits
  }
  steady = false;
  EXPECT_TRUE(diskWasFull);

  for (int i : {0, 1}) {
    const Strings got = fileLines(stations[i]);
    const size_t inUnit = line->reg(stations[i], sim::kRecordCounter);
    ASSERT_GE(logged[i].size(), 60u);
    ASSERT_LT(inUnit, 60u);
    // Records read straight after a reset are saved and still counted.
    const size_t unsaved = logged[i].size() - (got.size() - 1);
    ASSERT_LE(unsaved, inUnit) << "station " << stations[i];
    Strings saved{logHeaderLine(types[i])};
    saved.insert(saved.end(), logged[i].begin(), logged[i].end() - unsaved);
    EXPECT_EQ(got, saved) << "station " << stations[i];
    EXPECT_EQ(expectedLines(stations[i], types[i], inUnit - 1),
              Strings(logged[i].end() - inUnit, logged[i].end()));
  }
}

INSTANTIATE_TEST_SUITE_P(Lines, AutoRetrieveEndToEndTest, ::testing::ValuesIn(kLineCases),
                         lineCaseName);

}  // namespace
}  // namespace kvlink::test
