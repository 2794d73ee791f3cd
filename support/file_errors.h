#pragma once
// The texts a user reads when the operating system refuses a file operation,
// and the error that carries one.

#include <string>

#include "core/errors.h"

// The failure text of an operating-system error number ("File not found",
// "File access denied", "Disk full", ... or "I/O error N").
std::string InOutErrorText(int errorNumber);

// A file could not be opened, read or written. what() is the text the user
// reads; Errno() the operating system's number, 0 when none applies.
class EFileError : public ECyclornError {
 public:
  EFileError(const std::string& message, int errorNumber) : ECyclornError(message), errno_(errorNumber) {}
  int Errno() const { return errno_; }

 private:
  int errno_;
};
