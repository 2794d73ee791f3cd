#include "analysis/analysis_format.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <optional>
#include <string>
#include <string_view>

std::string StationLabel(const TSurvey& survey, int32_t s) {
  const std::string_view name = survey.MainName(s);
  return name.empty() ? "#" + std::to_string(s) : std::string(name);
}

namespace {

struct TLegSource {
  std::string File;
  int32_t Line = 0;  // 0 when unknown
};

TLegSource SourceOf(const TSurvey& survey, int32_t leg) {
  TLegSource source;
  if (!survey.HasMeasurements()) return source;
  const TLegMeasurement& m = survey.Measurements[static_cast<size_t>(leg)];
  if (m.File >= 0 && m.File < static_cast<int32_t>(survey.Files.size()))
    source.File = survey.Files[static_cast<size_t>(m.File)];
  source.Line = m.Line;
  return source;
}

std::string SourceText(const TLegSource& source) {
  if (source.File.empty() && source.Line <= 0) return "-";
  return source.File + ":" + (source.Line > 0 ? std::to_string(source.Line) : "?");
}

}  // namespace

std::string LegSourceText(const TSurvey& survey, int32_t leg) { return SourceText(SourceOf(survey, leg)); }

namespace {

using TCell = std::optional<std::string>;  // nothing: a figure that cannot be known

constexpr int kMetres = 4, kPercent = 3, kFigure = 3;

TCell Fixed(double x, int decimals) {
  if (!std::isfinite(x)) return std::nullopt;
  char buffer[64];
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, x, std::chars_format::fixed, decimals);
  std::string text(buffer, result.ptr);
  // A value that rounds to zero is written without a sign.
  if (text.front() == '-' && text.find_first_not_of("-0.") == std::string::npos) text.erase(0, 1);
  return text;
}

std::string_view StatusName(TLoopStatus status) {
  switch (status) {
    case TLoopStatus::Measured:
      return "measured";
    case TLoopStatus::Unmeasured:
      return "unmeasured";
    case TLoopStatus::NotClosed:
      return "not_closed";
  }
  return "not_closed";
}

std::string_view UnitOf(TBlunderKind kind) { return kind == TBlunderKind::Tape ? "m" : "deg"; }

// JSON strings are UTF-8: a byte that starts no valid UTF-8 sequence is taken as Latin-1.
void WriteJsonString(std::ostream& out, std::string_view text) {
  out << '"';
  for (size_t i = 0; i < text.size();) {
    const auto c = static_cast<unsigned char>(text[i]);
    if (c == '"' || c == '\\') {
      out << '\\' << text[i++];
    } else if (c < 0x20) {
      static constexpr char kHex[] = "0123456789abcdef";
      out << "\\u00" << kHex[c >> 4] << kHex[c & 15];
      ++i;
    } else if (c < 0x80) {
      out << text[i++];
    } else {
      size_t length = c >= 0xf0 && c < 0xf5 ? 4 : c >= 0xe0 ? 3 : c >= 0xc2 && c < 0xe0 ? 2 : 0;
      bool valid = length > 0 && i + length <= text.size();
      for (size_t k = 1; valid && k < length; ++k) valid = (static_cast<unsigned char>(text[i + k]) & 0xc0) == 0x80;
      if (valid) {
        out << text.substr(i, length);
        i += length;
      } else {
        // Latin-1 byte c as UTF-8.
        out << static_cast<char>(0xc0 | (c >> 6)) << static_cast<char>(0x80 | (c & 0x3f));
        ++i;
      }
    }
  }
  out << '"';
}

void WriteJsonNumber(std::ostream& out, const TCell& cell) { out << (cell ? *cell : "null"); }

void WriteCsvField(std::ostream& out, std::string_view text) {
  const bool quote = text.find_first_of(",\"\r\n") != std::string_view::npos ||
                     (!text.empty() && (text.front() == ' ' || text.back() == ' '));
  if (!quote) {
    out << text;
    return;
  }
  out << '"';
  for (const char c : text) out << (c == '"' ? "\"\"" : std::string_view(&c, 1));
  out << '"';
}

void WriteCsvRecord(std::ostream& out, const std::vector<TCell>& cells) {
  for (size_t i = 0; i < cells.size(); ++i) {
    if (i > 0) out << ',';
    if (cells[i]) WriteCsvField(out, *cells[i]);
  }
  out << '\n';
}

// Aligned text columns: numbers to the right, words to the left; the last
// column is not padded.
class TTextTable {
 public:
  explicit TTextTable(std::vector<std::pair<std::string, bool>> header) : rightAligned_() {
    std::vector<TCell> row;
    for (auto& [title, right] : header) {
      row.emplace_back(std::move(title));
      rightAligned_.push_back(right);
    }
    rows_.push_back(std::move(row));
  }
  void Add(std::vector<TCell> row) { rows_.push_back(std::move(row)); }
  void Write(std::ostream& out) const {
    std::vector<size_t> width(rightAligned_.size(), 0);
    for (const auto& row : rows_)
      for (size_t c = 0; c < row.size(); ++c) width[c] = std::max(width[c], row[c] ? row[c]->size() : 1);
    for (const auto& row : rows_) {
      std::string line;
      for (size_t c = 0; c < row.size(); ++c) {
        const std::string text = row[c] ? *row[c] : "-";
        const std::string pad(width[c] - text.size(), ' ');
        if (c > 0) line += "  ";
        if (rightAligned_[c])
          line += pad + text;
        else
          line += c + 1 == row.size() ? text : text + pad;
      }
      while (!line.empty() && line.back() == ' ') line.pop_back();
      out << line << '\n';
    }
  }

 private:
  std::vector<std::vector<TCell>> rows_;
  std::vector<bool> rightAligned_;
};

std::string JoinStations(const TSurvey& survey, const std::vector<int32_t>& stations) {
  std::string text;
  for (const int32_t s : stations) {
    if (!text.empty()) text += ' ';
    text += StationLabel(survey, s);
  }
  return text;
}

size_t Limit(size_t count, int32_t top) { return top < 0 ? count : std::min(count, static_cast<size_t>(top)); }

// ---- misclosures ----

void MisclosureText(std::ostream& out, const TSurvey& survey, const std::vector<TLoopMisclosure>& loops, size_t shown) {
  size_t measured = 0;
  for (const TLoopMisclosure& loop : loops) measured += loop.Status == TLoopStatus::Measured;
  out << "# " << loops.size() << " loops, " << measured << " measured";
  if (shown < loops.size()) out << ", " << shown << " shown";
  out << '\n';
  TTextTable table({{"index", true},
                    {"legs", true},
                    {"length (m)", true},
                    {"east (m)", true},
                    {"north (m)", true},
                    {"up (m)", true},
                    {"error (m)", true},
                    {"error (%)", true},
                    {"ratio", true},
                    {"status", false},
                    {"stations", false}});
  for (size_t i = 0; i < shown; ++i) {
    const TLoopMisclosure& loop = loops[i];
    table.Add({std::to_string(loop.Index), std::to_string(loop.Legs), Fixed(loop.Length, kMetres),
               Fixed(loop.Misclosure.X, kMetres), Fixed(loop.Misclosure.Y, kMetres), Fixed(loop.Misclosure.Z, kMetres),
               Fixed(loop.Error, kMetres), Fixed(loop.ErrorPercent, kPercent), Fixed(loop.Ratio, kFigure),
               std::string(StatusName(loop.Status)), JoinStations(survey, loop.Stations)});
  }
  table.Write(out);
}

void MisclosureCsv(std::ostream& out, const TSurvey& survey, const std::vector<TLoopMisclosure>& loops, size_t shown) {
  out << "index,legs,length_m,east_m,north_m,up_m,error_m,error_percent,ratio,status,unmeasured_legs,stations\n";
  for (size_t i = 0; i < shown; ++i) {
    const TLoopMisclosure& loop = loops[i];
    WriteCsvRecord(
        out, {std::to_string(loop.Index), std::to_string(loop.Legs), Fixed(loop.Length, kMetres),
              Fixed(loop.Misclosure.X, kMetres), Fixed(loop.Misclosure.Y, kMetres), Fixed(loop.Misclosure.Z, kMetres),
              Fixed(loop.Error, kMetres), Fixed(loop.ErrorPercent, kPercent), Fixed(loop.Ratio, kFigure),
              std::string(StatusName(loop.Status)), std::to_string(loop.UnmeasuredLegs),
              JoinStations(survey, loop.Stations)});
  }
}

void MisclosureJson(std::ostream& out, const TSurvey& survey, const std::vector<TLoopMisclosure>& loops, size_t shown) {
  out << "{\"loops\": [";
  for (size_t i = 0; i < shown; ++i) {
    const TLoopMisclosure& loop = loops[i];
    out << (i == 0 ? "\n  " : ",\n  ") << "{\"index\": " << loop.Index << ", \"legs\": " << loop.Legs
        << ", \"length_m\": ";
    WriteJsonNumber(out, Fixed(loop.Length, kMetres));
    out << ", \"misclosure_m\": {\"east\": ";
    WriteJsonNumber(out, Fixed(loop.Misclosure.X, kMetres));
    out << ", \"north\": ";
    WriteJsonNumber(out, Fixed(loop.Misclosure.Y, kMetres));
    out << ", \"up\": ";
    WriteJsonNumber(out, Fixed(loop.Misclosure.Z, kMetres));
    out << "}, \"error_m\": ";
    WriteJsonNumber(out, Fixed(loop.Error, kMetres));
    out << ", \"error_percent\": ";
    WriteJsonNumber(out, Fixed(loop.ErrorPercent, kPercent));
    out << ", \"ratio\": ";
    WriteJsonNumber(out, Fixed(loop.Ratio, kFigure));
    out << ", \"status\": \"" << StatusName(loop.Status) << "\", \"unmeasured_legs\": " << loop.UnmeasuredLegs
        << ", \"stations\": [";
    for (size_t k = 0; k < loop.Stations.size(); ++k) {
      if (k > 0) out << ", ";
      WriteJsonString(out, StationLabel(survey, loop.Stations[k]));
    }
    out << "]}";
  }
  out << (shown > 0 ? "\n]}\n" : "]}\n");
}

// ---- blunders ----

// The cells of one suspect or checked leg, in the CSV order after status and rank.
struct TLegCells {
  std::string From, To;
  TLegSource Source;
  TCell W, Kind, Change, Unit, Drop, Explained, East, North, Up, Redundancy;
  std::string Loops;
};

TLegCells CellsOf(const TSurvey& survey, const TLegCheck& check) {
  TLegCells cells;
  const TSurveyLeg& leg = survey.Legs[static_cast<size_t>(check.Leg)];
  cells.From = StationLabel(survey, leg.From);
  cells.To = StationLabel(survey, leg.To);
  cells.Source = SourceOf(survey, check.Leg);
  cells.W = Fixed(check.W, kFigure);
  if (check.Described) {
    cells.Kind = std::string(BlunderKindName(check.Fit.Kind));
    cells.Change = Fixed(check.Fit.Change, kFigure);
    cells.Unit = std::string(UnitOf(check.Fit.Kind));
    cells.Drop = Fixed(check.DropPercent, kPercent);
    cells.Explained = Fixed(check.Explained, kFigure);
  }
  cells.East = Fixed(check.Residual.X, kMetres);
  cells.North = Fixed(check.Residual.Y, kMetres);
  cells.Up = Fixed(check.Residual.Z, kMetres);
  cells.Redundancy = Fixed(check.Redundancy, kFigure);
  for (const int32_t loop : check.Loops) cells.Loops += (cells.Loops.empty() ? "" : " ") + std::to_string(loop);
  return cells;
}

// The legs listed: suspects, then with All the checked legs, at most Top.
std::vector<const TLegCheck*> ListedLegs(const TBlunderReport& report, const TReportOptions& options,
                                         size_t& suspects) {
  std::vector<const TLegCheck*> legs;
  for (const TLegCheck& check : report.Suspects) legs.push_back(&check);
  suspects = legs.size();
  if (options.All)
    for (const TLegCheck& check : report.Checked) legs.push_back(&check);
  legs.resize(Limit(legs.size(), options.Top));
  suspects = std::min(suspects, legs.size());
  return legs;
}

void BlunderText(std::ostream& out, const TSurvey& survey, const TBlunderReport& report,
                 const TReportOptions& options) {
  size_t suspects = 0;
  const std::vector<const TLegCheck*> legs = ListedLegs(report, options, suspects);
  out << "# " << report.Suspects.size() << " suspects (w > " << *Fixed(report.Critical, 2) << ") among "
      << report.Suspects.size() + report.Checked.size() << " checked legs, " << report.Unchecked.size()
      << " unchecked; variance factor " << Fixed(report.VarianceFactor, kFigure).value_or("-") << '\n';
  TTextTable table({{"rank", true},
                    {"w", true},
                    {"kind", false},
                    {"change", true},
                    {"unit", false},
                    {"drop (%)", true},
                    {"explained", true},
                    {"residual east (m)", true},
                    {"north (m)", true},
                    {"up (m)", true},
                    {"redundancy", true},
                    {"from", false},
                    {"to", false},
                    {"source", false}});
  for (size_t i = 0; i < legs.size(); ++i) {
    TLegCells c = CellsOf(survey, *legs[i]);
    table.Add({std::to_string(i + 1), c.W, c.Kind, c.Change, c.Unit, c.Drop, c.Explained, c.East, c.North, c.Up,
               c.Redundancy, c.From, c.To, SourceText(c.Source)});
  }
  table.Write(out);
  if (report.Unchecked.empty()) return;
  out << "\n# " << report.Unchecked.size() << " unchecked legs\n";
  TTextTable unchecked({{"from", false}, {"to", false}, {"source", false}, {"reason", false}});
  for (const TUncheckedLeg& u : report.Unchecked) {
    const TSurveyLeg& leg = survey.Legs[static_cast<size_t>(u.Leg)];
    unchecked.Add({StationLabel(survey, leg.From), StationLabel(survey, leg.To), SourceText(SourceOf(survey, u.Leg)),
                   std::string(UncheckedReasonName(u.Reason))});
  }
  unchecked.Write(out);
}

void BlunderCsv(std::ostream& out, const TSurvey& survey, const TBlunderReport& report, const TReportOptions& options) {
  size_t suspects = 0;
  const std::vector<const TLegCheck*> legs = ListedLegs(report, options, suspects);
  out << "status,rank,from,to,file,line,w,kind,change,unit,drop_percent,explained,residual_east_m,residual_north_m,"
         "residual_up_m,redundancy,loops,reason\n";
  for (size_t i = 0; i < legs.size(); ++i) {
    TLegCells c = CellsOf(survey, *legs[i]);
    WriteCsvRecord(
        out, {std::string(i < suspects ? "suspect" : "checked"), std::to_string(i + 1), c.From, c.To, c.Source.File,
              c.Source.Line > 0 ? TCell(std::to_string(c.Source.Line)) : std::nullopt, c.W, c.Kind, c.Change, c.Unit,
              c.Drop, c.Explained, c.East, c.North, c.Up, c.Redundancy, c.Loops, std::nullopt});
  }
  for (const TUncheckedLeg& u : report.Unchecked) {
    const TSurveyLeg& leg = survey.Legs[static_cast<size_t>(u.Leg)];
    const TLegSource source = SourceOf(survey, u.Leg);
    std::vector<TCell> cells{std::string("unchecked"),
                             std::nullopt,
                             StationLabel(survey, leg.From),
                             StationLabel(survey, leg.To),
                             source.File,
                             source.Line > 0 ? TCell(std::to_string(source.Line)) : std::nullopt};
    cells.resize(17);
    cells.emplace_back(std::string(UncheckedReasonName(u.Reason)));
    WriteCsvRecord(out, cells);
  }
}

void JsonSource(std::ostream& out, const TLegSource& source) {
  out << ", \"file\": ";
  if (source.File.empty())
    out << "null";
  else
    WriteJsonString(out, source.File);
  out << ", \"line\": ";
  if (source.Line > 0)
    out << source.Line;
  else
    out << "null";
}

void JsonLeg(std::ostream& out, const TSurvey& survey, const TLegCheck& check, size_t rank) {
  const TLegCells c = CellsOf(survey, check);
  out << "{\"rank\": " << rank << ", \"from\": ";
  WriteJsonString(out, c.From);
  out << ", \"to\": ";
  WriteJsonString(out, c.To);
  JsonSource(out, c.Source);
  out << ", \"w\": ";
  WriteJsonNumber(out, c.W);
  out << ", \"kind\": ";
  if (c.Kind)
    out << '"' << *c.Kind << '"';
  else
    out << "null";
  out << ", \"change\": ";
  WriteJsonNumber(out, c.Change);
  out << ", \"unit\": ";
  if (c.Unit)
    out << '"' << *c.Unit << '"';
  else
    out << "null";
  out << ", \"drop_percent\": ";
  WriteJsonNumber(out, c.Drop);
  out << ", \"explained\": ";
  WriteJsonNumber(out, c.Explained);
  out << ", \"residual_m\": {\"east\": ";
  WriteJsonNumber(out, c.East);
  out << ", \"north\": ";
  WriteJsonNumber(out, c.North);
  out << ", \"up\": ";
  WriteJsonNumber(out, c.Up);
  out << "}, \"redundancy\": ";
  WriteJsonNumber(out, c.Redundancy);
  out << ", \"loops\": [";
  for (size_t k = 0; k < check.Loops.size(); ++k) out << (k > 0 ? ", " : "") << check.Loops[k];
  out << "]}";
}

void BlunderJson(std::ostream& out, const TSurvey& survey, const TBlunderReport& report,
                 const TReportOptions& options) {
  size_t suspects = 0;
  const std::vector<const TLegCheck*> legs = ListedLegs(report, options, suspects);
  out << "{\"critical\": " << *Fixed(report.Critical, kFigure) << ", \"variance_factor\": ";
  WriteJsonNumber(out, Fixed(report.VarianceFactor, kFigure));
  out << ", \"redundancy\": ";
  WriteJsonNumber(out, Fixed(report.Redundancy, kFigure));
  const auto list = [&](std::string_view name, size_t first, size_t last) {
    out << ",\n\"" << name << "\": [";
    for (size_t i = first; i < last; ++i) {
      out << (i == first ? "\n  " : ",\n  ");
      JsonLeg(out, survey, *legs[i], i + 1);
    }
    out << (last > first ? "\n]" : "]");
  };
  list("suspects", 0, suspects);
  if (options.All) list("checked", suspects, legs.size());
  out << ",\n\"unchecked\": [";
  for (size_t i = 0; i < report.Unchecked.size(); ++i) {
    const TUncheckedLeg& u = report.Unchecked[i];
    const TSurveyLeg& leg = survey.Legs[static_cast<size_t>(u.Leg)];
    out << (i == 0 ? "\n  " : ",\n  ") << "{\"from\": ";
    WriteJsonString(out, StationLabel(survey, leg.From));
    out << ", \"to\": ";
    WriteJsonString(out, StationLabel(survey, leg.To));
    JsonSource(out, SourceOf(survey, u.Leg));
    out << ", \"reason\": \"" << UncheckedReasonName(u.Reason) << "\"}";
  }
  out << (report.Unchecked.empty() ? "]}\n" : "\n]}\n");
}

}  // namespace

void WriteMisclosures(std::ostream& out, const TSurvey& survey, const std::vector<TLoopMisclosure>& loops,
                      const TReportOptions& options) {
  const size_t shown = Limit(loops.size(), options.Top);
  switch (options.Format) {
    case TReportFormat::Text:
      MisclosureText(out, survey, loops, shown);
      break;
    case TReportFormat::Csv:
      MisclosureCsv(out, survey, loops, shown);
      break;
    case TReportFormat::Json:
      MisclosureJson(out, survey, loops, shown);
      break;
  }
}

void WriteBlunders(std::ostream& out, const TSurvey& survey, const TBlunderReport& report,
                   const TReportOptions& options) {
  switch (options.Format) {
    case TReportFormat::Text:
      BlunderText(out, survey, report, options);
      break;
    case TReportFormat::Csv:
      BlunderCsv(out, survey, report, options);
      break;
    case TReportFormat::Json:
      BlunderJson(out, survey, report, options);
      break;
  }
}
