#include "surveys/three_d_assembly.h"

#include <algorithm>
#include <limits>
#include <stdexcept>

namespace {

// Stations and legs are indexed by 32-bit integers throughout.
constexpr size_t kMostItems = std::numeric_limits<int32_t>::max() - 1;

Vec3 Metres(TCentimetres p) { return MakeVec3(p.X / 100.0, p.Y / 100.0, p.Z / 100.0); }

// Small groups are compared pair by pair; a large group (many labels at one
// position) is sorted, so that no file makes this quadratic.
constexpr size_t kPairwiseGroup = 8;

}  // namespace

T3dAssembly::T3dAssembly(uint64_t nameBudget) : budget_(nameBudget) { queue_.reserve(kQueue); }

void T3dAssembly::Spend(size_t characters) {
  if (characters > budget_) {
    throw std::length_error("the labels add up to more characters than a file of this size can hold");
  }
  budget_ -= characters;
}

void T3dAssembly::Queue(const TPending& item) {
  // Every queued position may be a new station.
  if (++positionItems_ >= kMostItems) throw std::length_error("more stations or legs than this reader can hold");
  index_.Prefetch(item.Position);
  queue_.push_back(item);
  if (queue_.size() == kQueue) Apply();
}

int32_t T3dAssembly::StationAt(TCentimetres p) {
  bool added = false;
  const int32_t s = index_.FindOrAdd(p, survey_.StationCount(), added);
  if (added) survey_.AddStation(Metres(p));
  return s;
}

void T3dAssembly::Apply() {
  for (const TPending& item : queue_) {
    switch (item.Kind) {
      case TKind::Move:
        appliedPosition_ = item.Position;
        appliedStation_ = -1;
        break;
      case TKind::Line: {
        if (appliedStation_ < 0) appliedStation_ = StationAt(appliedPosition_);
        const int32_t to = StationAt(item.Position);
        survey_.Legs.push_back({appliedStation_, to, item.Survey, item.Flags, item.Style});
        appliedPosition_ = item.Position;
        appliedStation_ = to;
        break;
      }
      case TKind::Label: {
        const int32_t s = StationAt(item.Position);
        survey_.StationFlags[static_cast<size_t>(s)] |= item.Flags;
        if (item.Named) nameStations_.push_back(s);
        break;
      }
    }
  }
  queue_.clear();
}

void T3dAssembly::MoveTo(TCentimetres p) {
  position_ = p;
  havePosition_ = true;
  Queue({p, TKind::Move, 0, TLegStyle::Normal, -1, false});
}

int32_t T3dAssembly::SurveyIndex(std::string_view survey, uint64_t version) {
  if (version == lastSurveyVersion_) return lastSurvey_;
  lastSurveyVersion_ = version;
  if (survey.empty()) return lastSurvey_ = -1;
  Spend(survey.size());
  const auto [it, added] = surveyIndex_.try_emplace(std::string(survey), static_cast<int32_t>(survey_.Surveys.size()));
  if (added) survey_.Surveys.emplace_back(survey);
  return lastSurvey_ = it->second;
}

void T3dAssembly::SetDates(int32_t first, int32_t last) {
  haveDates_ = true;
  dateFirst_ = std::min(first, last);
  dateLast_ = std::max(first, last);
}

void T3dAssembly::LineTo(TCentimetres p, uint8_t legFlags, TLegStyle style, std::string_view survey,
                         uint64_t surveyVersion) {
  const int32_t surveyIndex = SurveyIndex(survey, surveyVersion);
  if (haveDates_) {
    TSurveyDates& dates = survey_.Dates;
    const bool none = dates.First == TSurveyDates::kNoDate;
    dates.First = none ? dateFirst_ : std::min(dates.First, dateFirst_);
    dates.Last = none ? dateLast_ : std::max(dates.Last, dateLast_);
  }
  if (p == position_) {
    ++survey_.Notes.ZeroLengthLegs;
    return;
  }
  position_ = p;
  Queue({p, TKind::Line, legFlags, style, surveyIndex, false});
}

void T3dAssembly::Label(TCentimetres p, uint8_t stationFlags, std::string_view name) {
  if (!name.empty()) {
    Spend(name.size());
    nameChars_ += name;
    nameEnds_.push_back(nameChars_.size());
  }
  Queue({p, TKind::Label, stationFlags, TLegStyle::Normal, -1, !name.empty()});
}

TSurvey T3dAssembly::Finish() {
  Apply();
  const size_t names = nameEnds_.size();
  const auto stations = static_cast<size_t>(survey_.StationCount());
  const auto nameOf = [this](size_t k) {
    const uint64_t start = k == 0 ? 0 : nameEnds_[k - 1];
    return std::string_view(nameChars_).substr(start, nameEnds_[k] - start);
  };

  // Each station's names, grouped by a counting sort in label order.
  std::vector<int32_t> begin(stations + 1, 0);
  for (const int32_t s : nameStations_) ++begin[static_cast<size_t>(s) + 1];
  for (size_t s = 0; s < stations; ++s) begin[s + 1] += begin[s];
  std::vector<int32_t> order(names);
  {
    std::vector<int32_t> next(begin.begin(), begin.end() - 1);
    for (size_t k = 0; k < names; ++k)
      order[static_cast<size_t>(next[static_cast<size_t>(nameStations_[k])]++)] = static_cast<int32_t>(k);
  }

  std::vector<bool> repeat(names, false);
  size_t repeats = 0;
  int64_t shared = 0;
  for (size_t s = 0; s < stations; ++s) {
    const auto first = order.begin() + begin[s];
    const auto last = order.begin() + begin[s + 1];
    const auto count = static_cast<size_t>(last - first);
    uint8_t& flags = survey_.StationFlags[s];
    if (count == 0) {
      flags |= sfAnonymous;
      continue;
    }
    flags &= static_cast<uint8_t>(~sfAnonymous);
    size_t distinct = count;
    if (count <= kPairwiseGroup) {
      for (auto i = first + 1; i != last; ++i) {
        for (auto j = first; j != i; ++j) {
          if (!repeat[static_cast<size_t>(*j)] && nameOf(static_cast<size_t>(*i)) == nameOf(static_cast<size_t>(*j))) {
            repeat[static_cast<size_t>(*i)] = true;
            --distinct;
            break;
          }
        }
      }
    } else {
      std::vector<int32_t> sorted(first, last);
      std::sort(sorted.begin(), sorted.end(), [&nameOf](int32_t a, int32_t b) {
        const std::string_view na = nameOf(static_cast<size_t>(a)), nb = nameOf(static_cast<size_t>(b));
        return na != nb ? na < nb : a < b;
      });
      for (size_t i = 1; i < sorted.size(); ++i) {
        if (nameOf(static_cast<size_t>(sorted[i])) == nameOf(static_cast<size_t>(sorted[i - 1]))) {
          repeat[static_cast<size_t>(sorted[i])] = true;
          --distinct;
        }
      }
    }
    repeats += count - distinct;
    shared += static_cast<int64_t>(distinct) - 1;
  }
  survey_.Notes.SharedPositions = shared;

  if (repeats == 0) {
    survey_.SetNames(nameStations_, nameChars_, nameEnds_);
  } else {
    std::string chars;
    std::vector<uint64_t> ends;
    std::vector<int32_t> stationOfName;
    for (size_t k = 0; k < names; ++k) {
      if (repeat[k]) continue;
      chars += nameOf(k);
      ends.push_back(chars.size());
      stationOfName.push_back(nameStations_[k]);
    }
    survey_.SetNames(stationOfName, chars, ends);
  }
  return std::move(survey_);
}
