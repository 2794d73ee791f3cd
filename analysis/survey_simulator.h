#pragma once
// Simulated surveys for tests and benchmarks: a grid or a cave-like network
// of stations with true positions, the readings a surveyor would take along
// its legs with Gaussian noise, a chosen number of planted blunders, and the
// .svx file that records them. Every random draw comes from one
// std::mt19937_64 started from the seed, through the simulator's own
// uniform and normal transforms, so a seed gives the same survey with any
// standard library.

#include <cstdint>
#include <ostream>
#include <string>
#include <vector>

#include "analysis/reading_fit.h"
#include "core/vector3.h"
#include "surveys/survey.h"

enum class TSimulatedShape : uint8_t {
  Grid,  // Columns x Rows stations, Spacing apart, each joined to its east and north neighbours
  Cave,  // traverses of a few legs from random stations, some ending on a nearby station (a loop)
};

// Bits of TSimulationOptions::BlunderKinds, one per TBlunderKind.
inline constexpr uint8_t BlunderKindBit(TBlunderKind kind) {
  return static_cast<uint8_t>(1u << static_cast<unsigned>(kind));
}

struct TSimulationOptions {
  TSimulatedShape Shape = TSimulatedShape::Grid;
  int32_t Columns = 10, Rows = 10;  // grid: stations across and up
  double Spacing = 10;              // metres: grid spacing; the cave's mean leg length
  int32_t ThinPercent = 0;          // grid: legs left out at random, in percent, never splitting the grid
  int32_t Legs = 1000;              // cave: legs to make
  int32_t ClosePercent = 40;        // cave: traverses that end on a station within 2 x Spacing, in percent
  double TapeSd = 0.05, CompassSd = 1, ClinoSd = 1;  // metres, degrees; written as *sd lines
  int32_t Blunders = 0;                              // planted in as many different legs
  // Kinds to draw from: tape 1-5 m, compass 10-30 degrees, clino 10-30
  // degrees (each either sign), or the leg written with From and To swapped.
  uint8_t BlunderKinds = BlunderKindBit(TBlunderKind::Tape) | BlunderKindBit(TBlunderKind::Compass) |
                         BlunderKindBit(TBlunderKind::Reversed);
  uint64_t Seed = 1;
  std::string Name = "sim";  // the survey's name: stations are Name.r<row>c<column> (grid) or Name.s<k> (cave)
};

struct TSimulatedLeg {
  int32_t From = 0, To = 0;                 // stations, as written (swapped for a reversed leg)
  double Tape = 0, Compass = 0, Clino = 0;  // as written: metres, degrees
  int32_t Line = 0;                         // line in the .svx
};

struct TPlantedBlunder {
  int32_t Leg = 0;
  TBlunderKind Kind = TBlunderKind::Tape;
  // Recorded minus true reading: metres or degrees; 180 for a reversed leg.
  double Size = 0;
};

struct TSimulatedSurvey {
  TSimulationOptions Options;
  std::vector<std::string> Names;  // station names within the survey
  std::vector<Vec3> Positions;     // true positions, metres
  std::vector<TSimulatedLeg> Legs;
  std::vector<TPlantedBlunder> Blunders;  // by leg
  std::string Svx;                        // the survey as a .svx file
};

// Simulates a survey. Raises ECyclornError, before drawing anything, for
// options that make no sense: a count below 1 or above 10,000,000 stations
// or legs, a spacing or standard deviation that is not positive, more
// blunders than legs, percentages outside 0..100, no blunder kind while
// blunders are asked for.
TSimulatedSurvey SimulateSurvey(const TSimulationOptions& options);

// The planted blunders, one line each: from to kind size line, where from
// and to are full station names as the .svx line gives them, kind is tape,
// compass, clino or reversed, size the recorded minus the true reading
// (metres or degrees, three decimals; 180 for reversed) and line the line of
// the .svx. A blunder is found when the blunder search names the same leg
// and kind with change = -size.
void WritePlantedBlunders(std::ostream& out, const TSimulatedSurvey& simulated);

// The survey the .svx describes, with each leg's vector and covariance from
// its written readings (LegFromReadings), its file (fileName) and line; the
// stations at their true positions, the first one fixed.
TSurvey SurveyOfSimulation(const TSimulatedSurvey& simulated, const std::string& fileName);
