#include "platform/runtime_error.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <system_error>

namespace vellumark {

namespace {

const char* DescriptionOf(std::int32_t number) {
  switch (number) {
    case error_number::kOutOfMemory: return "内存不足";
    case error_number::kBadFileName: return "错误的文件名";
    case error_number::kFileNotFound: return "文件未找到";
    case error_number::kDeviceIo: return "设备 I/O 错误";
    case error_number::kFileExists: return "文件已存在";
    case error_number::kDiskFull: return "磁盘已满";
    case error_number::kPastEndOfFile: return "输入超出文件尾";
    case error_number::kAccessDenied: return "拒绝访问";
    case error_number::kPathFileAccess: return "路径/文件访问错误";
    case error_number::kPathNotFound: return "路径未找到";
    case error_number::kCancelled: return "已取消";
    default: return "未知错误";
  }
}

// ENOENT means "file not found" only when the folder that should hold the file
// exists; otherwise the path itself is wrong.
bool ParentFolderExists(const std::string& path) {
  std::filesystem::path parent = std::filesystem::path(path).parent_path();
  if (parent.empty()) {
    return true;
  }
  std::error_code ignored;
  return std::filesystem::is_directory(parent, ignored);
}

}  // namespace

RuntimeError MakeError(std::int32_t number) { return RuntimeError(number, DescriptionOf(number)); }

RuntimeError SystemError(int errnoValue, const std::string& path) {
  switch (errnoValue) {
    case ENOENT:
      return MakeError(ParentFolderExists(path) ? error_number::kFileNotFound
                                                : error_number::kPathNotFound);
    case ENOTDIR: return MakeError(error_number::kPathNotFound);
    case ENAMETOOLONG:
    case EINVAL:
    case EILSEQ: return MakeError(error_number::kBadFileName);
    case EACCES:
    case EPERM:
    case EROFS: return MakeError(error_number::kAccessDenied);
    case EISDIR: return MakeError(error_number::kPathFileAccess);
    case EIO: return MakeError(error_number::kDeviceIo);
    case EEXIST: return MakeError(error_number::kFileExists);
    case ENOSPC:
#ifdef EDQUOT  // Windows' C library knows no disk quotas.
    case EDQUOT:
#endif
      return MakeError(error_number::kDiskFull);
    case ENOMEM: return MakeError(error_number::kOutOfMemory);
    default:
      return RuntimeError(error_number::kSystemBase + errnoValue, std::strerror(errnoValue));
  }
}

}  // namespace vellumark
