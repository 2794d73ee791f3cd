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
// colours, and emits only the calls that change what the next operation
// needs.
class TGdiPlayer {
 public:
  TGdiPlayer(const TMetafileOptions& options, TGdiSink& sink) : options_(options), sink_(sink) {}

  void Play(const TMetafileOp& op) {
    std::visit([this](const auto& o) { PlayOp(o); }, op);
  }

  // Deletes what is still selected; the device's own objects take over.
  uint16_t Finish() {
    Release(pen_);
    Release(brush_);
    Release(font_);
    return slotsNeeded_;
  }

 private:
  // An object created into Slot and selected, while Held.
  template <typename T>
  struct TSelected {
    T Object{};
    uint16_t Slot = 0;
    bool Held = false;
  };

  void PlayOp(const TFillRectOp& op) {
    if (op.Rect.Right <= op.Rect.Left || op.Rect.Bottom <= op.Rect.Top) return;
    // Without a pen a rectangle loses its right column and bottom row, so
    // one pixel more on each of those sides fills exactly the rectangle.
    UsePen(TGdiPen{kPenNull, 1, 0});
    UseBrush(TGdiBrush{kBrushSolid, ColorRef(op.Color, options_)});
    sink_.Rectangle(TRect{op.Rect.Left, op.Rect.Top, op.Rect.Right + 1, op.Rect.Bottom + 1});
  }

  void PlayOp(const TRectangleOp& op) {
    UsePen(Pen(op.Pen));
    UseBrush(Brush(op.Brush));
    sink_.Rectangle(op.Rect);
  }

  void PlayOp(const TTextOp& op) {
    TGdiText text{op.Origin, op.Clip, kTextClipped, DecodeUtf8(op.Text), op.Advances};
    UseFont(Font(op.Font));
    UseTextColor(ColorRef(op.Font.Color, options_));
    if (op.Background) {
      text.Options |= kTextOpaque;
      UseBackgroundMode(kBackgroundOpaque);
      UseBackgroundColor(ColorRef(*op.Background, options_));
    } else {
      UseBackgroundMode(kBackgroundTransparent);
    }
    sink_.Text(text);
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
    Use(pen_, pen, [this](uint16_t slot, const TGdiPen& p) { sink_.CreatePen(slot, p); });
  }
  void UseBrush(const TGdiBrush& brush) {
    Use(brush_, brush, [this](uint16_t slot, const TGdiBrush& b) { sink_.CreateBrush(slot, b); });
  }
  void UseFont(const TGdiFont& font) {
    Use(font_, font, [this](uint16_t slot, const TGdiFont& f) { sink_.CreateFont(slot, f); });
  }

  // The new object is created and selected before the old one is deleted:
  // a device must never be left with a deleted object selected.
  template <typename T, typename Create>
  void Use(TSelected<T>& selected, const T& wanted, Create create) {
    if (selected.Held && selected.Object == wanted) return;
    const uint16_t slot = TakeSlot();
    create(slot, wanted);
    sink_.SelectObject(slot);
    Release(selected);
    selected.Object = wanted;
    selected.Slot = slot;
    selected.Held = true;
  }

  template <typename T>
  void Release(TSelected<T>& selected) {
    if (!selected.Held) return;
    sink_.DeleteObject(selected.Slot);
    slots_[selected.Slot] = false;
    selected.Held = false;
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
  void UseBackgroundColor(uint32_t color) {
    if (backgroundColor_ == color) return;
    sink_.SetBackgroundColor(color);
    backgroundColor_ = color;
  }

  const TMetafileOptions& options_;
  TGdiSink& sink_;
  std::vector<bool> slots_;
  uint16_t slotsNeeded_ = 0;
  TSelected<TGdiPen> pen_;
  TSelected<TGdiBrush> brush_;
  TSelected<TGdiFont> font_;
  // Unknown at the start: the first use always sets them.
  std::optional<uint16_t> backgroundMode_;
  std::optional<uint32_t> textColor_;
  std::optional<uint32_t> backgroundColor_;
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

uint16_t PlayRecording(const TMetafileCanvas& recording, const TMetafileOptions& options, TGdiSink& sink) {
  TGdiPlayer player(options, sink);
  for (const TMetafileOp& op : recording.Operations()) player.Play(op);
  return player.Finish();
}
