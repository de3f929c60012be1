#pragma once
// DF1 full-duplex station side of the simulated line: several stations on one line, each
// answering commands addressed to it (DST) with DLE ACK and a reply frame, DLE NAK for a frame
// with bad check bytes, its last response to DLE ENQ, and a retransmission of an
// unacknowledged reply on DLE NAK. A command with the source, command and transaction number of
// the station's last one is a duplicate: acknowledged, not carried out again, its reply sent again.
// Unprotected read (01) and write (08) by byte address: 256 + 2R for register R, 768 + 48n for
// logger record n.

#include <map>
#include <optional>

#include "SimLine.h"
#include "link/Df1Frame.h"

namespace kvlink::sim {

// Register of a DF1 byte address for a block of `words`; -1 when not addressable.
int df1Register(int byteAddress, int words);

class Df1StationLine : public LineProtocol {
 public:
  Df1StationLine(StationTable& table, Df1Check check)
      : table_(table), check_(check), receiver_(check) {}

  std::vector<Transmission> onBytes(std::span<const uint8_t> bytes, SimClock::time_point now,
                                    const LineSettings& line) override;
  void onIdle(SimClock::time_point, const LineSettings&) override {}

 private:
  struct CommandId {
    uint8_t src;
    uint8_t cmd;
    uint8_t tnsLo;
    uint8_t tnsHi;
    bool operator==(const CommandId&) const = default;
  };
  struct Pending {
    int station;
    std::vector<uint8_t> data;  // reply data, framed again for each transmission
    int retransmissions = 0;
  };

  std::vector<Transmission> onFrame(const Df1Event& event, SimClock::time_point now,
                                    const LineSettings& line);
  // Frames the pending reply once more, with the station's fault applied.
  std::vector<uint8_t> framePending();
  std::vector<uint8_t> execute(UnitModel& model, std::span<const uint8_t> command);

  StationTable& table_;
  Df1Check check_;
  Df1Receiver receiver_;
  std::map<int, CommandId> lastCommand_;
  std::map<int, std::vector<uint8_t>> lastReply_;  // station -> reply data to its last command
  std::map<int, uint8_t> lastResponse_;            // station -> kAck or kNak
  int lastAddressed_ = -1;
  std::optional<Pending> pending_;
};

}  // namespace kvlink::sim
