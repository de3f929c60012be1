#pragma once
// A fresh program on a line held in memory, with the poll installed, the link marked
// open, polling on, and a window kind that records what the pass asks of it.

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "Form1.h"
#include "InstallPolling.h"
#include "MemoryLine.h"
#include "PollPass.h"
#include "PollTimers.h"
#include "TestProgram.h"
#include "platform/Profile.h"

namespace kvlink::test {

// Records every call of the pass, and what the polled values held when it
// was asked to refresh.
class RecordingKind : public WindowKind {
 public:
  explicit RecordingKind(const std::unique_ptr<Program>& program) : program_(program) {}
  std::vector<std::string> calls;
  std::vector<PolledValues> refreshedWith;
  std::function<void()> onRefresh;

  void closeAll(CloseReason reason) override {
    calls.push_back("closeAll " + std::to_string(int(reason)));
  }
  void beginPass() override { calls.push_back("beginPass"); }
  void showStationName(const QString& name) override {
    calls.push_back("name " + name.toStdString());
  }
  void syncToUnitType(int16_t unitType) override {
    calls.push_back("sync " + std::to_string(unitType));
  }
  void refresh() override {
    calls.push_back("refresh");
    refreshedWith.push_back(program_->poll.values);
    if (onRefresh) onRefresh();
  }
  void endPass() override { calls.push_back("endPass"); }
  void resetPointers() override { calls.push_back("resetPointers"); }

  int count(const std::string& call) const {
    return int(std::count(calls.begin(), calls.end(), call));
  }

 private:
  const std::unique_ptr<Program>& program_;
};

class PollFixture : public ProgramTest {
 protected:
  PollFixture() {
    link = makeProgramOn(std::make_unique<MemoryLine>());
    installPolling(*program);
    program->addWindowKind(&kind);
    program->linkState.CommEnabled = 1;
    program->Form1().Timer1->start();
  }

  void useModbus(bool on) { program->linkState.UseModbus = on ? 1 : 0; }
  void selectStation(int16_t n) { program->selectStation(n); }
  void pass() { PollCurrentStation(*program); }
  Form1& main() { return program->Form1(); }
  PolledValues& values() { return program->poll.values; }
  PollState& poll() { return program->poll; }
  std::vector<std::string> linkCalls() const { return link->calls; }

  RecordingKind kind{program};
  MemoryLine* link = nullptr;
};

}  // namespace kvlink::test
