// "*data" and the data lines it describes.

#include <algorithm>
#include <cmath>
#include <numbers>

#include "surveys/svx_parser.h"

namespace {

using F = TSvxField;
using Q = TSvxQuantity;

constexpr std::pair<std::string_view, F> kFieldWords[] = {
    {"from", F::From},
    {"to", F::To},
    {"tape", F::Tape},
    {"length", F::Tape},
    {"backtape", F::BackTape},
    {"backlength", F::BackTape},
    {"compass", F::Compass},
    {"bearing", F::Compass},
    {"backcompass", F::BackCompass},
    {"backbearing", F::BackCompass},
    {"clino", F::Clino},
    {"gradient", F::Clino},
    {"backclino", F::BackClino},
    {"backgradient", F::BackClino},
    {"fromdepth", F::FromDepth},
    {"todepth", F::ToDepth},
    {"depthchange", F::DepthChange},
    {"easting", F::Dx},
    {"dx", F::Dx},
    {"northing", F::Dy},
    {"dy", F::Dy},
    {"altitude", F::Dz},
    {"dz", F::Dz},
    {"fromcount", F::FromCount},
    {"tocount", F::ToCount},
    {"ignore", F::Ignore},
    {"ignoreall", F::IgnoreAll},
};

const char* FieldName(F field) {
  switch (field) {
    case F::From:
      return "FROM";
    case F::To:
      return "TO";
    case F::Tape:
      return "TAPE";
    case F::BackTape:
      return "BACKTAPE";
    case F::Compass:
      return "COMPASS";
    case F::BackCompass:
      return "BACKCOMPASS";
    case F::Clino:
      return "CLINO";
    case F::BackClino:
      return "BACKCLINO";
    case F::FromDepth:
      return "FROMDEPTH";
    case F::ToDepth:
      return "TODEPTH";
    case F::DepthChange:
      return "DEPTHCHANGE";
    case F::Dx:
      return "EASTING";
    case F::Dy:
      return "NORTHING";
    case F::Dz:
      return "ALTITUDE";
    case F::FromCount:
      return "FROMCOUNT";
    case F::ToCount:
      return "TOCOUNT";
    case F::Ignore:
      return "IGNORE";
    case F::IgnoreAll:
      return "IGNOREALL";
  }
  return "";
}

bool Allowed(TLegStyle style, F field) {
  switch (field) {
    case F::From:
    case F::To:
    case F::Ignore:
    case F::IgnoreAll:
      return true;
    case F::Tape:
    case F::BackTape:
    case F::Compass:
    case F::BackCompass:
    case F::FromCount:
    case F::ToCount:
      return style == TLegStyle::Normal || style == TLegStyle::Diving || style == TLegStyle::CylPolar;
    case F::Clino:
    case F::BackClino:
      return style == TLegStyle::Normal || style == TLegStyle::Diving;
    case F::FromDepth:
    case F::ToDepth:
    case F::DepthChange:
      return style == TLegStyle::Diving || style == TLegStyle::CylPolar;
    case F::Dx:
    case F::Dy:
    case F::Dz:
      return style == TLegStyle::Cartesian;
  }
  return false;
}

}  // namespace

void TSvxParser::Data(TSvxLine& line) {
  const std::string_view styleWord = line.Next();
  if (styleWord.empty()) return;  // the style in force, its state reset: nothing to reset here
  const std::string style = AsciiLower(styleWord);
  if (style == "default") {
    if (!line.AtEnd()) Fail("*data default takes nothing after it");
    s_.DefaultData();
    return;
  }
  TLegStyle legStyle;
  if (style == "normal" || style == "topofil")
    legStyle = TLegStyle::Normal;
  else if (style == "diving")
    legStyle = TLegStyle::Diving;
  else if (style == "cylpolar")
    legStyle = TLegStyle::CylPolar;
  else if (style == "cartesian")
    legStyle = TLegStyle::Cartesian;
  else if (style == "nosurvey")
    legStyle = TLegStyle::NoSurvey;
  else if (style == "passage")
    legStyle = TLegStyle::Normal;
  else
    Fail("*data: unknown style \"" + std::string(styleWord) + "\"");

  std::vector<F> fields;
  std::vector<std::string> words;
  for (std::string_view w = line.Next(); !w.empty(); w = line.Next()) words.push_back(AsciiLower(w));
  // The readings only interleaved data has: a station shared by two legs and what goes with it.
  for (const std::string& w : words)
    if (style != "passage" &&
        (w == "station" || w == "newline" || w == "direction" || w == "depth" || w == "count" || w == "counter"))
      Fail("*data " + style + " with " + w +
           ": interleaved data (a station on one line, the readings to the next station on the next) is not "
           "supported; give each leg one line with FROM and TO");
  if (style == "passage") {
    // Passage dimensions shape the drawn passage, not the centreline: their lines are passed over.
    s_.Style = TLegStyle::Normal;
    s_.Passage = true;
    return;
  }
  if (words.empty() && legStyle == TLegStyle::Normal) {
    s_.DefaultData();
    return;
  }
  for (const std::string& w : words) {
    const auto found = std::find_if(std::begin(kFieldWords), std::end(kFieldWords),
                                    [&](const auto& entry) { return entry.first == w; });
    if (found == std::end(kFieldWords)) Fail("*data " + style + ": unknown reading \"" + w + "\"");
    const F field = found->second;
    if (!Allowed(legStyle, field)) Fail("*data " + style + " takes no " + FieldName(field) + " reading");
    if (field != F::Ignore && std::find(fields.begin(), fields.end(), field) != fields.end())
      Fail(std::string("*data ") + style + ": " + FieldName(field) + " is given twice");
    if (!fields.empty() && fields.back() == F::IgnoreAll) Fail("*data " + style + ": IGNOREALL must come last");
    fields.push_back(field);
  }
  auto has = [&](F field) { return std::find(fields.begin(), fields.end(), field) != fields.end(); };
  std::string missing;
  if (!has(F::From))
    missing = "FROM";
  else if (!has(F::To))
    missing = "TO";
  else if (legStyle != TLegStyle::Cartesian && legStyle != TLegStyle::NoSurvey && !has(F::Tape) && !has(F::BackTape) &&
           !(has(F::FromCount) && has(F::ToCount)))
    missing = "TAPE";
  else if (has(F::FromCount) != has(F::ToCount))
    missing = has(F::FromCount) ? "TOCOUNT" : "FROMCOUNT";
  else if ((legStyle == TLegStyle::Diving || legStyle == TLegStyle::CylPolar) && !has(F::DepthChange) &&
           !(has(F::FromDepth) && has(F::ToDepth)))
    missing = "FROMDEPTH and TODEPTH, or DEPTHCHANGE";
  else if (legStyle == TLegStyle::Cartesian && !(has(F::Dx) && has(F::Dy) && has(F::Dz)))
    missing = "EASTING, NORTHING and ALTITUDE";
  if (!missing.empty()) Fail("*data " + style + " needs " + missing);
  s_.Style = legStyle;
  s_.Passage = false;
  s_.Fields = std::move(fields);
}

double TSvxParser::Convert(TSvxQuantity q, double reading) const {
  const TSvxUnit& unit = s_.Units[Index(q)];
  const TSvxCalibration& c = s_.Calibrations[Index(q)];
  const double v = reading * unit.PerUnit;
  const double value = c.ZeroAfterScale ? v * c.Scale - c.Zero : (v - c.Zero) * c.Scale;
  if (unit.Kind == TSvxUnit::Percent) return std::atan(value / 100) * 180 / std::numbers::pi;
  return value;
}

double TSvxParser::Reading(std::string_view field, TSvxQuantity q, bool omittable, const char* what) const {
  if (omittable && field.size() == 1 && s_.Chars.Is(field[0], ccOmit)) return TSvxShot::kNone;
  double value = 0;
  if (!ParseSvxNumber(field, s_.Chars, value))
    Fail(std::string("expected a number for the ") + what + " reading, found \"" + std::string(field) + "\"");
  return Convert(q, value);
}

double TSvxParser::Bearing(std::string_view field, TSvxQuantity q, const char* what) const {
  if (field.size() == 1 && s_.Chars.Is(field[0], ccOmit)) return TSvxShot::kNone;
  if (s_.Units[Index(q)].Kind != TSvxUnit::Quadrants) return Reading(field, q, true, what) + s_.Declination;
  // N34E, S34E, S34W, N34W, or a cardinal letter alone.
  const std::string bad = std::string("expected a quadrant bearing such as N34E for the ") + what +
                          " reading, found \"" + std::string(field) + "\"";
  const char first = AsciiUpper(field[0]);
  double degrees = 0;
  if (field.size() == 1) {
    const size_t at = std::string_view("NESW").find(first);
    if (at == std::string_view::npos) Fail(bad);
    degrees = 90.0 * static_cast<double>(at);
  } else {
    const char last = AsciiUpper(field.back());
    double angle = 0;
    if ((first != 'N' && first != 'S') || (last != 'E' && last != 'W') ||
        !ParseSvxNumber(field.substr(1, field.size() - 2), s_.Chars, angle) || angle < 0 || angle > 90)
      Fail(bad);
    if (first == 'N')
      degrees = last == 'E' ? angle : 360 - angle;
    else
      degrees = last == 'E' ? 180 - angle : 180 + angle;
  }
  const TSvxCalibration& c = s_.Calibrations[Index(q)];
  const double value = c.ZeroAfterScale ? degrees * c.Scale - c.Zero : (degrees - c.Zero) * c.Scale;
  return value + s_.Declination;
}

TClinoKind TSvxParser::Clino(std::string_view field, TSvxQuantity q, double& value) const {
  value = TSvxShot::kNone;
  if (field.size() == 1 && s_.Chars.Is(field[0], ccOmit)) return TClinoKind::Omitted;
  const bool plusV = field.size() == 2 && s_.Chars.Is(field[0], ccPlus) && AsciiLower(field[1]) == 'v';
  const bool minusV = field.size() == 2 && s_.Chars.Is(field[0], ccMinus) && AsciiLower(field[1]) == 'v';
  if (plusV || SameWord(field, "up") || SameWord(field, "u")) {
    value = 90;
    return TClinoKind::Up;
  }
  if (minusV || SameWord(field, "down") || SameWord(field, "d")) {
    value = -90;
    return TClinoKind::Down;
  }
  if (SameWord(field, "level")) {
    value = 0;
    return TClinoKind::Level;
  }
  double reading = 0;
  if (!ParseSvxNumber(field, s_.Chars, reading))
    Fail(std::string("expected a number, UP, DOWN or LEVEL for the ") +
         (q == TSvxQuantity::Clino ? "clino" : "back clino") + " reading, found \"" + std::string(field) + "\"");
  const TSvxUnit& unit = s_.Units[Index(q)];
  if (s_.InferPlumbs && unit.Kind == TSvxUnit::Factor && std::fabs(reading * unit.PerUnit) == 90) {
    value = reading * unit.PerUnit;
    return value > 0 ? TClinoKind::Up : TClinoKind::Down;
  }
  value = Convert(q, reading);
  return TClinoKind::Angle;
}

TSvxShotSd TSvxParser::ShotSd() const {
  const auto& sd = s_.Sd;
  TSvxShotSd out;
  out.Tape = sd[Index(Q::Tape)];
  out.BackTape = sd[Index(Q::BackTape)];
  out.Compass = sd[Index(Q::Compass)];
  out.BackCompass = sd[Index(Q::BackCompass)];
  out.Clino = sd[Index(Q::Clino)];
  out.BackClino = sd[Index(Q::BackClino)];
  out.Declination = sd[Index(Q::Declination)];
  out.Depth = sd[Index(Q::Depth)];
  out.Dx = sd[Index(Q::Dx)];
  out.Dy = sd[Index(Q::Dy)];
  out.Dz = sd[Index(Q::Dz)];
  out.Level = sd[Index(Q::Level)];
  out.Plumb = sd[Index(Q::Plumb)];
  return out;
}

int32_t TSvxParser::SurveyIndex() {
  if (s_.Prefix.empty()) return -1;
  if (s_.Prefix == lastPrefix_) return lastSurvey_;
  const auto [at, added] = surveyIndex_.emplace(s_.Prefix, static_cast<int32_t>(survey_.Surveys.size()));
  if (added) survey_.Surveys.push_back(s_.Prefix);
  lastPrefix_ = s_.Prefix;
  lastSurvey_ = at->second;
  return lastSurvey_;
}

int32_t TSvxParser::LegEnd(std::string_view field, uint8_t& legFlags) {
  size_t separators = 0;
  while (separators < field.size() && s_.Chars.Is(field[separators], ccSeparator)) ++separators;
  if (s_.DashIsWallStation && field.size() == 1 && field[0] == '-')
    separators = 2;
  else if (separators != field.size())
    return NamedStation(field);
  // Anonymous stations: "." and ".." end a splay, ".." on the wall; "..." implies nothing.
  if (separators > 3) Fail("\"" + std::string(field) + "\" is no station name");
  if (separators < 3) legFlags |= lfSplay;
  return names_.Anonymous(separators == 2 ? sfWall : 0);
}

void TSvxParser::DataLine(TSvxLine& line) {
  TSvxShot shot;
  shot.Style = s_.Style;
  std::string_view fromField, toField;
  double fromCount = TSvxShot::kNone, toCount = TSvxShot::kNone;
  double rawTape = TSvxShot::kNone;
  bool all = false;
  for (const F field : s_.Fields) {
    if (field == F::IgnoreAll) {
      all = true;
      break;
    }
    const std::string_view value = line.Next();
    if (value.empty()) Fail(std::string("the data line ends before its ") + FieldName(field) + " reading");
    switch (field) {
      case F::From:
        fromField = value;
        break;
      case F::To:
        toField = value;
        break;
      case F::Tape:
        shot.Tape = Reading(value, Q::Tape, true, "tape");
        if (value.size() != 1 || !s_.Chars.Is(value[0], ccOmit)) ParseSvxNumber(value, s_.Chars, rawTape);
        break;
      case F::BackTape:
        shot.BackTape = Reading(value, Q::BackTape, true, "back tape");
        break;
      case F::Compass:
        shot.Compass = Bearing(value, Q::Compass, "compass");
        break;
      case F::BackCompass:
        shot.BackCompass = Bearing(value, Q::BackCompass, "back compass");
        break;
      case F::Clino:
        shot.ClinoKind = Clino(value, Q::Clino, shot.Clino);
        break;
      case F::BackClino:
        shot.BackClinoKind = Clino(value, Q::BackClino, shot.BackClino);
        break;
      case F::FromDepth:
        shot.FromDepth = Reading(value, Q::Depth, false, "from depth");
        break;
      case F::ToDepth:
        shot.ToDepth = Reading(value, Q::Depth, false, "to depth");
        break;
      case F::DepthChange: {
        const double change = Reading(value, Q::Depth, false, "depth change");
        // A change of depth has no zero error: only the scale applies.
        const TSvxCalibration& c = s_.Calibrations[Index(Q::Depth)];
        shot.DepthChange = c.ZeroAfterScale ? change + c.Zero : change + c.Zero * c.Scale;
        break;
      }
      case F::Dx:
        shot.Dx = Reading(value, Q::Dx, false, "easting");
        break;
      case F::Dy:
        shot.Dy = Reading(value, Q::Dy, false, "northing");
        break;
      case F::Dz:
        shot.Dz = Reading(value, Q::Dz, false, "altitude");
        break;
      case F::FromCount:
        fromCount = Reading(value, Q::Counter, false, "from count");
        break;
      case F::ToCount:
        toCount = Reading(value, Q::Counter, false, "to count");
        break;
      case F::Ignore:
      case F::IgnoreAll:
        break;
    }
  }
  if (!all && !line.AtEnd()) Fail("more readings than *data gives: \"" + std::string(line.Next()) + "\"");
  if (!std::isnan(fromCount)) {
    shot.Tape = toCount - fromCount;
    rawTape = shot.Tape;
  }

  uint8_t flags = s_.LegFlags;
  const int32_t from = LegEnd(fromField, flags);
  const int32_t to = LegEnd(toField, flags);
  if (from == to) Fail("the leg's two ends are the same station \"" + names_.Name(from) + "\"");
  if (s_.InferEquates && rawTape == 0 && shot.Style != TLegStyle::Cartesian && shot.Style != TLegStyle::NoSurvey) {
    names_.Equate(from, to);
    return;
  }
  TSvxRawLeg leg;
  leg.From = from;
  leg.To = to;
  leg.Style = s_.Style;
  leg.Flags = flags;
  leg.Survey = SurveyIndex();
  const std::string error = ComputeSvxLeg(shot, ShotSd(), leg.Measurement);
  if (!error.empty()) Fail(error);
  leg.Measurement.File = file_;
  leg.Measurement.Line = line_;
  if (s_.Dates.First != TSurveyDates::kNoDate) {
    TSurveyDates& d = survey_.Dates;
    d.First = d.First == TSurveyDates::kNoDate ? s_.Dates.First : std::min(d.First, s_.Dates.First);
    d.Last = std::max(d.Last, s_.Dates.Last);
  }
  // Repeated readings of one leg on consecutive lines are one leg measured several times.
  if (!legs_.empty()) {
    TSvxRawLeg& last = legs_.back();
    if (last.From == from && last.To == to && last.Style == leg.Style && leg.Style != TLegStyle::NoSurvey) {
      AverageRepeatedLeg(last.Measurement, leg.Measurement);
      return;
    }
  }
  legs_.push_back(std::move(leg));
}
