#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "platform/message_box.h"
#include "platform/runtime_error.h"

namespace vellumark {

// The prompt of the error box: the description, and where a file was open an
// empty line and the read position at the moment of the error.
std::string ErrorPrompt(const RuntimeError& error, std::optional<std::int64_t> readPosition);

// The one way runtime errors reach the user: critical icon, OK only, the error
// number as the title.
void ShowErrorBox(MessageBox& box, const RuntimeError& error,
                  std::optional<std::int64_t> readPosition = std::nullopt);

}  // namespace vellumark
