#include "sources/reports.h"

#include <string_view>

namespace {

std::string_view NameOf(const TSurveyGraph& graph, int32_t i) { return graph.Names.NameList.View(i); }

std::string Joined(std::string_view a, std::string_view separator, std::string_view b) {
  std::string line;
  line.reserve(a.size() + separator.size() + b.size() + 16);
  line += a;
  line += separator;
  line += b;
  return line;
}

}  // namespace

std::vector<std::string> ReportAdjacency(const TSurveyGraph& graph) {
  std::vector<std::string> lines;
  lines.reserve(static_cast<size_t>(graph.StationCount()));
  for (int32_t i = 0; i < graph.StationCount(); ++i) {
    std::string line = Joined(NameOf(graph, i), " - ", "");
    for (const int32_t j : graph.Neighbors.ListOf(i)) {
      line += NameOf(graph, j);
      line += ',';
    }
    lines.push_back(std::move(line));
  }
  return lines;
}

std::vector<std::string> ReportSequence(const TSurveyGraph& graph) {
  std::vector<std::string> lines;
  lines.reserve(static_cast<size_t>(graph.Edges.Count()));
  for (int32_t e = 0; e < graph.Edges.Count(); ++e)
    lines.push_back(Joined(NameOf(graph, graph.Edges.Froms.Get(e)), " - ", NameOf(graph, graph.Edges.Tos.Get(e))));
  return lines;
}

std::vector<std::string> ReportParents(const TSurveyGraph& graph) {
  std::vector<std::string> lines;
  lines.reserve(static_cast<size_t>(graph.StationCount()));
  for (int32_t i = 0; i < graph.StationCount(); ++i) {
    const int32_t p = graph.Parents.Get(i);
    std::string line = Joined(NameOf(graph, i), " - ", p >= 0 ? NameOf(graph, p) : "");
    line += " (" + std::to_string(p) + ")";
    lines.push_back(std::move(line));
  }
  return lines;
}

std::vector<std::string> ReportIndexes(const TSurveyGraph& graph) {
  std::vector<std::string> lines;
  const THugeString& names = graph.Names.NameList;
  lines.reserve(static_cast<size_t>(names.Count()));
  for (int32_t i = 0; i < names.Count(); ++i) lines.push_back(Joined(names.View(i), " - ", std::to_string(i)));
  return lines;
}

int32_t OptimizeEdgeList(TSurveyGraph& graph) { return graph.Edges.NormalizeEdges(0, graph.Edges.Count() - 1); }

std::vector<std::string> BreadthFirstMemoLines(const TSurveyGraph& tree, const TLoopList& loops) {
  std::vector<std::string> lines;
  lines.reserve(static_cast<size_t>(loops.Count()));
  for (int32_t k = 0; k < loops.Count(); ++k) {
    const TEdgeArray& loop = loops.LoopAt(k);
    if (loop.Count() == 0) {
      lines.emplace_back();
      continue;
    }
    const TEdgeRec closing = loop.GetEdge(0);
    std::string line = Joined(NameOf(tree, closing.From), " - ", NameOf(tree, closing.To));
    line += " (" + std::to_string(closing.From) + "-" + std::to_string(closing.To) + ")";
    lines.push_back(std::move(line));
  }
  return lines;
}

std::vector<std::string> DepthFirstMemoLines(const TSurveyGraph& tree, const TLoopList& loops) {
  std::vector<std::string> lines;
  lines.reserve(static_cast<size_t>(loops.Count()));
  for (int32_t k = 0; k < loops.Count(); ++k) {
    const TEdgeArray& loop = loops.LoopAt(k);
    if (loop.Count() == 0) {
      lines.emplace_back();
      continue;
    }
    const TEdgeRec closing = loop.GetEdge(0);
    lines.push_back(Joined(NameOf(tree, closing.From), " ", NameOf(tree, closing.To)));
  }
  return lines;
}
