#include "support/ini_file.h"

#include <cctype>
#include <charconv>
#include <cstdlib>
#include <sstream>

#include "support/input_file.h"

namespace {

std::string Lower(std::string s) {
  for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return s;
}

std::string Trim(const std::string& s) {
  const auto first = s.find_first_not_of(" \t\r\n");
  if (first == std::string::npos) return {};
  const auto last = s.find_last_not_of(" \t\r\n");
  return s.substr(first, last - first + 1);
}

std::string KeyOf(const std::string& section, const std::string& key) { return Lower(section) + '\n' + Lower(key); }

}  // namespace

TIniFile::TIniFile(const std::filesystem::path& path) {
  std::string text;
  try {
    text = ReadWholeFile(path.string());
  } catch (const EFileError&) {
    return;  // missing, unreadable, or a pipe or device that could block the start or never end
  }
  std::istringstream in(text);
  std::string line, section;
  while (std::getline(in, line)) {
    line = Trim(line);
    if (line.empty() || line[0] == ';') continue;
    if (line.front() == '[') {
      const auto close = line.find(']');
      section = Trim(line.substr(1, close == std::string::npos ? std::string::npos : close - 1));
      continue;
    }
    const auto equals = line.find('=');
    if (equals == std::string::npos) continue;
    const std::string key = KeyOf(section, Trim(line.substr(0, equals)));
    values_.try_emplace(key, Trim(line.substr(equals + 1)));  // the first entry wins
  }
}

std::optional<std::string> TIniFile::ReadString(const std::string& section, const std::string& key) const {
  const auto it = values_.find(KeyOf(section, key));
  if (it == values_.end()) return std::nullopt;
  return it->second;
}

long long TIniFile::ReadInteger(const std::string& section, const std::string& key, long long fallback) const {
  const auto text = ReadString(section, key);
  if (!text || text->empty()) return fallback;
  const char* first = text->data();
  const char* last = first + text->size();
  if (*first == '+') ++first;
  long long value = 0;
  const auto [end, error] = std::from_chars(first, last, value);
  if (error != std::errc() || end != last) return fallback;
  return value;
}

bool TIniFile::ReadBool(const std::string& section, const std::string& key, bool fallback) const {
  return ReadInteger(section, key, fallback ? 1 : 0) != 0;
}

std::filesystem::path SettingsFolder() {
  if (const char* xdg = std::getenv("XDG_CONFIG_HOME"); xdg != nullptr && *xdg != '\0') return xdg;
  if (const char* home = std::getenv("HOME"); home != nullptr && *home != '\0')
    return std::filesystem::path(home) / ".config";
  return ".";
}
