// Every refusal of the reader names the file and line and the command, and
// leaves no survey behind.

#include <gtest/gtest.h>

#include <string>

#include "tests/surveys/svx_test_support.h"

namespace {

struct TErrorCase {
  std::string Text;
  std::string Message;
};

const TErrorCase kErrors[] = {
    {"1 2 1 0 0\n*foo bar", "t.svx:2: unknown command *foo"},
    {"*", "t.svx:1: a command word is missing after the keyword character"},
    {"*cs out UTM33N\n*declination auto 1 2 3",
     "t.svx:2: *declination auto needs a magnetic field model, which this reader does not have: give the "
     "declination as *declination <value> <units>, or give a fixed declination for it in the reader's options"},
    {"*declination 3", "t.svx:1: *declination: expected units such as DEGREES after the value, found \"\""},
    {"*data normal station newline tape compass clino",
     "t.svx:1: *data normal with station: interleaved data (a station on one line, the readings to the next "
     "station on the next) is not supported; give each leg one line with FROM and TO"},
    {"*data diving station depth newline tape compass",
     "t.svx:1: *data diving with station: interleaved data (a station on one line, the readings to the next "
     "station on the next) is not supported; give each leg one line with FROM and TO"},
    {"*data normal from to tape compass depth",
     "t.svx:1: *data normal with depth: interleaved data (a station on "
     "one line, the readings to the next station on the next) is not supported; give each leg one line with FROM and "
     "TO"},
    {"*data weird from to", "t.svx:1: *data: unknown style \"weird\""},
    {"*data normal from to tape tape compass", "t.svx:1: *data normal: TAPE is given twice"},
    {"*data normal from to compass clino", "t.svx:1: *data normal needs TAPE"},
    {"*data cartesian from to northing easting", "t.svx:1: *data cartesian needs EASTING, NORTHING and ALTITUDE"},
    {"*data cartesian from to tape northing easting altitude", "t.svx:1: *data cartesian takes no TAPE reading"},
    {"*data normal from to tape compass clino wibble", "t.svx:1: *data normal: unknown reading \"wibble\""},
    {"\n1 2 x 0 0", "t.svx:2: expected a number for the tape reading, found \"x\""},
    {"1 2 10 0", "t.svx:1: the data line ends before its CLINO reading"},
    {"1 2 10 0 0 5", "t.svx:1: more readings than *data gives: \"5\""},
    {"1 2 10 - 0", "t.svx:1: the compass reading is omitted on a leg that is not plumbed"},
    {"1 2 - 0 0", "t.svx:1: the tape reading is omitted (and there is no back tape)"},
    {"1 2 10 0 sideways", "t.svx:1: expected a number, UP, DOWN or LEVEL for the clino reading, found \"sideways\""},
    {"*data normal from to tape compass clino backclino\n1 2 10 0 up 10",
     "t.svx:2: the clino and back clino readings are of different kinds (a plumb, level or an angle)"},
    {"*units compass quadrants\n1 2 10 Q30E 0",
     "t.svx:2: expected a quadrant bearing such as N34E for the compass reading, found \"Q30E\""},
    {"1 1 10 0 0", "t.svx:1: the leg's two ends are the same station \"1\""},
    {"1 b@ 1 0 0", "t.svx:1: character \"@\" is not allowed in the name \"b@\""},
    {"a..b c 1 0 0", "t.svx:1: the name \"a..b\" has an empty part"},
    {"1 .... 1 0 0", "t.svx:1: \"....\" is no station name"},
    {"*end", "t.svx:1: *end with no matching *begin in this file"},
    {"*begin a\n*end b", "t.svx:2: *end b does not match *begin a on line 1"},
    {"*begin\n*end b", "t.svx:2: *end b does not match *begin (no name) on line 1"},
    {"\n*begin a\n1 2 1 0 0", "t.svx:2: *begin a has no matching *end in this file"},
    {"*equate a", "t.svx:1: *equate needs at least two stations"},
    {"*equate a b\na b 1 0 0", "t.svx:2: the leg from \"a\" to \"b\" joins a station to itself (its ends are equated)"},
    {"*fix a 1 2",
     "t.svx:1: *fix takes a station, optionally REFERENCE, then x y z and one, two, three or six "
     "standard errors"},
    {"*fix a 1 2 zz", "t.svx:1: *fix: expected a number, found \"zz\""},
    {"*fix a 0 0 0\n*fix b 0 0 0\n*equate a b\n*fix a 1 0 0", "t.svx:4: \"a\" is fixed again at a different position"},
    {"*units tape furlongs", "t.svx:1: *units: \"furlongs\" is not a unit of this quantity"},
    {"*units clino quadrants", "t.svx:1: *units: \"quadrants\" is not a unit of this quantity"},
    {"*units tape 0 metres", "t.svx:1: *units: the factor must not be zero"},
    {"*units wibble metres", "t.svx:1: *units: expected a quantity such as TAPE or COMPASS, found \"wibble\""},
    {"*calibrate tape x", "t.svx:1: *calibrate zero error: expected a number, found \"x\""},
    {"*calibrate declination 1 2", "t.svx:1: *calibrate declination takes no scale"},
    {"*sd tape 0.1", "t.svx:1: *sd: expected units such as METRES or DEGREES after the value, found \"\""},
    {"*sd tape -1 metres", "t.svx:1: *sd: a standard deviation cannot be negative"},
    {"*flags surface bogus", "t.svx:1: *flags: unknown flag \"bogus\""},
    {"*flags not", "t.svx:1: *flags: NOT with no flag after it"},
    {"*set eol x0A", "t.svx:1: *set eol is not supported: lines end with LF, CR LF or CR"},
    {"*set decimal a", "t.svx:1: *set: \"a\" is a letter or digit and cannot be special"},
    {"*set colour x", "t.svx:1: *set: unknown item \"colour\""},
    {"*case sideways", "t.svx:1: *case: expected PRESERVE, TOUPPER or TOLOWER, found \"sideways\""},
    {"*truncate 0", "t.svx:1: *truncate: expected a whole number of characters or OFF, found \"0\""},
    {"*infer plumbs maybe", "t.svx:1: *infer: expected ON or OFF, found \"maybe\""},
    {"*infer loops on", "t.svx:1: *infer: expected PLUMBS, EQUATES or EXPORTS, found \"loops\""},
    {"*alias station x y", "t.svx:1: *alias: only \"*alias station - ..\" and \"*alias station -\" are supported"},
    {"*date 2001.13", "t.svx:1: *date: expected YYYY[.MM[.DD]][-YYYY[.MM[.DD]]], found \"2001.13\""},
    {"*date 2001-1999", "t.svx:1: *date: the range \"2001-1999\" ends before it begins"},
    {"*default everything", "t.svx:1: *default: expected CALIBRATE, DATA, UNITS or ALL, found \"EVERYTHING\""},
    {"*include", "t.svx:1: *include needs a file name"},
    {"1 2 1 0 0\r\n*include nothere", "t.svx:2: *include \"nothere\": file not found"},
};

TEST(SvxErrors, NameFileLineAndCommand) {
  for (const TErrorCase& c : kErrors) {
    SCOPED_TRACE(c.Text);
    EXPECT_EQ(SvxErrorOf({{"t.svx", c.Text}}), c.Message);
  }
}

TEST(SvxErrors, NameTheIncludedFileAndTheCycle) {
  EXPECT_EQ(SvxErrorOf({{"t.svx", "*include a"}, {"a.svx", "\n*include sub/b"}, {"sub/b.svx", "*include ../A"}}),
            "sub/b.svx:1: *include \"../A\" makes a cycle of included files: t.svx -> a.svx -> sub/b.svx -> a.svx");
  EXPECT_EQ(SvxErrorOf({{"t.svx", "*include t"}}),
            "t.svx:1: *include \"t\" makes a cycle of included files: t.svx -> t.svx");
  EXPECT_EQ(SvxErrorOf({{"t.svx", "1 2 1 0 0\n*include a"}, {"a.svx", "*begin x\n\n1 2 bad 0 0\n*end x"}}),
            "a.svx:3: expected a number for the tape reading, found \"bad\"");
  // *begin and *end do not cross files.
  EXPECT_EQ(SvxErrorOf({{"t.svx", "*begin x\n*include a\n*end x"}, {"a.svx", "*end x"}}),
            "a.svx:1: *end with no matching *begin in this file");
  EXPECT_EQ(SvxErrorOf({}, "none.svx"), "none.svx: File not found");
  // Included files nest only so deep, and a file read again and again counts each time.
  std::map<std::string, std::string> deep;
  for (int i = 0; i < 70; ++i) deep["f" + std::to_string(i) + ".svx"] = "*include f" + std::to_string(i + 1);
  EXPECT_EQ(SvxErrorOf(deep, "f0.svx"), "f63.svx:1: *include \"f64\": included files nest more than 64 deep");
  TSvxOptions small;
  small.MaxTotalBytes = 1000;
  std::map<std::string, std::string> repeated = {{"t.svx", std::string(30, '\n')}, {"b.svx", std::string(100, ' ')}};
  for (int i = 0; i < 20; ++i) repeated["t.svx"] += "*include b\n";
  EXPECT_EQ(SvxErrorOf(repeated, "t.svx", small), "t.svx:38: *include: the files read come to more than 1000 bytes");
}

}  // namespace
