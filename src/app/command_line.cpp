#include "app/command_line.h"

#include <cstring>

namespace corvel {

AppCommandLine ParseAppCommandLine(const std::vector<std::string>& args) {
  AppCommandLine line;
  bool optionsEnded = false;
  std::vector<std::string> folders;
  for (const std::string& arg : args) {
    if (!optionsEnded && arg == "--") {
      optionsEnded = true;
    } else if (!optionsEnded && (arg == "--help" || arg == "-h")) {
      line.action = AppCommandLine::Action::PrintHelp;
      return line;
    } else if (!optionsEnded && arg == "--version") {
      line.action = AppCommandLine::Action::PrintVersion;
      return line;
    } else if (!optionsEnded && arg.size() > 1 && arg[0] == '-') {
      line.action = AppCommandLine::Action::Refuse;
      line.problem = "unknown option \"" + arg + "\"";
      return line;
    } else {
      folders.push_back(arg);
    }
  }
  if (folders.size() > 1) {
    line.action = AppCommandLine::Action::Refuse;
    line.problem = "more than one folder given (\"" + folders[0] + "\", \"" + folders[1] + "\")";
  } else if (!folders.empty()) {
    line.folder = folders[0];
  }
  return line;
}

bool AsksForTextOnly(int argc, char** argv) {
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--") == 0) return false;
    if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0 ||
        std::strcmp(argv[i], "--version") == 0) {
      return true;
    }
  }
  return false;
}

std::string AppHelpText() {
  return R"(usage: corvel-duvu [options] [FOLDER]

Opens Corvel Duvu, a program for training and examining a distributed associative
memory: one layer of weights from input units to linear output units, trained with
the Hebb or the Delta rule. It starts on the training-file page in FOLDER (by
default the current folder); double-click a training file there to set up and
train the memory, then probe it, save a report of it and chart its SSE.

Sample training files come with the program, in
)" CORVEL_DUVU_EXAMPLES_DIR R"( once it is installed. Start it on a copy
of that folder in your home folder, so that the reports you save land beside them.

Options:
  --help              print this help
  --version           print the version of the program and of Qt
  --                  end of options (for a FOLDER whose name starts with "-")

Qt's own options (such as -platform or -style) are accepted too. For training
without a window, for scripts and experiments, see corvel-duvu-batch(1).
)";
}

std::string AppVersionText(const char* qtVersion) {
  return std::string("corvel-duvu ") + CORVEL_DUVU_VERSION + " (Qt " + qtVersion + ")\n";
}

}  // namespace corvel
