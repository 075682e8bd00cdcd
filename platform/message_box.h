#pragma once

#include <string>

namespace vellumark {

enum class MessageIcon { Critical = 16, Information = 64 };

// A modal box with one OK button. Show returns when the user has dismissed it.
class MessageBox {
public:
  virtual ~MessageBox() = default;
  // An empty title shows the application title instead.
  virtual void Show(const std::string& prompt, const std::string& title, MessageIcon icon) = 0;
};

}  // namespace vellumark
