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
    {"count-eleven-digits.grf", "Invalid numeric input", 1},
    {"count-leading-zeros.grf", "Station count 16777217 is above 16777216", 1},
    {"name-13.grf", "Station name longer than 12 characters", 4},
    {"binary.grf", "Invalid numeric input", 1},
    {"comma.grf", "Invalid numeric input", 5},
    {"coordinate-1e309.grf", "Invalid numeric input", 5},
    {"coordinate-nan.grf", "Invalid numeric input", 3},
    {"coordinate-inf.grf", "Invalid numeric input", 3},
    {"edge-end-at-count.grf", "Edge end 2 is not below the station count 2", 8},
    {"edge-end-far.grf", "Edge end 2147483647 is not below the station count 2", 7},
    {"edge-end-eleven-digits.grf", "Invalid numeric input", 7},
};

// The hostile files that load, each as a network of this many stations.
struct TLoadedHostileCase {
  const char* file;
  int stations;
};

inline constexpr TLoadedHostileCase kLoadedHostileFiles[] = {
    {"empty.grf", 0},         {"count-zero.grf", 0},        {"count-minus-one.grf", 0},
    {"only-count.grf", 3},    {"name-12.grf", 1},           {"nul-byte.grf", 2},
    {"cr-without-lf.grf", 2}, {"coordinates-1e308.grf", 2}, {"edge-one-number.grf", 2},
};

// The path of a hostile file, from the folder CYCLORN_HOSTILE_FILES names.
inline std::string HostileFile(const std::string& name) { return std::string(CYCLORN_HOSTILE_FILES) + "/" + name; }
