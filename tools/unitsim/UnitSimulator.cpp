#include "UnitSimulator.h"

#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <deque>

#include "Df1StationLine.h"
#include "LineWriter.h"
#include "ModbusStationLine.h"

namespace kvlink::sim {

UnitSimulator::UnitSimulator(SimOptions options) : options_(std::move(options)) {
  pace_ = options_.pace;
  if (pipe2(wake_, O_CLOEXEC | O_NONBLOCK) != 0) wake_[0] = wake_[1] = -1;
}

UnitSimulator::~UnitSimulator() {
  stop();
  for (int fd : wake_) {
    if (fd >= 0) ::close(fd);
  }
  if (accessLog_) std::fclose(accessLog_);
}

bool UnitSimulator::logAccessTo(const std::string& path) {
  if (accessLog_) std::fclose(accessLog_);
  accessLog_ = std::fopen(path.c_str(), "a");
  return accessLog_ != nullptr;
}

bool UnitSimulator::addStation(int station, int unitType, bool logger) {
  std::lock_guard lock(table_.mutex);
  if (station < 1 || station > 254 || table_.stations.count(station) != 0) return false;
  // The clock starts three sample intervals back, so that the logger already holds records.
  const auto start = std::chrono::system_clock::now() - std::chrono::seconds(180);
  Station s{UnitModel(unitType, logger, 1000u + unsigned(station), UnitClock::fromSystem(start)),
            Fault{}, 0};
  for (int i = 0; i < 180; ++i) s.model.tick();
  if (accessLog_) {
    s.model.onAccess = [this, station](const char* what, int reg, int wordsOrValue) {
      const auto ms =
          std::chrono::duration_cast<std::chrono::milliseconds>(SimClock::now() - started_);
      std::fprintf(accessLog_, "%lld %s %d %d %d\n", static_cast<long long>(ms.count()), what,
                   station, reg, wordsOrValue);
      std::fflush(accessLog_);
    };
  }
  table_.stations.emplace(station, std::move(s));
  return true;
}

std::unique_ptr<LineProtocol> UnitSimulator::makeProtocol() {
  switch (options_.protocol) {
    case Protocol::Modbus:
      return std::make_unique<ModbusStationLine>(table_);
    case Protocol::Df1Crc:
      return std::make_unique<Df1StationLine>(table_, Df1Check::Crc);
    case Protocol::Df1Bcc:
      return std::make_unique<Df1StationLine>(table_, Df1Check::Bcc);
  }
  return nullptr;
}

bool UnitSimulator::start() {
  if (running()) return true;
  if (!pty_.open()) return false;
  if (!options_.linkPath.empty() && !pointLink(options_.linkPath, pty_.slavePath())) {
    pty_.close();
    return false;
  }
  startThread();
  return true;
}

void UnitSimulator::stop() {
  stopThread();
  pty_.close();
  if (!options_.linkPath.empty()) ::unlink(options_.linkPath.c_str());
}

void UnitSimulator::startThread() {
  protocol_ = makeProtocol();
  stopping_ = false;
  thread_ = std::thread([this] { serve(); });
}

void UnitSimulator::stopThread() {
  if (!thread_.joinable()) return;
  stopping_ = true;
  if (wake_[1] >= 0) {
    const char b = 1;
    [[maybe_unused]] ssize_t n = ::write(wake_[1], &b, 1);
  }
  thread_.join();
  std::array<char, 16> sink{};
  while (wake_[0] >= 0 && ::read(wake_[0], sink.data(), sink.size()) > 0) {
  }
}

void UnitSimulator::vanish() {
  stopThread();
  pty_.close();
  // The device name goes with the device, as an unplugged adapter's does: a master that opens
  // the name again meanwhile must not reach a pseudo-terminal that another line took since.
  if (!options_.linkPath.empty()) ::unlink(options_.linkPath.c_str());
}

bool UnitSimulator::restore() {
  vanish();
  return start();
}

std::string UnitSimulator::devicePath() const {
  return options_.linkPath.empty() ? pty_.slavePath() : options_.linkPath;
}

std::string UnitSimulator::ptyPath() const {
  return pty_.slavePath();
}

uint16_t UnitSimulator::reg(int station, int reg) const {
  std::lock_guard lock(table_.mutex);
  const Station* s = table_.find(station);
  return s ? s->model.get(reg) : 0;
}

std::vector<uint16_t> UnitSimulator::regs(int station, int first, int count) const {
  std::lock_guard lock(table_.mutex);
  std::vector<uint16_t> out;
  const Station* s = table_.find(station);
  for (int i = 0; s != nullptr && i < count; ++i) out.push_back(s->model.get(first + i));
  return out;
}

void UnitSimulator::setReg(int station, int reg, uint16_t value) {
  std::lock_guard lock(table_.mutex);
  if (Station* s = table_.find(station)) s->model.set(reg, value);
}

void UnitSimulator::keepJournal(int station) {
  std::lock_guard lock(table_.mutex);
  if (Station* s = table_.find(station)) s->model.keepJournal();
}

void UnitSimulator::holdMeters(int station, bool held) {
  std::lock_guard lock(table_.mutex);
  if (Station* s = table_.find(station)) s->model.holdMeters(held);
}

std::vector<std::vector<uint16_t>> UnitSimulator::journal(int station) const {
  std::lock_guard lock(table_.mutex);
  const Station* s = table_.find(station);
  return s ? s->model.journal() : std::vector<std::vector<uint16_t>>{};
}

void UnitSimulator::setFault(int station, const Fault& fault) {
  std::lock_guard lock(table_.mutex);
  if (Station* s = table_.find(station)) s->fault = fault;
}

int UnitSimulator::requestCount(int station) const {
  std::lock_guard lock(table_.mutex);
  const Station* s = table_.find(station);
  return s ? s->requests : 0;
}

int UnitSimulator::commandsRun(int station) const {
  std::lock_guard lock(table_.mutex);
  const Station* s = table_.find(station);
  return s ? s->model.commandsRun() : 0;
}

void UnitSimulator::setPacing(bool pace) {
  pace_ = pace;
}

void UnitSimulator::setFrozen(bool frozen) {
  frozen_ = frozen;
}

void UnitSimulator::advance(int seconds) {
  std::lock_guard lock(table_.mutex);
  for (auto& [number, station] : table_.stations) {
    for (int i = 0; i < seconds; ++i) station.model.tick();
  }
}

void UnitSimulator::serve() {
  using std::chrono::milliseconds;
  LineWriter writer(pty_.master(), wake_[0], stopping_);
  auto nextTick = SimClock::now() + std::chrono::seconds(1);
  std::array<uint8_t, 512> input{};
  // What the stations want sent, in the order they asked. Requests are heard while a late
  // reply waits, but nothing overtakes it: the line behaves as a delay line.
  std::deque<Transmission> queue;
  while (!stopping_) {
    const LineSettings line{options_.baud, pace_};
    std::array<pollfd, 2> fds{{{pty_.master(), POLLIN, 0}, {wake_[0], POLLIN, 0}}};
    long long waitMs = 20;
    if (!queue.empty()) {
      const auto due = queue.front().notBefore - SimClock::now();
      waitMs = std::clamp<long long>(std::chrono::duration_cast<milliseconds>(due).count() - 1, 0,
                                     waitMs);
    }
    const int rc = poll(fds.data(), fds.size(), static_cast<int>(waitMs));
    if (stopping_) break;
    const auto now = SimClock::now();
    if (rc > 0 && (fds[0].revents & POLLIN) != 0) {
      const ssize_t n = ::read(pty_.master(), input.data(), input.size());
      if (n > 0) {
        if (!queue.empty()) ++sentWhileReplyDue_;
        for (Transmission& t : protocol_->onBytes(std::span(input.data(), size_t(n)), now, line)) {
          if (t.response) {
            const auto later = std::find_if(queue.begin(), queue.end(), [&](const Transmission& q) {
              return q.notBefore > t.notBefore;
            });
            queue.insert(later, std::move(t));
            continue;
          }
          if (!queue.empty()) t.notBefore = std::max(t.notBefore, queue.back().notBefore);
          queue.push_back(std::move(t));
        }
      }
    } else if (rc > 0 && (fds[0].revents & (POLLHUP | POLLERR)) != 0) {
      poll(nullptr, 0, 5);  // nobody on the other end for a moment
    }
    // The writer waits out the last moments before a transmission itself.
    while (!queue.empty() && queue.front().notBefore <= SimClock::now() + milliseconds(2)) {
      if (!writer.send(queue.front(), line)) return;
      queue.pop_front();
    }
    protocol_->onIdle(SimClock::now(), line);
    if (SimClock::now() >= nextTick) {
      nextTick += std::chrono::seconds(1);
      if (!frozen_) advance(1);
    }
  }
}

}  // namespace kvlink::sim
