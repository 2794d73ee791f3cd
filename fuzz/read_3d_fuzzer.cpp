// Feeds arbitrary bytes to Read3d as a .3d file, then the survey it returns
// to BuildSurveyNetwork and SurveySummary, and aborts when an outcome breaks
// their promises: a refused file raises E3dFileError naming a byte within
// the input; a survey's legs join two different stations it has; every
// station without a name, and only those, is anonymous; the work graph's
// names fit the name table and differ even without case, and its maps agree
// with the survey.

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <unordered_set>

#include "core/huge_string.h"
#include "surveys/survey_network.h"
#include "surveys/survey_summary.h"
#include "surveys/three_d_reader.h"

namespace {

[[noreturn]] void Broken(const char* what) {
  std::fprintf(stderr, "fuzz_read_3d: %s\n", what);
  std::abort();
}

void Require(bool condition, const char* what) {
  if (!condition) Broken(what);
}

void RequireConsistent(const TSurvey& survey) {
  const auto stations = static_cast<size_t>(survey.StationCount());
  Require(survey.StationFlags.size() == stations, "flag count differs from station count");
  int64_t names = 0;
  for (int32_t s = 0; s < survey.StationCount(); ++s) {
    names += survey.NameCount(s);
    const bool anonymous = (survey.StationFlags[static_cast<size_t>(s)] & sfAnonymous) != 0;
    Require(anonymous == (survey.NameCount(s) == 0), "a station named and anonymous, or neither");
    for (int32_t k = 0; k < survey.NameCount(s); ++k) Require(!survey.Name(s, k).empty(), "an empty name");
  }
  Require(names == survey.TotalNames(), "names of the stations differ from all names");
  for (const TSurveyLeg& leg : survey.Legs) {
    Require(leg.From >= 0 && static_cast<size_t>(leg.From) < stations, "a leg from a missing station");
    Require(leg.To >= 0 && static_cast<size_t>(leg.To) < stations, "a leg to a missing station");
    Require(leg.From != leg.To, "a zero-length leg kept");
    Require(survey.Positions[static_cast<size_t>(leg.From)] != survey.Positions[static_cast<size_t>(leg.To)],
            "a leg between two stations at one position");
    Require(leg.Survey >= -1 && leg.Survey < static_cast<int32_t>(survey.Surveys.size()), "a leg of a missing survey");
    Require((leg.Flags & ~(lfSurface | lfDuplicate | lfSplay)) == 0, "a leg flag no format has");
  }
}

void RequireNetwork(const TSurvey& survey, const TLegChoice& choice) {
  TSurveyGraph graph;
  const TSurveyNetwork network = BuildSurveyNetwork(survey, choice, graph);
  Require(graph.StationCount() == static_cast<int32_t>(network.StationOfNode.size()), "graph and node map differ");
  Require(graph.Edges.Count() == static_cast<int32_t>(network.LegOfShot.size()), "graph and shot map differ");
  Require(network.NodeOfStation.size() == static_cast<size_t>(survey.StationCount()), "station map size");
  std::unordered_set<std::string> seen;
  for (int32_t i = 0; i < graph.StationCount(); ++i) {
    const int32_t s = network.StationOfNode[static_cast<size_t>(i)];
    Require(network.NodeOfStation[static_cast<size_t>(s)] == i, "node and station maps disagree");
    std::string folded = graph.GetStation(i).Name;
    Require(!folded.empty() && folded.size() <= static_cast<size_t>(TSurveyGraph::kNameWidth), "a bad graph name");
    for (char& c : folded) c = FoldAsciiCase(c);
    Require(seen.insert(folded).second, "two graph stations of one name");
  }
  for (int32_t j = 0; j < graph.Edges.Count(); ++j) {
    const TSurveyLeg& leg = survey.Legs[static_cast<size_t>(network.LegOfShot[static_cast<size_t>(j)])];
    Require(network.StationOfNode[static_cast<size_t>(graph.Edges.Froms.Get(j))] == leg.From, "shot from elsewhere");
    Require(network.StationOfNode[static_cast<size_t>(graph.Edges.Tos.Get(j))] == leg.To, "shot to elsewhere");
  }
  const TSurveyCounts counts = CountSurvey(survey, network, graph);
  Require(counts.Loops >= 0 && counts.Pieces <= counts.NetworkStations, "impossible loops or pieces");
  Require(SurveySummary(survey, choice, network, graph).size() == 22, "a summary of another length");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  TSurvey survey;
  try {
    survey = Read3d(bytes, "fuzz.3d");
  } catch (const E3dFileError& error) {
    Require(error.Offset() >= 0 && static_cast<size_t>(error.Offset()) <= size, "an error past the end of the input");
    const std::string prefix = "fuzz.3d: byte " + std::to_string(error.Offset()) + ": ";
    Require(std::string_view(error.what()).substr(0, prefix.size()) == prefix, "an error without its place");
    Require(std::string_view(error.what()).size() > prefix.size(), "an error without a message");
    return 0;
  }
  RequireConsistent(survey);
  RequireNetwork(survey, TLegChoice());
  RequireNetwork(survey, {.Splays = true, .Surface = true, .Duplicates = false});
  return 0;
}
