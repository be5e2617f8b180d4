#pragma once
// The command line of corvel-duvu: `corvel-duvu [FOLDER]`, --help and --version.

#include <optional>
#include <string>
#include <vector>

namespace corvel {

// What the command line asks for before any window opens.
struct AppCommandLine {
  enum class Action { Run, PrintHelp, PrintVersion, Refuse };
  Action action = Action::Run;
  std::optional<std::string> folder;  // the folder to open the training-file page in
  std::string problem;                // why the command line is refused
};

// Reads the arguments after the program name (those Qt's own options leave). "--" ends the
// options, so a folder whose name starts with "-" can still be given.
AppCommandLine ParseAppCommandLine(const std::vector<std::string>& args);

// True when the arguments ask only for --help or --version, which need no display.
bool AsksForTextOnly(int argc, char** argv);

std::string AppHelpText();
std::string AppVersionText(const char* qtVersion);

}  // namespace corvel
