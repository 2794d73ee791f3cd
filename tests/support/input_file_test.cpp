#include "support/input_file.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

namespace {

std::string ErrorOf(const std::string& fileName) {
  try {
    ReadWholeFile(fileName);
  } catch (const EFileError& error) {
    return error.what();
  }
  return "no error";
}

TEST(InputFile, ReadsARegularFileWhole) {
  const std::filesystem::path path = std::filesystem::temp_directory_path() / "cyclorn-input-file-test.txt";
  std::string content(200000, 'x');
  content[123456] = '\0';
  { std::ofstream(path, std::ios::binary) << content; }
  EXPECT_EQ(ReadWholeFile(path.string()), content);
  std::filesystem::remove(path);
}

TEST(InputFile, ReadsNoFurtherThanTheSizeItHadWhenOpened) {
  const std::filesystem::path path = std::filesystem::temp_directory_path() / "cyclorn-input-file-grows.txt";
  { std::ofstream(path, std::ios::binary) << "12345"; }
  TInputFile file(path.string());
  { std::ofstream(path, std::ios::binary | std::ios::app) << "67890"; }
  char buffer[16];
  EXPECT_EQ(file.Read(buffer, sizeof buffer) + file.Read(buffer, sizeof buffer), 5u);
  std::filesystem::remove(path);
}

TEST(InputFile, RefusesWhatIsNotARegularFileQuicklyAndNamesIt) {
  const std::filesystem::path fifo = std::filesystem::temp_directory_path() / "cyclorn-input-file-test.fifo";
  std::filesystem::remove(fifo);
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  const auto start = std::chrono::steady_clock::now();
  // A FIFO without a writer would block an open for reading.
  EXPECT_EQ(ErrorOf(fifo.string()), "Not a regular file (a pipe)");
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
  std::filesystem::remove(fifo);
  EXPECT_EQ(ErrorOf("/dev/zero"), "Not a regular file (a device)");
  EXPECT_EQ(ErrorOf(std::filesystem::temp_directory_path().string()), "Not a regular file (a folder)");
  EXPECT_EQ(ErrorOf("/nonexistent/cyclorn/file"), "File not found");
  EXPECT_EQ(ErrorOf(""), "Invalid filename");
}

}  // namespace
