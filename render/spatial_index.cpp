#include "render/spatial_index.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <string>

#include "render/renderer.h"

namespace {

// Beyond this a coordinate is no longer drawn where it lies (the renderer
// holds coordinates within +-2^30), so such a station reaches everywhere.
constexpr double kExactCoordinateLimit = 1e9;
// An edge line ends within 10 of its station (plus rounding and truncation),
// and an arrow head's corners lie within sqrt(10^2 + 5^2) of the line's end
// (plus truncation): everything an edge paints lies within this of a station.
constexpr int32_t kEdgeReach = 26;
// Edges over more buckets than this are kept apart and tested one by one,
// so that a few long shots do not fill the whole grid.
constexpr int64_t kMaxBucketsPerEdge = 64;
// The grid never has more buckets than this, however sparse the network.
constexpr int64_t kMaxBuckets = int64_t{1} << 22;

// Widths of texts bounded from the widths of their characters: each
// character of the label font is measured once. Kerning and rounding can
// make a text slightly wider than its characters together, hence the slack.
class TLabelBounds {
 public:
  explicit TLabelBounds(TCanvas& canvas) : canvas_(canvas) {}

  TSize Bound(const std::string& text) {
    int32_t width = 0;
    int32_t height = 0;
    for (const char c : text) {
      const auto byte = static_cast<unsigned char>(c);
      // Letters beyond ASCII are shaped together; such names are measured whole.
      if (byte >= 0x80) return Whole(text);
      const TSize extent = Character(byte);
      width += extent.Width;
      height = std::max(height, extent.Height);
    }
    if (text.empty()) return Whole(text);
    return {width + 2 * static_cast<int32_t>(text.size()) + 4, height + 2};
  }

 private:
  TSize Character(unsigned char byte) {
    if (!known_[byte]) {
      characters_[byte] = canvas_.TextExtent(std::string(1, static_cast<char>(byte)));
      known_[byte] = true;
    }
    return characters_[byte];
  }

  TSize Whole(const std::string& text) {
    const TSize extent = canvas_.TextExtent(text);
    return {extent.Width + 4, extent.Height + 2};
  }

  TCanvas& canvas_;
  std::array<TSize, 128> characters_{};
  std::array<bool, 128> known_{};
};

bool DrawnWhereItLies(const Vec3& p) {
  return std::abs(p.X) <= kExactCoordinateLimit && std::abs(p.Y) <= kExactCoordinateLimit &&
         std::abs(p.Z) <= kExactCoordinateLimit;
}

}  // namespace

TRect UnitedRects(const TRect& a, const TRect& b) {
  return {std::min(a.Left, b.Left), std::min(a.Top, b.Top), std::max(a.Right, b.Right), std::max(a.Bottom, b.Bottom)};
}

std::vector<TRect> StationReach(const TSurveyGraph& graph, const TDisplaySettings& settings, TCanvas& canvas) {
  canvas.SetFont(settings.LabelFont);
  TLabelBounds labels(canvas);
  // A pen is centred on the outline it draws and ends in round caps.
  const int32_t pen = std::max(settings.LineWidth, 1) + 2;
  const int32_t named = std::min(graph.StationCount(), graph.Names.NameList.Count());
  std::vector<TRect> reach(static_cast<size_t>(graph.StationCount()), kNoRect);
  for (int32_t i = 0; i < named; ++i) {
    const Vec3 p = graph.Positions.Get(i);
    if (!DrawnWhereItLies(p)) {
      reach[static_cast<size_t>(i)] = kEveryRect;
      continue;
    }
    const auto x = static_cast<int32_t>(std::trunc(p.X));
    const auto y = static_cast<int32_t>(std::trunc(p.Y));
    const TSize text = labels.Bound(settings.LabelMode == lmStation ? graph.Names.GetName(i) : std::to_string(i));
    // The label box is 3 around the text, its frame 1 further out.
    const int32_t halfWidth = text.Width / 2 + 1 + kLabelMargin + 1 + pen;
    const int32_t halfHeight = text.Height / 2 + 1 + kLabelMargin + 1 + pen;
    const int32_t edge = kEdgeReach + pen;
    const TRect label{x - halfWidth, y - halfHeight, x + halfWidth + 1, y + halfHeight + 1};
    const TRect lines{x - edge, y - edge, x + edge + 1, y + edge + 1};
    reach[static_cast<size_t>(i)] = UnitedRects(label, lines);
  }
  return reach;
}

TEdgeSpatialIndex::TEdgeSpatialIndex(const TSurveyGraph& graph, std::vector<TRect> stationReach)
    : graph_(graph), reach_(std::move(stationReach)) {
  const int32_t edgeCount = graph.Edges.Count();
  // The grid covers the edges that have exact bounds; its buckets are about
  // twice an edge's usual size, so most edges fall into one to four of them.
  TRect extent = kNoRect;
  double sizes = 0;
  int64_t sized = 0;
  for (int32_t e = 0; e < edgeCount; ++e) {
    const TRect r = EdgeReach(e);
    if (r.Left >= r.Right || r == kEveryRect || r.Left == INT32_MIN) continue;
    extent = UnitedRects(extent, r);
    sizes += 0.5 * (static_cast<double>(int64_t{r.Right} - r.Left) + static_cast<double>(int64_t{r.Bottom} - r.Top));
    ++sized;
  }
  if (sized == 0) {
    for (int32_t e = 0; e < edgeCount; ++e) {
      if (EdgeReach(e).Left < EdgeReach(e).Right) wideEdges_.push_back(e);
    }
    bucketStart_.assign(1, 0);
    return;
  }
  originX_ = extent.Left;
  originY_ = extent.Top;
  const int64_t width = int64_t{extent.Right} - extent.Left;
  const int64_t height = int64_t{extent.Bottom} - extent.Top;
  int64_t side = std::clamp<int64_t>(std::llround(2 * sizes / static_cast<double>(sized)), 32, int64_t{1} << 30);
  while (((width + side - 1) / side) * ((height + side - 1) / side) > kMaxBuckets) side *= 2;
  side_ = static_cast<int32_t>(side);
  columns_ = static_cast<int32_t>((width + side - 1) / side);
  rows_ = static_cast<int32_t>((height + side - 1) / side);

  // Two passes: count the edges per bucket, then place them.
  const auto buckets = static_cast<size_t>(columns_) * static_cast<size_t>(rows_);
  bucketStart_.assign(buckets + 1, 0);
  std::vector<uint8_t> wide(static_cast<size_t>(edgeCount), 0);
  auto forEachBucket = [this](const TRect& r, auto&& visit) {
    const int32_t c0 = BucketColumn(r.Left), c1 = BucketColumn(int64_t{r.Right} - 1);
    const int32_t r0 = BucketRow(r.Top), r1 = BucketRow(int64_t{r.Bottom} - 1);
    for (int32_t row = r0; row <= r1; ++row)
      for (int32_t column = c0; column <= c1; ++column)
        visit(static_cast<size_t>(row) * static_cast<size_t>(columns_) + static_cast<size_t>(column));
  };
  for (int32_t e = 0; e < edgeCount; ++e) {
    const TRect r = EdgeReach(e);
    if (r.Left >= r.Right || r.Top >= r.Bottom) continue;
    const int64_t spanned = (int64_t{BucketColumn(int64_t{r.Right} - 1)} - BucketColumn(r.Left) + 1) *
                            (int64_t{BucketRow(int64_t{r.Bottom} - 1)} - BucketRow(r.Top) + 1);
    if (spanned > kMaxBucketsPerEdge || r.Left < originX_ || r.Top < originY_) {
      wide[static_cast<size_t>(e)] = 1;
      wideEdges_.push_back(e);
      continue;
    }
    forEachBucket(r, [this](size_t bucket) { ++bucketStart_[bucket + 1]; });
  }
  for (size_t b = 0; b < buckets; ++b) bucketStart_[b + 1] += bucketStart_[b];
  bucketEdges_.resize(bucketStart_[buckets]);
  std::vector<uint32_t> next(bucketStart_.begin(), bucketStart_.end() - 1);
  for (int32_t e = 0; e < edgeCount; ++e) {
    if (wide[static_cast<size_t>(e)]) continue;
    const TRect r = EdgeReach(e);
    if (r.Left >= r.Right || r.Top >= r.Bottom) continue;
    forEachBucket(r, [this, &next, e](size_t bucket) { bucketEdges_[next[bucket]++] = e; });
  }
}

TRect TEdgeSpatialIndex::EdgeReach(int32_t edge) const {
  const int32_t from = graph_.Edges.Froms.begin()[edge];
  const int32_t to = graph_.Edges.Tos.begin()[edge];
  const auto stations = static_cast<int64_t>(reach_.size());
  if (from < 0 || to < 0 || from >= stations || to >= stations) return kNoRect;
  const TRect& a = reach_[static_cast<size_t>(from)];
  const TRect& b = reach_[static_cast<size_t>(to)];
  // An edge at a station without a name is not drawn at all.
  if (a.Left >= a.Right || b.Left >= b.Right) return kNoRect;
  return UnitedRects(a, b);
}

int32_t TEdgeSpatialIndex::BucketColumn(int64_t x) const {
  return static_cast<int32_t>(std::clamp<int64_t>((x - originX_) / side_, 0, columns_ - 1));
}

int32_t TEdgeSpatialIndex::BucketRow(int64_t y) const {
  return static_cast<int32_t>(std::clamp<int64_t>((y - originY_) / side_, 0, rows_ - 1));
}

std::vector<int32_t> TEdgeSpatialIndex::EdgesMeeting(const TRect& rect) const {
  std::vector<int32_t> found;
  if (rect.Left >= rect.Right || rect.Top >= rect.Bottom) return found;
  for (const int32_t e : wideEdges_) {
    if (RectsMeet(EdgeReach(e), rect)) found.push_back(e);
  }
  if (columns_ > 0 && rows_ > 0) {
    const int64_t gridRight = originX_ + int64_t{columns_} * side_;
    const int64_t gridBottom = originY_ + int64_t{rows_} * side_;
    if (rect.Right > originX_ && rect.Left < gridRight && rect.Bottom > originY_ && rect.Top < gridBottom) {
      const int32_t c0 = BucketColumn(rect.Left), c1 = BucketColumn(int64_t{rect.Right} - 1);
      const int32_t r0 = BucketRow(rect.Top), r1 = BucketRow(int64_t{rect.Bottom} - 1);
      for (int32_t row = r0; row <= r1; ++row) {
        for (int32_t column = c0; column <= c1; ++column) {
          const size_t bucket = static_cast<size_t>(row) * static_cast<size_t>(columns_) + static_cast<size_t>(column);
          for (uint32_t k = bucketStart_[bucket]; k < bucketStart_[bucket + 1]; ++k) {
            const int32_t e = bucketEdges_[k];
            const TRect r = EdgeReach(e);
            if (!RectsMeet(r, rect)) continue;
            // An edge in several buckets is reported by the first of them
            // that the rectangle covers.
            if (std::max(BucketColumn(r.Left), c0) != column || std::max(BucketRow(r.Top), r0) != row) continue;
            found.push_back(e);
          }
        }
      }
    }
  }
  std::sort(found.begin(), found.end());
  return found;
}

size_t TEdgeSpatialIndex::MemoryBytes() const {
  return reach_.capacity() * sizeof(TRect) + bucketStart_.capacity() * sizeof(uint32_t) +
         (bucketEdges_.capacity() + wideEdges_.capacity()) * sizeof(int32_t);
}

std::vector<TRect> LoopReach(const TLoopList& loops, const std::vector<TRect>& stationReach) {
  std::vector<TRect> reach(static_cast<size_t>(loops.Count()), kNoRect);
  const auto stations = static_cast<int64_t>(stationReach.size());
  for (int32_t i = 0; i < loops.Count(); ++i) {
    const TEdgeArray& loop = loops.LoopAt(i);
    const int32_t* froms = loop.Froms.begin();
    const int32_t* tos = loop.Tos.begin();
    TRect box = kNoRect;
    for (int32_t k = 0; k < loop.Count(); ++k) {
      const int32_t from = froms[k], to = tos[k];
      if (from < 0 || to < 0 || from >= stations || to >= stations) continue;
      const TRect& a = stationReach[static_cast<size_t>(from)];
      const TRect& b = stationReach[static_cast<size_t>(to)];
      if (a.Left >= a.Right || b.Left >= b.Right) continue;
      box = UnitedRects(box, UnitedRects(a, b));
    }
    reach[static_cast<size_t>(i)] = box;
  }
  return reach;
}
