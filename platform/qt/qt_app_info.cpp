#include "platform/qt/qt_app_info.h"

#include <QCoreApplication>

#include "version.h"

namespace vellumark {

std::string QtAppInfo::ProductName() const { return version::kProductName; }
int QtAppInfo::Major() const { return version::kMajor; }
int QtAppInfo::Minor() const { return version::kMinor; }
int QtAppInfo::Revision() const { return version::kRevision; }
std::string QtAppInfo::CompanyName() const { return version::kCompanyName; }
std::string QtAppInfo::LegalCopyright() const { return version::kLegalCopyright; }
std::string QtAppInfo::FileDescription() const { return version::kFileDescription; }

std::string QtAppInfo::ProgramDirectory() const {
  return QCoreApplication::applicationDirPath().toStdString();
}

}  // namespace vellumark
