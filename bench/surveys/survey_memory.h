#pragma once
// The memory a work graph holds (its columns' blocks and its pooled station
// lists) and the peak resident memory of this process, for the load figures.

#include <cstdint>
#include <fstream>
#include <string>

#include "core/survey_graph.h"

// Bytes of a station's two lists: a pooled slot of 64 bytes each.
constexpr int64_t kStationListBytes = 2 * 64;

inline int64_t GraphBytes(const TSurveyGraph& g) {
  int64_t bytes = 0;
  for (const THugeArray* column : {static_cast<const THugeArray*>(&g.Names.NameList),
                                   static_cast<const THugeArray*>(&g.Names.NameList.Tags),
                                   static_cast<const THugeArray*>(&g.Names.NextInChain),
                                   static_cast<const THugeArray*>(&g.Names.Buckets),
                                   static_cast<const THugeArray*>(&g.Positions), static_cast<const THugeArray*>(&g.Marks),
                                   static_cast<const THugeArray*>(&g.Parents), static_cast<const THugeArray*>(&g.Neighbors),
                                   static_cast<const THugeArray*>(&g.IncidentEdges),
                                   static_cast<const THugeArray*>(&g.Edges.Froms),
                                   static_cast<const THugeArray*>(&g.Edges.Tos),
                                   static_cast<const THugeArray*>(&g.Edges.Flags)}) {
    bytes += column->BlockSize();
  }
  return bytes + kStationListBytes * g.StationCount();
}

// VmHWM of /proc/self/status in bytes, 0 when it cannot be read.
inline int64_t PeakResidentBytes() {
  std::ifstream status("/proc/self/status");
  std::string key;
  while (status >> key) {
    if (key == "VmHWM:") {
      int64_t kilobytes = 0;
      status >> kilobytes;
      return kilobytes * 1024;
    }
  }
  return 0;
}
