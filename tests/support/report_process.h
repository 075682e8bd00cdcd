#pragma once

// vellumark-report run as a process through the POSIX shell: exit status,
// standard output and standard error exactly as a script sees them. Needs
// VELLUMARK_REPORT_EXE, the program's path.
#include <sys/wait.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "tests/support/files.h"

namespace vellumark::testing {

struct ProcessResult {
  int status;
  std::string out;
  std::string err;
};

inline std::string Quoted(const std::string& arg) {
  std::string quoted = "'";
  for (const char c : arg) {
    quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
  }
  return quoted + "'";
}

// The shell's words for running vellumark-report with args.
inline std::string ReportCommand(const std::vector<std::string>& args) {
  std::string command = Quoted(VELLUMARK_REPORT_EXE);
  for (const std::string& arg : args) {
    command += " " + Quoted(arg);
  }
  return command;
}

// Runs a shell command (a pipeline too) with input on its standard input.
inline ProcessResult RunCommand(const std::string& command, const std::string& input = "") {
  TempDir dir;
  WriteWholeFile(dir / "in", input);
  const std::string line =
      "(" + command + ") >" + Quoted(dir / "out") + " 2>" + Quoted(dir / "err") + " <" + Quoted(dir / "in");
  const int raw = std::system(line.c_str());
  const int status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
  return {status, ReadWholeFile(dir / "out"), ReadWholeFile(dir / "err")};
}

inline ProcessResult RunReport(const std::vector<std::string>& args, const std::string& input = "") {
  return RunCommand(ReportCommand(args), input);
}

}  // namespace vellumark::testing
