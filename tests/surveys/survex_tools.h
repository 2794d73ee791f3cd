#pragma once
// Runs Survex's own tools for the tests: cavern makes real .3d files from
// .svx text the tests write, and dump3d says what such a file holds, so that
// the reader is checked against Survex itself.

#include <map>
#include <string>
#include <tuple>
#include <vector>

// True when cavern and dump3d can be run.
bool HaveSurvexTools();

struct TCavernResult {
  std::string File;  // the .3d file made
  // From cavern's report: "Survey contains N survey stations, joined by M
  // legs." and "There are L loops." (cavern counts each name of equated
  // stations as a station, and each *equate as a leg).
  int Stations = -1;
  int Legs = -1;
  int Loops = -1;
};

// Writes svx as <dir>/<name>.svx and runs cavern on it, writing the given
// .3d version (0: cavern's default); fails the test when cavern does.
TCavernResult RunCavern(const std::string& dir, const std::string& name, const std::string& svx, int version = 0);

// What dump3d prints of a file. Positions are the text dump3d gives
// ("1000.00 2000.00 300.00"), flags its words.
struct TDumpLeg {
  std::string From, To, Survey;
  std::vector<std::string> Flags;  // SURFACE, DUPLICATE, SPLAY
  friend bool operator<(const TDumpLeg& a, const TDumpLeg& b) {
    return std::tie(a.From, a.To, a.Survey, a.Flags) < std::tie(b.From, b.To, b.Survey, b.Flags);
  }
  friend bool operator==(const TDumpLeg&, const TDumpLeg&) = default;
};
struct TDumpStation {
  std::vector<std::string> Names;  // sorted, without repeats
  std::vector<std::string> Flags;  // sorted, without repeats
  friend bool operator==(const TDumpStation&, const TDumpStation&) = default;
};
struct TDump {
  std::map<std::string, TDumpStation> Stations;  // by position
  std::vector<TDumpLeg> Legs;                    // sorted
  int ZeroLengthLegs = 0;
  int ErrorInfos = 0;
};

TDump Dump3d(const std::string& file);

// A position in metres as dump3d prints it.
std::string DumpPosition(double x, double y, double z);
