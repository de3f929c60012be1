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

// Another name for the directory still meets the lock, whether the directory
// itself is locked or (where a file system cannot lock one) a lock file named
// after its real path.
TEST_F(SingleInstanceLockTest, LockFollowsTheDirectoryNotItsName) {
  ScratchDirectory other;
  const std::string link = other.file("settings-link");
  ASSERT_EQ(::symlink(dir().c_str(), link.c_str()), 0);
  EnvironmentOverride runtime("XDG_RUNTIME_DIR", other.path());
  for (bool lockFile : {false, true}) {
    SingleInstanceLock::useLockFileForTesting(lockFile);
    SingleInstanceLock first;
    ASSERT_EQ(first.acquire(dir()), Result::Acquired);
    EXPECT_FALSE(childCanAcquire(link));
    EXPECT_TRUE(childCanAcquire(other.path()));
  }
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
