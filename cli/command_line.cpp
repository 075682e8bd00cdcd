#include "cli/command_line.h"

#include <CLI/CLI.hpp>

#include <algorithm>
#include <memory>

#include "version.h"

namespace vellumark {

namespace {

// CLI11's help with our own usage lines in place of its generated one, and each
// option shown with its value's name only.
class UsageFormatter : public CLI::Formatter {
public:
  std::string make_usage(const CLI::App*, std::string) const override { return kUsage; }
  std::string make_option_opts(const CLI::Option* option) const override {
    const std::string& value = option->get_option_text();
    return value.empty() ? value : " " + value;
  }
};

// What the parser fills before it becomes CliOptions. Help and version win over
// every other option, as in most tools; the table and the thumbnail are two
// different answers, so asking for both is a usage error.
struct ParsedFlags {
  std::string encoding = "utf-8";
  bool help = false;
  bool version = false;
  bool table = false;
  bool thumbnail = false;
  std::string filesFrom;
  bool progress = false;
  bool noProgress = false;
};

// More threads than this only take memory, whatever the machine.
constexpr unsigned kMostJobs = 1024;

// Options for many files at once; they choose files, so the table and the
// thumbnail, which take none or one, refuse them.
void AddBatchOptions(CLI::App& app, CliOptions& options, ParsedFlags& flags,
                     std::initializer_list<CLI::Option*> singleFileOptions) {
  auto* recursive =
      app.add_flag("-r,--recursive", options.recursive,
                   "report on the .jpg, .jpeg, .jpe and .jfif files in each folder among FILE and below it");
  auto* filesFrom = app.add_option("--files-from", flags.filesFrom,
                                   "also report on the files named in LIST, one per line (- for standard input)")
                        ->option_text("LIST");
  app.add_flag("-0,--null", options.nulSeparated, "the names in LIST end with NUL bytes, as find -print0 writes")
      ->needs(filesFrom);
  app.add_option("-j,--jobs", options.jobs, "analyse N files at once (default: one per hardware thread)")
      ->option_text("N")
      ->check(CLI::Range(1U, kMostJobs));
  auto* progress = app.add_flag("--progress", flags.progress, "show progress on standard error");
  auto* noProgress = app.add_flag("--no-progress", flags.noProgress,
                                  "never show progress (default: only where standard error is a terminal and "
                                  "standard output is not)");
  progress->excludes(noProgress);
  app.add_flag("--summary", options.summary, "print a line of totals on standard error at the end");
  for (CLI::Option* single : singleFileOptions) {
    single->excludes(recursive)->excludes(filesFrom);
  }
}

void AddOptions(CLI::App& app, CliOptions& options, ParsedFlags& flags) {
  app.set_help_flag();
  app.formatter(std::make_shared<UsageFormatter>());
  app.add_flag("--help", flags.help, "print this help and exit");
  app.add_flag("--version", flags.version, "print the program's version and exit");
  auto* ac = app.add_flag("--ac", options.showAcCodes, "list the codes of AC Huffman tables too");
  app.add_option("--encoding", flags.encoding, "the report's encoding: utf-8 (default) or gbk")
      ->check(CLI::IsMember({"utf-8", "gbk"}))
      ->option_text("utf-8|gbk")
      ->multi_option_policy(CLI::MultiOptionPolicy::TakeLast);
  auto* json = app.add_flag("--json", options.json,
                            "print each FILE's whole structure as one line of JSON (JSON Lines, UTF-8)");
  auto* table = app.add_flag("--table", flags.table, "print the table of marker codes C0 to FF");
  auto* thumbnail =
      app.add_flag("--thumbnail", flags.thumbnail, "answer yes or no: does FILE hold a JFIF thumbnail");
  auto* png = app.add_option("--thumbnail-png", options.pngPath,
                             "write FILE's thumbnail at 1:1 to the PNG file OUT (and answer as --thumbnail)")
                  ->option_text("OUT")
                  ->multi_option_policy(CLI::MultiOptionPolicy::TakeLast);
  auto* check = app.add_flag("--check", options.check,
                             "decode every scan of each FILE and print one line: OK, WARNING, DAMAGED or "
                             "TRUNCATED with where, NOT JPEG, UNSUPPORTED or UNREADABLE");
  app.add_flag("--quiet", options.quiet, "with --check: leave out the OK lines, and the WARNING lines unless --strict")
      ->needs(check)
      ->excludes(json);
  app.add_flag("--strict", options.strict, "with --check: a warning fails the file (exit status 1)")->needs(check);
  auto* extract = app.add_option("--extract-images", options.extractFolder,
                                 "write each picture inside each FILE (thumbnails, MPF images, gain maps, videos) "
                                 "into the folder DIR as FILE.OFFSET.ROLE.EXT; nothing on standard output")
                      ->option_text("DIR")
                      ->check([](const std::string& folder) { return folder.empty() ? "DIR is empty" : ""; });
  extract->excludes(json)->excludes(check)->excludes(table)->excludes(thumbnail)->excludes(png)->excludes(ac);
  check->excludes(table)->excludes(thumbnail)->excludes(png)->excludes(ac);
  table->excludes(thumbnail)->excludes(png);
  json->excludes(table)->excludes(thumbnail)->excludes(png);
  app.add_option("FILE", options.files, "the JPEG files to report on")->option_text(" ");
  AddBatchOptions(app, options, flags, {table, thumbnail, png});
}

CliAction ActionOf(const CliOptions& options, const ParsedFlags& flags) {
  if (flags.help) {
    return CliAction::Help;
  }
  if (flags.version) {
    return CliAction::Version;
  }
  if (flags.table) {
    return CliAction::CodeTable;
  }
  if (flags.thumbnail || !options.pngPath.empty()) {
    return CliAction::Thumbnail;
  }
  return CliAction::Report;
}

// The file count each action needs, or the reason it is wrong.
std::optional<std::string> FileCountError(const CliOptions& options) {
  switch (options.action) {
    case CliAction::Report:
      return options.files.empty() && !options.filesFrom ? std::optional<std::string>("no file given")
                                                         : std::nullopt;
    case CliAction::Thumbnail:
      return options.files.size() != 1
                 ? std::optional<std::string>("the thumbnail options take exactly one file")
                 : std::nullopt;
    case CliAction::CodeTable:
      return options.files.empty() ? std::nullopt : std::optional<std::string>("--table takes no file");
    case CliAction::Help:
    case CliAction::Version:
      break;
  }
  return std::nullopt;
}

}  // namespace

std::optional<CliOptions> ParseCommandLine(const std::vector<std::string>& args, std::string& error) {
  // File names alone, the commonest command line, need no parser: setting up
  // CLI11's options costs more than the report of a small file.
  const auto isOption = [](const std::string& arg) { return arg.starts_with('-'); };
  if (!args.empty() && std::none_of(args.begin(), args.end(), isOption)) {
    CliOptions options;
    options.files = args;
    return options;
  }
  CLI::App app;
  CliOptions options;
  ParsedFlags flags;
  AddOptions(app, options, flags);
  try {
    // CLI11 takes a vector of arguments last one first.
    std::vector<std::string> reversed(args.rbegin(), args.rend());
    app.parse(reversed);
  } catch (const CLI::ParseError& e) {
    error = e.what();
    return std::nullopt;
  }
  options.encoding = flags.encoding == "gbk" ? OutputEncoding::Gbk : OutputEncoding::Utf8;
  options.action = ActionOf(options, flags);
  if (app.count("--files-from") > 0) {
    options.filesFrom = flags.filesFrom;
  }
  options.progress = flags.progress     ? ProgressChoice::Always
                     : flags.noProgress ? ProgressChoice::Never
                                        : ProgressChoice::Auto;
  if (const auto countError = FileCountError(options)) {
    error = *countError;
    return std::nullopt;
  }
  return options;
}

std::string HelpText() {
  CLI::App app;
  CliOptions options;
  ParsedFlags flags;
  AddOptions(app, options, flags);
  return app.help();
}

std::string VersionText() {
  return std::string("vellumark-report ") + version::kVersion + "\n";
}

}  // namespace vellumark
