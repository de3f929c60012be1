#include "UnitStateText.h"

namespace kvlink {

namespace {

struct StateWord {
  uint16_t value;
  const char* text;
};

constexpr StateWord kMotorStates[] = {
    {0, "STOPPED"},  {4, "STOPPED"}, {1, "STARTING"},
    {5, "STARTING"}, {3, "RUNNING"}, {7, "RUNNING"},
};
constexpr StateWord kFeederStates[] = {
    {0, "OPEN"},
    {1, "OPEN"},
    {2, "CLOSED"},
    {3, "CLOSED"},
};

template <size_t N>
const char* lookUp(const StateWord (&table)[N], uint16_t word) {
  for (const StateWord& entry : table)
    if (entry.value == word) return entry.text;
  return "";
}

}  // namespace

const char* unitStateText(int unitType, uint16_t motorStatusWord) {
  if (unitType == 0 || unitType == 2) return lookUp(kMotorStates, motorStatusWord);
  if (unitType == 1 || unitType == 4) return lookUp(kFeederStates, motorStatusWord);
  return "";
}

const char* unitTypeAbbreviation(int unitType) {
  switch (unitType) {
    case 0:
      return "RVX";
    case 1:
      return "GLT";
    case 2:
      return "CCU";
    case 4:
      return "CPR";
    default:
      return "";
  }
}

std::string scanStatusText(int unitType, uint16_t tripStatus, uint16_t alarmStatus,
                           uint16_t motorStatusWord) {
  std::string text;
  if (tripStatus != 0) text += "TRIPS ";
  if (alarmStatus != 0) text += "ALARMS ";
  text += unitStateText(unitType, motorStatusWord);
  return text;
}

}  // namespace kvlink
