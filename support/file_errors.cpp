#include "support/file_errors.h"

#include <cerrno>

std::string InOutErrorText(int errorNumber) {
  switch (errorNumber) {
    case ENOENT:
      return "File not found";
    case ENAMETOOLONG:
    case EINVAL:
      return "Invalid filename";
    case EMFILE:
    case ENFILE:
      return "Too many open files";
    case EACCES:
    case EPERM:
    case EISDIR:
    case EROFS:
      return "File access denied";
    case ENOSPC:
    case EDQUOT:
      return "Disk full";
    default:
      return "I/O error " + std::to_string(errorNumber);
  }
}
