#include "platform/error_box.h"

namespace vellumark {

std::string ErrorPrompt(const RuntimeError& error, std::optional<std::int64_t> readPosition) {
  std::string prompt = error.Description();
  if (readPosition) {
    prompt += "\r\n\r\nSeek:" + std::to_string(*readPosition);
  }
  return prompt;
}

void ShowErrorBox(MessageBox& box, const RuntimeError& error,
                  std::optional<std::int64_t> readPosition) {
  box.Show(ErrorPrompt(error, readPosition), std::to_string(error.Number()), MessageIcon::Critical);
}

}  // namespace vellumark
