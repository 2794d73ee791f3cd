#include "surveys/svx_settings.h"

#include <utility>

namespace {

using Q = TSvxQuantity;

constexpr std::pair<std::string_view, Q> kQuantityWords[] = {
    {"tape", Q::Tape},
    {"length", Q::Tape},
    {"backtape", Q::BackTape},
    {"backlength", Q::BackTape},
    {"compass", Q::Compass},
    {"bearing", Q::Compass},
    {"backcompass", Q::BackCompass},
    {"backbearing", Q::BackCompass},
    {"clino", Q::Clino},
    {"gradient", Q::Clino},
    {"backclino", Q::BackClino},
    {"backgradient", Q::BackClino},
    {"counter", Q::Counter},
    {"count", Q::Counter},
    {"depth", Q::Depth},
    {"declination", Q::Declination},
    {"dx", Q::Dx},
    {"easting", Q::Dx},
    {"dy", Q::Dy},
    {"northing", Q::Dy},
    {"dz", Q::Dz},
    {"altitude", Q::Dz},
    {"left", Q::Left},
    {"right", Q::Right},
    {"up", Q::Up},
    {"ceiling", Q::Up},
    {"down", Q::Down},
    {"floor", Q::Down},
    {"level", Q::Level},
    {"plumb", Q::Plumb},
    {"position", Q::Position},
};

}  // namespace

std::optional<TSvxQuantity> SvxQuantityOf(std::string_view word) {
  for (const auto& [name, q] : kQuantityWords)
    if (SameWord(word, name)) return q;
  return std::nullopt;
}

bool IsAngle(TSvxQuantity q) {
  switch (q) {
    case Q::Compass:
    case Q::BackCompass:
    case Q::Clino:
    case Q::BackClino:
    case Q::Declination:
    case Q::Level:
    case Q::Plumb:
      return true;
    default:
      return false;
  }
}

std::optional<TSvxUnit> SvxUnitOf(std::string_view word, TSvxQuantity q) {
  const bool clino = q == Q::Clino || q == Q::BackClino;
  const bool bearing = q == Q::Compass || q == Q::BackCompass || q == Q::Declination;
  if (!IsAngle(q)) {
    if (SameWord(word, "metres") || SameWord(word, "meters") || SameWord(word, "metric")) return TSvxUnit{1};
    if (SameWord(word, "feet")) return TSvxUnit{0.3048};
    if (SameWord(word, "yards")) return TSvxUnit{0.9144};
    return std::nullopt;
  }
  if (SameWord(word, "degrees") || SameWord(word, "degs")) return TSvxUnit{1};
  if (SameWord(word, "grads") || SameWord(word, "mils")) return TSvxUnit{0.9};
  if (SameWord(word, "minutes")) return TSvxUnit{1.0 / 60};
  if (clino && (SameWord(word, "percent") || SameWord(word, "percentage"))) return TSvxUnit{1, TSvxUnit::Percent};
  if (bearing && (SameWord(word, "quadrants") || SameWord(word, "quads"))) return TSvxUnit{1, TSvxUnit::Quadrants};
  return std::nullopt;
}

TSvxSettings::TSvxSettings() {
  DefaultUnits();
  DefaultCalibrations();
  // The BCRA grade 5 figures the Survex manual gives as its defaults; the
  // quantities it leaves out get the figure of their nearest kin.
  for (size_t q = 0; q < kSvxQuantities; ++q) Sd[q] = IsAngle(static_cast<Q>(q)) ? 0.5 : 0.05;
  Sd[Index(Q::Declination)] = 0;
}

void TSvxSettings::DefaultUnits() { Units.fill(TSvxUnit{}); }

void TSvxSettings::DefaultCalibrations() {
  Calibrations.fill(TSvxCalibration{});
  Declination = 0;
}

void TSvxSettings::DefaultData() {
  Style = TLegStyle::Normal;
  Passage = false;
  Fields = {TSvxField::From, TSvxField::To, TSvxField::Tape, TSvxField::Compass, TSvxField::Clino};
}
