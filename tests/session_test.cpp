// Every stored session: its input given to the program through a pipe, or
// typed at a terminal, shows its stored screen byte for byte and ends with
// success; palimo-balance's with its stored output, status and messages. PALIMO_TERMINAL_PROGRAM
// (say "wine palimo.exe") plays the terminal sessions to another program; PALIMO_RECORD=1 stores
// the screens shown instead, for a change of screen to be reviewed in the diff.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "program_runner.h"

namespace {

namespace fs = std::filesystem;

// "piped/NAME", "terminal/NAME" and "burst/NAME", each with NAME.in and
// NAME.out, and
// "balance/NAME": palimo-balance with the arguments of NAME.args (and the
// standard input of NAME.in, if there), its standard output in NAME.out,
// its exit status and standard error in NAME.err, in German in NAME.de
// where it has no balance, and the rotor file it writes in NAME.json or
// NAME.toml.
std::vector<std::string> storedSessions() {
  std::vector<std::string> names;
  for (const char* kind : {"piped", "terminal", "burst", "balance"})
    for (const auto& entry : fs::directory_iterator(fs::path(PALIMO_SESSIONS) / kind))
      if (entry.path().extension() == (std::string(kind) == "balance" ? ".args" : ".in"))
        names.push_back(std::string(kind) + "/" + entry.path().stem().string());
  std::sort(names.begin(), names.end());
  return names;
}

std::string pathOf(const std::string& session, const char* extension) {
  return std::string(PALIMO_SESSIONS) + "/" + session + extension;
}

std::string contents(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  std::ostringstream text;
  text << file.rdbuf();
  return text.str();
}

// The stored screen, or with PALIMO_RECORD the screen shown, stored.
std::string expectedScreen(const std::string& session, const std::string& shown,
                           const char* extension = ".out") {
  if (std::getenv("PALIMO_RECORD"))
    std::ofstream(pathOf(session, extension), std::ios::binary) << shown;
  return contents(pathOf(session, extension));
}

// The program's command when it is not this build's own.
std::vector<std::string> terminalProgram() {
  const char* text = std::getenv("PALIMO_TERMINAL_PROGRAM");
  std::vector<std::string> words;
  std::istringstream command(text ? text : "");
  for (std::string word; command >> word;) words.push_back(word);
  return words;
}

std::string withoutTrailingBlanks(const std::string& screen) {
  std::string text;
  for (const char c : screen) {
    if (c == '\n')
      while (!text.empty() && text.back() == ' ') text.pop_back();
    text += c;
  }
  return text;
}

// The lines of a screen that show values ("Kraft   = 5000 N"), without the
// prompts ("Kraft[N]= ") and what a terminal echoed after them.
std::string valueLines(const std::string& screen) {
  std::istringstream lines(screen);
  std::string values;
  for (std::string line; std::getline(lines, line);)
    if (line.find("= ") != std::string::npos && line.find('[') == std::string::npos)
      values += line + "\n";
  return values;
}

// Keys typed in bursts, faster than the program reads them: each line of
// the input is a burst, typed once the program waits; "\r" is Enter.
bool playBursts(TerminalSession& session, const std::string& input, int& waitStatus) {
  std::istringstream bursts(input);
  for (std::string burst; std::getline(bursts, burst);) {
    if (!session.awaitInput()) return false;
    session.type(burst);
  }
  return session.waitForEnd(waitStatus);
}

class SessionTest : public testing::TestWithParam<std::string> {};

TEST_P(SessionTest, ShowsTheStoredScreen) {
  const std::string input = contents(pathOf(GetParam(), ".in"));
  if (GetParam().rfind("balance/", 0) == 0) {
    std::string arguments = contents(pathOf(GetParam(), ".args"));
    arguments.erase(arguments.find_last_not_of('\n') + 1);
    // English, whatever the locale of the machine; a point without a
    // balance also in German, as a German locale (and the page) gives it.
    setenv("LC_ALL", "C", 1);
    // A rotor file stored beside the session (NAME.json, NAME.toml) is
    // written anew, in the working folder, and must be the same bytes.
    std::string rotorFile;
    for (const char* format : {".json", ".toml"})
      if (fs::exists(pathOf(GetParam(), format)))
        rotorFile = fs::path(GetParam()).stem().string() + format;
    if (!rotorFile.empty()) arguments += " --rotor-file " + rotorFile;
    // A study calculated by three threads prints what one prints (the
    // stored rows; the piped sessions take the machine's cores).
    if (arguments.find("--cases") != std::string::npos || arguments.find(':') != std::string::npos)
      arguments += " --jobs 3";
    // A study with the rotor's coefficients takes some seconds, more under
    // the sanitizers on a busy machine: its time is not what this checks.
    constexpr int DEADLINE_MS = 120000;
    const ProgramRun run =
        runWithPipedInput(input, DEADLINE_MS, {arguments.c_str(), false, PALIMO_BALANCE_BINARY});
    ASSERT_FALSE(run.timedOut) << "over 2 minutes: the machine is too slow";
    if (!rotorFile.empty()) {
      const std::string written = contents(rotorFile);
      fs::remove(rotorFile);
      EXPECT_EQ(expectedScreen(GetParam(), written, rotorFile.substr(rotorFile.rfind('.')).c_str()),
                written);
    }
    const std::string ending = "status " + std::to_string(run.exitStatus) + "\n" + run.errors;
    EXPECT_EQ(expectedScreen(GetParam(), run.output), run.output);
    EXPECT_EQ(expectedScreen(GetParam(), ending, ".err"), ending);
    if (run.exitStatus == 1) {
      setenv("LC_ALL", "de_DE.UTF-8", 1);
      const ProgramRun german =
          runWithPipedInput(input, DEADLINE_MS, {arguments.c_str(), false, PALIMO_BALANCE_BINARY});
      setenv("LC_ALL", "C", 1);
      EXPECT_EQ(expectedScreen(GetParam(), german.errors, ".de"), german.errors);
    }
    return;
  }
  if (GetParam().rfind("piped/", 0) == 0) {
    const ProgramRun run = runWithPipedInput(input);
    EXPECT_EQ(expectedScreen(GetParam(), run.output), run.output);
    EXPECT_TRUE(run.exited && run.exitStatus == 0) << run.exitStatus << run.errors;
    return;
  }
  const std::vector<std::string> program = terminalProgram();
  // Keys that only a POSIX terminal sends as these sessions mean them: Ctrl-D
  // as the end of a line, F5 and Alt as escape sequences.
  if (!program.empty() && GetParam().rfind("terminal/posix_", 0) == 0) GTEST_SKIP();
  TerminalSession session(userMode(), program);
  int status = 0;
  const bool bursts = GetParam().rfind("burst/", 0) == 0;
  EXPECT_TRUE(bursts ? playBursts(session, input, status) : playSession(session, input, status))
      << session.screen();
  if (program.empty()) {
    EXPECT_EQ(expectedScreen(GetParam(), session.screen()), session.screen());
  } else if (bursts) {  // a console echoes typed-ahead lines as they are read
    EXPECT_EQ(valueLines(withoutTrailingBlanks(contents(pathOf(GetParam(), ".out")))),
              valueLines(withoutTrailingBlanks(session.screen())));
  } else {  // a console's screen shows no blanks at the ends of lines
    EXPECT_EQ(withoutTrailingBlanks(contents(pathOf(GetParam(), ".out"))),
              withoutTrailingBlanks(session.screen()));
  }
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
  EXPECT_TRUE(!program.empty() || sameMode(userMode(), session.mode()));
}

INSTANTIATE_TEST_SUITE_P(Stored, SessionTest, testing::ValuesIn(storedSessions()),
                         [](const testing::TestParamInfo<std::string>& p) {
                           std::string name = p.param;
                           std::replace(name.begin(), name.end(), '/', '_');
                           return name;
                         });

}  // namespace
