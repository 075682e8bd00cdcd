#pragma once

#include <utility>
#include <vector>

#include "analysis/image_declaration.h"

namespace vellumark {

// What one declaration yields: its images, and the faults met reading it.
struct DeclarationOutcome {
  std::vector<DeclaredImage> images;
  std::vector<DeclarationFault> faults;
};

// A fault travels with every image its declaration yields, so that each image
// can say its declaration was damaged; only a declaration that yields nothing
// leaves its faults to the file.
inline void Deliver(DeclarationOutcome outcome, Declarations& out) {
  if (outcome.images.empty()) {
    out.faults.insert(out.faults.end(), outcome.faults.begin(), outcome.faults.end());
    return;
  }
  for (DeclaredImage& image : outcome.images) {
    image.faults.insert(image.faults.end(), outcome.faults.begin(), outcome.faults.end());
    out.images.push_back(std::move(image));
  }
}

}  // namespace vellumark
