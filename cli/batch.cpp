#include "cli/batch.h"

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <deque>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "analysis/file_analysis.h"
#include "cli/check_report.h"
#include "cli/exit_status.h"
#include "cli/fault_message.h"
#include "cli/image_extraction.h"
#include "cli/json_report.h"
#include "cli/messages.h"
#include "cli/name_count.h"
#include "cli/name_finder.h"
#include "cli/ordered_output.h"
#include "cli/polling_condition.h"
#include "cli/progress.h"
#include "cli/standard_input_files.h"
#include "cli/summary.h"
#include "cli/watched_files.h"
#include "platform/folder_listing.h"
#include "platform/interrupt.h"
#include "platform/local_file_system.h"
#include "platform/terminal.h"

namespace vellumark {

namespace {

// A job's output beyond 4 MiB waits for its turn and then streams; finished
// output waiting for its turn holds at most about 16 MiB.
constexpr OrderedOutput::Bounds kOutputBounds{4 << 20, 16 << 20};
constexpr std::size_t kTasksPerWorker = 64;

// Tasks from the thread that finds the names to the threads that analyse them.
// A thread is woken only where one waits, and the finding thread only once the
// queue is half empty, so that each task costs no switch between threads.
class TaskQueue {
public:
  TaskQueue(std::size_t capacity, const std::atomic<bool>& interrupt) : capacity_(capacity), interrupt_(interrupt) {}

  // Waits while the queue is full. False once interrupted, with the task
  // dropped.
  [[nodiscard]] bool Push(Task task) {
    std::unique_lock lock(mutex_);
    while (tasks_.size() >= capacity_ && !interrupt_.load()) {
      notFull_.Wait(lock);
    }
    if (interrupt_.load()) {
      return false;
    }
    tasks_.push_back(std::move(task));
    notEmpty_.NotifyOne();
    return true;
  }

  // Waits while the queue is empty; nullopt once it is closed and empty, or
  // interrupted.
  std::optional<Task> Pop() {
    std::unique_lock lock(mutex_);
    while (tasks_.empty() && !closed_ && !interrupt_.load()) {
      notEmpty_.Wait(lock);
    }
    if (tasks_.empty() || interrupt_.load()) {
      return std::nullopt;
    }
    Task task = std::move(tasks_.front());
    tasks_.pop_front();
    if (tasks_.size() <= capacity_ / 2) {
      notFull_.NotifyOne();
    }
    return task;
  }

  void Close() {
    const std::lock_guard lock(mutex_);
    closed_ = true;
    notEmpty_.NotifyAll();
  }

private:
  std::size_t capacity_;
  const std::atomic<bool>& interrupt_;
  std::mutex mutex_;
  PollingCondition notEmpty_;
  PollingCondition notFull_;
  std::deque<Task> tasks_;
  bool closed_ = false;
};

struct FileOutcome {
  std::optional<AnalysisFault> fault;
  FileFacts file;
  std::optional<std::int64_t> problems;  // counted by the JSON report only
  std::optional<Verdict> verdict;        // given by the check only
  std::vector<Verdict> imageVerdicts;    // the check's, of the pictures inside
  std::string messages;                  // lines for standard error besides the fault's
  bool failed = false;                   // the file fails the run, whatever its verdict
};

using FileAnalysis = std::function<FileOutcome(FileSystem& files, const std::string& path, ReportSink& out)>;

// The text report, each under a "==> FILE <==" header whenever more than one
// file may be analysed, even if one turns out to be all.
FileAnalysis TextReport(const CliOptions& options) {
  const bool headers = options.files.size() > 1 || options.recursive || options.filesFrom;
  const AcOption showAcCodes = [ac = options.showAcCodes] { return ac; };
  return [headers, showAcCodes](FileSystem& files, const std::string& path, ReportSink& out) {
    if (headers) {
      out.Append("==> " + path + " <==\r\n");
    }
    FileOutcome outcome;
    outcome.fault = AnalyseToReport(files, path, out, showAcCodes, &outcome.file);
    if (headers) {
      out.Append("\r\n");
    }
    return outcome;
  };
}

// One line of JSON per file, which names its file itself.
FileAnalysis JsonReport(const std::atomic<bool>& interrupt, bool check) {
  return [&interrupt, check](FileSystem& files, const std::string& path, ReportSink& out) {
    const JsonOutcome outcome = WriteStructureJson(files, path, out, &interrupt, check);
    return FileOutcome{outcome.fault, outcome.file, outcome.problems, outcome.verdict, outcome.imageVerdicts};
  };
}

// One line of verdict per file.
FileAnalysis CheckReport(const CliOptions& options, const std::atomic<bool>& interrupt) {
  const CheckLineChoice choice{options.quiet, options.strict};
  return [&interrupt, choice](FileSystem& files, const std::string& path, ReportSink& out) {
    const CheckOutcome outcome = WriteCheckLine(files, path, out, choice, &interrupt);
    return FileOutcome{outcome.fault, outcome.file, std::nullopt, outcome.verdict, outcome.imageVerdicts};
  };
}

// The pictures inside each file, written to files of their own.
FileAnalysis ImageExtraction(const CliOptions& options, const std::atomic<bool>& interrupt) {
  return [&interrupt, folder = options.extractFolder](FileSystem& files, const std::string& path, ReportSink&) {
    ExtractionOutcome extraction = ExtractImages(files, path, folder, &interrupt);
    FileOutcome outcome;
    outcome.fault = extraction.fault;
    outcome.file = extraction.file;
    outcome.messages = std::move(extraction.messages);
    outcome.failed = extraction.failed;
    return outcome;
  };
}

FileAnalysis ChooseAnalysis(const CliOptions& options, const std::atomic<bool>& interrupt) {
  if (!options.extractFolder.empty()) {
    return ImageExtraction(options, interrupt);
  }
  if (options.json) {
    return JsonReport(interrupt, options.check);
  }
  return options.check ? CheckReport(options, interrupt) : TextReport(options);
}

bool ShowProgress(ProgressChoice choice) {
  switch (choice) {
    case ProgressChoice::Always: return true;
    case ProgressChoice::Never: return false;
    case ProgressChoice::Auto: break;
  }
  // Never on the screen that shows the report itself.
  return IsTerminal(stderr) && !IsTerminal(stdout);
}

class Batch {
public:
  explicit Batch(const CliOptions& options)
      : options_(options),
        analyse_(ChooseAnalysis(options, interrupt_)),
        progress_(counts_, ShowProgress(options.progress), options.summary, options.encoding),
        output_(
            stdout, [this](std::string_view text) { progress_.Print(text); }, interrupt_, kOutputBounds) {}

  int Run() {
    CatchInterrupt(interrupt_);
    const unsigned workers = Workers();
    if (workers == 1) {
      FindNames([this](Task task) {
        RunTask(std::move(task), totals_);
        return true;
      });
    } else {
      RunOnThreads(workers);
    }
    output_.Flush();
    progress_.Stop();
    if (options_.summary) {
      progress_.Print(SummaryLine(totals_, options_.json, progress_.Seconds()));
      if (options_.check) {
        progress_.Print(VerdictLine(totals_));
      }
    }
    return ExitStatus();
  }

private:
  // One file needs no thread; a known handful needs no more threads than files.
  unsigned Workers() const {
    const bool namesKnown = !options_.recursive && !options_.filesFrom;
    if (options_.jobs == 1 || (namesKnown && options_.files.size() <= 1)) {
      return 1;
    }
    unsigned jobs = options_.jobs != 0 ? options_.jobs : std::max(1U, std::thread::hardware_concurrency());
    if (namesKnown) {
      jobs = static_cast<unsigned>(std::min<std::size_t>(jobs, options_.files.size()));
    }
    return jobs;
  }

  void RunOnThreads(unsigned workers) {
    TaskQueue queue(workers * kTasksPerWorker, interrupt_);
    std::vector<std::thread> threads;
    for (unsigned i = 0; i < workers; ++i) {
      threads.push_back(StartThreadWithoutInterrupt([this, &queue] { Work(queue); }));
    }
    // The names are found here, on the thread that takes Ctrl+C, so that it
    // ends a wait for a list that arrives slowly.
    FindNames([&queue](Task task) { return queue.Push(std::move(task)); });
    queue.Close();
    for (std::thread& thread : threads) {
      thread.join();
    }
  }

  void Work(TaskQueue& queue) {
    BatchTotals totals;
    while (std::optional<Task> task = queue.Pop()) {
      if (!output_.WaitForRoom()) {
        break;
      }
      RunTask(std::move(*task), totals);
    }
    AddTotals(totals);
  }

  // Counts each task and hands it on, while the output takes more.
  void FindNames(const std::function<bool(Task)>& take) {
    // Where the total comes only with the last name, the progress line gets
    // it sooner from a count ahead; once every name is found it is not needed.
    std::optional<NameCountAhead> countAhead;
    if (progress_.Shown() && NamesComeAsFound(options_)) {
      countAhead.emplace(options_, counts_);
    }
    NameFinder finder(options_, &files_, interrupt_, [this, &take](Task task) {
      if (!output_.Good()) {
        return false;
      }
      ++counts_.known;
      return take(std::move(task));
    });
    counts_.allKnown = finder.FindAll();
  }

  void RunTask(Task task, BatchTotals& totals) {
    // JSON is UTF-8 whatever the encoding, and closes its object itself.
    JobOutput out(output_, task.job, options_.json ? OutputEncoding::Utf8 : options_.encoding,
                  options_.json ? JobOutput::OnInterrupt::GoOn : JobOutput::OnInterrupt::EndLine);
    std::optional<AnalysisFault> fault;
    std::string messages;
    if (task.fault) {
      fault = AnalysisFault{*task.fault, std::nullopt};
      if (options_.json && task.amongFiles) {
        WriteUnreadableJson(task.path, *task.fault, out);
      }
    } else {
      WatchedFiles files(files_, counts_.bytesRead);
      try {
        const FileOutcome outcome = analyse_(files, task.path, out);
        fault = outcome.fault;
        messages = outcome.messages;
        totals.failed += outcome.failed ? 1 : 0;
        Count(outcome, totals);
        CountVerdict(outcome, totals);
      } catch (const OutputInterrupted&) {
        return;
      }
    }
    ++totals.files;
    totals.unreadable += fault ? 1 : 0;
    ++counts_.done;
    out.Finish(messages + (fault ? FaultMessage(task.path, *fault, IsUnwalkedFolder(task.path)) : std::string()));
  }

  // A folder named without -r, whose error line says how to walk it.
  bool IsUnwalkedFolder(const std::string& path) const {
    return !options_.recursive && !NamesStandardInput(path) && IsFolder(path);
  }

  static void Count(const FileOutcome& outcome, BatchTotals& totals) {
    totals.bytes += static_cast<std::uint64_t>(outcome.file.size);
    totals.jpeg += outcome.file.jpeg ? 1 : 0;
    totals.withProblems += outcome.problems.value_or(0) > 0 ? 1 : 0;
  }

  void CountVerdict(const FileOutcome& outcome, BatchTotals& totals) const {
    if (outcome.verdict) {
      ++totals.verdicts[static_cast<std::size_t>(*outcome.verdict)];
      const auto fails = [&](Verdict verdict) { return Fails(verdict, options_.strict); };
      totals.failed += fails(*outcome.verdict) || std::ranges::any_of(outcome.imageVerdicts, fails) ? 1 : 0;
    }
  }

  void AddTotals(const BatchTotals& totals) {
    const std::lock_guard lock(totalsMutex_);
    totals_ += totals;
  }

  int ExitStatus() {
    if (interrupt_.load()) {
      return kExitInterrupted;
    }
    if (!output_.Good()) {
      progress_.Print(CannotWriteOutput());
      return kExitFailure;
    }
    return totals_.unreadable > 0 || totals_.failed > 0 ? kExitFailure : kExitOk;
  }

  const CliOptions& options_;
  // Before analyse_, which holds a reference to it.
  std::atomic<bool> interrupt_{false};
  FileAnalysis analyse_;
  LocalFileSystem disk_;
  StandardInputFiles files_{disk_};
  BatchCounts counts_;
  std::mutex totalsMutex_;
  BatchTotals totals_;
  Progress progress_;
  OrderedOutput output_;
  std::uint64_t nextJob_ = 0;
};

}  // namespace

int RunBatch(const CliOptions& options) { return Batch(options).Run(); }

}  // namespace vellumark
