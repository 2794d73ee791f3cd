// Runs cyclorn-cli on every hostile graph file: a refused file is named with
// its line and message on standard error and exit status 1, nothing on
// standard output; a file that loads runs the command; a save that cannot be
// written says why and leaves the old file.

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "tests/sources/hostile_cases.h"

namespace {

struct TCliRun {
  int status = -1;
  std::string out;
  std::string err;
};

std::string ReadAll(const std::string &path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

// Runs the program with arguments that hold no quote, capturing both streams;
// its standard input is /dev/null unless a shell command before it feeds it.
TCliRun RunCli(const std::string &arguments, const std::string &feed = "") {
  const std::string prefix =
      std::filesystem::temp_directory_path() /
      ("cyclorn-cli-hostile-" + std::to_string(::getpid()));
  const std::string command =
      (feed.empty() ? "" : feed + " | ") + "timeout 60 '" + CYCLORN_CLI_PATH +
      "' " + arguments + " >'" + prefix + ".out' 2>'" + prefix + ".err'" +
      (feed.empty() ? " </dev/null" : "");
  const int raw = std::system(command.c_str());
  TCliRun run;
  run.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
  run.out = ReadAll(prefix + ".out");
  run.err = ReadAll(prefix + ".err");
  std::filesystem::remove(prefix + ".out");
  std::filesystem::remove(prefix + ".err");
  return run;
}

TEST(CyclornCliHostileFiles,
     NamesTheFileLineAndMessageOfEveryRefusedFileWithStatusOne) {
  for (const THostileCase &c : kRefusedHostileFiles) {
    SCOPED_TRACE(c.file);
    const std::string file = HostileFile(c.file);
    const TCliRun run = RunCli("report sequence --load '" + file + "'");
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(run.err, "cyclorn-cli: " + file + ": line " +
                           std::to_string(c.line) + ": " + c.message + "\n");
  }
}

TEST(CyclornCliHostileFiles, RunsTheCommandOnEveryFileThatLoadsWarningOfAnEarlyEnd) {
  for (const TLoadedHostileCase &c : kLoadedHostileFiles) {
    SCOPED_TRACE(c.file);
    const std::string file = HostileFile(c.file);
    const TCliRun run = RunCli("loops --load '" + file + "'");
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.err, *c.warning == '\0' ? std::string()
                                            : "cyclorn-cli: " + file +
                                                  ": warning: " + c.warning +
                                                  "\n");
  }
}

TEST(CyclornCliHostileFiles, RefusesAFolderAndAFullDiskWithTheirMessages) {
  const std::string folder = CYCLORN_HOSTILE_FILES;
  const TCliRun load = RunCli("loops --load '" + folder + "'");
  EXPECT_EQ(load.status, 1);
  EXPECT_EQ(load.err,
            "cyclorn-cli: " + folder + ": Not a regular file (a folder)\n");
  const TCliRun save = RunCli("save --problem 6 -o /dev/full");
  EXPECT_EQ(save.status, 1);
  EXPECT_EQ(save.out, "");
  EXPECT_EQ(save.err, "cyclorn-cli: /dev/full: Disk full\n");
}

TEST(CyclornCliHostileFiles, RefusesAPipeAtOnce) {
  // A pipe has no size to hold a count to; the timeout ends a run that reads it.
  const TCliRun fromPipe = RunCli("save --load /dev/stdin -o /dev/null",
                                  "printf '16777216\\n0\\n'");
  EXPECT_EQ(fromPipe.status, 1);
  EXPECT_EQ(fromPipe.err,
            "cyclorn-cli: /dev/stdin: Not a regular file (a pipe)\n");
}

TEST(CyclornCliHostileFiles, RefusesADeviceAndAFifoWithoutAWriterAtOnce) {
  const std::string fifo = (std::filesystem::temp_directory_path() /
                            ("cyclorn-cli-fifo-" + std::to_string(::getpid())))
                               .string();
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  // Either would never end: /dev/zero reads forever, the FIFO blocks in open.
  const TCliRun zero = RunCli("loops --load /dev/zero");
  const TCliRun pipe = RunCli("loops --load '" + fifo + "'");
  std::filesystem::remove(fifo);
  EXPECT_EQ(zero.status, 1);
  EXPECT_EQ(zero.err, "cyclorn-cli: /dev/zero: Not a regular file (a device)\n");
  EXPECT_EQ(pipe.status, 1);
  EXPECT_EQ(pipe.err, "cyclorn-cli: " + fifo + ": Not a regular file (a pipe)\n");
}

} // namespace
