#include "sources/graph_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <memory>
#include <utility>
#include <vector>

#include "sources/graph_numbers.h"
#include "support/input_file.h"
#include "support/safe_write.h"

namespace {

constexpr size_t kBufferSize = 1 << 16;
constexpr size_t kIntegerTokenLimit = 32;
constexpr size_t kRealTokenLimit = 64;
constexpr const char* kInvalidNumber = "Invalid numeric input";

[[noreturn]] void ThrowErrno(int errorNumber) { throw EInOutError(InOutErrorText(errorNumber), 0); }

// Reads a graph file through one buffer, byte by byte, keeping the line
// number of the byte about to be read.
class TGraphFileReader {
 public:
  explicit TGraphFileReader(const std::string& fileName) : file_(Open(fileName)), buffer_(kBufferSize) {}

  // The next byte, or -1 at the end of the file.
  int Peek() {
    if (pos_ == end_ && !Fill()) return -1;
    return static_cast<unsigned char>(buffer_[pos_]);
  }
  void Advance() {
    if (buffer_[pos_++] == '\n') ++line_;
  }

  int32_t ReadInteger() {
    int32_t value = 0;
    if (ReadToken(kIntegerTokenLimit) && !ParseGraphInteger(token_, value)) Fail(kInvalidNumber);
    return value;
  }
  double ReadReal() {
    double value = 0;
    if (ReadToken(kRealTokenLimit) && !ParseGraphReal(token_, value)) Fail(kInvalidNumber);
    return value;
  }
  // A count line: an integer no larger than the reader will allocate for.
  // Records missing at the end of a file are read as empty ones, so a count
  // is also held to what the file's size and the padding allowed can give.
  int32_t ReadCount(const char* what) {
    if (!ReadToken(kIntegerTokenLimit)) return 0;
    int32_t count = 0;
    if (!ParseGraphInteger(token_, count)) {
      // Plain digits that do not fit in 32 bits: say which limit they pass.
      const size_t start = token_[0] == '+' ? 1 : 0;
      if (token_.size() > start && token_.find_first_not_of("0123456789", start) == std::string::npos)
        FailAbove(what, token_.substr(std::min(token_.find_first_not_of('0', start), token_.size() - 1)));
      Fail(kInvalidNumber);
    }
    if (count > kMaxGraphFileCount) FailAbove(what, std::to_string(count));
    if (count > file_.Size() + kMaxPaddedRecords)
      Fail(std::string(what) + " " + std::to_string(count) + " is more than a file of " + std::to_string(file_.Size()) +
           " bytes can hold");
    return count;
  }
  // The rest of the line up to its line end, which stays unread. A carriage
  // return that does not end the line is left out of the name.
  std::string ReadName() {
    tokenLine_ = line_;
    std::string name;
    if (Peek() == -1) ranOut_ = true;
    for (int c = Peek(); c != -1 && c != '\n'; c = Peek()) {
      Advance();
      if (c == '\r' && Peek() == '\n') break;
      if (c == '\r') continue;
      name += static_cast<char>(c);
      if (name.size() > static_cast<size_t>(TSurveyGraph::kNameWidth))
        Fail("Station name longer than " + std::to_string(TSurveyGraph::kNameWidth) + " bytes");
    }
    return name;
  }
  // Discards everything up to and including the next line feed.
  void SkipLine() {
    bool loneReturn = false;
    for (int c = Peek(); c != -1; c = Peek()) {
      Advance();
      if (c == '\n') return;
      if (c == '\r' && Peek() != '\n' && Peek() != -1) loneReturn = true;
    }
    loneReturns_ = loneReturns_ || loneReturn;
  }
  // Line of the byte about to be read.
  int Line() const { return line_; }
  // Line where the last number or name began.
  int TokenLine() const { return tokenLine_; }
  // True once a name or number was asked for at the end of the file.
  bool RanOut() const { return ranOut_; }
  // True once a line skip ran to the end of the file past a carriage return
  // that ended no line.
  bool SkippedLoneReturns() const { return loneReturns_; }
  [[noreturn]] void Fail(const std::string& message) const { throw EInOutError(message, tokenLine_); }

 private:
  static TInputFile Open(const std::string& fileName) {
    try {
      return TInputFile(fileName);
    } catch (const EFileError& error) {
      throw EInOutError(error.what(), 0);
    }
  }
  [[noreturn]] void FailAbove(const char* what, const std::string& count) const {
    Fail(std::string(what) + " " + count + " is above " + std::to_string(kMaxGraphFileCount));
  }
  bool Fill() {
    size_t got = 0;
    try {
      got = file_.Read(buffer_.data(), buffer_.size());
    } catch (const EFileError& error) {
      throw EInOutError(error.what(), line_);
    }
    if (got == 0) return false;
    pos_ = 0;
    end_ = got;
    return true;
  }
  // Skips bytes up to code 32, then takes the run above 32. False at the end
  // of the file, where a number reads as 0. A run longer than the limit is
  // refused whole rather than split into two numbers.
  bool ReadToken(size_t limit) {
    int c = Peek();
    while (c != -1 && c <= ' ') {
      Advance();
      c = Peek();
    }
    tokenLine_ = line_;
    if (c == -1) {
      ranOut_ = true;
      return false;
    }
    token_.clear();
    while (c > ' ') {
      if (token_.size() == limit) Fail(kInvalidNumber);
      token_ += static_cast<char>(c);
      Advance();
      c = Peek();
    }
    return true;
  }

  TInputFile file_;
  std::vector<char> buffer_;
  size_t pos_ = 0;
  size_t end_ = 0;
  int line_ = 1;
  int tokenLine_ = 1;
  bool ranOut_ = false;
  bool loneReturns_ = false;
  std::string token_;
};

void AppendInteger(std::string& out, int32_t v) {
  char digits[16];
  const auto result = std::to_chars(digits, digits + sizeof digits, v);
  out.append(digits, result.ptr);
}

void WriteGraph(const std::string& fileName, const TSurveyGraph& graph) {
  TSafeFile file(fileName);
  std::string out;
  out.reserve(kBufferSize + 256);
  const auto flushWhenFull = [&] {
    if (out.size() >= kBufferSize) {
      file.Write(out);
      out.clear();
    }
  };
  AppendInteger(out, graph.StationCount());
  out += "\r\n";
  for (int32_t i = 0; i < graph.StationCount(); ++i) {
    const Vec3 p = graph.Positions.Get(i);
    out += graph.Names.NameList.View(i);
    out += "\r\n";
    out += FormatGraphReal(p.X);
    out += ' ';
    out += FormatGraphReal(p.Y);
    out += ' ';
    out += FormatGraphReal(p.Z);
    out += "\r\n";
    flushWhenFull();
  }
  AppendInteger(out, graph.Edges.Count());
  out += "\r\n";
  for (int32_t j = 0; j < graph.Edges.Count(); ++j) {
    AppendInteger(out, graph.Edges.Froms.Get(j));
    out += ' ';
    AppendInteger(out, graph.Edges.Tos.Get(j));
    out += "\r\n";
    flushWhenFull();
  }
  file.Write(out);
  file.Commit();
}

}  // namespace

void SaveGraph(const std::string& fileName, const TSurveyGraph& graph) {
  if (fileName.empty()) ThrowErrno(EINVAL);
  for (int32_t i = 0; i < graph.StationCount(); ++i) {
    const Vec3 p = graph.Positions.Get(i);
    if (!std::isfinite(p.X) || !std::isfinite(p.Y) || !std::isfinite(p.Z))
      throw ECyclornError("Station " + graph.Names.GetName(i) + " has a position that is not a finite number");
  }
  try {
    WriteGraph(fileName, graph);
  } catch (const EFileError& error) {
    throw EInOutError(error.what(), 0);
  }
}

std::string TGraphLoadReport::Warning() const {
  if (!EndedEarly()) return "";
  const auto counted = [](int32_t n, const char* what) { return std::to_string(n) + " " + what + (n == 1 ? "" : "s"); };
  std::string text = "File ends early: " + counted(PaddedStations, "station") + " and " + counted(PaddedShots, "shot") +
                     " padded from line " + std::to_string(FromLine) + " on";
  if (StationCountMissing)
    text += ", station and edge counts missing";
  else if (EdgeCountMissing)
    text += ", edge count missing";
  if (LoneCarriageReturns) text += " (carriage returns without line feeds do not end lines)";
  return text;
}

// Records missing at the end of the file read as empty ones (reads there
// give "" and 0), so the loops below run on and only count them; a count
// that would add more than kMaxPaddedRecords of them is refused instead.
TGraphLoadReport LoadGraph(const std::string& fileName, TSurveyGraph& graph) {
  TGraphFileReader reader(fileName);
  TGraphLoadReport report;
  TSurveyGraph fresh;
  fresh.Clear();
  const auto refuseMissing = [&](const char* what, int32_t count, int32_t countLine, int32_t held, const char* unit) {
    throw EInOutError(std::string(what) + " " + std::to_string(count) + " is more than the file holds: it ends after " +
                          std::to_string(held) + " " + unit + (held == 1 ? "" : "s"),
                      countLine);
  };
  const int32_t stationCount = reader.ReadCount("Station count");
  const int32_t stationCountLine = reader.TokenLine();
  if (reader.RanOut()) {
    report.StationCountMissing = true;
    report.FromLine = stationCountLine;
  }
  reader.SkipLine();
  for (int32_t i = 0; i < stationCount; ++i) {
    const int32_t recordLine = reader.Line();
    const std::string name = reader.ReadName();
    reader.SkipLine();
    const double x = reader.ReadReal();
    const double y = reader.ReadReal();
    const double z = reader.ReadReal();
    reader.SkipLine();
    if (reader.RanOut() && !report.EndedEarly()) {
      if (stationCount - i > kMaxPaddedRecords)
        refuseMissing("Station count", stationCount, stationCountLine, i, "station");
      report.PaddedStations = stationCount - i;
      report.FromLine = recordLine;
    }
    fresh.AddStation(name, MakeVec3(x, y, z));
  }
  const int32_t edgeCount = reader.ReadCount("Edge count");
  const int32_t edgeCountLine = reader.TokenLine();
  if (reader.RanOut()) {
    report.EdgeCountMissing = true;
    if (!report.EndedEarly()) report.FromLine = edgeCountLine;
  }
  reader.SkipLine();
  for (int32_t j = 0; j < edgeCount; ++j) {
    const int32_t from = reader.ReadInteger();
    const int32_t fromLine = reader.TokenLine();
    const int32_t to = reader.ReadInteger();
    if (reader.RanOut() && !report.EndedEarly()) {
      if (edgeCount - j > kMaxPaddedRecords) refuseMissing("Edge count", edgeCount, edgeCountLine, j, "edge");
      report.PaddedShots = edgeCount - j;
      report.FromLine = fromLine;
    }
    for (const auto& [end, line] : {std::pair{from, fromLine}, std::pair{to, reader.TokenLine()}}) {
      if (end >= fresh.StationCount())
        throw EInOutError("Edge end " + std::to_string(end) + " is not below the station count " +
                              std::to_string(fresh.StationCount()),
                          line);
    }
    reader.SkipLine();
    fresh.AddEdgeByIndex(from, to);  // an edge with a negative end is skipped
  }
  report.LoneCarriageReturns = report.EndedEarly() && reader.SkippedLoneReturns();
  graph.Swap(fresh);
  return report;
}
