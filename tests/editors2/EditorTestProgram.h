#pragma once
// A fresh program with the editors installed, a scripted host and a line
// held in memory (stations 1 and 7 answer), its settings in a temporary
// directory with no passwords set, plus the few poll effects the editor
// tests stand in for.

#include <memory>

#include "Form1.h"
#include "InstallEditors.h"
#include "InstallEditors2.h"
#include "MemoryLine.h"
#include "PasswordCoding.h"
#include "SerialLink.h"
#include "SettingsFile.h"
#include "TestProgram.h"
#include "platform/Profile.h"

namespace kvlink::test {

struct EditorTestProgram : TestProgram {
  MemoryLine* link = nullptr;

  EditorTestProgram() {
    EXPECT_TRUE(writeNoPasswords());
    link = makeProgramOn(std::make_unique<MemoryLine>());
    for (int station : {1, 7}) link->station(station);
    installEditors(*program);
    installEditors2(*program);
  }

  // The link as Enable / Disable of the serial set-up window leave it.
  void setLinkOpen(bool open) {
    if (open)
      EXPECT_EQ(OpenLink(*program), 0);
    else
      CloseLink(*program);
  }
  bool pollRunning() { return program->Form1().Timer1->isActive(); }
  void startPoll() { program->Form1().Timer1->start(); }

  // What an answered read of the current station's set-point block leaves.
  void answeredSetPointRead(int16_t unitType) {
    program->poll.UnitType = unitType;
    program->poll.setPointsReadFrom = program->linkState.CurrentStation;
  }
};

}  // namespace kvlink::test
