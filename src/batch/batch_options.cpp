#include "batch/batch_options.h"

#include <array>
#include <charconv>
#include <string_view>

namespace corvel {
namespace {

constexpr std::string_view kUsage = "usage: corvel-duvu-batch [options] TRAINING_FILE";

UsageError Usage(const std::string& problem) {
  return UsageError{problem + "; " + std::string(kUsage) + " (--help lists the options)"};
}

// The names --sections takes, by the box index of the section.
constexpr std::array<std::string_view, kReportSectionCount> kSectionNames = {
    "inputs", "general", "responses", "errors", "weights", "outputs", "sse"};

std::optional<ReportSections> ParseSections(std::string_view list) {
  ReportSections sections{};
  while (true) {
    const std::size_t comma = list.find(',');
    const std::string_view name = list.substr(0, comma);
    if (name == "all") {
      sections.fill(true);
    } else if (name == "none") {
      sections.fill(false);
    } else {
      std::size_t index = 0;
      while (index < kSectionNames.size() && kSectionNames[index] != name) ++index;
      if (index == kSectionNames.size()) return std::nullopt;
      sections[index] = true;
    }
    if (comma == std::string_view::npos) return sections;
    list.remove_prefix(comma + 1);
  }
}

constexpr std::array<std::string_view, 4> kSwitches = {"--no-max-sweeps", "--quiet", "--help",
                                                       "--version"};
constexpr std::array<std::string_view, 11> kValueOptions = {
    "--rule",   "--rate",     "--max-sweeps", "--min-sse",     "--print-sweeps", "--continue",
    "--report", "--sections", "--threads",    "--weights-csv", "--responses-csv"};

template <std::size_t N>
bool IsOneOf(std::string_view name, const std::array<std::string_view, N>& names) {
  for (std::string_view n : names) {
    if (n == name) return true;
  }
  return false;
}

void ApplySwitch(BatchOptions& o, std::string_view name) {
  if (name == "--no-max-sweeps") o.Boxes.MaxSweepsChecked = false;
  if (name == "--quiet") o.Quiet = true;
  if (name == "--help") o.Help = true;
  if (name == "--version") o.Version = true;
}

// Applies one of kValueOptions; an error when the value is not one the option takes.
std::optional<UsageError> ApplyValueOption(BatchOptions& o, std::string_view name,
                                           const std::string& value) {
  if (name == "--rule") {
    if (value != "hebb" && value != "delta") {
      return Usage("--rule takes hebb or delta, not \"" + value + "\"");
    }
    o.LearningRule = value == "hebb" ? "Hebb" : "Delta";
  } else if (name == "--rate") {
    o.Boxes.LRateBox = value;
  } else if (name == "--max-sweeps") {
    o.Boxes.MaxSweepsChecked = true;
    o.Boxes.SweepsBox = value;
  } else if (name == "--min-sse") {
    o.Boxes.MinSSEChecked = true;
    o.Boxes.MinErrorBox = value;
  } else if (name == "--print-sweeps") {
    o.Boxes.PrintSweepsBox = value;
  } else if (name == "--continue") {
    o.ContinueSweeps.push_back(value);
  } else if (name == "--report") {
    o.ReportFile = value;
  } else if (name == "--weights-csv") {
    o.WeightsCsvFile = value;
  } else if (name == "--responses-csv") {
    o.ResponsesCsvFile = value;
  } else if (name == "--threads") {
    int threads = 0;
    const auto [end, error] = std::from_chars(value.data(), value.data() + value.size(), threads);
    if (error != std::errc() || end != value.data() + value.size() || threads < 1 ||
        threads > 1024) {
      return Usage("--threads takes a whole number from 1 to 1024, not \"" + value + "\"");
    }
    o.Threads = threads;
  } else if (name == "--sections") {
    const auto sections = ParseSections(value);
    if (!sections) {
      return Usage(
          "--sections takes a comma list of inputs, general, responses, errors, "
          "weights, outputs, sse, or all, or none, not \"" +
          value + "\"");
    }
    o.Sections = *sections;
  }
  return std::nullopt;
}

}  // namespace

std::variant<BatchOptions, UsageError> ParseBatchOptions(const std::vector<std::string>& args) {
  BatchOptions o;
  std::vector<std::string> files;
  bool optionsEnded = false;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (optionsEnded || arg.size() < 2 || arg[0] != '-') {
      files.push_back(arg);
      continue;
    }
    if (arg == "--") {
      optionsEnded = true;
      continue;
    }
    const std::size_t equals = arg.find('=');
    const bool inlineValue = equals != std::string::npos;
    const std::string name = arg.substr(0, equals);
    if (IsOneOf(name, kSwitches)) {
      if (inlineValue) return Usage("option " + name + " takes no value");
      ApplySwitch(o, name);
      continue;
    }
    if (!IsOneOf(name, kValueOptions)) return Usage("unknown option \"" + arg + "\"");
    std::string value;
    if (inlineValue) {
      value = arg.substr(equals + 1);
    } else if (i + 1 < args.size()) {
      value = args[++i];
    } else {
      return Usage("option " + name + " needs a value");
    }
    if (auto error = ApplyValueOption(o, name, value)) return *error;
  }
  if (o.Help || o.Version) return o;
  if (files.empty()) return Usage("no training file given");
  if (files.size() > 1)
    return Usage("more than one training file given (\"" + files[0] + "\", \"" + files[1] + "\")");
  o.TrainingFile = files[0];
  return o;
}

std::string BatchHelpText() {
  return std::string(kUsage) + R"(

Trains a distributed associative memory on TRAINING_FILE as the set-up page's
"Start Training" does, then runs one "Continue Training" per --continue, in order,
and writes the results report if --report is given, and the weights and every
pattern's response as CSV if --weights-csv or --responses-csv is.

Options (values are read as the page reads the text of its boxes):
  --rule hebb|delta   learning rule (default hebb)
  --rate X            learning rate (default 0.10)
  --max-sweeps N      end after N sweeps (default: on, 100)
  --no-max-sweeps     do not end after a maximum number of sweeps
  --min-sse X         end when the total SSE is below X (default: off, 0.05)
  --print-sweeps K    print progress every K sweeps (default 10)
  --continue N        then continue training for N more sweeps (repeatable)
  --report FILE       write the results report to FILE (created or replaced)
  --weights-csv FILE  write the weights to FILE as CSV, as the weights page saves them
  --responses-csv FILE
                      write every pattern's responses to FILE as CSV, the same way
  --threads N         train on N threads (1: on one; default: as many as the size of
                      the memory is worth, up to one per core); the results are the same
  --sections LIST     report sections, a comma list of inputs, general, responses,
                      errors, weights, outputs, sse; or all; or none
                      (default general,responses,errors,weights)
  --quiet             print no progress lines
  --help              print this help
  --version           print the version

An option's value follows it as the next argument or after "=" (--rate=0.5).
The report is dated now, or at the instant SOURCE_DATE_EPOCH gives in seconds
since 1970. Numbers, dates and times follow the locale (LC_ALL, LANG).

Exit status: 0 done; 2 bad command line, unreadable or malformed training file,
refused parameter or unwritable report or CSV file; 3 the training run failed.
)";
}

std::string BatchVersionText() { return "corvel-duvu-batch " CORVEL_DUVU_VERSION "\n"; }

}  // namespace corvel
