// Steady logging end to end: the whole program on the relay simulator, which
// paces every character at the line rate, started from gridmon.ini with its
// real one-second poll and auto retrieve on (record limit 10), every unit
// logging one record a second. After the run each station file is held
// against every record the unit logged meanwhile:
//   logged    records the unit logged during the run
//   saved     of these, in the file
//   lost      logged before the newest one saved, not in the file
//   told      records counted on the file's "Records lost" lines
//   doubled   record lines in the file more than once
//   disorder  record lines older than the one before them
//   pending   logged after the newest one saved (still in the unit)
//   errors    "Could not read info" lines
//
//   bench_logging --protocol modbus|df1_crc|df1_bcc --baud N --stations 1|2 --seconds S
//
// Prints one line per station: protocol baud stations seconds station and
// the figures above.
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTimer>
#include <cstdio>
#include <cstring>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "Form1.h"
#include "Install.h"
#include "LogRecordDecode.h"
#include "LogRecordLine.h"
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
};

constexpr int16_t kStationTypes[] = {0, 1};  // station 1 a motor unit, station 2 a feeder unit

struct Figures {
  long logged = 0, saved = 0, lost = 0, told = 0, doubled = 0, disorder = 0, pending = 0,
       errors = 0;
};

std::vector<std::string> fileLines(const QString& path) {
  QFile file(path);
  std::vector<std::string> lines;
  if (!file.open(QIODevice::ReadOnly)) return lines;
  for (const QByteArray& line : file.readAll().split('\n'))
    if (!line.isEmpty()) lines.push_back(line.toStdString() + "\n");
  return lines;
}

Figures compare(const std::vector<std::vector<uint16_t>>& journal, int16_t type,
                const std::vector<std::string>& lines) {
  Figures f;
  f.logged = long(journal.size());
  std::map<std::string, long> order;  // record line -> place in the journal
  for (size_t i = 0; i < journal.size(); ++i) {
    LogRecordValues values;
    decodeLogRecord(values, journal[i], type);
    order.emplace(logRecordLine(values, type), long(i));
  }
  const std::string lostPrefix = "\"Records lost: ";
  std::map<long, int> seen;
  long previous = -1, newest = -1;
  for (const std::string& line : lines) {
    if (line.rfind(lostPrefix, 0) == 0) {
      f.told += std::stol(line.substr(lostPrefix.size()));
    } else if (line == logReadErrorLine()) {
      ++f.errors;
    } else if (auto found = order.find(line); found != order.end()) {
      if (++seen[found->second] > 1) ++f.doubled;
      if (found->second <= previous) ++f.disorder;
      previous = found->second;
      newest = std::max(newest, found->second);
    }
  }
  f.saved = long(seen.size());
  f.lost = newest + 1 - f.saved;
  f.pending = f.logged - newest - 1;
  return f;
}

bool parse(int argc, char** argv, Options& o) {
  for (int i = 1; i + 1 < argc; i += 2) {
    const std::string key = argv[i], value = argv[i + 1];
    if (key == "--protocol")
      o.protocol = value;
    else if (key == "--baud")
      o.baud = std::stoi(value);
    else if (key == "--stations")
      o.stations = std::stoi(value);
    else if (key == "--seconds")
      o.seconds = std::stoi(value);
    else
      return false;
  }
  return (o.protocol == "modbus" || o.protocol == "df1_crc" || o.protocol == "df1_bcc") &&
         (o.stations == 1 || o.stations == 2) && o.seconds > 0;
}

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
  for (int s = 1; s <= o.stations; ++s) {
    line.setReg(s, sim::kSampleInterval, 1);
    line.setReg(s, sim::kRecordCounter, 0);
    line.keepJournal(s);
  }
  qputenv("KVLINK_COM1", QByteArray::fromStdString(line.devicePath()));

  const auto set = [](const std::string& key, const std::string& value) {
    WriteIni("Settings", key, value, "gridmon.ini");
  };
  WriteIni("misc", "kesf", "-", "gridmon.ini");
  WriteIni("misc", "gene", "-", "gridmon.ini");
  set("port", "1");
  set("baud", std::to_string(o.baud));
  set("protocol", modbus ? "1" : "0");
  set("checkmode", protocol == sim::Protocol::Df1Bcc ? "1" : "0");
  set("station", "1");
  set("autostart", "1");
  set("autorclimit", "10");
  set("autodir", files.toStdString());
  set("autostationnum", std::to_string(o.stations));
  set("autostationa", "1");
  set("autostationb", "2");
  set("autoretrieve", "1");

  ScriptedHost host;
  auto program = std::make_unique<Program>(host, std::make_unique<SerialLinkLibrary>());
  installSubsystems(*program);
  Form1_Form_Load(*program);
  if (!program->Form1().Timer1->isActive()) {
    std::fprintf(stderr, "bench_logging: the poll did not start\n");
    return 1;
  }
  line.setFrozen(false);
  QTimer::singleShot(o.seconds * 1000, [] { QCoreApplication::quit(); });
  QCoreApplication::exec();
  program->Form1().Timer1->stop();
  line.setFrozen(true);

  for (int s = 1; s <= o.stations; ++s) {
    const Figures f = compare(line.journal(s), kStationTypes[s - 1],
                              fileLines(files + QStringLiteral("/station%1.txt").arg(s)));
    std::printf("%s %d %d %d %d %ld %ld %ld %ld %ld %ld %ld %ld\n", o.protocol.c_str(), o.baud,
                o.stations, o.seconds, s, f.logged, f.saved, f.lost, f.told, f.doubled, f.disorder,
                f.pending, f.errors);
  }
  program->unloadAll();
  program.reset();
  line.stop();
  return 0;
}

}  // namespace
}  // namespace kvlink

int main(int argc, char** argv) {
  kvlink::Options options;
  if (!kvlink::parse(argc, argv, options)) {
    std::fprintf(stderr,
                 "usage: bench_logging --protocol modbus|df1_crc|df1_bcc --baud N "
                 "--stations 1|2 --seconds S\n");
    return 2;
  }
  if (qgetenv("QT_QPA_PLATFORM").isEmpty()) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  return kvlink::run(options);
}
