// The enhanced metafile writer, checked byte for byte against values worked
// out by hand from the record layouts.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>

#include "metafile/metafile_canvas.h"
#include "metafile/metafile_export.h"
#include "tests/metafile/metafile_test_support.h"

using ::testing::ElementsAre;

namespace {

enum : uint32_t {
  emrHeader = 1,
  emrPolygon = 3,
  emrEof = 14,
  emrSetBkMode = 18,
  emrSetTextColor = 24,
  emrSetBkColor = 25,
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

std::string Emf(const TMetafileCanvas& canvas, const TMetafileOptions& options = {}) {
  std::ostringstream out;
  WriteEnhancedMetafile(out, canvas, options);
  return out.str();
}

std::vector<int32_t> I32s(const std::string& bytes, size_t offset, size_t count) {
  std::vector<int32_t> values;
  for (size_t i = 0; i < count; ++i) values.push_back(ReadI32(bytes, offset + 4 * i));
  return values;
}

TEmfRecord FirstOfType(const std::string& bytes, uint32_t type) {
  for (const TEmfRecord& record : EmfRecords(bytes)) {
    if (record.Type == type) return record;
  }
  ADD_FAILURE() << "no record of type " << type;
  return TEmfRecord{};
}

std::vector<uint32_t> HandlesOf(const std::string& bytes, uint32_t type) {
  std::vector<uint32_t> handles;
  for (const TEmfRecord& record : EmfRecords(bytes)) {
    if (record.Type == type) handles.push_back(ReadU32(bytes, record.Offset + 8));
  }
  return handles;
}

}  // namespace

TEST(EnhancedMetafile, HeaderOfABackgroundFillMatchesTheHandWorkedValues) {
  const std::string bytes = Emf(BackgroundOnly());
  // Header 108, pen 28, select 12, brush 24, select 12, rectangle 24,
  // two deletes of 12 each, end 20.
  ASSERT_EQ(bytes.size(), 252u);
  EXPECT_EQ(ReadU32(bytes, 0), 1u);
  EXPECT_EQ(ReadU32(bytes, 4), 108u);
  EXPECT_THAT(I32s(bytes, 8, 4), ElementsAre(0, 0, 199, 99));  // bounds, inclusive pixels
  // 200 pixels at 96 per inch are 5291.67 hundredths of a millimetre; the
  // last whole one inside is 5291. 100 pixels: 2645.83, so 2645.
  EXPECT_THAT(I32s(bytes, 24, 4), ElementsAre(0, 0, 5291, 2645));
  EXPECT_EQ(ReadU32(bytes, 40), 0x464D4520u);
  EXPECT_EQ(ReadU32(bytes, 44), 0x00010000u);
  EXPECT_EQ(ReadU32(bytes, 48), 252u);  // file size
  EXPECT_EQ(ReadU32(bytes, 52), 9u);    // records, header and end included
  EXPECT_EQ(ReadU16(bytes, 56), 3u);    // handles: the metafile's own, a pen and a brush
  EXPECT_EQ(ReadU16(bytes, 58), 0u);
  EXPECT_THAT(I32s(bytes, 60, 3), ElementsAre(0, 0, 0));  // no description, no palette
  // A 1920 x 1080 screen at 96 pixels per inch: 508 x 285.75 mm.
  EXPECT_THAT(I32s(bytes, 72, 4), ElementsAre(1920, 1080, 508, 286));
  EXPECT_THAT(I32s(bytes, 88, 3), ElementsAre(0, 0, 0));
  EXPECT_THAT(I32s(bytes, 100, 2), ElementsAre(508000, 285750));
}

TEST(EnhancedMetafile, BackgroundFillIsAnOutlineFreeRectangleOnePixelLarger) {
  const std::string bytes = Emf(BackgroundOnly());
  EXPECT_THAT(EmfRecordTypes(bytes),
              ElementsAre(emrHeader, emrCreatePen, emrSelectObject, emrCreateBrushIndirect, emrSelectObject,
                          emrRectangle, emrDeleteObject, emrDeleteObject, emrEof));
  // The pen: handle 1, no outline at all.
  EXPECT_THAT(I32s(bytes, 108, 7), ElementsAre(emrCreatePen, 28, 1, 5, 1, 0, 0));
  // The brush: handle 2, solid grey.
  EXPECT_THAT(I32s(bytes, 148, 6), ElementsAre(emrCreateBrushIndirect, 24, 2, 0, 0x808080, 0));
  // Without a pen a rectangle leaves out its right column and bottom row.
  EXPECT_THAT(I32s(bytes, 184, 6), ElementsAre(emrRectangle, 24, 0, 0, 201, 101));
  EXPECT_THAT(I32s(bytes, 232, 5), ElementsAre(emrEof, 20, 0, 16, 20));
}

TEST(EnhancedMetafile, EmptyDrawingHoldsOnlyHeaderAndEndWithEmptyBounds) {
  const std::string bytes = Emf(TMetafileCanvas(10, 10, TestMeasure));
  EXPECT_THAT(EmfRecordTypes(bytes), ElementsAre(emrHeader, emrEof));
  EXPECT_THAT(I32s(bytes, 8, 4), ElementsAre(0, 0, -1, -1));
  EXPECT_EQ(ReadU32(bytes, 48), 128u);
  EXPECT_EQ(ReadU16(bytes, 56), 1u);
}

TEST(EnhancedMetafile, BoundsCoverWhatIsDrawnEvenBeyondThePicture) {
  TMetafileCanvas canvas(100, 100, TestMeasure);
  canvas.SetPenWidth(3);
  canvas.MoveTo(TPoint{-20, 10});
  canvas.LineTo(TPoint{30, 40});
  canvas.Rectangle(TRect{50, 60, 120, 70});
  // A pen 3 wide reaches 1 pixel beyond the path; a rectangle's outline
  // covers Left..Right-1.
  EXPECT_THAT(I32s(Emf(canvas), 8, 4), ElementsAre(-21, 9, 120, 70));
}

TEST(EnhancedMetafile, OpaqueLabelTextIsItsFilledBoxThenTransparentTextWithAdvances) {
  TMetafileCanvas canvas(100, 100, TestMeasure);
  canvas.SetBrushColor(TColor::Rgb(1, 2, 3));
  canvas.TextRect(TRect{10, 20, 40, 36}, 13, 23, "AWB");
  const std::string bytes = Emf(canvas);
  // Every reader draws the box alike as a rectangle without a pen, and the
  // text over it alike without a background of its own.
  EXPECT_THAT(EmfRecordTypes(bytes),
              ElementsAre(emrHeader, emrCreatePen, emrSelectObject, emrCreateBrushIndirect, emrSelectObject,
                          emrRectangle, emrExtCreateFontIndirectW, emrSelectObject, emrSetTextColor, emrSetBkMode,
                          emrExtTextOutW, emrDeleteObject, emrDeleteObject, emrDeleteObject, emrEof));
  EXPECT_EQ(ReadU32(bytes, FirstOfType(bytes, emrCreatePen).Offset + 12), 5u);                 // no pen
  EXPECT_EQ(ReadU32(bytes, FirstOfType(bytes, emrCreateBrushIndirect).Offset + 16), 0x030201u);  // the box colour
  EXPECT_THAT(I32s(bytes, FirstOfType(bytes, emrRectangle).Offset + 8, 4), ElementsAre(10, 20, 41, 37));
  EXPECT_EQ(ReadU32(bytes, FirstOfType(bytes, emrSetTextColor).Offset + 8), 0u);  // window text: black
  EXPECT_EQ(ReadU32(bytes, FirstOfType(bytes, emrSetBkMode).Offset + 8), 1u);     // transparent

  const TEmfRecord text = FirstOfType(bytes, emrExtTextOutW);
  // 76 fixed bytes, 3 UTF-16 units padded to 8, 3 advances of 4.
  EXPECT_EQ(text.Size, 96u);
  const size_t at = text.Offset;
  EXPECT_THAT(I32s(bytes, at + 8, 4), ElementsAre(10, 20, 39, 35));   // bounds
  EXPECT_EQ(ReadU32(bytes, at + 24), 1u);                             // compatible graphics mode
  EXPECT_THAT(I32s(bytes, at + 36, 2), ElementsAre(13, 23));          // reference point
  EXPECT_EQ(ReadU32(bytes, at + 44), 3u);                             // characters
  EXPECT_EQ(ReadU32(bytes, at + 48), 76u);                            // string offset
  EXPECT_EQ(ReadU32(bytes, at + 52), 4u);                             // clipped only
  EXPECT_THAT(I32s(bytes, at + 56, 4), ElementsAre(10, 20, 40, 36));  // clip rectangle
  EXPECT_EQ(ReadU32(bytes, at + 72), 84u);                            // advances offset
  EXPECT_THAT((std::vector<uint16_t>{ReadU16(bytes, at + 76), ReadU16(bytes, at + 78), ReadU16(bytes, at + 80),
                                     ReadU16(bytes, at + 82)}),
              ElementsAre(u'A', u'W', u'B', 0));
  EXPECT_THAT(I32s(bytes, at + 84, 3), ElementsAre(6, 9, 6));
}

TEST(EnhancedMetafile, TextOnAClearBrushIsTransparentAndOnlyClipped) {
  TMetafileCanvas canvas(100, 100, TestMeasure);
  canvas.SetBrushStyle(TBrushStyle::bsClear);
  canvas.TextRect(TRect{0, 0, 40, 16}, 0, 0, "A");
  const std::string bytes = Emf(canvas);
  EXPECT_EQ(ReadU32(bytes, FirstOfType(bytes, emrSetBkMode).Offset + 8), 1u);
  EXPECT_EQ(ReadU32(bytes, FirstOfType(bytes, emrExtTextOutW).Offset + 52), 4u);
  EXPECT_THAT(HandlesOf(bytes, emrRectangle), ElementsAre());
}

TEST(EnhancedMetafile, WindowTextColourComesFromTheOptions) {
  TMetafileCanvas canvas(100, 100, TestMeasure);
  canvas.TextRect(TRect{0, 0, 40, 16}, 0, 0, "A");
  TMetafileOptions options;
  options.WindowTextColor = TColor::Rgb(0x12, 0x34, 0x56);
  const std::string bytes = Emf(canvas, options);
  EXPECT_EQ(ReadU32(bytes, FirstOfType(bytes, emrSetTextColor).Offset + 8), 0x563412u);
}

TEST(EnhancedMetafile, FontRecordHoldsFaceHeightWeightAndStyles) {
  TMetafileCanvas canvas(100, 100, TestMeasure);
  TFontSpec font;
  font.Face = "Arial";
  font.Height = -13;
  font.Bold = true;
  font.Italic = true;
  font.StrikeOut = true;
  canvas.SetFont(font);
  canvas.TextRect(TRect{0, 0, 40, 16}, 0, 0, "A");
  const std::string bytes = Emf(canvas);
  const TEmfRecord record = FirstOfType(bytes, emrExtCreateFontIndirectW);
  const size_t at = record.Offset;
  EXPECT_EQ(record.Size, 332u);
  // Handle 3: the box's pen and brush come first.
  EXPECT_THAT(I32s(bytes, at + 8, 6), ElementsAre(3, -13, 0, 0, 0, 700));  // handle, height, ..., weight
  EXPECT_THAT((std::vector<int>{bytes[at + 32], bytes[at + 33], bytes[at + 34], bytes[at + 35]}),
              ElementsAre(1, 0, 1, 1));  // italic, underline, strike-out, default character set
  std::u16string face;
  for (size_t i = 0; i < 32; ++i) face.push_back(static_cast<char16_t>(ReadU16(bytes, at + 40 + 2 * i)));
  EXPECT_EQ(face, std::u16string(u"Arial") + std::u16string(27, u'\0'));
}

TEST(EnhancedMetafile, ChangesObjectsOnlyWhenNeededAndSelectsAKeptOneAgain) {
  TMetafileCanvas canvas(100, 100, TestMeasure);
  canvas.SetPenColor(clRed);
  canvas.MoveTo(TPoint{0, 0});
  canvas.LineTo(TPoint{10, 0});
  canvas.LineTo(TPoint{10, 10});
  canvas.SetPenColor(clBlack);
  canvas.LineTo(TPoint{0, 10});
  canvas.SetPenColor(clRed);
  canvas.LineTo(TPoint{0, 0});
  const std::string bytes = Emf(canvas);
  EXPECT_THAT(EmfRecordTypes(bytes),
              ElementsAre(emrHeader, emrMoveToEx, emrCreatePen, emrSelectObject, emrLineTo, emrLineTo, emrCreatePen,
                          emrSelectObject, emrLineTo, emrSelectObject, emrLineTo, emrDeleteObject, emrDeleteObject,
                          emrEof));
  // The red pen is kept while the black one draws, and selected again.
  EXPECT_THAT(HandlesOf(bytes, emrCreatePen), ElementsAre(1u, 2u));
  EXPECT_THAT(HandlesOf(bytes, emrSelectObject), ElementsAre(1u, 2u, 1u));
  EXPECT_THAT(HandlesOf(bytes, emrDeleteObject), ElementsAre(1u, 2u));
  EXPECT_EQ(ReadU16(bytes, 56), 3u);
  EXPECT_EQ(ReadU32(bytes, FirstOfType(bytes, emrCreatePen).Offset + 24), 0x0000FFu);
}

TEST(EnhancedMetafile, KeepsAFewObjectsOfAKindAndDeletesTheLeastRecentlyUsed) {
  TMetafileCanvas canvas(100, 100, TestMeasure);
  canvas.MoveTo(TPoint{0, 0});
  for (uint8_t red = 1; red <= 9; ++red) {
    canvas.SetPenColor(TColor::Rgb(red, 0, 0));
    canvas.LineTo(TPoint{red, 0});
  }
  const std::string bytes = Emf(canvas);
  // Eight pens kept; the ninth takes the place of the first, deleted after
  // the ninth is selected, never while selected.
  EXPECT_EQ(HandlesOf(bytes, emrCreatePen).size(), 9u);
  EXPECT_THAT(HandlesOf(bytes, emrDeleteObject), ElementsAre(1u, 2u, 3u, 4u, 5u, 6u, 7u, 8u, 9u));
  EXPECT_EQ(ReadU16(bytes, 56), 10u);
  const std::vector<uint32_t> types = EmfRecordTypes(bytes);
  EXPECT_EQ(std::count(types.begin(), types.end(), emrDeleteObject), 9);
}

TEST(EnhancedMetafile, PolygonUsesSixteenBitPointsWhenTheyFit) {
  TMetafileCanvas canvas(100, 100, TestMeasure);
  const TPoint small[] = {{58, 56}, {63, 64}, {69, 56}};
  canvas.Polygon(small);
  const TPoint large[] = {{0, 0}, {40000, 0}, {0, -40000}};
  canvas.Polygon(large);
  const std::string bytes = Emf(canvas);

  const TEmfRecord polygon16 = FirstOfType(bytes, emrPolygon16);
  EXPECT_EQ(polygon16.Size, 8u + 16 + 4 + 3 * 4);
  EXPECT_THAT(I32s(bytes, polygon16.Offset + 8, 5), ElementsAre(58, 56, 69, 64, 3));
  std::vector<int16_t> points;
  for (size_t i = 0; i < 6; ++i) points.push_back(ReadI16(bytes, polygon16.Offset + 28 + 2 * i));
  EXPECT_THAT(points, ElementsAre(58, 56, 63, 64, 69, 56));

  const TEmfRecord polygon32 = FirstOfType(bytes, emrPolygon);
  EXPECT_THAT(I32s(bytes, polygon32.Offset + 8, 11), ElementsAre(0, -40000, 40000, 0, 3, 0, 0, 40000, 0, 0, -40000));
}

TEST(EnhancedMetafile, FileSizeAndRecordCountMatchTheRecordsOfANetwork) {
  TMetafileCanvas canvas(200, 150, TestMeasure);
  DrawSmallNetwork(canvas);
  const std::string bytes = Emf(canvas);
  const std::vector<TEmfRecord> records = EmfRecords(bytes);
  EXPECT_EQ(ReadU32(bytes, 48), bytes.size());
  EXPECT_EQ(ReadU32(bytes, 52), records.size());
  EXPECT_EQ(records.back().Offset + records.back().Size, bytes.size());
  EXPECT_EQ(records.back().Type, emrEof);
  // The labels' pen colour and the edges' are the same; so are the brushes.
  EXPECT_EQ(HandlesOf(bytes, emrExtTextOutW).size(), 6u);
  EXPECT_EQ(HandlesOf(bytes, emrLineTo).size(), 3u);
  EXPECT_EQ(HandlesOf(bytes, emrPolygon16).size(), 3u);
  // The background, each label's box and frame: the rectangle drawn on a
  // box just before its text fills it would show nowhere and is left out.
  EXPECT_EQ(HandlesOf(bytes, emrRectangle).size(), 13u);
  EXPECT_EQ(HandlesOf(bytes, emrExtCreateFontIndirectW).size(), 1u);
  EXPECT_EQ(ReadU16(bytes, 56), 7u);  // no pen, black pen, three brushes, the font, the metafile's own
}
