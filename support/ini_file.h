#pragma once
// A small reader of Windows-style initialisation files: [Section] headers and
// Key=Value lines; section and key names compare without regard to case.

#include <filesystem>
#include <map>
#include <optional>
#include <string>

class TIniFile {
 public:
  // Reads the file; a missing or unreadable file, or one that is not a
  // regular file (a pipe, a device), gives an empty one.
  explicit TIniFile(const std::filesystem::path& path);

  std::optional<std::string> ReadString(const std::string& section, const std::string& key) const;
  // The value as a decimal integer; `fallback` when missing or not an integer.
  long long ReadInteger(const std::string& section, const std::string& key, long long fallback) const;
  // An integer value: 0 is false, any other integer true.
  bool ReadBool(const std::string& section, const std::string& key, bool fallback) const;

 private:
  std::map<std::string, std::string> values_;  // "section\nkey" in lower case
};

// The folder for settings files: $XDG_CONFIG_HOME, else ~/.config.
std::filesystem::path SettingsFolder();
