#pragma once
// A fresh program with the poll and the configuration files installed, on a
// line of units held in memory: the link open in Modbus RTU, the Display
// menu enabled, the poll timer running, station 5 selected, no passwords
// set, settings and *.con files in a temporary directory.

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QTemporaryDir>
#include <fstream>
#include <functional>
#include <memory>

#include "ConfigFileModule.h"
#include "FileMenuCommands.h"
#include "Form1.h"
#include "InstallConfigFile.h"
#include "InstallPolling.h"
#include "PasswordCoding.h"
#include "Program.h"
#include "ScriptedHost.h"
#include "SerialLink.h"
#include "SettingsFile.h"
#include "UnitLine.h"
#include "platform/profile.h"
#include "platform/whole_file.h"

inline void PrintTo(const QString& text, std::ostream* os) {
  *os << '"' << text.toStdString() << '"';
}

namespace kvlink::test {

// The scripted host, plus what the operator does while a file dialog is open
// and whether the desktop's editor starts.
class TestHost : public ScriptedHost {
 public:
  std::function<void()> underDialog;
  bool editorStarts = true;

  FileDialogResult fileDialog(const FileDialogRequest& request) override {
    if (auto action = std::exchange(underDialog, nullptr)) action();
    return ScriptedHost::fileDialog(request);
  }
  bool openInEditor(const QString& path) override {
    ScriptedHost::openInEditor(path);
    return editorStarts;
  }
};

class ConfigFileFixture : public ::testing::Test {
 protected:
  ConfigFileFixture() {
    EXPECT_TRUE(dir.isValid());
    setenv("KVLINK_WINDIR", dir.path().toLocal8Bit().constData(), 1);
    for (int level : {1, 2})
      EXPECT_TRUE(WriteIni(kMiscSection, passwordKey(level), kNoPassword, kSettingsFile));
    auto units = std::make_unique<UnitLine>();
    line = units.get();
    program = std::make_unique<Program>(host, std::move(units));
    installPolling(*program);
    installConfigFile(*program);
    program->linkState.UseModbus = 1;
    program->linkState.CommPort = 2;
    EXPECT_EQ(OpenLink(*program), 0);
    Form1::setMenuEnabled(main().mnuDisplay, true);
    main().Timer1->start();
    program->selectStation(5);
  }
  ~ConfigFileFixture() override {
    program.reset();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    unsetenv("KVLINK_WINDIR");
  }

  Form1& main() { return program->Form1(); }
  ConfigFileModule& files() { return configFileModule(*program); }
  bool itemsEnabled() { return main().mnuopen->isEnabled() && main().mnusaveset->isEnabled(); }
  bool itemsDisabled() { return !main().mnuopen->isEnabled() && !main().mnusaveset->isEnabled(); }
  bool polling() { return main().Timer1->isActive(); }
  void flushDeletes() { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }

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

  std::string path(const char* name) { return dir.filePath(QString::fromUtf8(name)).toStdString(); }
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

  QTemporaryDir dir;
  TestHost host;
  UnitLine* line = nullptr;
  std::unique_ptr<Program> program;
};

}  // namespace kvlink::test
