#include "surveys/station_names.h"

#include <algorithm>

#include "core/huge_string.h"
#include "core/survey_graph.h"

namespace {

constexpr size_t kWidth = TSurveyGraph::kNameWidth;
constexpr int32_t kNoStation = -1;
constexpr int32_t kSeveral = -2;

// Counts, for each key, the one station that has it, or kSeveral. A slot
// keeps the key's high half; its low bits chose the slot. Two keys alike in
// both only make their tails not unique, as equal keys do.
class TTailTable {
 public:
  void Reset(size_t keys) {
    size_t size = 16;
    while (size < 2 * keys) size *= 2;
    slots_.assign(size, {0, kNoStation});
    mask_ = size - 1;
  }
  void Add(uint64_t key, int32_t station) {
    TSlot& slot = SlotOf(key);
    if (slot.Station == kNoStation) {
      slot = {High(key), station};
    } else if (slot.Station != station) {
      slot.Station = kSeveral;
    }
  }
  int32_t StationOf(uint64_t key) { return SlotOf(key).Station; }
  void Prefetch(uint64_t key) const { __builtin_prefetch(&slots_[static_cast<size_t>(key) & mask_]); }

 private:
  struct TSlot {
    uint32_t High;
    int32_t Station;
  };
  static uint32_t High(uint64_t key) { return static_cast<uint32_t>(key >> 32); }
  TSlot& SlotOf(uint64_t key) {
    for (size_t i = static_cast<size_t>(key) & mask_;; i = (i + 1) & mask_) {
      TSlot& slot = slots_[i];
      if (slot.Station == kNoStation || slot.High == High(key)) return slot;
    }
  }
  std::vector<TSlot> slots_;
  size_t mask_ = 0;
};

bool Printable(std::string_view text) {
  return std::none_of(text.begin(), text.end(), [](char c) {
    const auto b = static_cast<unsigned char>(c);
    return b < 0x20 || b == 0x7f;
  });
}

// The start of the tail with one more part than the tail starting at start,
// or -1 when the name has no more parts.
int32_t LongerTail(std::string_view name, int32_t start) {
  if (start <= 0) return -1;
  if (start == 1) return 0;
  const size_t dot = name.rfind('.', static_cast<size_t>(start) - 2);
  return dot == std::string_view::npos ? 0 : static_cast<int32_t>(dot) + 1;
}

}  // namespace

uint64_t FoldedNameKey(std::string_view name) {
  uint64_t h = 14695981039346656037u;
  for (const char c : name) {
    h ^= static_cast<uint8_t>(FoldAsciiCase(c));
    h *= 1099511628211u;
  }
  // Spread the bits for the table's low-bit slots.
  h ^= h >> 33;
  h *= 0xFF51AFD7ED558CCDu;
  h ^= h >> 33;
  return h;
}

std::vector<TStationTail> ChooseStationTails(const TSurvey& survey) {
  const int32_t stations = survey.StationCount();
  std::vector<TStationTail> tails(static_cast<size_t>(stations));

  // One level at a time: the tails of one part, then of two, ... A station
  // whose tail of k parts is unique needs no longer tail, and no longer tail
  // of the same name can equal another station's (that one would end in the
  // unique tail too); its other names, though, still count against others.
  std::vector<int32_t> active;
  // start[n] is where name n's tail of the current level starts, -1 when the
  // name has no tail there that fits the width.
  std::vector<int32_t> start(static_cast<size_t>(survey.TotalNames()), -1);
  std::vector<int32_t> firstName(static_cast<size_t>(stations) + 1, 0);
  for (int32_t s = 0; s < stations; ++s) {
    firstName[static_cast<size_t>(s) + 1] = firstName[static_cast<size_t>(s)] + survey.NameCount(s);
    bool any = false;
    for (int32_t k = 0; k < survey.NameCount(s); ++k) {
      const std::string_view name = survey.Name(s, k);
      const size_t dot = name.rfind('.');
      const size_t first = dot == std::string_view::npos ? 0 : dot + 1;
      if (name.size() - first > kWidth) continue;
      start[static_cast<size_t>(firstName[static_cast<size_t>(s)] + k)] = static_cast<int32_t>(first);
      any = true;
    }
    if (any) active.push_back(s);
  }

  TTailTable table;
  std::vector<uint64_t> keys(start.size());
  std::vector<int32_t> next;
  // The names of the level, in order, so that the table's slots can be
  // fetched a few names ahead of their use.
  std::vector<int32_t> level;
  constexpr size_t kAhead = 16;
  while (!active.empty()) {
    level.clear();
    for (const int32_t s : active) {
      for (int32_t k = 0; k < survey.NameCount(s); ++k) {
        const auto n = static_cast<size_t>(firstName[static_cast<size_t>(s)] + k);
        if (start[n] < 0) continue;
        keys[n] = FoldedNameKey(survey.Name(s, k).substr(static_cast<size_t>(start[n])));
        level.push_back(static_cast<int32_t>(n));
      }
    }
    table.Reset(level.size());
    {
      size_t i = 0;
      for (const int32_t s : active) {
        for (int32_t k = 0; k < survey.NameCount(s); ++k) {
          const auto n = static_cast<size_t>(firstName[static_cast<size_t>(s)] + k);
          if (start[n] < 0) continue;
          if (i + kAhead < level.size()) table.Prefetch(keys[static_cast<size_t>(level[i + kAhead])]);
          table.Add(keys[n], s);
          ++i;
        }
      }
    }
    size_t i = 0;
    next.clear();
    for (const int32_t s : active) {
      TStationTail& chosen = tails[static_cast<size_t>(s)];
      const bool done = chosen.Name >= 0;
      TStationTail best;
      size_t bestLength = kWidth + 1;
      bool longer = false;
      for (int32_t k = 0; k < survey.NameCount(s); ++k) {
        const auto n = static_cast<size_t>(firstName[static_cast<size_t>(s)] + k);
        if (start[n] < 0) continue;
        if (i + kAhead < level.size()) table.Prefetch(keys[static_cast<size_t>(level[i + kAhead])]);
        ++i;
        const std::string_view name = survey.Name(s, k);
        const std::string_view tail = name.substr(static_cast<size_t>(start[n]));
        if (!done && table.StationOf(keys[n]) == s && tail.size() < bestLength && !tail.empty() && Printable(tail)) {
          best = {k, start[n]};
          bestLength = tail.size();
        }
        const int32_t longerStart = LongerTail(name, start[n]);
        start[n] = longerStart >= 0 && name.size() - static_cast<size_t>(longerStart) <= kWidth ? longerStart : -1;
        longer = longer || start[n] >= 0;
      }
      if (!done && best.Name >= 0) chosen = best;
      if (longer && (chosen.Name < 0 || survey.NameCount(s) > 1)) next.push_back(s);
    }
    active.swap(next);
  }
  return tails;
}
