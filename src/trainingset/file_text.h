#pragma once
// Reading a whole training file into memory in one go, so the scanner can run over its bytes.

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "trainingset/loader.h"

namespace corvel::detail {

// Fills `text` with the file's bytes. A file that cannot be opened or read is CannotOpen, one
// that does not fit in the memory available is TooLarge; the message names the file by
// `fileLabel` and gives the system's reason.
std::optional<LoadError> ReadWholeFile(const std::filesystem::path& path,
                                       std::string_view fileLabel, std::string& text);

}  // namespace corvel::detail
