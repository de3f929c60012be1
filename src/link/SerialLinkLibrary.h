#pragma once
// The unit link on real serial ports: a Modbus RTU master and a DF1 master, each with its own
// ports, retry count and (DF1) check mode. All state lives in the instance.

#include "link/Df1Master.h"
#include "link/LinkLibrary.h"
#include "link/LinkTiming.h"
#include "link/ModbusMaster.h"

namespace kvlink {

class SerialLinkLibrary : public LinkLibrary {
 public:
  // `resolver` maps COM1..COM4 to devices; comDevicePath by default.
  SerialLinkLibrary();
  explicit SerialLinkLibrary(DeviceResolver resolver);

  int CommOpen(int port, int baudcode) override {
    const int rc = modbus_.open(port, baudcode);
    openFailure_ = modbus_.lastOpenFailure();
    return rc;
  }
  int CommClose(int port) override { return modbus_.close(port); }
  int SetRetry(int count) override { return modbus_.setRetry(count); }
  int rvx_ReadInfo(uint16_t* buffer, int bufferWords, int port, int station, int reg,
                   int count) override {
    return modbus_.readRegisters(buffer, bufferWords, port, station, reg, count);
  }
  int WriteInfo(int port, int station, int reg, int32_t value) override {
    return modbus_.writeRegister(port, station, reg, value);
  }

  int abCommOpen(int port, int baudcode) override {
    const int rc = df1_.open(port, baudcode);
    openFailure_ = df1_.lastOpenFailure();
    return rc;
  }
  int abCommClose(int port) override { return df1_.close(port); }
  int abSetRetry(int count) override { return df1_.setRetry(count); }
  int abSetCheckMode(int mode) override { return df1_.setCheckMode(mode); }
  int abSendControl(int port, int code) override { return df1_.sendControl(port, code); }
  int abrvx_ReadInfo(uint16_t* buffer, int bufferWords, int port, int station, int address,
                     int bytecount) override {
    return df1_.read(buffer, bufferWords, port, station, address, bytecount);
  }
  int abWriteInfo(int port, int station, int address, int32_t value) override {
    return df1_.write(port, station, address, value);
  }

  std::string openFailureReason() const override { return openFailure_; }

  // Shorter or longer time-outs (tests); applies to both masters.
  void setTiming(const LinkTiming& timing);

 private:
  ModbusMaster modbus_;
  Df1Master df1_;
  std::string openFailure_;
};

}  // namespace kvlink
