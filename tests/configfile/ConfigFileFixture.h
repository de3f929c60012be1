#pragma once
// A fresh program with the poll and the configuration files installed, on a
// line of units held in memory: the link open in Modbus RTU, the Display
// menu enabled, the poll timer running, station 5 selected, no passwords
// set, settings and *.con files in a temporary directory.

#include <gtest/gtest.h>

#include <fstream>
#include <functional>
#include <memory>

#include "ConfigFileModule.h"
#include "FileMenuCommands.h"
#include "Form1.h"
#include "InstallConfigFile.h"
#include "InstallPolling.h"
#include "MemoryLine.h"
#include "PasswordCoding.h"
#include "SerialLink.h"
#include "SettingsFile.h"
#include "TestProgram.h"
#include "platform/Profile.h"
#include "platform/WholeFile.h"

namespace kvlink::test {

// The scripted host, plus what the operator does while a file dialog is open.
class TestHost : public ScriptedHost {
 public:
  std::function<void()> underDialog;

  FileDialogResult fileDialog(const FileDialogRequest& request) override {
    if (auto action = std::exchange(underDialog, nullptr)) action();
    return ScriptedHost::fileDialog(request);
  }
};

class ConfigFileFixture : public BasicProgramTest<TestHost> {
 protected:
  ConfigFileFixture() {
    EXPECT_TRUE(writeNoPasswords());
    line = makeProgramOn(std::make_unique<MemoryLine>());
    installPolling(*program);
    installConfigFile(*program);
    program->linkState.UseModbus = 1;
    program->linkState.CommPort = 2;
    EXPECT_EQ(OpenLink(*program), 0);
    Form1::setMenuEnabled(main().mnuDisplay, true);
    main().Timer1->start();
    program->selectStation(5);
  }
  Form1& main() { return program->Form1(); }
  ConfigFileModule& files() { return configFileModule(*program); }
  bool itemsEnabled() { return main().mnuopen->isEnabled() && main().mnusaveset->isEnabled(); }
  bool itemsDisabled() { return !main().mnuopen->isEnabled() && !main().mnusaveset->isEnabled(); }
  bool polling() { return main().Timer1->isActive(); }

  void useDf1() {
    CloseLink(*program);
    program->linkState.UseModbus = 0;
    EXPECT_EQ(OpenLink(*program), 0);
  }
  // What an answered poll pass of the current station leaves.
  void answeredPoll(int16_t unitType) {
    program->poll.UnitType = unitType;
    program->poll.PollStatus = 0;
    program->poll.setPointsReadFrom = program->linkState.CurrentStation;
  }

  std::string path(const char* name) {
    return settingsDir.filePath(QString::fromUtf8(name)).toStdString();
  }
  std::string put(const char* name, const std::string& text) {
    const std::string file = path(name);
    std::ofstream(file, std::ios::binary) << text;
    return file;
  }
  std::string contents(const std::string& file) { return readWholeFile(file).bytes; }
  void answerDialog(const std::string& file) {
    host.answerFileDialog({false, QString::fromStdString(file)});
  }
  const ScriptedHost::ShownBox& lastBox() {
    static const ScriptedHost::ShownBox none;
    return host.boxes().empty() ? none : host.boxes().back();
  }

  MemoryLine* line = nullptr;
};

}  // namespace kvlink::test
