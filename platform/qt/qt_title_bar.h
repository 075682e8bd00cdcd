#pragma once

#include <QString>

namespace vellumark {

// How wide a window must be for its title bar to show caption whole: the
// caption in the title font, and room for the icon and buttons the window
// manager draws beside it.
int TitleBarWidth(const QString& caption);

}  // namespace vellumark
