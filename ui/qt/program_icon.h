#pragma once

#include <QIcon>

namespace vellumark {

// The program's icon in every size it comes in, for the frames of its windows.
QIcon ProgramIcon();

}  // namespace vellumark
