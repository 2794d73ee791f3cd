#include "metafile/metafile_canvas.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "core/errors.h"
#include "metafile/metafile_text.h"
#include "tests/metafile/metafile_test_support.h"

using ::testing::ElementsAre;

namespace {

template <typename T>
const T& OpAt(const TMetafileCanvas& canvas, size_t index) {
  return std::get<T>(canvas.Operations().at(index));
}

}  // namespace

TEST(MetafileCanvas, ClipRectIsTheWholePicture) {
  const TMetafileCanvas canvas(640, 480, TestMeasure);
  EXPECT_EQ(canvas.ClipRect(), (TRect{0, 0, 640, 480}));
}

TEST(MetafileCanvas, RefusesAnEmptyPictureOrAMissingMeasure) {
  EXPECT_THROW(TMetafileCanvas(0, 10, TestMeasure), ECyclornError);
  EXPECT_THROW(TMetafileCanvas(10, -1, TestMeasure), ECyclornError);
  EXPECT_THROW(TMetafileCanvas(10, 10, TTextMeasure{}), ECyclornError);
}

TEST(MetafileCanvas, RecordsEachOperationWithThePenAndBrushInForceThen) {
  TMetafileCanvas canvas(100, 100, TestMeasure);
  canvas.SetBrushColor(clGray);
  canvas.FillRect(TRect{0, 0, 100, 100});
  canvas.SetPenColor(clRed);
  canvas.SetPenWidth(3);
  canvas.SetBrushStyle(TBrushStyle::bsClear);
  canvas.Rectangle(TRect{1, 2, 3, 4});
  canvas.MoveTo(TPoint{5, 6});
  canvas.LineTo(TPoint{7, 8});
  canvas.SetBrushStyle(TBrushStyle::bsSolid);
  canvas.SetBrushColor(clWhite);
  const TPoint triangle[] = {{0, 0}, {10, 0}, {5, 5}};
  canvas.Polygon(triangle);

  ASSERT_EQ(canvas.Operations().size(), 5u);
  EXPECT_EQ(OpAt<TFillRectOp>(canvas, 0).Color, clGray);
  const auto& rectangle = OpAt<TRectangleOp>(canvas, 1);
  EXPECT_EQ(rectangle.Rect, (TRect{1, 2, 3, 4}));
  EXPECT_EQ(rectangle.Pen, (TMetafilePen{clRed, 3}));
  EXPECT_FALSE(rectangle.Brush.has_value());
  EXPECT_EQ(OpAt<TMoveToOp>(canvas, 2).Point, (TPoint{5, 6}));
  EXPECT_EQ(OpAt<TLineToOp>(canvas, 3).Pen, (TMetafilePen{clRed, 3}));
  const auto& polygon = OpAt<TPolygonOp>(canvas, 4);
  EXPECT_THAT(polygon.Points, ElementsAre(TPoint{0, 0}, TPoint{10, 0}, TPoint{5, 5}));
  EXPECT_EQ(polygon.Brush, TMetafileBrush(clWhite));
}

TEST(MetafileCanvas, NegativePenWidthBecomesTheThinnestLine) {
  TMetafileCanvas canvas(10, 10, TestMeasure);
  canvas.SetPenWidth(-4);
  canvas.LineTo(TPoint{1, 1});
  EXPECT_EQ(OpAt<TLineToOp>(canvas, 0).Pen.Width, 0);
}

TEST(MetafileCanvas, MeasuresTextsInTheCurrentFont) {
  TMetafileCanvas canvas(10, 10, TestMeasure);
  EXPECT_EQ(canvas.TextExtent("AW"), (TSize{15, 13}));
  TFontSpec bold;
  bold.Bold = true;
  canvas.SetFont(bold);
  EXPECT_EQ(canvas.TextExtent("AW"), (TSize{15, 15}));
}

TEST(MetafileCanvas, TextKeepsFontBackgroundAndTheMeasuredAdvanceOfEachCharacter) {
  TMetafileCanvas canvas(100, 100, TestMeasure);
  TFontSpec font;
  font.Face = "Arial";
  font.Color = clRed;
  canvas.SetFont(font);
  canvas.SetBrushColor(clWhite);
  canvas.TextRect(TRect{0, 0, 40, 20}, 3, 4, "AWB");
  canvas.SetBrushStyle(TBrushStyle::bsClear);
  canvas.TextRect(TRect{0, 0, 40, 20}, 3, 4, "M");

  const auto& opaque = OpAt<TTextOp>(canvas, 0);
  EXPECT_EQ(opaque.Text, "AWB");
  EXPECT_EQ(opaque.Origin, (TPoint{3, 4}));
  EXPECT_EQ(opaque.Font, font);
  EXPECT_EQ(opaque.Background, TMetafileBrush(clWhite));
  EXPECT_THAT(opaque.Advances, ElementsAre(6, 9, 6));
  const auto& transparent = OpAt<TTextOp>(canvas, 1);
  EXPECT_FALSE(transparent.Background.has_value());
  EXPECT_THAT(transparent.Advances, ElementsAre(9));
}

TEST(MetafileCanvas, AdvancesAreCountedPerCharacterNotPerByte) {
  // Measure by bytes: a two-byte letter is 12 wide, and that is its advance.
  TMetafileCanvas canvas(100, 100, TestMeasure);
  canvas.TextRect(TRect{0, 0, 40, 20}, 0, 0, "A\xC3\xA9W");
  EXPECT_THAT(OpAt<TTextOp>(canvas, 0).Advances, ElementsAre(6, 12, 9));
}

TEST(MetafileText, DecodesUtf8AndReplacesEachBrokenByte) {
  EXPECT_EQ(DecodeUtf8("A\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80"), (std::u32string{U'A', 0xE9, 0x20AC, 0x1F600}));
  // A lone continuation byte, a cut-off sequence and an overlong "/".
  EXPECT_EQ(DecodeUtf8("\x80"
                       "A\xE2\x82"),
            (std::u32string{0xFFFD, U'A', 0xFFFD, 0xFFFD}));
  EXPECT_EQ(DecodeUtf8("\xC0\xAF"), (std::u32string{0xFFFD, 0xFFFD}));
  // An encoded surrogate is no character.
  EXPECT_EQ(DecodeUtf8("\xED\xA0\x80"), (std::u32string{0xFFFD, 0xFFFD, 0xFFFD}));
  EXPECT_THAT(CodePointEnds("A\xC3\xA9\x80"), ElementsAre(1u, 3u, 4u));
}

TEST(MetafileText, EncodesUtf16AndTheWesternCodePage) {
  EXPECT_EQ(EncodeUtf16(U'A'), u"A");
  EXPECT_EQ(EncodeUtf16(0x1F600), (std::u16string{0xD83D, 0xDE00}));
  EXPECT_EQ(ToWesternCodePage(U'A'), 'A');
  EXPECT_EQ(ToWesternCodePage(0xE9), '\xE9');
  EXPECT_EQ(ToWesternCodePage(0x85), '?');
  EXPECT_EQ(ToWesternCodePage(0x20AC), '?');
}

TEST(MetafileCanvas, MeasuresEachTextAndEachCharacterOncePerFont) {
  std::vector<std::string> asked;
  // "AV" kerns: the pair is 2 pixels narrower than its letters.
  TMetafileCanvas canvas(100, 100, [&asked](const TFontSpec& font, std::string_view text) {
    asked.emplace_back(text);
    TSize size = TestMeasure(font, text);
    if (text == "AVA") size.Width -= 2;
    return size;
  });
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(canvas.TextExtent("AVA").Width, 16);
    canvas.TextRect(TRect{0, 0, 40, 20}, 0, 0, "AVA");
  }
  EXPECT_THAT(asked, ElementsAre("AVA", "A", "V"));
  // The advances add up to the measured width: the last takes up the kerning.
  EXPECT_THAT(OpAt<TTextOp>(canvas, 2).Advances, ElementsAre(6, 6, 4));
  EXPECT_EQ(canvas.TextsMeasured(), 3);
  // Another font is measured anew.
  TFontSpec bold;
  bold.Bold = true;
  canvas.SetFont(bold);
  canvas.TextExtent("AVA");
  EXPECT_EQ(asked.size(), 4u);
}
