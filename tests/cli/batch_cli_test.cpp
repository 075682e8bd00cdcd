// vellumark-report over many files: folders, lists, jobs, progress and Ctrl+C,
// as a script or a person at a terminal sees them.
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "tests/support/files.h"
#include "tests/support/json_structure.h"
#include "tests/support/report_process.h"

namespace vellumark {
namespace {

namespace fs = std::filesystem;
using namespace std::string_literals;
using testing::ProcessResult;
using testing::Quoted;
using testing::ReadWholeFile;
using testing::ReportCommand;
using testing::RunCommand;
using testing::RunReport;
using testing::TempDir;
using testing::WriteWholeFile;

const std::string kGoldenDir = std::string(VELLUMARK_GOLDEN_DIR) + "/";

std::vector<std::string> GoldenJpegs() {
  std::vector<std::string> files;
  for (const auto& entry : fs::directory_iterator(kGoldenDir)) {
    if (entry.path().extension() == ".jpg") {
      files.push_back(entry.path().string());
    }
  }
  std::sort(files.begin(), files.end());
  return files;
}

// The "==> FILE <==" headers of a text report, in order.
std::vector<std::string> Headers(const std::string& report) {
  std::vector<std::string> headers;
  for (std::size_t at = report.find("==> "); at != std::string::npos; at = report.find("\n==> ", at + 1)) {
    const std::size_t start = report[at] == '\n' ? at + 5 : at + 4;
    headers.push_back(report.substr(start, report.find(" <==", start) - start));
  }
  return headers;
}

// Names that arrive over a third of a second, so that a progress line would be
// drawn at least once.
std::string SlowList(const std::string& first, const std::string& second) {
  return "{ printf '%s\\n' " + Quoted(first) + "; sleep 0.3; printf '%s\\n' " + Quoted(second) + "; } | ";
}

// A folder of golden files beside entries that cannot be read: a FIFO named
// like a JPEG file, a link to nothing, and a folder.
class BatchCliTest : public ::testing::Test {
protected:
  BatchCliTest() {
    fs::create_directories(dir.Path() / "mixed/sub");
    for (const std::string& file : golden) {
      fs::copy_file(file, dir.Path() / "mixed" / fs::path(file).filename());
      fs::copy_file(file, dir.Path() / "mixed/sub" / fs::path(file).filename());
    }
    ::mkfifo((dir / "mixed/pipe.jpg").c_str(), 0600);
    fs::create_symlink("nowhere.jpg", dir.Path() / "dangling.jpg");
  }

  const std::vector<std::string> golden = GoldenJpegs();
  TempDir dir;
};

TEST_F(BatchCliTest, FourJobsWriteWhatOneJobWrites) {
  std::vector<std::string> twice = golden;
  twice.insert(twice.end(), golden.begin(), golden.end());
  const std::vector<std::string> unreadable = {golden[0], dir / "mixed", dir / "dangling.jpg", golden[1]};
  const std::vector<std::string> walked = {"-r", dir / "mixed", dir / "dangling.jpg", golden[2]};
  for (const std::vector<std::string>& format : {std::vector<std::string>{}, std::vector<std::string>{"--json"}}) {
    for (const auto& args : {twice, unreadable, walked}) {
      std::vector<std::string> oneJob = format;
      oneJob.insert(oneJob.end(), {"-j", "1"});
      oneJob.insert(oneJob.end(), args.begin(), args.end());
      std::vector<std::string> fourJobs = format;
      fourJobs.insert(fourJobs.end(), {"-j", "4"});
      fourJobs.insert(fourJobs.end(), args.begin(), args.end());
      const ProcessResult one = RunReport(oneJob);
      const ProcessResult four = RunReport(fourJobs);
      SCOPED_TRACE(oneJob.front() + " " + args.front());
      EXPECT_EQ(four.status, one.status);
      EXPECT_EQ(four.out, one.out);
      EXPECT_EQ(four.err, one.err);
    }
  }
  const ProcessResult walk = RunReport(walked);
  EXPECT_EQ(walk.status, 1);
  EXPECT_EQ(walk.err, "vellumark-report: " + (dir / "mixed/pipe.jpg") + ": 路径/文件访问错误 (error 75)\n" +
                          "vellumark-report: " + (dir / "dangling.jpg") + ": 文件未找到 (error 53)\n");
  EXPECT_EQ(Headers(walk.out).size(), 2 * golden.size() + 3);
}

// Names from a list come after the arguments, reported as if they were
// arguments themselves.
TEST_F(BatchCliTest, ListsOfEitherKind) {
  const ProcessResult asArguments = RunReport(golden);
  ASSERT_EQ(asArguments.status, 0);
  std::string lines = "\r\n";
  std::string nulEnded;
  for (std::size_t i = 1; i < golden.size(); ++i) {
    lines += golden[i] + (i % 2 == 0 ? "\r\n\n" : "\n");
    nulEnded += golden[i] + '\0';
  }
  WriteWholeFile(dir / "lines", lines);
  WriteWholeFile(dir / "nul", nulEnded);
  struct Case {
    std::vector<std::string> args;
    std::string input;
  };
  for (const Case& run : {Case{{golden[0], "--files-from", dir / "lines"}, ""},
                          Case{{golden[0], "-0", "--files-from", dir / "nul"}, ""},
                          Case{{"--files-from", "-", "--null", "-j", "3", golden[0]}, nulEnded},
                          Case{{"--files-from", "-", golden[0]}, lines}}) {
    SCOPED_TRACE(run.args[1]);
    const ProcessResult listed = RunReport(run.args, run.input);
    EXPECT_EQ(listed.status, 0);
    EXPECT_EQ(listed.out, asArguments.out);
    EXPECT_EQ(listed.err, "");
  }
}

TEST_F(BatchCliTest, HeaderWheneverMoreThanOneFileMayBeAnalysed) {
  fs::create_directory(dir.Path() / "one");
  fs::copy_file(golden[0], dir.Path() / "one/only.jpg");
  WriteWholeFile(dir / "list", dir / "one/only.jpg");
  const std::string alone = RunReport({dir / "one/only.jpg"}).out;
  const std::string withHeader = "==> " + (dir / "one/only.jpg") + " <==\r\n" + alone + "\r\n";
  EXPECT_EQ(RunReport({"-r", dir / "one"}).out, withHeader);
  EXPECT_EQ(RunReport({"--files-from", dir / "list"}).out, withHeader);
}

// Nested folders, a link back up, a link to a JPEG file and files of other
// kinds: only the JPEG files themselves, each once, in path order ("b.jpg"
// before "b/", as "." sorts before "/").
TEST_F(BatchCliTest, RecursiveWalk) {
  const fs::path top = dir.Path() / "top";
  fs::create_directories(top / "b/c");
  fs::copy_file(golden[0], top / "b/c/deep.JPG");
  fs::copy_file(golden[0], top / "a.jpeg");
  fs::copy_file(golden[0], top / "b.jpg");
  WriteWholeFile((top / "notes.txt").string(), "not a picture");
  fs::create_directory_symlink("..", top / "b/up");
  fs::create_symlink("../a.jpeg", top / "b/link.jpg");
  const ProcessResult run = RunReport({"-r", top.string()});
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.err, "");
  EXPECT_EQ(Headers(run.out), (std::vector<std::string>{(top / "a.jpeg").string(), (top / "b.jpg").string(),
                                                        (top / "b/c/deep.JPG").string()}));
}

TEST_F(BatchCliTest, ProgressNeverOnStandardOutput) {
  const std::string names = SlowList(golden[0], golden[1]);
  const ProcessResult plain = RunCommand(names + ReportCommand({"--files-from", "-", "--no-progress"}));
  const ProcessResult shown = RunCommand(names + ReportCommand({"--files-from", "-", "--progress", "-j", "2"}));
  EXPECT_EQ(shown.out, plain.out);
  EXPECT_EQ(plain.err, "");
  EXPECT_NE(shown.err.find(" files/s"), std::string::npos) << shown.err;
  // Without a terminal on standard error there is none by default.
  EXPECT_EQ(RunCommand(names + ReportCommand({"--files-from", "-"})).err, "");
}

// Standard error on a pseudo-terminal, standard output to a file: the progress
// line is there, and cleared at the end.
TEST_F(BatchCliTest, ProgressOnATerminal) {
  const int terminal = ::posix_openpt(O_RDWR | O_NOCTTY);
  ASSERT_GE(terminal, 0);
  ASSERT_EQ(::grantpt(terminal), 0);
  ASSERT_EQ(::unlockpt(terminal), 0);
  const std::string command =
      SlowList(golden[0], golden[1]) + ReportCommand({"--files-from", "-"}) + " >" + Quoted(dir / "out");
  const pid_t child = ::fork();
  if (child == 0) {
    ::setsid();
    const int screen = ::open(::ptsname(terminal), O_RDWR);
    ::dup2(screen, STDERR_FILENO);
    ::execl("/bin/sh", "sh", "-c", command.c_str(), static_cast<char*>(nullptr));
    ::_exit(127);
  }
  std::string shown;
  char buffer[4096];
  for (ssize_t got; (got = ::read(terminal, buffer, sizeof buffer)) > 0;) {
    shown.append(buffer, static_cast<std::size_t>(got));
  }
  int status = 0;
  ::waitpid(child, &status, 0);
  ::close(terminal);
  EXPECT_EQ(WEXITSTATUS(status), 0);
  EXPECT_NE(shown.find("1/1+ files"), std::string::npos) << shown;
  EXPECT_TRUE(shown.ends_with("\r")) << shown;
  EXPECT_EQ(ReadWholeFile(dir / "out"), RunReport({golden[0], golden[1]}).out);
}

struct InterruptCase {
  const char* name;
  std::vector<std::string> options;
};

class InterruptTest : public ::testing::TestWithParam<InterruptCase> {};

// Ctrl+C while a long report streams out: exit status 130, and the output
// ends at a line end; a JSON object is closed validly and says so last.
TEST_P(InterruptTest, NoPartialLine) {
  TempDir dir;
  // Long in either output: the text report gives each FF 00 pair a marker
  // block of its own, the JSON each TEM marker after SOI a segment.
  const bool json = GetParam().options.front() == "--json";
  std::string bytes = json ? "\xFF\xD8" : "";
  for (int i = 0; i < 1 << 21; ++i) {
    bytes += json ? "\xFF\x01"s : "\xFF\x00"s;
  }
  WriteWholeFile(dir / "long.jpg", bytes);
  std::vector<std::string> args = GetParam().options;
  args.insert(args.end(), 8, dir / "long.jpg");
  const std::string command = "exec " + ReportCommand(args) + " >" + Quoted(dir / "out") + " 2>/dev/null";
  const pid_t child = ::fork();
  if (child == 0) {
    ::signal(SIGINT, SIG_DFL);
    ::execl("/bin/sh", "sh", "-c", command.c_str(), static_cast<char*>(nullptr));
    ::_exit(127);
  }
  while (!fs::exists(dir / "out") || fs::file_size(dir / "out") == 0) {
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  ::kill(child, SIGINT);
  int status = 0;
  ::waitpid(child, &status, 0);
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 130);
  const std::string out = ReadWholeFile(dir / "out");
  ASSERT_TRUE(out.ends_with("\n")) << out.substr(out.size() - std::min<std::size_t>(out.size(), 40));
  if (json) {
    const std::string last = out.substr(out.rfind('\n', out.size() - 2) + 1);
    EXPECT_EQ(testing::JsonLineFault(last), "");
    EXPECT_TRUE(last.ends_with(",\"interrupted\":true}\n")) << last.substr(last.size() - 40);
  } else {
    EXPECT_TRUE(out.ends_with("\r\n"));
  }
}

INSTANTIATE_TEST_SUITE_P(Outputs, InterruptTest,
                         ::testing::Values(InterruptCase{"TextOneJob", {"-j", "1"}},
                                           InterruptCase{"TextThreeJobs", {"-j", "3"}},
                                           InterruptCase{"JsonOneJob", {"--json", "-j", "1"}},
                                           InterruptCase{"JsonThreeJobs", {"--json", "-j", "3"}}),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace vellumark
