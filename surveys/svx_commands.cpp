// The commands of Survex raw data other than *data and *include.

#include <algorithm>
#include <cmath>

#include "surveys/svx_parser.h"

namespace {

std::string Upper(std::string_view word) {
  std::string out(word);
  for (char& c : out) c = AsciiUpper(c);
  return out;
}

bool IsOnOff(std::string_view word, bool& on) {
  if (SameWord(word, "on"))
    on = true;
  else if (SameWord(word, "off"))
    on = false;
  else
    return false;
  return true;
}

// Days since 1900-01-01 of a date in the proleptic Gregorian calendar.
int32_t DaysSince1900(int32_t year, int32_t month, int32_t day) {
  const int32_t y = month <= 2 ? year - 1 : year;
  const int32_t era = (y >= 0 ? y : y - 399) / 400;
  const int32_t yoe = y - era * 400;
  const int32_t doy = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
  const int32_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + doe - 693901;  // 693901: days from 0000-03-01 to 1900-01-01
}

bool DaysInMonth(int32_t year, int32_t month, int32_t& days) {
  static constexpr int32_t kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  if (month < 1 || month > 12) return false;
  const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
  days = kDays[month - 1] + (month == 2 && leap ? 1 : 0);
  return true;
}

// "YYYY[.MM[.DD]]" as its first and last day.
bool ParseDate(std::string_view text, int32_t& first, int32_t& last) {
  int32_t parts[3] = {0, 0, 0};
  int32_t count = 0;
  size_t i = 0;
  while (count < 3) {
    size_t start = i;
    int32_t value = 0;
    while (i < text.size() && text[i] >= '0' && text[i] <= '9' && i - start < 4) value = value * 10 + (text[i++] - '0');
    if (i == start) return false;
    parts[count++] = value;
    if (i == text.size()) break;
    if (text[i] != '.') return false;
    ++i;
  }
  if (i != text.size()) return false;
  int32_t days = 31;
  if (count >= 2 && !DaysInMonth(parts[0], parts[1], days)) return false;
  if (count == 3 && (parts[2] < 1 || parts[2] > days)) return false;
  if (count == 1) {
    first = DaysSince1900(parts[0], 1, 1);
    last = DaysSince1900(parts[0], 12, 31);
  } else if (count == 2) {
    first = DaysSince1900(parts[0], parts[1], 1);
    last = DaysSince1900(parts[0], parts[1], days);
  } else {
    first = last = DaysSince1900(parts[0], parts[1], parts[2]);
  }
  return true;
}

}  // namespace

void TSvxParser::Command(std::string_view word, TSvxLine& line) {
  const std::string w = AsciiLower(word);
  if (w == "data")
    Data(line);
  else if (w == "begin")
    Begin(line);
  else if (w == "end")
    End(line);
  else if (w == "include")
    Include(line);
  else if (w == "equate")
    Equate(line);
  else if (w == "fix")
    Fix(line);
  else if (w == "export")
    MarkStations(line, sfExported, "*export");
  else if (w == "entrance")
    MarkStations(line, sfEntrance, "*entrance");
  else if (w == "units")
    Units(line);
  else if (w == "calibrate")
    Calibrate(line);
  else if (w == "declination")
    Declination(line);
  else if (w == "sd")
    Sd(line);
  else if (w == "flags")
    Flags(line);
  else if (w == "set")
    Set(line);
  else if (w == "case")
    Case(line);
  else if (w == "truncate")
    Truncate(line);
  else if (w == "infer")
    Infer(line);
  else if (w == "alias")
    Alias(line);
  else if (w == "prefix")
    Prefix(line);
  else if (w == "default")
    Default(line);
  else if (w == "date")
    Date(line);
  else if (w == "title") {
    const std::string_view first = line.Next(true);
    const std::string_view rest = line.Rest();
    if (!titled_) survey_.Title = rest.empty() ? std::string(first) : std::string(first) + " " + std::string(rest);
    titled_ = true;
  } else if (w == "cs") {
    const std::string_view first = line.Next();
    if (SameWord(first, "out")) {
      if (!csOut_) survey_.CoordinateSystem = std::string(line.Rest());
      csOut_ = true;
    }
  } else if (w == "team" || w == "instrument" || w == "ref" || w == "copyright" || w == "require" || w == "solve") {
    // Kept by nothing the survey model holds; read and passed over.
  } else {
    Fail("unknown command *" + std::string(word));
  }
}

double TSvxParser::Number(std::string_view field, const char* what) const {
  double value = 0;
  if (!ParseSvxNumber(field, s_.Chars, value))
    Fail(std::string(what) + ": expected a number, found \"" + std::string(field) + "\"");
  return value;
}

std::string TSvxParser::NamePart(std::string_view part) const {
  std::string out(part);
  if (s_.Case == TSvxCase::Lower) {
    for (char& c : out) c = AsciiLower(c);
  } else if (s_.Case == TSvxCase::Upper) {
    for (char& c : out) c = AsciiUpper(c);
  }
  if (s_.Truncate > 0 && out.size() > static_cast<size_t>(s_.Truncate)) {
    // Cut at a character boundary of the UTF-8 text.
    size_t cut = static_cast<size_t>(s_.Truncate);
    while (cut > 0 && (static_cast<uint8_t>(out[cut]) & 0xC0) == 0x80) --cut;
    out.resize(cut);
  }
  return out;
}

std::string TSvxParser::FullName(std::string_view field, const std::string& prefix) const {
  std::string full;
  if (!field.empty() && s_.Chars.Is(field[0], ccRoot)) {
    field.remove_prefix(1);
  } else {
    full = prefix;
  }
  size_t start = 0;
  for (size_t i = 0; i <= field.size(); ++i) {
    if (i < field.size() && !s_.Chars.Is(field[i], ccSeparator)) {
      if (!s_.Chars.IsNameChar(field[i]))
        Fail("character \"" + std::string(1, field[i]) + "\" is not allowed in the name \"" + std::string(field) +
             "\"");
      continue;
    }
    if (i == start) Fail("the name \"" + std::string(field) + "\" has an empty part");
    if (!full.empty()) full += '.';
    full += NamePart(field.substr(start, i - start));
    start = i + 1;
  }
  return full;
}

int32_t TSvxParser::NamedStation(std::string_view field) {
  if (field.empty()) Fail("a station name is missing");
  return names_.Id(FullName(field, s_.Prefix));
}

void TSvxParser::Begin(TSvxLine& line) {
  const std::string_view name = line.Next();
  blocks_.push_back(TBlock{s_, std::string(name), file_, line_});
  if (!name.empty()) s_.Prefix = FullName(name, s_.Prefix);
}

void TSvxParser::End(TSvxLine& line) {
  const std::string_view name = line.Next();
  if (blocks_.empty() || blocks_.back().File != file_) Fail("*end with no matching *begin in this file");
  const TBlock& block = blocks_.back();
  if (!name.empty() &&
      (block.Name.empty() || FullName(name, block.Saved.Prefix) != FullName(block.Name, block.Saved.Prefix)))
    Fail("*end " + std::string(name) + " does not match *begin " + (block.Name.empty() ? "(no name)" : block.Name) +
         " on line " + std::to_string(block.Line));
  s_ = block.Saved;
  blocks_.pop_back();
}

void TSvxParser::Equate(TSvxLine& line) {
  const int32_t first = NamedStation(line.Next());
  if (line.AtEnd()) Fail("*equate needs at least two stations");
  while (!line.AtEnd()) names_.Equate(first, NamedStation(line.Next()));
}

void TSvxParser::Fix(TSvxLine& line) {
  TSvxRawFix fix;
  fix.Name = NamedStation(line.Next());
  fix.File = file_;
  fix.Line = line_;
  std::vector<double> values;
  while (!line.AtEnd()) {
    const std::string_view field = line.Next();
    if (values.empty() && !fix.Reference && SameWord(field, "reference")) {
      fix.Reference = true;
      continue;
    }
    values.push_back(Number(field, "*fix"));
  }
  const size_t n = values.size();
  if (n != 0 && n != 3 && n != 4 && n != 5 && n != 6 && n != 9)
    Fail("*fix takes a station, optionally REFERENCE, then x y z and one, two, three or six standard errors");
  if (n >= 3) fix.Position = MakeVec3(values[0], values[1], values[2]);
  if (n == 4) fix.Sd = MakeVec3(values[3], values[3], values[3]);
  if (n == 5) fix.Sd = MakeVec3(values[3], values[3], values[4]);
  if (n >= 6) fix.Sd = MakeVec3(values[3], values[4], values[5]);
  fixes_.push_back(fix);
}

void TSvxParser::MarkStations(TSvxLine& line, uint8_t flags, const char* command) {
  if (line.AtEnd()) Fail(std::string(command) + " needs a station");
  while (!line.AtEnd()) names_.AddFlags(NamedStation(line.Next()), flags);
}

void TSvxParser::Date(TSvxLine& line) {
  const std::string_view text = line.Next();
  const size_t dash = text.find('-');
  int32_t first = 0, last = 0, first2 = 0, last2 = 0;
  const bool ok = dash == std::string_view::npos
                      ? ParseDate(text, first, last)
                      : ParseDate(text.substr(0, dash), first, last) && ParseDate(text.substr(dash + 1), first2, last2);
  if (!ok || !line.AtEnd())
    Fail("*date: expected YYYY[.MM[.DD]][-YYYY[.MM[.DD]]], found \"" + std::string(text) + "\"");
  if (dash != std::string_view::npos) last = last2;
  if (last < first) Fail("*date: the range \"" + std::string(text) + "\" ends before it begins");
  s_.Dates = TSurveyDates{first, last};
}

std::vector<TSvxQuantity> TSvxParser::Quantities(TSvxLine& line, std::string_view& next, const char* command) const {
  std::vector<TSvxQuantity> list;
  for (next = line.Next(); !next.empty(); next = line.Next()) {
    const std::optional<TSvxQuantity> q = SvxQuantityOf(next);
    if (!q) break;
    list.push_back(*q);
  }
  if (list.empty())
    Fail(std::string(command) + ": expected a quantity such as TAPE or COMPASS, found \"" + std::string(next) + "\"");
  return list;
}

void TSvxParser::Units(TSvxLine& line) {
  TSvxLine peek = line;
  if (SameWord(peek.Next(), "default") && peek.AtEnd()) {
    s_.DefaultUnits();
    return;
  }
  std::string_view next;
  const std::vector<TSvxQuantity> list = Quantities(line, next, "*units");
  double factor = 1;
  if (ParseSvxNumber(next, s_.Chars, factor)) {
    if (factor == 0) Fail("*units: the factor must not be zero");
    next = line.Next();
  }
  for (const TSvxQuantity q : list) {
    std::optional<TSvxUnit> unit = SvxUnitOf(next, q);
    if (!unit) Fail("*units: \"" + std::string(next) + "\" is not a unit of this quantity");
    unit->PerUnit *= factor;
    s_.Units[Index(q)] = *unit;
  }
  if (!line.AtEnd()) Fail("*units: unexpected \"" + std::string(line.Next()) + "\"");
}

void TSvxParser::Calibrate(TSvxLine& line) {
  TSvxLine peek = line;
  if (SameWord(peek.Next(), "default") && peek.AtEnd()) {
    s_.DefaultCalibrations();
    return;
  }
  std::string_view next;
  const std::vector<TSvxQuantity> list = Quantities(line, next, "*calibrate");
  const double zero = Number(next, "*calibrate zero error");
  next = line.Next();
  bool explicitUnits = false;
  std::optional<TSvxUnit> unit;
  double scaleGiven = 0;
  if (!next.empty() && !ParseSvxNumber(next, s_.Chars, scaleGiven)) {
    explicitUnits = true;
    for (const TSvxQuantity q : list) {
      unit = SvxUnitOf(next, q);
      if (!unit || unit->Kind == TSvxUnit::Quadrants)
        Fail("*calibrate: \"" + std::string(next) + "\" is not a unit of this quantity");
    }
    next = line.Next();
  }
  double scale = 1;
  if (!next.empty()) {
    scale = Number(next, "*calibrate scale");
    if (scale == 0) Fail("*calibrate: the scale must not be zero");
  }
  if (!line.AtEnd()) Fail("*calibrate: unexpected \"" + std::string(line.Next()) + "\"");
  for (const TSvxQuantity q : list) {
    const TSvxUnit& reading = s_.Units[Index(q)];
    if (q == TSvxQuantity::Declination) {
      if (scale != 1) Fail("*calibrate declination takes no scale");
      // A zero error has the opposite sign of the declination it stands for.
      s_.Declination = -zero * (explicitUnits ? unit->PerUnit : reading.PerUnit);
      continue;
    }
    const double perUnit = explicitUnits ? unit->PerUnit : reading.PerUnit;
    s_.Calibrations[Index(q)] = TSvxCalibration{zero * perUnit, scale, explicitUnits};
  }
}

void TSvxParser::Declination(TSvxLine& line) {
  const std::string_view first = line.Next();
  if (SameWord(first, "auto")) {
    if (!options_.AutoDeclination)
      Fail(
          "*declination auto needs a magnetic field model, which this reader does not have: give the "
          "declination as *declination <value> <units>, or give a fixed declination for it in the reader's options");
    s_.Declination = *options_.AutoDeclination;
    return;
  }
  const double value = Number(first, "*declination");
  const std::string_view units = line.Next();
  const std::optional<TSvxUnit> unit = SvxUnitOf(units, TSvxQuantity::Declination);
  if (!unit || unit->Kind != TSvxUnit::Factor)
    Fail("*declination: expected units such as DEGREES after the value, found \"" + std::string(units) + "\"");
  s_.Declination = value * unit->PerUnit;
}

void TSvxParser::Sd(TSvxLine& line) {
  std::string_view next;
  const std::vector<TSvxQuantity> list = Quantities(line, next, "*sd");
  const double value = Number(next, "*sd");
  if (value < 0) Fail("*sd: a standard deviation cannot be negative");
  const std::string_view units = line.Next();
  for (const TSvxQuantity q : list) {
    const std::optional<TSvxUnit> unit = SvxUnitOf(units, q);
    if (!unit || unit->Kind != TSvxUnit::Factor)
      Fail("*sd: expected units such as METRES or DEGREES after the value, found \"" + std::string(units) + "\"");
    s_.Sd[Index(q)] = value * unit->PerUnit;
  }
}

void TSvxParser::Flags(TSvxLine& line) {
  bool negate = false;
  while (!line.AtEnd()) {
    const std::string_view word = line.Next();
    if (SameWord(word, "not")) {
      negate = true;
      continue;
    }
    uint8_t flag = 0;
    if (SameWord(word, "surface"))
      flag = lfSurface;
    else if (SameWord(word, "duplicate"))
      flag = lfDuplicate;
    else if (SameWord(word, "splay"))
      flag = lfSplay;
    else
      Fail("*flags: unknown flag \"" + std::string(word) + "\"");
    s_.LegFlags = negate ? static_cast<uint8_t>(s_.LegFlags & ~flag) : static_cast<uint8_t>(s_.LegFlags | flag);
    negate = false;
  }
  if (negate) Fail("*flags: NOT with no flag after it");
}

void TSvxParser::Set(TSvxLine& line) {
  const std::string_view item = line.Next();
  std::string chars;
  for (std::string_view part = line.Next(); !part.empty(); part = line.Next()) {
    for (size_t i = 0; i < part.size(); ++i) {
      auto hex = [](char c) {
        if (c >= '0' && c <= '9') return c - '0';
        c = AsciiLower(c);
        return c >= 'a' && c <= 'f' ? c - 'a' + 10 : -1;
      };
      if ((part[i] == 'x' || part[i] == 'X') && i + 2 < part.size() && hex(part[i + 1]) >= 0 && hex(part[i + 2]) >= 0) {
        chars += static_cast<char>(hex(part[i + 1]) * 16 + hex(part[i + 2]));
        i += 2;
      } else {
        chars += part[i];
      }
    }
  }
  static constexpr std::pair<std::string_view, TSvxCharClass> kItems[] = {
      {"blank", ccBlank},         {"comment", ccComment}, {"decimal", ccDecimal}, {"keyword", ccKeyword},
      {"minus", ccMinus},         {"plus", ccPlus},       {"names", ccNames},     {"omit", ccOmit},
      {"separator", ccSeparator}, {"root", ccRoot},
  };
  const auto found = std::find_if(std::begin(kItems), std::end(kItems),
                                  [&](const auto& entry) { return SameWord(item, entry.first); });
  if (found == std::end(kItems)) {
    if (SameWord(item, "eol")) Fail("*set eol is not supported: lines end with LF, CR LF or CR");
    Fail("*set: unknown item \"" + std::string(item) + "\"");
  }
  for (const char c : chars)
    if (IsAsciiAlnum(c)) Fail("*set: \"" + std::string(1, c) + "\" is a letter or digit and cannot be special");
  s_.Chars.Set(found->second, chars);
}

void TSvxParser::Case(TSvxLine& line) {
  const std::string_view word = line.Next();
  if (SameWord(word, "preserve"))
    s_.Case = TSvxCase::Preserve;
  else if (SameWord(word, "toupper"))
    s_.Case = TSvxCase::Upper;
  else if (SameWord(word, "tolower"))
    s_.Case = TSvxCase::Lower;
  else
    Fail("*case: expected PRESERVE, TOUPPER or TOLOWER, found \"" + std::string(word) + "\"");
}

void TSvxParser::Truncate(TSvxLine& line) {
  const std::string_view word = line.Next();
  if (SameWord(word, "off")) {
    s_.Truncate = 0;
    return;
  }
  const double length = Number(word, "*truncate");
  if (length < 1 || length > 1e6 || length != std::floor(length))
    Fail("*truncate: expected a whole number of characters or OFF, found \"" + std::string(word) + "\"");
  s_.Truncate = static_cast<int32_t>(length);
}

void TSvxParser::Infer(TSvxLine& line) {
  const std::string_view what = line.Next();
  const std::string_view value = line.Next();
  bool on = false;
  if (!IsOnOff(value, on)) Fail("*infer: expected ON or OFF, found \"" + std::string(value) + "\"");
  if (SameWord(what, "plumbs"))
    s_.InferPlumbs = on;
  else if (SameWord(what, "equates"))
    s_.InferEquates = on;
  else if (SameWord(what, "exports"))
    s_.InferExports = on;
  else
    Fail("*infer: expected PLUMBS, EQUATES or EXPORTS, found \"" + std::string(what) + "\"");
}

void TSvxParser::Alias(TSvxLine& line) {
  const std::string_view kind = line.Next();
  const std::string_view alias = line.Next();
  const std::string_view target = line.Next();
  const bool dash = alias.size() == 1 && alias[0] == '-';
  const bool wall = target.size() == 2 && s_.Chars.Is(target[0], ccSeparator) && s_.Chars.Is(target[1], ccSeparator);
  if (!SameWord(kind, "station") || !dash || !(target.empty() || wall) || !line.AtEnd())
    Fail("*alias: only \"*alias station - ..\" and \"*alias station -\" are supported");
  s_.DashIsWallStation = !target.empty();
}

void TSvxParser::Prefix(TSvxLine& line) {
  const std::string_view name = line.Next();
  if (name.empty()) Fail("*prefix needs a survey name");
  s_.Prefix = FullName(name, std::string());
}

void TSvxParser::Default(TSvxLine& line) {
  for (std::string_view word = line.Next(); !word.empty(); word = line.Next()) {
    const bool all = SameWord(word, "all");
    bool known = all;
    if (all || SameWord(word, "calibrate")) s_.DefaultCalibrations(), known = true;
    if (all || SameWord(word, "data")) s_.DefaultData(), known = true;
    if (all || SameWord(word, "units")) s_.DefaultUnits(), known = true;
    if (!known) Fail("*default: expected CALIBRATE, DATA, UNITS or ALL, found \"" + Upper(word) + "\"");
  }
}
