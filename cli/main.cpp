// vellumark-report: the marker report of each file on standard output, exactly
// as the window shows it after Open.
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
#include "platform/process_start.h"

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

int main(int argc, char** argv) {
  vellumark::PrepareStandardStreams();
  return vellumark::Run(vellumark::CommandLineArguments(argc, argv));
}
