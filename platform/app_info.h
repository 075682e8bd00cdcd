#pragma once

#include <string>

namespace vellumark {

// What the program knows about itself: version information and where it lives.
class AppInfo {
public:
  virtual ~AppInfo() = default;
  virtual std::string ProductName() const = 0;
  virtual int Major() const = 0;
  virtual int Minor() const = 0;
  virtual int Revision() const = 0;
  virtual std::string CompanyName() const = 0;
  virtual std::string LegalCopyright() const = 0;
  virtual std::string FileDescription() const = 0;
  virtual std::string ProgramDirectory() const = 0;
};

}  // namespace vellumark
