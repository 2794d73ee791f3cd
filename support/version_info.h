#pragma once
// The program's identity: ten version strings compiled into the executable
// from the project version, and the version text built at start from them
// and the executable's date.

#include <array>
#include <chrono>
#include <filesystem>
#include <string>

enum class TVersionType {
  vtCompanyName,
  vtFileDescription,
  vtFileVersion,
  vtInternalName,
  vtLegalCopyright,
  vtLegalTradeMark,
  vtOriginalFileName,
  vtProductName,
  vtProductVersion,
  vtComments
};
inline constexpr int kVersionTypeCount = 10;

class TVersionInfo {
 public:
  TVersionInfo() { ReadVersionInfo(); }
  virtual ~TVersionInfo() = default;

  virtual std::string GetVersionString(TVersionType kind) const;
  virtual void ReadVersionInfo();

  std::string CompanyName() const { return GetVersionString(TVersionType::vtCompanyName); }
  std::string FileDescription() const { return GetVersionString(TVersionType::vtFileDescription); }
  std::string FileVersion() const { return GetVersionString(TVersionType::vtFileVersion); }
  std::string InternalName() const { return GetVersionString(TVersionType::vtInternalName); }
  std::string LegalCopyright() const { return GetVersionString(TVersionType::vtLegalCopyright); }
  std::string LegalTradeMark() const { return GetVersionString(TVersionType::vtLegalTradeMark); }
  std::string OriginalFileName() const { return GetVersionString(TVersionType::vtOriginalFileName); }
  std::string ProductName() const { return GetVersionString(TVersionType::vtProductName); }
  std::string ProductVersion() const { return GetVersionString(TVersionType::vtProductVersion); }
  std::string Comments() const { return GetVersionString(TVersionType::vtComments); }

 private:
  std::array<std::string, kVersionTypeCount> values_;
};

// The compiled-in value of one entry (empty when the table has none).
std::string CompiledVersionString(TVersionType kind);

// The part of a version a.b.c.d after its last "."; a text without "." is
// returned whole.
std::string VersionTail(const std::string& fileVersion);
// VersionTail of the executable's FileVersion.
std::string FileVersionTail();

struct TCivilDate {
  int Year = 0, Month = 0, Day = 0;
};
// Last-modification date of a file, in local time.
TCivilDate ExeFileDate(const std::filesystem::path& file);
// "Version 5.YY.M.D.BUILD" for a given date and file version.
std::string FormatVersionText(TCivilDate date, const std::string& fileVersion);

extern std::string VersionText;
// Builds VersionText from the running executable's date and FileVersion.
void BuildVersionStrings();
