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
#include <vector>

#include "analysis/file_analysis.h"
#include "analysis/jpeg_tables.h"
#include "analysis/marker_catalogue.h"
#include "cli/batch.h"
#include "cli/command_line.h"
#include "cli/exit_status.h"
#include "cli/fault_message.h"
#include "cli/png_writer.h"
#include "cli/stream_sink.h"
#include "platform/local_file_system.h"

namespace vellumark {

namespace {

void PrintFault(const std::string& path, const AnalysisFault& fault, OutputEncoding encoding) {
  StreamSink(stderr, encoding).Append(FaultMessage(path, fault));
}

// The Thumbnail command's answer for one file; with --thumbnail-png also the
// pixels, where the file has them all.
int ReportThumbnail(const CliOptions& options) {
  LocalFileSystem files;
  const std::string& path = options.files.front();
  const ThumbnailOutcome outcome = SearchFileForThumbnail(files, path);
  std::puts(outcome.answer.found ? "yes" : "no");
  std::fflush(stdout);
  if (outcome.fault) {
    PrintFault(path, *outcome.fault, options.encoding);
    return kExitFailure;
  }
  if (!options.pngPath.empty() && outcome.answer.picture &&
      !WritePng(options.pngPath, *outcome.answer.picture)) {
    std::fprintf(stderr, "vellumark-report: %s: cannot write the PNG file\n", options.pngPath.c_str());
    return kExitFailure;
  }
  return kExitOk;
}

int Run(const std::vector<std::string>& args) {
  std::string error;
  const auto options = ParseCommandLine(args, error);
  if (!options) {
    std::fprintf(stderr, "vellumark-report: %s\n%s", error.c_str(), kUsage);
    return kExitUsage;
  }
  switch (options->action) {
    case CliAction::Help:
      std::fputs(HelpText().c_str(), stdout);
      return kExitOk;
    case CliAction::Version:
      std::fputs(VersionText().c_str(), stdout);
      return kExitOk;
    case CliAction::CodeTable: {
      StreamSink out(stdout, options->encoding);
      out.Append(MarkerCodeTable());
      out.Flush();
      return out.Good() ? kExitOk : kExitFailure;
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
