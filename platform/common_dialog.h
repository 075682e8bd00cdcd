#pragma once

#include <string>

namespace vellumark {

// The common file dialog shared by Open and Save. The commands set Filter, Flags
// and InitDir before every showing; FileName is both the initial name and the
// result, so it is the program's current file. A cancelled dialog throws
// RuntimeError 32755 and leaves FileName alone.
class CommonDialog {
public:
  static constexpr int kOverwritePrompt = 0x2;
  static constexpr int kHideReadOnly = 0x4;
  static constexpr int kFileMustExist = 0x1000;

  virtual ~CommonDialog() = default;
  virtual void ShowOpen() = 0;
  virtual void ShowSave() = 0;

  // "label|patterns", patterns separated by ';'.
  std::string Filter;
  int Flags = 0;
  std::string InitDir;
  std::string FileName;
};

}  // namespace vellumark
