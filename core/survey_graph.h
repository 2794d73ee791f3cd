#pragma once
// TSurveyGraph: a survey network of named stations with 3-D positions joined
// by edges (shots). All per-station data lives in parallel columns indexed by
// station, all per-edge data in columns indexed by edge. For every station s
// and position k, Neighbors.ListOf(s).Get(k) is the far end of the edge
// IncidentEdges.ListOf(s).Get(k).

#include <string>
#include <string_view>

#include "core/edge_array.h"
#include "core/hash_table.h"
#include "core/owned_lists.h"
#include "core/vector3.h"

using THuge3DVector = THugeTyped<Vec3>;

struct TStationInfo {
  std::string Name;
  Vec3 Position;
};

struct TEdgeEnds {
  std::string FromName, ToName;
  Vec3 FromPosition, ToPosition;
};

class TSurveyGraph {
 public:
  static constexpr int32_t kNameWidth = 12;

  TSurveyGraph();
  TSurveyGraph(const TSurveyGraph&) = delete;
  TSurveyGraph& operator=(const TSurveyGraph&) = delete;

  // Empties the graph; the corners become +-9.9e99 until the next station.
  void Clear();
  // Adds a station (a repeated name makes a further station) and returns its
  // index. A name longer than 12 bytes is refused with ENameTooLong.
  int32_t AddStation(std::string_view name, Vec3 position);
  TStationInfo GetStation(int32_t i) const;
  // Adds an edge and its neighbour, incident-edge and parent bookkeeping.
  // False, and nothing changes, when an end is not a station of the graph.
  bool AddEdge(const TEdgeRec& rec);
  bool AddEdgeByIndex(int32_t from, int32_t to) { return AddEdge({from, to, 0}); }
  // Looks both names up (the second only when the first is found).
  bool AddEdgeByName(std::string_view fromName, std::string_view toName);
  TEdgeEnds GetEdgeEnds(int32_t i) const;
  void SetAllMarks(int32_t v);
  int32_t StationCount() const { return Positions.Count(); }
  // Exchanges the whole contents with another graph.
  void Swap(TSurveyGraph& other) noexcept;

  THashTable Names;
  THuge3DVector Positions;
  THugeInteger Marks;
  TAdjacencyList Neighbors;
  TAdjacencyList IncidentEdges;
  THugeInteger Parents;
  TEdgeArray Edges;
  Vec3 MinCorner;
  Vec3 MaxCorner;
};

// Clears dst and gives it every station of src (name and position) in index
// order; no edges, marks 0, parents -1.
void CopyStations(const TSurveyGraph& src, TSurveyGraph& dst);

// Clears dst and makes it a copy of src: stations, edges with their flags,
// the neighbour and incident-edge lists in their order, marks and parents,
// so that any search runs on the copy as it would on src.
void CopyGraph(const TSurveyGraph& src, TSurveyGraph& dst);
