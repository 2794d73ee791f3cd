#include "support/input_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace {

// What a file that is not a regular one is, in the user's words.
std::string KindOf(mode_t mode) {
  if (S_ISDIR(mode)) return "a folder";
  if (S_ISFIFO(mode)) return "a pipe";
  if (S_ISSOCK(mode)) return "a socket";
  if (S_ISCHR(mode) || S_ISBLK(mode)) return "a device";
  return "not a plain file";
}

[[noreturn]] void FailNotRegular(mode_t mode, const std::string& fileName) {
  throw EFileError("Not a regular file (" + KindOf(mode) + ")", 0, fileName);
}

[[noreturn]] void FailErrno(int error, const std::string& fileName) {
  throw EFileError(InOutErrorText(error), error, fileName);
}

}  // namespace

TInputFile::TInputFile(const std::string& fileName) {
  if (fileName.empty()) FailErrno(EINVAL, fileName);
  // Looked at before opening: opening a FIFO without a writer would block.
  struct stat info {};
  if (::stat(fileName.c_str(), &info) != 0) FailErrno(errno, fileName);
  if (!S_ISREG(info.st_mode)) FailNotRegular(info.st_mode, fileName);
  // O_NONBLOCK keeps a file swapped for a FIFO since the check from blocking.
  fd_ = ::open(fileName.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  if (fd_ < 0) FailErrno(errno, fileName);
  if (::fstat(fd_, &info) != 0 || !S_ISREG(info.st_mode)) {
    const mode_t mode = info.st_mode;
    ::close(fd_);
    fd_ = -1;
    FailNotRegular(mode, fileName);
  }
  size_ = info.st_size;
  fileName_ = fileName;
  left_ = size_;
}

TInputFile::~TInputFile() {
  if (fd_ >= 0) ::close(fd_);
}

size_t TInputFile::Read(char* buffer, size_t capacity) {
  if (static_cast<uint64_t>(left_) < capacity) capacity = static_cast<size_t>(left_);
  if (capacity == 0) return 0;
  for (;;) {
    const ssize_t got = ::read(fd_, buffer, capacity);
    if (got >= 0) {
      left_ -= got;
      return static_cast<size_t>(got);
    }
    if (errno != EINTR) FailErrno(errno, fileName_);
  }
}

std::string ReadWholeFile(const std::string& fileName) {
  TInputFile file(fileName);
  // Read never goes past the size at opening, so one allocation holds it all.
  std::string bytes(static_cast<size_t>(file.Size()), '\0');
  size_t have = 0;
  while (have < bytes.size()) {
    const size_t got = file.Read(bytes.data() + have, bytes.size() - have);
    if (got == 0) break;
    have += got;
  }
  bytes.resize(have);
  return bytes;
}
