#include "analysis/analysis_format.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cmath>
#include <sstream>

#include "analysis_test_support.h"

namespace {

std::string Misclosures(const TAnalysedSurvey& a, TReportFormat format, int32_t top = -1) {
  std::ostringstream out;
  WriteMisclosures(out, a.Survey, a.Misclosures, {format, top, false});
  return out.str();
}

// One square, A B C D, closing 0.5 m short in the west.
TAnalysedSurvey Square() {
  return TAnalysedSurvey(
      MakeSurvey(4, {{0, 1, 10, 0, 0}, {1, 2, 10, 90, 0}, {2, 3, 10, 180, 0}, {3, 0, 9.5, 270, 0}}, 0.05, 1, 1));
}

TEST(AnalysisFormat, WritesMisclosuresAsTextCsvAndJson) {
  const TAnalysedSurvey a = Square();
  ASSERT_EQ(a.Misclosures.size(), 1u);
  const double ratio = a.Misclosures[0].Ratio;
  char r[16];
  std::snprintf(r, sizeof r, "%.3f", ratio);
  EXPECT_EQ(Misclosures(a, TReportFormat::Text),
            "# 1 loops, 1 measured\n"
            "index  legs  length (m)  east (m)  north (m)  up (m)  error (m)  error (%)  ratio  status    stations\n"
            "    0     4     39.5000    0.5000     0.0000  0.0000     0.5000      1.266  " +
                std::string(r) + "  measured  t.2 t.3 t.0 t.1\n");
  EXPECT_EQ(Misclosures(a, TReportFormat::Csv),
            "index,legs,length_m,east_m,north_m,up_m,error_m,error_percent,ratio,status,unmeasured_legs,stations\n"
            "0,4,39.5000,0.5000,0.0000,0.0000,0.5000,1.266," +
                std::string(r) + ",measured,0,t.2 t.3 t.0 t.1\n");
  EXPECT_EQ(Misclosures(a, TReportFormat::Json),
            "{\"loops\": [\n  {\"index\": 0, \"legs\": 4, \"length_m\": 39.5000, \"misclosure_m\": {\"east\": 0.5000, "
            "\"north\": 0.0000, \"up\": 0.0000}, \"error_m\": 0.5000, \"error_percent\": 1.266, \"ratio\": " +
                std::string(r) +
                ", \"status\": \"measured\", \"unmeasured_legs\": 0, \"stations\": [\"t.2\", \"t.3\", "
                "\"t.0\", \"t.1\"]}\n]}\n");
  EXPECT_EQ(Misclosures(a, TReportFormat::Json, 0), "{\"loops\": []}\n");
}

TEST(AnalysisFormat, WritesUnknownFiguresAsDashesEmptyFieldsAndNulls) {
  TAnalysedSurvey a = Square();
  a.Survey.Legs[1].Style = TLegStyle::NoSurvey;
  a.Misclosures = ComputeMisclosures(a.Survey, a.Network, a.Graph, a.Loops);
  const std::string text = Misclosures(a, TReportFormat::Text);
  EXPECT_THAT(
      text, ::testing::HasSubstr(
                "    0     4           -         -          -       -          -          -      -  unmeasured  t.2"));
  EXPECT_THAT(Misclosures(a, TReportFormat::Csv), ::testing::HasSubstr("\n0,4,,,,,,,,unmeasured,1,t.2 "));
  EXPECT_THAT(
      Misclosures(a, TReportFormat::Json),
      ::testing::HasSubstr("\"length_m\": null, \"misclosure_m\": {\"east\": null, \"north\": null, \"up\": null}, "
                           "\"error_m\": null, \"error_percent\": null, \"ratio\": null, \"status\": \"unmeasured\""));
}

// A report made by hand: the formats are checked apart from the search.
TBlunderReport HandReport() {
  TBlunderReport report;
  report.Critical = 3.29;
  report.Redundancy = 12.5;
  report.VarianceFactor = 1.04;
  TLegCheck suspect;
  suspect.Leg = 1;
  suspect.W = 41.25;
  suspect.Redundancy = 1.5;
  suspect.Residual = MakeVec3(-0.00001, 2.5, -0.125);
  suspect.Fit = {TBlunderKind::Compass, -21.5, 1600};
  suspect.Explained = 0.9876;
  suspect.DropPercent = 93.5;
  suspect.Loops = {0, 3};
  suspect.Described = true;
  report.Suspects.push_back(suspect);
  TLegCheck checked;
  checked.Leg = 0;
  checked.W = 1.5;
  checked.Redundancy = 1.25;
  checked.Residual = MakeVec3(0.01, 0, 0);
  checked.DropPercent = NAN;
  report.Checked.push_back(checked);
  report.Unchecked.push_back({3, TUncheckedReason::Bridge});
  return report;
}

std::string Blunders(const TSurvey& survey, TReportFormat format, bool all, int32_t top = -1) {
  std::ostringstream out;
  WriteBlunders(out, survey, HandReport(), {format, top, all});
  return out.str();
}

TEST(AnalysisFormat, WritesBlundersAsTextCsvAndJson) {
  TSurvey survey = MakeSurvey(4, {{0, 1, 10, 0, 0}, {1, 2, 10, 90, 0}, {2, 3, 10, 180, 0}, {3, 0, 10, 270, 0}});
  // A Latin-1 name and a file name that needs quoting in CSV.
  survey.SetNames({0, 1, 2, 3}, {"cave.a", "cave.b\xe9", "cave.c", "cave.d"});
  survey.Files[0] = "my,data.svx";
  EXPECT_EQ(
      Blunders(survey, TReportFormat::Text, false),
      "# 1 suspects (w > 3.29) among 2 checked legs, 1 unchecked; variance factor 1.040\n"
      "rank       w  kind      change  unit  drop (%)  explained  residual east (m)  north (m)   up (m)  redundancy  "
      "from     to      source\n"
      "   1  41.250  compass  -21.500  deg     93.500      0.988             0.0000     2.5000  -0.1250       1.500  "
      "cave.b\xe9  cave.c  my,data.svx:11\n"
      "\n# 1 unchecked legs\n"
      "from    to      source          reason\n"
      "cave.d  cave.a  my,data.svx:13  bridge\n");
  EXPECT_EQ(
      Blunders(survey, TReportFormat::Csv, true),
      "status,rank,from,to,file,line,w,kind,change,unit,drop_percent,explained,residual_east_m,residual_north_m,"
      "residual_up_m,redundancy,loops,reason\n"
      "suspect,1,cave.b\xe9,cave.c,\"my,data.svx\",11,41.250,compass,-21.500,deg,93.500,0.988,0.0000,2.5000,-0.1250,"
      "1.500,0 3,\n"
      "checked,2,cave.a,cave.b\xe9,\"my,data.svx\",10,1.500,,,,,,0.0100,0.0000,0.0000,1.250,,\n"
      "unchecked,,cave.d,cave.a,\"my,data.svx\",13,,,,,,,,,,,,bridge\n");
  EXPECT_EQ(
      Blunders(survey, TReportFormat::Json, true),
      "{\"critical\": 3.290, \"variance_factor\": 1.040, \"redundancy\": 12.500,\n"
      "\"suspects\": [\n"
      "  {\"rank\": 1, \"from\": \"cave.b\xc3\xa9\", \"to\": \"cave.c\", \"file\": \"my,data.svx\", \"line\": 11, "
      "\"w\": 41.250, \"kind\": \"compass\", \"change\": -21.500, \"unit\": \"deg\", \"drop_percent\": 93.500, "
      "\"explained\": 0.988, \"residual_m\": {\"east\": 0.0000, \"north\": 2.5000, \"up\": -0.1250}, "
      "\"redundancy\": 1.500, \"loops\": [0, 3]}\n"
      "],\n"
      "\"checked\": [\n"
      "  {\"rank\": 2, \"from\": \"cave.a\", \"to\": \"cave.b\xc3\xa9\", \"file\": \"my,data.svx\", \"line\": 10, "
      "\"w\": 1.500, \"kind\": null, \"change\": null, \"unit\": null, \"drop_percent\": null, \"explained\": null, "
      "\"residual_m\": {\"east\": 0.0100, \"north\": 0.0000, \"up\": 0.0000}, \"redundancy\": 1.250, \"loops\": []}\n"
      "],\n"
      "\"unchecked\": [\n"
      "  {\"from\": \"cave.d\", \"to\": \"cave.a\", \"file\": \"my,data.svx\", \"line\": 13, \"reason\": \"bridge\"}\n"
      "]}\n");
  // Top limits the legs listed, never the unchecked ones.
  const std::string top = Blunders(survey, TReportFormat::Json, true, 1);
  EXPECT_THAT(top, ::testing::HasSubstr("\"checked\": []"));
  EXPECT_THAT(top, ::testing::HasSubstr("\"reason\": \"bridge\""));
}

}  // namespace
