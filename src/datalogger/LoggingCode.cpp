#include "LoggingCode.h"

#include <array>
#include <memory>

#include "ErrorHandling.h"
#include "LogFamily.h"
#include "LogRecordDecode.h"
#include "LoggerRegisters.h"
#include "StationBlocks.h"
#include "link/LinkErrors.h"

namespace kvlink {

LoggingCode& loggingCode(Program& program) {
  if (auto* existing = program.findModule<LoggingCode>()) return *existing;
  auto made = std::make_unique<LoggingCode>();
  LoggingCode& code = *made;
  program.addModule(std::move(made));
  return code;
}

int16_t ReadLogRecordAt(Program& program, int16_t record, int16_t unitType, int16_t station) {
  const bool modbus = program.linkState.UseModbus != 0;
  const std::optional<int32_t> address = logRecordAddress(modbus, record);
  if (!address) return kInvalidValue;

  const int words = logRecordWordCount(logFamilyOf(unitType));
  // A buffer of the record's own: the shared read buffer stays the poll's.
  std::array<uint16_t, kLogRecordStride> buffer{};
  const int16_t result =
      ReadUnit(program, buffer.data(), int(buffer.size()), program.linkState.CommPort, station,
               *address, loggerReadCount(modbus, words));
  if (result != 0) return result;
  decodeLogRecord(loggingCode(program).record, std::span(buffer).first(std::size_t(words)),
                  unitType);
  return 0;
}

int16_t ReadUnitTypeOf(Program& program, int16_t station) {
  const LinkState& link = program.linkState;
  const bool modbus = link.UseModbus != 0;
  if (!modbus) program.link->abSendControl(link.CommPort, kDf1ReadControlCode);
  uint16_t idWord = 0;
  if (ReadUnit(program, &idWord, 1, link.CommPort, station,
               loggerRegisterAddress(modbus, kIdentificationRegister),
               loggerReadCount(modbus, 1)) != 0)
    return kUnitTypeUnknown;
  return unitTypeFromIdWord(idWord);
}

int16_t ViewedUnitType(Program& program) {
  const int16_t station = program.linkState.CurrentStation;
  if (program.poll.setPointsReadFrom == station) return program.poll.UnitType;
  return ReadUnitTypeOf(program, station);
}

int16_t ReadLogRecord(Program& program, int16_t record) {
  return ReadLogRecordAt(program, record, loggingCode(program).viewedUnitType,
                         program.linkState.CurrentStation);
}

RecordCounterRead ReadRecordCounter(Program& program, int16_t station) {
  const bool modbus = program.linkState.UseModbus != 0;
  std::array<uint16_t, 1> buffer{};
  RecordCounterRead read;
  read.result =
      ReadUnit(program, buffer.data(), int(buffer.size()), program.linkState.CommPort, station,
               loggerRegisterAddress(modbus, kRecordCounter), loggerReadCount(modbus, 1));
  if (read.result == 0) read.counter = buffer[0];
  return read;
}

}  // namespace kvlink
