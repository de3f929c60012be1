#include "platform/WholeFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <climits>
#include <cstdlib>

#include "platform/RegularFile.h"

namespace kvlink {
namespace {

constexpr int kNoFailure = -1;
std::atomic<int> injectedFailure{kNoFailure};
std::atomic<unsigned> temporaryCounter{0};

bool injected(ReplaceStep step) {
  return injectedFailure.load(std::memory_order_relaxed) == static_cast<int>(step);
}

class FileDescriptor {
 public:
  explicit FileDescriptor(int fd) : fd_(fd) {}
  ~FileDescriptor() { close(); }
  FileDescriptor(const FileDescriptor&) = delete;
  FileDescriptor& operator=(const FileDescriptor&) = delete;
  int get() const { return fd_; }
  bool valid() const { return fd_ >= 0; }
  bool close() {
    if (fd_ < 0) return true;
    const bool ok = ::close(fd_) == 0;
    fd_ = -1;
    return ok;
  }

 private:
  int fd_;
};

bool writeAll(int fd, std::string_view data) {
  while (!data.empty()) {
    const ssize_t n = ::write(fd, data.data(), data.size());
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    data.remove_prefix(static_cast<std::size_t>(n));
  }
  return true;
}

std::string directoryOf(const std::string& path) {
  const auto slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  if (slash == 0) return "/";
  return path.substr(0, slash);
}

std::string baseNameOf(const std::string& path) {
  const auto slash = path.rfind('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

// The file a path finally names: a symbolic link is replaced by its target so
// that the link itself survives the rename.
std::string targetOf(const std::string& path) {
  struct stat st {};
  if (::lstat(path.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return path;
  char resolved[PATH_MAX];
  if (::realpath(path.c_str(), resolved) == nullptr) return path;
  return resolved;
}

// Creates a new temporary file next to `target`; the name is unique within the
// process and marked with the process id.
int createTemporary(const std::string& target, std::string& temporaryPath) {
  if (injected(ReplaceStep::CreateTemporary)) return -1;
  const std::string stem =
      directoryOf(target) + "/." + baseNameOf(target) + "." + std::to_string(::getpid()) + ".";
  for (int attempt = 0; attempt < 100; ++attempt) {
    temporaryPath = stem + std::to_string(temporaryCounter.fetch_add(1)) + ".tmp";
    const int fd = ::open(temporaryPath.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd >= 0 || errno != EEXIST) return fd;
  }
  return -1;
}

void syncDirectory(const std::string& directory) {
  FileDescriptor dir(::open(directory.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (dir.valid()) ::fsync(dir.get());  // the rename is done; a failure here changes nothing
}

// Writes `contents` over the file itself, for a file whose owner or group a replacement
// could not keep.
bool rewriteInPlace(const std::string& target, std::string_view contents) {
  FileDescriptor fd(openRegularFile(target, O_WRONLY).fd);
  if (!fd.valid() || injected(ReplaceStep::WriteData) || !writeAll(fd.get(), contents))
    return false;
  bool ok = ::ftruncate(fd.get(), static_cast<off_t>(contents.size())) == 0;
  ok = ok && !injected(ReplaceStep::SyncData) && ::fsync(fd.get()) == 0;
  return fd.close() && ok;
}

}  // namespace

FileContents readWholeFile(const std::string& path) {
  FileContents result;
  const RegularFileOpen opened = openRegularFile(path, O_RDONLY);
  FileDescriptor fd(opened.fd);
  if (!fd.valid()) {
    result.status = opened.error == ENOENT ? ReadStatus::Missing : ReadStatus::Failed;
    return result;
  }
  char chunk[8192];
  for (;;) {
    const ssize_t n = ::read(fd.get(), chunk, sizeof chunk);
    if (n < 0) {
      if (errno == EINTR) continue;
      result.bytes.clear();
      return result;  // Failed
    }
    if (n == 0) break;
    result.bytes.append(chunk, static_cast<std::size_t>(n));
  }
  result.status = ReadStatus::Ok;
  return result;
}

bool replaceWholeFile(const std::string& path, std::string_view contents) {
  const std::string target = targetOf(path);
  struct stat old {};
  const bool existed = ::stat(target.c_str(), &old) == 0;
  if (existed && !S_ISREG(old.st_mode)) return false;
  // A file we may not write stays as it is, even where its directory would let a rename
  // replace it: its permissions are how it is protected.
  if (existed && ::faccessat(AT_FDCWD, target.c_str(), W_OK, AT_EACCESS) != 0) return false;

  std::string temporaryPath;
  FileDescriptor fd(createTemporary(target, temporaryPath));
  if (!fd.valid()) return false;

  bool ok = !injected(ReplaceStep::WriteData) && writeAll(fd.get(), contents);
  if (ok && existed) {
    if (::fchown(fd.get(), old.st_uid, old.st_gid) != 0) {
      // The replacement cannot have the file's owner and group (only a privileged process
      // gives a file away): write the file itself instead, which keeps both.
      fd.close();
      ::unlink(temporaryPath.c_str());
      return rewriteInPlace(target, contents);
    }
    ::fchmod(fd.get(), old.st_mode & 07777);  // after fchown, which may clear set-id bits
  }
  ok = ok && !injected(ReplaceStep::SyncData) && ::fsync(fd.get()) == 0;
  ok = fd.close() && ok;
  ok = ok && !injected(ReplaceStep::Rename) && ::rename(temporaryPath.c_str(), target.c_str()) == 0;
  if (!ok) {
    ::unlink(temporaryPath.c_str());
    return false;
  }
  syncDirectory(directoryOf(target));
  return true;
}

void failReplaceStepForTesting(std::optional<ReplaceStep> step) {
  injectedFailure.store(step ? static_cast<int>(*step) : kNoFailure, std::memory_order_relaxed);
}

}  // namespace kvlink
