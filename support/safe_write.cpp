#include "support/safe_write.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <utility>

#include "support/file_errors.h"

namespace {

constexpr int kMaxLinkHops = 40;

std::string FolderOf(const std::string& path) {
  const size_t slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  if (slash == 0) return "/";
  return path.substr(0, slash);
}

// The file a chain of symbolic links ends at; a dangling link ends at the
// name it points to, where the new file is made.
std::string EndOfLinks(const std::string& fileName, const std::string& shownName) {
  std::string path = fileName;
  for (int hop = 0; hop < kMaxLinkHops; ++hop) {
    struct stat info {};
    if (::lstat(path.c_str(), &info) != 0 || !S_ISLNK(info.st_mode)) return path;
    std::string target(static_cast<size_t>(info.st_size > 0 ? info.st_size : 4096) + 1, '\0');
    const ssize_t length = ::readlink(path.c_str(), target.data(), target.size());
    if (length < 0) throw EFileError(InOutErrorText(errno), errno, shownName);
    target.resize(static_cast<size_t>(length));
    path = target.starts_with('/') ? target : FolderOf(path) + "/" + target;
  }
  throw EFileError(InOutErrorText(ELOOP), ELOOP, shownName);
}

std::string KindOf(mode_t mode) {
  if (S_ISSOCK(mode)) return "a socket";
  if (S_ISBLK(mode)) return "a device";
  return "not a plain file";
}

// Whether the user may replace an existing file. Root may write any file,
// but a file without a single write permission was protected on purpose.
bool MayReplace(const std::string& path, const struct stat& info) {
  if (::access(path.c_str(), W_OK) != 0) return false;
  return ::geteuid() != 0 || (info.st_mode & 0222) != 0;
}

}  // namespace

TSafeFile::TSafeFile(const std::string& fileName) : fileName_(fileName) {
  if (fileName.empty()) Fail(EINVAL);
  target_ = EndOfLinks(fileName, fileName_);
  struct stat existing {};
  const bool exists = ::stat(target_.c_str(), &existing) == 0;
  if (exists && (S_ISCHR(existing.st_mode) || S_ISFIFO(existing.st_mode))) {
    // A pipe without a reader refuses at once instead of blocking.
    fd_ = ::open(target_.c_str(), O_WRONLY | O_TRUNC | O_CLOEXEC | O_NONBLOCK);
    if (fd_ < 0 && errno == ENXIO) throw EFileError("A pipe that no program reads", ENXIO, fileName_);
    if (fd_ < 0) Fail(errno);
    ::fcntl(fd_, F_SETFL, ::fcntl(fd_, F_GETFL) & ~O_NONBLOCK);
    return;
  }
  // A folder is refused as the system refuses to open one for writing.
  if (exists && S_ISDIR(existing.st_mode)) Fail(EISDIR);
  if (exists && !S_ISREG(existing.st_mode))
    throw EFileError("Not a regular file (" + KindOf(existing.st_mode) + ")", 0, fileName_);
  if (exists && !MayReplace(target_, existing)) throw EFileError("File access denied (read-only)", EACCES, fileName_);

  temporary_ = FolderOf(target_) + "/.cyclorn-save-XXXXXX";
  fd_ = ::mkostemp(temporary_.data(), O_CLOEXEC);
  if (fd_ < 0) {
    temporary_.clear();
    Fail(errno);
  }
  // mkstemp makes the file private; it takes the mode (and where allowed the
  // owner) of the file it replaces, or what a new file would get.
  if (exists) {
    if (::fchown(fd_, existing.st_uid, existing.st_gid) != 0) {
      // Only root may give a file away; a user's own file keeps its owner anyway.
    }
    ::fchmod(fd_, existing.st_mode & 07777);
  } else {
    const mode_t mask = ::umask(0);
    ::umask(mask);
    ::fchmod(fd_, 0666 & ~mask);
  }
}

TSafeFile::~TSafeFile() {
  if (fd_ >= 0) ::close(fd_);
  if (!temporary_.empty()) ::unlink(temporary_.c_str());
}

void TSafeFile::Fail(int errorNumber) const { throw EFileError(InOutErrorText(errorNumber), errorNumber, fileName_); }

void TSafeFile::Write(std::string_view bytes) {
  const char* p = bytes.data();
  size_t left = bytes.size();
  while (left > 0) {
    const ssize_t put = ::write(fd_, p, left);
    if (put < 0) {
      if (errno == EINTR) continue;
      Fail(errno);
    }
    p += put;
    left -= static_cast<size_t>(put);
  }
}

void TSafeFile::Commit() {
  // Devices and pipes cannot be synced (EINVAL); their bytes are written.
  if (::fsync(fd_) != 0 && errno != EINVAL && errno != EROFS) Fail(errno);
  const int fd = std::exchange(fd_, -1);
  if (::close(fd) != 0 && errno != EINTR) Fail(errno);
  if (temporary_.empty()) return;
  if (::rename(temporary_.c_str(), target_.c_str()) != 0) Fail(errno);
  temporary_.clear();
}

void WriteFileSafely(const std::string& fileName, std::string_view content) {
  TSafeFile file(fileName);
  file.Write(content);
  file.Commit();
}
