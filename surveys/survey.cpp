#include "surveys/survey.h"

#include <stdexcept>

int32_t TSurvey::AddStation(Vec3 position, uint8_t flags) {
  Positions.push_back(position);
  StationFlags.push_back(flags);
  nameBegin_.push_back(nameBegin_.back());
  return StationCount() - 1;
}

template <class NameOf>
void TSurvey::SetNamesFrom(const std::vector<int32_t>& stationOfName, size_t nameCount, NameOf nameOf) {
  if (stationOfName.size() != nameCount) throw std::invalid_argument("SetNames: one station per name");
  const auto stations = static_cast<size_t>(StationCount());
  // A counting sort by station keeps each station's names in the order given.
  std::vector<int32_t> begin(stations + 1, 0);
  for (const int32_t s : stationOfName) {
    if (s < 0 || static_cast<size_t>(s) >= stations) throw std::out_of_range("SetNames: no such station");
    ++begin[static_cast<size_t>(s) + 1];
  }
  for (size_t s = 0; s < stations; ++s) begin[s + 1] += begin[s];
  std::vector<int32_t> order(nameCount);
  std::vector<int32_t> next(begin.begin(), begin.end() - 1);
  for (size_t k = 0; k < nameCount; ++k) {
    int32_t& slot = next[static_cast<size_t>(stationOfName[k])];
    order[static_cast<size_t>(slot++)] = static_cast<int32_t>(k);
  }

  size_t total = 0;
  for (size_t k = 0; k < nameCount; ++k) total += nameOf(k).size();
  std::string chars;
  chars.reserve(total);
  std::vector<uint64_t> ends;
  ends.reserve(nameCount);
  for (const int32_t k : order) {
    chars += nameOf(static_cast<size_t>(k));
    ends.push_back(chars.size());
  }
  chars_ = std::move(chars);
  nameEnd_ = std::move(ends);
  nameBegin_ = std::move(begin);
}

void TSurvey::SetNames(const std::vector<int32_t>& stationOfName, const std::vector<std::string>& names) {
  SetNamesFrom(stationOfName, names.size(), [&names](size_t k) { return std::string_view(names[k]); });
}

void TSurvey::SetNames(const std::vector<int32_t>& stationOfName, std::string_view chars,
                       const std::vector<uint64_t>& nameEnds) {
  for (size_t k = 0; k < nameEnds.size(); ++k) {
    const uint64_t start = k == 0 ? 0 : nameEnds[k - 1];
    if (nameEnds[k] < start || nameEnds[k] > chars.size()) throw std::out_of_range("SetNames: a name outside chars");
  }
  SetNamesFrom(stationOfName, nameEnds.size(), [chars, &nameEnds](size_t k) {
    const uint64_t start = k == 0 ? 0 : nameEnds[k - 1];
    return chars.substr(start, nameEnds[k] - start);
  });
}

std::string_view TSurvey::Name(int32_t s, int32_t k) const {
  const auto index = static_cast<size_t>(nameBegin_[static_cast<size_t>(s)] + k);
  const uint64_t start = index == 0 ? 0 : nameEnd_[index - 1];
  return std::string_view(chars_).substr(start, nameEnd_[index] - start);
}
