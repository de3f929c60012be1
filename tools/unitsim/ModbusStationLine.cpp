#include "ModbusStationLine.h"

#include <array>

#include "link/Crc16.h"

namespace kvlink::sim {
namespace {

constexpr uint8_t kReadHolding = 0x03;
constexpr uint8_t kReadInput = 0x04;
constexpr uint8_t kWriteSingle = 0x06;
constexpr uint8_t kWriteMultiple = 0x10;
constexpr int kIllegalFunction = 1;

int word(std::span<const uint8_t> f, size_t at) {
  return f[at] << 8 | f[at + 1];
}

void appendCrc(std::vector<uint8_t>& frame) {
  const uint16_t crc = crc16A001(frame, kModbusCrcStart);
  frame.push_back(static_cast<uint8_t>(crc & 0xFF));
  frame.push_back(static_cast<uint8_t>(crc >> 8));
}

bool crcOk(std::span<const uint8_t> frame) {
  return frame.size() >= 4 && crc16A001(frame, kModbusCrcStart) == 0;
}

std::vector<uint8_t> exceptionReply(uint8_t station, uint8_t function, int code) {
  return {station, static_cast<uint8_t>(function | 0x80), static_cast<uint8_t>(code)};
}

// The silence that ends a frame: 3.5 characters, at least a few milliseconds on a pty.
SimClock::duration frameGap(const LineSettings& line) {
  return std::max<SimClock::duration>(lineTime(line.baud, 3.5), std::chrono::milliseconds(5));
}

}  // namespace

int ModbusStationLine::frameLength() const {
  if (buffer_.size() < 2) return -1;
  switch (buffer_[1]) {
    case kReadHolding:
    case kReadInput:
    case kWriteSingle:
      return 8;
    case kWriteMultiple:
      return buffer_.size() < 7 ? -1 : 9 + buffer_[6];
    default:
      return 0;
  }
}

std::vector<Transmission> ModbusStationLine::onBytes(std::span<const uint8_t> bytes,
                                                     SimClock::time_point now,
                                                     const LineSettings& line) {
  if (!buffer_.empty() && now - lastByte_ > frameGap(line)) buffer_.clear();
  if (buffer_.empty()) firstByte_ = now;
  buffer_.insert(buffer_.end(), bytes.begin(), bytes.end());
  lastByte_ = now;

  std::vector<Transmission> out;
  for (;;) {
    const int length = frameLength();
    if (length < 0 || size_t(length) > buffer_.size()) break;
    if (length == 0) {
      // Unknown function: the whole buffer is the frame if its CRC fits; else wait for more,
      // or, past the length of any request we know, look one byte further.
      if (!crcOk(buffer_)) {
        if (buffer_.size() <= 8) break;
        buffer_.erase(buffer_.begin());
        continue;
      }
      std::vector<uint8_t> frame;
      frame.swap(buffer_);
      auto replies = handleFrame(frame, now, line);
      out.insert(out.end(), replies.begin(), replies.end());
      break;
    }
    const std::span<const uint8_t> frame(buffer_.data(), size_t(length));
    if (!crcOk(frame)) {
      buffer_.erase(buffer_.begin());  // not a frame here: look one byte further
      continue;
    }
    auto replies = handleFrame(frame, now, line);
    out.insert(out.end(), replies.begin(), replies.end());
    buffer_.erase(buffer_.begin(), buffer_.begin() + length);
    firstByte_ = now;
  }
  return out;
}

void ModbusStationLine::onIdle(SimClock::time_point now, const LineSettings& line) {
  if (!buffer_.empty() && now - lastByte_ > frameGap(line)) buffer_.clear();
}

std::vector<Transmission> ModbusStationLine::handleFrame(std::span<const uint8_t> frame,
                                                         SimClock::time_point now,
                                                         const LineSettings& line) {
  const std::span<const uint8_t> body = frame.first(frame.size() - 2);
  const uint8_t address = body[0];
  std::lock_guard lock(table_.mutex);
  if (address == 0) {  // broadcast: writes go to every station, nobody answers
    for (auto& [number, station] : table_.stations) execute(station.model, body);
    return {};
  }
  Station* station = table_.find(address);
  if (station == nullptr) return {};
  ++station->requests;
  const FaultKind fault = takeFault(station->fault);
  const bool write = body[1] == kWriteSingle || body[1] == kWriteMultiple;
  if (fault == FaultKind::Silent || (fault == FaultKind::SilentToWrites && write)) return {};

  std::vector<uint8_t> reply;
  if (fault == FaultKind::Exception) {
    reply = exceptionReply(address, body[1], station->fault.code ? station->fault.code : 2);
  } else {
    reply = execute(station->model, body);
  }
  const uint8_t other = static_cast<uint8_t>(
      station->fault.otherStation ? station->fault.otherStation : address % 247 + 1);
  std::vector<uint8_t> foreign;
  if (fault == FaultKind::ForeignFirst) {
    foreign = reply;
    foreign[0] = other;
    appendCrc(foreign);
  }
  if (fault == FaultKind::WrongStation) reply[0] = other;
  appendCrc(reply);
  reply = damageReply(fault, std::move(reply), table_.rng);

  // The request takes its time on the line, then the station waits 3.5 characters, as a
  // compliant station does, paced or not: the master may tell a reply that starts sooner from
  // the answer to its request.
  SimClock::time_point start =
      std::max(now, firstByte_ + lineTime(line.baud, double(frame.size()) + 3.5));
  if (fault == FaultKind::Late)
    start = std::max(start, now + lateDelay(station->fault, table_.rng));
  std::vector<Transmission> out;
  if (!foreign.empty()) out.push_back({foreign, start});
  if (fault == FaultKind::Duplicate) {
    // The copy follows the reply at once, as on a wire: one write, however busy the machine.
    const std::vector<uint8_t> once = reply;
    reply.insert(reply.end(), once.begin(), once.end());
  }
  out.push_back({reply, start});
  return out;
}

std::vector<uint8_t> ModbusStationLine::execute(UnitModel& model, std::span<const uint8_t> f) {
  const uint8_t station = f[0];
  const uint8_t function = f[1];
  switch (function) {
    case kReadHolding:
    case kReadInput: {
      const int reg = word(f, 2);
      const int count = word(f, 4);
      if (count < 1 || count > 125) return exceptionReply(station, function, kIllegalValue);
      std::array<uint16_t, 125> values{};
      if (const int e = model.read(reg, count, values); e != 0) {
        return exceptionReply(station, function, e);
      }
      std::vector<uint8_t> reply{station, function, static_cast<uint8_t>(2 * count)};
      for (int i = 0; i < count; ++i) {
        reply.push_back(static_cast<uint8_t>(values[i] >> 8));
        reply.push_back(static_cast<uint8_t>(values[i] & 0xFF));
      }
      return reply;
    }
    case kWriteSingle: {
      if (const int e = model.write(word(f, 2), static_cast<uint16_t>(word(f, 4))); e != 0) {
        return exceptionReply(station, function, e);
      }
      return {f.begin(), f.begin() + 6};
    }
    case kWriteMultiple: {
      const int reg = word(f, 2);
      const int count = word(f, 4);
      if (count < 1 || count > 123 || f[6] != 2 * count || f.size() != size_t(7 + 2 * count)) {
        return exceptionReply(station, function, kIllegalValue);
      }
      for (int i = 0; i < count; ++i) {
        const int e = model.write(reg + i, static_cast<uint16_t>(word(f, 7 + 2 * size_t(i))));
        if (e != 0) return exceptionReply(station, function, e);
      }
      return {f.begin(), f.begin() + 6};
    }
    default:
      return exceptionReply(station, function, kIllegalFunction);
  }
}

}  // namespace kvlink::sim
