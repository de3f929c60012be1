#pragma once
// The calls of the two unit link libraries: the Modbus RTU library (CommOpen ... WriteInfo)
// and the DF1 library (abCommOpen ... abWriteInfo). SerialLinkLibrary is the real one; tests
// put a recorder in its place. Results are the codes of link/LinkErrors.h.
//
// `bufferWords` is the capacity of the caller's buffer in 16-bit words; a read whose answer
// would not fit fails with 37 and writes nothing. Words go into the buffer as values (their
// low byte first in memory), decoded unsigned.

#include <cstdint>
#include <string>

namespace kvlink {

class LinkLibrary {
 public:
  virtual ~LinkLibrary() = default;

  // Modbus RTU: register numbers and word counts.
  virtual int CommOpen(int port, int baudcode) = 0;
  virtual int CommClose(int port) = 0;
  virtual int SetRetry(int count) = 0;
  virtual int rvx_ReadInfo(uint16_t* buffer, int bufferWords, int port, int station, int reg,
                           int count) = 0;
  virtual int WriteInfo(int port, int station, int reg, int32_t value) = 0;

  // DF1: byte addresses and byte counts.
  virtual int abCommOpen(int port, int baudcode) = 0;
  virtual int abCommClose(int port) = 0;
  virtual int abSetRetry(int count) = 0;
  virtual int abSetCheckMode(int mode) = 0;
  virtual int abSendControl(int port, int code) = 0;
  virtual int abrvx_ReadInfo(uint16_t* buffer, int bufferWords, int port, int station, int address,
                             int bytecount) = 0;
  virtual int abWriteInfo(int port, int station, int address, int32_t value) = 0;

  // Why the last CommOpen or abCommOpen failed, naming the device ("/dev/ttyS0: in use by
  // another program"); empty when it did not fail or no reason is known.
  virtual std::string openFailureReason() const { return {}; }
};

}  // namespace kvlink
