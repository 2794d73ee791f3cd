#include "sources/graph_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <memory>
#include <utility>
#include <vector>

#include "sources/graph_numbers.h"
#include "support/safe_write.h"

namespace {

constexpr size_t kBufferSize = 1 << 16;
constexpr size_t kIntegerTokenLimit = 32;
constexpr size_t kRealTokenLimit = 64;
constexpr const char* kInvalidNumber = "Invalid numeric input";

[[noreturn]] void ThrowErrno(int errorNumber) { throw EInOutError(InOutErrorText(errorNumber), 0); }

// An open file descriptor, closed however the block ends.
class TFileHandle {
 public:
  explicit TFileHandle(int fd) : fd_(fd) {}
  ~TFileHandle() {
    if (fd_ >= 0) ::close(fd_);
  }
  TFileHandle(const TFileHandle&) = delete;
  TFileHandle& operator=(const TFileHandle&) = delete;
  int Get() const { return fd_; }
  // Closes now and reports the close's own error (a delayed write failure).
  void Close() {
    const int fd = std::exchange(fd_, -1);
    if (::close(fd) != 0 && errno != EINTR) ThrowErrno(errno);
  }

 private:
  int fd_;
};

// Reads a graph file through one buffer, byte by byte, keeping the line
// number of the byte about to be read.
class TGraphFileReader {
 public:
  explicit TGraphFileReader(const std::string& fileName) : file_(Open(fileName)), buffer_(kBufferSize) {
    struct stat info {};
    if (::fstat(file_.Get(), &info) == 0 && S_ISREG(info.st_mode)) fileSize_ = info.st_size;
  }

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
  // is also held to the file's size: a few bytes cannot ask for millions.
  int32_t ReadCount(const char* what) {
    const int32_t count = ReadInteger();
    if (count > kMaxGraphFileCount)
      Fail(std::string(what) + " " + std::to_string(count) + " is above " + std::to_string(kMaxGraphFileCount));
    if (fileSize_ >= 0 && count > fileSize_)
      Fail(std::string(what) + " " + std::to_string(count) + " is more than a file of " + std::to_string(fileSize_) +
           " bytes can hold");
    return count;
  }
  // The rest of the line up to its line end, which stays unread. A carriage
  // return that does not end the line is left out of the name.
  std::string ReadName() {
    tokenLine_ = line_;
    std::string name;
    for (int c = Peek(); c != -1 && c != '\n'; c = Peek()) {
      Advance();
      if (c == '\r' && Peek() == '\n') break;
      if (c == '\r') continue;
      name += static_cast<char>(c);
      if (name.size() > static_cast<size_t>(TSurveyGraph::kNameWidth))
        Fail("Station name longer than " + std::to_string(TSurveyGraph::kNameWidth) + " characters");
    }
    return name;
  }
  // Discards everything up to and including the next line feed.
  void SkipLine() {
    for (int c = Peek(); c != -1; c = Peek()) {
      Advance();
      if (c == '\n') return;
    }
  }
  // Line where the last number or name began.
  int TokenLine() const { return tokenLine_; }
  [[noreturn]] void Fail(const std::string& message) const { throw EInOutError(message, tokenLine_); }
  void Close() { file_.Close(); }

 private:
  static int Open(const std::string& fileName) {
    if (fileName.empty()) ThrowErrno(EINVAL);
    const int fd = ::open(fileName.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) ThrowErrno(errno);
    struct stat info {};
    if (::fstat(fd, &info) == 0 && S_ISDIR(info.st_mode)) {
      ::close(fd);
      ThrowErrno(EISDIR);
    }
    return fd;
  }
  bool Fill() {
    for (;;) {
      const ssize_t got = ::read(file_.Get(), buffer_.data(), buffer_.size());
      if (got > 0) {
        pos_ = 0;
        end_ = static_cast<size_t>(got);
        return true;
      }
      if (got == 0) return false;
      if (errno != EINTR) throw EInOutError(InOutErrorText(errno), line_);
    }
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
    if (c == -1) return false;
    token_.clear();
    while (c > ' ') {
      if (token_.size() == limit) Fail(kInvalidNumber);
      token_ += static_cast<char>(c);
      Advance();
      c = Peek();
    }
    return true;
  }

  TFileHandle file_;
  std::vector<char> buffer_;
  size_t pos_ = 0;
  size_t end_ = 0;
  int64_t fileSize_ = -1;  // -1 when the file is not a regular file
  int line_ = 1;
  int tokenLine_ = 1;
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

void LoadGraph(const std::string& fileName, TSurveyGraph& graph) {
  TGraphFileReader reader(fileName);
  TSurveyGraph fresh;
  fresh.Clear();
  const int32_t stationCount = reader.ReadCount("Station count");
  reader.SkipLine();
  for (int32_t i = 0; i < stationCount; ++i) {
    const std::string name = reader.ReadName();
    reader.SkipLine();
    const double x = reader.ReadReal();
    const double y = reader.ReadReal();
    const double z = reader.ReadReal();
    reader.SkipLine();
    fresh.AddStation(name, MakeVec3(x, y, z));
  }
  const int32_t edgeCount = reader.ReadCount("Edge count");
  reader.SkipLine();
  for (int32_t j = 0; j < edgeCount; ++j) {
    const int32_t from = reader.ReadInteger();
    const int32_t fromLine = reader.TokenLine();
    const int32_t to = reader.ReadInteger();
    for (const auto& [end, line] : {std::pair{from, fromLine}, std::pair{to, reader.TokenLine()}}) {
      if (end >= fresh.StationCount())
        throw EInOutError("Edge end " + std::to_string(end) + " is not below the station count " +
                              std::to_string(fresh.StationCount()),
                          line);
    }
    reader.SkipLine();
    fresh.AddEdgeByIndex(from, to);  // an edge with a negative end is skipped
  }
  reader.Close();
  graph.Swap(fresh);
}
