#include "cli/command_line.h"

#include <iterator>

namespace vellumark {

namespace {

bool ParseOption(const std::string& arg, CliOptions& options, std::string& error) {
  if (arg == "--ac") {
    options.showAcCodes = true;
  } else if (arg == "--encoding=utf-8") {
    options.encoding = OutputEncoding::Utf8;
  } else if (arg == "--encoding=gbk") {
    options.encoding = OutputEncoding::Gbk;
  } else if (arg == "--table") {
    options.action = CliAction::CodeTable;
  } else if (arg == "--thumbnail") {
    options.action = CliAction::Thumbnail;
  } else if (arg == "--help") {
    options.action = CliAction::Help;
  } else {
    error = "unknown option: " + arg;
    return false;
  }
  return true;
}

}  // namespace

std::optional<CliOptions> ParseCommandLine(const std::vector<std::string>& args, std::string& error) {
  CliOptions options;
  bool optionsEnded = false;
  for (auto arg = args.begin(); arg != args.end(); ++arg) {
    if (!optionsEnded && *arg == "--") {
      optionsEnded = true;
    } else if (!optionsEnded && *arg == "--thumbnail-png") {
      if (std::next(arg) == args.end()) {
        error = "--thumbnail-png needs an output file";
        return std::nullopt;
      }
      options.action = CliAction::Thumbnail;
      options.pngPath = *++arg;
    } else if (!optionsEnded && arg->size() > 1 && (*arg)[0] == '-') {
      if (!ParseOption(*arg, options, error)) {
        return std::nullopt;
      }
    } else {
      options.files.push_back(*arg);
    }
  }
  if (options.action == CliAction::Report && options.files.empty()) {
    error = "no file given";
    return std::nullopt;
  }
  if (options.action == CliAction::Thumbnail && options.files.size() != 1) {
    error = "the thumbnail options take exactly one file";
    return std::nullopt;
  }
  if (options.action == CliAction::CodeTable && !options.files.empty()) {
    error = "--table takes no file";
    return std::nullopt;
  }
  return options;
}

}  // namespace vellumark
