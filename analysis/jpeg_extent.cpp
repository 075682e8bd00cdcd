#include "analysis/jpeg_extent.h"

#include "analysis/marker_code.h"
#include "analysis/segment_fields.h"
#include "analysis/structure_walk.h"

namespace vellumark {

namespace {

class ExtentListener : public StructureListener {
public:
  void Begin(std::int64_t, bool jpeg) override { extent.jpeg = jpeg; }

  void Segment(const StructureSegment& segment) override {
    extent.frame = extent.frame || IsFrameCode(segment.code);
    if (segment.code == marker::kEoi) {
      extent.eoiEnd = segment.offset + segment.fill + 2;
    }
  }

  JpegExtent extent;
};

}  // namespace

JpegExtent MeasureJpeg(BinaryFile& file) {
  ExtentListener listener;
  // Without an interruption to hear, the walk always ends.
  [[maybe_unused]] const bool ended = WalkStructure(file, listener);
  return listener.extent;
}

}  // namespace vellumark
