#include "LogStatusTexts.h"

#include <span>

namespace kvlink {

namespace {

// One bit of a status word. `feederOther` is the wording for feeder types
// other than 1, where it differs; an empty text means the bit is named by
// nothing.
struct StatusBit {
  uint16_t weight;
  const char* text;
  const char* feederOther = nullptr;
};

constexpr StatusBit kMotorTrip[] = {
    {256, "phase reverse;"}, {128, "NV memory;"}, {64, "short-circuit;"},
    {32, "earth fault;"},    {16, "temp;"},       {8, "unbalance;"},
    {4, "undercurrent;"},    {2, "overcurrent;"}, {1, "I^2t;"},
};
constexpr StatusBit kMotorAlarm[] = {
    {512, "open RTD;"},     {256, "shorted-RTD;"}, {128, "NV memory;"}, {64, ""},
    {32, "earth leakage;"}, {16, "temp;"},         {8, "unbalance;"},   {4, "undercurrent;"},
    {2, "overcurrent;"},    {1, "I^2t;"},
};
constexpr StatusBit kFeederTrip[] = {
    {128, "memory fault;"},
    {64, "remote trip"},
    {32, ""},
    {16, "earth fault;", "gnd fault;"},
    {8, "unbalance;"},
    {4, "instantaneous;"},
    {2, "short-time;"},
    {1, "I^2t;", "% thermal;"},
};
constexpr StatusBit kFeederAlarm[] = {
    {128, "memory fault;"},
    {64, ""},
    {32, ""},
    {16, "earth-fault;", "gnd-fault;"},
    {8, "unbalance;"},
    {4, "instantaneous;"},
    {2, "short-time;"},
    {1, "I^2t;", "% thermal;"},
};

// Bits above the highest one a table names carry no meaning: they are left
// out rather than taken for a cascade of every lower condition.
uint16_t namedBits(uint16_t word, uint16_t highestWeight) {
  return static_cast<uint16_t>(word & (2u * highestWeight - 1u));
}

std::string bitTexts(std::span<const StatusBit> table, bool feederOther, uint16_t word,
                     const char* zeroText) {
  if (word == 0) return zeroText;
  std::string text = " ";
  const uint16_t remaining = namedBits(word, table.front().weight);
  for (const StatusBit& bit : table)
    if (remaining & bit.weight) text += feederOther && bit.feederOther ? bit.feederOther : bit.text;
  return text;
}

}  // namespace

std::string tripStatusText(LogFamily family, int16_t unitType, uint16_t word) {
  if (family == LogFamily::Motor) return bitTexts(kMotorTrip, false, word, " no trips");
  return bitTexts(kFeederTrip, unitType != 1, word, " no trips");
}

std::string alarmStatusText(LogFamily family, int16_t unitType, uint16_t word) {
  if (family == LogFamily::Motor) return bitTexts(kMotorAlarm, false, word, " no alarms");
  return bitTexts(kFeederAlarm, unitType != 1, word, " no alarms");
}

std::string unitStatusText(LogFamily family, uint16_t word) {
  std::string text = " ";
  if (family == LogFamily::Motor) {
    if (word == 0) return " motor stopped";
    const uint16_t bits = namedBits(word, 4);
    if (bits & 4) text += "ETR On;";
    // Running and starting exclude each other; running wins.
    if (bits & 2)
      text += "running;";
    else if (bits & 1)
      text += "starting;";
    return text;
  }
  text += (word & 2) ? "contact closed;" : "contact open;";
  if (word & 1) text += "load cur>10%;";
  return text;
}

}  // namespace kvlink
