#pragma once

#include <string>

#include "platform/app_info.h"

namespace vellumark {

// What the program file says about itself: the VERSIONINFO resource, read once
// when the object is made, and the folder that holds the file.
class Win32AppInfo : public AppInfo {
public:
  Win32AppInfo();

  std::string ProductName() const override { return productName_; }
  int Major() const override { return major_; }
  int Minor() const override { return minor_; }
  int Revision() const override { return revision_; }
  std::string CompanyName() const override { return companyName_; }
  std::string LegalCopyright() const override { return legalCopyright_; }
  std::string FileDescription() const override { return fileDescription_; }
  std::string ProgramDirectory() const override { return programDirectory_; }

private:
  std::string productName_;
  int major_ = 0;
  int minor_ = 0;
  int revision_ = 0;
  std::string companyName_;
  std::string legalCopyright_;
  std::string fileDescription_;
  std::string programDirectory_;
};

}  // namespace vellumark
