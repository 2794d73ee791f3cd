#pragma once
// Graph files: a plain-text station count, a name line and a position line
// per station, an edge count and one "From To" line per edge.

#include <string>

#include "core/errors.h"
#include "core/survey_graph.h"
#include "support/file_errors.h"

// A failure of a graph file operation. what() is the failure text as the user
// sees it ("File not found", "Invalid numeric input", "I/O error 5", ...).
class EInOutError : public ECyclornError {
 public:
  EInOutError(const std::string& message, int line) : ECyclornError(message), line_(line) {}
  // The file line where the failing token begins, 0 when not about a line.
  int Line() const { return line_; }

 private:
  int line_;
};

// The largest station or edge count a graph file may declare.
inline constexpr int32_t kMaxGraphFileCount = 16777216;

// The most stations, and the most shots, a load adds for records missing at
// the end of a file. A count that leaves more of them missing is refused, so
// that a few bytes cannot make the reader build millions of records.
inline constexpr int32_t kMaxPaddedRecords = 65536;

// What a successful load found missing when the file ended before its
// records did. Missing stations load with empty names at (0, 0, 0), missing
// shot ends as station 0, a missing count as 0.
struct TGraphLoadReport {
  int32_t PaddedStations = 0;  // stations whose record was missing or cut short
  int32_t PaddedShots = 0;     // shots whose edge line was missing or cut short
  bool StationCountMissing = false;
  bool EdgeCountMissing = false;
  // A line skip ran to the end of the file past carriage returns that ended
  // no line (a file with carriage returns alone as line ends).
  bool LoneCarriageReturns = false;
  // The line of the first missing or cut-short record or count; 0 when the
  // file held everything it declared.
  int32_t FromLine = 0;

  bool EndedEarly() const { return FromLine > 0; }
  // One line for the user, "" when nothing was missing, e.g.
  // "File ends early: 3 stations and 0 shots padded from line 4 on, edge count missing".
  std::string Warning() const;
};

// Writes graph to fileName with CR LF line ends, through TSafeFile: the file
// is replaced only when everything was written, a read-only file is refused,
// a link is followed to the file it names, a device or pipe is written in
// place. On failure any old file is left untouched.
void SaveGraph(const std::string& fileName, const TSurveyGraph& graph);

// Replaces graph by the network in fileName and tells what the file lacked.
// Only a regular file is read (a folder, pipe, socket or device is refused
// before it is opened), and no further than its size when opened. The whole
// file is read into a fresh graph first, so on any failure graph is left
// exactly as it was.
TGraphLoadReport LoadGraph(const std::string& fileName, TSurveyGraph& graph);
