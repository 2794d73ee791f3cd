#include "surveys/three_d_reader.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "support/file_errors.h"
#include "tests/surveys/three_d_bytes.h"

namespace {

using ::testing::ElementsAre;

std::vector<std::string> NamesOf(const TSurvey& survey, int32_t s) {
  std::vector<std::string> names;
  for (int32_t k = 0; k < survey.NameCount(s); ++k) names.emplace_back(survey.Name(s, k));
  return names;
}

TEST(Read3d, RecognisesAFileByItsFirstLine) {
  EXPECT_TRUE(Is3dFile("Survex 3D Image File\nv8\n"));
  EXPECT_TRUE(Is3dFile("Survex 3D Image File\r\nv0.01\r\n"));
  EXPECT_FALSE(Is3dFile("Survex 3D Image File"));
  EXPECT_FALSE(Is3dFile("Survex 3D Image Filer\n"));
  EXPECT_FALSE(Is3dFile("3\r\nA\r\n"));
  EXPECT_FALSE(Is3dFile(""));
}

// One file with every item of version 8: positions become stations, labels
// at one position one station, a leg end without a label an anonymous station.
TEST(Read3d, ReadsEveryItemOfVersion8) {
  T3dBytes b = T3dBytes::V8("Cave of Tests", "EPSG:27700", 0x80);
  b.Move(100, 200, 300).Byte(0x11).U16(36923);                      // one date
  b.Byte(0x00).Byte(0x40).Label8(0, "cave").Point(1100, 200, 300);  // normal style, survey "cave"
  b.Byte(0x12).U16(36000).Byte(10);                                 // a range by span
  b.Byte(0x01).Line(1100, 1200, 300, 0x02);                         // diving, duplicate
  b.Line(1100, 1200, 300);                                          // zero-length
  b.Byte(0x13).U16(35000).U16(35005).Byte(0x00);                    // a range by two dates, normal
  b.Byte(0x44).Label8(0, ".sub").Point(2100, 1200, 300);            // splay into "cave.sub"
  b.Byte(0x10).Line(1100, 200, 300, 0x01);                          // no date, surface, back to a station
  b.Byte(0x1f).I32(4).I32(4000).I32(25).I32(24).I32(7);             // error information
  b.Byte(0x96).Label8(4, ".1").Point(100, 200, 300);                // "cave.1", entrance fixed underground
  b.Byte(0x82).Label8(1, "2").Point(1100, 200, 300);                // "cave.2"
  b.Byte(0x82).Label8(0, "").Point(1100, 200, 300);                 // "cave.2" again: one name
  b.Byte(0x88).Label8(6, "other.7").Point(1100, 200, 300);          // a second name there, exported
  b.Byte(0xa2).Label8(0, "").Point(2100, 1200, 300);                // anonymous: no name, though the label holds one
  b.Byte(0x30).Label8(0, "").U16(100).U16(0xffff).U16(3).U16(4);    // cross sections, 2 and 4 bytes
  b.Byte(0x33).Label8(0, "").I32(1).I32(2).I32(3).I32(-1);
  b.Byte(0x00);
  b.Text("anything after the end is not read");

  const TSurvey survey = Read3d(b.bytes, "t.3d");
  EXPECT_EQ(survey.Title, "Cave of Tests");
  EXPECT_EQ(survey.CoordinateSystem, "EPSG:27700");
  EXPECT_TRUE(survey.ExtendedElevation);
  EXPECT_EQ(survey.Dates, (TSurveyDates{35000, 36923}));
  ASSERT_EQ(survey.StationCount(), 4);
  EXPECT_EQ(survey.Positions[0], MakeVec3(1, 2, 3));
  EXPECT_EQ(survey.Positions[1], MakeVec3(11, 2, 3));
  EXPECT_THAT(NamesOf(survey, 0), ElementsAre("cave.1"));
  EXPECT_THAT(NamesOf(survey, 1), ElementsAre("cave.2", "other.7"));
  EXPECT_THAT(NamesOf(survey, 2), ElementsAre());
  EXPECT_THAT(NamesOf(survey, 3), ElementsAre());
  EXPECT_EQ(survey.StationFlags[0], sfUnderground | sfEntrance | sfFixed);
  EXPECT_EQ(survey.StationFlags[1], sfUnderground | sfExported);
  EXPECT_EQ(survey.StationFlags[2], sfAnonymous);  // a leg end no label names
  EXPECT_EQ(survey.StationFlags[3], sfUnderground | sfAnonymous);
  EXPECT_THAT(survey.Surveys, ElementsAre("cave", "cave.sub"));
  EXPECT_THAT(
      survey.Legs,
      ElementsAre(TSurveyLeg{0, 1, 0, 0, TLegStyle::Normal}, TSurveyLeg{1, 2, 0, lfDuplicate, TLegStyle::Diving},
                  TSurveyLeg{2, 3, 1, lfSplay, TLegStyle::Normal}, TSurveyLeg{3, 1, 1, lfSurface, TLegStyle::Normal}));
  EXPECT_EQ(survey.Notes.ZeroLengthLegs, 1);
  EXPECT_EQ(survey.Notes.SharedPositions, 1);
  EXPECT_EQ(survey.Notes.CrossSections, 2);
  ASSERT_EQ(survey.Notes.TraverseErrors.size(), 1u);
  const TTraverseError& error = survey.Notes.TraverseErrors[0];
  EXPECT_EQ(error.Legs, 4);
  EXPECT_DOUBLE_EQ(error.Length, 40);
  EXPECT_DOUBLE_EQ(error.Error, 0.25);
  EXPECT_DOUBLE_EQ(error.Horizontal, 0.24);
  EXPECT_DOUBLE_EQ(error.Vertical, 0.07);
}

// Therion starts legs with no style item and gives the coordinate system as
// a PROJ string; its first 0x00 only sets the style, the second ends the data.
TEST(Read3d, ReadsTherionsWayOfStarting) {
  T3dBytes b = T3dBytes::V8("th", "+init=epsg:3912");
  b.Move(0, 0).Byte(0x40).Label8(0, "s").Point(0, 100).Byte(0x80).Label8(0, ".a").Point(0, 100);
  b.Byte(0x00).Line(100, 100).Byte(0x00);
  const TSurvey survey = Read3d(b.bytes, "th.3d");
  EXPECT_EQ(survey.CoordinateSystem, "+init=epsg:3912");
  EXPECT_FALSE(survey.ExtendedElevation);
  EXPECT_THAT(survey.Legs,
              ElementsAre(TSurveyLeg{0, 1, 0, 0, TLegStyle::Normal}, TSurveyLeg{1, 2, 1, 0, TLegStyle::Normal}));
  EXPECT_THAT(survey.Surveys, ElementsAre("s", "s.a"));
  EXPECT_THAT(NamesOf(survey, 1), ElementsAre("s.a"));
}

TEST(Read3d, ReadsLongLabelsAndManyNamesAtOnePosition) {
  const std::string longName(300, 'n');
  T3dBytes b = T3dBytes::V8();
  b.Byte(0x80).Label8(0, longName).Point(5, 5);
  // Twelve names at one position, some repeated: sorted, not compared pair by pair.
  for (int i = 0; i < 12; ++i) b.Byte(0x80).Label8(i == 0 ? 300 : 2, "n" + std::to_string(i % 5)).Point(5, 5);
  b.Byte(0x00).Byte(0x00);
  const TSurvey survey = Read3d(b.bytes, "");
  ASSERT_EQ(survey.StationCount(), 1);
  EXPECT_THAT(NamesOf(survey, 0), ElementsAre(longName, "n0", "n1", "n2", "n3", "n4"));
  EXPECT_EQ(survey.Notes.SharedPositions, 5);
}

// Versions 3 to 7 append labels, trim them by characters or back to a dot,
// and empty them with a 0x00 that ends the data when the label is empty.
TEST(Read3d, ReadsLabelsAndItemsOfVersions3To7) {
  const std::string longSurvey = "cave.s" + std::string(300, 'x');
  T3dBytes b = T3dBytes::Old(3, "old");
  b.Move(0, 0).Byte(0x80).LabelOld(longSurvey).Point(100, 0);
  b.Byte(0x22).I32(1).I32(100).I32(0).I32(0).I32(0);           // written by cavern into version 3 as well
  b.Byte(0x41).LabelOld(".aaaaaaaaaaaaaaaa.b").Point(100, 0);  // longSurvey.aaa(16).b, on the surface
  b.Byte(0x02).Byte(0x42).LabelOld("c").Point(0, 0);           // 16 off, back past two dots: cave.c
  b.Byte(0x10).Byte(0x42).LabelOld("d").Point(0, 0);           // one character off: cave.d
  b.Byte(0x00).Byte(0x80).LabelOld("s2").Point(0, 100);        // label emptied: survey "s2"
  b.Byte(0x00).Byte(0x00);
  const TSurvey survey = Read3d(b.bytes, "old.3d");
  EXPECT_EQ(survey.Title, "old");
  EXPECT_THAT(survey.Surveys, ElementsAre(longSurvey, "s2"));
  ASSERT_EQ(survey.StationCount(), 3);
  EXPECT_THAT(NamesOf(survey, 0), ElementsAre("cave.c", "cave.d"));
  EXPECT_THAT(NamesOf(survey, 1), ElementsAre(longSurvey + ".aaaaaaaaaaaaaaaa.b"));
  EXPECT_EQ(survey.StationFlags[1], sfSurface);
  EXPECT_EQ(survey.Notes.TraverseErrors.size(), 1u);
  EXPECT_EQ(survey.Dates, TSurveyDates());
}

TEST(Read3d, ReadsTheDatesOfEachOldVersionInItsOwnUnits) {
  // Versions 4 to 6 count seconds since 1970, version 7 days since 1900.
  T3dBytes v4 = T3dBytes::Old(4);
  v4.Byte(0x21).I32(86400).I32(10 * 86400 + 5).Move(0, 0).Byte(0x80).LabelOld("").Point(1, 0);
  v4.Byte(0x20).I32(0).Byte(0x80).LabelOld("").Point(2, 0).Byte(0x00);
  EXPECT_EQ(Read3d(v4.bytes, "").Dates, (TSurveyDates{25567, 25577}));
  T3dBytes v7 = T3dBytes::Old(7);
  v7.Move(0, 0).Byte(0x21).U16(40000).Byte(3).Byte(0x80).LabelOld("").Point(1, 0);
  v7.Byte(0x23).U16(30000).U16(30001).Byte(0x80).LabelOld("").Point(2, 0);
  v7.Byte(0x24).Byte(0x80).LabelOld("").Point(3, 0);
  v7.Byte(0x20).U16(50000).Byte(0x30).LabelOld("").U16(1).U16(2).U16(3).U16(4).Byte(0x00);
  const TSurvey survey = Read3d(v7.bytes, "");
  EXPECT_EQ(survey.Dates, (TSurveyDates{30000, 40003}));
  EXPECT_EQ(survey.Notes.CrossSections, 1);
  EXPECT_EQ(survey.LegCount(), 3);
}

// The early binary version: four-byte codes, whole names ended by a linefeed.
TEST(Read3d, ReadsVersionBv001) {
  T3dBytes b = T3dBytes::Binary001("early");
  b.I32(4).Point(0, 0).I32(2).Text("a.1\n").I32(5).Point(100, 0).I32(0);
  b.I32(1).Point(7, 7, 7).I32(2).Text("a.2\n").I32(3).Text("a.3\n").Point(100, 200).I32(-1);
  const TSurvey survey = Read3d(b.bytes, "");
  EXPECT_EQ(survey.Title, "early");
  ASSERT_EQ(survey.StationCount(), 3);
  EXPECT_THAT(NamesOf(survey, 0), ElementsAre("a.1"));
  EXPECT_THAT(NamesOf(survey, 1), ElementsAre("a.2"));
  EXPECT_THAT(NamesOf(survey, 2), ElementsAre("a.3"));
  EXPECT_THAT(survey.Legs, ElementsAre(TSurveyLeg{0, 1, -1, 0, TLegStyle::Normal}));
}

// A file that goes wrong where Bad starts: Good, then Bad.
struct TBadFile {
  const char* What;
  std::string Good, Bad;
  std::string Message;
};

T3dBytes Raw() { return T3dBytes::Raw(); }

std::string Reserved(unsigned code, const std::string& version = "") {
  char hex[8];
  std::snprintf(hex, sizeof hex, "0x%02x", code);
  return std::string("reserved item code ") + hex + (version.empty() ? "" : " for version " + version);
}

std::vector<TBadFile> BadFiles() {
  const std::string id = "Survex 3D Image File\n";
  const std::string v8 = T3dBytes::V8().bytes;
  const std::string past = "label runs past the end of the file";
  const std::string notA3d = "not a Survex 3D image file (its first line is not \"Survex 3D Image File\")";
  const std::string knows = " (this reader knows v8, v3 to v7 and Bv0.01)";
  std::vector<TBadFile> files = {
      {"empty", "", "", notA3d},
      {"graph file", "", "3\r\nA\r\n", notA3d},
      {"no version", id, "v8", "the file ends inside the header's version line"},
      {"newer version", id, "v9\n", "unsupported .3d file version \"v9\"" + knows},
      {"binary version", id, "v8\x01" + std::string(40, 'x') + "\n",
       "unsupported .3d file version \"v8?xxxxxxxxxxxxx...\"" + knows},
      {"text version", "Survex 3D Image File\r\n", "v0.01\r\n", "unsupported .3d file version \"v0.01\"" + knows},
      {"no title end", id + "v8\n", "title", "the file ends inside the header's title line"},
      {"no flags", id + "v8\nt\n@0\n", "", "the file ends inside the header's flags"},
      {"no end", v8, "", "the file ends before its end-of-data item"},
      // Without a style set, the first 0x00 only sets it.
      {"one zero", v8 + '\0', "", "the file ends before its end-of-data item"},
      {"short MOVE", v8, Raw().Byte(0x0f).I32(1).I32(2).bytes, "the file ends inside a MOVE item"},
      {"short LINE", v8 + Raw().Move(0, 0).bytes, Raw().Byte(0x60).I32(1).bytes, "the file ends inside a LINE item"},
      {"leg from nowhere", v8, Raw().Byte(0x60).Point(1, 1).bytes, "a leg starts where no position has been given"},
      {"short label", v8, Raw().Byte(0x80).Byte(0x05).Text("abc").bytes, past},
      {"huge label", v8, Raw().Byte(0x80).Byte(0).Byte(0).Byte(0xff).I32(0xffffffff).Text("abc").bytes, past},
      {"label cut in its counts", v8, Raw().Byte(0x80).Byte(0x00).Byte(0xff).bytes, past},
      {"label drops too much", v8 + Raw().Byte(0x80).Label8(0, "ab").Point(0, 0).bytes,
       Raw().Byte(0x80).Label8(3, "").Point(0, 0).bytes, "label removes 3 characters from a name of 2"},
      {"short ERROR", v8, Raw().Byte(0x1f).I32(1).I32(2).bytes, "the file ends inside an ERROR item"},
      {"short XSECT", v8, Raw().Byte(0x32).Label8(0, "").I32(1).bytes, "the file ends inside an XSECT item"},
      {"short DATE", v8, Raw().Byte(0x13).U16(1).bytes, "the file ends inside a DATE item"},
      {"dot trim of a short label", T3dBytes::Old(5).Byte(0x40).LabelOld("short").Point(0, 0).bytes, "\x01",
       "label trim removes more than the name holds"},
      {"dot trim without a dot", T3dBytes::Old(5).Byte(0x40).LabelOld(std::string(20, 'x')).Point(0, 0).bytes, "\x01",
       "label trim removes more than the name holds"},
      {"character trim", T3dBytes::Old(5).Byte(0x40).LabelOld("abc").Point(0, 0).bytes, "\x1f",
       "label removes 16 characters from a name of 3"},
      {"old label past the end", T3dBytes::Old(4).bytes, Raw().Byte(0x80).Byte(0xfe).U16(10).Text("abc").bytes, past},
      {"early reserved code", T3dBytes::Binary001().bytes, Raw().I32(6).Point(0, 0).bytes,
       "reserved item code 6 for version Bv0.01"},
      {"early label", T3dBytes::Binary001().I32(4).Point(0, 0).bytes, Raw().I32(2).Text("no linefeed").bytes, past},
      {"early label nowhere", T3dBytes::Binary001().bytes, Raw().I32(2).Text("a\n").bytes,
       "a label stands where no position has been given"},
      {"early code cut", T3dBytes::Binary001().bytes, "\x05", "the file ends inside an item code"},
  };
  for (const unsigned code : {0x05u, 0x0eu, 0x14u, 0x1eu, 0x20u, 0x2fu, 0x34u, 0x3fu}) {
    files.push_back({"reserved code", v8, Raw().Byte(code).Byte(0).Byte(0).bytes, Reserved(code)});
  }
  // Codes of one version are reserved in the others.
  for (const auto& [version, code] : std::vector<std::pair<int, unsigned>>{
           {3, 0x20}, {3, 0x21}, {6, 0x23}, {6, 0x24}, {4, 0x30}, {7, 0x25}, {7, 0x34}, {7, 0xc0}, {7, 0xff}}) {
    files.push_back({"code of another version", T3dBytes::Old(version).bytes, Raw().Byte(code).I32(0).I32(0).bytes,
                     Reserved(code, std::to_string(version))});
  }
  return files;
}

TEST(Read3d, NamesTheByteWhereABadFileGoesWrong) {
  for (const TBadFile& file : BadFiles()) {
    SCOPED_TRACE(file.What);
    try {
      Read3d(file.Good + file.Bad, "bad.3d");
      ADD_FAILURE() << "read without an error";
    } catch (const E3dFileError& error) {
      EXPECT_EQ(error.what(), "bad.3d: byte " + std::to_string(file.Good.size()) + ": " + file.Message);
      EXPECT_EQ(error.Offset(), static_cast<int64_t>(file.Good.size()));
    }
  }
}

// Names are delta-coded, so a small file can spell out huge names; past a
// bound in proportion to the file the reader stops instead of filling memory.
TEST(Read3d, RefusesLabelsThatSpellOutFarMoreThanTheFileHolds) {
  T3dBytes b = T3dBytes::V8();
  b.Byte(0x80).Label8(0, std::string(60000, 'x')).Point(0, 0);
  size_t last = 0;
  for (int i = 0; i < 2000; ++i) {
    last = b.bytes.size();
    b.Byte(0x80).Label8(1, "y").Point(0, 0);
  }
  b.Byte(0x00).Byte(0x00);
  try {
    Read3d(b.bytes, "big.3d");
    FAIL() << "read without an error";
  } catch (const E3dFileError& error) {
    EXPECT_THAT(error.what(),
                ::testing::HasSubstr(": the labels add up to more characters than a file of this size can hold"));
    EXPECT_GT(error.Offset(), 60000);
    EXPECT_LT(error.Offset(), static_cast<int64_t>(last));
  }
}

TEST(Read3d, ReadsAFileAndNamesItInErrors) {
  EXPECT_THROW(Read3dFile("/nonexistent/cave.3d"), EFileError);
  const std::string path = ::testing::TempDir() + "read3d_bad.3d";
  {
    FILE* f = std::fopen(path.c_str(), "wb");
    ASSERT_NE(f, nullptr);
    std::fputs("Survex 3D Image File\nv7\n", f);
    std::fclose(f);
  }
  try {
    Read3dFile(path);
    FAIL() << "read without an error";
  } catch (const E3dFileError& error) {
    EXPECT_EQ(error.what(), path + ": byte 24: the file ends inside the header's title line");
  }
  std::remove(path.c_str());
}

}  // namespace
