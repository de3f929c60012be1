#pragma once
// A program for a test: a scripted host, a settings directory of its own
// (KVLINK_WINDIR points at it while the object lives) and the program made on
// them with the link library the test chooses. Ending the program flushes the
// windows it unloaded (their deferred deletes).

#include <gtest/gtest.h>

#include <QString>
#include <QTemporaryDir>
#include <memory>
#include <ostream>
#include <vector>

#include "Program.h"
#include "ScriptedHost.h"
#include "link/LinkLibrary.h"

// Readable QString in failure messages.
inline void PrintTo(const QString& text, std::ostream* os) {
  *os << '"' << text.toStdString() << '"';
}

namespace kvlink::test {

// Deletes the windows unloaded so far.
void flushDeletes();
// Points KVLINK_WINDIR at `dir`, or takes it away.
void useSettingsDirectory(const QTemporaryDir& dir);
void forgetSettingsDirectory();
// Both password levels set to "no password" in the settings file.
bool writeNoPasswords();
// The texts of the boxes the host showed, in order.
std::vector<QString> boxTexts(const ScriptedHost& host);

template <class Host = ScriptedHost>
class BasicTestProgram {
 public:
  BasicTestProgram() {
    EXPECT_TRUE(settingsDir.isValid());
    useSettingsDirectory(settingsDir);
  }
  ~BasicTestProgram() {
    endProgram();
    forgetSettingsDirectory();
  }
  BasicTestProgram(const BasicTestProgram&) = delete;
  BasicTestProgram& operator=(const BasicTestProgram&) = delete;

  // A new program on `link` (nullptr: none), after the one before has ended.
  Program& makeProgram(std::unique_ptr<LinkLibrary> link) {
    endProgram();
    program = std::make_unique<Program>(host, std::move(link));
    return *program;
  }
  // The same, keeping the test's link double at hand.
  template <class Link>
  Link* makeProgramOn(std::unique_ptr<Link> link) {
    Link* kept = link.get();
    makeProgram(std::move(link));
    return kept;
  }
  void endProgram() {
    program.reset();
    flushDeletes();
  }

  Program& operator*() { return *program; }
  Program* operator->() { return program.get(); }

  QTemporaryDir settingsDir;
  Host host;
  std::unique_ptr<Program> program;
};

using TestProgram = BasicTestProgram<>;

// A fixture on a test program. The program ends in TearDown, while the
// fixture's own members (window kinds it registered) are still there.
template <class Host = ScriptedHost>
class BasicProgramTest : public ::testing::Test, public BasicTestProgram<Host> {
 protected:
  void TearDown() override { this->endProgram(); }
};

using ProgramTest = BasicProgramTest<>;

}  // namespace kvlink::test
