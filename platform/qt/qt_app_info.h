#pragma once

#include "platform/app_info.h"

namespace vellumark {

// The version information compiled into the program, and its folder.
class QtAppInfo : public AppInfo {
public:
  std::string ProductName() const override;
  int Major() const override;
  int Minor() const override;
  int Revision() const override;
  std::string CompanyName() const override;
  std::string LegalCopyright() const override;
  std::string FileDescription() const override;
  std::string ProgramDirectory() const override;
};

}  // namespace vellumark
