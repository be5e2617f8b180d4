// corvel-duvu's command line: what each form asks for, and which need no display.
#include <gtest/gtest.h>

#include "app/command_line.h"

namespace corvel {
namespace {

using Action = AppCommandLine::Action;

TEST(AppCommandLine, ReadsWhatEachFormAsksFor) {
  const struct {
    std::vector<std::string> args;
    Action action;
    std::string folderOrProblem;
  } cases[] = {
      {{}, Action::Run, ""},
      {{"examples"}, Action::Run, "examples"},
      {{"--", "-odd"}, Action::Run, "-odd"},
      {{"-"}, Action::Run, "-"},
      {{"a", "--help"}, Action::PrintHelp, ""},
      {{"-h"}, Action::PrintHelp, ""},
      {{"--version", "--bogus"}, Action::PrintVersion, ""},
      {{"--bogus", "--help"}, Action::Refuse, "unknown option \"--bogus\""},
      {{"a", "b"}, Action::Refuse, "more than one folder given (\"a\", \"b\")"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.folderOrProblem);
    const AppCommandLine line = ParseAppCommandLine(c.args);
    EXPECT_EQ(line.action, c.action);
    EXPECT_EQ(line.action == Action::Refuse ? line.problem : line.folder.value_or(""),
              c.folderOrProblem);
  }
}

TEST(AppCommandLine, HelpAndVersionNeedNoDisplay) {
  char program[] = "corvel-duvu", help[] = "--help", version[] = "--version", end[] = "--",
       folder[] = "examples";
  char* asksHelp[] = {program, folder, help};
  char* asksVersion[] = {program, version};
  char* folderNamedHelp[] = {program, end, help};
  EXPECT_TRUE(AsksForTextOnly(3, asksHelp));
  EXPECT_TRUE(AsksForTextOnly(2, asksVersion));
  EXPECT_FALSE(AsksForTextOnly(3, folderNamedHelp));
  EXPECT_TRUE(AppHelpText().starts_with("usage: corvel-duvu [options] [FOLDER]\n"));
  EXPECT_EQ(AppVersionText("6.4.2"),
            "corvel-duvu " + std::string(CORVEL_VERSION) + " (Qt 6.4.2)\n");
}

}  // namespace
}  // namespace corvel
