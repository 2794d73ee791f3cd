#pragma once
// TArgumentReader: walks cyclorn-cli's arguments and remembers which options
// were given, refusing repeats.

#include <cstdint>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "cli/command_line.h"
#include "sources/graph_numbers.h"

class TArgumentReader {
 public:
  explicit TArgumentReader(const std::vector<std::string>& args) : args_(args) {}
  bool AtEnd() const { return next_ >= args_.size(); }
  const std::string& Take(const char* missing) {
    if (AtEnd()) throw EUsageError(missing);
    return args_[next_++];
  }
  void Given(const std::string& option) {
    if (!given_.insert(option).second) throw EUsageError(option + " is given more than once");
  }
  bool WasGiven(std::string_view option) const { return given_.count(std::string(option)) > 0; }
  const std::set<std::string>& AllGiven() const { return given_; }
  int32_t TakeInteger(const std::string& option) {
    const std::string& text = Take((option + " needs a value").c_str());
    int32_t value = 0;
    if (!ParseGraphInteger(text, value)) throw EUsageError(option + " takes a whole number, not \"" + text + "\"");
    return value;
  }
  double TakeReal(const std::string& option) {
    const std::string& text = Take((option + " needs a value").c_str());
    double value = 0;
    if (!ParseGraphReal(text, value)) throw EUsageError(option + " takes a number, not \"" + text + "\"");
    return value;
  }

 private:
  const std::vector<std::string>& args_;
  size_t next_ = 0;
  std::set<std::string> given_;
};
