#include "LogRecordLine.h"

#include <span>

#include "LogFamily.h"
#include "LogTimeStamp.h"

namespace kvlink {

namespace {

// One field of a line: its header name and where its value comes from
// (the time text when both pointers are null).
struct LineField {
  const char* header;
  int32_t LogRecordValues::*number = nullptr;
  std::string LogRecordValues::*text = nullptr;
};

using V = LogRecordValues;

constexpr LineField kMotorLine[] = {
    {"TIME"},
    {"Trip Status", &V::LogTripStatus},
    {"Trip Status Info", nullptr, &V::LogTripStatusInfo},
    {"Alarm Status", &V::LogAlarmStatus},
    {"Alarm Status Info", nullptr, &V::LogAlarmStatusInfo},
    {"Motor Status", &V::LogMotorStatus},
    {"Motor Status Info", nullptr, &V::LogMotorStatusInfo},
    {"Ammeter (A)", &V::LogAmps},
    {"Ammeter (%)", &V::LogAmpsPercent},
    {"Unbalance (%)", &V::LogUnbalance},
    {"Temperature (C)", &V::LogTemperature},
    {"Earth Leakage (x10 A)", &V::LogLeakage},
    {"Percent I2t", &V::LogPercentI2t},
    {"Pre-Trip Current (A)", &V::LogPreTripCurrent},
    {"Pre-Trip Unbalance (%)", &V::LogPreTripUnbalance},
    {"Pre-Trip Temp", &V::LogPreTripTemperature},
    {"Pre-Trip Earth Leakage (x10 A)", &V::LogPreTripLeakage},
    {"Pre-Trip I2t", &V::LogPreTripPercentI2t},
};

constexpr LineField kFeederLine[] = {
    {"TIME"},
    {"Trip Status", &V::LogTripStatus},
    {"Trip Status Info", nullptr, &V::LogTripStatusInfo},
    {"Alarm Status", &V::LogAlarmStatus},
    {"Alarm Status Info", nullptr, &V::LogAlarmStatusInfo},
    {"Breaker Status", &V::LogMotorStatus},
    {"Breaker Status Info", nullptr, &V::LogMotorStatusInfo},
    {"Phase A (A)", &V::LogPhaseA},
    {"Phase B (A)", &V::LogPhaseB},
    {"Phase C (A)", &V::LogPhaseC},
    {"Earth Leakage (x10 A)", &V::LogLeakage},
    {"Percent I2t", &V::LogPercentI2t},
    {"Operations Count", &V::LogOpCount},
    {"Pre-Trip Phase A (A)", &V::LogPreTripPhaseA},
    {"Pre-Trip Phase B (A)", &V::LogPreTripPhaseB},
    {"Pre-Trip Phase C (A)", &V::LogPreTripPhaseC},
    {"Pre-Trip Unbalance (%)", &V::LogPreTripUnbalance},
    {"Pre-Trip Earth Leakage (x10 A)", &V::LogPreTripLeakage},
    {"Pre-Trip I2t", &V::LogPreTripPercentI2t},
};

std::span<const LineField> lineFields(int16_t unitType) {
  if (logFamilyOf(unitType) == LogFamily::Motor) return kMotorLine;
  return kFeederLine;
}

std::string quoted(std::string_view text) {
  std::string out;
  out.reserve(text.size() + 2);
  out += '"';
  out += text;
  out += '"';
  return out;
}

std::string joined(std::span<const LineField> fields, auto&& fieldText) {
  std::string line;
  for (const LineField& field : fields) {
    if (!line.empty()) line += ',';
    line += fieldText(field);
  }
  line += kLogLineEnd;
  return line;
}

}  // namespace

std::string logHeaderLine(int16_t unitType) {
  return joined(lineFields(unitType), [](const LineField& f) { return quoted(f.header); });
}

std::string logRecordLine(const LogRecordValues& values, int16_t unitType) {
  return joined(lineFields(unitType), [&](const LineField& f) {
    if (f.number) return std::to_string(values.*f.number);
    if (f.text) return quoted(values.*f.text);
    return quoted(logTimeField(values));
  });
}

std::string logReadErrorLine() {
  return quoted(kLogReadErrorText) + std::string(kLogLineEnd);
}

std::string_view countBoundText(CountBound bound) {
  if (bound == CountBound::AtMost) return "at most ";
  if (bound == CountBound::AtLeast) return "at least ";
  return "";
}

std::string logRecordsLostLine(long count, CountBound bound) {
  return quoted("Records lost: " + std::string(countBoundText(bound)) + std::to_string(count) +
                " (logged faster than they could be read)") +
         std::string(kLogLineEnd);
}

std::string logRecordsDoubtfulLine(long count) {
  return quoted("Records doubtful: " + std::to_string(count) +
                " (these may already be saved above)") +
         std::string(kLogLineEnd);
}

std::string logCounterChangedLine() {
  return quoted(
             "Record counter changed by another program or a unit restart: records logged "
             "before this line may be missing") +
         std::string(kLogLineEnd);
}

std::string logTimeOrder(const LogRecordValues& values) {
  return fourDigits(values.LogYear) + values.LogMonthDay + mid(values.LogWeekdayHour, 3, 2) +
         values.LogMinuteSecond;
}

std::string logTimeOrderOfLine(std::string_view line) {
  // "dd/mm/yyyy  hh:mm:ss ...
  constexpr std::string_view kShape = "\"00/00/0000  00:00:00";
  if (line.size() < kShape.size()) return {};
  for (size_t i = 0; i < kShape.size(); ++i) {
    const bool digit = line[i] >= '0' && line[i] <= '9';
    if (kShape[i] == '0' ? !digit : line[i] != kShape[i]) return {};
  }
  std::string order;
  for (const auto& [from, count] : {std::pair{7, 4}, {4, 2}, {1, 2}, {13, 2}, {16, 2}, {19, 2}})
    order += line.substr(from, count);
  return order;
}

std::string logTimeField(const LogRecordValues& values) {
  return logDateTimeText(values);
}

}  // namespace kvlink
