#include "trainingset/value_scanner.h"

namespace corvel::detail {
namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

bool IsSpace(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

}  // namespace

ValueScanner::ValueScanner(std::string_view text)
    : pos_(text.data()), begin_(text.data()), end_(text.data() + text.size()) {
  if (text.starts_with(kByteOrderMark)) pos_ += kByteOrderMark.size();
}

Field ValueScanner::Next() {
  for (;;) {
    // White space; CR LF, a lone CR and a lone LF each end one line.
    while (pos_ != end_ && IsSpace(*pos_)) {
      if (*pos_ == '\n' || (*pos_ == '\r' && (pos_ + 1 == end_ || pos_[1] != '\n'))) ++line_;
      ++pos_;
    }
    if (pos_ == end_) return {Field::Kind::End, {}, EndLine()};
    if (*pos_ == ',') {
      ++pos_;
      if (!valueSinceComma_) return {Field::Kind::Empty, {}, line_};
      valueSinceComma_ = false;
      continue;
    }
    const char* start = pos_;
    while (pos_ != end_ && *pos_ != ',' && !IsSpace(*pos_)) ++pos_;
    valueSinceComma_ = true;
    return {Field::Kind::Value, std::string_view(start, static_cast<std::size_t>(pos_ - start)),
            line_};
  }
}

// A line break that ends the text closes the last line rather than opening an empty one.
std::int64_t ValueScanner::EndLine() const {
  const bool endsWithBreak = end_ != begin_ && (end_[-1] == '\n' || end_[-1] == '\r');
  return endsWithBreak ? line_ - 1 : line_;
}

}  // namespace corvel::detail
