#pragma once
// The misclosure and blunder lists as text (aligned columns, units in the
// header), CSV (a header line, then one record per loop or leg) or JSON (one
// object). Station names are full survey names ("#N" for a station without
// a name); numbers are fixed-point with a "." whatever the locale; a figure
// that cannot be known is "-" in text, an empty CSV field and null in JSON.
//
// Misclosures, one record per loop, in the order given (sort first with
// SortMisclosures); JSON {"loops": [...]}:
//   index          position of the loop in the loop list, from 0
//   legs           number of legs going round the loop
//   length_m       sum of the legs' lengths, metres
//   misclosure_m   sum of the legs' vectors going round the loop: JSON object
//                  {"east", "north", "up"}, metres; text and CSV columns
//                  east_m, north_m, up_m
//   error_m        length of the misclosure, metres
//   error_percent  100 x error_m / length_m
//   ratio          sqrt(m^T C^-1 m / 3), m the misclosure, C the sum of the legs'
//                  covariances from their standard deviations: about 1 when
//                  the loop closes as its instruments allow, 3 or more
//                  points at a blunder
//   status         measured | unmeasured (a leg without raw data: no figures)
//                  | not_closed (the loop's edges do not go round: no figures)
//   unmeasured_legs  legs of the loop without raw data
//   stations       the stations going round, each once, starting where the
//                  loop's first leg starts (CSV and text: separated by blanks)
//
// Blunders, JSON {"critical", "variance_factor", "redundancy", "suspects":
// [...], "checked": [...] (only with All), "unchecked": [...]}; CSV one
// record per leg with a first field status = suspect | checked | unchecked;
// text the suspects (and with All the checked legs) then the unchecked legs.
// A suspect or checked leg:
//   rank           1 for the worst leg, in the order listed (suspects, then
//                  checked legs, each by falling w)
//   from, to       the leg's stations as the data gives them
//   file, line     where the leg's readings are (FILE:LINE in text)
//   w              standardised residual: the leg's residual against its exact
//                  covariance, T = v^T Q^-1 v (chi-square, 3 degrees of freedom
//                  without a blunder), given as the standard normal value with
//                  the same tail probability; a suspect has w > critical
//                  (3.29: a two-sided test at 0.1 % per leg). A suspect's w,
//                  kind, change, drop and residual are from the adjustment
//                  with every other suspect taken out, a checked leg's from
//                  the final adjustment without the suspects
//   kind           the single reading change that best explains the residual:
//                  tape | compass | clino | reversed (the leg entered backwards)
//   change         corrected reading = recorded reading + change: metres for
//                  tape, degrees for compass and clino, 180 for reversed
//   unit           m | deg
//   drop_percent   how much the misclosures of the leg's loops (sum of their
//                  lengths) drop when the change is applied, percent; null when
//                  no measured loop of the list runs through the leg
//   explained      share of the leg's statistic T the change removes, 0 .. 1:
//                  near 1 when that one reading explains the blunder
//   residual_m     adjusted minus measured vector: JSON {"east", "north", "up"},
//                  metres; text and CSV residual_east_m, residual_north_m,
//                  residual_up_m
//   redundancy     how much the loops check the leg, 0 .. 3 (3: fully)
//   loops          indices of the loops through the leg (CSV: separated by blanks)
// Checked legs are described (kind, change, drop_percent, explained) only
// when the search was asked to (TBlunderOptions::DescribeChecked); else null.
// An unchecked leg: from, to, file, line, reason = bridge (in no loop of
// measured legs) | suspects (all its loops run through suspects) | weak (its
// loops are far less precise than the leg) | unmeasured (no raw data).
// Text starts with a summary line beginning "#".

#include <cstdint>
#include <ostream>
#include <string>
#include <vector>

#include "analysis/blunders.h"
#include "analysis/loop_misclosure.h"
#include "surveys/survey.h"

enum class TReportFormat : uint8_t { Text, Csv, Json };

struct TReportOptions {
  TReportFormat Format = TReportFormat::Text;
  // At most this many loops, or legs (suspects first, then with All the
  // checked legs); -1 for all. Unchecked legs are always listed in full.
  int32_t Top = -1;
  // Blunders: list every checked leg after the suspects.
  bool All = false;
};

// A station's full survey name, "#N" for a station without a name.
std::string StationLabel(const TSurvey& survey, int32_t station);
// Where a leg's readings are, "FILE:LINE" ("FILE:?" without a line, "-"
// when the survey holds no raw data for it).
std::string LegSourceText(const TSurvey& survey, int32_t leg);

void WriteMisclosures(std::ostream& out, const TSurvey& survey, const std::vector<TLoopMisclosure>& loops,
                      const TReportOptions& options);

void WriteBlunders(std::ostream& out, const TSurvey& survey, const TBlunderReport& report,
                   const TReportOptions& options);
