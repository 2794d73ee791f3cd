#include "surveys/survey_network.h"

#include <algorithm>
#include <string>

namespace {

bool Chosen(const TSurveyLeg& leg, const TLegChoice& choice, TSurveyNetwork& network) {
  if ((leg.Flags & lfSplay) && !choice.Splays) {
    ++network.SplaysLeftOut;
    return false;
  }
  if ((leg.Flags & lfSurface) && !choice.Surface) {
    ++network.SurfaceLeftOut;
    return false;
  }
  if ((leg.Flags & lfDuplicate) && !choice.Duplicates) {
    ++network.DuplicatesLeftOut;
    return false;
  }
  return true;
}

}  // namespace

Vec3 DrawingPosition(const TSurveyNetwork& network, Vec3 metres) {
  const Vec3 d = Sub3(metres, network.Origin);
  return MakeVec3(d.X * network.Scale, -d.Y * network.Scale, d.Z * network.Scale);
}

TSurveyNetwork BuildSurveyNetwork(const TSurvey& survey, const TLegChoice& choice, TSurveyGraph& graph) {
  TSurveyNetwork network;
  graph.Clear();
  network.NodeOfStation.assign(static_cast<size_t>(survey.StationCount()), -1);
  std::vector<int32_t> chosen;
  for (int32_t leg = 0; leg < survey.LegCount(); ++leg) {
    const TSurveyLeg& l = survey.Legs[static_cast<size_t>(leg)];
    if (!Chosen(l, choice, network)) continue;
    chosen.push_back(leg);
    network.NodeOfStation[static_cast<size_t>(l.From)] = 0;
    network.NodeOfStation[static_cast<size_t>(l.To)] = 0;
  }
  for (int32_t s = 0; s < survey.StationCount(); ++s) {
    int32_t& node = network.NodeOfStation[static_cast<size_t>(s)];
    if (node < 0) continue;
    node = static_cast<int32_t>(network.StationOfNode.size());
    network.StationOfNode.push_back(s);
  }
  // A first placement: the survey's north-west corner at the origin, one unit a metre.
  Vec3 corner = MakeVec3(1e300, -1e300, 0);
  for (const int32_t s : network.StationOfNode) {
    const Vec3 p = survey.Positions[static_cast<size_t>(s)];
    corner = MakeVec3(std::min(corner.X, p.X), std::max(corner.Y, p.Y), 0);
  }
  if (!network.StationOfNode.empty()) network.Origin = corner;
  for (const int32_t s : network.StationOfNode) {
    const std::string_view name = survey.MainName(s);
    const bool fits = !name.empty() && name.size() <= static_cast<size_t>(TSurveyGraph::kNameWidth);
    if (!fits) ++network.GeneratedNames;
    graph.AddStation(fits ? std::string(name) : "#" + std::to_string(s),
                     DrawingPosition(network, survey.Positions[static_cast<size_t>(s)]));
  }
  for (const int32_t leg : chosen) {
    const TSurveyLeg& l = survey.Legs[static_cast<size_t>(leg)];
    graph.AddEdgeByIndex(network.NodeOfStation[static_cast<size_t>(l.From)],
                         network.NodeOfStation[static_cast<size_t>(l.To)]);
    network.LegOfShot.push_back(leg);
  }
  return network;
}
