#pragma once
// A fresh program on a fake line, with the poll installed, the link marked
// open, polling on, and a window kind that records what the pass asks of it.

#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <cstdlib>
#include <string>
#include <vector>

#include "FakeLink.h"
#include "Form1.h"
#include "InstallPolling.h"
#include "PollPass.h"
#include "PollTimers.h"
#include "Program.h"
#include "ScriptedHost.h"
#include "platform/profile.h"

// Readable QString in failure messages.
inline void PrintTo(const QString& text, std::ostream* os) {
  *os << '"' << text.toStdString() << '"';
}

namespace kvlink::test {

// Records every call of the pass, and what the polled values held when it
// was asked to refresh.
class RecordingKind : public WindowKind {
 public:
  explicit RecordingKind(Program*& program) : program_(program) {}
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
  Program*& program_;
};

class PollFixture : public ::testing::Test {
 protected:
  PollFixture() {
    qputenv("KVLINK_WINDIR", settingsDir.path().toUtf8());
    auto fake = std::make_unique<FakeLink>();
    link = fake.get();
    program = std::make_unique<Program>(host, std::move(fake));
    programPtr = program.get();
    installPolling(*program);
    program->addWindowKind(&kind);
    program->linkState.CommEnabled = 1;
    program->Form1().Timer1->start();
  }
  ~PollFixture() override { program.reset(); }

  void useModbus(bool on) { program->linkState.UseModbus = on ? 1 : 0; }
  void selectStation(int16_t n) { program->selectStation(n); }
  void pass() { PollCurrentStation(*program); }
  Form1& main() { return program->Form1(); }
  PolledValues& values() { return program->poll.values; }
  PollState& poll() { return program->poll; }
  std::vector<std::string> linkCalls() const { return link->calls; }

  QTemporaryDir settingsDir;
  ScriptedHost host;
  Program* programPtr = nullptr;
  RecordingKind kind{programPtr};
  FakeLink* link = nullptr;
  std::unique_ptr<Program> program;
};

}  // namespace kvlink::test
