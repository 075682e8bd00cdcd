#pragma once

#include <optional>
#include <string>
#include <vector>

#include "cli/stream_sink.h"

namespace vellumark {

enum class CliAction { Report, CodeTable, Thumbnail, Help, Version };

// Whether a batch draws its progress line on standard error.
enum class ProgressChoice { Auto, Always, Never };

struct CliOptions {
  CliAction action = CliAction::Report;
  bool showAcCodes = false;
  // Each file's whole structure as one line of JSON instead of the report.
  bool json = false;
  // Decode every scan and answer whether each file's pictures are intact.
  bool check = false;
  bool quiet = false;   // with check: only the lines of files that fail
  bool strict = false;  // with check: a warning fails the file
  OutputEncoding encoding = OutputEncoding::Utf8;
  std::vector<std::string> files;
  // Batches: folders among files are walked; more names come from a list.
  bool recursive = false;
  std::optional<std::string> filesFrom;
  bool nulSeparated = false;
  unsigned jobs = 0;  // 0: one per hardware thread
  ProgressChoice progress = ProgressChoice::Auto;
  bool summary = false;
  // With --extract-images: the folder the pictures inside the files go to.
  std::string extractFolder;
  // With --thumbnail-png: where the thumbnail's pixels go.
  std::string pngPath;
};

// In the GNU form ("Usage:", then "  or:" lines), which help2man turns into
// the manual page's synopsis.
inline constexpr const char* kUsage =
    "Usage: vellumark-report [--ac] [--encoding=utf-8|gbk] [-r] [-j N] [--[no-]progress] [--summary] "
    "[--files-from LIST [-0]] FILE...\n"
    "  or:  vellumark-report --json [-r] [-j N] [--[no-]progress] [--summary] [--files-from LIST [-0]] FILE...\n"
    "  or:  vellumark-report --check [--json] [--quiet] [--strict] [-r] [-j N] [--[no-]progress] [--summary] "
    "[--files-from LIST [-0]] FILE...\n"
    "  or:  vellumark-report --extract-images DIR [-r] [-j N] [--[no-]progress] [--summary] "
    "[--files-from LIST [-0]] FILE...\n"
    "  or:  vellumark-report [--encoding=utf-8|gbk] --table\n"
    "  or:  vellumark-report [--thumbnail | --thumbnail-png OUT] FILE\n"
    "  or:  vellumark-report --help | --version\n";

// The parsed arguments, or nullopt with a one-line reason in error.
[[nodiscard]] std::optional<CliOptions> ParseCommandLine(const std::vector<std::string>& args,
                                                         std::string& error);

// What --help prints: the usage lines, then every option with what it does.
std::string HelpText();

// What --version prints.
std::string VersionText();

}  // namespace vellumark
