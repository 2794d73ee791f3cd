#include "analysis/survey_simulator.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>
#include <numbers>
#include <numeric>
#include <random>
#include <unordered_map>

#include "analysis/leg_readings.h"
#include "core/errors.h"

namespace {

constexpr int32_t kMaxCount = 10'000'000;
constexpr int kTapeDecimals = 4, kAngleDecimals = 3;

// The simulator's own transforms of the generator's 64-bit words.
class TDraws {
 public:
  explicit TDraws(uint64_t seed) : engine_(seed) {}
  // Uniform in [0, 1) from the top 53 bits.
  double Uniform() { return static_cast<double>(engine_() >> 11) * 0x1.0p-53; }
  double Uniform(double lo, double hi) { return lo + (hi - lo) * Uniform(); }
  // Uniform in 0 .. n-1 without bias (rejecting the last partial run of words).
  int64_t Below(int64_t n) {
    const auto range = static_cast<uint64_t>(n);
    const uint64_t limit = UINT64_MAX - UINT64_MAX % range;
    uint64_t x;
    do x = engine_();
    while (x >= limit);
    return static_cast<int64_t>(x % range);
  }
  bool Coin() { return (engine_() >> 63) != 0; }
  // Standard normal by the Box-Muller transform, one value per two uniforms.
  double Normal() {
    const double u = 1 - Uniform();  // (0, 1]
    const double v = Uniform();
    return std::sqrt(-2 * std::log(u)) * std::cos(2 * std::numbers::pi * v);
  }

 private:
  std::mt19937_64 engine_;
};

void Require(bool ok, const std::string& message) {
  if (!ok) throw ECyclornError("simulate: " + message);
}

void Validate(const TSimulationOptions& o) {
  if (o.Shape == TSimulatedShape::Grid) {
    Require(o.Columns >= 1 && o.Rows >= 1, "a grid needs at least 1 column and 1 row");
    Require(static_cast<int64_t>(o.Columns) * o.Rows <= kMaxCount, "a grid of at most 10,000,000 stations");
    Require(static_cast<int64_t>(o.Columns) * o.Rows >= 2, "a grid needs at least 2 stations");
    Require(o.ThinPercent >= 0 && o.ThinPercent <= 100, "thinning is a percentage, 0 to 100");
  } else {
    Require(o.Legs >= 1 && o.Legs <= kMaxCount, "a cave of 1 to 10,000,000 legs");
    Require(o.ClosePercent >= 0 && o.ClosePercent <= 100, "the share of closing traverses is a percentage, 0 to 100");
  }
  Require(std::isfinite(o.Spacing) && o.Spacing > 0 && o.Spacing <= 1e5,
          "the spacing must be positive (metres, at most 100 km)");
  for (const double sd : {o.TapeSd, o.CompassSd, o.ClinoSd})
    Require(std::isfinite(sd) && sd > 0 && sd <= 1e3, "standard deviations must be positive");
  Require(o.Blunders >= 0, "the number of blunders cannot be negative");
  Require(o.Blunders == 0 || (o.BlunderKinds & 0x0f) != 0, "blunders need at least one kind");
  Require(!o.Name.empty() && std::all_of(o.Name.begin(), o.Name.end(),
                                         [](char c) {
                                           return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') ||
                                                  (c >= '0' && c <= '9') || c == '_' || c == '-';
                                         }),
          "the survey name must be letters, digits, '_' or '-'");
}

struct TShape {
  std::vector<std::string> Names;
  std::vector<Vec3> Positions;
  std::vector<std::pair<int32_t, int32_t>> Legs;
};

int32_t Root(std::vector<int32_t>& root, int32_t x) {
  while (root[static_cast<size_t>(x)] != x)
    x = root[static_cast<size_t>(x)] = root[static_cast<size_t>(root[static_cast<size_t>(x)])];
  return x;
}

TShape GridShape(const TSimulationOptions& o, TDraws& draws) {
  TShape shape;
  const double gx = draws.Uniform(-0.1, 0.1), gy = draws.Uniform(-0.1, 0.1);
  for (int32_t r = 0; r < o.Rows; ++r)
    for (int32_t c = 0; c < o.Columns; ++c) {
      shape.Names.push_back("r" + std::to_string(r) + "c" + std::to_string(c));
      const double x = c * o.Spacing, y = r * o.Spacing;
      shape.Positions.push_back(MakeVec3(x, y, gx * x + gy * y + draws.Uniform(-0.05, 0.05) * o.Spacing));
    }
  std::vector<std::pair<int32_t, int32_t>> all;
  for (int32_t r = 0; r < o.Rows; ++r)
    for (int32_t c = 0; c < o.Columns; ++c) {
      const int32_t s = r * o.Columns + c;
      if (c + 1 < o.Columns) all.emplace_back(s, s + 1);
      if (r + 1 < o.Rows) all.emplace_back(s, s + o.Columns);
    }
  std::vector<uint8_t> keep(all.size(), 1);
  for (uint8_t& k : keep) k = draws.Below(100) >= o.ThinPercent;
  // Legs left out that would split the grid go back in.
  std::vector<int32_t> root(shape.Positions.size());
  std::iota(root.begin(), root.end(), 0);
  for (size_t i = 0; i < all.size(); ++i)
    if (keep[i]) root[static_cast<size_t>(Root(root, all[i].first))] = Root(root, all[i].second);
  for (size_t i = 0; i < all.size(); ++i) {
    if (keep[i]) continue;
    const int32_t a = Root(root, all[i].first), b = Root(root, all[i].second);
    if (a != b) {
      keep[i] = 1;
      root[static_cast<size_t>(a)] = b;
    }
  }
  for (size_t i = 0; i < all.size(); ++i) {
    if (!keep[i]) continue;
    shape.Legs.push_back(draws.Coin() ? all[i] : std::make_pair(all[i].second, all[i].first));
  }
  return shape;
}

// Stations bucketed by plan position in square cells, for the closing search.
class TPlanBuckets {
 public:
  explicit TPlanBuckets(double cell) : cell_(cell) {}
  void Add(int32_t s, Vec3 p) { cells_[Key(Cell(p.X), Cell(p.Y))].push_back(s); }
  // The nearest station to p within radius (a cell wide) for which ok(s) holds, or -1.
  template <class F>
  int32_t Nearest(Vec3 p, const std::vector<Vec3>& positions, double radius, F&& ok) const {
    int32_t best = -1;
    double bestDistance = radius;
    const int64_t cx = Cell(p.X), cy = Cell(p.Y);
    for (int64_t dx = -1; dx <= 1; ++dx)
      for (int64_t dy = -1; dy <= 1; ++dy) {
        const auto it = cells_.find(Key(cx + dx, cy + dy));
        if (it == cells_.end()) continue;
        for (const int32_t s : it->second) {
          const double d = Length3(Sub3(positions[static_cast<size_t>(s)], p));
          if (d < bestDistance && ok(s)) {
            bestDistance = d;
            best = s;
          }
        }
      }
    return best;
  }

 private:
  int64_t Cell(double x) const { return static_cast<int64_t>(std::floor(x / cell_)); }
  static uint64_t Key(int64_t x, int64_t y) {
    return (static_cast<uint64_t>(x) << 32) ^ (static_cast<uint64_t>(y) & 0xffffffffU);
  }
  double cell_;
  std::unordered_map<uint64_t, std::vector<int32_t>> cells_;
};

TShape CaveShape(const TSimulationOptions& o, TDraws& draws) {
  constexpr double kRadian = std::numbers::pi / 180;
  TShape shape;
  const double radius = 2 * o.Spacing;
  TPlanBuckets buckets(radius);
  const auto add = [&](Vec3 p) {
    const auto s = static_cast<int32_t>(shape.Positions.size());
    shape.Names.push_back("s" + std::to_string(s));
    shape.Positions.push_back(p);
    buckets.Add(s, p);
    return s;
  };
  add(MakeVec3(0, 0, 0));
  const auto target = static_cast<size_t>(o.Legs);
  while (shape.Legs.size() < target) {
    const auto first = static_cast<int32_t>(draws.Below(static_cast<int64_t>(shape.Positions.size())));
    const auto traverseStart = static_cast<int32_t>(shape.Positions.size());
    double heading = draws.Uniform(0, 360);
    const int64_t steps = 2 + draws.Below(9);
    int32_t at = first;
    for (int64_t k = 0; k < steps && shape.Legs.size() < target; ++k) {
      heading += 25 * draws.Normal();
      const double length = o.Spacing * draws.Uniform(0.5, 1.5);
      const double clino = std::clamp(10 * draws.Normal(), -60.0, 60.0) * kRadian;
      const Vec3 from = shape.Positions[static_cast<size_t>(at)];
      const Vec3 step = MakeVec3(length * std::cos(clino) * std::sin(heading * kRadian),
                                 length * std::cos(clino) * std::cos(heading * kRadian), length * std::sin(clino));
      const int32_t next = add(Add3(from, step));
      shape.Legs.emplace_back(at, next);
      at = next;
    }
    if (shape.Legs.size() >= target || draws.Below(100) >= o.ClosePercent) continue;
    const int32_t close = buckets.Nearest(shape.Positions[static_cast<size_t>(at)], shape.Positions, radius,
                                          [&](int32_t s) { return s != first && s < traverseStart; });
    if (close >= 0) shape.Legs.emplace_back(at, close);
  }
  return shape;
}

std::string FormatFixed(double x, int decimals) {
  char buffer[64];
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, x, std::chars_format::fixed, decimals);
  std::string text(buffer, result.ptr);
  if (text.front() == '-' && text.find_first_not_of("-0.") == std::string::npos) text.erase(0, 1);
  return text;
}

// The value a reader gets back from the written text.
double Written(double x, int decimals) {
  const std::string text = FormatFixed(x, decimals);
  double value = 0;
  std::from_chars(text.data(), text.data() + text.size(), value);
  return value;
}

double WrapCompass(double compass) {
  compass = std::fmod(compass, 360);
  if (compass < 0) compass += 360;
  return Written(compass, kAngleDecimals) >= 360 ? 0 : compass;
}

void PlantBlunders(const TSimulationOptions& o, TDraws& draws, TSimulatedSurvey& s) {
  std::vector<TBlunderKind> kinds;
  for (const TBlunderKind k : {TBlunderKind::Tape, TBlunderKind::Compass, TBlunderKind::Clino, TBlunderKind::Reversed})
    if (o.BlunderKinds & BlunderKindBit(k)) kinds.push_back(k);
  // The first Blunders places of a partial Fisher-Yates shuffle.
  std::vector<int32_t> legs(s.Legs.size());
  std::iota(legs.begin(), legs.end(), 0);
  for (int32_t i = 0; i < o.Blunders; ++i) {
    const auto j = static_cast<size_t>(i + draws.Below(static_cast<int64_t>(legs.size()) - i));
    std::swap(legs[static_cast<size_t>(i)], legs[j]);
    TSimulatedLeg& leg = s.Legs[static_cast<size_t>(legs[static_cast<size_t>(i)])];
    TPlantedBlunder blunder;
    blunder.Leg = legs[static_cast<size_t>(i)];
    blunder.Kind = kinds[static_cast<size_t>(draws.Below(static_cast<int64_t>(kinds.size())))];
    const bool negative = draws.Coin();
    switch (blunder.Kind) {
      case TBlunderKind::Tape: {
        double size = draws.Uniform(1, 5);
        if (negative && leg.Tape - size > 0.1 * leg.Tape) size = -size;
        blunder.Size = Written(size, kTapeDecimals);
        leg.Tape = Written(leg.Tape + blunder.Size, kTapeDecimals);
        break;
      }
      case TBlunderKind::Compass: {
        const double size = Written(draws.Uniform(10, 30) * (negative ? -1 : 1), kAngleDecimals);
        blunder.Size = size;
        leg.Compass = Written(WrapCompass(leg.Compass + size), kAngleDecimals);
        break;
      }
      case TBlunderKind::Clino: {
        double size = Written(draws.Uniform(10, 30) * (negative ? -1 : 1), kAngleDecimals);
        if (std::abs(leg.Clino + size) > 90) size = -size;
        blunder.Size = size;
        leg.Clino = Written(leg.Clino + size, kAngleDecimals);
        break;
      }
      case TBlunderKind::Reversed:
        blunder.Size = 180;
        std::swap(leg.From, leg.To);
        break;
    }
    s.Blunders.push_back(blunder);
  }
  std::sort(s.Blunders.begin(), s.Blunders.end(),
            [](const TPlantedBlunder& a, const TPlantedBlunder& b) { return a.Leg < b.Leg; });
}

void WriteSvx(TSimulatedSurvey& s) {
  const TSimulationOptions& o = s.Options;
  std::string& svx = s.Svx;
  int32_t line = 0;
  const auto put = [&](const std::string& text) {
    svx += text;
    svx += '\n';
    ++line;
  };
  if (o.Shape == TSimulatedShape::Grid)
    put("; Simulated grid of " + std::to_string(o.Columns) + " x " + std::to_string(o.Rows) + " stations, " +
        FormatFixed(o.Spacing, 3) + " m apart, seed " + std::to_string(o.Seed));
  else
    put("; Simulated cave of " + std::to_string(o.Legs) + " legs about " + FormatFixed(o.Spacing, 3) +
        " m long, seed " + std::to_string(o.Seed));
  put("*begin " + o.Name);
  put("*sd tape " + FormatFixed(o.TapeSd, 4) + " metres");
  put("*sd compass " + FormatFixed(o.CompassSd, 4) + " degrees");
  put("*sd clino " + FormatFixed(o.ClinoSd, 4) + " degrees");
  const Vec3 p = s.Positions.front();
  put("*fix " + s.Names.front() + " " + FormatFixed(p.X, 3) + " " + FormatFixed(p.Y, 3) + " " + FormatFixed(p.Z, 3));
  put("*data normal from to tape compass clino");
  for (TSimulatedLeg& leg : s.Legs) {
    leg.Line = line + 1;
    put(s.Names[static_cast<size_t>(leg.From)] + " " + s.Names[static_cast<size_t>(leg.To)] + " " +
        FormatFixed(leg.Tape, kTapeDecimals) + " " + FormatFixed(leg.Compass, kAngleDecimals) + " " +
        FormatFixed(leg.Clino, kAngleDecimals));
  }
  put("*end " + o.Name);
}

}  // namespace

TSimulatedSurvey SimulateSurvey(const TSimulationOptions& options) {
  Validate(options);
  TDraws draws(options.Seed);
  TShape shape = options.Shape == TSimulatedShape::Grid ? GridShape(options, draws) : CaveShape(options, draws);
  Require(
      static_cast<size_t>(options.Blunders) <= shape.Legs.size(),
      "more blunders (" + std::to_string(options.Blunders) + ") than legs (" + std::to_string(shape.Legs.size()) + ")");
  TSimulatedSurvey s;
  s.Options = options;
  s.Names = std::move(shape.Names);
  s.Positions = std::move(shape.Positions);
  constexpr double kDegree = 180 / std::numbers::pi;
  for (const auto& [from, to] : shape.Legs) {
    const Vec3 d = Sub3(s.Positions[static_cast<size_t>(to)], s.Positions[static_cast<size_t>(from)]);
    const double length = Length3(d);
    TSimulatedLeg leg;
    leg.From = from;
    leg.To = to;
    leg.Tape = Written(std::max(0.0, length + options.TapeSd * draws.Normal()), kTapeDecimals);
    leg.Compass =
        Written(WrapCompass(std::atan2(d.X, d.Y) * kDegree + options.CompassSd * draws.Normal()), kAngleDecimals);
    const double clino = length > 0 ? std::asin(std::clamp(d.Z / length, -1.0, 1.0)) * kDegree : 0;
    leg.Clino = Written(std::clamp(clino + options.ClinoSd * draws.Normal(), -90.0, 90.0), kAngleDecimals);
    s.Legs.push_back(leg);
  }
  PlantBlunders(options, draws, s);
  WriteSvx(s);
  return s;
}

void WritePlantedBlunders(std::ostream& out, const TSimulatedSurvey& s) {
  for (const TPlantedBlunder& b : s.Blunders) {
    const TSimulatedLeg& leg = s.Legs[static_cast<size_t>(b.Leg)];
    out << s.Options.Name << '.' << s.Names[static_cast<size_t>(leg.From)] << ' ' << s.Options.Name << '.'
        << s.Names[static_cast<size_t>(leg.To)] << ' ' << BlunderKindName(b.Kind) << ' ' << FormatFixed(b.Size, 3)
        << ' ' << leg.Line << '\n';
  }
}

TSurvey SurveyOfSimulation(const TSimulatedSurvey& s, const std::string& fileName) {
  const TSimulationOptions& o = s.Options;
  TSurvey survey;
  survey.Title = o.Name;
  std::vector<int32_t> stationOfName;
  std::vector<std::string> names;
  for (size_t i = 0; i < s.Positions.size(); ++i) {
    survey.AddStation(s.Positions[i], sfUnderground);
    stationOfName.push_back(static_cast<int32_t>(i));
    names.push_back(o.Name + "." + s.Names[i]);
  }
  survey.SetNames(stationOfName, names);
  survey.StationFlags.front() |= sfFixed;
  survey.Fixes.push_back({0, s.Positions.front(), Vec3{}, false});
  survey.Surveys.push_back(o.Name);
  survey.Files.push_back(fileName);
  for (const TSimulatedLeg& leg : s.Legs) {
    survey.Legs.push_back({leg.From, leg.To, 0, 0, TLegStyle::Normal});
    const TLegVector v = LegFromReadings(leg.Tape, leg.Compass, leg.Clino, o.TapeSd, o.CompassSd, o.ClinoSd);
    TLegMeasurement m;
    m.Vector = v.Vector;
    m.Covariance = v.Covariance;
    m.Tape = leg.Tape;
    m.Compass = leg.Compass;
    m.Clino = leg.Clino;
    m.BackTape = m.BackCompass = m.BackClino = std::numeric_limits<double>::quiet_NaN();
    m.TapeSd = o.TapeSd;
    m.CompassSd = o.CompassSd;
    m.ClinoSd = o.ClinoSd;
    m.File = 0;
    m.Line = leg.Line;
    survey.Measurements.push_back(m);
  }
  return survey;
}
