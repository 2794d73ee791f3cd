#include "support/version_info.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

TEST(VersionInfo, TenStringsFromTheProjectVersion) {
  TVersionInfo info;
  EXPECT_EQ(info.ProductName(), "Cyclorn");
  EXPECT_EQ(info.InternalName(), "Cyclorn");
  EXPECT_EQ(info.LegalTradeMark(), "");
  const std::string version = info.FileVersion();
  EXPECT_EQ(std::count(version.begin(), version.end(), '.'), 3) << version;
  EXPECT_EQ(version.rfind(info.ProductVersion() + ".", 0), 0u) << version;
}

TEST(VersionInfo, TailIsTheBuildNumber) {
  EXPECT_EQ(VersionTail("1.2.3.45"), "45");
  EXPECT_EQ(VersionTail(""), "");
  EXPECT_EQ(VersionTail("7"), "7");
  EXPECT_EQ(VersionTail("1.2.3."), "");
}

TEST(VersionInfo, TextOfTheWorkedDate) {
  EXPECT_EQ(FormatVersionText({2004, 6, 15}, ""), "Version 5.04.6.15.");
  EXPECT_EQ(FormatVersionText({2026, 12, 8}, "1.0.0.17"), "Version 5.26.12.8.17");
}

TEST(VersionInfo, BuildsTheTextOfTheRunningProgram) {
  BuildVersionStrings();
  EXPECT_EQ(VersionText.rfind("Version 5.", 0), 0u) << VersionText;
  EXPECT_EQ(VersionText.substr(VersionText.rfind('.') + 1), FileVersionTail());
}

}  // namespace
