// Feeds arbitrary bytes to the .svx reader as two files, "t.svx" (the bytes
// up to the first NUL) and "b.svx" (the rest), which may include each other,
// and aborts when the outcome breaks the reader's promises: an error names a
// file and a line that exist, a survey read is consistent.

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "core/errors.h"
#include "surveys/svx_reader.h"

namespace {

void Require(bool condition, const char* what) {
  if (condition) return;
  std::fprintf(stderr, "fuzz_svx_reader: %s\n", what);
  std::abort();
}

int64_t LinesOf(std::string_view text) {
  int64_t lines = 1;
  for (size_t i = 0; i < text.size(); ++i)
    if (text[i] == '\n' || (text[i] == '\r' && (i + 1 >= text.size() || text[i + 1] != '\n'))) ++lines;
  return lines;
}

void RequireConsistent(const TSurvey& survey) {
  Require(survey.Measurements.size() == survey.Legs.size(), "a leg without a measurement");
  Require(survey.StationFlags.size() == survey.Positions.size(), "station columns differ");
  for (size_t l = 0; l < survey.Legs.size(); ++l) {
    const TSurveyLeg& leg = survey.Legs[l];
    Require(leg.From >= 0 && leg.From < survey.StationCount() && leg.To >= 0 && leg.To < survey.StationCount(),
            "a leg end out of range");
    Require(leg.From != leg.To, "a leg from a station to itself");
    Require(leg.Survey >= -1 && leg.Survey < static_cast<int32_t>(survey.Surveys.size()), "a survey out of range");
    const TLegMeasurement& m = survey.Measurements[l];
    Require(m.File >= 0 && m.File < static_cast<int32_t>(survey.Files.size()) && m.Line >= 1, "a bad source line");
  }
  for (const TFixedPoint& fix : survey.Fixes)
    Require(fix.Station >= 0 && fix.Station < survey.StationCount(), "a fix out of range");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  const size_t nul = input.find('\0');
  TSvxMemoryFiles files;
  files.Files["t.svx"] = std::string(input.substr(0, nul));
  files.Files["b.svx"] = nul == std::string_view::npos ? std::string() : std::string(input.substr(nul + 1));
  TSvxOptions options;
  options.MaxTotalBytes = 1 << 20;
  try {
    RequireConsistent(ReadSvx("t.svx", files, options));
  } catch (const ECyclornError& error) {
    const std::string message = error.what();
    const size_t colon = message.find(':');
    Require(colon != std::string::npos, "an error without a file");
    const std::string file = message.substr(0, colon);
    Require(files.Files.count(file) == 1, "an error naming a file that was not read");
    const int64_t line = std::atoll(message.c_str() + colon + 1);
    Require(line >= 1 && line <= LinesOf(files.Files[file]), "an error naming a line that does not exist");
  }
  return 0;
}
