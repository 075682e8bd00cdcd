// vellumark-report over many files: folders, lists, jobs, progress and Ctrl+C,
// as a script or a person at a terminal sees them.
#include <fcntl.h>
#include <signal.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "tests/support/deep_folder.h"
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

// A shell command run with standard output and standard error on a
// pseudo-terminal (unless the command sends them elsewhere) and standard input
// a pipe that the test writes to as it goes, so that it can wait for what the
// terminal shows before it goes on.
class OnATerminal {
public:
  explicit OnATerminal(const std::string& command) : terminal_(::posix_openpt(O_RDWR | O_NOCTTY)) {
    ::grantpt(terminal_);
    ::unlockpt(terminal_);
    int input[2];
    if (::pipe(input) != 0) {
      throw std::runtime_error("no pipe");
    }
    child_ = ::fork();
    if (child_ == 0) {
      ::setsid();
      const int screen = ::open(::ptsname(terminal_), O_RDWR);
      ::dup2(screen, STDOUT_FILENO);
      ::dup2(screen, STDERR_FILENO);
      ::dup2(input[0], STDIN_FILENO);
      ::close(input[1]);
      ::close(terminal_);
      ::signal(SIGINT, SIG_DFL);
      ::execl("/bin/sh", "sh", "-c", command.c_str(), static_cast<char*>(nullptr));
      ::_exit(127);
    }
    ::close(input[0]);
    input_ = input[1];
  }
  OnATerminal(const OnATerminal&) = delete;
  OnATerminal& operator=(const OnATerminal&) = delete;

  void Send(const std::string& line) {
    const std::string bytes = line + "\n";
    ASSERT_EQ(::write(input_, bytes.data(), bytes.size()), static_cast<ssize_t>(bytes.size()));
  }

  // Reads the terminal until it has shown text.
  void WaitFor(std::string_view text) {
    while (shown_.find(text) == std::string::npos && Read()) {
    }
  }

  // Ends the input and reads the terminal to its end; the wait status.
  int Finish() {
    ::close(input_);
    while (Read()) {
    }
    int status = 0;
    ::waitpid(child_, &status, 0);
    ::close(terminal_);
    return status;
  }

  pid_t Pid() const { return child_; }
  const std::string& Shown() const { return shown_; }

  // The bottom line of the screen: each carriage return goes back over it.
  std::string BottomLine() const {
    std::string line;
    std::size_t column = 0;
    for (const char c : shown_.substr(shown_.rfind('\n') + 1)) {
      if (c == '\r') {
        column = 0;
      } else {
        line.resize(std::max(line.size(), column + 1), ' ');
        line[column++] = c;
      }
    }
    return line;
  }

private:
  // False at the end: the terminal reads as an error once no one has it open.
  bool Read() {
    char buffer[4096];
    const ssize_t got = ::read(terminal_, buffer, sizeof buffer);
    if (got > 0) {
      shown_.append(buffer, static_cast<std::size_t>(got));
    }
    return got > 0;
  }

  int terminal_;
  int input_ = -1;
  pid_t child_ = -1;
  std::string shown_;
};

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

// Standard input is read once and held: every "-" gets the same bytes, at
// any number of jobs, named "-" in headers, check lines and JSON.
TEST_F(BatchCliTest, EveryDashGetsStandardInput) {
  const std::string good = kGoldenDir + "optimize.jpg";
  const std::string bytes = ReadWholeFile(good);
  const std::string alone = RunReport({good}).out;
  const ProcessResult text = RunReport({"-", "-"}, bytes);
  EXPECT_EQ(text.out, "==> - <==\r\n" + alone + "\r\n==> - <==\r\n" + alone + "\r\n");
  std::string line = RunReport({"--json", "--check", good}).out;
  line.replace(line.find(good), good.size(), "-");
  for (const char* jobs : {"1", "3"}) {
    SCOPED_TRACE(jobs);
    const ProcessResult json = RunReport({"--json", "--check", "-j", jobs, "-", "-", "-"}, bytes);
    EXPECT_EQ(json.status, 0);
    EXPECT_EQ(json.out, line + line + line);
  }
  EXPECT_EQ(RunReport({"--check", "-"}, bytes).out, "-: OK\n");
}

// Where standard input holds the list, a "-" among the names or in the list
// is no file: an error in its place (no header, as for a folder that cannot
// be read), and the list is read on.
TEST_F(BatchCliTest, DashWhileStandardInputIsTheList) {
  const ProcessResult run = RunReport({"--files-from", "-", "-"}, "-\n" + golden[0] + "\n");
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(Headers(run.out), std::vector<std::string>{golden[0]});
  const std::string error = "vellumark-report: -: 路径/文件访问错误 (error 75)\n";
  EXPECT_EQ(run.err, error + error);
  const ProcessResult json = RunReport({"--json", "--files-from", "-"}, "-\n");
  EXPECT_TRUE(json.out.starts_with(R"({"file":"-","error":{)")) << json.out;
}

// Without -r a folder is error 75 with a hint, which no other error 75 gets;
// with -r it is walked.
TEST_F(BatchCliTest, FolderWithoutRecursiveGetsAHint) {
  const ProcessResult flat = RunReport({dir / "mixed/pipe.jpg", dir / "mixed/sub"});
  EXPECT_EQ(flat.status, 1);
  EXPECT_EQ(flat.err, "vellumark-report: " + (dir / "mixed/pipe.jpg") + ": 路径/文件访问错误 (error 75)\n" +
                          "vellumark-report: " + (dir / "mixed/sub") +
                          ": 路径/文件访问错误 (error 75) (use -r to walk folders)\n");
  const ProcessResult walked = RunReport({"-r", dir / "mixed/sub"});
  EXPECT_EQ(walked.status, 0);
  EXPECT_EQ(walked.err, "");
}

// A folder the walk cannot read gets, in its place, the line of a file that
// cannot be opened.
TEST_F(BatchCliTest, UnreadableFolderHasItsJsonLine) {
  const testing::DeepFolder deep(dir.Path(), "walked");
  fs::copy_file(golden[0], dir.Path() / "walked/z.jpg");
  for (const std::vector<std::string>& format : {std::vector<std::string>{"--json"}, {"--json", "--check"}}) {
    std::vector<std::string> args = format;
    args.insert(args.end(), {"-r", dir / "walked"});
    const ProcessResult run = RunReport(args);
    EXPECT_EQ(run.status, 1);
    const std::string folder = dir / deep.Relative();
    EXPECT_TRUE(run.out.starts_with(R"({"file":")" + folder + R"(","error":{"number":52,"description":"错误的文件名"}}
{"file":")" + (dir / "walked/z.jpg") + R"(","size":)")) << run.out;
    EXPECT_EQ(run.err, "vellumark-report: " + folder + ": 错误的文件名 (error 52)\n");
  }
  // The summary counts the folder among the files, as unreadable.
  const ProcessResult summary = RunReport({"--check", "--summary", "-r", dir / "walked"});
  EXPECT_NE(summary.err.find("2 files, 1 JPEG, - with problems, 1 unreadable, "), std::string::npos) << summary.err;
  EXPECT_TRUE(summary.err.ends_with(", 1 UNREADABLE\n")) << summary.err;
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
  const ProcessResult plain = RunReport({"--files-from", "-", "--no-progress"}, golden[0] + "\n" + golden[1] + "\n");
  OnATerminal shown(ReportCommand({"--files-from", "-", "--progress", "-j", "2"}) + " >" + Quoted(dir / "out") +
                    " 2>" + Quoted(dir / "err"));
  shown.Send(golden[0]);
  while (ReadWholeFile(dir / "err").find(" files/s") == std::string::npos) {
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  shown.Send(golden[1]);
  EXPECT_EQ(WEXITSTATUS(shown.Finish()), 0);
  EXPECT_EQ(ReadWholeFile(dir / "out"), plain.out);
  EXPECT_EQ(plain.err, "");
  // Without a terminal on standard error there is none by default.
  EXPECT_EQ(RunCommand(SlowList(golden[0], golden[1]) + ReportCommand({"--files-from", "-"})).err, "");
}

// Standard error on a terminal, standard output to a file: the progress line
// is there while the names come, and wiped out at the end.
TEST_F(BatchCliTest, ProgressOnATerminal) {
  OnATerminal run(ReportCommand({"--files-from", "-"}) + " >" + Quoted(dir / "out"));
  run.Send(golden[0]);
  run.WaitFor("1/1+ files");
  run.Send(golden[1]);
  EXPECT_EQ(WEXITSTATUS(run.Finish()), 0);
  EXPECT_EQ(run.BottomLine().find_first_not_of(' '), std::string::npos) << run.Shown();
  EXPECT_EQ(ReadWholeFile(dir / "out"), RunReport({golden[0], golden[1]}).out);
}

// Both on one terminal: the report alone. A wait for what is not drawn can
// only let a fault through, never fail the program.
TEST_F(BatchCliTest, NoProgressAmongTheReport) {
  OnATerminal run(ReportCommand({"--files-from", "-"}));
  run.Send(golden[0]);
  std::this_thread::sleep_for(std::chrono::milliseconds(500));
  run.Send(golden[1]);
  EXPECT_EQ(WEXITSTATUS(run.Finish()), 0);
  EXPECT_NE(run.Shown().find("==> " + golden[1] + " <=="), std::string::npos) << run.Shown();
  EXPECT_EQ(run.Shown().find(" files/s"), std::string::npos) << run.Shown();
}

// The totals, after the report, in no more time than the run took.
TEST_F(BatchCliTest, Summary) {
  WriteWholeFile(dir / "soi.jpg", "\xFF\xD8");  // a missing EOI
  const std::string bytes = std::to_string(fs::file_size(golden[0]) + 4);
  struct Case {
    std::vector<std::string> args;
    std::string totals;
  };
  for (const Case& run :
       {Case{{"--json", "--summary", "-j", "2", dir / "soi.jpg", golden[0], dir / "soi.jpg"},
             "3 files, 3 JPEG, 2 with problems, 0 unreadable, " + bytes + " bytes, "},
        Case{{"--summary", dir / "soi.jpg", golden[0], dir / "soi.jpg", dir / "missing.jpg"},
             "4 files, 3 JPEG, - with problems, 1 unreadable, " + bytes + " bytes, "}}) {
    SCOPED_TRACE(run.args.front());
    const auto start = std::chrono::steady_clock::now();
    const ProcessResult result = RunReport(run.args);
    const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
    const std::string prefix = "vellumark-report: " + run.totals;
    const std::size_t at = result.err.rfind(prefix);
    ASSERT_NE(at, std::string::npos) << result.err;
    EXPECT_LE(std::stod(result.err.substr(at + prefix.size())), took.count()) << result.err;
  }
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

// A shell starts a background job with Ctrl+C ignored, and so it stays.
TEST_F(BatchCliTest, IgnoredInterruptStaysIgnored) {
  OnATerminal run("trap '' INT; exec " + ReportCommand({"--files-from", "-"}) + " >/dev/null");
  run.Send(dir / "missing.jpg");
  run.WaitFor("(error 53)");  // past the start, where Ctrl+C would be caught
  ::kill(run.Pid(), SIGINT);
  run.Send(golden[0]);
  const int status = run.Finish();
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 1);
}

// Whether the signal is still waiting to be taken by the process.
bool InterruptPending(pid_t process) {
  std::ifstream status("/proc/" + std::to_string(process) + "/status");
  for (std::string line; std::getline(status, line);) {
    if (line.starts_with("ShdPnd:")) {
      return (std::stoull(line.substr(7), nullptr, 16) >> (SIGINT - 1) & 1) != 0;
    }
  }
  return false;
}

// The first Ctrl+C lets the line being written end, which a pipe nobody
// reads never lets happen; the second ends the program.
TEST(SecondInterruptTest, EndsAProgramThatCannotWrite) {
  TempDir dir;
  std::string bytes;
  for (int i = 0; i < 1 << 20; ++i) {
    bytes += "\xFF\x00"s;  // a marker block of the report each
  }
  WriteWholeFile(dir / "long.jpg", bytes);
  int out[2];
  ASSERT_EQ(::pipe(out), 0);
  const pid_t child = ::fork();
  if (child == 0) {
    ::signal(SIGINT, SIG_DFL);
    ::dup2(out[1], STDOUT_FILENO);
    ::close(out[0]);
    ::close(out[1]);
    ::freopen("/dev/null", "w", stderr);
    const std::string file = dir / "long.jpg";
    ::execl(VELLUMARK_REPORT_EXE, VELLUMARK_REPORT_EXE, "-j", "2", file.c_str(), file.c_str(), static_cast<char*>(nullptr));
    ::_exit(127);
  }
  ::close(out[1]);
  // A full pipe: the program waits to write the rest of what it gathered.
  const int capacity = ::fcntl(out[0], F_GETPIPE_SZ);
  for (int held = 0; held < capacity; ::ioctl(out[0], FIONREAD, &held)) {
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  ::kill(child, SIGINT);
  while (InterruptPending(child)) {
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  ::kill(child, SIGINT);
  // Read now, the output lets a program that is still there end by itself.
  char buffer[65536];
  while (::read(out[0], buffer, sizeof buffer) > 0) {
  }
  ::close(out[0]);
  int status = 0;
  ::waitpid(child, &status, 0);
  EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGINT) << status;
}

}  // namespace
}  // namespace vellumark
