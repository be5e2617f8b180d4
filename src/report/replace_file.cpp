#include "report/replace_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstring>

namespace corvel {
namespace {

bool WriteEvery(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t n = write(fd, bytes.data(), bytes.size());
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    bytes.remove_prefix(static_cast<std::size_t>(n));
  }
  return true;
}

// The file a write to `path` is meant for: a symbolic link is followed, so that the file it
// names is replaced and the link itself stays a link.
std::filesystem::path FollowLinks(const std::filesystem::path& path) {
  std::error_code error;
  const std::filesystem::path target = std::filesystem::canonical(path, error);
  return error ? path : target;
}

// Gives the source's pieces to `fd`, keeping the errno of a failed write for the caller.
bool WriteSource(int fd, const ByteSource& source) {
  int reason = 0;
  const bool written = source([fd, &reason](std::string_view piece) {
    if (WriteEvery(fd, piece)) return true;
    reason = errno;
    return false;
  });
  if (!written) errno = reason;
  return written;
}

// Writes every byte over what the file held; false with errno set on failure.
bool WriteInPlace(const std::filesystem::path& path, const ByteSource& source) {
  const int fd = open(path.c_str(), O_WRONLY | O_TRUNC | O_CLOEXEC);
  if (fd < 0) return false;
  const bool written = WriteSource(fd, source);
  const int reason = errno;
  const bool closed = close(fd) == 0;
  if (!written) errno = reason;
  return written && closed;
}

class TemporaryFile {
 public:
  // Creates a file next to `target` with a name no one else uses, with the permissions a
  // newly created file gets (0666 less the umask).
  explicit TemporaryFile(const std::filesystem::path& target) {
    static std::atomic<unsigned> counter{0};
    const std::filesystem::path dir = target.parent_path();
    for (int attempt = 0; attempt < 100; ++attempt) {
      // Short whatever the target's name, so that a name near the system's limit can still
      // be written.
      const std::string name =
          ".corvel-duvu-" + std::to_string(getpid()) + "-" + std::to_string(counter++) + ".tmp";
      path_ = dir.empty() ? std::filesystem::path(name) : dir / name;
      fd_ = open(path_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
      if (fd_ >= 0 || errno != EEXIST) return;
    }
  }
  ~TemporaryFile() {
    if (fd_ >= 0) close(fd_);
    if (!kept_) unlink(path_.c_str());
  }
  TemporaryFile(const TemporaryFile&) = delete;
  TemporaryFile& operator=(const TemporaryFile&) = delete;

  bool IsOpen() const { return fd_ >= 0; }

  // Gives the file the owner, group and permission bits of `old`; false when the process may
  // not give it that owner and group.
  bool TakeOwnershipOf(const struct stat& old) {
    if (fchown(fd_, old.st_uid, old.st_gid) != 0) return false;
    return fchmod(fd_, old.st_mode & 07777) == 0;
  }

  // Writes every piece and flushes them to the disk; false with errno set on failure.
  bool WriteAll(const ByteSource& source) {
    if (!WriteSource(fd_, source)) return false;
    if (fsync(fd_) != 0) return false;
    const int fd = fd_;
    fd_ = -1;
    return close(fd) == 0;
  }

  bool RenameTo(const std::filesystem::path& target) {
    if (std::rename(path_.c_str(), target.c_str()) != 0) return false;
    kept_ = true;
    return true;
  }

 private:
  std::filesystem::path path_;
  int fd_ = -1;
  bool kept_ = false;
};

}  // namespace

std::string FileWriteError::Message() const { return "Cannot write \"" + Path + "\": " + Reason; }

std::optional<FileWriteError> ReplaceFile(const std::filesystem::path& path,
                                          std::string_view bytes) {
  return ReplaceFileWith(path, [bytes](const ByteSink& sink) { return sink(bytes); });
}

std::optional<FileWriteError> ReplaceFileWith(const std::filesystem::path& path,
                                              const ByteSource& source) {
  const auto failed = [&path] { return FileWriteError{path.string(), std::strerror(errno)}; };
  const std::filesystem::path target = FollowLinks(path);
  const auto writeInPlace = [&]() -> std::optional<FileWriteError> {
    if (!WriteInPlace(target, source)) return failed();
    return std::nullopt;
  };
  struct stat old {};
  const bool exists = stat(target.c_str(), &old) == 0;
  const bool regular = exists && S_ISREG(old.st_mode);
  // A device or a pipe (/dev/null, /dev/stdout) cannot be replaced without destroying it.
  if (exists && !regular && !S_ISDIR(old.st_mode)) return writeInPlace();
  // A file the user may not write is not replaced behind its permissions.
  if (regular && access(target.c_str(), W_OK) != 0) return failed();
  // Renaming a new file over one with several names would leave the others on the old text.
  if (regular && old.st_nlink > 1) return writeInPlace();

  TemporaryFile temporary(target);
  if (!temporary.IsOpen()) {
    // The folder takes no new file, but the file itself may still be written.
    if (regular && (errno == EACCES || errno == EPERM)) return writeInPlace();
    return failed();
  }
  // The new file takes the old one's place, so it takes its owner, group and permissions
  // too; where the process may not give it those, the old file is written over instead.
  if (regular && !temporary.TakeOwnershipOf(old)) return writeInPlace();
  if (!temporary.WriteAll(source)) return failed();
  if (!temporary.RenameTo(target)) return failed();
  return std::nullopt;
}

}  // namespace corvel
