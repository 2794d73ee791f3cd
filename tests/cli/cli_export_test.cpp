// cyclorn-cli export as a process: the loop view in every format against
// golden files, the loop chosen, and pictures refused for their size with
// the limit in the message. CYCLORN_UPDATE_GOLDEN=1 writes the golden files
// anew from what the tool draws now; without it they are only compared.

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace {

std::string ReadFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

struct TRun {
  int status = -1;
  std::string err;
};

class CliExport : public ::testing::Test {
 protected:
  CliExport() {
    folder_ = std::filesystem::temp_directory_path() / ("cyclorn-export-" + std::to_string(::getpid()));
    std::filesystem::create_directories(folder_);
  }
  ~CliExport() override {
    std::error_code ignored;
    std::filesystem::remove_all(folder_, ignored);
  }
  std::string File(const std::string& name) const { return (folder_ / name).string(); }

  TRun Run(const std::string& args) const {
    const std::string command =
        std::string("'") + CYCLORN_CLI_PATH + "' " + args + " 2>'" + File("stderr") + "' >/dev/null </dev/null";
    const int raw = std::system(command.c_str());
    return {WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, ReadFile(folder_ / "stderr")};
  }

 private:
  std::filesystem::path folder_;
};

uint32_t U32At(const std::string& bytes, size_t at) {
  uint32_t value = 0;
  for (size_t i = 0; i < 4; ++i) value |= uint32_t{static_cast<uint8_t>(bytes[at + i])} << (8 * i);
  return value;
}

// The pens of colour 0x0000FF (red) an enhanced metafile creates.
int RedPens(const std::string& emf) {
  constexpr uint32_t kCreatePen = 38;
  int red = 0;
  for (size_t at = 0; at + 8 <= emf.size() && U32At(emf, at + 4) >= 8; at += U32At(emf, at + 4)) {
    if (U32At(emf, at) == kCreatePen && U32At(emf, at + 24) == 0x0000FF) ++red;
  }
  return red;
}

// The records of one type in an enhanced metafile.
int RecordsOfType(const std::string& emf, uint32_t type) {
  int count = 0;
  for (size_t at = 0; at + 8 <= emf.size() && U32At(emf, at + 4) >= 8; at += U32At(emf, at + 4)) {
    if (U32At(emf, at) == type) ++count;
  }
  return count;
}

std::vector<std::string> Formats() {
#ifdef CYCLORN_TEST_QT_PICTURES
  return {"emf", "wmf", "svg", "png"};
#else
  return {"emf", "wmf"};
#endif
}

TEST_F(CliExport, LoopViewOfGrid2MatchesItsGoldenFileInEveryFormat) {
#ifndef CYCLORN_TEST_QT_PICTURES
  GTEST_SKIP() << "without Qt label sizes are estimated, not measured as in the golden files";
#endif
  const std::filesystem::path golden = std::filesystem::path(std::getenv("CYCLORN_TEST_DATA")) / "golden";
  const bool update = std::getenv("CYCLORN_UPDATE_GOLDEN") != nullptr;
  for (const std::string& format : Formats()) {
    SCOPED_TRACE(format);
    const std::string name = "grid2-loop3." + format;
    const TRun run = Run("export --problem 2 --loop 3 -o '" + File(name) + "'");
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.err, "");  // not a word of Qt's own
    const std::string drawn = ReadFile(File(name));
    if (update) std::ofstream(golden / name, std::ios::binary) << drawn;
    EXPECT_TRUE(drawn == ReadFile(golden / name))
        << "differs from " << (golden / name).string() << "; CYCLORN_UPDATE_GOLDEN=1 writes it anew";
  }
}

TEST_F(CliExport, ChoosesTheLoopOnTopAndRefusesOneThatIsNotThere) {
  const TRun first = Run("export --problem 2 --loops -o '" + File("first.emf") + "'");
  const TRun chosen = Run("export --problem 2 --loops --loop 0 -o '" + File("chosen.emf") + "'");
  const TRun other = Run("export --problem 2 --loop 1 --method overlap -o '" + File("other.emf") + "'");
  const TRun graph = Run("export --problem 2 -o '" + File("graph.emf") + "'");
  ASSERT_EQ(first.status + chosen.status + other.status + graph.status, 0) << first.err << other.err;
  // --loops shows loop 0 on top, as the window does after "Find Loops".
  EXPECT_EQ(ReadFile(File("first.emf")), ReadFile(File("chosen.emf")));
  EXPECT_NE(ReadFile(File("first.emf")), ReadFile(File("other.emf")));
  // The loop colour, red, is a pen of the loop view only.
  EXPECT_EQ(RedPens(ReadFile(File("first.emf"))), 1);
  EXPECT_EQ(RedPens(ReadFile(File("graph.emf"))), 0);

  const TRun missing = Run("export --problem 2 --loop 10 -o '" + File("missing.emf") + "'");
  EXPECT_EQ(missing.status, 1);
  EXPECT_EQ(missing.err, "cyclorn-cli: --loop 10: there is no such loop, the loops are numbered 0 to 9\n");
  EXPECT_FALSE(std::filesystem::exists(File("missing.emf")));
  EXPECT_EQ(Run("export --problem 2 --loop -1 -o '" + File("missing.emf") + "'").status, 1);
  const TRun tree = Run("export --grid --rows 1 --loop 2 -o '" + File("missing.emf") + "'");
  EXPECT_EQ(tree.err, "cyclorn-cli: --loop 2: the network has no loops\n");
  EXPECT_EQ(Run("export --grid --rows 1 --loops -o '" + File("empty.emf") + "'").status, 0);
  EXPECT_EQ(Run("loops --problem 2 --loop 1").status, 2);
  EXPECT_EQ(Run("export --problem 2 --method overlap -o '" + File("graph.emf") + "'").status, 2);
}

TEST_F(CliExport, LabelsGoAtEveryStationAtJunctionsAndEndsOnlyOrNowhere) {
  constexpr uint32_t kExtTextOutW = 84;
  // A 4 x 3 grid: its four corners have two neighbours, the other eight three or four.
  const struct {
    const char* Labels;
    int Texts;
  } cases[] = {{"all", 12}, {"junctions", 8}, {"none", 0}};
  for (const auto& c : cases) {
    const std::string file = File(std::string(c.Labels) + ".emf");
    ASSERT_EQ(Run(std::string("export --grid --columns 4 --rows 3 --labels ") + c.Labels + " -o '" + file + "'").status,
              0);
    EXPECT_EQ(RecordsOfType(ReadFile(file), kExtTextOutW), c.Texts) << c.Labels;
  }
  // Without --labels the picture is the one every station labelled.
  ASSERT_EQ(Run("export --grid --columns 4 --rows 3 -o '" + File("default.emf") + "'").status, 0);
  EXPECT_EQ(ReadFile(File("default.emf")), ReadFile(File("all.emf")));
  const TRun bad = Run("export --grid --labels sideways -o '" + File("bad.emf") + "'");
  EXPECT_EQ(bad.status, 2);
  EXPECT_THAT(bad.err, testing::HasSubstr("--labels takes all, junctions or none, not \"sideways\""));
  EXPECT_EQ(Run("loops --grid --labels none").status, 2);
}

TEST_F(CliExport, ASurveysLoopsAreColouredByTheirMisclosureRatio) {
  // A 3 x 3 grid whose leg b2 - b3 reads 15 m instead of 10: two loops misclose by 5 m.
  {
    std::ofstream svx(File("grid.svx"));
    svx << "*begin g\na1 a2 10 090 0\na2 a3 10 090 0\nb1 b2 10 090 0\nb2 b3 15 090 0\nc1 c2 10 090 0\n"
           "c2 c3 10 090 0\na1 b1 10 180 0\nb1 c1 10 180 0\na2 b2 10 180 0\nb2 c2 10 180 0\na3 b3 10 180 0\n"
           "b3 c3 10 180 0\n*end g\n";
  }
  ASSERT_EQ(
      Run("export --load '" + File("grid.svx") + "' --loops --method minimal -o '" + File("grid.emf") + "'").status, 0);
  constexpr uint32_t kCreatePen = 38;
  int magenta = 0, green = 0;
  const std::string emf = ReadFile(File("grid.emf"));
  for (size_t at = 0; at + 8 <= emf.size() && U32At(emf, at + 4) >= 8; at += U32At(emf, at + 4)) {
    if (U32At(emf, at) != kCreatePen) continue;
    magenta += U32At(emf, at + 24) == 0xFF00FF ? 1 : 0;  // COLORREF 0x00BBGGRR
    green += U32At(emf, at + 24) == 0x00A000 ? 1 : 0;
  }
  EXPECT_GT(magenta, 0);
  EXPECT_GT(green, 0);
}

TEST_F(CliExport, RefusesPicturesTooLargeForTheirFormatQuicklyNamingTheLimit) {
  // 45 bytes: one shot out to (40000, 40000).
  std::ofstream(File("far.grf")) << "2\nA\n10 10 0\nB\n40000 40000 0\n1\n0 1\n";
  const struct {
    const char* name;
    const char* message;
  } cases[] = {
#ifdef CYCLORN_TEST_QT_PICTURES
      {"far.png", "A picture of 40025 x 40025 pixels does not fit a PNG file: at most 536870912 pixels (2 GB)"},
#endif
      {"far.wmf", "A picture of 40025 x 40025 pixels does not fit a Windows metafile: at most 32767 pixels a side"},
  };
  for (const auto& c : cases) {
    std::ofstream(File(c.name)) << "old";
    const TRun run = Run("export --load '" + File("far.grf") + "' -o '" + File(c.name) + "'");
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.err, "cyclorn-cli: " + File(c.name) + ": " + c.message + "\n");
    EXPECT_EQ(ReadFile(File(c.name)), "old");
  }
  // The same network as a picture that fits: the metafile holds one shot.
  EXPECT_EQ(Run("export --load '" + File("far.grf") + "' -o '" + File("far.emf") + "'").status, 0);
}

// Every writer of the tool, the graph file and each picture format, treats
// what it would replace alike: a read-only file is refused and kept, a
// private file stays private, a link is written through, a device in place.
TEST_F(CliExport, EveryWriterKeepsProtectedPrivateLinkedAndDeviceTargetsAsTheyAre) {
  const auto modeOf = [](const std::string& file) {
    struct stat info {};
    ::stat(file.c_str(), &info);
    return info.st_mode & 07777;
  };
  std::vector<std::string> extensions = Formats();
  extensions.push_back("grf");
  for (const std::string& extension : extensions) {
    SCOPED_TRACE(extension);
    const std::string command = extension == "grf" ? "save --problem 1 -o '" : "export --problem 1 -o '";
    const std::string kept = File("kept." + extension);
    std::ofstream(kept) << "protected";
    ::chmod(kept.c_str(), 0444);
    const TRun refused = Run(command + kept + "'");
    EXPECT_EQ(refused.status, 1);
    EXPECT_EQ(refused.err, "cyclorn-cli: " + kept + ": File access denied (read-only)\n");
    EXPECT_EQ(ReadFile(kept), "protected");

    const std::string secret = File("private." + extension);
    std::ofstream(secret) << "secret";
    ::chmod(secret.c_str(), 0600);
    EXPECT_EQ(Run(command + secret + "'").status, 0);
    EXPECT_NE(ReadFile(secret), "secret");
    EXPECT_EQ(modeOf(secret), 0600u);

    const std::string real = File("real." + extension);
    const std::string link = File("link." + extension);
    std::ofstream(real) << "old";
    std::filesystem::create_symlink(real, link);
    EXPECT_EQ(Run(command + link + "'").status, 0);
    EXPECT_TRUE(std::filesystem::is_symlink(link));
    EXPECT_NE(ReadFile(real), "old");

    const std::string device = File("device." + extension);
    std::filesystem::create_symlink("/dev/null", device);
    EXPECT_EQ(Run(command + device + "'").status, 0);
    EXPECT_TRUE(std::filesystem::is_character_file("/dev/null"));
  }
}

}  // namespace
