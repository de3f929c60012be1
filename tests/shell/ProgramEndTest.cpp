// Start-up window, single instance, Help and the program end.
#include <QApplication>
#include <QDeadlineTimer>
#include <QProcess>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QTextBrowser>
#include <QThread>
#include <QVBoxLayout>
#include <map>

#include "Form1.h"
#include "Form16.h"
#include "Form9.h"
#include "Help.h"
#include "Install.h"
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
  QCoreApplication::processEvents();
  EXPECT_EQ(program->HelpWindow().Text->horizontalScrollBar()->maximum(), 0)
      << "a line of a code block is cut at the right";
  EXPECT_TRUE(host.launched().empty());
  EXPECT_TRUE(host.boxes().empty());

  program->Form1().mnuFileExit->trigger();
  EXPECT_FALSE(program->HelpWindow.loaded());
}

TEST_F(ShellTest, StartUpWindowHandsOverToTheMainWindowAfterTwoSeconds) {
  SingleInstanceLock lock;
  ASSERT_EQ(StartProgram(*program, lock), StartResult::Started);
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

// A second copy on the same settings says so in a box; a settings directory
// that cannot be used is not taken for a running copy.
TEST_F(ShellTest, SecondInstanceIsRefusedAndToldWhy) {
  const std::string dir = settingsDir.path().toStdString();
  SingleInstanceLock running;
  ASSERT_EQ(running.acquire(dir), SingleInstanceLock::Result::Acquired);
  SingleInstanceLock second;
  EXPECT_EQ(StartProgram(*program, second), StartResult::AlreadyRunning);
  EXPECT_FALSE(program->frmSplash.loaded());
  EXPECT_EQ(boxTexts(), std::vector<QString>{"KV-LINK27 is already running."});

  host.clearRecords();
  EXPECT_EQ(StartProgram(*program, second, "/etc/hostname/kv"), StartResult::Failed);
  EXPECT_EQ(boxTexts(), std::vector<QString>{"KV-LINK27 cannot start: its settings directory "
                                             "cannot be used.\n/etc/hostname/kv: Not a directory"});

  running.release();
  EXPECT_EQ(StartProgram(*program, second), StartResult::Started);
}

// The real program, started twice on one settings directory with different
// runtime directories; the first has none, as under sudo, and says nothing of it.
TEST_F(ShellTest, SecondProgramOnTheSameSettingsEndsWhileTheFirstRuns) {
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.insert("QT_QPA_PLATFORM", "offscreen");
  env.insert("KVLINK_WINDIR", settingsDir.path());
  env.remove("XDG_RUNTIME_DIR");
  QProcess first;
  first.setProcessEnvironment(env);
  first.start(QStringLiteral(KVLINK27_EXECUTABLE), {});
  ASSERT_TRUE(first.waitForStarted(60000));

  // The first copy writes its settings once its main window is up, after the lock.
  QDeadlineTimer limit(60000);
  while (!settingsFileExists() && first.state() == QProcess::Running && !limit.hasExpired())
    QThread::msleep(25);
  ASSERT_TRUE(settingsFileExists());

  QTemporaryDir otherRuntime;
  env.insert("XDG_RUNTIME_DIR", otherRuntime.path());
  QProcess second;
  second.setProcessEnvironment(env);
  second.start(QStringLiteral(KVLINK27_EXECUTABLE), {});
  QByteArray said;  // the platform may print other lines around it
  const auto saidIt = [&] { return said.split('\n').contains("KV-LINK27 is already running."); };
  for (limit.setRemainingTime(60000); !saidIt() && !limit.hasExpired();
       second.waitForReadyRead(1000))
    said += second.readAllStandardError();
  EXPECT_TRUE(saidIt()) << said.toStdString();
  second.kill();  // its box waits for the operator
  second.waitForFinished(60000);
  EXPECT_EQ(first.state(), QProcess::Running);

  first.kill();
  first.waitForFinished(60000);
  EXPECT_FALSE(first.readAllStandardError().contains("XDG_RUNTIME_DIR"));
}

// On a 1366x768 screen the windows open wholly on it: the main window and
// General Status side by side from the start, a window opened later clear of
// both, and one taller than the screen shrunk to it with a scroll area.
TEST_F(ShellTest, WindowsOpenWhollyOnTheScreen) {
  const QRect screen(0, 0, 1366, 768);
  ASSERT_EQ(QGuiApplication::primaryScreen()->availableGeometry(), screen);
  endProgram();
  link = makeProgramOn(std::make_unique<MemoryLine>());
  installSubsystems(*program);
  writeLinkSettings("1", "9600", "0", "0", "1");
  ShowMainWindow(*program);
  program->Form1().menuDisplayNetworkSummary->trigger();
  Form tall(host, QStringLiteral("Tall"));
  auto* column = new QVBoxLayout(&tall);
  for (int i = 0; i < 40; ++i) column->addWidget(new QPushButton(QStringLiteral("Row"), &tall));
  tall.Show();

  std::map<QString, QRect> frames;
  for (QWidget* window : QApplication::topLevelWidgets())
    if (window->isVisible()) frames[window->objectName()] = window->frameGeometry();
  ASSERT_EQ(frames.size(), 4u);  // Form1, MeterForm, Form14, Tall
  for (const auto& [name, frame] : frames)
    EXPECT_TRUE(screen.contains(frame)) << name.toStdString();
  EXPECT_FALSE(frames["MeterForm"].intersects(frames["Form1"]));
  EXPECT_FALSE(frames["Form14"].intersects(frames["MeterForm"]));
  EXPECT_FALSE(frames["Form14"].intersects(frames["Form1"]));
  EXPECT_NE(tall.findChild<QScrollArea*>(), nullptr);
  tall.Hide();
}

}  // namespace
}  // namespace kvlink::test
