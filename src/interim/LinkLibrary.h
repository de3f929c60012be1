#pragma once
#include <cstdint>
namespace kvlink {
class LinkLibrary { public: virtual ~LinkLibrary()=default; virtual int CommOpen(int port,int baudcode)=0; virtual int CommClose(int port)=0; virtual int SetRetry(int count)=0; virtual int rvx_ReadInfo(uint16_t* buffer,int bufferWords,int port,int station,int reg,int count)=0; virtual int WriteInfo(int port,int station,int reg,int32_t value)=0; virtual int abCommOpen(int port,int baudcode)=0; virtual int abCommClose(int port)=0; virtual int abSetRetry(int count)=0; virtual int abSetCheckMode(int mode)=0; virtual int abSendControl(int port,int code)=0; virtual int abrvx_ReadInfo(uint16_t* buffer,int bufferWords,int port,int station,int address,int bytecount)=0; virtual int abWriteInfo(int port,int station,int address,int32_t value)=0; };
}
namespace kvlink {
// Interim: a link on which nothing answers.
class SerialLinkLibrary : public LinkLibrary { public: int CommOpen(int,int) override {return 0;} int CommClose(int) override {return 0;} int SetRetry(int) override {return 0;} int rvx_ReadInfo(uint16_t*,int,int,int,int,int) override {return 36;} int WriteInfo(int,int,int,int32_t) override {return 36;} int abCommOpen(int,int) override {return 0;} int abCommClose(int) override {return 0;} int abSetRetry(int) override {return 0;} int abSetCheckMode(int) override {return 0;} int abSendControl(int,int) override {return 0;} int abrvx_ReadInfo(uint16_t*,int,int,int,int,int) override {return 36;} int abWriteInfo(int,int,int,int32_t) override {return 36;} };
}
