#include "files/FileError.h"

#include <cerrno>

namespace tallisk {
namespace {

int NumberOf(std::error_code reason) {
  if (reason.category() != std::generic_category() && reason.category() != std::system_category()) {
    return ErrFileAccess;
  }
  switch (reason.value()) {
    case ENOENT:
      return ErrFileNotFound;
    case ENOTDIR:
      return ErrPathNotFound;
    case EACCES:
    case EPERM:
    case EROFS:
      return ErrPermissionDenied;
    case ENOSPC:
    case EDQUOT:
    case EFBIG:
      return ErrDiskFull;
    default:
      return ErrFileAccess;
  }
}

}  // namespace

FileError::FileError(std::filesystem::path file, std::error_code reason, std::string source)
    : TalliskError(NumberOf(reason), std::move(source), reason.message() + ": " + file.string()),
      file_(std::move(file)),
      reason_(reason) {}

FileError::FileError(std::filesystem::path file, std::string description, std::string source)
    : TalliskError(ErrBadFileFormat, std::move(source), std::move(description)),
      file_(std::move(file)) {}

}  // namespace tallisk
