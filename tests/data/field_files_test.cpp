// Reading the files field apps and spreadsheets write: column names and
// their synonyms, planes and lines in one file, a strike beside a dip
// direction, pitches and senses of slips, tabs, warnings and text columns.
#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <numbers>
#include <sstream>
#include <string>
#include <vector>

#include "data/measurements.hpp"

namespace polarsketch::data {
namespace {

ReadResult read(std::string_view text) { return read_measurements(text, "f.csv", {}); }

std::string first_problem(const ReadResult& r) {
  if (!r.fatal.empty()) return r.fatal;
  return r.errors.empty() ? "" : r.errors.front().message();
}

TEST(FieldFiles, HeaderNamesAreMatchedWithTheirSynonyms) {
  const struct {
    std::string text;
    Kind kind;
    double a, b;  // planes: dip direction, dip; lines: trend, plunge
  } cases[] = {
      {"Dip Direction,Dip\n120,30\n", Kind::planes, 120, 30},
      {"dip-dir;DIP\n120;30\n", Kind::planes, 120, 30},
      {"DipDirection dip\n120 30\n", Kind::planes, 120, 30},
      {"dipAzimuth,dip\n120,30\n", Kind::planes, 120, 30},
      {"dip.az,dip\n120,30\n", Kind::planes, 120, 30},
      {"Strk,Dip\n030,30\n", Kind::planes, 120, 30},
      {"Trd,Plg\n10,20\n", Kind::lines, 10, 20},
      {"plungeAzimuth,plunge\n10,20\n", Kind::lines, 10, 20},
      {"Plunge_Az,Plunge\n10,20\n", Kind::lines, 10, 20},
      {"Bearing,plg\n10,20\n", Kind::lines, 10, 20},
      {"Trd/Strk\tPlg/Dip\tFeature Type\n10\t20\tL\n", Kind::lines, 10, 20},
  };
  for (const auto& c : cases) {
    ReadResult r = read(c.text);
    ASSERT_EQ(r.fatal, "") << c.text;
    ASSERT_EQ(r.data.kind, c.kind) << c.text;
    ASSERT_EQ(r.data.size(), 1u) << c.text;
    const double a =
        c.kind == Kind::planes ? r.data.planes[0].dip_direction : r.data.lines[0].trend;
    const double b = c.kind == Kind::planes ? r.data.planes[0].dip : r.data.lines[0].plunge;
    EXPECT_EQ(a, c.a) << c.text;
    EXPECT_EQ(b, c.b) << c.text;
  }
}

TEST(FieldFiles, RefusedColumnSets) {
  const struct {
    std::string text, fatal;
  } cases[] = {
      {"dd,Dip Direction,dip\n",
       "f.csv:1: header: column 'dipdir' named twice ('dd' and 'Dip "
       "Direction')"},
      {"Trd/Strk,Plg/Dip\n",
       "f.csv:1: header: the combined columns trd/strk and plg/dip need a "
       "type column"},
      {"Trd/Strk,type\n", "f.csv:1: header: the combined columns trd/strk and plg/dip go together"},
      {"Trd/Strk,Plg/Dip,Type,dip\n",
       "f.csv:1: header: the combined columns trd/strk and plg/dip "
       "exclude"},
      {"dipdir,dip,rake,pitch\n", "f.csv:1: header: both a rake and a pitch column"},
      {"pitch,trend,plunge\n", "f.csv:1: header: a pitch column needs a plane"},
      {"sense,movement,dipdir,dip,rake\n", "f.csv:1: header: column 'sense' named twice"},
  };
  for (const auto& c : cases) {
    const ReadResult r = read(c.text);
    EXPECT_TRUE(r.fatal.starts_with(c.fatal)) << c.text << "\n" << r.fatal;
  }
}

TEST(FieldFiles, ATypeColumnSplitsPlanesAndLinesInOrderOfAppearance) {
  const ReadResult r = read(
      "Type\tTrd/Strk\tPlg/Dip\tStation\n"
      "lineation\t120\t10\tT1\n"
      "P\t030\t40\tT1\n"
      "l\t300\t05\tT2\n"
      "Bedding\t210\t35NW\tT2\n"
      "fold\t1\t1\tT3\n");
  ASSERT_EQ(r.fatal, "");
  EXPECT_EQ(first_problem(r),
            "f.csv:6:1: 'fold': unknown type (P, plane, planar, foliation or "
            "bedding for a plane; L, line, linear or lineation for a line)");
  EXPECT_EQ(r.data.kind, Kind::lines);
  ASSERT_EQ(r.more_data.size(), 1u);
  const DataSet& planes = r.more_data[0];
  EXPECT_EQ(planes.kind, Kind::planes);
  EXPECT_EQ(planes.name, "f.csv");
  EXPECT_EQ(r.data.notation, "trd/strk,plg/dip,type");
  EXPECT_EQ(planes.notation, "trd/strk,plg/dip,type (right-hand rule and dip quadrant letters)");
  ASSERT_EQ(r.data.lines.size(), 2u);
  EXPECT_EQ(r.data.lines[1].trend, 300);
  ASSERT_EQ(planes.planes.size(), 2u);
  EXPECT_EQ(planes.planes[0].dip_direction, 120);  // strike 030 by the right-hand rule
  EXPECT_EQ(planes.planes[1].dip_direction, 300);  // the letters choose the side
  // The type and the station are kept as text with each measurement.
  EXPECT_EQ(planes.attribute_names, (std::vector<std::string>{"Type", "Station"}));
  EXPECT_EQ(planes.attribute_values, (std::vector<std::string>{"P", "T1", "Bedding", "T2"}));
  EXPECT_EQ(r.data.attribute(1, 1), "T2");
}

TEST(FieldFiles, AStrikeBesideADipDirectionMustAgreeWithIt) {
  // Strikes written 0-180 are either end of the strike line: the dip
  // direction gives the side.
  const ReadResult r = read(
      "Strike,Dip,Dip Direction\n"
      "030,60,300\n"
      "028,62,118\n"
      "170,75,255\n"
      "030,60,330\n");
  ASSERT_EQ(r.fatal, "");
  EXPECT_EQ(r.data.notation, "dipdir,dip,strike");
  ASSERT_EQ(r.data.planes.size(), 3u);
  EXPECT_EQ(r.data.planes[0].dip_direction, 300);
  EXPECT_EQ(r.data.planes[1].dip_direction, 118);
  EXPECT_EQ(r.data.planes[2].dip_direction, 255);
  EXPECT_EQ(first_problem(r),
            "f.csv:5:1: '030': strike 30 is not at right angles to dip "
            "direction 330 (within 10 degrees)");
}

TEST(FieldFiles, PitchesRakesAndSensesOfSlips) {
  // Plane 090/45: its right-hand-rule strike points north (000). A pitch
  // from the north end goes down the dip as rake -pitch, from the south end
  // as rake pitch - 180; the sense then picks the end the hanging wall moved
  // toward: N down the dip, R up, S with the strike (|rake| < 90), D against.
  const struct {
    std::string angle_column, angle, sense;
    double rake;
    bool known;
  } cases[] = {
      {"pitch", "30N", "N", -30, true},
      {"pitch", "30S", "normal", -150, true},
      {"pitch", "30NE", "R", 150, true},
      {"pitch", "30N", "thrust", 150, true},
      {"pitch", "30N", "U", -30, false},
      {"pitch", "30N", "", -30, false},
      {"pitch", "30N", "Dextral", 150, true},
      {"pitch", "30S", "left-lateral", 30, true},
      {"rake", "35S", "I", 35, true},
      {"rake", "-30", "", -30, true},
      {"rake", "-30", "n", -30, true},
      {"rake", "-30", "unknown", -30, false},
      {"rake", "170", "right-lateral", 170, true},
  };
  for (const auto& c : cases) {
    const std::string text =
        "dipdir,dip," + c.angle_column + ",sense\n090,45," + c.angle + "," + c.sense + "\n";
    const ReadResult r = read(text);
    ASSERT_EQ(first_problem(r), "") << text;
    ASSERT_EQ(r.data.slips.size(), 1u) << text;
    EXPECT_NEAR(r.data.slips[0].rake, c.rake, 1e-9) << text;
    EXPECT_EQ(r.data.slips[0].sense_known, c.known) << text;
    EXPECT_EQ(r.data.has_polarity(), c.known) << text;
  }
  // A slip line by trend and plunge: the sense picks its end.
  const ReadResult line = read("dipdir,dip,trend,plunge,movement\n090,45,090,45,R\n");
  ASSERT_EQ(line.data.slips.size(), 1u);
  EXPECT_NEAR(line.data.slips[0].rake, 90, 1e-9);
  EXPECT_TRUE(line.data.slips[0].sense_known);
  EXPECT_LT(line.data.directions()[0][2], -0.7);  // a reverse slip's vector points up
}

TEST(FieldFiles, RefusedSenseAndPitchValues) {
  const struct {
    std::string columns, values, problem;
  } cases[] = {
      {"rake,sense", "-30,1", "f.csv:2:12: '1': a number as a sense"},
      {"rake,sense", "-30,+", "f.csv:2:12: '+': unknown sense"},
      {"rake,sense", "-30,R", "f.csv:2:12: 'R': the sense contradicts the signed rake -30"},
      {"rake,sense", "170,S", "f.csv:2:12: 'S': the sense contradicts the signed rake 170"},
      {"pitch,sense", "30,N", "f.csv:2:8: '30': a pitch needs the quadrant letters"},
      {"pitch,sense", "30E,N", "f.csv:2:8: '30E': the quadrant letters are at right angles"},
      {"pitch,sense", "95N,N", "f.csv:2:8: '95N': a pitch with quadrant letters must lie in"},
      {"pitch,sense", "0N,N", "f.csv:2:11: 'N': a normal or reverse sense chooses no end"},
      {"pitch,sense", "90N,D", "f.csv:2:12: 'D': a dextral or sinistral sense chooses no end"},
  };
  for (const auto& c : cases) {
    const std::string text = "dipdir,dip," + c.columns + "\n090,45," + c.values + "\n";
    const ReadResult r = read(text);
    EXPECT_TRUE(first_problem(r).starts_with(c.problem)) << text << "\n" << first_problem(r);
    EXPECT_EQ(r.data.size(), 0u) << text;
  }
}

TEST(FieldFiles, RunsOfTabsAndBlanksSeparateWhenTheFieldsThenMatch) {
  const ReadResult r = read(
      "Dip Direction\tDip\tlabel\n"
      "120\t30\tFault A\n"  // blanks inside a field stay
      "130 \t\t 35\tB\n"    // a run of tabs and blanks
      "140   40   C\n"      // blanks alone
      "150\t45\t\n");       // an empty last field
  ASSERT_EQ(first_problem(r), "");
  EXPECT_EQ(r.data.labels, (std::vector<std::string>{"Fault A", "B", "C", ""}));
  EXPECT_EQ(r.data.planes[1].dip, 35);
}

TEST(FieldFiles, AnUnusedOrientationColumnIsOneWarningAndKeptAsText) {
  const ReadResult r = read("dipdir,dip,Dip Quadrant,note\n120,30,SE,x\n");
  ASSERT_EQ(first_problem(r), "");
  EXPECT_EQ(r.warnings, (std::vector<std::string>{
                            "f.csv:1:12: column 'Dip Quadrant' looks like an orientation but is "
                            "not read (kept as text)"}));
  EXPECT_EQ(r.data.attribute_names, (std::vector<std::string>{"Dip Quadrant", "note"}));
  EXPECT_EQ(r.data.attribute_values, (std::vector<std::string>{"SE", "x"}));
}

TEST(FieldFiles, ShippedExamplesOfAppExports) {
  const auto example = [](const std::string& name) {
    std::ifstream in(std::string(POLARSKETCH_SOURCE_DIR) + "/examples/" + name, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return read_measurements(text.str(), name, {});
  };
  const auto near = [](const Line& a, const Line& b, double degrees) {
    const Vector3 u = to_vector(a), v = to_vector(b);
    return std::abs(u[0] * v[0] + u[1] * v[1] + u[2] * v[2]) >
           std::cos(degrees * std::numbers::pi / 180);
  };
  const ReadResult mixed = example("field_app_mixed.txt");
  ASSERT_TRUE(mixed.ok() && mixed.more_data.size() == 1) << first_problem(mixed);
  EXPECT_EQ(mixed.data.planes.size(), 8u);
  EXPECT_EQ(mixed.more_data[0].lines.size(), 4u);
  for (const Line& l : mixed.more_data[0].lines) EXPECT_TRUE(near(l, Line{120, 8}, 15));
  const ReadResult dips = example("dip_azimuth_export.csv");
  ASSERT_TRUE(dips.ok() && dips.warnings.empty());
  EXPECT_EQ(dips.data.planes.size(), 8u);
  for (const Plane& p : dips.data.planes) EXPECT_TRUE(near(pole_of(p), Line{121, 46}, 15));
  const ReadResult lines = example("plunge_azimuth_export.csv");
  ASSERT_TRUE(lines.ok());
  EXPECT_EQ(lines.data.lines.size(), 6u);
  for (const Line& l : lines.data.lines) EXPECT_TRUE(near(l, Line{234, 29}, 10));
  const ReadResult sheet = example("strike_dip_direction.csv");
  ASSERT_TRUE(sheet.ok());
  EXPECT_EQ(sheet.data.planes.size(), 6u);
  const ReadResult faults = example("fault_notebook.csv");
  ASSERT_TRUE(faults.ok()) << first_problem(faults);
  EXPECT_TRUE(faults.data.has_polarity());
}

}  // namespace
}  // namespace polarsketch::data
