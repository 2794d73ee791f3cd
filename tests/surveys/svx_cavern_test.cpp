// The reader against cavern, Survex's own processor: on the same files the
// same stations, legs and loops, and on a survey without loops (where cavern
// adjusts nothing) the same station positions.

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "surveys/survey_network.h"
#include "surveys/svx_reader.h"

namespace {

namespace fs = std::filesystem;

// A folder of its own for one test, removed afterwards.
class TTempFolder {
 public:
  TTempFolder() {
    char pattern[] = "/tmp/cyclorn-svx-XXXXXX";
    path_ = ::mkdtemp(pattern);
  }
  ~TTempFolder() { fs::remove_all(path_); }
  TTempFolder(const TTempFolder&) = delete;
  TTempFolder& operator=(const TTempFolder&) = delete;
  std::string File(const std::string& name, const std::string& text) const {
    const std::string path = path_ + "/" + name;
    fs::create_directories(fs::path(path).parent_path());
    std::ofstream(path, std::ios::binary) << text;
    return path;
  }
  const std::string& Path() const { return path_; }

 private:
  std::string path_;
};

std::string Run(const std::string& command) {
  std::string out;
  FILE* pipe = ::popen(command.c_str(), "r");
  if (pipe == nullptr) return out;
  char buffer[4096];
  size_t got = 0;
  while ((got = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) out.append(buffer, got);
  ::pclose(pipe);
  return out;
}

// Survex is among the packages the set-up installs; without it these tests fail rather than pass unseen.
bool HaveCavern() { return Run("command -v cavern && command -v dump3d").find("dump3d") != std::string::npos; }

struct TCavernCounts {
  int Stations = -1, Legs = -1, Loops = -1;
};

// The number after the first `key` in text, or -1.
int NumberAfter(const std::string& text, const std::string& key) {
  const size_t at = text.find(key);
  return at == std::string::npos ? -1 : std::atoi(text.c_str() + at + key.size());
}

// Runs cavern on the file and reads its statistics; the .3d goes beside it.
TCavernCounts CavernCounts(const std::string& svx, const std::string& folder) {
  const std::string out = Run("cd '" + folder + "' && LANG=C cavern -s '" + svx + "' 2>&1");
  TCavernCounts counts;
  counts.Stations = NumberAfter(out, "Survey contains ");
  counts.Legs = NumberAfter(out, "survey stations, joined by ");
  counts.Loops = std::max(NumberAfter(out, "There are "), NumberAfter(out, "There is "));
  return counts;
}

// Station positions in the .3d file, by name, as dump3d prints them (to the cm):
// NODE x y z [name] flags...
std::map<std::string, Vec3> CavernPositions(const std::string& file3d) {
  std::map<std::string, Vec3> positions;
  std::istringstream out(Run("dump3d '" + file3d + "' 2>&1"));
  for (std::string line; std::getline(out, line);) {
    Vec3 p;
    const size_t open = line.find('['), close = line.find(']');
    if (line.rfind("NODE ", 0) != 0 || close == std::string::npos ||
        std::sscanf(line.c_str(), "NODE %lf %lf %lf", &p.X, &p.Y, &p.Z) != 3)
      continue;
    positions[line.substr(open + 1, close - open - 1)] = p;
  }
  return positions;
}

// Independent loops: legs - stations + connected pieces, over the stations legs touch.
int CycleRank(const TSurvey& survey) {
  std::vector<int32_t> parent(static_cast<size_t>(survey.StationCount()));
  for (size_t i = 0; i < parent.size(); ++i) parent[i] = static_cast<int32_t>(i);
  auto root = [&](int32_t s) {
    while (parent[static_cast<size_t>(s)] != s) s = parent[static_cast<size_t>(s)];
    return s;
  };
  int rank = 0;
  for (const TSurveyLeg& leg : survey.Legs) {
    const int32_t a = root(leg.From), b = root(leg.To);
    if (a == b)
      ++rank;
    else
      parent[static_cast<size_t>(a)] = b;
  }
  return rank;
}

// Data using most of what the reader reads, with loops through splay-free
// legs of several styles, equates and an included file.
const char* const kLoopedSurvey = R"(*title "Test cave"
*fix entrance 1000 2000 300
*equate entrance cave.1
*begin cave
*export 1 8 9
*data normal from to tape compass clino backtape backcompass backclino
1 2 10.00 45 -5 10.02 226 5.5
2 3 7.5 120 - - 301 -
3 4 4.25 - down - - up
4 5 3 200 10 - - -
5 1 9 320 3 - - -
*units tape feet
*calibrate compass 1.5
5 6 20 90 0 - - -
6 7 15 92 -2 - - -
7 . 2 10 5 - - -
7 .. 1.5 190 -10 - - -
*include EXTRA
*end cave
*begin side
*export 1 3
*data cartesian from to easting northing altitude
1 2 3.5 -2 1
2 3 -1 4 0.5
*end side
*equate side.1 cave.9
*equate side.3 cave.8
)";

const char* const kExtra = R"(*data diving from to tape compass fromdepth todepth
7 8 6 30 -2 -3
*data normal from to tape compass clino
8 9 5 300 10
9 7 7 180 -4
)";

TEST(SvxAgainstCavern, CountsTheSameStationsLegsAndLoops) {
  ASSERT_TRUE(HaveCavern()) << "cavern and dump3d (Debian package survex) are needed";
  TTempFolder folder;
  const std::string top = folder.File("cave.svx", kLoopedSurvey);
  folder.File("extra.svx", kExtra);
  const TSurvey survey = ReadSvxFile(top);
  const TCavernCounts cavern = CavernCounts(top, folder.Path());
  // cavern counts every name as a station and every equate that joins two as a leg.
  int anonymous = 0;
  for (const uint8_t flags : survey.StationFlags) anonymous += (flags & sfAnonymous) ? 1 : 0;
  const int names = survey.TotalNames() + anonymous;
  EXPECT_EQ(cavern.Stations, names);
  EXPECT_EQ(cavern.Legs, survey.LegCount() + names - survey.StationCount());
  EXPECT_EQ(cavern.Loops, CycleRank(survey));
  EXPECT_EQ(CycleRank(survey), 3);

  // The same survey opens as a network: every leg but the two splays is a shot.
  TSurveyGraph graph;
  const TSurveyNetwork network = BuildSurveyNetwork(survey, TLegChoice{}, graph);
  EXPECT_EQ(network.SplaysLeftOut, 2);
  EXPECT_EQ(graph.Edges.Count(), survey.LegCount() - 2);
  EXPECT_EQ(graph.StationCount(), survey.StationCount() - 2);
  EXPECT_EQ(graph.Names.GetName(network.NodeOfStation[static_cast<size_t>(survey.Fixes[0].Station)]), "entrance");
}

// A tree of legs (nothing for cavern to adjust) in many styles and units.
const char* const kTreeSurvey = R"(*fix a.0 reference 500 600 70
*begin a
*export 0 11
*data normal from to tape compass clino backtape backcompass backclino
0 1 12.5 33 -12 12.6 214 11
1 2 8 - - - 95 -2.5
2 3 6 - up - - down
3 4 4.5 120 level - - -
*data normal from to compass clino tape
*units tape yards
*units compass grads
*calibrate clino 1.5
4 5 150 10 5
*units default
*calibrate default
*declination 2.5 degrees
5 6 77 -40 3.3
*units clino percent
6 7 280 -25 9
*units clino degrees
*units compass quadrants
7 8 S20W -3 4
*units compass degrees
*calibrate tape 0.2 metres 1.01
8 9 10 20 6
*calibrate default
*declination 0 degrees
8 .. 0 0 2
*data diving from to tape compass depthchange
9 10 10 45 -6
*data cartesian from to northing easting altitude
10 11 -3 4 -1
*end a
*equate a.11 b.0
*begin b
*export 0
*infer plumbs on
0 1 5 - 90
1 2 5 200 -30
*end b
)";

TEST(SvxAgainstCavern, PlacesATreeLikeCavern) {
  ASSERT_TRUE(HaveCavern()) << "cavern and dump3d (Debian package survex) are needed";
  TTempFolder folder;
  const std::string top = folder.File("tree.svx", kTreeSurvey);
  const TSurvey survey = ReadSvxFile(top);
  ASSERT_EQ(CavernCounts(top, folder.Path()).Loops, 0);
  const std::map<std::string, Vec3> cavern = CavernPositions(folder.Path() + "/tree.3d");
  int compared = 0;
  for (int32_t s = 0; s < survey.StationCount(); ++s) {
    for (int32_t k = 0; k < survey.NameCount(s); ++k) {
      const std::string name(survey.Name(s, k));
      SCOPED_TRACE(name);
      const auto found = cavern.find(name);
      ASSERT_NE(found, cavern.end());
      const Vec3 p = survey.Positions[static_cast<size_t>(s)];
      EXPECT_NEAR(p.X, found->second.X, 0.0051);
      EXPECT_NEAR(p.Y, found->second.Y, 0.0051);
      EXPECT_NEAR(p.Z, found->second.Z, 0.0051);
      ++compared;
    }
  }
  EXPECT_EQ(compared, 15);
  EXPECT_EQ(survey.Notes.UnfixedPieces, 0);
}

}  // namespace
