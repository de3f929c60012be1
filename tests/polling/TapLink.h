#pragma once
// The real link with every call recorded as text, in the form FakeLink uses.

#include <memory>
#include <string>
#include <vector>

#include "link/LinkLibrary.h"

namespace kvlink::test {

class TapLink : public LinkLibrary {
 public:
  explicit TapLink(std::unique_ptr<LinkLibrary> real) : real_(std::move(real)) {}
  std::vector<std::string> calls;

  int CommOpen(int port, int baud) override { return real_->CommOpen(port, baud); }
  int CommClose(int port) override { return real_->CommClose(port); }
  int SetRetry(int n) override { return real_->SetRetry(n); }
  int rvx_ReadInfo(uint16_t* buffer, int words, int port, int st, int reg, int count) override {
    record("read", port, st, reg, count);
    return real_->rvx_ReadInfo(buffer, words, port, st, reg, count);
  }
  int WriteInfo(int port, int st, int reg, int32_t value) override {
    record("write", port, st, reg, value);
    return real_->WriteInfo(port, st, reg, value);
  }
  int abCommOpen(int port, int baud) override { return real_->abCommOpen(port, baud); }
  int abCommClose(int port) override { return real_->abCommClose(port); }
  int abSetRetry(int n) override { return real_->abSetRetry(n); }
  int abSetCheckMode(int mode) override { return real_->abSetCheckMode(mode); }
  int abSendControl(int port, int code) override {
    record("abcontrol", port, code);
    return real_->abSendControl(port, code);
  }
  int abrvx_ReadInfo(uint16_t* buffer, int words, int port, int st, int address,
                     int bytes) override {
    record("abread", port, st, address, bytes);
    return real_->abrvx_ReadInfo(buffer, words, port, st, address, bytes);
  }
  int abWriteInfo(int port, int st, int address, int32_t value) override {
    record("abwrite", port, st, address, value);
    return real_->abWriteInfo(port, st, address, value);
  }

 private:
  template <class... Args>
  void record(const char* name, Args... args) {
    std::string text = name;
    ((text += " " + std::to_string(args)), ...);
    calls.push_back(text);
  }
  std::unique_ptr<LinkLibrary> real_;
};

}  // namespace kvlink::test
