#pragma once
// A fresh program with the editors installed, a scripted host and a
// recording link, plus the few poll effects the editor tests stand in for.

#include <QCoreApplication>
#include <memory>

#include "Form1.h"
#include "InstallEditors.h"
#include "InstallEditors2.h"
#include "Program.h"
#include "RecordingLink.h"
#include "ScriptedHost.h"

namespace kvlink::test {

struct EditorTestProgram {
  ScriptedHost host;
  RecordingLink* link = nullptr;
  std::unique_ptr<Program> program;

  EditorTestProgram() {
    auto recording = std::make_unique<RecordingLink>();
    link = recording.get();
    program = std::make_unique<Program>(host, std::move(recording));
    installEditors(*program);
    installEditors2(*program);
  }
  ~EditorTestProgram() {
    program.reset();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  }

  Program& operator*() { return *program; }
  Program* operator->() { return program.get(); }

  // The link as the serial set-up window leaves it after Enable / Disable.
  void setLinkOpen(bool open) {
    program->linkState.linkOpen = open;
    program->linkState.CommEnabled = open ? 1 : 0;
  }
  bool pollRunning() { return program->Form1().Timer1->isActive(); }
  void startPoll() { program->Form1().Timer1->start(); }

  // What an answered read of the current station's set-point block leaves.
  void answeredSetPointRead(int16_t unitType) {
    program->poll.UnitType = unitType;
    program->poll.setPointsReadFrom = program->linkState.CurrentStation;
  }
};

inline void flushDeletes() {
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

}  // namespace kvlink::test
