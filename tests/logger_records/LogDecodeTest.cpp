// Logger records decoded: addresses, status texts of both families, the
// time stamp with its year window, and the value fields by word.
#include <gtest/gtest.h>

#include <array>
#include <vector>

#include "LogRecordDecode.h"
#include "LogStatusTexts.h"
#include "LogTimeStamp.h"
#include "LoggerRegisters.h"

namespace kvlink {
namespace {

TEST(LoggerRegistersTest, AddressFormsOfBothLinks) {
  EXPECT_EQ(loggerRegisterAddress(true, kClockYear), 128);
  EXPECT_EQ(loggerRegisterAddress(false, kClockYear), 512);
  EXPECT_EQ(loggerRegisterAddress(false, kLoggerControlWord), 524);
  EXPECT_EQ(loggerRegisterAddress(false, kRecordCounter), 532);
  EXPECT_EQ(loggerReadCount(true, 1), 1);
  EXPECT_EQ(loggerReadCount(false, 19), 38);

  EXPECT_EQ(logRecordAddress(true, 0), 192);
  EXPECT_EQ(logRecordAddress(false, 0), 768);
  EXPECT_EQ(logRecordAddress(true, 1), 216);
  EXPECT_EQ(logRecordAddress(false, 1), 816);
  EXPECT_EQ(logRecordAddress(true, 249), 192 + 24 * 249);
  EXPECT_EQ(logRecordAddress(false, 249), 768 + 48 * 249);
  // No record lies outside the area.
  EXPECT_FALSE(logRecordAddress(true, 250));
  EXPECT_FALSE(logRecordAddress(false, 667));
  EXPECT_FALSE(logRecordAddress(true, -1));
}

struct StatusCase {
  LogFamily family;
  int16_t unitType;
  uint16_t word;
  const char* trip;
  const char* alarm;
  const char* status;
};

TEST(LogStatusTextsTest, MotorFamily) {
  const StatusCase cases[] = {
      {LogFamily::Motor, 0, 0, " no trips", " no alarms", " motor stopped"},
      {LogFamily::Motor, 0, 3, " overcurrent;I^2t;", " overcurrent;I^2t;", " running;"},
      {LogFamily::Motor, 2, 5, " undercurrent;I^2t;", " undercurrent;I^2t;", " ETR On;starting;"},
      {LogFamily::Motor, 0, 6, " undercurrent;overcurrent;", " undercurrent;overcurrent;",
       " ETR On;running;"},
      {LogFamily::Motor, 0, 257, " phase reverse;I^2t;", " shorted-RTD;I^2t;", " starting;"},
      {LogFamily::Motor, 0, 64, " short-circuit;", " ", " "},
      {LogFamily::Motor, 0, 0x1FF,
       " phase reverse;NV memory;short-circuit;earth fault;temp;unbalance;undercurrent;"
       "overcurrent;I^2t;",
       " shorted-RTD;NV memory;earth leakage;temp;unbalance;undercurrent;overcurrent;I^2t;",
       " ETR On;running;"},
      {LogFamily::Motor, 0, 512, " ", " open RTD;", " "},
      // Bits above the named ones are no condition at all.
      {LogFamily::Motor, 0, 0x8000, " ", " ", " "},
      {LogFamily::Motor, 0, 0xFFFF,
       " phase reverse;NV memory;short-circuit;earth fault;temp;unbalance;undercurrent;"
       "overcurrent;I^2t;",
       " open RTD;shorted-RTD;NV memory;earth leakage;temp;unbalance;undercurrent;overcurrent;"
       "I^2t;",
       " ETR On;running;"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.word);
    EXPECT_EQ(tripStatusText(c.family, c.unitType, c.word), c.trip);
    EXPECT_EQ(alarmStatusText(c.family, c.unitType, c.word), c.alarm);
    EXPECT_EQ(unitStatusText(c.family, c.word), c.status);
  }
}

TEST(LogStatusTextsTest, FeederFamilyWordingByType) {
  const StatusCase cases[] = {
      {LogFamily::Feeder, 1, 0, " no trips", " no alarms", " contact open;"},
      {LogFamily::Feeder, 1, 1, " I^2t;", " I^2t;", " contact open;load cur>10%;"},
      {LogFamily::Feeder, 4, 1, " % thermal;", " % thermal;", " contact open;load cur>10%;"},
      {LogFamily::Feeder, 1, 3, " short-time;I^2t;", " short-time;I^2t;",
       " contact closed;load cur>10%;"},
      {LogFamily::Feeder, 1, 17, " earth fault;I^2t;", " earth-fault;I^2t;",
       " contact open;load cur>10%;"},
      {LogFamily::Feeder, 4, 17, " gnd fault;% thermal;", " gnd-fault;% thermal;",
       " contact open;load cur>10%;"},
      {LogFamily::Feeder, 99, 16, " gnd fault;", " gnd-fault;", " contact open;"},
      {LogFamily::Feeder, 1, 32, " ", " ", " contact open;"},
      {LogFamily::Feeder, 1, 64 + 8, " remote tripunbalance;", " unbalance;", " contact open;"},
      {LogFamily::Feeder, 1, 0xFF,
       " memory fault;remote tripearth fault;unbalance;instantaneous;short-time;I^2t;",
       " memory fault;earth-fault;unbalance;instantaneous;short-time;I^2t;",
       " contact closed;load cur>10%;"},
      {LogFamily::Feeder, 1, 0x100, " ", " ", " contact open;"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.unitType << "/" << c.word);
    EXPECT_EQ(tripStatusText(c.family, c.unitType, c.word), c.trip);
    EXPECT_EQ(alarmStatusText(c.family, c.unitType, c.word), c.alarm);
    EXPECT_EQ(unitStatusText(c.family, c.word), c.status);
  }
}

TEST(LogTimeStampTest, YearWindow) {
  const std::pair<uint16_t, const char*> cases[] = {
      {0x0000, "2000"}, {0x0005, "2005"}, {0x0010, "2010"}, {0x0094, "2094"},
      {0x0095, "1995"}, {0x0099, "1999"}, {0x1998, "1998"}, {0x2003, "2003"},
      {0x0200, "200"},  {0x000A, "200A"}, {0x00A5, "20A5"}, {0xFFFF, "FFFF"},
  };
  for (const auto& [word, year] : cases) {
    SCOPED_TRACE(word);
    EXPECT_EQ(yearWindow(hexText(word)), year);
  }
}

TEST(LogTimeStampTest, TimeTextsAndWeekday) {
  LogRecordValues v;
  applyTimeWords(v, {0x2003, 0x1225, 0x0314, 0x0509});
  EXPECT_EQ(v.LogYear, "2003");
  EXPECT_EQ(v.LogMonthDay, "1225");
  EXPECT_EQ(v.LogWeekdayHour, "0314");
  EXPECT_EQ(v.LogMinuteSecond, "0509");
  EXPECT_EQ(v.LogWeekdayName, "Tuesday");
  EXPECT_EQ(logDateTimeText(v), "25/12/2003  14:05:09 Tuesday");

  applyTimeWords(v, {0x98, 0x0101, 0x0700, 0x0000});
  EXPECT_EQ(v.LogMonthDay, "0101");
  EXPECT_EQ(v.LogMinuteSecond, "0000");
  EXPECT_EQ(v.LogWeekdayName, "Saturday");
  EXPECT_EQ(logDateTimeText(v), "01/01/1998  00:00:00 Saturday");

  applyTimeWords(v, {0x2024, 0x0715, 0x0623, 0x0005});
  EXPECT_EQ(v.LogMonthDay, "0715");
  EXPECT_EQ(v.LogMinuteSecond, "0005");
  EXPECT_EQ(v.LogWeekdayName, "Friday");

  // An unknown weekday keeps the last name; a weekday of 0 with hour 12 is
  // not taken for Sunday.
  applyTimeWords(v, {0x2024, 0x0716, 0x0812, 0x1000});
  EXPECT_EQ(v.LogWeekdayName, "Friday");
  applyTimeWords(v, {0x2024, 0x0716, 0x0012, 0x1000});
  EXPECT_EQ(v.LogWeekdayHour, "0012");
  EXPECT_EQ(v.LogWeekdayName, "Friday");

  // Nibbles above 9 come out as letters, without harm.
  applyTimeWords(v, {0xABCD, 0x000F, 0x0000, 0xFFFF});
  EXPECT_EQ(v.LogYear, "ABCD");
  EXPECT_EQ(v.LogMonthDay, "000F");
  EXPECT_EQ(logDateTimeText(v), "0F/00/ABCD  00:FF:FF Friday");
}

TEST(LogTimeStampTest, MidIsSafeOnShortTexts) {
  EXPECT_EQ(mid("0509", 3, 2), "09");
  EXPECT_EQ(mid("05", 3, 2), "");
  EXPECT_EQ(mid("", 1, 2), "");
  EXPECT_EQ(mid("123", 3, 2), "3");
}

std::vector<uint16_t> recordWords(int count) {
  std::vector<uint16_t> words = {0x2003, 0x1225, 0x0314, 0x0509};
  for (int i = 4; i < count; ++i) words.push_back(uint16_t(1000 + i));
  return words;
}

TEST(LogRecordDecodeTest, MotorRecordFillsMotorFieldsInWordOrder) {
  LogRecordValues v;
  v.LogPhaseA = 77;  // feeder fields keep what they held
  auto words = recordWords(18);
  words[4] = 3;
  words[5] = 0;
  words[6] = 0xFFFF;
  words[7] = 65535;  // unsigned, no overflow
  ASSERT_TRUE(decodeLogRecord(v, words, 0));
  EXPECT_EQ(v.LogTripStatus, 3);
  EXPECT_EQ(v.LogTripStatusInfo, " overcurrent;I^2t;");
  EXPECT_EQ(v.LogAlarmStatusInfo, " no alarms");
  EXPECT_EQ(v.LogMotorStatus, 65535);
  EXPECT_EQ(v.LogAmps, 65535);
  EXPECT_EQ(v.LogAmpsPercent, 1008);
  EXPECT_EQ(v.LogUnbalance, 1009);
  EXPECT_EQ(v.LogTemperature, 1010);
  EXPECT_EQ(v.LogLeakage, 1011);
  EXPECT_EQ(v.LogPercentI2t, 1012);
  EXPECT_EQ(v.LogPreTripCurrent, 1013);
  EXPECT_EQ(v.LogPreTripUnbalance, 1014);
  EXPECT_EQ(v.LogPreTripTemperature, 1015);
  EXPECT_EQ(v.LogPreTripLeakage, 1016);
  EXPECT_EQ(v.LogPreTripPercentI2t, 1017);
  EXPECT_EQ(v.LogPhaseA, 77);
  EXPECT_EQ(v.LogYear, "2003");
}

TEST(LogRecordDecodeTest, FeederRecordForEveryOtherType) {
  for (int16_t type : {1, 4, 99, 3}) {
    SCOPED_TRACE(type);
    LogRecordValues v;
    v.LogAmps = 55;
    auto words = recordWords(19);
    words[4] = 17;
    ASSERT_TRUE(decodeLogRecord(v, words, type));
    EXPECT_EQ(v.LogTripStatusInfo, type == 1 ? " earth fault;I^2t;" : " gnd fault;% thermal;");
    EXPECT_EQ(v.LogPhaseA, 1007);
    EXPECT_EQ(v.LogPhaseB, 1008);
    EXPECT_EQ(v.LogPhaseC, 1009);
    EXPECT_EQ(v.LogLeakage, 1010);
    EXPECT_EQ(v.LogPercentI2t, 1011);
    EXPECT_EQ(v.LogOpCount, 1012);
    EXPECT_EQ(v.LogPreTripPhaseA, 1013);
    EXPECT_EQ(v.LogPreTripPhaseB, 1014);
    EXPECT_EQ(v.LogPreTripPhaseC, 1015);
    EXPECT_EQ(v.LogPreTripUnbalance, 1016);
    EXPECT_EQ(v.LogPreTripLeakage, 1017);
    EXPECT_EQ(v.LogPreTripPercentI2t, 1018);
    EXPECT_EQ(v.LogAmps, 55);
  }
}

TEST(LogRecordDecodeTest, TooFewWordsChangeNothing) {
  LogRecordValues v;
  v.LogYear = "1999";
  const auto before = v;
  EXPECT_FALSE(decodeLogRecord(v, recordWords(18), 1));
  EXPECT_EQ(v, before);
  EXPECT_EQ(logValueField(LogFamily::Motor, 18), nullptr);
  EXPECT_EQ(logValueField(LogFamily::Feeder, 18), &LogRecordValues::LogPreTripPercentI2t);
}

}  // namespace
}  // namespace kvlink
