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

class SingleInstanceLockTest : public testing::Test {
 protected:
  ScratchDirectory runtime;
  EnvironmentOverride runtimeDir{"XDG_RUNTIME_DIR", runtime.path()};
};

// Whether a child process can take the lock `name`; the child ends without
// releasing anything by hand.
bool childCanAcquire(const std::string& name) {
  const pid_t pid = ::fork();
  if (pid == 0) {
    SingleInstanceLock lock;
    ::_exit(lock.acquire(name) ? 0 : 1);
  }
  int status = 0;
  ::waitpid(pid, &status, 0);
  return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

TEST_F(SingleInstanceLockTest, SecondHolderIsRefusedUntilTheFirstLetsGo) {
  SingleInstanceLock first;
  SingleInstanceLock second;
  ASSERT_TRUE(first.acquire("kvlink27"));
  EXPECT_TRUE(first.held());
  EXPECT_FALSE(second.acquire("kvlink27"));
  EXPECT_FALSE(second.held());
  EXPECT_FALSE(childCanAcquire("kvlink27"));

  first.release();
  EXPECT_TRUE(second.acquire("kvlink27"));
  EXPECT_FALSE(first.acquire("kvlink27"));
}

TEST_F(SingleInstanceLockTest, DestructionReleases) {
  {
    SingleInstanceLock scoped;
    ASSERT_TRUE(scoped.acquire("kvlink27"));
    EXPECT_FALSE(childCanAcquire("kvlink27"));
  }
  EXPECT_TRUE(childCanAcquire("kvlink27"));
}

TEST_F(SingleInstanceLockTest, HolderThatDiesLeavesNoStaleLock) {
  int ready[2];
  ASSERT_EQ(::pipe(ready), 0);
  const pid_t holder = ::fork();
  if (holder == 0) {
    SingleInstanceLock lock;
    const char result = lock.acquire("kvlink27") ? 'y' : 'n';
    (void)!::write(ready[1], &result, 1);
    ::pause();  // killed below, never released by hand
    ::_exit(0);
  }
  char result = 0;
  ASSERT_EQ(::read(ready[0], &result, 1), 1);
  ASSERT_EQ(result, 'y');

  SingleInstanceLock mine;
  EXPECT_FALSE(mine.acquire("kvlink27"));
  ::kill(holder, SIGKILL);
  ::waitpid(holder, nullptr, 0);
  EXPECT_TRUE(mine.acquire("kvlink27"));
  ::close(ready[0]);
  ::close(ready[1]);
}

TEST_F(SingleInstanceLockTest, NamesAreIndependent) {
  SingleInstanceLock a;
  SingleInstanceLock b;
  EXPECT_TRUE(a.acquire("kvlink27"));
  EXPECT_TRUE(b.acquire("other"));
}

TEST_F(SingleInstanceLockTest, NameWithADirectoryIsRefused) {
  SingleInstanceLock lock;
  EXPECT_FALSE(lock.acquire("../kvlink27"));
  EXPECT_FALSE(lock.acquire(""));
  EXPECT_FALSE(lock.held());
}

TEST_F(SingleInstanceLockTest, StartedProgramDoesNotInheritTheLock) {
  SingleInstanceLock lock;
  ASSERT_TRUE(lock.acquire("kvlink27"));
  const auto viewer = spawnDetached({"sleep", "30"});
  ASSERT_TRUE(viewer);
  lock.release();  // the program ends while its viewer stays open
  EXPECT_TRUE(childCanAcquire("kvlink27"));
  ::kill(*viewer, SIGKILL);
}

TEST(SingleInstanceLockPath, RuntimeDirectoryElseSettingsDirectory) {
  ScratchDirectory runtime;
  ScratchDirectory windows;
  EnvironmentOverride windir("KVLINK_WINDIR", windows.path());
  {
    EnvironmentOverride runtimeDir("XDG_RUNTIME_DIR", runtime.path());
    EXPECT_EQ(SingleInstanceLock::lockFilePath("kvlink27"), runtime.file("kvlink27.lock"));
  }
  {
    EnvironmentOverride runtimeDir("XDG_RUNTIME_DIR", std::nullopt);
    EXPECT_EQ(SingleInstanceLock::lockFilePath("kvlink27"), windows.file("kvlink27.lock"));
    SingleInstanceLock lock;
    EXPECT_TRUE(lock.acquire("kvlink27"));
    EXPECT_TRUE(std::filesystem::exists(windows.file("kvlink27.lock")));
  }
}

}  // namespace
}  // namespace kvlink
