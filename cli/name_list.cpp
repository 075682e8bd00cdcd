#include "cli/name_list.h"

#include <memory>
#include <string_view>

#include "cli/standard_input_files.h"

namespace vellumark {

namespace {

constexpr std::size_t kBlockSize = 64 * 1024;

std::unique_ptr<SequentialFile> OpenList(const std::string& path) {
  return NamesStandardInput(path) ? std::make_unique<SequentialFile>() : std::make_unique<SequentialFile>(path);
}

}  // namespace

NameList::NameList(const std::string& path, Separator separator)
    : file_(OpenList(path)), separator_(separator == Separator::Nul ? '\0' : '\n') {}

std::optional<std::string> NameList::Next(const std::atomic<bool>& interrupt) {
  while (auto name = ReadToSeparator(interrupt)) {
    if (separator_ == '\n' && !name->empty() && name->back() == '\r') {
      name->pop_back();
    }
    if (!name->empty()) {
      return name;
    }
  }
  return std::nullopt;
}

std::optional<std::string> NameList::ReadToSeparator(const std::atomic<bool>& interrupt) {
  std::string name;
  for (;;) {
    if (position_ == block_.size() && !Refill(interrupt)) {
      // The last name may lack its separator; an interrupted one is cut short.
      if (name.empty() || interrupt.load()) {
        return std::nullopt;
      }
      return name;
    }
    const std::string_view rest = std::string_view(block_).substr(position_);
    const std::size_t stop = rest.find(separator_);
    name.append(rest.substr(0, stop));
    if (stop != std::string_view::npos) {
      position_ += stop + 1;
      return name;
    }
    position_ = block_.size();
  }
}

bool NameList::Refill(const std::atomic<bool>& interrupt) {
  block_.resize(kBlockSize);
  position_ = 0;
  std::optional<std::size_t> got;
  while (!(got = file_->ReadSome(block_)) && !interrupt.load()) {
  }
  block_.resize(got.value_or(0));
  return !block_.empty();
}

}  // namespace vellumark
