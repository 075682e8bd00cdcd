#include "ui/commands/thumb_commands.h"

#include <algorithm>

#include "analysis/file_analysis.h"
#include "platform/error_box.h"
#include "ui/window_text.h"

namespace vellumark {

namespace {

constexpr int kTargetLongerSide = 96;
constexpr int kMinimumClientWidth = 60;
constexpr int kMinimumClientHeight = 36;

}  // namespace

ThumbnailLayout LayoutThumbnail(const JfifThumbnail* picture, int titleWidth) {
  ThumbnailLayout layout;
  layout.clientWidth = std::max(kMinimumClientWidth, titleWidth);
  if (picture == nullptr) {
    return layout;
  }
  const int longer = std::max(picture->width, picture->height);
  layout.scale = std::max(1, (kTargetLongerSide + longer - 1) / longer);
  layout.clientWidth = std::max(layout.clientWidth, picture->width * layout.scale);
  layout.clientHeight = std::max(kMinimumClientHeight, picture->height * layout.scale);
  return layout;
}

ThumbnailAnswer ThumbCommands::FindJfifThumbnail(const std::string& FileName) {
  if (FileName.empty()) {
    return {};
  }
  BusyScope busy(services_.busy);
  ThumbnailOutcome outcome = SearchFileForThumbnail(services_.files, FileName);
  busy.End();
  if (outcome.fault) {
    ShowErrorBox(services_.messages, outcome.fault->error, outcome.fault->readPosition);
  }
  return std::move(outcome.answer);
}

void ThumbCommands::Load(const std::string& FileName) {
  const ThumbnailAnswer answer = FindJfifThumbnail(FileName);
  if (answer.found) {
    window_.ShowModal(answer.picture ? &*answer.picture : nullptr);
  } else {
    services_.messages.Show(std::string(window_text::kNoThumbnail), {}, MessageIcon::Critical);
  }
}

}  // namespace vellumark
