#pragma once
// The settings that Survex raw data changes as it goes and that "*begin"
// saves and "*end" restores: characters, name case, units, calibrations,
// standard deviations, the data layout, leg flags and dates.

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "surveys/survey.h"
#include "surveys/svx_chars.h"

// The quantities "*units", "*calibrate" and "*sd" name.
enum class TSvxQuantity : uint8_t {
  Tape,
  BackTape,
  Compass,
  BackCompass,
  Clino,
  BackClino,
  Counter,
  Depth,
  Declination,
  Dx,
  Dy,
  Dz,
  Left,
  Right,
  Up,
  Down,
  Level,
  Plumb,
  Position,
};
inline constexpr size_t kSvxQuantities = 19;
inline size_t Index(TSvxQuantity q) { return static_cast<size_t>(q); }
// The quantity a word names (TAPE, LENGTH, BEARING, ...), case-blind.
std::optional<TSvxQuantity> SvxQuantityOf(std::string_view word);
// True for the quantities measured as angles.
bool IsAngle(TSvxQuantity q);

// A unit of readings: metres or degrees per reading unit, or one of the two
// angle units that are not a factor.
struct TSvxUnit {
  enum TKind : uint8_t { Factor, Percent, Quadrants };
  double PerUnit = 1;  // metres or degrees per unit, times the *units factor
  TKind Kind = Factor;
};
// The unit a word names for a quantity (METRES, FEET, GRADS, PERCENT, ...),
// or nullopt when the word is no unit of that quantity.
std::optional<TSvxUnit> SvxUnitOf(std::string_view word, TSvxQuantity q);

// value = (reading - Zero) * Scale, or with ZeroAfterScale reading * Scale -
// Zero; Zero is in metres or degrees (percent for a clino read in percent).
struct TSvxCalibration {
  double Zero = 0;
  double Scale = 1;
  bool ZeroAfterScale = false;
};

// The fields of a data line, in the order "*data" gives them.
enum class TSvxField : uint8_t {
  From,
  To,
  Tape,
  BackTape,
  Compass,
  BackCompass,
  Clino,
  BackClino,
  FromDepth,
  ToDepth,
  DepthChange,
  Dx,
  Dy,
  Dz,
  FromCount,
  ToCount,
  Ignore,
  IgnoreAll,
};

enum class TSvxCase : uint8_t { Lower, Upper, Preserve };

struct TSvxSettings {
  TSvxChars Chars;
  TSvxCase Case = TSvxCase::Lower;
  int32_t Truncate = 0;  // significant characters of a name part, 0 for all
  std::string Prefix;    // the current survey's full name, "" at the top

  TLegStyle Style = TLegStyle::Normal;
  bool Passage = false;  // "*data passage": lines of passage dimensions, no legs
  std::vector<TSvxField> Fields{TSvxField::From, TSvxField::To, TSvxField::Tape, TSvxField::Compass, TSvxField::Clino};

  std::array<TSvxUnit, kSvxQuantities> Units{};
  std::array<TSvxCalibration, kSvxQuantities> Calibrations{};
  std::array<double, kSvxQuantities> Sd{};  // metres or degrees
  double Declination = 0;                   // degrees added to every bearing

  uint8_t LegFlags = 0;  // TLegFlag bits of the legs that follow
  bool InferPlumbs = false;
  bool InferEquates = false;
  bool InferExports = false;
  bool DashIsWallStation = false;  // "*alias station - .."
  TSurveyDates Dates;

  TSvxSettings();
  void DefaultUnits();
  void DefaultCalibrations();
  void DefaultData();
};
