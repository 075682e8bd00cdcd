#pragma once

#include "platform/runtime_error.h"

namespace vellumark {

// The runtime error for a failed Win32 call: the codes with a number of their
// own in runtime_error.h get it, every other code keeps the system's own text
// under number 1000 + code.
RuntimeError Win32Error(unsigned long code);

}  // namespace vellumark
