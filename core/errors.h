#pragma once
// Errors raised by the survey model. Every command lets them travel to the
// application's error handler, which shows the message and carries on.

#include <stdexcept>
#include <string>

// An error whose message is shown to the user as it stands.
class ECyclornError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// A container was asked to hold zero bytes ("Empty Array Allocation").
class EEmptyArrayAllocation : public ECyclornError {
 public:
  EEmptyArrayAllocation() : ECyclornError("Empty Array Allocation") {}
};

// An allocation or reallocation failed ("Out of memory").
class EOutOfMemory : public ECyclornError {
 public:
  EOutOfMemory() : ECyclornError("Out of memory") {}
};

// A station name does not fit the name table's width.
class ENameTooLong : public ECyclornError {
 public:
  using ECyclornError::ECyclornError;
};
