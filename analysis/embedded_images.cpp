#include "analysis/embedded_images.h"

#include <algorithm>
#include <memory>
#include <utility>

#include "analysis/after_eoi_search.h"
#include "analysis/jpeg_extent.h"
#include "analysis/marker_code.h"
#include "analysis/segment_declarations.h"
#include "platform/file_window.h"

namespace vellumark {

namespace {

// Which declaration's role wins where several name one span.
int Weight(FoundBy way) {
  switch (way) {
    case FoundBy::Xmp: return 3;
    case FoundBy::Mpf: return 2;
    case FoundBy::Exif:
    case FoundBy::Jfxx: return 1;
    case FoundBy::AfterEoi: return 0;
  }
  return 0;
}

bool SameSpan(const DeclaredImage& a, const DeclaredImage& b) {
  return a.offset == b.offset && a.length == b.length;
}

bool SpanBefore(const DeclaredImage& a, const DeclaredImage& b) {
  return std::pair(a.offset, a.length) < std::pair(b.offset, b.length);
}

// One entry for the declarations [first, last) of one span.
EmbeddedImage Merge(std::vector<DeclaredImage>::const_iterator first,
                    std::vector<DeclaredImage>::const_iterator last) {
  EmbeddedImage image;
  image.offset = first->offset;
  image.length = first->length;
  const DeclaredImage* strongest = nullptr;
  const DeclaredImage* roleGiver = nullptr;
  for (auto it = first; it != last; ++it) {
    if (strongest == nullptr || Weight(it->foundBy) > Weight(strongest->foundBy)) {
      strongest = &*it;
    }
    if (it->role != ImageRole::Other && (roleGiver == nullptr || Weight(it->foundBy) > Weight(roleGiver->foundBy))) {
      roleGiver = &*it;
    }
    image.foundBy.push_back(it->foundBy);
    for (const DeclarationFault& fault : it->faults) {
      image.problems.push_back({fault.offset, fault.length, ImageProblemKind::BadDeclaration});
    }
  }
  image.format = strongest->format;
  image.mime = strongest->mime;
  image.role = roleGiver != nullptr ? roleGiver->role : ImageRole::Other;
  std::sort(image.foundBy.begin(), image.foundBy.end());
  image.foundBy.erase(std::unique(image.foundBy.begin(), image.foundBy.end()), image.foundBy.end());
  return image;
}

// The stretches of [from, to) that no declared span covers.
std::vector<std::pair<std::int64_t, std::int64_t>> Uncovered(const std::vector<DeclaredImage>& sorted,
                                                             std::int64_t from, std::int64_t to) {
  std::vector<std::pair<std::int64_t, std::int64_t>> runs;
  std::int64_t at = from;
  for (const DeclaredImage& image : sorted) {
    const std::int64_t end = image.offset + std::min(image.length, to - image.offset);
    if (image.offset > at && image.offset < to) {
      runs.emplace_back(at, image.offset);
    }
    at = std::max(at, end);
  }
  if (at < to) {
    runs.emplace_back(at, to);
  }
  return runs;
}

// The bytes after EOI no declaration covers, sorted out. Unknown bytes alone
// are no picture: they stay what the report's trailing bytes say they are.
std::vector<DeclaredImage> FoundAfterEoi(BinaryFile& file, const std::vector<DeclaredImage>& declared,
                                         std::int64_t from, std::int64_t to) {
  std::vector<DeclaredImage> found;
  for (const auto& [start, end] : Uncovered(declared, from, to)) {
    SearchAfterEoi(file, start, end - start, found);
  }
  const bool pictures = !declared.empty() || std::any_of(found.begin(), found.end(), [](const DeclaredImage& image) {
    return image.format != ImageFormat::Unknown;
  });
  if (!pictures) {
    found.clear();
  }
  return found;
}

// Where the span may end: a thumbnail in its segment, unless another
// declaration of the same span lets it reach further.
std::int64_t WidestLimit(std::vector<DeclaredImage>::const_iterator first,
                         std::vector<DeclaredImage>::const_iterator last) {
  std::int64_t limit = first->limit;
  for (auto it = first; it != last; ++it) {
    limit = std::max(limit, it->limit);
  }
  return limit;
}

// Where the span reaches past its bounds, and what of it can be walked.
void Bound(EmbeddedImage& image, std::int64_t bound) {
  const std::int64_t end = image.offset + image.length;
  image.inFile = std::clamp<std::int64_t>(bound - image.offset, 0, image.length);
  if (end > bound) {
    const std::int64_t outside = std::max(image.offset, bound);
    image.problems.push_back({outside, end - outside, ImageProblemKind::OutOfFile});
  }
}

// Whether a JPEG's bytes are one, and one of its declared length.
void Measure(BinaryFile& file, EmbeddedImage& image, bool outOfFile) {
  BinaryFile alone(std::make_unique<FileWindow>(file, image.offset, image.inFile));
  const JpegExtent extent = MeasureJpeg(alone);
  if (!extent.jpeg) {
    image.problems.push_back({image.offset, std::min<std::int64_t>(2, image.inFile), ImageProblemKind::NotJpeg});
  } else if (!outOfFile && extent.eoiEnd != image.length) {
    const std::int64_t end = extent.eoiEnd.value_or(image.length);
    image.problems.push_back({image.offset + end, image.length - end, ImageProblemKind::Length});
  }
}

// Marks each entry that intersects an earlier one, with the first such
// intersection, against the earlier entry reaching furthest: linear however
// many entries there are.
void MarkOverlaps(std::vector<EmbeddedImage>& images) {
  std::vector<bool> marked(images.size(), false);
  std::optional<std::size_t> furthest;
  for (std::size_t i = 0; i < images.size(); ++i) {
    EmbeddedImage& image = images[i];
    if (furthest) {
      EmbeddedImage& earlier = images[*furthest];
      const std::int64_t shared = std::min(earlier.offset + earlier.length, image.offset + image.length) - image.offset;
      if (shared > 0) {
        for (const std::size_t each : {*furthest, i}) {
          if (!marked[each]) {
            marked[each] = true;
            images[each].problems.push_back({image.offset, shared, ImageProblemKind::Overlap});
          }
        }
      }
    }
    if (!furthest || image.offset + image.length > images[*furthest].offset + images[*furthest].length) {
      furthest = i;
    }
  }
}

}  // namespace

std::string_view ImageProblemKindName(ImageProblemKind kind) {
  switch (kind) {
    case ImageProblemKind::BadDeclaration: return "bad-declaration";
    case ImageProblemKind::OutOfFile: return "image-out-of-file";
    case ImageProblemKind::NotJpeg: return "image-not-jpeg";
    case ImageProblemKind::Length: return "image-length";
    case ImageProblemKind::Overlap: return "overlap";
  }
  return {};
}

void ImageDeclarations::Begin(std::int64_t size, bool) { size_ = size; }

void ImageDeclarations::Segment(const StructureSegment& segment) {
  if (segment.code < marker::kApp0 || segment.code > marker::kApp0 + 2 || !segment.Whole()) {
    return;
  }
  // After FF, the code and the length field.
  const std::int64_t payloadOffset = segment.offset + segment.fill + 4;
  if (declarations_.images.size() < kMostImages) {
    ReadSegmentDeclarations(segment.code, segment.payload, payloadOffset, size_, declarations_);
  } else if (!full_) {
    full_ = true;  // the first segment left unread stands for them all
    declarations_.faults.push_back({payloadOffset, static_cast<std::int64_t>(segment.payload.size())});
  }
}

void ImageDeclarations::Trailing(std::int64_t offset, std::int64_t, bool) { trailingOffset_ = offset; }

bool ImageDeclarations::Any() const {
  return trailingOffset_ || !declarations_.images.empty() || !declarations_.faults.empty();
}

ImageMap ImageDeclarations::Map(BinaryFile& file) const {
  ImageMap map;
  map.faults = declarations_.faults;
  std::vector<DeclaredImage> declared;
  for (const DeclaredImage& image : declarations_.images) {
    if (image.offset >= 0 && image.length >= 0) {
      declared.push_back(image);
    }
  }
  std::sort(declared.begin(), declared.end(), SpanBefore);
  if (trailingOffset_) {
    std::vector<DeclaredImage> found = FoundAfterEoi(file, declared, *trailingOffset_, size_);
    declared.insert(declared.end(), found.begin(), found.end());
    std::sort(declared.begin(), declared.end(), SpanBefore);
  }
  for (auto first = declared.begin(); first != declared.end();) {
    const auto last = std::find_if(first, declared.end(), [&](const DeclaredImage& image) {
      return !SameSpan(image, *first);
    });
    EmbeddedImage image = Merge(first, last);
    Bound(image, std::min(size_, WidestLimit(first, last)));
    if (image.Jpeg() && image.inFile > 0) {
      Measure(file, image, image.inFile < image.length);
    }
    map.images.push_back(std::move(image));
    first = last;
  }
  MarkOverlaps(map.images);
  for (EmbeddedImage& image : map.images) {
    std::stable_sort(image.problems.begin(), image.problems.end(),
                     [](const ImageProblem& a, const ImageProblem& b) { return a.offset < b.offset; });
  }
  return map;
}

}  // namespace vellumark
