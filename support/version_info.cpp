#include "support/version_info.h"

#include <ctime>
#include <system_error>

std::string VersionText;

std::string TVersionInfo::GetVersionString(TVersionType kind) const { return values_[static_cast<size_t>(kind)]; }

void TVersionInfo::ReadVersionInfo() {
  for (int k = 0; k < kVersionTypeCount; ++k) values_[static_cast<size_t>(k)] = CompiledVersionString(TVersionType(k));
}

std::string VersionTail(const std::string& fileVersion) {
  const auto dot = fileVersion.rfind('.');
  return dot == std::string::npos ? fileVersion : fileVersion.substr(dot + 1);
}

std::string FileVersionTail() { return VersionTail(TVersionInfo().FileVersion()); }

TCivilDate ExeFileDate(const std::filesystem::path& file) {
  std::error_code error;
  const auto stamp = std::filesystem::last_write_time(file, error);
  if (error) return {};
  const auto system = std::chrono::file_clock::to_sys(stamp);
  const std::time_t t = std::chrono::system_clock::to_time_t(system);
  std::tm local{};
  localtime_r(&t, &local);
  return {local.tm_year + 1900, local.tm_mon + 1, local.tm_mday};
}

std::string FormatVersionText(TCivilDate date, const std::string& fileVersion) {
  const std::string year = std::to_string(date.Year);
  const std::string yy = year.size() > 2 ? year.substr(2) : std::string();
  return "Version 5." + yy + "." + std::to_string(date.Month) + "." + std::to_string(date.Day) + "." +
         VersionTail(fileVersion);
}

void BuildVersionStrings() {
  std::error_code error;
  const auto exe = std::filesystem::read_symlink("/proc/self/exe", error);
  VersionText = FormatVersionText(ExeFileDate(exe), TVersionInfo().FileVersion());
}
