#include "cli/standard_input_files.h"

#include <new>
#include <optional>
#include <span>

#include "platform/memory_byte_source.h"
#include "platform/runtime_error.h"
#include "platform/sequential_file.h"

namespace vellumark {

namespace {

constexpr std::size_t kBlockSize = 1 << 20;

// Everything up to the end; nullopt where interrupt ended the wait.
std::optional<std::vector<std::uint8_t>> ReadToEnd(const std::atomic<bool>& interrupt) {
  SequentialFile input;
  std::vector<std::uint8_t> bytes;
  for (;;) {
    const std::size_t held = bytes.size();
    bytes.resize(held + kBlockSize);
    // Bytes are read as char: the same storage, seen as the call wants it.
    const std::span<char> free(reinterpret_cast<char*>(bytes.data() + held), kBlockSize);
    std::optional<std::size_t> got;
    while (!(got = input.ReadSome(free)) && !interrupt.load()) {
    }
    if (!got) {
      return std::nullopt;
    }
    bytes.resize(held + *got);
    if (*got == 0) {
      bytes.shrink_to_fit();
      return bytes;
    }
  }
}

}  // namespace

bool StandardInputFiles::Load(const std::atomic<bool>& interrupt) {
  if (failure_) {
    throw *failure_;
  }
  if (bytes_) {
    return true;
  }
  try {
    std::optional<std::vector<std::uint8_t>> bytes = ReadToEnd(interrupt);
    if (!bytes) {
      return false;
    }
    bytes_ = std::make_shared<const std::vector<std::uint8_t>>(std::move(*bytes));
    return true;
  } catch (const RuntimeError& error) {
    failure_ = error;
  } catch (const std::bad_alloc&) {
    failure_ = MakeError(error_number::kOutOfMemory);
  }
  throw *failure_;
}

std::unique_ptr<ByteSource> StandardInputFiles::OpenRead(const std::string& path) {
  if (NamesStandardInput(path)) {
    const std::atomic<bool> never{false};
    Load(never);
    return std::make_unique<MemoryByteSource>(bytes_);
  }
  return disk_.OpenRead(path);
}

}  // namespace vellumark
