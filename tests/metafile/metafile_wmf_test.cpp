// The placeable Windows metafile writer, checked byte for byte against
// values worked out by hand from the record layouts.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <sstream>

#include "core/errors.h"
#include "metafile/metafile_canvas.h"
#include "metafile/metafile_export.h"
#include "tests/metafile/metafile_test_support.h"

using ::testing::ElementsAre;
using ::testing::HasSubstr;

namespace {

enum : uint16_t {
  metaEof = 0x0000,
  metaSetBkColor = 0x0201,
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

std::string Wmf(const TMetafileCanvas& canvas) {
  std::ostringstream out;
  WritePlaceableMetafile(out, canvas);
  return out.str();
}

std::vector<int16_t> I16s(const std::string& bytes, size_t offset, size_t count) {
  std::vector<int16_t> values;
  for (size_t i = 0; i < count; ++i) values.push_back(ReadI16(bytes, offset + 2 * i));
  return values;
}

// The parameters of each record of one function, as 16-bit words.
std::vector<std::vector<int16_t>> ParametersOf(const std::string& bytes, uint16_t function) {
  std::vector<std::vector<int16_t>> result;
  for (const TWmfRecord& record : WmfRecords(bytes)) {
    if (record.Function == function) result.push_back(I16s(bytes, record.Offset + 6, record.Words - 3));
  }
  return result;
}

}  // namespace

TEST(PlaceableMetafile, PlaceableHeaderPlacesThePictureAt96UnitsPerInch) {
  const std::string bytes = Wmf(BackgroundOnly());
  EXPECT_EQ(ReadU32(bytes, 0), 0x9AC6CDD7u);
  EXPECT_EQ(ReadU16(bytes, 4), 0u);
  EXPECT_THAT(I16s(bytes, 6, 4), ElementsAre(0, 0, 200, 100));
  EXPECT_EQ(ReadU16(bytes, 14), 96u);
  EXPECT_EQ(ReadU32(bytes, 16), 0u);
  // CDD7 ^ 9AC6 ^ 0000 ^ 0000 ^ 0000 ^ 00C8 ^ 0064 ^ 0060 ^ 0000 ^ 0000 = 57DD.
  EXPECT_EQ(ReadU16(bytes, 20), 0x57DDu);
}

TEST(PlaceableMetafile, ChecksumFollowsThePictureSize) {
  TMetafileCanvas canvas(1024, 768, TestMeasure);
  const std::string bytes = Wmf(canvas);
  // CDD7 ^ 9AC6 ^ 0400 ^ 0300 ^ 0060 = 5071.
  EXPECT_EQ(ReadU16(bytes, 20), 0x5071u);
}

TEST(PlaceableMetafile, MetafileHeaderCountsWordsObjectsAndTheLargestRecord) {
  const std::string bytes = Wmf(BackgroundOnly());
  // Header 9 words, window origin 5, extent 5, pen 8, select 4, brush 7,
  // select 4, rectangle 7, two deletes of 4, end 3: 60 words.
  ASSERT_EQ(bytes.size(), 22u + 120u);
  EXPECT_THAT(I16s(bytes, 22, 3), ElementsAre(1, 9, 0x0300));
  EXPECT_EQ(ReadU32(bytes, 28), 60u);
  EXPECT_EQ(ReadU16(bytes, 32), 2u);  // a pen and a brush at once
  EXPECT_EQ(ReadU32(bytes, 34), 8u);  // the pen record
  EXPECT_EQ(ReadU16(bytes, 38), 0u);
}

TEST(PlaceableMetafile, BackgroundFillRecordsSetTheWindowAndFillWithoutOutline) {
  const std::string bytes = Wmf(BackgroundOnly());
  EXPECT_THAT(WmfRecordFunctions(bytes), ElementsAre(metaSetWindowOrg, metaSetWindowExt, metaCreatePenIndirect,
                                                     metaSelectObject, metaCreateBrushIndirect, metaSelectObject,
                                                     metaRectangle, metaDeleteObject, metaDeleteObject, metaEof));
  EXPECT_THAT(ParametersOf(bytes, metaSetWindowOrg), ElementsAre(ElementsAre(0, 0)));
  EXPECT_THAT(ParametersOf(bytes, metaSetWindowExt), ElementsAre(ElementsAre(100, 200)));  // y first
  EXPECT_THAT(ParametersOf(bytes, metaCreatePenIndirect), ElementsAre(ElementsAre(5, 1, 0, 0, 0)));
  EXPECT_THAT(ParametersOf(bytes, metaCreateBrushIndirect),
              ElementsAre(ElementsAre(0, static_cast<int16_t>(0x8080), 0x0080, 0)));
  EXPECT_THAT(ParametersOf(bytes, metaSelectObject), ElementsAre(ElementsAre(0), ElementsAre(1)));
  EXPECT_THAT(ParametersOf(bytes, metaRectangle), ElementsAre(ElementsAre(101, 201, 0, 0)));  // bottom first
  EXPECT_THAT(ParametersOf(bytes, metaDeleteObject), ElementsAre(ElementsAre(0), ElementsAre(1)));
}

TEST(PlaceableMetafile, TextRecordHoldsOriginClipAndCharactersWithoutAdvances) {
  TMetafileCanvas canvas(100, 100, TestMeasure);
  canvas.SetBrushColor(clWhite);
  canvas.TextRect(TRect{10, 20, 40, 36}, 13, 23, "AW\xC3\xA9");
  const std::string bytes = Wmf(canvas);
  EXPECT_THAT(WmfRecordFunctions(bytes),
              ElementsAre(metaSetWindowOrg, metaSetWindowExt, metaCreatePenIndirect, metaSelectObject,
                          metaCreateBrushIndirect, metaSelectObject, metaRectangle, metaCreateFontIndirect,
                          metaSelectObject, metaSetTextColor, metaSetBkMode, metaExtTextOut, metaDeleteObject,
                          metaDeleteObject, metaDeleteObject, metaEof));
  EXPECT_THAT(ParametersOf(bytes, metaRectangle), ElementsAre(ElementsAre(37, 41, 20, 10)));  // the box, filled
  EXPECT_THAT(ParametersOf(bytes, metaSetBkMode), ElementsAre(ElementsAre(1)));               // transparent
  // y, x, 3 characters, clipped, the clip rectangle and "AW\xE9" padded to
  // 4 bytes: libwmf's readers misplace letters by any advances given.
  EXPECT_THAT(ParametersOf(bytes, metaExtTextOut),
              ElementsAre(ElementsAre(23, 13, 3, 4, 10, 20, 40, 36, 0x5741, 0x00E9)));
}

TEST(PlaceableMetafile, FontRecordHoldsTheFaceInTheWesternCodePage) {
  TMetafileCanvas canvas(100, 100, TestMeasure);
  TFontSpec font;
  font.Face = "Caf\xC3\xA9";
  font.Underline = true;
  canvas.SetFont(font);
  canvas.TextRect(TRect{0, 0, 10, 10}, 0, 0, "A");
  const std::string bytes = Wmf(canvas);
  const auto fonts = ParametersOf(bytes, metaCreateFontIndirect);
  ASSERT_EQ(fonts.size(), 1u);
  ASSERT_EQ(fonts[0].size(), 25u);  // 9 words of metrics and styles, 32 bytes of face
  EXPECT_THAT(std::vector<int16_t>(fonts[0].begin(), fonts[0].begin() + 7),
              ElementsAre(-11, 0, 0, 0, 400, 0x0100, 0x0100));
  EXPECT_EQ(fonts[0][9], 0x6143);                         // "Ca"
  EXPECT_EQ(fonts[0][10], static_cast<int16_t>(0xE966));  // "f\xE9"
  EXPECT_EQ(fonts[0][11], 0);
}

TEST(PlaceableMetafile, ObjectSlotsAreReusedLowestFirstAsThePlayerDoes) {
  TMetafileCanvas canvas(100, 100, TestMeasure);
  canvas.SetPenColor(clRed);
  canvas.MoveTo(TPoint{0, 0});
  canvas.LineTo(TPoint{10, 0});
  canvas.SetPenColor(clBlack);
  canvas.LineTo(TPoint{10, 10});
  canvas.SetPenColor(clRed);
  canvas.LineTo(TPoint{0, 0});
  const std::string bytes = Wmf(canvas);
  EXPECT_THAT(ParametersOf(bytes, metaSelectObject), ElementsAre(ElementsAre(0), ElementsAre(1), ElementsAre(0)));
  EXPECT_THAT(ParametersOf(bytes, metaDeleteObject), ElementsAre(ElementsAre(0), ElementsAre(1)));
  EXPECT_THAT(ParametersOf(bytes, metaMoveTo), ElementsAre(ElementsAre(0, 0)));
  EXPECT_THAT(ParametersOf(bytes, metaLineTo), ElementsAre(ElementsAre(0, 10), ElementsAre(10, 10), ElementsAre(0, 0)));
  EXPECT_EQ(ReadU16(bytes, 32), 2u);
}

TEST(PlaceableMetafile, PolygonStoresItsCornersAsSixteenBitPairs) {
  TMetafileCanvas canvas(100, 100, TestMeasure);
  const TPoint arrow[] = {{140, 50}, {130, 45}, {130, 55}};
  canvas.Polygon(arrow);
  EXPECT_THAT(ParametersOf(Wmf(canvas), metaPolygon), ElementsAre(ElementsAre(3, 140, 50, 130, 45, 130, 55)));
}

TEST(PlaceableMetafile, RefusesCoordinatesBeyondSixteenBits) {
  TMetafileCanvas canvas(100, 100, TestMeasure);
  canvas.MoveTo(TPoint{0, 0});
  canvas.LineTo(TPoint{40000, 5});
  std::ostringstream out;
  try {
    WritePlaceableMetafile(out, canvas);
    FAIL() << "a coordinate of 40000 was written";
  } catch (const ECyclornError& error) {
    EXPECT_THAT(error.what(), HasSubstr("40000"));
  }
  EXPECT_TRUE(out.str().empty());

  EXPECT_THROW(Wmf(TMetafileCanvas(32768, 10, TestMeasure)), ECyclornError);
}
