#pragma once
// Writing a whole file so that it is either complete or not replaced at all.

#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace corvel {

// Why a file could not be written: the path as given and the system's reason.
struct FileWriteError {
  std::string Path;
  std::string Reason;  // e.g. "No such file or directory"
  // "Cannot write \"PATH\": REASON"
  std::string Message() const;
};

// Writes `bytes` exactly (binary, no line-end translation) to a new temporary file in the
// directory of `path`, flushes it to the disk and renames it over `path` only then. On any
// failure (missing directory, no access, disk full, `path` a directory) the temporary file
// is removed, whatever was at `path` before is left untouched, and the error is returned.
// No directory is created. A file the user may not write is refused.
//
// Saving over a file keeps it what it was, with new contents: the new file gets the old
// one's owner, group and permission bits. Where a rename cannot do that, the old file is
// written over in place instead: when the process may not give the new file that owner and
// group, when the file has several names (hard links), and when the folder takes no new
// file. A symbolic link is followed and the file it names replaced; a device or a pipe at
// `path` (/dev/null, /dev/stdout) is written to directly.
std::optional<FileWriteError> ReplaceFile(const std::filesystem::path& path,
                                          std::string_view bytes);

// Takes a file's bytes in order, a piece at a time; false when a piece could not be written
// (errno tells why), after which it must be given no more.
using ByteSink = std::function<bool(std::string_view)>;
// Gives a file's bytes to the sink piece by piece; false as soon as the sink returns false.
using ByteSource = std::function<bool(const ByteSink&)>;

// ReplaceFile for a file made piece by piece, so that a large one is never held whole.
std::optional<FileWriteError> ReplaceFileWith(const std::filesystem::path& path,
                                              const ByteSource& source);

}  // namespace corvel
