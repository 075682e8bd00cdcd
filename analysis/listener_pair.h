#pragma once

#include "analysis/structure_walk.h"

namespace vellumark {

// Tells one walk to two listeners, first before second at every step, so
// that second can ask first about what it just heard.
class ListenerPair : public StructureListener {
public:
  ListenerPair(StructureListener& first, StructureListener& second) : first_(first), second_(second) {}

  void Begin(std::int64_t size, bool jpeg) override {
    first_.Begin(size, jpeg);
    second_.Begin(size, jpeg);
  }
  void Segment(const StructureSegment& segment) override {
    first_.Segment(segment);
    second_.Segment(segment);
  }
  void EntropyData(std::int64_t offset, std::int64_t length, std::int64_t restarts) override {
    first_.EntropyData(offset, length, restarts);
    second_.EntropyData(offset, length, restarts);
  }
  void Trailing(std::int64_t offset, std::int64_t length, bool beginsWithSoi) override {
    first_.Trailing(offset, length, beginsWithSoi);
    second_.Trailing(offset, length, beginsWithSoi);
  }
  void Problem(const StructureProblem& problem) override {
    first_.Problem(problem);
    second_.Problem(problem);
  }

private:
  StructureListener& first_;
  StructureListener& second_;
};

}  // namespace vellumark
