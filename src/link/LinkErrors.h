#pragma once
// Result codes of the unit link calls, shared by the Modbus RTU and the DF1 master.
//
//  code  meaning                                   raised for
//  ----  ----------------------------------------  -------------------------------------------
//     0  success                                   the unit answered and the answer is valid
//    35  Illegal Command/Format                    Modbus exception 01; DF1 STS 0x10
//    36  Information Not Available from unit       no answer within the time-out after all
//                                                  retries; bad check bytes; reply from the
//                                                  wrong station; garbled, short or long reply
//    37  Invalid Address, Size, or Value           Modbus exceptions 02, 03; DF1 STS 0x50 and
//                                                  extended STS 0x01-0x07, 0x0A, 0x0B; argument
//                                                  checks: value outside 0..65535, register or
//                                                  address outside 0..65535, count outside the
//                                                  protocol limits or larger than the caller's
//                                                  buffer, station outside the protocol range,
//                                                  odd DF1 byte count, unknown retry count,
//                                                  check mode or control code
//    38  Undefined error                           any other Modbus exception or DF1 STS
//    40  Port cannot be opened                     no such device, in use by another program,
//                                                  not a serial device, port number outside
//                                                  1..4, unsupported baud code
//    41  Port not open                             a call on a port that this library has not
//                                                  opened
//    42  Port failed                               the device went away or failed during I/O
//                                                  (USB adapter unplugged); every call on the
//                                                  port opens the device again first and
//                                                  returns 42 while that fails
//
// No reply is copied into the caller's buffer before it has been validated completely; on any
// code but 0 the buffer is left untouched.

#include <cstdint>
#include <span>

namespace kvlink {

enum LinkCode : int {
  kLinkOk = 0,
  kIllegalCommand = 35,
  kNoAnswer = 36,
  kInvalidValue = 37,
  kUndefinedError = 38,
  kPortOpenFailed = 40,
  kPortNotOpen = 41,
  kPortFailed = 42,
};

struct LinkCodeInfo {
  int code;
  const char* text;  // the operator's wording, as shown after "Write Error <code>:"
};

// Codes that have a text of their own; every other code reads "Undefined error".
std::span<const LinkCodeInfo> linkCodeTable();

// Operator wording for a code: "Illegal Command/Format", ..., "Undefined error".
const char* linkCodeText(int code);

// Maps a Modbus exception code (01..0B) to a link code.
int modbusExceptionToCode(int exception);

// Maps a nonzero DF1 STS byte (and its extended STS byte when STS is 0xF0) to a link code.
int df1StatusToCode(uint8_t sts, uint8_t extSts);

}  // namespace kvlink
