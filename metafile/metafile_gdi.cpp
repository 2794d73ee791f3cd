#include "metafile/metafile_gdi.h"

#include <algorithm>
#include <optional>
#include <type_traits>

#include "metafile/metafile_text.h"

namespace {

// Grows an inclusive rectangle; an empty one (Right < Left) takes the other.
void Include(TRect& bounds, const TRect& part) {
  if (part.Right < part.Left || part.Bottom < part.Top) return;
  if (bounds.Right < bounds.Left) {
    bounds = part;
    return;
  }
  bounds.Left = std::min(bounds.Left, part.Left);
  bounds.Top = std::min(bounds.Top, part.Top);
  bounds.Right = std::max(bounds.Right, part.Right);
  bounds.Bottom = std::max(bounds.Bottom, part.Bottom);
}

// The pixels of a right- and bottom-exclusive rectangle, inclusive.
TRect Pixels(const TRect& rect) { return TRect{rect.Left, rect.Top, rect.Right - 1, rect.Bottom - 1}; }

// A pen of width w reaches w / 2 beyond the path it follows.
TRect Widened(TPoint a, TPoint b, int32_t penWidth) {
  const int32_t reach = penWidth / 2;
  return TRect{std::min(a.X, b.X) - reach, std::min(a.Y, b.Y) - reach, std::max(a.X, b.X) + reach,
               std::max(a.Y, b.Y) + reach};
}

// Keeps the device's current pen, brush and font, background mode and
// text colour, and emits only the calls that change what the next operation
// needs.
class TGdiPlayer {
 public:
  TGdiPlayer(const TMetafileOptions& options, TGdiSink& sink) : options_(options), sink_(sink) {}

  void Play(const TMetafileOp& op) {
    std::visit([this](const auto& o) { PlayOp(o); }, op);
  }

  // Deletes every object still held; the device's own objects take over.
  uint16_t Finish() {
    ReleaseAll(pens_);
    ReleaseAll(brushes_);
    ReleaseAll(fonts_);
    return slotsNeeded_;
  }

 private:
  // The objects of one kind the device holds. A few stay after use, so that
  // going back to a pen or brush used a moment ago (a label's frame after its
  // fill, the next label after a line) only selects it again.
  template <typename T>
  struct TKept {
    struct TLive {
      T Object{};
      uint16_t Slot = 0;
      uint64_t LastUse = 0;
    };
    std::vector<TLive> Live;
    size_t Selected = 0;  // index into Live, when Live is not empty
  };
  static constexpr size_t kKeptPerKind = 8;

  void PlayOp(const TFillRectOp& op) { Fill(op.Rect, op.Color); }

  void PlayOp(const TRectangleOp& op) {
    UsePen(Pen(op.Pen));
    UseBrush(Brush(op.Brush));
    sink_.Rectangle(op.Rect);
  }

  void PlayOp(const TTextOp& op) {
    // Readers draw an opaque text background each their own way (libwmf
    // paints every character's cell over the one before), so the box is
    // filled first as a plain rectangle and the text drawn transparently
    // over it: the same picture, which every reader draws alike. The fill
    // also covers the outline of a rectangle drawn on the box before, as on
    // the screen.
    if (op.Background) Fill(op.Clip, *op.Background);
    UseFont(Font(op.Font));
    UseTextColor(ColorRef(op.Font.Color, options_));
    UseBackgroundMode(kBackgroundTransparent);
    sink_.Text(TGdiText{op.Origin, op.Clip, kTextClipped, DecodeUtf8(op.Text), op.Advances});
  }

  void Fill(const TRect& rect, TColor color) {
    if (rect.Right <= rect.Left || rect.Bottom <= rect.Top) return;
    // Without a pen a rectangle loses its right column and bottom row, so
    // one pixel more on each of those sides fills exactly the rectangle.
    UsePen(TGdiPen{kPenNull, 1, 0});
    UseBrush(TGdiBrush{kBrushSolid, ColorRef(color, options_)});
    sink_.Rectangle(TRect{rect.Left, rect.Top, rect.Right + 1, rect.Bottom + 1});
  }

  void PlayOp(const TMoveToOp& op) { sink_.MoveTo(op.Point); }

  void PlayOp(const TLineToOp& op) {
    UsePen(Pen(op.Pen));
    sink_.LineTo(op.Point);
  }

  void PlayOp(const TPolygonOp& op) {
    UsePen(Pen(op.Pen));
    UseBrush(Brush(op.Brush));
    sink_.Polygon(op.Points);
  }

  TGdiPen Pen(const TMetafilePen& pen) const { return TGdiPen{kPenSolid, pen.Width, ColorRef(pen.Color, options_)}; }

  TGdiBrush Brush(const TMetafileBrush& brush) const {
    if (!brush) return TGdiBrush{kBrushNull, 0};
    return TGdiBrush{kBrushSolid, ColorRef(*brush, options_)};
  }

  static TGdiFont Font(const TFontSpec& font) {
    return TGdiFont{font.Height,    font.Bold ? kFontWeightBold : kFontWeightNormal,
                    font.Italic,    font.Underline,
                    font.StrikeOut, font.Face};
  }

  void UsePen(const TGdiPen& pen) {
    Use(pens_, pen, [this](uint16_t slot, const TGdiPen& p) { sink_.CreatePen(slot, p); });
  }
  void UseBrush(const TGdiBrush& brush) {
    Use(brushes_, brush, [this](uint16_t slot, const TGdiBrush& b) { sink_.CreateBrush(slot, b); });
  }
  void UseFont(const TGdiFont& font) {
    Use(fonts_, font, [this](uint16_t slot, const TGdiFont& f) { sink_.CreateFont(slot, f); });
  }

  // The wanted object is selected (created first unless held) before any
  // other is deleted: a device must never be left with a deleted object selected.
  template <typename T, typename Create>
  void Use(TKept<T>& kept, const T& wanted, Create create) {
    ++clock_;
    if (!kept.Live.empty() && kept.Live[kept.Selected].Object == wanted) {
      kept.Live[kept.Selected].LastUse = clock_;
      return;
    }
    auto found = std::find_if(kept.Live.begin(), kept.Live.end(), [&](const auto& l) { return l.Object == wanted; });
    if (found == kept.Live.end()) {
      const uint16_t slot = TakeSlot();
      create(slot, wanted);
      kept.Live.push_back({wanted, slot, 0});
      found = kept.Live.end() - 1;
    }
    found->LastUse = clock_;
    sink_.SelectObject(found->Slot);
    kept.Selected = static_cast<size_t>(found - kept.Live.begin());
    if (kept.Live.size() > kKeptPerKind) DeleteLeastRecent(kept);
  }

  template <typename T>
  void DeleteLeastRecent(TKept<T>& kept) {
    size_t oldest = kept.Selected == 0 ? 1 : 0;
    for (size_t i = 0; i < kept.Live.size(); ++i) {
      if (i != kept.Selected && kept.Live[i].LastUse < kept.Live[oldest].LastUse) oldest = i;
    }
    Delete(kept.Live[oldest].Slot);
    kept.Live.erase(kept.Live.begin() + static_cast<std::ptrdiff_t>(oldest));
    if (oldest < kept.Selected) --kept.Selected;
  }

  template <typename T>
  void ReleaseAll(TKept<T>& kept) {
    for (const auto& live : kept.Live) Delete(live.Slot);
    kept.Live.clear();
  }

  void Delete(uint16_t slot) {
    sink_.DeleteObject(slot);
    slots_[slot] = false;
  }

  uint16_t TakeSlot() {
    const auto free = std::find(slots_.begin(), slots_.end(), false);
    const auto slot = static_cast<uint16_t>(free - slots_.begin());
    if (free == slots_.end()) {
      slots_.push_back(true);
    } else {
      *free = true;
    }
    slotsNeeded_ = std::max<uint16_t>(slotsNeeded_, static_cast<uint16_t>(slots_.size()));
    return slot;
  }

  void UseBackgroundMode(uint16_t mode) {
    if (backgroundMode_ == mode) return;
    sink_.SetBackgroundMode(mode);
    backgroundMode_ = mode;
  }
  void UseTextColor(uint32_t color) {
    if (textColor_ == color) return;
    sink_.SetTextColor(color);
    textColor_ = color;
  }

  const TMetafileOptions& options_;
  TGdiSink& sink_;
  std::vector<bool> slots_;
  uint16_t slotsNeeded_ = 0;
  TKept<TGdiPen> pens_;
  TKept<TGdiBrush> brushes_;
  TKept<TGdiFont> fonts_;
  uint64_t clock_ = 0;
  // Unknown at the start: the first use always sets them.
  std::optional<uint16_t> backgroundMode_;
  std::optional<uint32_t> textColor_;
};

}  // namespace

uint32_t ColorRef(TColor color, const TMetafileOptions& options) {
  const TColor rgb = color.IsWindowText() ? options.WindowTextColor : color;
  return uint32_t{rgb.R()} | (uint32_t{rgb.G()} << 8) | (uint32_t{rgb.B()} << 16);
}

TRect DrawingBounds(const TMetafileCanvas& recording) {
  TRect bounds{0, 0, -1, -1};
  TPoint position{0, 0};
  for (const TMetafileOp& op : recording.Operations()) {
    std::visit(
        [&](const auto& o) {
          using T = std::decay_t<decltype(o)>;
          if constexpr (std::is_same_v<T, TFillRectOp>) {
            Include(bounds, Pixels(o.Rect));
          } else if constexpr (std::is_same_v<T, TRectangleOp>) {
            const TRect pixels = Pixels(o.Rect);
            Include(bounds, Widened(TPoint{pixels.Left, pixels.Top}, TPoint{pixels.Right, pixels.Bottom}, o.Pen.Width));
          } else if constexpr (std::is_same_v<T, TTextOp>) {
            Include(bounds, Pixels(o.Clip));
          } else if constexpr (std::is_same_v<T, TMoveToOp>) {
            position = o.Point;
          } else if constexpr (std::is_same_v<T, TLineToOp>) {
            Include(bounds, Widened(position, o.Point, o.Pen.Width));
            position = o.Point;
          } else if constexpr (std::is_same_v<T, TPolygonOp>) {
            for (TPoint p : o.Points) Include(bounds, Widened(p, p, o.Pen.Width));
          }
        },
        op);
  }
  return bounds;
}

namespace {

// A rectangle of a thin pen that an opaque text right after it fills over:
// the text's fill covers its outline and its interior, so it shows nowhere.
bool HiddenByNextText(const TMetafileOp& op, const TMetafileOp* next) {
  const auto* rectangle = std::get_if<TRectangleOp>(&op);
  const auto* text = next != nullptr ? std::get_if<TTextOp>(next) : nullptr;
  return rectangle != nullptr && text != nullptr && rectangle->Pen.Width <= 1 && text->Background &&
         text->Clip == rectangle->Rect;
}

}  // namespace

uint16_t PlayRecording(const TMetafileCanvas& recording, const TMetafileOptions& options, TGdiSink& sink) {
  TGdiPlayer player(options, sink);
  const std::vector<TMetafileOp>& operations = recording.Operations();
  for (size_t i = 0; i < operations.size(); ++i) {
    const TMetafileOp* next = i + 1 < operations.size() ? &operations[i + 1] : nullptr;
    if (!HiddenByNextText(operations[i], next)) player.Play(operations[i]);
  }
  return player.Finish();
}
