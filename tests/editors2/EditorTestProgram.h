#pragma once
// A fresh program with the editors installed, a scripted host and a
// recording link, its settings in a temporary directory with no passwords
// set, plus the few poll effects the editor tests stand in for.

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QTemporaryDir>
#include <cstdlib>
#include <memory>

#include "Form1.h"
#include "InstallEditors.h"
#include "InstallEditors2.h"
#include "PasswordCoding.h"
#include "Program.h"
#include "RecordingLink.h"
#include "ScriptedHost.h"
#include "SerialLink.h"
#include "SettingsFile.h"
#include "platform/profile.h"

namespace kvlink::test {

struct EditorTestProgram {
  QTemporaryDir settingsDir;
  ScriptedHost host;
  RecordingLink* link = nullptr;
  std::unique_ptr<Program> program;

  EditorTestProgram() {
    EXPECT_TRUE(settingsDir.isValid());
    setenv("KVLINK_WINDIR", settingsDir.path().toLocal8Bit().constData(), 1);
    for (int level : {1, 2})
      EXPECT_TRUE(WriteIni(kMiscSection, passwordKey(level), kNoPassword, kSettingsFile));
    auto recording = std::make_unique<RecordingLink>();
    link = recording.get();
    program = std::make_unique<Program>(host, std::move(recording));
    installEditors(*program);
    installEditors2(*program);
  }
  ~EditorTestProgram() {
    program.reset();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    unsetenv("KVLINK_WINDIR");
  }

  Program& operator*() { return *program; }
  Program* operator->() { return program.get(); }

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
