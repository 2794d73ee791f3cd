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

// The largest station or edge count a graph file may declare; a regular
// file may also declare no more than it has bytes.
inline constexpr int32_t kMaxGraphFileCount = 16777216;

// Writes graph to fileName with CR LF line ends, through TSafeFile: the file
// is replaced only when everything was written, a read-only file is refused,
// a link is followed to the file it names, a device or pipe is written in
// place. On failure any old file is left untouched.
void SaveGraph(const std::string& fileName, const TSurveyGraph& graph);

// Replaces graph by the network in fileName. The whole file is read into a
// fresh graph first, so on any failure graph is left exactly as it was.
void LoadGraph(const std::string& fileName, TSurveyGraph& graph);
