#pragma once
// Writing files safely. The bytes go to a new file beside the target, which
// is renamed over the target only when everything was written, so a failed
// save never destroys the old file. Every writer of the program (graph files,
// metafiles, pictures, reports) writes through here, so they all treat what
// they replace the same way:
// - a file the user may not write (a read-only file, also for root) is
//   refused, and stays as it is;
// - a replaced file keeps its permissions (and, where allowed, its owner);
// - a symbolic link is followed: the file it names is replaced, the link stays;
// - a character device (/dev/null, a terminal) or a pipe is written in place,
//   never replaced by a regular file;
// - anything else that is not a regular file (a folder, a socket, a block
//   device) is refused, a folder as "File access denied".
// Failures raise EFileError with the reason (InOutErrorText of the system's
// error, or the refusal) and the file name as given.

#include <string>
#include <string_view>

class TSafeFile {
 public:
  // Prepares to replace (or create) fileName. Raises EFileError when the
  // target may not be replaced or no new file can be made beside it.
  explicit TSafeFile(const std::string& fileName);
  // Removes the new file unless Commit() completed.
  ~TSafeFile();
  TSafeFile(const TSafeFile&) = delete;
  TSafeFile& operator=(const TSafeFile&) = delete;

  void Write(std::string_view bytes);
  // Flushes the bytes to the disk and puts the new file in the target's place.
  void Commit();

 private:
  [[noreturn]] void Fail(int errorNumber) const;

  std::string fileName_;   // as the user gave it, for messages
  std::string target_;     // the file replaced: the end of any chain of links
  std::string temporary_;  // the new file beside it; empty when written in place
  int fd_ = -1;
};

// Writes content as fileName through a TSafeFile.
void WriteFileSafely(const std::string& fileName, std::string_view content);
