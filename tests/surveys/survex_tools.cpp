#include "tests/surveys/survex_tools.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <regex>
#include <sstream>
#include <tuple>

namespace {

// Standard output of a command, and whether it exited with 0.
std::string Run(const std::string& command, bool& ok) {
  std::string out;
  FILE* pipe = ::popen(command.c_str(), "r");
  if (pipe == nullptr) {
    ok = false;
    return out;
  }
  char buffer[4096];
  for (size_t got; (got = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) out.append(buffer, got);
  ok = ::pclose(pipe) == 0;
  return out;
}

std::vector<std::string> Sorted(std::vector<std::string> words) {
  std::sort(words.begin(), words.end());
  words.erase(std::unique(words.begin(), words.end()), words.end());
  return words;
}

}  // namespace

bool HaveSurvexTools() {
  bool cavern = false;
  bool dump3d = false;
  Run("cavern --version 2>/dev/null", cavern);
  Run("dump3d --version 2>/dev/null", dump3d);
  return cavern && dump3d;
}

TCavernResult RunCavern(const std::string& dir, const std::string& name, const std::string& svx, int version) {
  const std::string svxFile = dir + "/" + name + ".svx";
  std::ofstream(svxFile) << svx;
  TCavernResult result;
  result.File = dir + "/" + name + ".3d";
  const std::string versionOption = version > 0 ? " -v " + std::to_string(version) : "";
  bool ok = false;
  const std::string out =
      Run("cavern -s" + versionOption + " -o '" + result.File + "' '" + svxFile + "' 2>&1", ok);
  EXPECT_TRUE(ok) << out;
  std::smatch m;
  if (std::regex_search(out, m, std::regex(R"(Survey contains (\d+) survey stations?, joined by (\d+) legs?)"))) {
    result.Stations = std::stoi(m[1]);
    result.Legs = std::stoi(m[2]);
  }
  if (std::regex_search(out, m, std::regex(R"(There (?:is|are) (\d+) loops?)"))) result.Loops = std::stoi(m[1]);
  return result;
}

std::string DumpPosition(double x, double y, double z) {
  char text[100];
  std::snprintf(text, sizeof text, "%.2f %.2f %.2f", x, y, z);
  return text;
}

TDump Dump3d(const std::string& file) {
  bool ok = false;
  const std::string out = Run("dump3d '" + file + "'", ok);
  EXPECT_TRUE(ok) << out;
  TDump dump;
  std::istringstream lines(out);
  std::string line;
  std::string at;
  // "KIND x y z [label] WORDS..."
  const std::regex item(R"(^(MOVE|LINE|NODE) (\S+ \S+ \S+)(?: \[([^\]]*)\])?(.*)$)");
  while (std::getline(lines, line)) {
    if (line.rfind("ERROR_INFO", 0) == 0) ++dump.ErrorInfos;
    std::smatch m;
    if (!std::regex_match(line, m, item)) continue;
    std::vector<std::string> words;
    std::istringstream rest(m[4].str());
    for (std::string word; rest >> word;) {
      if (word.find('=') == std::string::npos && !std::isdigit(static_cast<unsigned char>(word[0]))) words.push_back(word);
    }
    if (m[1] == "MOVE") {
      at = m[2];
    } else if (m[1] == "LINE") {
      if (m[2] == at) {
        ++dump.ZeroLengthLegs;
      } else {
        dump.Legs.push_back({at, m[2], m[3], Sorted(words)});
      }
      at = m[2];
    } else {
      TDumpStation& station = dump.Stations[m[2]];
      if (!m[3].str().empty()) station.Names.push_back(m[3]);
      station.Names = Sorted(station.Names);
      words.insert(words.end(), station.Flags.begin(), station.Flags.end());
      station.Flags = Sorted(words);
    }
  }
  std::sort(dump.Legs.begin(), dump.Legs.end());
  return dump;
}
