#include "tests/loops/reference/literal_fundamental_loops.h"

int32_t FindCommonStation(const TSurveyGraph& tree, const TEdgeRec& closingEdge) {
  const THugeInteger& parents = tree.Parents;
  const int32_t a = closingEdge.From;
  const int32_t b = closingEdge.To;
  int32_t frontierA = a;
  int32_t frontierB = b;
  int32_t f;
  int32_t e;
  // The frontiers climb in turn; each new station of one frontier is looked
  // for on the path the other has climbed so far (which ends at its frontier).
  do {
    f = parents.Get(frontierA);
    if (f >= 0) {
      frontierA = f;
      for (int32_t x = b; x >= 0; x = parents.Get(x)) {
        if (x == f) return f;
        if (x == frontierB) break;
      }
    }
    e = parents.Get(frontierB);
    if (e >= 0) {
      frontierB = e;
      for (int32_t x = a; x >= 0; x = parents.Get(x)) {
        if (x == e) return e;
        if (x == frontierA) break;
      }
    }
  } while (f >= 0 || e >= 0);
  return f;
}

void BuildLoop(const TSurveyGraph& tree, TEdgeArray& loop) {
  const TEdgeRec closing = loop.GetEdge(0);
  loop.CommonStation = FindCommonStation(tree, closing);
  AddTreePath(tree, loop, closing.From, loop.CommonStation);
  loop.FirstPathCount = loop.Count();
  AddTreePath(tree, loop, closing.To, loop.CommonStation);
}
