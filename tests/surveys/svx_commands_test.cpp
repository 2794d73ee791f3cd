// The reader's commands by group: each input gives the legs, vectors and
// flags it must.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <string>
#include <vector>

#include "tests/surveys/svx_test_support.h"

namespace {

struct TExpectedLeg {
  std::string From, To;  // main names, "" for an anonymous station
  double East, North, Up;
  uint8_t Flags = 0;
};

struct TCommandCase {
  const char* Group;
  std::string Text;
  std::vector<TExpectedLeg> Legs;
};

const double kPi = std::numbers::pi;
const double kCos30 = std::sqrt(3.0) / 2;
const double kHalfRoot2 = std::sqrt(0.5);

const TCommandCase kCases[] = {
    {"lines: comments, tabs, commas, CR LF, commands in any case",
     "; a comment\r\n*BEGIN A\r\n1\t2,10 ,180 0 ; more\r\n\r\n*End a\r\n  2 3 1 90 0",
     {{"a.1", "a.2", 0, -10, 0}, {"2", "3", 1, 0, 0}}},
    {"data order, ignore and ignoreall",
     "*data normal from to compass ignore clino tape ignoreall\n1 2 90 x 30 10 junk and more\n"
     "*DATA NORMAL to from tape compass clino\n3 2 2 0 0",
     {{"1", "2", 10 * kCos30, 0, 5}, {"2", "3", 0, 2, 0}}},
    {"fore and back readings",
     "*data normal from to tape compass clino backtape backcompass backclino\n"
     "1 2 10 10 10 12 200 -20\n2 3 10 - - - 270 -30\n3 4 - 0 0 4 - -\n4 5 10 359 0 - 181 0",
     {{"1", "2", 2.75, 11 * (1 + kCos30) / 2, 11 * std::sin(15 * kPi / 180)},
      {"2", "3", 10 * kCos30, 0, 5},
      {"3", "4", 0, 4, 0},
      {"4", "5", 0, 10, 0}}},
    {"plumbs, level and an omitted clino",
     "1 2 10 - up\n2 3 5 - D\n3 4 4 - +V\n4 5 3 - -v\n5 6 2 90 level\n6 7 10 0 -\n7 8 3 - U\n8 9 3 - down",
     {{"1", "2", 0, 0, 10},
      {"2", "3", 0, 0, -5},
      {"3", "4", 0, 0, 4},
      {"4", "5", 0, 0, -3},
      {"5", "6", 2, 0, 0},
      {"6", "7", 0, 10, 0},
      {"7", "8", 0, 0, 3},
      {"8", "9", 0, 0, -3}}},
    {"inferred plumbs take no clino calibration",
     "*calibrate clino 1\n1 2 10 0 31\n*infer plumbs on\n2 3 10 0 90\n3 4 10 0 -90\n*infer plumbs off\n4 5 10 0 91",
     {{"1", "2", 0, 10 * kCos30, 5}, {"2", "3", 0, 0, 10}, {"3", "4", 0, 0, -10}, {"4", "5", 0, 0, 10}}},
    {"units of length and angle, with factors",
     "*units tape feet\n1 2 10 0 0\n*units tape yards\n2 3 10 0 0\n*units tape 0.1 metres\n3 4 100 0 0\n"
     "*units default\n*units compass backcompass grads\n4 5 10 100 0\n*units compass minutes\n5 6 10 5400 0\n"
     "*units clino percent\n6 7 10 0 100\n*units compass quadrants\n7 8 10 S30E 0\n8 9 10 W 0\n9 10 10 N30W 0",
     {{"1", "2", 0, 3.048, 0},
      {"2", "3", 0, 9.144, 0},
      {"3", "4", 0, 10, 0},
      {"4", "5", 10, 0, 0},
      {"5", "6", 10, 0, 0},
      {"6", "7", 0, 10 * kHalfRoot2, 10 * kHalfRoot2},
      {"7", "8", 5, -10 * kCos30, 0},
      {"8", "9", -10, 0, 0},
      {"9", "10", -5, 10 * kCos30, 0}}},
    {"calibrations in both forms, and declinations",
     "*calibrate tape 0.3\n1 2 10.3 0 0\n*calibrate tape 0.3 2\n2 3 5.3 0 0\n*calibrate tape 0.2 metres 2\n"
     "3 4 5.1 0 0\n*calibrate default\n*units tape feet\n*calibrate tape 1\n4 5 11 0 0\n*calibrate default\n"
     "*units default\n*calibrate compass 10\n5 6 10 100 0\n*calibrate default\n*calibrate declination 10\n"
     "6 7 10 100 0\n*declination 90 degrees\n7 8 10 0 0\n*declination 100 grads\n8 9 10 0 0\n"
     "*calibrate clino -2 0.5\n9 10 10 0 58",
     {{"1", "2", 0, 10, 0},
      {"2", "3", 0, 10, 0},
      {"3", "4", 0, 10, 0},
      {"4", "5", 0, 3.048, 0},
      {"5", "6", 10, 0, 0},
      {"6", "7", 10, 0, 0},
      {"7", "8", 10, 0, 0},
      {"8", "9", 10, 0, 0},
      {"9", "10", 10 * kCos30, 0, 5}}},
    {"diving, cylindrical polar, cartesian and no-survey data",
     "*declination 90 degrees\n*data diving from to tape compass fromdepth todepth\n1 2 5 0 -10 -7\n"
     "*calibrate depth 0 -1\n2 3 5 0 10 7\n*calibrate depth 0\n*data diving from to tape compass depthchange\n"
     "3 4 5 270 -3\n*data cylpolar from to tape compass depthchange\n4 5 4 0 3\n"
     "*data cartesian from to northing easting altitude\n5 6 1 2 3\n*data nosurvey from to\n6 7",
     {{"1", "2", 4, 0, 3},
      {"2", "3", 4, 0, 3},
      {"3", "4", 0, 4, -3},
      {"4", "5", 4, 0, 3},
      {"5", "6", 2, 1, 3},
      {"6", "7", 0, 0, 0}}},
    {"leg flags",
     "*flags surface\n1 2 1 0 0\n*flags not surface duplicate\n2 3 1 0 0\n*flags splay not duplicate\n3 4 1 0 0\n"
     "*begin\n*flags not splay surface\n4 5 1 0 0\n*end\n5 6 1 0 0",
     {{"1", "2", 0, 1, 0, lfSurface},
      {"2", "3", 0, 1, 0, lfDuplicate},
      {"3", "4", 0, 1, 0, lfSplay},
      {"4", "5", 0, 1, 0, lfSurface},
      {"5", "6", 0, 1, 0, lfSplay}}},
    {"anonymous stations and the dash alias",
     "1 . 1 0 0\n1 .. 1 90 0\n1 ... 1 180 0\n*begin\n*alias station - ..\n1 - 1 270 0\n*end\n1 - 2 0 0",
     {{"1", "", 0, 1, 0, lfSplay},
      {"1", "", 1, 0, 0, lfSplay},
      {"1", "", 0, -1, 0},
      {"1", "", -1, 0, 0, lfSplay},
      {"1", "-", 0, 2, 0}}},
    {"names: prefixes, equates, case, truncation, the root",
     "*begin Cave\n*begin Upper\n1 2 1 0 0\n*end upper\n*equate upper.2 lower.1\n*begin lower\n1 2 1 0 0\n"
     "*end lower\n*end Cave\n*case preserve\nq Q 1 0 0\n*case toupper\nr s 1 0 0\n*case tolower\n"
     "*truncate 4\nentrance1 passage 1 0 0\npass2 x 1 0 0\n*truncate off\n*begin deep\n\\top Bottom 1 0 0\n*end deep",
     {{"cave.upper.1", "cave.upper.2", 0, 1, 0},
      {"cave.upper.2", "cave.lower.2", 0, 1, 0},
      {"q", "Q", 0, 1, 0},
      {"R", "S", 0, 1, 0},
      {"entr", "pass", 0, 1, 0},
      {"pass", "x", 0, 1, 0},
      {"top", "deep.bottom", 0, 1, 0}}},
    {"*set changes the special characters, *begin and *end restore them",
     "*begin\n*set blank x09x20\n*set decimal ,\n1 2 1,5 0 0\n*set minus ~\n2 3 2 0 ~30\n*set comment #\n"
     "3 4 1 0 0 # c\n*set keyword !\n!set separator :\n!begin a\n1 2 1 0 0\n!end a\n!equate a:2 b:1\n!end\n"
     "*begin c\n1 2 1 0 0\n*end c\n*set omit x5F\n7 8 1 _ up\n*set names _-'\nx'y z 1 0 0\n*set plus ^\n8 9 1 0 ^30",
     {{"1", "2", 0, 1.5, 0},
      {"2", "3", 0, 2 * kCos30, -1},
      {"3", "4", 0, 1, 0},
      {"a.1", "a.2", 0, 1, 0},
      {"c.1", "c.2", 0, 1, 0},
      {"7", "8", 0, 0, 1},
      {"x'y", "z", 0, 1, 0},
      {"8", "9", 0, kCos30, 0.5}}},
    {"settings saved by *begin are restored by *end; included files carry them back",
     "*begin\n*units tape feet\n*calibrate compass 90\n*data normal from to clino compass tape\n*sd tape 1 metres\n"
     "*end\n1 2 1 0 0\n*include more\n2 3 1 0 0",
     {{"1", "2", 0, 1, 0}, {"2", "3", 0, 0.3048, 0}}},
    {"inferred equates and repeated readings",
     "*infer equates on\n1 2 0 0 0\n2 3 1 0 0\n*infer equates off\n3 4 0 0 0\n4 5 10 0 0\n4 5 10 2 0\n5 4 10 180 0",
     {{"1", "3", 0, 1, 0},
      {"3", "4", 0, 0, 0},
      {"4", "5", 5 * std::sin(2 * kPi / 180), 5 * (1 + std::cos(2 * kPi / 180)), 0},
      {"5", "4", 0, -10, 0}}},
};

TEST(SvxCommands, GiveTheLegsVectorsAndFlagsTheDataSays) {
  for (const TCommandCase& c : kCases) {
    SCOPED_TRACE(c.Group);
    const TSurvey survey = ReadSvxText(c.Text, {}, {{"more.svx", "*units tape feet\n"}});
    ASSERT_TRUE(survey.HasMeasurements() || c.Legs.empty());
    ASSERT_EQ(survey.LegCount(), static_cast<int32_t>(c.Legs.size()));
    for (size_t i = 0; i < c.Legs.size(); ++i) {
      SCOPED_TRACE("leg " + std::to_string(i));
      const TSurveyLeg& leg = survey.Legs[i];
      const TExpectedLeg& want = c.Legs[i];
      EXPECT_EQ(survey.MainName(leg.From), want.From);
      EXPECT_EQ(survey.MainName(leg.To), want.To);
      const Vec3 v = survey.Measurements[i].Vector;
      EXPECT_NEAR(v.X, want.East, 1e-9);
      EXPECT_NEAR(v.Y, want.North, 1e-9);
      EXPECT_NEAR(v.Z, want.Up, 1e-9);
      EXPECT_EQ(leg.Flags, want.Flags);
    }
  }
}

TEST(SvxCommands, KeepStylesNamesAndStationKinds) {
  const TSurvey survey = ReadSvxText(
      "*begin cave\n*export 1\n*entrance 1\n1 2 1 0 0\n2 .. 1 0 0\n*data nosurvey from to\n2 3\n"
      "*data cartesian from to easting northing altitude\n3 4 1 1 1\n*end cave\n*equate cave.1 outside\n"
      "*flags surface\noutside car 1 0 0\n*fix car reference 100 200 300 0.1 0.2\n*title \"The cave\"\n*title other\n"
      "*cs out EPSG:27700\n*cs out EPSG:1\n*date 2001.02.03-2001.02.05\n4 5 1 0 0\n*date 1985\n5 6 1 0 0");
  ASSERT_EQ(survey.LegCount(), 7);
  EXPECT_EQ(survey.Legs[2].Style, TLegStyle::NoSurvey);
  EXPECT_EQ(survey.Legs[3].Style, TLegStyle::Cartesian);
  EXPECT_EQ(survey.Title, "The cave");
  EXPECT_EQ(survey.CoordinateSystem, "EPSG:27700");
  EXPECT_EQ(survey.Dates, (TSurveyDates{31046, 36925}));
  EXPECT_THAT(survey.Surveys, testing::ElementsAre("cave"));
  EXPECT_EQ(survey.Legs[0].Survey, 0);
  EXPECT_EQ(survey.Legs[4].Survey, -1);
  // cave.1 and outside are one station with both names, on both kinds of leg.
  const int32_t one = survey.Legs[0].From;
  ASSERT_EQ(survey.NameCount(one), 2);
  EXPECT_EQ(survey.Name(one, 0), "cave.1");
  EXPECT_EQ(survey.Name(one, 1), "outside");
  EXPECT_EQ(survey.StationFlags[static_cast<size_t>(one)], sfExported | sfEntrance | sfSurface | sfUnderground);
  const int32_t wall = survey.Legs[1].To;
  EXPECT_EQ(survey.NameCount(wall), 0);
  EXPECT_EQ(survey.StationFlags[static_cast<size_t>(wall)], sfAnonymous | sfWall | sfUnderground);
  ASSERT_EQ(survey.Fixes.size(), 1u);
  const TFixedPoint& fix = survey.Fixes[0];
  EXPECT_EQ(survey.MainName(fix.Station), "car");
  EXPECT_EQ(fix.Position, MakeVec3(100, 200, 300));
  EXPECT_EQ(fix.Sd, MakeVec3(0.1, 0.1, 0.2));
  EXPECT_TRUE(fix.Reference);
  EXPECT_TRUE(survey.StationFlags[static_cast<size_t>(fix.Station)] & sfFixed);
  // Placed from the fix: car - outside = (0, 1, 0) backwards.
  EXPECT_EQ(survey.Positions[static_cast<size_t>(one)], MakeVec3(100, 199, 300));
  EXPECT_EQ(survey.Files, std::vector<std::string>{"t.svx"});
  EXPECT_EQ(survey.Measurements[4].Line, 13);
}

TEST(SvxCommands, ReadLatin1AndUtf8NamesAsUtf8) {
  const TSurvey latin = ReadSvxText("*title H\xF6hle\nh\xF6hle1 h\xF6hle2 1 0 0\n");
  EXPECT_EQ(latin.Title, "H\xC3\xB6hle");
  EXPECT_EQ(latin.MainName(0), "h\xC3\xB6hle1");
  const TSurvey utf8 = ReadSvxText("\xEF\xBB\xBFh\xC3\xB6hle1 h\xC3\xB6hle2 1 0 0\n");
  EXPECT_EQ(utf8.MainName(1), "h\xC3\xB6hle2");
}

TEST(SvxCommands, TakeAutomaticDeclinationFromTheOptions) {
  TSvxOptions options;
  options.AutoDeclination = 90;
  const TSurvey survey = ReadSvxText("*cs out UTM33N\n*declination auto 1 2 3\n1 2 10 0 0", options);
  EXPECT_NEAR(survey.Measurements[0].Vector.X, 10, 1e-12);
  EXPECT_NEAR(survey.Measurements[0].Compass, 90, 1e-12);
}

TEST(SvxCommands, FindIncludedFilesAsSurvexDoes) {
  const std::map<std::string, std::string> files = {
      {"t.svx", "*begin top\n*include sub/first\n*include sub\\SECOND.svx\n*include \"sub/with space\"\n*end top"},
      {"sub/first.svx", "*include ../third\n1 2 1 0 0"},
      {"sub/second.svx", "2 3 1 0 0"},
      {"sub/with space.svx", "3 4 1 0 0"},
      {"third.svx", "*begin third\n*end third"},
  };
  TSvxMemoryFiles source;
  source.Files = files;
  const TSurvey survey = ReadSvx("t.svx", source);
  EXPECT_EQ(survey.LegCount(), 3);
  EXPECT_THAT(survey.Files,
              testing::ElementsAre("t.svx", "sub/first.svx", "third.svx", "sub/second.svx", "sub/with space.svx"));
  EXPECT_EQ(survey.MainName(survey.Legs[2].To), "top.4");
  EXPECT_EQ(survey.Measurements[1].File, 3);
  EXPECT_EQ(survey.Measurements[1].Line, 1);
}

}  // namespace
