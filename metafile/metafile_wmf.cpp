// The placeable Windows metafile writer: a 22-byte placeable header that
// places the picture at 96 units per inch, the 18-byte metafile header, the
// window set to the picture, one record per device call and the end record.
// Records count their size in 16-bit words; every coordinate is 16 bits.

#include <algorithm>
#include <limits>
#include <string>

#include "core/errors.h"
#include "metafile/metafile_bytes.h"
#include "metafile/metafile_export.h"
#include "metafile/metafile_gdi.h"
#include "metafile/metafile_text.h"

namespace {

enum : uint16_t {
  metaEof = 0x0000,
  metaSetBkMode = 0x0102,
  metaSetTextColor = 0x0209,
  metaSetWindowOrg = 0x020B,
  metaSetWindowExt = 0x020C,
  metaLineTo = 0x0213,
  metaMoveTo = 0x0214,
  metaSelectObject = 0x012D,
  metaDeleteObject = 0x01F0,
  metaCreatePenIndirect = 0x02FA,
  metaCreateFontIndirect = 0x02FB,
  metaCreateBrushIndirect = 0x02FC,
  metaPolygon = 0x0324,
  metaRectangle = 0x041B,
  metaExtTextOut = 0x0A32,
};

constexpr uint32_t kPlaceableKey = 0x9AC6CDD7;
constexpr uint16_t kUnitsPerInch = 96;
constexpr uint16_t kMemoryMetafile = 1;
constexpr uint16_t kHeaderWords = 9;
constexpr uint16_t kVersion = 0x0300;
constexpr uint8_t kDefaultCharSet = 1;
constexpr size_t kFaceNameBytes = 32;

int16_t Coordinate(int32_t value) {
  if (value < std::numeric_limits<int16_t>::min() || value > std::numeric_limits<int16_t>::max()) {
    throw ECyclornError("The picture does not fit a Windows metafile: the coordinate " + std::to_string(value) +
                        " lies outside -32768 to 32767");
  }
  return static_cast<int16_t>(value);
}

class TWmfSink final : public TGdiSink {
 public:
  explicit TWmfSink(TByteWriter& out) : out_(out) {}

  // Size in words of the largest record.
  uint32_t LargestRecord() const { return largestRecord_; }

  void Window(int32_t width, int32_t height) {
    size_t start = Begin(metaSetWindowOrg);
    out_.I16(0);
    out_.I16(0);
    End(start);
    start = Begin(metaSetWindowExt);
    out_.I16(Coordinate(height));
    out_.I16(Coordinate(width));
    End(start);
  }

  void Eof() { End(Begin(metaEof)); }

  void CreatePen(uint16_t /*slot*/, const TGdiPen& pen) override {
    const size_t start = Begin(metaCreatePenIndirect);
    out_.U16(static_cast<uint16_t>(pen.Style));
    out_.I16(Coordinate(pen.Width));
    out_.I16(0);
    out_.U32(pen.Color);
    End(start);
  }

  void CreateBrush(uint16_t /*slot*/, const TGdiBrush& brush) override {
    const size_t start = Begin(metaCreateBrushIndirect);
    out_.U16(static_cast<uint16_t>(brush.Style));
    out_.U32(brush.Color);
    out_.U16(0);  // no hatch
    End(start);
  }

  void CreateFont(uint16_t /*slot*/, const TGdiFont& font) override {
    const size_t start = Begin(metaCreateFontIndirect);
    out_.I16(Coordinate(font.Height));
    out_.I16(0);  // width: the font's own
    out_.I16(0);  // escapement
    out_.I16(0);  // orientation
    out_.I16(static_cast<int16_t>(font.Weight));
    out_.U8(font.Italic ? 1 : 0);
    out_.U8(font.Underline ? 1 : 0);
    out_.U8(font.StrikeOut ? 1 : 0);
    out_.U8(kDefaultCharSet);
    out_.Zeros(4);  // output and clip precision, quality, pitch and family: defaults
    // 31 characters and a terminating zero; no installed font has a longer name.
    std::string face;
    for (char32_t c : DecodeUtf8(font.Face)) face += ToWesternCodePage(c);
    face.resize(std::min(face.size(), kFaceNameBytes - 1));
    for (char c : face) out_.U8(static_cast<uint8_t>(c));
    out_.Zeros(kFaceNameBytes - face.size());
    End(start);
  }

  // A Windows metafile player hands out the lowest free slot itself, exactly
  // as the player did, so creation records carry no slot.
  void SelectObject(uint16_t slot) override { WordRecord(metaSelectObject, slot); }
  void DeleteObject(uint16_t slot) override { WordRecord(metaDeleteObject, slot); }

  void SetBackgroundMode(uint16_t mode) override { WordRecord(metaSetBkMode, mode); }
  void SetTextColor(uint32_t color) override { ColorRecord(metaSetTextColor, color); }

  void Rectangle(const TRect& rect) override {
    const size_t start = Begin(metaRectangle);
    out_.I16(Coordinate(rect.Bottom));
    out_.I16(Coordinate(rect.Right));
    out_.I16(Coordinate(rect.Top));
    out_.I16(Coordinate(rect.Left));
    End(start);
  }

  void Text(const TGdiText& text) override {
    std::string characters;
    for (char32_t c : text.Text) characters += ToWesternCodePage(c);
    if (characters.size() > static_cast<size_t>(std::numeric_limits<int16_t>::max())) {
      throw ECyclornError("A text of " + std::to_string(characters.size()) +
                          " characters does not fit a Windows metafile");
    }
    const size_t start = Begin(metaExtTextOut);
    out_.I16(Coordinate(text.Origin.Y));
    out_.I16(Coordinate(text.Origin.X));
    out_.I16(static_cast<int16_t>(characters.size()));
    out_.U16(text.Options);
    out_.I16(Coordinate(text.Clip.Left));
    out_.I16(Coordinate(text.Clip.Top));
    out_.I16(Coordinate(text.Clip.Right));
    out_.I16(Coordinate(text.Clip.Bottom));
    for (char c : characters) out_.U8(static_cast<uint8_t>(c));
    if (characters.size() % 2 != 0) out_.U8(0);
    // No character advances: libwmf adds them to its own spacing, so its
    // readers spread the letters out or stack them on the last one; without
    // them every reader sets the text in its font.
    End(start);
  }

  void MoveTo(TPoint point) override { PointRecord(metaMoveTo, point); }
  void LineTo(TPoint point) override { PointRecord(metaLineTo, point); }

  void Polygon(std::span<const TPoint> points) override {
    if (points.size() > static_cast<size_t>(std::numeric_limits<int16_t>::max())) {
      throw ECyclornError("A polygon of " + std::to_string(points.size()) + " corners does not fit a Windows metafile");
    }
    const size_t start = Begin(metaPolygon);
    out_.I16(static_cast<int16_t>(points.size()));
    for (TPoint p : points) {
      out_.I16(Coordinate(p.X));
      out_.I16(Coordinate(p.Y));
    }
    End(start);
  }

 private:
  size_t Begin(uint16_t function) {
    const size_t start = out_.Size();
    out_.U32(0);  // size in words, patched by End
    out_.U16(function);
    return start;
  }
  void End(size_t start) {
    const auto words = static_cast<uint32_t>((out_.Size() - start) / 2);
    out_.PatchU32(start, words);
    largestRecord_ = std::max(largestRecord_, words);
  }
  void WordRecord(uint16_t function, uint16_t value) {
    const size_t start = Begin(function);
    out_.U16(value);
    End(start);
  }
  void ColorRecord(uint16_t function, uint32_t color) {
    const size_t start = Begin(function);
    out_.U32(color);
    End(start);
  }
  // Points are stored Y first.
  void PointRecord(uint16_t function, TPoint point) {
    const size_t start = Begin(function);
    out_.I16(Coordinate(point.Y));
    out_.I16(Coordinate(point.X));
    End(start);
  }

  TByteWriter& out_;
  uint32_t largestRecord_ = 0;
};

void PlaceableHeader(TByteWriter& out, int32_t width, int32_t height) {
  out.U32(kPlaceableKey);
  out.U16(0);  // no handle
  out.I16(0);  // bounding box: left, top, right, bottom
  out.I16(0);
  out.I16(Coordinate(width));
  out.I16(Coordinate(height));
  out.U16(kUnitsPerInch);
  out.U32(0);  // reserved
  // The checksum is the exclusive or of the ten words before it.
  uint16_t checksum = 0;
  const std::string& bytes = out.Bytes();
  for (size_t i = 0; i < 20; i += 2) {
    checksum ^= static_cast<uint16_t>(static_cast<uint8_t>(bytes[i]) | (static_cast<uint8_t>(bytes[i + 1]) << 8));
  }
  out.U16(checksum);
}

}  // namespace

std::string PlaceableMetafileBytes(const TMetafileCanvas& recording, const TMetafileOptions& options) {
  TByteWriter bytes;
  PlaceableHeader(bytes, recording.Width(), recording.Height());

  const size_t header = bytes.Size();
  bytes.U16(kMemoryMetafile);
  bytes.U16(kHeaderWords);
  bytes.U16(kVersion);
  bytes.U32(0);  // size in words, patched at the end
  bytes.U16(0);  // object slots, patched at the end
  bytes.U32(0);  // largest record in words, patched at the end
  bytes.U16(0);  // no members

  TWmfSink sink(bytes);
  sink.Window(recording.Width(), recording.Height());
  const uint16_t slots = PlayRecording(recording, options, sink);
  sink.Eof();

  const size_t words = (bytes.Size() - header) / 2;
  if (words > std::numeric_limits<uint32_t>::max()) throw ECyclornError("The picture is too large for a metafile");
  bytes.PatchU32(header + 6, static_cast<uint32_t>(words));
  bytes.PatchU16(header + 10, slots);
  bytes.PatchU32(header + 12, sink.LargestRecord());
  return std::move(bytes).Take();
}

void WritePlaceableMetafile(std::ostream& out, const TMetafileCanvas& recording, const TMetafileOptions& options) {
  const std::string bytes = PlaceableMetafileBytes(recording, options);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  if (!out) throw ECyclornError("The Windows metafile could not be written");
}
