#include <optional>
#include <string_view>

#include "analysis/file_check.h"
#include "analysis/marker_code.h"
#include "analysis/segment_fields.h"

namespace vellumark {

namespace {

bool IsHierarchical(std::uint8_t code) {
  return code == marker::kDhp || code == marker::kExp || (code >= 0xC5 && code <= 0xC7) ||
         (code >= 0xCD && code <= marker::kSof15);
}

// The first thing in the file that makes its pictures undecodable here.
class UnsupportedSearch : public StructureListener {
public:
  void Segment(const StructureSegment& segment) override {
    if (reason_) {
      return;
    }
    const std::uint8_t code = segment.code;
    if (IsHierarchical(code)) {
      reason_ = "hierarchical";
    } else if (IsFrameCode(code) && !frameSeen_) {
      frameSeen_ = true;
      reason_ = FrameReason(segment);
    }
  }

  std::optional<std::string_view> Reason() const { return reason_; }

private:
  static std::optional<std::string_view> FrameReason(const StructureSegment& segment) {
    switch (segment.code) {
      case 0xC3:
      case 0xCB: return "lossless";
      case 0xC9:
      case 0xCA: return "arithmetic coding";
      default: break;
    }
    if (segment.Whole() && ReadFrameFields(segment.payload).height == 0) {
      return "height 0";
    }
    return std::nullopt;
  }

  std::optional<std::string_view> reason_;
  bool frameSeen_ = false;
};

}  // namespace

std::optional<std::string_view> FindUnsupported(BinaryFile& file, bool& interrupted,
                                                const std::atomic<bool>* interrupt) {
  UnsupportedSearch search;
  interrupted = !WalkStructure(file, search, interrupt);
  return search.Reason();
}

}  // namespace vellumark
