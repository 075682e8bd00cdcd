#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "analysis/image_declaration.h"
#include "analysis/structure_walk.h"
#include "platform/binary_file.h"

namespace vellumark {

// Where a file's other pictures are, from what its segments declare and what
// follows its EOI, and where the declarations and the bytes disagree.

// Depth 0 is a file, 1 a picture inside it, 2 a picture inside that, which
// is not looked into any further.
inline constexpr int kDeepestImage = 2;

enum class ImageProblemKind { BadDeclaration, OutOfFile, NotJpeg, Length, Overlap };

// "bad-declaration", "image-out-of-file", "image-not-jpeg", "image-length", "overlap".
std::string_view ImageProblemKindName(ImageProblemKind kind);

struct ImageProblem {
  std::int64_t offset = 0;
  std::int64_t length = 0;
  ImageProblemKind kind = ImageProblemKind::BadDeclaration;
};

struct EmbeddedImage {
  std::int64_t offset = 0;
  std::int64_t length = 0;  // as declared, even past the file's end
  ImageFormat format = ImageFormat::Unknown;
  ImageRole role = ImageRole::Other;
  std::string mime;              // the declared or seen media type, or ""
  std::vector<FoundBy> foundBy;  // each way once, in FoundBy's order
  std::vector<ImageProblem> problems;
  std::int64_t inFile = 0;  // the bytes of the span within its bounds: what is walked

  bool Jpeg() const { return format == ImageFormat::Jpeg; }
};

struct ImageMap {
  std::vector<EmbeddedImage> images;  // in file order, the shorter first at one offset
  std::vector<DeclarationFault> faults;  // declarations that yielded no image
};

// Hears a walk and keeps what its segments declare and where EOI leaves off.
class ImageDeclarations : public StructureListener {
public:
  void Begin(std::int64_t size, bool jpeg) override;
  void Segment(const StructureSegment& segment) override;
  void Trailing(std::int64_t offset, std::int64_t length, bool beginsWithSoi) override;

  // Whether anything may be there to map: a declaration or bytes after EOI.
  bool Any() const;
  // Where the images are, looked for in the file just walked.
  ImageMap Map(BinaryFile& file) const;

private:
  std::int64_t size_ = 0;
  Declarations declarations_;
  bool full_ = false;  // kMostImages declared: the segments after are not read
  std::optional<std::int64_t> trailingOffset_;
};

}  // namespace vellumark
