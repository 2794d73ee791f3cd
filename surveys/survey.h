#pragma once
// TSurvey: a cave survey as surveyors record it. Stations carry every full
// name they have (equated stations are one station with several names) and
// their positions in metres; legs join two stations and carry their flags and
// the survey they belong to. A survey read from raw data (.svx) also holds,
// for every leg, its readings, its vector, its expected error and the file
// line it came from; a processed survey (.3d) holds positions only.
//
// Everything is in plain columns indexed by station or by leg, so a survey of
// a million stations costs a few tens of bytes a station.

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/vector3.h"

// Station flags, as the survey formats record them.
enum TStationFlag : uint8_t {
  sfSurface = 1 << 0,      // on a leg above ground
  sfUnderground = 1 << 1,  // on an underground leg (both at an entrance)
  sfEntrance = 1 << 2,
  sfExported = 1 << 3,   // may connect to other surveys
  sfFixed = 1 << 4,      // a fixed (control) point
  sfAnonymous = 1 << 5,  // a nameless station (a splay end, ".")
  sfWall = 1 << 6,       // on the passage wall
};

// Leg flags.
enum TLegFlag : uint8_t {
  lfSurface = 1 << 0,    // above ground
  lfDuplicate = 1 << 1,  // repeats data of another leg (a resurvey)
  lfSplay = 1 << 2,      // a radial shot, not part of the centreline
};

// How a leg was measured.
enum class TLegStyle : uint8_t { Normal, Diving, Cartesian, CylPolar, NoSurvey };

// A range of survey dates in days since 1900-01-01; kNoDate when unknown.
struct TSurveyDates {
  static constexpr int32_t kNoDate = -1;
  int32_t First = kNoDate;
  int32_t Last = kNoDate;
  friend bool operator==(const TSurveyDates&, const TSurveyDates&) = default;
};

struct TSurveyLeg {
  int32_t From = -1;    // station index
  int32_t To = -1;      // station index
  int32_t Survey = -1;  // index into TSurvey::Surveys, -1 when the leg names none
  uint8_t Flags = 0;    // TLegFlag bits
  TLegStyle Style = TLegStyle::Normal;
  friend bool operator==(const TSurveyLeg&, const TSurveyLeg&) = default;
};

// How the vertical of a leg was read: a clino angle, a plumb up or down
// (the compass is not used), "level" (an angle of exactly 0), or nothing at
// all (taken as level, its vertical error as large as the tape). Legs that
// are not of the normal style carry Omitted.
enum class TClinoKind : uint8_t { Angle, Up, Down, Level, Omitted };

// What raw data says about one leg. Readings are the values used, after
// units, calibration and declination: metres and degrees; a reading that was
// not taken is NaN. Fore and back readings are kept apart (a back reading as
// read, pointing from To to From); Vector is the combination the leg stands
// for. The standard deviations are those of the combined readings the vector
// was computed from, so that Covariance follows from them and the vector.
struct TLegMeasurement {
  Vec3 Vector;  // From to To: X east, Y north, Z up, in metres
  // The vector's expected error as a symmetric covariance in square metres:
  // XX, XY, XZ, YY, YZ, ZZ.
  std::array<double, 6> Covariance{};
  double Tape = 0, Compass = 0, Clino = 0;
  double BackTape = 0, BackCompass = 0, BackClino = 0;
  double FromDepth = 0, ToDepth = 0;  // diving legs
  // Standard deviations of the readings, in metres and degrees.
  double TapeSd = 0, CompassSd = 0, ClinoSd = 0;
  int32_t File = -1;  // index into TSurvey::Files
  int32_t Line = 0;   // line in that file, from 1 (the first, when Shots > 1)
  TClinoKind Clinometer = TClinoKind::Omitted;
  // Lines of data averaged into this leg: repeated readings of one leg on
  // consecutive lines count as one leg measured several times.
  int32_t Shots = 1;
};

// A station fixed by the data (*fix), with its position and standard deviations.
struct TFixedPoint {
  int32_t Station = -1;
  Vec3 Position;  // metres
  Vec3 Sd;        // metres; zero for an exactly fixed point
  bool Reference = false;
};

// Error information a processed file carries for one traverse.
struct TTraverseError {
  int32_t Legs = 0;
  double Length = 0;                               // metres
  double Error = 0, Horizontal = 0, Vertical = 0;  // metres
};

// What a reader noticed and the user should be told, rather than hidden.
struct TSurveyNotes {
  int64_t ZeroLengthLegs = 0;   // legs whose two ends are one position, left out
  int64_t SharedPositions = 0;  // names that became one station because they share a position
  int64_t CrossSections = 0;
  // Pieces of the survey that no leg joins to a fixed point (to the first
  // piece when nothing is fixed): each was placed from its own first station,
  // east of what was placed before it.
  int64_t UnfixedPieces = 0;
  std::vector<TTraverseError> TraverseErrors;
};

class TSurvey {
 public:
  std::string Title;
  std::string CoordinateSystem;  // as the file gives it: "EPSG:27700", "+init=epsg:3912", ...
  TSurveyDates Dates;            // the range over all legs
  bool ExtendedElevation = false;

  // Per station.
  std::vector<Vec3> Positions;  // metres: X east, Y north, Z up
  std::vector<uint8_t> StationFlags;

  // Per leg.
  std::vector<TSurveyLeg> Legs;
  std::vector<TLegMeasurement> Measurements;  // empty, or one per leg

  std::vector<std::string> Surveys;  // survey names legs refer to, e.g. "cave.upper"
  std::vector<std::string> Files;    // source files measurements refer to
  std::vector<TFixedPoint> Fixes;
  TSurveyNotes Notes;

  int32_t StationCount() const { return static_cast<int32_t>(Positions.size()); }
  int32_t LegCount() const { return static_cast<int32_t>(Legs.size()); }
  bool HasMeasurements() const { return !Legs.empty() && Measurements.size() == Legs.size(); }

  // Adds a station with no names yet and returns its index.
  int32_t AddStation(Vec3 position, uint8_t flags = 0);
  // The full names of every station, in one go: name k belongs to station
  // stationOfName[k]. A station keeps its names in the order given; its first
  // is its main name. Replaces any names set before.
  void SetNames(const std::vector<int32_t>& stationOfName, const std::vector<std::string>& names);
  // The same with the names packed in one string: name k is
  // chars[nameEnds[k-1] .. nameEnds[k]), the first from 0. Readers of large
  // files use it to spare a string per name.
  void SetNames(const std::vector<int32_t>& stationOfName, std::string_view chars,
                const std::vector<uint64_t>& nameEnds);

  // Station s's names; NameCount(s) may be 0 for an anonymous station.
  int32_t NameCount(int32_t s) const { return nameBegin_[s + 1] - nameBegin_[s]; }
  std::string_view Name(int32_t s, int32_t k) const;
  // The main name, or "" when the station has none.
  std::string_view MainName(int32_t s) const { return NameCount(s) > 0 ? Name(s, 0) : std::string_view(); }
  // Every name of the survey, station by station.
  int32_t TotalNames() const { return static_cast<int32_t>(nameEnd_.size()); }

 private:
  template <class NameOf>
  void SetNamesFrom(const std::vector<int32_t>& stationOfName, size_t nameCount, NameOf nameOf);

  // Name k of the survey is chars_[nameEnd_[k-1] .. nameEnd_[k]); station s
  // owns names nameBegin_[s] .. nameBegin_[s+1]-1.
  std::string chars_;
  std::vector<uint64_t> nameEnd_;
  std::vector<int32_t> nameBegin_{0};
};
