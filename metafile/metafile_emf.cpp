// The enhanced metafile writer: a 108-byte header, then one record per
// device call, then the end-of-file record. Every record is a type, its size
// in bytes, and its fields; all sizes are multiples of 4.

#include <algorithm>
#include <bit>
#include <limits>

#include "core/errors.h"
#include "metafile/metafile_bytes.h"
#include "metafile/metafile_export.h"
#include "metafile/metafile_gdi.h"
#include "metafile/metafile_text.h"

namespace {

enum : uint32_t {
  emrHeader = 1,
  emrPolygon = 3,
  emrEof = 14,
  emrSetBkMode = 18,
  emrSetTextColor = 24,
  emrMoveToEx = 27,
  emrSelectObject = 37,
  emrCreatePen = 38,
  emrCreateBrushIndirect = 39,
  emrDeleteObject = 40,
  emrRectangle = 43,
  emrLineTo = 54,
  emrExtCreateFontIndirectW = 82,
  emrExtTextOutW = 84,
  emrPolygon16 = 86,
};

constexpr uint32_t kSignature = 0x464D4520;  // " EMF"
constexpr uint32_t kVersion = 0x00010000;
constexpr uint32_t kCompatibleGraphicsMode = 1;
constexpr uint8_t kDefaultCharSet = 1;
constexpr size_t kFaceNameUnits = 32;
constexpr int32_t kPixelsPerInch = 96;

// Hundredths of a millimetre covered by a run of pixels at 96 per inch,
// rounded up so that the whole run lies inside.
int32_t HundredthsOfMillimetre(int32_t pixels) {
  return static_cast<int32_t>((int64_t{pixels} * 2540 + kPixelsPerInch - 1) / kPixelsPerInch);
}

bool FitsInt16(TPoint p) {
  constexpr int32_t low = std::numeric_limits<int16_t>::min();
  constexpr int32_t high = std::numeric_limits<int16_t>::max();
  return p.X >= low && p.X <= high && p.Y >= low && p.Y <= high;
}

class TEmfSink final : public TGdiSink {
 public:
  explicit TEmfSink(TByteWriter& out) : out_(out) {}

  uint32_t RecordCount() const { return records_; }

  void Header(const TRect& bounds, const TRect& frame, const TMetafileOptions& options) {
    const size_t start = Begin(emrHeader);
    Rect(bounds);
    Rect(frame);
    out_.U32(kSignature);
    out_.U32(kVersion);
    out_.U32(0);  // file size, patched at the end
    out_.U32(0);  // record count, patched at the end
    out_.U16(0);  // handle count, patched at the end
    out_.U16(0);
    out_.U32(0);  // no description
    out_.U32(0);
    out_.U32(0);  // no palette
    const TSize screen = options.ReferenceScreen;
    out_.I32(screen.Width);
    out_.I32(screen.Height);
    out_.I32(Millimetres(screen.Width));
    out_.I32(Millimetres(screen.Height));
    out_.U32(0);  // no pixel format
    out_.U32(0);
    out_.U32(0);  // no OpenGL
    out_.I32(static_cast<int32_t>(int64_t{screen.Width} * 25400 / kPixelsPerInch));
    out_.I32(static_cast<int32_t>(int64_t{screen.Height} * 25400 / kPixelsPerInch));
    End(start);
  }

  void Eof() {
    const size_t start = Begin(emrEof);
    out_.U32(0);   // no palette entries
    out_.U32(16);  // where they would start
    out_.U32(20);  // this record's size, repeated for readers going backwards
    End(start);
  }

  void CreatePen(uint16_t slot, const TGdiPen& pen) override {
    const size_t start = Begin(emrCreatePen);
    out_.U32(Handle(slot));
    out_.U32(pen.Style);
    out_.I32(pen.Width);
    out_.I32(0);
    out_.U32(pen.Color);
    End(start);
  }

  void CreateBrush(uint16_t slot, const TGdiBrush& brush) override {
    const size_t start = Begin(emrCreateBrushIndirect);
    out_.U32(Handle(slot));
    out_.U32(brush.Style);
    out_.U32(brush.Color);
    out_.U32(0);  // no hatch
    End(start);
  }

  void CreateFont(uint16_t slot, const TGdiFont& font) override {
    const size_t start = Begin(emrExtCreateFontIndirectW);
    out_.U32(Handle(slot));
    out_.I32(font.Height);
    out_.I32(0);  // width: the font's own
    out_.I32(0);  // escapement
    out_.I32(0);  // orientation
    out_.I32(font.Weight);
    out_.U8(font.Italic ? 1 : 0);
    out_.U8(font.Underline ? 1 : 0);
    out_.U8(font.StrikeOut ? 1 : 0);
    out_.U8(kDefaultCharSet);
    out_.Zeros(4);  // output and clip precision, quality, pitch and family: defaults
    // The face field holds 31 units and a terminating zero; no installed
    // font has a longer name.
    std::u16string face;
    for (char32_t c : DecodeUtf8(font.Face)) face += EncodeUtf16(c);
    face.resize(std::min(face.size(), kFaceNameUnits - 1));
    for (char16_t unit : face) out_.U16(unit);
    out_.Zeros(2 * (kFaceNameUnits - face.size()));
    // Full name, style, version, style size, match, reserved, vendor,
    // culture and panose: unknown, left zero as the format allows.
    out_.Zeros(2 * 64 + 2 * 32 + 6 * 4 + 10 + 2);
    End(start);
  }

  void SelectObject(uint16_t slot) override { HandleRecord(emrSelectObject, slot); }
  void DeleteObject(uint16_t slot) override { HandleRecord(emrDeleteObject, slot); }

  void SetBackgroundMode(uint16_t mode) override { ValueRecord(emrSetBkMode, mode); }
  void SetTextColor(uint32_t color) override { ValueRecord(emrSetTextColor, color); }

  void Rectangle(const TRect& rect) override {
    const size_t start = Begin(emrRectangle);
    Rect(rect);
    End(start);
  }

  void Text(const TGdiText& text) override {
    std::u16string units;
    std::vector<int32_t> advances;
    for (size_t i = 0; i < text.Text.size(); ++i) {
      const std::u16string encoded = EncodeUtf16(text.Text[i]);
      units += encoded;
      // A surrogate pair is one character: its advance goes with the first unit.
      advances.push_back(i < text.Advances.size() ? text.Advances[i] : 0);
      if (encoded.size() == 2) advances.push_back(0);
    }
    const uint32_t fixedSize = 76;
    const uint32_t stringBytes = static_cast<uint32_t>((2 * units.size() + 3) / 4 * 4);

    const size_t start = Begin(emrExtTextOutW);
    Rect(TRect{text.Clip.Left, text.Clip.Top, text.Clip.Right - 1, text.Clip.Bottom - 1});
    out_.U32(kCompatibleGraphicsMode);
    // Page units to hundredths of a millimetre, at 96 pixels per inch.
    out_.U32(std::bit_cast<uint32_t>(2540.0f / kPixelsPerInch));
    out_.U32(std::bit_cast<uint32_t>(2540.0f / kPixelsPerInch));
    out_.I32(text.Origin.X);
    out_.I32(text.Origin.Y);
    out_.U32(static_cast<uint32_t>(units.size()));
    out_.U32(fixedSize);
    out_.U32(text.Options);
    Rect(text.Clip);
    out_.U32(fixedSize + stringBytes);
    for (char16_t unit : units) out_.U16(unit);
    out_.Zeros(stringBytes - 2 * units.size());
    for (int32_t advance : advances) out_.I32(advance);
    End(start);
  }

  void MoveTo(TPoint point) override { PointRecord(emrMoveToEx, point); }
  void LineTo(TPoint point) override { PointRecord(emrLineTo, point); }

  void Polygon(std::span<const TPoint> points) override {
    // Sixteen-bit points when they fit, as they do in any picture on a
    // screen; the 32-bit record otherwise.
    const bool small = std::all_of(points.begin(), points.end(), FitsInt16);
    const size_t start = Begin(small ? emrPolygon16 : emrPolygon);
    TRect bounds{0, 0, -1, -1};
    if (!points.empty()) bounds = TRect{points[0].X, points[0].Y, points[0].X, points[0].Y};
    for (TPoint p : points) {
      bounds = TRect{std::min(bounds.Left, p.X), std::min(bounds.Top, p.Y), std::max(bounds.Right, p.X),
                     std::max(bounds.Bottom, p.Y)};
    }
    Rect(bounds);
    out_.U32(static_cast<uint32_t>(points.size()));
    for (TPoint p : points) {
      if (small) {
        out_.I16(static_cast<int16_t>(p.X));
        out_.I16(static_cast<int16_t>(p.Y));
      } else {
        out_.I32(p.X);
        out_.I32(p.Y);
      }
    }
    End(start);
  }

 private:
  // Handle 0 stands for the metafile itself, so slot n is handle n + 1.
  static uint32_t Handle(uint16_t slot) { return uint32_t{slot} + 1; }
  static int32_t Millimetres(int32_t pixels) {
    return static_cast<int32_t>((int64_t{pixels} * 254 + 5 * kPixelsPerInch) / (10 * kPixelsPerInch));
  }

  size_t Begin(uint32_t type) {
    const size_t start = out_.Size();
    out_.U32(type);
    out_.U32(0);  // size, patched by End
    return start;
  }
  void End(size_t start) {
    out_.PatchU32(start + 4, static_cast<uint32_t>(out_.Size() - start));
    ++records_;
  }
  void Rect(const TRect& r) {
    out_.I32(r.Left);
    out_.I32(r.Top);
    out_.I32(r.Right);
    out_.I32(r.Bottom);
  }
  void HandleRecord(uint32_t type, uint16_t slot) { ValueRecord(type, Handle(slot)); }
  void ValueRecord(uint32_t type, uint32_t value) {
    const size_t start = Begin(type);
    out_.U32(value);
    End(start);
  }
  void PointRecord(uint32_t type, TPoint point) {
    const size_t start = Begin(type);
    out_.I32(point.X);
    out_.I32(point.Y);
    End(start);
  }

  TByteWriter& out_;
  uint32_t records_ = 0;
};

}  // namespace

std::string EnhancedMetafileBytes(const TMetafileCanvas& recording, const TMetafileOptions& options) {
  TByteWriter bytes;
  TEmfSink sink(bytes);
  const TRect frame{0, 0, HundredthsOfMillimetre(recording.Width()) - 1,
                    HundredthsOfMillimetre(recording.Height()) - 1};
  sink.Header(DrawingBounds(recording), frame, options);
  const uint16_t slots = PlayRecording(recording, options, sink);
  sink.Eof();
  if (bytes.Size() > std::numeric_limits<uint32_t>::max())
    throw ECyclornError("The picture is too large for a metafile");
  bytes.PatchU32(48, static_cast<uint32_t>(bytes.Size()));
  bytes.PatchU32(52, sink.RecordCount());
  bytes.PatchU16(56, static_cast<uint16_t>(slots + 1));
  return std::move(bytes).Take();
}

void WriteEnhancedMetafile(std::ostream& out, const TMetafileCanvas& recording, const TMetafileOptions& options) {
  const std::string bytes = EnhancedMetafileBytes(recording, options);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  if (!out) throw ECyclornError("The enhanced metafile could not be written");
}
