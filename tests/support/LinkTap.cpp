#include "LinkTap.h"

namespace kvlink::test {

int LinkTap::CommOpen(int port, int baudcode) {
  record("open", {port, baudcode});
  return real_->CommOpen(port, baudcode);
}
int LinkTap::CommClose(int port) {
  record("close", {port});
  return real_->CommClose(port);
}
int LinkTap::SetRetry(int count) {
  record("retry", {count});
  return real_->SetRetry(count);
}
int LinkTap::rvx_ReadInfo(uint16_t* buffer, int bufferWords, int port, int station, int reg,
                          int count) {
  record("read", {port, station, reg, count});
  return real_->rvx_ReadInfo(buffer, bufferWords, port, station, reg, count);
}
int LinkTap::WriteInfo(int port, int station, int reg, int32_t value) {
  record("write", {port, station, reg, value});
  return real_->WriteInfo(port, station, reg, value);
}
int LinkTap::abCommOpen(int port, int baudcode) {
  record("abopen", {port, baudcode});
  return real_->abCommOpen(port, baudcode);
}
int LinkTap::abCommClose(int port) {
  record("abclose", {port});
  return real_->abCommClose(port);
}
int LinkTap::abSetRetry(int count) {
  record("abretry", {count});
  return real_->abSetRetry(count);
}
int LinkTap::abSetCheckMode(int mode) {
  record("abcheck", {mode});
  return real_->abSetCheckMode(mode);
}
int LinkTap::abSendControl(int port, int code) {
  record("abcontrol", {port, code});
  return real_->abSendControl(port, code);
}
int LinkTap::abrvx_ReadInfo(uint16_t* buffer, int bufferWords, int port, int station, int address,
                            int bytecount) {
  record("abread", {port, station, address, bytecount});
  return real_->abrvx_ReadInfo(buffer, bufferWords, port, station, address, bytecount);
}
int LinkTap::abWriteInfo(int port, int station, int address, int32_t value) {
  record("abwrite", {port, station, address, value});
  return real_->abWriteInfo(port, station, address, value);
}

}  // namespace kvlink::test
