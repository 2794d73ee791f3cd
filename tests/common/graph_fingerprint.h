#pragma once
// Stations, positions and edges of a graph as one text, to tell whether a
// command that failed left the graph exactly as it was.

#include <cstdint>
#include <string>

#include "core/survey_graph.h"

inline std::string GraphFingerprint(const TSurveyGraph& graph) {
  std::string out = std::to_string(graph.StationCount()) + "/" + std::to_string(graph.Edges.Count()) + ":";
  for (int32_t s = 0; s < graph.StationCount(); ++s) {
    const Vec3 p = graph.Positions.Get(s);
    out += graph.Names.GetName(s) + "@" + std::to_string(p.X) + "," + std::to_string(p.Y) + "," + std::to_string(p.Z) +
           ";";
  }
  for (int32_t e = 0; e < graph.Edges.Count(); ++e)
    out += std::to_string(graph.Edges.Froms.Get(e)) + "-" + std::to_string(graph.Edges.Tos.Get(e)) + ";";
  return out;
}
