#pragma once
// Modbus RTU slave side of the simulated line: any number of stations on one line, functions
// 03/04 (read registers), 06 (write one register) and 16 (write registers), broadcast writes,
// exception replies, and the station faults.

#include "SimLine.h"

namespace kvlink::sim {

class ModbusStationLine : public LineProtocol {
 public:
  explicit ModbusStationLine(StationTable& table) : table_(table) {}

  std::vector<Transmission> onBytes(std::span<const uint8_t> bytes, SimClock::time_point now,
                                    const LineSettings& line) override;
  void onIdle(SimClock::time_point now, const LineSettings& line) override;

 private:
  // Frame length from the bytes seen so far: >0 known, 0 unknown function, -1 need more.
  int frameLength() const;
  std::vector<Transmission> handleFrame(std::span<const uint8_t> frame, SimClock::time_point now,
                                        const LineSettings& line);
  std::vector<uint8_t> execute(UnitModel& model, std::span<const uint8_t> frame);

  StationTable& table_;
  std::vector<uint8_t> buffer_;
  SimClock::time_point firstByte_{};
  SimClock::time_point lastByte_{};
};

}  // namespace kvlink::sim
