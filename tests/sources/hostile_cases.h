#pragma once
// The hostile graph files of tests/sources/hostile that a load refuses, with
// the message and line it must name. Shared by the library and program tests.

#include <string>

struct THostileCase {
  const char* file;
  const char* message;
  int line;
};

inline constexpr THostileCase kRefusedHostileFiles[] = {
    {"count-int-max.grf", "Station count 2147483647 is above 16777216", 1},
    {"count-eleven-digits.grf", "Station count 99999999999 is above 16777216", 1},
    {"count-leading-zeros.grf", "Station count 16777217 is above 16777216", 1},
    {"name-13.grf", "Station name longer than 12 bytes", 4},
    {"binary.grf", "Invalid numeric input", 1},
    {"comma.grf", "Invalid numeric input", 5},
    {"coordinate-1e309.grf", "Invalid numeric input", 5},
    {"coordinate-nan.grf", "Invalid numeric input", 3},
    {"coordinate-inf.grf", "Invalid numeric input", 3},
    {"edge-end-at-count.grf", "Edge end 2 is not below the station count 2", 8},
    {"edge-end-far.grf", "Edge end 2147483647 is not below the station count 2", 7},
    {"edge-end-eleven-digits.grf", "Invalid numeric input", 7},
};

// The hostile files that load, each as a network of this many stations,
// with the warning of a file that ended early ("" when it held everything).
struct TLoadedHostileCase {
  const char* file;
  int stations;
  const char* warning;
};

inline constexpr TLoadedHostileCase kLoadedHostileFiles[] = {
    {"empty.grf", 0, "File ends early: 0 stations and 0 shots padded from line 1 on, station and edge counts missing"},
    {"count-zero.grf", 0, ""},
    {"count-minus-one.grf", 0, ""},
    {"only-count.grf", 3, "File ends early: 3 stations and 0 shots padded from line 2 on, edge count missing"},
    {"name-12.grf", 1, ""},
    {"nul-byte.grf", 2, ""},
    {"cr-without-lf.grf", 2, ""},
    {"coordinates-1e308.grf", 2, ""},
    {"edge-one-number.grf", 2, "File ends early: 0 stations and 1 shot padded from line 7 on"},
};

// The path of a hostile file, from the folder CYCLORN_HOSTILE_FILES names.
inline std::string HostileFile(const std::string& name) { return std::string(CYCLORN_HOSTILE_FILES) + "/" + name; }
