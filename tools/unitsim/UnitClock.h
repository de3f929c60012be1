#pragma once
// The unit's real-time clock: four registers in BCD (year; month, day; weekday 1..7 and hour;
// minute, second) that tick once a second. The weekday is kept apart from the date and steps
// at midnight, as a clock chip does.

#include <chrono>
#include <cstdint>

namespace kvlink::sim {

class UnitClock {
 public:
  static UnitClock fromSystem(std::chrono::system_clock::time_point when);

  void tick();                     // one second on
  uint16_t word(int index) const;  // index 0..3
  // Sets one word from its BCD form; false (nothing changed) when it is not a valid value.
  bool setWord(int index, uint16_t value);

  int year() const { return year_; }
  int second() const { return second_; }

 private:
  int daysInMonth() const;

  int year_ = 2000;
  int month_ = 1;
  int day_ = 1;
  int weekday_ = 7;  // 1 = Sunday
  int hour_ = 0;
  int minute_ = 0;
  int second_ = 0;
};

// Two BCD digits <-> 0..99; -1 for a byte that is not BCD.
int fromBcd(uint8_t byte);
uint8_t toBcd(int value);

}  // namespace kvlink::sim
