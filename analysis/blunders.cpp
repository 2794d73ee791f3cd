#include "analysis/blunders.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "analysis/leg_covariance.h"
#include "analysis/leg_statistic.h"
#include "analysis/network_adjustment.h"

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kWeakRedundancy = 1e-6;
// Legs of one traverse share their statistic exactly; within this relative
// margin the best single-reading explanation decides which is taken out.
constexpr double kTie = 1e-7;

using TObservation = TNetworkAdjustment::TObservation;

// Shots no loop of the active observations passes: Tarjan's bridges, by
// observation (parallel observations are no bridges), walked with a stack.
std::vector<uint8_t> FindBridges(int32_t stations, const std::vector<TObservation>& obs,
                                 const std::vector<uint8_t>& active) {
  const size_t n = static_cast<size_t>(stations);
  std::vector<int32_t> start(n + 1, 0);
  for (size_t i = 0; i < obs.size(); ++i) {
    if (!active[i] || obs[i].From == obs[i].To) continue;
    ++start[static_cast<size_t>(obs[i].From) + 1];
    ++start[static_cast<size_t>(obs[i].To) + 1];
  }
  for (size_t s = 0; s < n; ++s) start[s + 1] += start[s];
  std::vector<int32_t> link(static_cast<size_t>(start[n]));
  std::vector<int32_t> fill(start.begin(), start.end() - 1);
  for (size_t i = 0; i < obs.size(); ++i) {
    if (!active[i] || obs[i].From == obs[i].To) continue;
    link[static_cast<size_t>(fill[static_cast<size_t>(obs[i].From)]++)] = static_cast<int32_t>(i);
    link[static_cast<size_t>(fill[static_cast<size_t>(obs[i].To)]++)] = static_cast<int32_t>(i);
  }
  std::vector<uint8_t> bridge(obs.size(), 0);
  std::vector<int32_t> order(n, -1), low(n, 0), cursor(start.begin(), start.end() - 1);
  struct TFrame {
    int32_t Station, ViaObservation;
  };
  std::vector<TFrame> stack;
  int32_t clock = 0;
  for (int32_t root = 0; root < stations; ++root) {
    if (order[static_cast<size_t>(root)] >= 0) continue;
    order[static_cast<size_t>(root)] = low[static_cast<size_t>(root)] = clock++;
    stack.push_back({root, -1});
    while (!stack.empty()) {
      const TFrame frame = stack.back();
      const auto s = static_cast<size_t>(frame.Station);
      if (cursor[s] < start[s + 1]) {
        const int32_t i = link[static_cast<size_t>(cursor[s]++)];
        if (i == frame.ViaObservation) continue;
        const TObservation& o = obs[static_cast<size_t>(i)];
        const int32_t far = o.From == frame.Station ? o.To : o.From;
        const auto f = static_cast<size_t>(far);
        if (order[f] >= 0) {
          low[s] = std::min(low[s], order[f]);
        } else {
          order[f] = low[f] = clock++;
          stack.push_back({far, i});
        }
        continue;
      }
      stack.pop_back();
      if (stack.empty()) continue;
      const auto parent = static_cast<size_t>(stack.back().Station);
      low[parent] = std::min(low[parent], low[s]);
      if (low[s] > order[parent]) bridge[static_cast<size_t>(frame.ViaObservation)] = 1;
    }
  }
  return bridge;
}

// The statistic T = v^T Q^-1 v and the redundancy of observation i; false
// when the loops cannot check it.
bool LegStatistic(const TNetworkAdjustment& adjustment, const TMatrix3& weight, int32_t i, double& t,
                  double& redundancy) {
  const TMatrix3 q = UnpackSymmetric(adjustment.ResidualCovariance(i));
  redundancy = (weight * q).trace();
  if (!(redundancy >= kWeakRedundancy)) return false;
  const Eigen::LLT<TMatrix3> llt(q);
  if (llt.info() != Eigen::Success) return false;
  const TVector3 v = ToEigen(adjustment.Residual(i));
  t = v.dot(llt.solve(v));
  return std::isfinite(t);
}

class TBlunderSearch {
 public:
  TBlunderSearch(const TSurvey& survey, const TSurveyNetwork& network, const TSurveyGraph& graph,
                 const std::vector<TLoopMisclosure>& loops, const TBlunderOptions& options)
      : survey_(survey), loops_(loops), options_(options) {
    for (int32_t shot = 0; shot < graph.Edges.Count(); ++shot) {
      const int32_t leg = network.LegOfShot[static_cast<size_t>(shot)];
      if (!IsMeasuredLeg(survey, leg)) {
        report_.Unchecked.push_back({leg, TUncheckedReason::Unmeasured});
        continue;
      }
      const TSurveyLeg& l = survey.Legs[static_cast<size_t>(leg)];
      const TLegMeasurement& m = survey.Measurements[static_cast<size_t>(leg)];
      const TMatrix3 c = UsableCovariance(m.Covariance);
      obs_.push_back({network.NodeOfStation[static_cast<size_t>(l.From)],
                      network.NodeOfStation[static_cast<size_t>(l.To)], m.Vector, PackSymmetric(c)});
      weight_.push_back(c.inverse());
      legOfObs_.push_back(leg);
    }
    stations_ = graph.StationCount();
    IndexLoops();
  }

  TBlunderReport Run() {
    report_.Critical = options_.Critical;
    const double critical = ChiSquare3OfNormalEquivalent(options_.Critical);
    TNetworkAdjustment adjustment(stations_, obs_);
    const size_t m = obs_.size();
    std::vector<uint8_t> active(m, 1);
    const std::vector<uint8_t> firstBridges = FindBridges(stations_, obs_, active);
    std::vector<uint8_t> bridges = firstBridges;
    std::vector<double> t(m, 0), redundancy(m, 0);
    std::vector<uint8_t> checked(m, 0);
    std::vector<int32_t> taken;
    std::vector<TLegCheck> atRemoval;
    while (true) {
      int32_t worst = -1;
      for (size_t i = 0; i < m; ++i) {
        checked[i] = active[i] && !bridges[i] &&
                     LegStatistic(adjustment, weight_[i], static_cast<int32_t>(i), t[i], redundancy[i]);
        if (checked[i] && t[i] > critical && (worst < 0 || t[i] > t[static_cast<size_t>(worst)]))
          worst = static_cast<int32_t>(i);
      }
      if (worst < 0) break;
      if (options_.MaxSuspects > 0 && static_cast<int32_t>(taken.size()) >= options_.MaxSuspects) break;
      // Among legs tied with the worst (one traverse), the one a single reading explains best.
      const double top = t[static_cast<size_t>(worst)];
      const int32_t first = worst;
      double explained = -1;
      for (size_t i = 0; i < m; ++i) {
        const auto k = static_cast<int32_t>(i);
        if (!checked[i] || k == first || t[i] < top * (1 - kTie)) continue;
        if (explained < 0) explained = Fit(adjustment, first).Reduction;
        const double other = Fit(adjustment, k).Reduction;
        if (other > explained) {
          explained = other;
          worst = k;
        }
      }
      const auto w = static_cast<size_t>(worst);
      atRemoval.push_back(Describe(adjustment, worst, t[w], redundancy[w]));
      taken.push_back(worst);
      adjustment.Remove(worst);
      active[static_cast<size_t>(worst)] = 0;
      bridges = FindBridges(stations_, obs_, active);
    }

    double omega = 0;
    for (size_t i = 0; i < m; ++i) {
      if (!active[i]) continue;
      const int32_t leg = legOfObs_[i];
      if (firstBridges[i]) {
        report_.Unchecked.push_back({leg, TUncheckedReason::Bridge});
      } else if (bridges[i]) {
        report_.Unchecked.push_back({leg, TUncheckedReason::ThroughSuspects});
      } else if (!checked[i]) {
        report_.Unchecked.push_back({leg, TUncheckedReason::Weak});
      } else {
        TLegCheck check = options_.DescribeChecked ? Describe(adjustment, static_cast<int32_t>(i), t[i], redundancy[i])
                                                   : Plain(adjustment, static_cast<int32_t>(i), t[i], redundancy[i]);
        report_.Checked.push_back(std::move(check));
        const TVector3 v = ToEigen(adjustment.Residual(static_cast<int32_t>(i)));
        omega += v.dot(weight_[i] * v);
        report_.Redundancy += redundancy[i];
      }
    }
    report_.VarianceFactor = report_.Redundancy > 0 ? omega / report_.Redundancy : kNaN;
    report_.Factorisations = adjustment.Factorisations();

    // Each suspect judged and explained against the network without every
    // other suspect, so that none of them colours another's figures; one
    // whose loops all run through other suspects keeps the figures it had
    // when it was taken out.
    for (size_t k = 0; k < taken.size(); ++k) {
      const int32_t i = taken[k];
      double ti = 0, ri = 0;
      if (LegStatistic(adjustment, weight_[static_cast<size_t>(i)], i, ti, ri))
        report_.Suspects.push_back(Describe(adjustment, i, ti, ri));
      else
        report_.Suspects.push_back(std::move(atRemoval[k]));
    }
    std::stable_sort(report_.Suspects.begin(), report_.Suspects.end(),
                     [](const TLegCheck& a, const TLegCheck& b) { return a.W > b.W; });
    std::stable_sort(report_.Checked.begin(), report_.Checked.end(),
                     [](const TLegCheck& a, const TLegCheck& b) { return a.W != b.W ? a.W > b.W : a.Leg < b.Leg; });
    std::sort(report_.Unchecked.begin(), report_.Unchecked.end(),
              [](const TUncheckedLeg& a, const TUncheckedLeg& b) { return a.Leg < b.Leg; });
    return std::move(report_);
  }

 private:
  void IndexLoops() {
    loopStart_.assign(static_cast<size_t>(survey_.LegCount()) + 1, 0);
    for (const TLoopMisclosure& loop : loops_)
      for (const int32_t leg : loop.LegIndices) ++loopStart_[static_cast<size_t>(leg) + 1];
    for (size_t i = 0; i + 1 < loopStart_.size(); ++i) loopStart_[i + 1] += loopStart_[i];
    loopOfLeg_.resize(static_cast<size_t>(loopStart_.back()));
    std::vector<int32_t> fill(loopStart_.begin(), loopStart_.end() - 1);
    for (size_t l = 0; l < loops_.size(); ++l)
      for (size_t k = 0; k < loops_[l].LegIndices.size(); ++k)
        loopOfLeg_[static_cast<size_t>(fill[static_cast<size_t>(loops_[l].LegIndices[k])]++)] = {
            static_cast<int32_t>(l), loops_[l].Directions[k]};
  }

  TLegCheck Plain(const TNetworkAdjustment& adjustment, int32_t i, double t, double redundancy) const {
    TLegCheck check;
    check.Leg = legOfObs_[static_cast<size_t>(i)];
    check.W = NormalEquivalentOfChiSquare3(t);
    check.Redundancy = redundancy;
    check.Residual = adjustment.Residual(i);
    check.DropPercent = kNaN;
    const auto leg = static_cast<size_t>(check.Leg);
    for (int32_t k = loopStart_[leg]; k < loopStart_[leg + 1]; ++k) {
      const int32_t index = loops_[static_cast<size_t>(loopOfLeg_[static_cast<size_t>(k)].Loop)].Index;
      if (check.Loops.empty() || check.Loops.back() != index) check.Loops.push_back(index);
    }
    return check;
  }

  TReadingFit Fit(const TNetworkAdjustment& adjustment, int32_t i) const {
    const TObservation& o = obs_[static_cast<size_t>(i)];
    return BestReadingFit(o.Vector, o.Covariance, adjustment.Residual(i), adjustment.ResidualCovariance(i));
  }

  TLegCheck Describe(const TNetworkAdjustment& adjustment, int32_t i, double t, double redundancy) const {
    TLegCheck check = Plain(adjustment, i, t, redundancy);
    const TObservation& o = obs_[static_cast<size_t>(i)];
    check.Fit = Fit(adjustment, i);
    check.Explained = t > 0 ? std::clamp(check.Fit.Reduction / t, 0.0, 1.0) : 0;
    check.Described = true;
    // The loops' misclosures before and after the change.
    const Vec3 shift = Sub3(ChangedVector(o.Vector, check.Fit.Kind, check.Fit.Change), o.Vector);
    double before = 0, after = 0;
    const auto leg = static_cast<size_t>(check.Leg);
    for (int32_t k = loopStart_[leg]; k < loopStart_[leg + 1]; ++k) {
      const TLoopOfLeg& ref = loopOfLeg_[static_cast<size_t>(k)];
      const TLoopMisclosure& loop = loops_[static_cast<size_t>(ref.Loop)];
      if (loop.Status != TLoopStatus::Measured) continue;
      before += loop.Error;
      after += Length3(Add3(loop.Misclosure, Scale3(shift, ref.Direction)));
    }
    if (before > 0) check.DropPercent = 100 * (1 - after / before);
    return check;
  }

  struct TLoopOfLeg {
    int32_t Loop;
    int8_t Direction;
  };

  const TSurvey& survey_;
  const std::vector<TLoopMisclosure>& loops_;
  const TBlunderOptions& options_;
  int32_t stations_ = 0;
  std::vector<TObservation> obs_;
  std::vector<TMatrix3> weight_;
  std::vector<int32_t> legOfObs_;
  std::vector<int32_t> loopStart_;
  std::vector<TLoopOfLeg> loopOfLeg_;
  TBlunderReport report_;
};

}  // namespace

TBlunderReport FindBlunders(const TSurvey& survey, const TSurveyNetwork& network, const TSurveyGraph& graph,
                            const std::vector<TLoopMisclosure>& loops, const TBlunderOptions& options) {
  return TBlunderSearch(survey, network, graph, loops, options).Run();
}

std::string_view UncheckedReasonName(TUncheckedReason reason) {
  switch (reason) {
    case TUncheckedReason::Bridge:
      return "bridge";
    case TUncheckedReason::ThroughSuspects:
      return "suspects";
    case TUncheckedReason::Weak:
      return "weak";
    case TUncheckedReason::Unmeasured:
      return "unmeasured";
  }
  return "bridge";
}
