// The command line: each way of asking for the window, an export, a report,
// a check, the users' copies or help, and the mistakes, each refused with what is wrong.
#include <gtest/gtest.h>

#include <string_view>

#include "commands/CommandLine.h"

namespace quillon {
namespace {

using enum CommandLine::Action;

TEST(CommandLine, ReadsEachCommandWithItsOwnSwitchAndRefusesEverythingElse) {
  struct Case {
    std::string_view line;
    CommandLine::Action action;
    std::string_view fileOrMistake;  // the file (Export, Report, Check), or the mistake's start
    bool option = false;
  };
  const Case cases[] = {
      {"", Window, ""},
      {" \t", Window, ""},
      {"/export C:\\out.reg", Export, "C:\\out.reg"},
      {"-EXPORT \"C:\\My Settings\\all.reg\" ", Export, "C:\\My Settings\\all.reg"},
      {"/export a.reg /defaults", Export, "a.reg", true},
      {"-Export \"C:\\x y.reg\" -DEFAULTS", Export, "C:\\x y.reg", true},
      {"/export \"/defaults\"", Mistake, "No file name after /export."},
      {"/export /defaults a.reg", Mistake, "No file name after /export."},
      {"/export a.reg /defaults b.reg", Mistake, "Unexpected argument \"b.reg\""},
      {"/export a.reg /report", Mistake, "Unexpected argument \"/report\""},
      {"/report", Report, ""},
      {"/report \"\"", Mistake, "No file name after /report."},
      {"-REPORT f", Report, "f"},
      {"/report \"C:\\Temp Files\\r.txt\"", Report, "C:\\Temp Files\\r.txt"},
      {"/report r.txt /defaults", Mistake, "Unexpected argument \"/defaults\" after the file"},
      {"/report /defaults", Mistake, "Unexpected argument \"/defaults\". Use /?"},
      {"/report a.txt b.txt", Mistake, "Unexpected argument \"b.txt\""},
      {"-Check \"C:\\Deploy\\q.reg\"", Check, "C:\\Deploy\\q.reg"},
      {"/check", Mistake, "No file name after /check."},
      {"/check q.reg /defaults", Mistake, "Unexpected argument \"/defaults\" after the file"},
      {"-Check q.reg -ALLUSERS", Check, "q.reg", true},
      {"/check /allusers", Mistake, "No file name after /check."},
      {"/check q.reg /clear", Mistake, "Unexpected argument \"/clear\" after the file"},
      {"/users", Users, ""},
      {"/USERS -Clear", Users, "", true},
      {"/users /clear /clear", Mistake, "Unexpected argument \"/clear\". Use /?"},
      {"/users C:\\u.txt", Mistake, "Unexpected argument \"C:\\u.txt\". Use /?"},
      {"/users /allusers", Mistake, "Unexpected argument \"/allusers\". Use /?"},
      {"/report r.txt /clear", Mistake, "Unexpected argument \"/clear\" after the file"},
      {"/?", Help, ""},
      {"/export", Mistake, "No file name after /export."},
      {"/export \"\"", Mistake, "No file name after /export."},
      {"/export a.reg b.reg", Mistake, "Unexpected argument \"b.reg\""},
      {"/? /export a.reg", Mistake, "Unknown argument \"/?\""},
      {"/import a.reg", Mistake, "Unknown argument \"/import\""},
      {"/defaults", Mistake, "Unknown argument \"/defaults\""},
      {"settings.reg", Mistake, "Unknown argument \"settings.reg\""},
  };
  for (const Case& c : cases) {
    const CommandLine command = ParseCommandLine(c.line);
    EXPECT_EQ(command.action, c.action) << c.line;
    if (c.action == Mistake) {
      EXPECT_TRUE(command.mistake.starts_with(c.fileOrMistake))
          << c.line << ": " << command.mistake;
    } else {
      EXPECT_EQ(command.file, c.fileOrMistake) << c.line;
      EXPECT_EQ(command.option, c.option) << c.line;
    }
  }
}

}  // namespace
}  // namespace quillon
