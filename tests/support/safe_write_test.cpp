#include "support/safe_write.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "support/file_errors.h"

namespace {

using ::testing::ElementsAre;

class SafeWrite : public ::testing::Test {
 protected:
  void SetUp() override {
    folder_ = std::filesystem::temp_directory_path() /
              ("cyclorn-safe-write-" + std::to_string(::getpid()) + "-" +
               ::testing::UnitTest::GetInstance()->current_test_info()->name());
    std::filesystem::remove_all(folder_);
    std::filesystem::create_directories(folder_);
  }
  void TearDown() override {
    std::filesystem::permissions(folder_, std::filesystem::perms::owner_all, std::filesystem::perm_options::add);
    std::filesystem::remove_all(folder_);
  }
  std::string File(const std::string& name) const { return (folder_ / name).string(); }
  static void Put(const std::string& file, const std::string& text) { std::ofstream(file, std::ios::binary) << text; }
  static std::string Read(const std::string& file) {
    std::ifstream in(file, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
  }
  std::vector<std::string> Entries() const {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder_)) names.push_back(entry.path().filename());
    std::sort(names.begin(), names.end());
    return names;
  }
  // The reason a write is refused, or "" when it succeeds.
  static std::string Refusal(const std::string& file, const std::string& text) {
    try {
      WriteFileSafely(file, text);
    } catch (const EFileError& error) {
      EXPECT_EQ(error.FileName(), file);
      return error.what();
    }
    return "";
  }
  static mode_t ModeOf(const std::string& file) {
    struct stat info {};
    ::stat(file.c_str(), &info);
    return info.st_mode & 07777;
  }

  std::filesystem::path folder_;
};

TEST_F(SafeWrite, AFailedWriteLeavesTheOldFileWholeAndNoNewFile) {
  Put(File("net.grf"), "old contents");
  {
    TSafeFile file(File("net.grf"));
    file.Write("half of the new ");
    // Leaving without Commit, as an error half way through does.
  }
  EXPECT_EQ(Read(File("net.grf")), "old contents");
  EXPECT_THAT(Entries(), ElementsAre("net.grf"));
  WriteFileSafely(File("net.grf"), "new contents");
  EXPECT_EQ(Read(File("net.grf")), "new contents");
  EXPECT_THAT(Entries(), ElementsAre("net.grf"));
}

TEST_F(SafeWrite, KeepsProtectedAndPrivateFilesAsTheUserMadeThem) {
  // A read-only file is refused, also for root, and stays as it was.
  Put(File("kept.svg"), "protected");
  ::chmod(File("kept.svg").c_str(), 0444);
  EXPECT_EQ(Refusal(File("kept.svg"), "new"), "File access denied (read-only)");
  EXPECT_EQ(Read(File("kept.svg")), "protected");
  EXPECT_EQ(ModeOf(File("kept.svg")), 0444u);
  // A private file stays private.
  Put(File("private.png"), "secret");
  ::chmod(File("private.png").c_str(), 0600);
  EXPECT_EQ(Refusal(File("private.png"), "new"), "");
  EXPECT_EQ(Read(File("private.png")), "new");
  EXPECT_EQ(ModeOf(File("private.png")), 0600u);
  EXPECT_THAT(Entries(), ElementsAre("kept.svg", "private.png"));
}

TEST_F(SafeWrite, WritesThroughLinksAndNeverReplacesWhatIsNotARegularFile) {
  Put(File("real.emf"), "old");
  std::filesystem::create_symlink("real.emf", File("link.emf"));
  std::filesystem::create_symlink("link.emf", File("chain.emf"));
  std::filesystem::create_symlink("made.emf", File("dangling.emf"));
  EXPECT_EQ(Refusal(File("chain.emf"), "through two links"), "");
  EXPECT_EQ(Refusal(File("dangling.emf"), "made where the link points"), "");
  EXPECT_TRUE(std::filesystem::is_symlink(File("chain.emf")));
  EXPECT_TRUE(std::filesystem::is_symlink(File("dangling.emf")));
  EXPECT_EQ(Read(File("real.emf")), "through two links");
  EXPECT_EQ(Read(File("made.emf")), "made where the link points");

  // A device is written in place and stays a device.
  EXPECT_EQ(Refusal("/dev/null", "gone"), "");
  EXPECT_TRUE(std::filesystem::is_character_file("/dev/null"));
  EXPECT_EQ(Refusal("/dev/full", "too much"), "Disk full");
  // A pipe without a reader refuses at once rather than blocking.
  ASSERT_EQ(::mkfifo(File("pipe.svg").c_str(), 0600), 0);
  EXPECT_EQ(Refusal(File("pipe.svg"), "x"), "A pipe that no program reads");
  EXPECT_TRUE(std::filesystem::is_fifo(File("pipe.svg")));
  // A folder and a socket are refused and stay.
  std::filesystem::create_directory(File("folder.png"));
  EXPECT_EQ(Refusal(File("folder.png"), "x"), "File access denied");
  const int socket = ::socket(AF_UNIX, SOCK_STREAM, 0);
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  const std::string socketName = File("socket.wmf");
  if (socket >= 0 && socketName.size() < sizeof address.sun_path) {
    socketName.copy(address.sun_path, socketName.size());
    ASSERT_EQ(::bind(socket, reinterpret_cast<const sockaddr*>(&address), sizeof address), 0);
    EXPECT_EQ(Refusal(socketName, "x"), "Not a regular file (a socket)");
    EXPECT_TRUE(std::filesystem::is_socket(socketName));
  }
  if (socket >= 0) ::close(socket);
  EXPECT_EQ(Refusal(File("missing/net.grf"), "x"), "File not found");
  EXPECT_EQ(Refusal("", "x"), "Invalid filename");
}

}  // namespace
