// Steady logging end to end: the whole program on the relay simulator, which
// paces every character at the line rate, started from gridmon.ini with its
// real one-second poll and auto retrieve on (record limit 10), every unit
// logging one record a second. After the run each station file is held,
// record by record and in order, against the journal of every record the unit
// logged meanwhile (JournalCheck.h):
//   logged    records the unit logged during the run
//   saved     of these, in the file
//   doubled   record lines repeating the one before, untold
//   doubtful  repeats told by a "Records doubtful" line
//   silent    records left out of the file, untold
//   told      records counted on the file's "Records lost" lines
//   disorder  record lines older than the one before them
//   pending   logged after the newest one saved (still in the unit)
//   broken    lines that are none of these, or a second header line
//
//   bench_logging --protocol modbus|df1_crc|df1_bcc --baud N --stations 1|2 --seconds S
//                 [--kills K] [--still] [--note-deleted] [--note-older] [--counter-full]
//                 [--check]
//
// --kills K runs the real program (kvlink27) in place of the one in this
// process and kills it (SIGKILL) K times at random moments, starting it again
// each time. --still turns the units' logger clocks off and holds their
// meters after a few seconds, letting them move once every 5 to 9 seconds:
// records come in runs that read alike. With either, after the run the units
// stop logging and the program saves until no record is left in the units, so
// every record logged is saved or told lost. Before each start but the first,
// --note-deleted deletes the station's note, --note-older puts back the one of
// two stops earlier. --counter-full: 300 records logged and the counter full
// (65535) at the start. --check ends with 1 when a record was doubled, lost
// untold or out of order, a line is broken, or one the unit held is not saved.
//
// Prints one line per station: protocol baud stations seconds station kills
// and the figures above.
#include <signal.h>

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include <QTimer>
#include <atomic>
#include <cstdio>
#include <cstring>
#include <map>
#include <memory>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "AutoRetrieveModule.h"
#include "Form1.h"
#include "Install.h"
#include "JournalCheck.h"
#include "LogRecordDecode.h"
#include "LogRecordLine.h"
#include "PollPass.h"
#include "Program.h"
#include "ScriptedHost.h"
#include "Startup.h"
#include "UnitRegisters.h"
#include "UnitSimulator.h"
#include "link/SerialLinkLibrary.h"
#include "platform/Profile.h"

namespace kvlink {
namespace {

struct Options {
  std::string protocol = "modbus";
  int baud = 9600;
  int stations = 1;
  int seconds = 120;
  int kills = 0;
  bool still = false;
  bool noteDeleted = false;
  bool noteOlder = false;
  bool counterFull = false;
  bool check = false;
};

constexpr int16_t kStationTypes[] = {0, 1};  // station 1 a motor unit, station 2 a feeder unit

std::vector<std::string> fileLines(const QString& path) {
  QFile file(path);
  std::vector<std::string> lines;
  if (!file.open(QIODevice::ReadOnly)) return lines;
  for (const QByteArray& line : file.readAll().split('\n'))
    if (!line.isEmpty()) lines.push_back(line.toStdString() + "\n");
  return lines;
}

// The station file held against the unit's journal record by record.
JournalFigures compare(const std::vector<std::vector<uint16_t>>& journal, int16_t type,
                       const std::vector<std::string>& lines) {
  std::vector<std::string> logged;
  for (const std::vector<uint16_t>& words : journal) {
    LogRecordValues values;
    decodeLogRecord(values, words, type);
    logged.push_back(logRecordLine(values, type));
  }
  return checkAgainstJournal(logged, lines, logHeaderLine(type));
}

bool parse(int argc, char** argv, Options& o) {
  for (int i = 1; i < argc; ++i) {
    const std::string key = argv[i];
    const std::map<std::string, bool*> flags = {{"--still", &o.still},
                                                {"--check", &o.check},
                                                {"--note-deleted", &o.noteDeleted},
                                                {"--note-older", &o.noteOlder},
                                                {"--counter-full", &o.counterFull}};
    if (const auto flag = flags.find(key); flag != flags.end()) {
      *flag->second = true;
      continue;
    }
    if (i + 1 == argc) return false;
    const std::string value = argv[++i];
    if (key == "--protocol")
      o.protocol = value;
    else if (key == "--baud")
      o.baud = std::stoi(value);
    else if (key == "--stations")
      o.stations = std::stoi(value);
    else if (key == "--seconds")
      o.seconds = std::stoi(value);
    else if (key == "--kills")
      o.kills = std::stoi(value);
    else
      return false;
  }
  return (o.protocol == "modbus" || o.protocol == "df1_crc" || o.protocol == "df1_bcc") &&
         (o.stations == 1 || o.stations == 2) && o.seconds > 0 && o.kills >= 0;
}

void setSetting(const std::string& key, const std::string& value) {
  WriteIni("Settings", key, value, "gridmon.ini");
}

// The real program, started from gridmon.ini and killed at random moments.
class KilledProgram {
 public:
  explicit KilledProgram(const QString& settingsDirectory, const std::string& device) {
    env_ = QProcessEnvironment::systemEnvironment();
    env_.insert("KVLINK_WINDIR", settingsDirectory);
    env_.insert("KVLINK_COM1", QString::fromStdString(device));
    env_.insert("QT_QPA_PLATFORM", "offscreen");
  }
  // Runs it `kills` times, each for a random time around seconds / kills,
  // `beforeRestart` before each start but the first.
  void runKilled(int kills, int seconds, std::mt19937& random,
                 const std::function<void()>& beforeRestart) {
    const int mean = std::max(1, seconds * 1000 / kills);
    for (int k = 0; k < kills; ++k) {
      if (k > 0) beforeRestart();
      runFor(500 + int(random() % unsigned(2 * mean)));
    }
  }
  // Runs it until `done` holds (at most `seconds`), then kills it.
  void runUntil(const std::function<bool()>& done, int seconds) {
    start();
    QElapsedTimer clock;
    clock.start();
    while (!done() && clock.elapsed() < seconds * 1000) QThread::msleep(200);
    kill();
  }

 private:
  void start() {
    process_.setProcessEnvironment(env_);
    // $KVLINK27_PROGRAM, else the one built beside this tool.
    process_.start(qEnvironmentVariable("KVLINK27_PROGRAM", QStringLiteral(KVLINK27_EXECUTABLE)),
                   {});
    process_.waitForStarted();
  }
  void kill() {
    ::kill(pid_t(process_.processId()), SIGKILL);
    process_.waitForFinished();
  }
  void runFor(int milliseconds) {
    start();
    QThread::msleep(unsigned(milliseconds));
    kill();
  }
  QProcessEnvironment env_;
  QProcess process_;
};

int run(const Options& o) {
  const bool modbus = o.protocol == "modbus";
  const sim::Protocol protocol = modbus                    ? sim::Protocol::Modbus
                                 : o.protocol == "df1_crc" ? sim::Protocol::Df1Crc
                                                           : sim::Protocol::Df1Bcc;
  QTemporaryDir dir;
  const QString files = dir.filePath("files");
  QDir().mkpath(files);
  qputenv("KVLINK_WINDIR", dir.path().toUtf8());

  sim::UnitSimulator line(
      sim::SimOptions{protocol, o.baud, true, dir.filePath("line").toStdString()});
  for (int s = 1; s <= o.stations; ++s) line.addStation(s, kStationTypes[s - 1]);
  line.setFrozen(true);
  if (!line.start()) {
    std::fprintf(stderr, "bench_logging: no pseudo-terminal\n");
    return 1;
  }
  // With --counter-full, this many records logged before the start.
  const int before = o.counterFull ? 300 : 0;
  for (int s = 1; s <= o.stations; ++s) {
    line.setReg(s, sim::kSampleInterval, 1);
    line.setReg(s, sim::kRecordCounter, 0);
    line.keepJournal(s);
  }
  line.advance(before);
  for (int s = 1; s <= o.stations && o.counterFull; ++s)
    line.setReg(s, sim::kRecordCounter, 0xFFFF);
  qputenv("KVLINK_COM1", QByteArray::fromStdString(line.devicePath()));

  WriteIni("misc", "kesf", "-", "gridmon.ini");
  WriteIni("misc", "gene", "-", "gridmon.ini");
  setSetting("port", "1");
  setSetting("baud", std::to_string(o.baud));
  setSetting("protocol", modbus ? "1" : "0");
  setSetting("checkmode", protocol == sim::Protocol::Df1Bcc ? "1" : "0");
  setSetting("station", "1");
  setSetting("autostart", "1");
  setSetting("autorclimit", "10");
  setSetting("autodir", files.toStdString());
  setSetting("autostationnum", std::to_string(o.stations));
  setSetting("autostationa", "1");
  setSetting("autostationb", "2");
  setSetting("autoretrieve", "1");

  // With --still, after a few records of their own the units' clocks go off
  // and their meters stand still but for one second every 5 to 9 seconds.
  const auto standStill = [&] {
    for (int s = 1; s <= o.stations; ++s) {
      line.setReg(s, sim::kLoggerControl, sim::kLogTimeAndEvents);
      line.holdMeters(s, true);
    }
  };
  constexpr int kOwnRecordsMs = 3500;
  std::atomic<bool> running{true};
  std::thread runs([&] {
    // A full counter: the units log once the program has reset it, so that
    // it finds what they held at the start.
    for (int s = 1; s <= o.stations && o.counterFull; ++s)
      while (running && line.reg(s, sim::kRecordCounter) == 0xFFFF) QThread::msleep(20);
    line.setFrozen(false);
    std::mt19937 random(unsigned(o.seconds));
    QThread::msleep(kOwnRecordsMs);
    if (!o.still) return;
    standStill();
    while (running) {
      for (int ms = 5000 + int(random() % 4000); ms > 0 && running; ms -= 100) QThread::msleep(100);
      for (int s = 1; s <= o.stations; ++s) line.holdMeters(s, false);
      QThread::msleep(1000);
      for (int s = 1; s <= o.stations; ++s) line.holdMeters(s, true);
    }
  });

  // After the run: no more logging, and every record left saved.
  const bool drain = o.kills > 0 || o.still;
  const auto unitsEmpty = [&] {
    for (int s = 1; s <= o.stations; ++s)
      if (line.reg(s, sim::kRecordCounter) != 0) return false;
    return true;
  };

  if (o.kills > 0) {
    KilledProgram program(dir.path(), line.devicePath());
    std::mt19937 random(unsigned(o.baud + o.stations * 7 + o.kills * 131));
    line.setFrozen(o.counterFull);
    int stop = 0;
    program.runKilled(o.kills, o.seconds, random, [&] {
      for (int s = 1; s <= o.stations; ++s) {
        const QString note = files + QStringLiteral("/station%1.note").arg(s);
        QFile::copy(note, note + QString::number(stop));
        if (o.noteDeleted || (o.noteOlder && stop >= 2)) QFile::remove(note);
        if (o.noteOlder) QFile::copy(note + QString::number(stop - 2), note);
      }
      ++stop;
    });
    running = false;
    runs.join();
    line.setFrozen(true);
    // The units' last records logged at once, up to the record limit, until
    // none is left.
    program.runUntil(
        [&] {
          bool due = false;
          for (int s = 1; s <= o.stations; ++s) due = due || line.reg(s, sim::kRecordCounter) >= 10;
          if (!due && !unitsEmpty()) line.advance(10);
          return unitsEmpty();
        },
        600);
  } else {
    ScriptedHost host;
    auto program = std::make_unique<Program>(host, std::make_unique<SerialLinkLibrary>());
    installSubsystems(*program);
    Form1_Form_Load(*program);
    if (!program->Form1().Timer1->isActive()) {
      std::fprintf(stderr, "bench_logging: the poll did not start\n");
      return 1;
    }
    line.setFrozen(o.counterFull);
    QTimer::singleShot(o.seconds * 1000, [] { QCoreApplication::quit(); });
    QCoreApplication::exec();
    running = false;
    runs.join();
    line.setFrozen(true);
    if (drain) {
      program->module<AutoRetrieveModule>().AutoRecordLimit = 1;
      for (int pass = 0; pass < 200 && !unitsEmpty(); ++pass) PollCurrentStation(*program);
    }
    program->Form1().Timer1->stop();
    program->unloadAll();
    program.reset();
  }

  bool sound = true;
  for (int s = 1; s <= o.stations; ++s) {
    const JournalFigures f = compare(line.journal(s), kStationTypes[s - 1],
                                     fileLines(files + QStringLiteral("/station%1.txt").arg(s)));
    // Every record the units held at the start saved, or overwritten before it
    // could be read and told exactly.
    const long atLeast = o.counterFull ? 65535 - 250 : 0;
    sound = sound && f.sound() &&
            f.saved + std::max(0, before - 250) + std::max(0L, f.told - atLeast) >= f.logged;
    std::printf("%s %d %d %d %d %d %ld %ld %ld %ld %ld %ld %ld %ld %ld\n", o.protocol.c_str(),
                o.baud, o.stations, o.seconds, s, o.kills, f.logged, f.saved, f.doubled, f.doubtful,
                f.lostUntold, f.told, f.disorder, f.pending, f.broken);
  }
  line.stop();
  return o.check && !sound ? 1 : 0;
}

}  // namespace
}  // namespace kvlink

int main(int argc, char** argv) {
  kvlink::Options options;
  if (!kvlink::parse(argc, argv, options)) {
    std::fprintf(stderr,
                 "usage: bench_logging --protocol modbus|df1_crc|df1_bcc --baud N "
                 "--stations 1|2 --seconds S [--kills K] [--still] [--check]\n");
    return 2;
  }
  if (qgetenv("QT_QPA_PLATFORM").isEmpty()) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  return kvlink::run(options);
}
