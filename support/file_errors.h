#pragma once
// The texts a user reads when the operating system refuses a file operation,
// and the error that carries one.

#include <string>
#include <utility>

#include "core/errors.h"

// The failure text of an operating-system error number ("File not found",
// "File access denied", "Disk full", ... or "I/O error N").
std::string InOutErrorText(int errorNumber);

// A file could not be opened, read or written. what() is the reason as the
// user reads it ("Disk full"); the front ends put the file's name before it.
// Errno() is the operating system's number, 0 when none applies.
class EFileError : public ECyclornError {
 public:
  EFileError(const std::string& reason, int errorNumber, std::string fileName = {})
      : ECyclornError(reason), errno_(errorNumber), fileName_(std::move(fileName)) {}
  int Errno() const { return errno_; }
  // The file the failure is about, as the user named it; empty when unknown.
  const std::string& FileName() const { return fileName_; }

 private:
  int errno_;
  std::string fileName_;
};
