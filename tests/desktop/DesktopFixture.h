#pragma once
// The whole program on a line of units held in memory: motor relays at
// stations 5 and 6, station 5 selected, no passwords, the link enabled in
// Modbus RTU and the poll running.

#include "Form1.h"
#include "Install.h"
#include "LinkSwitch.h"
#include "MemoryLine.h"
#include "PollPass.h"
#include "TestProgram.h"

namespace kvlink::test {

class DesktopFixture : public BasicProgramTest<> {
 protected:
  DesktopFixture() {
    EXPECT_TRUE(writeNoPasswords());
    line = makeProgramOn(std::make_unique<MemoryLine>());
    installSubsystems(*program);
    for (int station : {5, 6}) line->station(station).unit(0, false);
    program->linkState.UseModbus = 1;
    program->linkState.CommPort = 2;
    program->selectStation(5);
    EXPECT_TRUE(SwitchLinkOn(*program));
    PollCurrentStation(*program);
  }
  Form1& main() { return program->Form1(); }
  bool polling() { return main().Timer1->isActive(); }

  MemoryLine* line = nullptr;
};

}  // namespace kvlink::test
