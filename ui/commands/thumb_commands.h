#pragma once

#include <string>

#include "analysis/thumbnail_search.h"
#include "ui/commands/platform_services.h"

namespace vellumark {

// The thumbnail window as the commands see it.
class ThumbnailWindow {
public:
  virtual ~ThumbnailWindow() = default;
  // Shows the window modally, with no owner, and returns once the user closed
  // it. Without a picture the window shows its empty client area.
  virtual void ShowModal(const JfifThumbnail* picture) = 0;
};

// How a thumbnail is drawn: enlarged by a whole factor, pixels kept crisp, so
// that its longer side is about 96 pixels or more, in the middle of the client
// area. The client area fits the picture but is never smaller than 60 x 36, nor
// narrower than titleWidth, the width the window needs to show its whole title.
struct ThumbnailLayout {
  int scale = 1;
  int clientWidth = 60;
  int clientHeight = 36;
};
ThumbnailLayout LayoutThumbnail(const JfifThumbnail* picture, int titleWidth);

// The thumbnail window's Load: search the file, then show the window or say
// there is no thumbnail.
class ThumbCommands {
public:
  ThumbCommands(ThumbnailWindow& window, PlatformServices services)
      : window_(window), services_(services) {}

  void Load(const std::string& FileName);

private:
  // Shows its own runtime errors; the answer is what was found before one.
  ThumbnailAnswer FindJfifThumbnail(const std::string& FileName);

  ThumbnailWindow& window_;
  PlatformServices services_;
};

}  // namespace vellumark
