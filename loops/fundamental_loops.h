#pragma once
// Fundamental loops: a closing edge completed by the two tree paths from its
// ends up to the station where they meet (the common station). Station
// indices of the tree graph are those of the work graph it was grown over.

#include <cstdint>
#include <vector>

#include "core/edge_array.h"
#include "core/owned_lists.h"
#include "core/survey_graph.h"

// Appends the tree edges (From = parent, To = child) from start up towards
// stop; stops early at a root.
void AddTreePath(const TSurveyGraph& tree, TEdgeArray& loop, int32_t start, int32_t stop);

// Completes every single-edge loop (a, b) of the list: appends the path from
// a, then the path from b, up to the common station; sets CommonStation and
// FirstPathCount (1 + the number of edges of the first path). The common
// station is the deepest station that is an ancestor of both ends (a station
// counts as its own ancestor), the parent for an edge from a station to
// itself, and -1 when the ends lie in different trees (the paths then run up
// to the roots).
void BuildLoops(const TSurveyGraph& tree, TLoopList& loops);

// The fundamental loops of one tree, one closing edge at a time: their size,
// spread and common station without building them, so a search that replaces
// most of them builds only the rest. It keeps what it needs of the tree, so
// the tree graph may go once this exists.
class TFundamentalLoops {
 public:
  explicit TFundamentalLoops(const TSurveyGraph& tree);
  // The tree given by the parent of every station (-1 for a root).
  explicit TFundamentalLoops(std::vector<int32_t> parents);
  // The common station as BuildLoops sets it.
  int32_t CommonStation(const TEdgeRec& closing) const;
  // The edge count of the completed loop.
  int32_t EdgeCount(const TEdgeRec& closing) const;
  // The edge count and the LoopSpread of the completed loop (the same
  // arithmetic in the same order), from one walk up its two paths.
  struct TMeasure {
    int32_t EdgeCount;
    double Spread;
  };
  TMeasure Measure(const TEdgeRec& closing, const TSurveyGraph& graph) const;
  // Completes the single-edge loop as BuildLoops does.
  void Build(TEdgeArray& loop) const;
  // Calls visit(edge) for every edge of the completed loop in the order Build
  // appends them: the closing edge, then the tree edges (From = parent,
  // To = child) of the first path and of the second.
  template <class Visit>
  void VisitEdges(const TEdgeRec& closing, Visit&& visit) const {
    const int32_t common = CommonStation(closing);
    visit(closing);
    for (const int32_t start : {closing.From, closing.To})
      for (int32_t s = start; s != common && Parent(s) >= 0; s = Parent(s)) visit(TEdgeRec{Parent(s), s, 0});
  }

 private:
  int32_t Parent(int32_t s) const { return parent_[static_cast<size_t>(s)]; }
  int32_t PathLength(int32_t start, int32_t stop) const;
  // Fills tos_ with the To station of every edge of the completed loop, in order.
  void CollectTos(const TEdgeRec& closing) const;

  // The tree's parents in a plain column: the paths are walked millions of times.
  std::vector<int32_t> parent_;
  std::vector<int32_t> depth_;
  // Scratch of Measure, kept to spare an allocation per loop (so one object
  // must not measure from two threads at once).
  mutable std::vector<int32_t> tos_;
  mutable std::vector<int32_t> secondPath_;
};

// Sorts a list of single-edge loops (closing edges of the tree) as SortLoops
// sorts them once completed, measuring each from the tree; returns the edge
// count of each completed loop in the new order.
std::vector<int32_t> SortFundamentalLoops(TLoopList& loops, const TFundamentalLoops& fundamental,
                                          const TSurveyGraph& graph);
