#include "LogTimeStamp.h"

namespace kvlink {

namespace {

constexpr const char* kWeekdayNames[] = {"Sunday",   "Monday", "Tuesday", "Wednesday",
                                         "Thursday", "Friday", "Saturday"};

}  // namespace

std::string hexText(uint16_t word) {
  static constexpr char kDigits[] = "0123456789ABCDEF";
  std::string text;
  do {
    text.insert(text.begin(), kDigits[word & 0xF]);
    word >>= 4;
  } while (word != 0);
  return text;
}

std::string yearWindow(std::string yearText) {
  if (yearText.size() == 1) yearText = "200" + yearText;
  if (yearText.size() == 2) {
    const bool nineties = yearText[0] == '9' && yearText[1] >= '5' && yearText[1] <= '9';
    yearText = (nineties ? "19" : "20") + yearText;
  }
  return yearText;
}

std::string fourDigits(std::string text) {
  if (text.size() < 4) text.insert(0, 4 - text.size(), '0');
  return text;
}

std::string weekdayName(const std::string& weekdayDigits) {
  if (weekdayDigits.size() != 2 || weekdayDigits[0] != '0') return {};
  const char day = weekdayDigits[1];
  if (day < '1' || day > '7') return {};
  return kWeekdayNames[day - '1'];
}

void applyTimeWords(LogRecordValues& values, const TimeWords& words) {
  values.LogYear = yearWindow(hexText(words[0]));
  // Month+day and weekday+hour are padded to their full four digits: a
  // short text would shift the hour into the weekday's place.
  values.LogMonthDay = fourDigits(hexText(words[1]));
  values.LogWeekdayHour = fourDigits(hexText(words[2]));
  values.LogMinuteSecond = fourDigits(hexText(words[3]));
  if (auto name = weekdayName(values.LogWeekdayHour.substr(0, 2)); !name.empty())
    values.LogWeekdayName = std::move(name);
}

std::string mid(const std::string& text, std::size_t start, std::size_t count) {
  if (start == 0 || start > text.size()) return {};
  return text.substr(start - 1, count);
}

std::string logDateTimeText(const LogRecordValues& v) {
  return mid(v.LogMonthDay, 3, 2) + "/" + mid(v.LogMonthDay, 1, 2) + "/" + v.LogYear + "  " +
         mid(v.LogWeekdayHour, 3, 2) + ":" + mid(v.LogMinuteSecond, 1, 2) + ":" +
         mid(v.LogMinuteSecond, 3, 2) + " " + v.LogWeekdayName;
}

}  // namespace kvlink
