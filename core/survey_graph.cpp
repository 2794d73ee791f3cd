#include "core/survey_graph.h"

#include <utility>

namespace {
constexpr int32_t kColumnCapacity = 5;
constexpr double kFarCorner = 9.9e99;
}  // namespace

TSurveyGraph::TSurveyGraph()
    : Names(kColumnCapacity, kNameWidth),
      Positions(kColumnCapacity),
      Marks(kColumnCapacity),
      Parents(kColumnCapacity) {}

void TSurveyGraph::Clear() {
  Names.NameList.SetCount(0);
  Names.Rehash();
  Positions.Clear();
  Marks.Clear();
  Parents.Clear();
  Edges.Clear();
  Neighbors.Clear();
  IncidentEdges.Clear();
  MaxCorner = {-kFarCorner, -kFarCorner, -kFarCorner};
  MinCorner = {kFarCorner, kFarCorner, kFarCorner};
}

int32_t TSurveyGraph::AddStation(std::string_view name, Vec3 position) {
  Names.Add(name);
  const int32_t index = Positions.Add(position);
  Marks.Add(0);
  Parents.Add(-1);
  Neighbors.AddList();
  IncidentEdges.AddList();
  if (index == 0) {
    MaxCorner = position;
    MinCorner = position;
  } else {
    MaxCorner = Max3(MaxCorner, position);
    MinCorner = Min3(MinCorner, position);
  }
  return index;
}

TStationInfo TSurveyGraph::GetStation(int32_t i) const { return {Names.NameList.Get(i), Positions.Get(i)}; }

bool TSurveyGraph::AddEdge(const TEdgeRec& rec) {
  const int32_t n = StationCount();
  if (rec.From < 0 || rec.To < 0 || rec.From >= n || rec.To >= n) return false;
  const int32_t e = Edges.AddEdge(rec);
  Neighbors.ListOf(rec.From).Add(rec.To);
  Neighbors.ListOf(rec.To).Add(rec.From);
  IncidentEdges.ListOf(rec.From).Add(e);
  IncidentEdges.ListOf(rec.To).Add(e);
  Parents.Put(rec.To, rec.From);
  return true;
}

bool TSurveyGraph::AddEdgeByName(std::string_view fromName, std::string_view toName) {
  const int32_t from = Names.Find(fromName);
  if (from < 0) return false;
  const int32_t to = Names.Find(toName);
  return AddEdge({from, to, 0});
}

TEdgeEnds TSurveyGraph::GetEdgeEnds(int32_t i) const {
  const int32_t from = Edges.Froms.Get(i);
  const int32_t to = Edges.Tos.Get(i);
  return {Names.NameList.Get(from), Names.NameList.Get(to), Positions.Get(from), Positions.Get(to)};
}

void TSurveyGraph::SetAllMarks(int32_t v) {
  for (int32_t i = 0; i < Marks.Count(); ++i) Marks.Put(i, v);
}

void TSurveyGraph::Swap(TSurveyGraph& other) noexcept {
  Names.Swap(other.Names);
  Positions.Swap(other.Positions);
  Marks.Swap(other.Marks);
  Neighbors.Swap(other.Neighbors);
  IncidentEdges.Swap(other.IncidentEdges);
  Parents.Swap(other.Parents);
  Edges.Swap(other.Edges);
  std::swap(MinCorner, other.MinCorner);
  std::swap(MaxCorner, other.MaxCorner);
}

void CopyStations(const TSurveyGraph& src, TSurveyGraph& dst) {
  dst.Clear();
  for (int32_t i = 0; i < src.StationCount(); ++i) dst.AddStation(src.Names.NameList.View(i), src.Positions.Get(i));
}

void CopyGraph(const TSurveyGraph& src, TSurveyGraph& dst) {
  CopyStations(src, dst);
  for (int32_t e = 0; e < src.Edges.Count(); ++e) {
    const TEdgeRec edge = src.Edges.GetEdge(e);
    dst.Edges.Flags.Put(dst.Edges.AddEdge(edge), edge.Flag);
  }
  for (int32_t i = 0; i < src.StationCount(); ++i) {
    for (const int32_t w : src.Neighbors.ListOf(i)) dst.Neighbors.ListOf(i).Add(w);
    for (const int32_t e : src.IncidentEdges.ListOf(i)) dst.IncidentEdges.ListOf(i).Add(e);
    dst.Marks.Put(i, src.Marks.Get(i));
    dst.Parents.Put(i, src.Parents.Get(i));
  }
  // Corners as src has them (an emptied graph keeps its far corners).
  dst.MinCorner = src.MinCorner;
  dst.MaxCorner = src.MaxCorner;
}
