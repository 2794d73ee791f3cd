#include "tests/surveys/survex_tools.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>

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
      Run("LANG=C cavern -s" + versionOption + " -o '" + result.File + "' '" + svxFile + "' 2>&1", ok);
  EXPECT_TRUE(ok) << out;
  // "Survey contains N survey stations, joined by M legs." and "There are L loops."
  const auto numberAfter = [&out](const std::string& words) {
    const size_t at = out.find(words);
    return at == std::string::npos ? -1 : std::atoi(out.c_str() + at + words.size());
  };
  result.Stations = numberAfter("Survey contains ");
  result.Legs = numberAfter(" survey stations, joined by ");
  result.Loops = std::max(numberAfter("There is "), numberAfter("There are "));
  return result;
}

std::string DumpPosition(double x, double y, double z) {
  char text[100];
  std::snprintf(text, sizeof text, "%.2f %.2f %.2f", x, y, z);
  return text;
}

TDump Dump3d(const std::string& file) {
  bool ok = false;
  const std::string out = Run("LANG=C dump3d '" + file + "'", ok);
  EXPECT_TRUE(ok) << out;
  TDump dump;
  std::istringstream lines(out);
  std::string line;
  std::string at;
  // "KIND x y z [label] WORDS..."
  while (std::getline(lines, line)) {
    if (line.rfind("ERROR_INFO", 0) == 0) ++dump.ErrorInfos;
    std::istringstream fields(line);
    std::string kind, x, y, z;
    if (!(fields >> kind >> x >> y >> z) || (kind != "MOVE" && kind != "LINE" && kind != "NODE")) continue;
    const std::string position = x + " " + y + " " + z;
    std::string rest;
    std::getline(fields, rest);
    std::string label;
    const size_t open = rest.find(" [");
    const size_t close = rest.find(']');
    if (open == 0 && close != std::string::npos) {
      label = rest.substr(2, close - 2);
      rest = rest.substr(close + 1);
    }
    std::vector<std::string> words;
    std::istringstream rests(rest);
    for (std::string word; rests >> word;) {
      if (word.find('=') == std::string::npos && !std::isdigit(static_cast<unsigned char>(word[0])))
        words.push_back(word);
    }
    if (kind == "MOVE") {
      at = position;
    } else if (kind == "LINE") {
      if (position == at) {
        ++dump.ZeroLengthLegs;
      } else {
        dump.Legs.push_back({at, position, label, Sorted(words)});
      }
      at = position;
    } else {
      TDumpStation& station = dump.Stations[position];
      if (!label.empty()) station.Names.push_back(label);
      station.Names = Sorted(station.Names);
      words.insert(words.end(), station.Flags.begin(), station.Flags.end());
      station.Flags = Sorted(words);
    }
  }
  std::sort(dump.Legs.begin(), dump.Legs.end());
  return dump;
}
