#include "UnitClock.h"

#include <ctime>

namespace kvlink::sim {

int fromBcd(uint8_t byte) {
  const int high = byte >> 4;
  const int low = byte & 0x0F;
  if (high > 9 || low > 9) return -1;
  return high * 10 + low;
}

uint8_t toBcd(int value) {
  return static_cast<uint8_t>(((value / 10) % 10) << 4 | (value % 10));
}

UnitClock UnitClock::fromSystem(std::chrono::system_clock::time_point when) {
  const std::time_t t = std::chrono::system_clock::to_time_t(when);
  std::tm local{};
  localtime_r(&t, &local);
  UnitClock c;
  c.year_ = local.tm_year + 1900;
  c.month_ = local.tm_mon + 1;
  c.day_ = local.tm_mday;
  c.weekday_ = local.tm_wday + 1;
  c.hour_ = local.tm_hour;
  c.minute_ = local.tm_min;
  c.second_ = local.tm_sec > 59 ? 59 : local.tm_sec;
  return c;
}

int UnitClock::daysInMonth() const {
  static constexpr int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  if (month_ == 2 && year_ % 4 == 0 && (year_ % 100 != 0 || year_ % 400 == 0)) return 29;
  return kDays[(month_ - 1) % 12];
}

void UnitClock::tick() {
  if (++second_ < 60) return;
  second_ = 0;
  if (++minute_ < 60) return;
  minute_ = 0;
  if (++hour_ < 24) return;
  hour_ = 0;
  weekday_ = weekday_ % 7 + 1;
  if (++day_ <= daysInMonth()) return;
  day_ = 1;
  if (++month_ <= 12) return;
  month_ = 1;
  ++year_;
}

uint16_t UnitClock::word(int index) const {
  auto pack = [](int high, int low) {
    return static_cast<uint16_t>(toBcd(high) << 8 | toBcd(low));
  };
  switch (index) {
    case 0:
      return pack(year_ / 100, year_ % 100);
    case 1:
      return pack(month_, day_);
    case 2:
      return static_cast<uint16_t>(weekday_ << 8 | toBcd(hour_));
    case 3:
      return pack(minute_, second_);
    default:
      return 0;
  }
}

bool UnitClock::setWord(int index, uint16_t value) {
  const int highByte = value >> 8;
  const int high = fromBcd(static_cast<uint8_t>(highByte));
  const int low = fromBcd(static_cast<uint8_t>(value & 0xFF));
  switch (index) {
    case 0:
      if (high < 0 || low < 0) return false;
      year_ = high * 100 + low;
      return true;
    case 1:
      if (high < 1 || high > 12 || low < 1 || low > 31) return false;
      month_ = high;
      day_ = low;
      return true;
    case 2:
      if (highByte < 1 || highByte > 7 || low < 0 || low > 23) return false;
      weekday_ = highByte;
      hour_ = low;
      return true;
    case 3:
      if (high < 0 || high > 59 || low < 0 || low > 59) return false;
      minute_ = high;
      second_ = low;
      return true;
    default:
      return false;
  }
}

}  // namespace kvlink::sim
