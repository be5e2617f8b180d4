#include "trainingset/loader.h"

#include <cstdint>
#include <new>
#include <utility>

#include "learning/engine.h"
#include "state/memory_budget.h"
#include "trainingset/file_text.h"
#include "trainingset/load_messages.h"
#include "trainingset/number_text.h"
#include "trainingset/value_scanner.h"

namespace corvel {
namespace {

using detail::Field;
using detail::ValuePosition;
using Kind = LoadError::Kind;
using Slot = ValuePosition::Slot;

// Reads the values of one text in file order, turning every fault into a LoadError that says
// which value was expected and what was found.
class ValueReader {
 public:
  ValueReader(std::string_view text, std::string_view fileLabel)
      : scanner_(text), label_(fileLabel) {}

  // A header value: a whole number, which for a count must lie in 0..kMaxCount.
  std::optional<LoadError> ReadHeader(ValuePosition position, std::int32_t& out) {
    const Field field = scanner_.Next();
    headerLine_ = field.line;
    if (field.kind == Field::Kind::End) return Fail(Kind::EndsEarly, field, position);
    if (field.kind == Field::Kind::Empty) {
      out = 0;
      return std::nullopt;
    }
    using Status = detail::ParsedWhole::Status;
    const detail::ParsedWhole whole = detail::ParseWhole(field.text);
    if (whole.status == Status::NotANumber) {
      return Fail(Kind::NotANumber, field, position, ", which is not a number");
    }
    if (whole.status == Status::NotWhole) {
      return Fail(Kind::NotAWholeNumber, field, position, ", which is not a whole number");
    }
    if (position.IsCount() && (whole.value < 0 || whole.value > kMaxCount)) {
      return Fail(Kind::CountOutOfRange, field, position,
                  ", but a count must lie between 0 and " + std::to_string(kMaxCount));
    }
    if (whole.value < INT32_MIN || whole.value > INT32_MAX) {
      return Fail(Kind::NotAWholeNumber, field, position,
                  ", which is outside the whole numbers from -2147483648 to 2147483647");
    }
    out = static_cast<std::int32_t>(whole.value);
    return std::nullopt;
  }

  // A pattern value; an empty field reads as 0.
  std::optional<LoadError> ReadPattern(ValuePosition position, double& out) {
    const Field field = scanner_.Next();
    if (field.kind == Field::Kind::Value) {
      const detail::ParsedDouble number = detail::ParseDouble(field.text);
      switch (number.status) {
        case detail::ParsedDouble::Status::Ok:
          out = number.value;
          return std::nullopt;
        case detail::ParsedDouble::Status::NotANumber:
          return Fail(Kind::NotANumber, field, position, ", which is not a number");
        case detail::ParsedDouble::Status::TooLarge:
          return Fail(Kind::NotANumber, field, position,
                      ", which is too large (the largest number is about 1.8e308)");
      }
    }
    if (field.kind == Field::Kind::End) return Fail(Kind::EndsEarly, field, position);
    out = 0.0;
    return std::nullopt;
  }

  std::size_t Remaining() const { return scanner_.Remaining(); }
  // The line of the last header value read, where messages about the counts point.
  std::int64_t HeaderLine() const { return headerLine_; }
  std::string_view Label() const { return label_; }

 private:
  LoadError Fail(Kind kind, const Field& field, const ValuePosition& position,
                 std::string_view problem = {}) const {
    return {kind, detail::FoundMessage(label_, field, position, problem)};
  }

  detail::ValueScanner scanner_;
  std::string_view label_;
  std::int64_t headerLine_ = 1;
};

// The training set while it is read, committed to the state only when complete.
struct TrainingSet {
  std::int32_t NumOutputUnits = 0;
  std::int32_t Unused = 0;
  std::int32_t NumInputUnits = 0;
  std::int32_t NumPatterns = 0;
  Array2D<double> InputPatterns;
  Array2D<double> DesiredOutputs;
};

// Creates the zeroed arrays, unless the rest of the text is too short to hold the values the
// header announces (each needs at least one byte) or the arrays do not fit in memory together
// with the network the set-up page makes for them and the scratch a run takes beside it: a
// set that loads but can never be trained would leave the user no way back to another file.
std::optional<LoadError> CreateArrays(TrainingSet& set, const ValueReader& reader) {
  const detail::SetShape shape{set.NumInputUnits, set.NumOutputUnits, set.NumPatterns};
  const std::string where = detail::Where(reader.Label(), reader.HeaderLine());
  if (shape.Values() > static_cast<std::int64_t>(reader.Remaining())) {
    return LoadError{Kind::EndsEarly, where + "the header announces " + shape.Describe() + " (" +
                                          std::to_string(shape.Values()) + " values), but only " +
                                          std::to_string(reader.Remaining()) +
                                          " bytes follow it: the file ends early"};
  }
  const std::uint64_t bytes =
      shape.Bytes() + PublicStuff::NetworkBytes(set.NumInputUnits, set.NumOutputUnits) +
      RunWorkspaceBytes(set.NumInputUnits, set.NumOutputUnits, set.NumPatterns);
  const LoadError noMemory{Kind::TooLarge, where + "the header announces " + shape.Describe() +
                                               ": the set and a network to learn it need " +
                                               std::to_string((bytes + (1 << 20) - 1) >> 20) +
                                               " MB of memory, more than is available"};
  if (!CanAllocate(bytes)) return noMemory;
  try {
    set.InputPatterns = Array2D<double>(set.NumInputUnits, set.NumPatterns);
    set.DesiredOutputs = Array2D<double>(set.NumOutputUnits, set.NumPatterns);
  } catch (const std::bad_alloc&) {
    return noMemory;
  }
  return std::nullopt;
}

std::optional<LoadError> ReadTrainingSet(TrainingSet& set, std::string_view text,
                                         std::string_view fileLabel) {
  ValueReader reader(text, fileLabel);
  if (auto e = reader.ReadHeader({Slot::NumOutputUnits}, set.NumOutputUnits)) return e;
  if (auto e = reader.ReadHeader({Slot::Unused}, set.Unused)) return e;
  if (auto e = reader.ReadHeader({Slot::NumInputUnits}, set.NumInputUnits)) return e;
  if (auto e = reader.ReadHeader({Slot::NumPatterns}, set.NumPatterns)) return e;
  if (auto e = CreateArrays(set, reader)) return e;

  for (std::int32_t p = 1; p <= set.NumPatterns; ++p) {
    for (std::int32_t i = 1; i <= set.NumInputUnits; ++i) {
      if (auto e = reader.ReadPattern({Slot::Input, i, p}, set.InputPatterns(i, p))) return e;
    }
  }
  for (std::int32_t p = 1; p <= set.NumPatterns; ++p) {
    for (std::int32_t j = 1; j <= set.NumOutputUnits; ++j) {
      if (auto e = reader.ReadPattern({Slot::Output, j, p}, set.DesiredOutputs(j, p))) return e;
    }
  }
  return std::nullopt;
}

}  // namespace

std::optional<LoadError> LoadTrainingText(PublicStuff& s, std::string_view text,
                                          std::string_view fileLabel) {
  TrainingSet set;
  if (auto e = ReadTrainingSet(set, text, fileLabel)) return e;
  s.NumOutputUnits = set.NumOutputUnits;
  s.NumInputUnits = set.NumInputUnits;
  s.NumPatterns = set.NumPatterns;
  s.InputPatterns = std::move(set.InputPatterns);
  s.DesiredOutputs = std::move(set.DesiredOutputs);
  return std::nullopt;
}

std::optional<LoadError> LoadTrainingFile(PublicStuff& s, const std::filesystem::path& path) {
  const std::string label = path.string();
  std::string text;
  if (auto e = detail::ReadWholeFile(path, label, text)) return e;
  return LoadTrainingText(s, text, label);
}

}  // namespace corvel
