// vellumark-report: the marker report of each file on standard output, exactly
// as the window shows it after Open.
#ifdef _WIN32
#include <windows.h>
#include <shellapi.h>
#include <fcntl.h>
#include <io.h>

#include "platform/win32/utf16.h"
#endif

#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

#include "analysis/file_analysis.h"
#include "analysis/jpeg_tables.h"
#include "analysis/marker_catalogue.h"
#include "cli/batch.h"
#include "cli/command_line.h"
#include "cli/exit_status.h"
#include "cli/fault_message.h"
#include "cli/messages.h"
#include "cli/png_writer.h"
#include "cli/standard_input_files.h"
#include "cli/stream_sink.h"
#include "platform/local_file_system.h"

namespace vellumark {

namespace {

void PrintFault(const std::string& path, const AnalysisFault& fault, OutputEncoding encoding) {
  StreamSink(stderr, encoding).Append(FaultMessage(path, fault));
}

// The exit status of an answer on standard output, which says so where it
// could not be written.
int WrittenStatus(bool written) {
  if (written) {
    return kExitOk;
  }
  std::fputs(CannotWriteOutput().c_str(), stderr);
  return kExitFailure;
}

// Writes a whole answer; the exit status.
int PrintOut(std::string_view text) { return WrittenStatus(WriteAll(stdout, text) && FlushAll(stdout)); }

// The Thumbnail command's answer for one file; with --thumbnail-png also the
// pixels, where the file has them all.
int ReportThumbnail(const CliOptions& options) {
  LocalFileSystem disk;
  StandardInputFiles files(disk);
  const std::string& path = options.files.front();
  const ThumbnailOutcome outcome = SearchFileForThumbnail(files, path);
  const int status = PrintOut(outcome.answer.found ? "yes\n" : "no\n");
  if (outcome.fault) {
    PrintFault(path, *outcome.fault, options.encoding);
    return kExitFailure;
  }
  if (!options.pngPath.empty() && outcome.answer.picture &&
      !WritePng(options.pngPath, *outcome.answer.picture)) {
    std::fputs((std::string(kMessagePrefix) + options.pngPath + ": cannot write the PNG file\n").c_str(), stderr);
    return kExitFailure;
  }
  return status;
}

int Run(const std::vector<std::string>& args) {
  std::string error;
  const auto options = ParseCommandLine(args, error);
  if (!options) {
    std::fputs((std::string(kMessagePrefix) + error + "\n" + kUsage).c_str(), stderr);
    return kExitUsage;
  }
  switch (options->action) {
    case CliAction::Help:
      return PrintOut(HelpText());
    case CliAction::Version:
      return PrintOut(VersionText());
    case CliAction::CodeTable: {
      StreamSink out(stdout, options->encoding);
      out.Append(MarkerCodeTable());
      out.Flush();
      return WrittenStatus(out.Good());
    }
    case CliAction::Thumbnail:
      return ReportThumbnail(*options);
    case CliAction::Report:
      InitJpegTables();
      return RunBatch(*options);
  }
  return kExitUsage;
}

}  // namespace
}  // namespace vellumark

namespace {

std::vector<std::string> Arguments([[maybe_unused]] int argc, [[maybe_unused]] char** argv) {
#ifdef _WIN32
  // The char arguments come in the ANSI code page, where a file name with
  // characters outside it cannot be spelt; the wide ones hold every name.
  int count = 0;
  LPWSTR* wide = CommandLineToArgvW(GetCommandLineW(), &count);
  std::vector<std::string> args;
  for (int i = 1; i < count; ++i) {
    args.push_back(vellumark::Utf8(wide[i]));
  }
  LocalFree(wide);
  return args;
#else
  return {argv + 1, argv + argc};
#endif
}

}  // namespace

int main(int argc, char** argv) {
#ifdef _WIN32
  // The report carries its own CR LF; a text-mode stream would make it CR CR LF.
  _setmode(_fileno(stdout), _O_BINARY);
  _setmode(_fileno(stderr), _O_BINARY);
#else
  // Output is buffered in large blocks by the sinks already. A C stream's own
  // buffer would lose its unwritten bytes when Ctrl+C interrupts a write to a
  // pipe (glibc drops them with the error); unbuffered, every write says exactly
  // how much went out, and the rest is written again.
  std::setvbuf(stdout, nullptr, _IONBF, 0);
#endif
  return vellumark::Run(Arguments(argc, argv));
}
