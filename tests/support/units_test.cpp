#include "support/units.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "support/ini_file.h"

namespace {

class UnitsSetting : public ::testing::Test {
 protected:
  void SetUp() override {
    folder_ = std::filesystem::temp_directory_path() /
              ("cyclorn-units-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "-" +
               ::testing::UnitTest::GetInstance()->current_test_info()->name());
    std::filesystem::create_directories(folder_);
    SetFootToMeter(false);
  }
  void TearDown() override { std::filesystem::remove_all(folder_); }
  std::filesystem::path Write(const std::string& text) {
    const auto file = folder_ / "Vesk32.ini";
    std::ofstream(file) << text;
    return file;
  }
  std::filesystem::path folder_;
};

TEST_F(UnitsSetting, MissingFileGivesTheInternationalFoot) {
  ReadUnitsSettingFrom(folder_ / "absent.ini");
  EXPECT_EQ(FootToMeter, 0.3048);
  EXPECT_EQ(MeterToFoot, 1 / 0.3048);
}

TEST_F(UnitsSetting, APipeOrADeviceGivesTheInternationalFootWithoutBeingRead) {
  ASSERT_EQ(::mkfifo((folder_ / "fifo.ini").c_str(), 0600), 0);
  ::alarm(60);  // opening a FIFO without a writer would block, /dev/zero never ends
  ReadUnitsSettingFrom(folder_ / "fifo.ini");
  ReadUnitsSettingFrom("/dev/zero");
  ::alarm(0);
  EXPECT_EQ(FootToMeter, 0.3048);
}

TEST_F(UnitsSetting, ZeroChoosesTheUsSurveyFoot) {
  ReadUnitsSettingFrom(Write("[Units]\r\nInternationalFoot=0\r\n"));
  EXPECT_EQ(FootToMeter, 0.304800609601);
  EXPECT_EQ(MeterToFoot, 1 / 0.304800609601);
}

TEST_F(UnitsSetting, AnyOtherIntegerOrNoIntegerIsTrue) {
  ReadUnitsSettingFrom(Write("[units]\ninternationalfoot = -3\n"));
  EXPECT_EQ(FootToMeter, 0.3048);
  SetFootToMeter(false);
  ReadUnitsSettingFrom(Write("[Units]\nInternationalFoot=no\n"));
  EXPECT_EQ(FootToMeter, 0.3048);
  SetFootToMeter(false);
  ReadUnitsSettingFrom(Write("[Other]\nInternationalFoot=0\n"));
  EXPECT_EQ(FootToMeter, 0.3048);
}

TEST_F(UnitsSetting, ReadsFromTheConfigurationFolder) {
  Write("[Units]\nInternationalFoot=0\n");
  const char* old = std::getenv("XDG_CONFIG_HOME");
  const std::string saved = old ? old : "";
  setenv("XDG_CONFIG_HOME", folder_.c_str(), 1);
  ReadUnitsSetting();
  if (old)
    setenv("XDG_CONFIG_HOME", saved.c_str(), 1);
  else
    unsetenv("XDG_CONFIG_HOME");
  EXPECT_EQ(FootToMeter, 0.304800609601);
}

}  // namespace
