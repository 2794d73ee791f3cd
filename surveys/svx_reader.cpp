#include "surveys/svx_reader.h"

#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <filesystem>

#include "core/errors.h"
#include "support/input_file.h"
#include "surveys/svx_parser.h"

namespace {

// Included files nest no deeper than this, so a loop of links the names do
// not show cannot exhaust the stack.
constexpr size_t kMaxIncludeDepth = 64;

std::string Normal(const std::string& path) {
  std::string normal = std::filesystem::path(path).lexically_normal().generic_string();
  return normal.empty() ? path : normal;
}

std::string Folder(const std::string& path) {
  const size_t slash = path.rfind('/');
  return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

bool EndsWithSvx(std::string_view name) { return name.size() >= 4 && SameWord(name.substr(name.size() - 4), ".svx"); }

}  // namespace

std::optional<std::string> TSvxDiskFiles::Read(const std::string& path) const {
  struct stat info {};
  if (::stat(path.c_str(), &info) != 0 && (errno == ENOENT || errno == ENOTDIR)) return std::nullopt;
  return ReadWholeFile(path);
}

std::optional<std::string> TSvxMemoryFiles::Read(const std::string& path) const {
  const auto found = Files.find(path);
  if (found == Files.end()) return std::nullopt;
  return found->second;
}

bool IsSvxFileName(std::string_view fileName) { return EndsWithSvx(fileName); }

TSurvey ReadSvxFile(const std::string& fileName, const TSvxOptions& options) {
  return ReadSvx(fileName, TSvxDiskFiles(), options);
}

TSurvey ReadSvx(const std::string& fileName, const TSvxFileSource& files, const TSvxOptions& options) {
  return TSvxParser(files, options).Read(fileName);
}

TSurvey TSvxParser::Read(const std::string& fileName) {
  std::optional<std::string> text;
  try {
    text = files_.Read(fileName);
  } catch (const EFileError& error) {
    throw ECyclornError(fileName + ": " + error.what());
  }
  if (!text) throw ECyclornError(fileName + ": " + InOutErrorText(ENOENT));
  ReadFile(fileName, std::move(*text));
  AssembleSvxSurvey(names_, legs_, fixes_, survey_);
  return std::move(survey_);
}

void TSvxParser::Fail(const std::string& message) const {
  throw ECyclornError(survey_.Files[static_cast<size_t>(file_)] + ":" + std::to_string(line_) + ": " + message);
}

void TSvxParser::ReadFile(const std::string& path, std::string text) {
  bytes_ += static_cast<int64_t>(text.size());
  if (bytes_ > options_.MaxTotalBytes)
    Fail("*include: the files read come to more than " + std::to_string(options_.MaxTotalBytes) + " bytes");
  const int32_t outerFile = file_;
  const int32_t outerLine = line_;
  const size_t outerBlocks = blocks_.size();
  file_ = static_cast<int32_t>(survey_.Files.size());
  survey_.Files.push_back(path);
  includes_.push_back(Normal(path));
  const std::string utf8 = AsUtf8(std::move(text));
  const std::string_view all(utf8);
  line_ = 0;
  size_t at = 0;
  while (at < all.size()) {
    size_t end = at;
    while (end < all.size() && all[end] != '\n' && all[end] != '\r') ++end;
    ++line_;
    ReadLine(all.substr(at, end - at));
    if (end < all.size() && all[end] == '\r' && end + 1 < all.size() && all[end + 1] == '\n') ++end;
    at = end + 1;
  }
  if (blocks_.size() > outerBlocks) {
    const TBlock& open = blocks_.back();
    line_ = open.Line;
    Fail("*begin" + (open.Name.empty() ? std::string() : " " + open.Name) + " has no matching *end in this file");
  }
  includes_.pop_back();
  file_ = outerFile;
  line_ = outerLine;
}

void TSvxParser::ReadLine(std::string_view text) {
  TSvxLine line(text, s_.Chars);
  if (line.AtEnd()) return;
  std::string_view first = line.Next();
  if (s_.Chars.Is(first[0], ccKeyword)) {
    first.remove_prefix(1);
    if (first.empty()) first = line.Next();
    if (first.empty()) Fail("a command word is missing after the keyword character");
    Command(first, line);
    return;
  }
  if (s_.Passage) return;
  TSvxLine data(text, s_.Chars);
  DataLine(data);
}

void TSvxParser::Include(TSvxLine& line) {
  const std::string name(line.Next(true));
  if (name.empty()) Fail("*include needs a file name");
  std::vector<std::string> names{name};
  std::string slashed = name;
  std::replace(slashed.begin(), slashed.end(), '\\', '/');
  if (slashed != name) names.push_back(slashed);
  for (size_t k = 0, n = names.size(); k < n; ++k) {
    const std::string lower = AsciiLower(names[k]);
    if (lower != names[k]) names.push_back(lower);
  }
  const std::string& current = survey_.Files[static_cast<size_t>(file_)];
  for (const std::string& tried : names) {
    const std::string joined = !tried.empty() && tried[0] == '/' ? tried : Folder(current) + tried;
    std::vector<std::string> paths{joined};
    if (!EndsWithSvx(joined)) paths.push_back(joined + ".svx");
    for (const std::string& tryPath : paths) {
      const std::string path = Normal(tryPath);
      std::optional<std::string> text;
      try {
        text = files_.Read(path);
      } catch (const EFileError& error) {
        Fail("*include \"" + name + "\": " + error.what());
      }
      if (!text) continue;
      if (std::find(includes_.begin(), includes_.end(), path) != includes_.end()) {
        std::string chain;
        for (const std::string& file : includes_) chain += file + " -> ";
        Fail("*include \"" + name + "\" makes a cycle of included files: " + chain + path);
      }
      if (includes_.size() >= kMaxIncludeDepth)
        Fail("*include \"" + name + "\": included files nest more than " + std::to_string(kMaxIncludeDepth) + " deep");
      // The survey prefix is the one thing an included file does not carry back.
      const std::string prefix = s_.Prefix;
      ReadFile(path, std::move(*text));
      s_.Prefix = prefix;
      return;
    }
  }
  Fail("*include \"" + name + "\": file not found");
}
