#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include "TestSupport.h"
#include "platform/Launcher.h"
#include "platform/SingleInstanceLock.h"

namespace kvlink {
namespace {

using test::EnvironmentOverride;
using test::ScratchDirectory;

using Result = SingleInstanceLock::Result;

// The lock is taken on a settings directory of the test's own.
class SingleInstanceLockTest : public testing::Test {
 protected:
  ScratchDirectory settings;
  const std::string& dir() const { return settings.path(); }
};

// Whether a child process can take the lock on `directory`; the child ends
// without releasing anything by hand.
bool childCanAcquire(const std::string& directory) {
  const pid_t pid = ::fork();
  if (pid == 0) {
    SingleInstanceLock lock;
    ::_exit(lock.acquire(directory) == Result::Acquired ? 0 : 1);
  }
  int status = 0;
  ::waitpid(pid, &status, 0);
  return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

TEST_F(SingleInstanceLockTest, SecondHolderIsRefusedUntilTheFirstLetsGo) {
  SingleInstanceLock first;
  SingleInstanceLock second;
  ASSERT_EQ(first.acquire(dir()), Result::Acquired);
  EXPECT_TRUE(first.held());
  EXPECT_EQ(second.acquire(dir()), Result::HeldElsewhere);
  EXPECT_FALSE(second.held());
  EXPECT_FALSE(childCanAcquire(dir()));

  first.release();
  EXPECT_EQ(second.acquire(dir()), Result::Acquired);
  EXPECT_EQ(first.acquire(dir()), Result::HeldElsewhere);
}

TEST_F(SingleInstanceLockTest, DestructionReleases) {
  {
    SingleInstanceLock scoped;
    ASSERT_EQ(scoped.acquire(dir()), Result::Acquired);
    EXPECT_FALSE(childCanAcquire(dir()));
  }
  EXPECT_TRUE(childCanAcquire(dir()));
}

TEST_F(SingleInstanceLockTest, HolderThatDiesLeavesNoStaleLock) {
  int ready[2];
  ASSERT_EQ(::pipe(ready), 0);
  const pid_t holder = ::fork();
  if (holder == 0) {
    SingleInstanceLock lock;
    const char result = lock.acquire(dir()) == Result::Acquired ? 'y' : 'n';
    (void)!::write(ready[1], &result, 1);
    ::pause();  // killed below, never released by hand
    ::_exit(0);
  }
  char result = 0;
  ASSERT_EQ(::read(ready[0], &result, 1), 1);
  ASSERT_EQ(result, 'y');

  SingleInstanceLock mine;
  EXPECT_EQ(mine.acquire(dir()), Result::HeldElsewhere);
  ::kill(holder, SIGKILL);
  ::waitpid(holder, nullptr, 0);
  EXPECT_EQ(mine.acquire(dir()), Result::Acquired);
  ::close(ready[0]);
  ::close(ready[1]);
}

// What two copies share is the directory: another name for it, or another
// runtime directory, still meets the lock; only a missing directory fails.
TEST_F(SingleInstanceLockTest, LockFollowsTheDirectoryNotItsNameOrTheEnvironment) {
  ScratchDirectory other;
  const std::string link = other.file("settings-link");
  ASSERT_EQ(::symlink(dir().c_str(), link.c_str()), 0);
  SingleInstanceLock first;
  ASSERT_EQ(first.acquire(dir()), Result::Acquired);
  {
    EnvironmentOverride runtime("XDG_RUNTIME_DIR", other.path());
    EXPECT_FALSE(childCanAcquire(link));
    EXPECT_FALSE(childCanAcquire(dir() + "/."));
  }
  EXPECT_TRUE(childCanAcquire(other.path()));

  SingleInstanceLock missing;
  EXPECT_EQ(missing.acquire(other.file("none")), Result::Failed);
  EXPECT_EQ(missing.failure(), other.file("none") + ": No such file or directory");
  EXPECT_EQ(missing.acquire("/etc/hostname"), Result::Failed);
  EXPECT_EQ(missing.failure(), "/etc/hostname: Not a directory");
}

// Where a directory cannot be locked: a lock file named after its real path.
TEST_F(SingleInstanceLockTest, StandInLockFileIsKeyedOnTheRealPath) {
  ScratchDirectory runtime;
  EnvironmentOverride runtimeDir("XDG_RUNTIME_DIR", runtime.path());
  SingleInstanceLock::useLockFileForTesting(true);
  const std::string link = runtime.file("settings-link");
  ASSERT_EQ(::symlink(dir().c_str(), link.c_str()), 0);
  EXPECT_EQ(SingleInstanceLock::lockFilePath(link), SingleInstanceLock::lockFilePath(dir()));
  EXPECT_EQ(SingleInstanceLock::lockFilePath(dir()).rfind(runtime.path() + "/kv-link27-", 0), 0u);
  SingleInstanceLock first;
  ASSERT_EQ(first.acquire(dir()), Result::Acquired);
  EXPECT_FALSE(childCanAcquire(link));
  EXPECT_TRUE(childCanAcquire(runtime.path()));
  SingleInstanceLock::useLockFileForTesting(false);
}

TEST_F(SingleInstanceLockTest, StartedProgramDoesNotInheritTheLock) {
  SingleInstanceLock lock;
  ASSERT_EQ(lock.acquire(dir()), Result::Acquired);
  const auto viewer = spawnDetached({"sleep", "30"});
  ASSERT_TRUE(viewer);
  lock.release();  // the program ends while its viewer stays open
  EXPECT_TRUE(childCanAcquire(dir()));
  ::kill(*viewer, SIGKILL);
}

}  // namespace
}  // namespace kvlink
