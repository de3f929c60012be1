// Start-up window, single instance, Help and the program end.
#include <QProcess>
#include <QTextBrowser>
#include <QThread>

#include "Form1.h"
#include "Form16.h"
#include "Form9.h"
#include "Help.h"
#include "SerialLink.h"
#include "ShellTestSupport.h"
#include "Startup.h"
#include "frmSplash.h"
#include "platform/SingleInstanceLock.h"

namespace kvlink::test {
namespace {

// A subsystem with one window, to see that the program end unloads it.
class CountingModule : public Module {
 public:
  explicit CountingModule(int& unloads) : unloads_(unloads) {}
  void unloadWindows() override { ++unloads_; }

 private:
  int& unloads_;
};

class ProgramEndTest : public ShellTest {
 protected:
  void SetUp() override {
    ShellTest::SetUp();
    program->addModule(std::make_unique<CountingModule>(moduleUnloads));
    program->quit = [this] { ++quits; };
    writeLinkSettings("2", "9600", "1", "0", "1");
    Form1_Form_Load(*program);
    program->Form1().Show();
    program->Form16().Show();
    program->Form9();
    link->calls.clear();
  }
  void expectEnded() {
    flushDeletes();
    EXPECT_TRUE(program->ended);
    EXPECT_EQ(quits, 1);
    EXPECT_EQ(moduleUnloads, 1);
    EXPECT_EQ(kind.closes.size(), 1u);
    EXPECT_FALSE(program->Form1.loaded());
    EXPECT_FALSE(program->Form16.loaded());
    EXPECT_FALSE(program->Form9.loaded());
    EXPECT_EQ(link->calls, std::vector<std::string>{"close 2"});
    EXPECT_FALSE(LinkIsOpen(*program));
  }

  int moduleUnloads = 0;
  int quits = 0;
};

TEST_F(ProgramEndTest, FileExitUnloadsEveryWindowAndReleasesThePort) {
  program->Form1().mnuFileExit->trigger();
  expectEnded();
}

TEST_F(ProgramEndTest, ClosingTheMainWindowEndsTheProgramTheSameWay) {
  program->Form1().close();
  expectEnded();
}

TEST_F(ProgramEndTest, HelpContentsShowsTheReadmeRenderedInsideTheProgram) {
  program->Form1().mnuHelpContents->trigger();
  ASSERT_TRUE(program->HelpWindow.loaded());
  EXPECT_TRUE(program->HelpWindow().isVisible());
  const QString shown = program->HelpWindow().Text->toPlainText();
  EXPECT_TRUE(shown.startsWith("KV-LINK27\n")) << shown.left(80).toStdString();
  EXPECT_FALSE(shown.contains("## "));   // headings rendered,
  EXPECT_FALSE(shown.contains("|---"));  // tables too
  EXPECT_TRUE(host.launched().empty());
  EXPECT_TRUE(host.boxes().empty());

  program->Form1().mnuFileExit->trigger();
  EXPECT_FALSE(program->HelpWindow.loaded());
}

TEST_F(ShellTest, StartUpWindowHandsOverToTheMainWindowAfterTwoSeconds) {
  SingleInstanceLock lock;
  ASSERT_TRUE(StartProgram(*program, lock, "kv-link27-test"));
  frmSplash& splash = program->frmSplash();
  EXPECT_TRUE(splash.isVisible());
  EXPECT_TRUE(splash.Timer1->isActive());
  EXPECT_EQ(splash.Timer1->interval(), 2000);
  EXPECT_FALSE(program->Form1().isVisible());
  EXPECT_FALSE(settingsFileExists());  // the main window is not loaded yet

  splash.Timer1_Timer();
  EXPECT_TRUE(program->Form1().isVisible());
  EXPECT_FALSE(program->frmSplash().isVisible());
  EXPECT_FALSE(program->frmSplash().Timer1->isActive());
  EXPECT_TRUE(settingsFileExists());
  EXPECT_EQ(program->Form1().Label1->text(), "COMM not enabled");
}

TEST_F(ShellTest, SecondInstanceIsRefusedAndShowsNothing) {
  SingleInstanceLock running;
  ASSERT_TRUE(running.acquire("kv-link27-test"));
  SingleInstanceLock second;
  EXPECT_FALSE(StartProgram(*program, second, "kv-link27-test"));
  EXPECT_FALSE(program->frmSplash.loaded());
  EXPECT_FALSE(program->Form1().isVisible());
  EXPECT_TRUE(host.boxes().empty());

  running.release();
  EXPECT_TRUE(StartProgram(*program, second, "kv-link27-test"));
}

// The real program, started twice on one desktop.
TEST_F(ShellTest, SecondProgramEndsAtOnceWhileTheFirstRuns) {
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.insert("QT_QPA_PLATFORM", "offscreen");
  env.insert("KVLINK_WINDIR", settingsDir.path());
  env.insert("XDG_RUNTIME_DIR", settingsDir.path());
  QProcess first;
  first.setProcessEnvironment(env);
  first.start(QStringLiteral(KVLINK27_EXECUTABLE), {});
  ASSERT_TRUE(first.waitForStarted(5000));

  // Wait until the first copy holds the lock.
  bool held = false;
  for (int i = 0; i < 200 && !held; ++i) {
    SingleInstanceLock probe;
    held = !probe.acquire(kInstanceLockName);
    if (!held) {
      probe.release();
      QThread::msleep(25);
    }
  }
  ASSERT_TRUE(held);

  QProcess second;
  second.setProcessEnvironment(env);
  second.start(QStringLiteral(KVLINK27_EXECUTABLE), {});
  ASSERT_TRUE(second.waitForFinished(5000));
  EXPECT_EQ(second.exitStatus(), QProcess::NormalExit);
  EXPECT_EQ(second.exitCode(), 0);
  EXPECT_TRUE(second.readAllStandardError().contains("already running"));
  EXPECT_EQ(first.state(), QProcess::Running);

  first.kill();
  first.waitForFinished(5000);
}

}  // namespace
}  // namespace kvlink::test
