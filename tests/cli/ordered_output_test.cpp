#include "cli/ordered_output.h"

#ifndef _WIN32
#include <unistd.h>
#endif

#include <gtest/gtest.h>

#include <atomic>
#include <cstdio>
#include <string>
#include <thread>

namespace vellumark {
namespace {

// The output's stream is a temporary file; Written() is what reached it.
class OrderedOutputTest : public ::testing::Test {
protected:
  std::string Written() {
    output.Flush();
    std::string bytes(static_cast<std::size_t>(std::ftell(stream)), '\0');
    std::rewind(stream);
    bytes.resize(std::fread(bytes.data(), 1, bytes.size(), stream));
    // Windows' C library writes after a read only once the stream is placed.
    std::fseek(stream, 0, SEEK_END);
    return bytes;
  }

  JobOutput Job(std::uint64_t job, JobOutput::OnInterrupt onInterrupt = JobOutput::OnInterrupt::EndLine) {
    return JobOutput(output, job, OutputEncoding::Utf8, onInterrupt);
  }

  std::FILE* stream = std::tmpfile();
  std::string errors;
  std::atomic<bool> interrupt{false};
  // Small bounds: a job waits for its turn after 1 KiB.
  OrderedOutput output{stream, [this](std::string_view text) { errors += text; }, interrupt, {1024, 4096}};
};

TEST_F(OrderedOutputTest, JobsFinishingInAnyOrderComeOutInTheirOwn) {
  JobOutput first = Job(0);
  JobOutput second = Job(1);
  JobOutput third = Job(2);
  third.Append("third\n");
  third.Finish("error 3\n");
  second.Append("second\n");
  first.Append("first\n");
  first.Finish("");
  EXPECT_EQ(Written(), "first\n");
  second.Finish("error 2\n");
  EXPECT_EQ(Written(), "first\nsecond\nthird\n");
  EXPECT_EQ(errors, "error 2\nerror 3\n");
}

// A job with more output than its bound waits for its turn, then streams.
TEST_F(OrderedOutputTest, LargeOutputWaitsForItsTurn) {
  const std::string large(300 * 1024, 'x');
  std::thread later([this, &large] {
    JobOutput job = Job(1);
    job.Append(large);
    job.Append(large);
    job.Finish("");
  });
  JobOutput first = Job(0);
  first.Append("first\n");
  std::this_thread::sleep_for(std::chrono::milliseconds(100));
  EXPECT_EQ(Written(), "");
  first.Finish("");
  later.join();
  EXPECT_EQ(Written(), "first\n" + large + large);
}

// Finished output waiting for an earlier job holds no new job back up to its
// bound (4096 bytes, each job charged 256 more than its output); past it, until
// the earlier job is done.
TEST_F(OrderedOutputTest, FinishedOutputPastItsBoundHoldsNewJobsBack) {
  JobOutput first = Job(0);
  // Four jobs of 768 bytes, each below the bound of one job's output.
  for (std::uint64_t job = 1; job <= 4; ++job) {
    JobOutput waiting = Job(job);
    waiting.Append(std::string(768, 'x'));
    waiting.Finish("");
  }
  EXPECT_TRUE(output.WaitForRoom());
  JobOutput fifth = Job(5);
  fifth.Append("y");
  fifth.Finish("");
  std::atomic<bool> firstDone{false};
  bool doneWhenLetThrough = false;
  std::thread next([&] {
    EXPECT_TRUE(output.WaitForRoom());
    doneWhenLetThrough = firstDone.load();
  });
  firstDone = true;
  first.Finish("");
  next.join();
  EXPECT_TRUE(doneWhenLetThrough);
}

TEST_F(OrderedOutputTest, InterruptedReportEndsAtItsLineEnd) {
  JobOutput first = Job(0);
  JobOutput second = Job(1);
  second.Append("never written\n");
  first.Append("a whole line\npart");
  interrupt = true;
  EXPECT_NO_THROW(first.Append(" of a line"));
  EXPECT_THROW(first.Append(" ends here\nnot this\n"), OutputInterrupted);
  EXPECT_THROW(second.Append("nor this\n"), OutputInterrupted);
  EXPECT_EQ(Written(), "a whole line\npart of a line ends here\n");
}

// The JSON writer closes its own object: its job takes text until it is done,
// and the finished jobs after it are dropped.
TEST_F(OrderedOutputTest, InterruptedJsonGoesOnToItsEnd) {
  JobOutput first = Job(0, JobOutput::OnInterrupt::GoOn);
  JobOutput second = Job(1, JobOutput::OnInterrupt::GoOn);
  second.Append("{\"dropped\":true}\n");
  second.Finish("");
  first.Append("{\"segments\":[");
  interrupt = true;
  first.Append("],\"interrupted\":true}\n");
  first.Finish("");
  EXPECT_EQ(Written(), "{\"segments\":[],\"interrupted\":true}\n");
}

#ifndef _WIN32
// Ctrl+C while a finished report that waited for its turn is written to a pipe
// read slowly: the output ends at a line end, even between two blocks.
TEST(OrderedOutputPipeTest, InterruptedWaitingReportEndsAtItsLineEnd) {
  int ends[2];
  ASSERT_EQ(::pipe(ends), 0);
  std::FILE* stream = ::fdopen(ends[1], "w");
  std::setvbuf(stream, nullptr, _IONBF, 0);
  std::atomic<bool> interrupt{false};
  OrderedOutput output(stream, [](std::string_view) {}, interrupt, {1 << 20, 1 << 20});
  // Ctrl+C comes once the pipe is full and its first bytes have been read.
  std::string read;
  std::thread reader([&] {
    char buffer[4096];
    ssize_t got = ::read(ends[0], buffer, sizeof buffer);
    interrupt = true;
    for (; got > 0; got = ::read(ends[0], buffer, sizeof buffer)) {
      read.append(buffer, static_cast<std::size_t>(got));
    }
  });
  std::string report;
  for (int i = 0; i < 4000; ++i) {
    report += std::string(99, 'x') + '\n';  // 64 KiB blocks end inside these lines
  }
  JobOutput first(output, 0, OutputEncoding::Utf8, JobOutput::OnInterrupt::EndLine);
  JobOutput second(output, 1, OutputEncoding::Utf8, JobOutput::OnInterrupt::EndLine);
  second.Append(report);
  second.Finish("");
  first.Finish("");
  output.Flush();
  std::fclose(stream);
  reader.join();
  ::close(ends[0]);
  EXPECT_LT(read.size(), report.size());
  EXPECT_TRUE(read.ends_with("x\n")) << read.size();
}
#endif

}  // namespace
}  // namespace vellumark
