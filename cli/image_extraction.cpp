#include "cli/image_extraction.h"

#include <algorithm>
#include <memory>

#include "analysis/embedded_images.h"
#include "cli/fault_message.h"
#include "platform/file_window.h"
#include "platform/new_file.h"
#include "platform/path_separator.h"

namespace vellumark {

namespace {

// Copied in pieces the file's own buffer holds anyway.
constexpr std::int64_t kPiece = 64 * 1024;

// The file's name without its folders.
std::string BaseName(const std::string& path) {
  const auto slash = path.find_last_of(kPathSeparator == '/' ? "/" : "/\\");
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

class Extraction {
public:
  Extraction(const std::string& path, const std::string& folder, const std::atomic<bool>* interrupt,
             ExtractionOutcome& outcome)
      : stem_(folder + kPathSeparator + BaseName(path)), interrupt_(interrupt), outcome_(outcome) {}

  // The pictures inside the bytes of file, which lie at base in the file named.
  void From(BinaryFile& file, std::int64_t base, int depth) {
    ImageDeclarations declarations;
    if (!WalkStructure(file, declarations, interrupt_) || !declarations.Any()) {
      return;
    }
    for (const EmbeddedImage& image : declarations.Map(file).images) {
      if (interrupt_ != nullptr && interrupt_->load()) {
        return;
      }
      Write(file, image, base);
      if (image.Jpeg() && depth < kDeepestImage) {
        BinaryFile alone(std::make_unique<FileWindow>(file, image.offset, image.inFile));
        From(alone, base + image.offset, depth + 1);
      }
    }
  }

private:
  void Write(BinaryFile& file, const EmbeddedImage& image, std::int64_t base) {
    const std::string name = stem_ + "." + std::to_string(base + image.offset) + "." +
                             std::string(ImageRoleName(image.role)) + "." +
                             std::string(ExtensionOf(image.format, image.mime));
    try {
      if (image.inFile < image.length) {
        throw MakeError(error_number::kPastEndOfFile);
      }
      NewFile out(name);
      for (std::int64_t done = 0; done < image.length;) {
        file.SetSeek(image.offset + done + 1);
        const auto bytes = file.Peek(std::min(kPiece, image.length - done));
        const auto piece = bytes.first(static_cast<std::size_t>(std::min<std::int64_t>(
            static_cast<std::int64_t>(bytes.size()), image.length - done)));
        if (piece.empty()) {
          throw MakeError(error_number::kPastEndOfFile);  // the file shrank
        }
        out.Write(piece);
        done += static_cast<std::int64_t>(piece.size());
      }
      out.Commit();
    } catch (const RuntimeError& error) {
      outcome_.messages += FaultMessage(name, AnalysisFault{error, std::nullopt}, false);
      outcome_.failed = true;
    }
  }

  std::string stem_;
  const std::atomic<bool>* interrupt_;
  ExtractionOutcome& outcome_;
};

}  // namespace

ExtractionOutcome ExtractImages(FileSystem& files, const std::string& path, const std::string& folder,
                                const std::atomic<bool>* interrupt) {
  ExtractionOutcome outcome;
  Extraction extraction(path, folder, interrupt, outcome);
  outcome.fault = WithOpenFile(files, path, [&](BinaryFile& file) {
    outcome.file = ReadFileFacts(file);
    extraction.From(file, 0, 0);
  });
  return outcome;
}

}  // namespace vellumark
