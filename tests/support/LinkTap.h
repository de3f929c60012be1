#pragma once
// A real link library with every call recorded as text, in the form the
// in-memory line records (CallLog.h), and passed on unchanged.

#include <memory>

#include "CallLog.h"
#include "link/LinkLibrary.h"

namespace kvlink::test {

class LinkTap : public LinkLibrary, public CallLog {
 public:
  explicit LinkTap(std::unique_ptr<LinkLibrary> real) : real_(std::move(real)) {}

  int CommOpen(int port, int baudcode) override;
  int CommClose(int port) override;
  int SetRetry(int count) override;
  int rvx_ReadInfo(uint16_t* buffer, int bufferWords, int port, int station, int reg,
                   int count) override;
  int WriteInfo(int port, int station, int reg, int32_t value) override;
  int abCommOpen(int port, int baudcode) override;
  int abCommClose(int port) override;
  int abSetRetry(int count) override;
  int abSetCheckMode(int mode) override;
  int abSendControl(int port, int code) override;
  int abrvx_ReadInfo(uint16_t* buffer, int bufferWords, int port, int station, int address,
                     int bytecount) override;
  int abWriteInfo(int port, int station, int address, int32_t value) override;
  std::string openFailureReason() const override { return real_->openFailureReason(); }

 private:
  std::unique_ptr<LinkLibrary> real_;
};

}  // namespace kvlink::test
