#include "surveys/survey_summary.h"

#include <charconv>
#include <cstdio>
#include <numeric>

namespace {

std::string Shown(const std::string& text) {
  std::string shown = text;
  for (char& c : shown) {
    const auto b = static_cast<unsigned char>(c);
    if (b < 0x20 || b == 0x7f) c = ' ';
  }
  return shown;
}

std::string Kept(int64_t count, bool kept) { return std::to_string(count) + (kept ? " kept" : " left out"); }

}  // namespace

std::string FormatDrawingScale(double scale) {
  char buffer[400];
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, scale, std::chars_format::fixed);
  return std::string(buffer, result.ptr);
}

int64_t CountPieces(const TSurveyGraph& graph) {
  std::vector<int32_t> parent(static_cast<size_t>(graph.StationCount()));
  std::iota(parent.begin(), parent.end(), 0);
  const auto root = [&parent](int32_t s) {
    while (parent[static_cast<size_t>(s)] != s) {
      int32_t& up = parent[static_cast<size_t>(s)];
      up = parent[static_cast<size_t>(up)];  // path halving
      s = up;
    }
    return s;
  };
  std::vector<bool> touched(parent.size(), false);
  int64_t pieces = 0;
  for (int32_t e = 0; e < graph.Edges.Count(); ++e) {
    const int32_t a = graph.Edges.Froms.Get(e);
    const int32_t b = graph.Edges.Tos.Get(e);
    for (const int32_t s : {a, b}) {
      if (!touched[static_cast<size_t>(s)]) {
        touched[static_cast<size_t>(s)] = true;
        ++pieces;
      }
    }
    const int32_t ra = root(a);
    const int32_t rb = root(b);
    if (ra != rb) {
      parent[static_cast<size_t>(ra)] = rb;
      --pieces;
    }
  }
  return pieces;
}

TSurveyCounts CountSurvey(const TSurvey& survey, const TSurveyNetwork& network, const TSurveyGraph& graph) {
  TSurveyCounts counts;
  counts.Stations = survey.StationCount();
  for (int32_t s = 0; s < survey.StationCount(); ++s) counts.AnonymousStations += survey.NameCount(s) == 0;
  counts.Names = survey.TotalNames();
  counts.SharedPositions = survey.Notes.SharedPositions;
  counts.Legs = survey.LegCount();
  for (const TSurveyLeg& leg : survey.Legs) {
    counts.SplayLegs += (leg.Flags & lfSplay) != 0;
    counts.SurfaceLegs += (leg.Flags & lfSurface) != 0;
    counts.DuplicateLegs += (leg.Flags & lfDuplicate) != 0;
  }
  counts.ZeroLengthLegs = survey.Notes.ZeroLengthLegs;
  counts.SameStationLegs = network.SelfLegsLeftOut;
  counts.NetworkStations = graph.StationCount();
  counts.Shots = graph.Edges.Count();
  counts.Pieces = CountPieces(graph);
  counts.Loops = counts.Shots - counts.NetworkStations + counts.Pieces;
  return counts;
}

std::string FormatSurveyDate(int32_t days) {
  // Civil date from a day count (proleptic Gregorian), counted from
  // 0000-03-01 so that leap days fall at the end of each year.
  const int64_t z = static_cast<int64_t>(days) + 693901;  // 1900-01-01 is day 693,901 after 0000-03-01
  const int64_t era = (z >= 0 ? z : z - 146096) / 146097;
  const int64_t dayOfEra = z - era * 146097;
  const int64_t yearOfEra = (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
  const int64_t dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
  const int64_t mp = (5 * dayOfYear + 2) / 153;
  const int64_t day = dayOfYear - (153 * mp + 2) / 5 + 1;
  const int64_t month = mp < 10 ? mp + 3 : mp - 9;
  const int64_t year = yearOfEra + era * 400 + (month <= 2);
  char text[64];
  std::snprintf(text, sizeof text, "%04lld-%02lld-%02lld", static_cast<long long>(year), static_cast<long long>(month),
                static_cast<long long>(day));
  return text;
}

std::vector<std::string> SurveySummary(const TSurvey& survey, const TLegChoice& choice, const TSurveyNetwork& network,
                                       const TSurveyGraph& graph) {
  const TSurveyCounts c = CountSurvey(survey, network, graph);
  const auto line = [](const char* key, const std::string& value) {
    return value.empty() ? std::string(key) + ":" : std::string(key) + ": " + value;
  };
  const auto number = [&line](const char* key, int64_t value) { return line(key, std::to_string(value)); };
  std::string dates;
  if (survey.Dates.First != TSurveyDates::kNoDate) {
    dates = FormatSurveyDate(survey.Dates.First) + " " + FormatSurveyDate(survey.Dates.Last);
  }
  return {
      line("title", Shown(survey.Title)),
      line("coordinate system", Shown(survey.CoordinateSystem)),
      line("dates", dates),
      line("extended elevation", survey.ExtendedElevation ? "yes" : "no"),
      number("stations", c.Stations),
      number("anonymous stations", c.AnonymousStations),
      number("names", c.Names),
      number("shared positions", c.SharedPositions),
      number("legs", c.Legs),
      line("splay legs", Kept(c.SplayLegs, choice.Splays)),
      line("surface legs", Kept(c.SurfaceLegs, choice.Surface)),
      line("duplicate legs", Kept(c.DuplicateLegs, choice.Duplicates)),
      line("zero-length legs", Kept(c.ZeroLengthLegs, false)),
      line("same-station legs", Kept(c.SameStationLegs, false)),
      number("cross sections", survey.Notes.CrossSections),
      number("traverse errors", static_cast<int64_t>(survey.Notes.TraverseErrors.size())),
      number("network stations", c.NetworkStations),
      number("shots", c.Shots),
      number("pieces", c.Pieces),
      number("loops", c.Loops),
      number("generated names", network.GeneratedNames),
      line("scale", FormatDrawingScale(network.Scale)),
  };
}
