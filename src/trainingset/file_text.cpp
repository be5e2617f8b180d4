#include "trainingset/file_text.h"

#include <cerrno>
#include <cstdio>
#include <memory>
#include <new>
#include <system_error>

#include "state/memory_budget.h"

namespace corvel::detail {
namespace {

constexpr std::size_t kBlock = std::size_t{1} << 20;

struct FileCloser {
  void operator()(std::FILE* f) const { std::fclose(f); }
};

LoadError SystemError(std::string_view fileLabel, std::string_view what, int error) {
  return {LoadError::Kind::CannotOpen, std::string(fileLabel) + ": " + std::string(what) + " (" +
                                           std::generic_category().message(error) + ")"};
}

LoadError TooLargeToRead(std::string_view fileLabel, std::uintmax_t bytes) {
  return {LoadError::Kind::TooLarge, std::string(fileLabel) + ": the file (" +
                                         std::to_string(bytes) +
                                         " bytes) is too large to read into memory"};
}

}  // namespace

std::optional<LoadError> ReadWholeFile(const std::filesystem::path& path,
                                       std::string_view fileLabel, std::string& text) {
  const std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path.c_str(), "rb"));
  if (!file) return SystemError(fileLabel, "cannot open the file", errno);

  // The size is only a hint (it may be unknown, or change while we read), so the loop below
  // reads until the end whatever it says.
  std::error_code ignored;
  const std::uintmax_t size = std::filesystem::file_size(path, ignored);
  const bool sizeKnown = !ignored;
  int readError = 0;
  try {
    if (sizeKnown) {
      if (size >= text.max_size() || !CanAllocate(size)) return TooLargeToRead(fileLabel, size);
      text.reserve(static_cast<std::size_t>(size) + 1);  // + 1 to see the end in one read
    }
    text.clear();
    for (;;) {
      const std::size_t used = text.size();
      const std::size_t want = sizeKnown && used < size ? size - used + 1 : kBlock;
      text.resize(used + want);
      const std::size_t got = std::fread(text.data() + used, 1, want, file.get());
      text.resize(used + got);
      if (got < want) {
        if (std::ferror(file.get())) readError = errno != 0 ? errno : EIO;
        break;
      }
    }
  } catch (const std::bad_alloc&) {
    return TooLargeToRead(fileLabel, sizeKnown ? size : text.size());
  }
  if (readError != 0) return SystemError(fileLabel, "cannot read the file", readError);
  return std::nullopt;
}

}  // namespace corvel::detail
