#include "Df1StationLine.h"

#include <array>

#include "UnitRegisters.h"

namespace kvlink::sim {
namespace {

constexpr uint8_t kRead = 0x01;
constexpr uint8_t kWrite = 0x08;
constexpr uint8_t kStsIllegalCommand = 0x10;
constexpr uint8_t kStsAddress = 0x50;
constexpr int kHeader = 6;
constexpr int kMaxRetransmissions = 3;
constexpr int kGeneralBase = 256;
constexpr int kRecordAreaBase = 768;

}  // namespace

int df1Register(int byteAddress, int words) {
  if (byteAddress % 2 != 0 || words < 1) return -1;
  const int lastByte = byteAddress + 2 * words - 1;
  if (byteAddress >= kGeneralBase && lastByte < kRecordAreaBase) {
    return (byteAddress - kGeneralBase) / 2;
  }
  if (byteAddress >= kRecordAreaBase) {
    const int reg = kRecordBase + (byteAddress - kRecordAreaBase) / 2;
    return reg + words <= kRegisterCount ? reg : -1;
  }
  return -1;
}

std::vector<Transmission> Df1StationLine::onBytes(std::span<const uint8_t> bytes,
                                                  SimClock::time_point now,
                                                  const LineSettings& line) {
  std::vector<Transmission> out;
  for (uint8_t byte : bytes) {
    Df1Event event;
    if (!receiver_.feed(byte, event)) continue;
    switch (event.kind) {
      case Df1Event::Kind::Frame: {
        auto replies = onFrame(event, now, line);
        out.insert(out.end(), replies.begin(), replies.end());
        break;
      }
      case Df1Event::Kind::Ack:
        pending_.reset();
        break;
      case Df1Event::Kind::Nak:
        if (pending_ && pending_->retransmissions++ < kMaxRetransmissions) {
          std::lock_guard lock(table_.mutex);
          out.push_back({framePending(), now});
        }
        break;
      case Df1Event::Kind::Enq: {
        std::lock_guard lock(table_.mutex);
        Station* station = table_.find(lastAddressed_);
        if (station != nullptr && station->fault.kind != FaultKind::Silent) {
          // The last response again; NAK when nothing was received yet.
          const auto last = lastResponse_.find(lastAddressed_);
          out.push_back({df1Control(last != lastResponse_.end() ? last->second : kNak), now, true});
        }
        break;
      }
    }
  }
  return out;
}

std::vector<Transmission> Df1StationLine::onFrame(const Df1Event& event, SimClock::time_point now,
                                                  const LineSettings& line) {
  if (event.data.empty()) return {};
  const uint8_t address = event.data[0];
  lastAddressed_ = address;
  std::lock_guard lock(table_.mutex);
  Station* station = table_.find(address);
  if (station == nullptr) return {};
  ++station->requests;
  const bool write = event.data.size() > 2 && event.data[2] == kWrite;
  if (station->fault.kind == FaultKind::Silent ||
      (station->fault.kind == FaultKind::SilentToWrites && write)) {
    takeFault(station->fault);
    return {};
  }
  // Paced, the command takes its time on the line; the station answers once it has all of it.
  SimClock::time_point start = now;
  if (line.pace) start = now + lineTime(line.baud, df1FrameBytes(int(event.data.size()), check_));
  if (!event.checkOk || event.data.size() < kHeader) {
    lastResponse_[address] = kNak;
    return {{df1Control(kNak), start, true}};
  }
  lastResponse_[address] = kAck;
  const Fault& fault = station->fault;
  // A slow station acknowledges at once and answers later.
  const SimClock::time_point replyAt =
      fault.kind == FaultKind::Late ? now + lateDelay(fault, table_.rng) : start;
  const CommandId id{event.data[1], event.data[2], event.data[4], event.data[5]};
  auto last = lastCommand_.find(address);
  if (last != lastCommand_.end() && last->second == id) {
    // A duplicate: acknowledged, not carried out again, the same reply sent again.
    pending_ = Pending{address, lastReply_[address], 0};
    return {{df1Control(kAck), start, true}, {framePending(), replyAt}};
  }
  lastCommand_[address] = id;

  const bool exception = fault.kind == FaultKind::Exception;
  std::vector<uint8_t> reply;
  if (exception) {
    const uint8_t sts = static_cast<uint8_t>(fault.code ? fault.code : kStsIllegalCommand);
    reply = {event.data[1], address,       static_cast<uint8_t>(event.data[2] | 0x40),
             sts,           event.data[4], event.data[5]};
  } else {
    reply = execute(station->model, event.data);
  }
  const uint8_t other =
      static_cast<uint8_t>(fault.otherStation ? fault.otherStation : address % 254 + 1);
  std::vector<Transmission> out{{df1Control(kAck), start, true}};
  if (fault.kind == FaultKind::ForeignFirst) {
    std::vector<uint8_t> foreign = reply;
    foreign[1] = other;
    out.push_back({encodeDf1Frame(foreign, check_), start});
  }
  lastReply_[address] = reply;
  const bool duplicate = fault.kind == FaultKind::Duplicate;
  pending_ = Pending{address, std::move(reply), 0};
  out.push_back({framePending(), replyAt});
  if (duplicate) out.push_back({encodeDf1Frame(pending_->data, check_), start});
  return out;
}

std::vector<uint8_t> Df1StationLine::framePending() {
  Station* station = table_.find(pending_->station);
  const FaultKind kind = station ? takeFault(station->fault) : FaultKind::None;
  std::vector<uint8_t> data = pending_->data;
  if (kind == FaultKind::WrongStation) {
    const int other = station->fault.otherStation;
    data[1] = static_cast<uint8_t>(other ? other : pending_->station % 254 + 1);
  }
  return damageReply(kind, encodeDf1Frame(data, check_), table_.rng);
}

std::vector<uint8_t> Df1StationLine::execute(UnitModel& model, std::span<const uint8_t> c) {
  std::vector<uint8_t> reply{c[1], c[0], static_cast<uint8_t>(c[2] | 0x40), 0, c[4], c[5]};
  auto fail = [&](uint8_t sts) {
    reply[3] = sts;
    return reply;
  };
  if (c[2] == kRead) {
    if (c.size() != kHeader + 3) return fail(kStsIllegalCommand);
    const int address = c[6] | c[7] << 8;
    const int size = c[8];
    if (size < 2 || size % 2 != 0) return fail(kStsAddress);
    const int reg = df1Register(address, size / 2);
    std::array<uint16_t, 128> words{};
    if (reg < 0 || model.read(reg, size / 2, words) != 0) return fail(kStsAddress);
    for (int i = 0; i < size / 2; ++i) {
      reply.push_back(static_cast<uint8_t>(words[i] & 0xFF));
      reply.push_back(static_cast<uint8_t>(words[i] >> 8));
    }
    return reply;
  }
  if (c[2] == kWrite) {
    if (c.size() < kHeader + 4 || (c.size() - kHeader - 2) % 2 != 0) {
      return fail(kStsIllegalCommand);
    }
    const int address = c[6] | c[7] << 8;
    const int count = int(c.size() - kHeader - 2) / 2;
    const int reg = df1Register(address, count);
    if (reg < 0) return fail(kStsAddress);
    for (int i = 0; i < count; ++i) {
      const auto value = static_cast<uint16_t>(c[8 + 2 * i] | c[9 + 2 * i] << 8);
      if (model.write(reg + i, value) != 0) return fail(kStsAddress);
    }
    return reply;
  }
  return fail(kStsIllegalCommand);
}

}  // namespace kvlink::sim
