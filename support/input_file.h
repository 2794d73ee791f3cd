#pragma once
// Files opened for reading. Only regular files are read: a folder, a FIFO, a
// socket or a device is refused before it is opened, so that no load can
// block on a pipe without a writer or read an endless device forever, and a
// file's size bounds what a reader may allocate for it.

#include <cstdint>
#include <string>

#include "support/file_errors.h"

class TInputFile {
 public:
  // Opens fileName for reading. Raises EFileError: the InOutErrorText of the
  // failure, or "Not a regular file (a folder)" and the like.
  explicit TInputFile(const std::string& fileName);
  ~TInputFile();
  TInputFile(const TInputFile&) = delete;
  TInputFile& operator=(const TInputFile&) = delete;

  // The file's size in bytes when it was opened.
  int64_t Size() const { return size_; }
  // Reads up to `capacity` bytes into buffer; 0 at the end of the file as it
  // was when opened, so a file that grows meanwhile is read as it was.
  // Raises EFileError on a read error.
  size_t Read(char* buffer, size_t capacity);

 private:
  int fd_ = -1;
  int64_t size_ = 0;
  std::string fileName_;
  int64_t left_ = 0;
};

// The whole of a regular file. Raises EFileError as TInputFile does.
std::string ReadWholeFile(const std::string& fileName);
