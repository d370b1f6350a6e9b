// Reading measurement files: kinds and notations, headers and --columns,
// the error report, hostile input, and the shipped example files.
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

using namespace std::string_literals;

ReadResult read(std::string_view text, ReadOptions options = {}) {
  return read_measurements(text, "f.csv", options);
}

ReadOptions columns(std::vector<std::string> names) {
  ReadOptions o;
  o.columns = std::move(names);
  return o;
}

double axis_cosine(const Line& a, const Line& b) {
  const Vector3 u = to_vector(a);
  const Vector3 v = to_vector(b);
  return std::abs(u[0] * v[0] + u[1] * v[1] + u[2] * v[2]);
}

std::vector<std::string> messages(const ReadResult& r) {
  std::vector<std::string> out;
  for (const DataError& e : r.errors) out.push_back(e.message());
  return out;
}

TEST(Reader, EachKindAndNotation) {
  const struct {
    std::string text;
    Kind kind;
    std::string notation;
    double a, b;  // planes: dip direction, dip; lines and slips: trend, plunge of the line
  } cases[] = {
      {"dipdir,dip\n120,30\n", Kind::planes, "dipdir,dip", 120, 30},
      {"Strike;Dip\n030;45\n", Kind::planes, "strike,dip (right-hand rule)", 120, 45},
      {"strike dip\nN30E 45NW\n", Kind::planes, "strike,dip (dip quadrant letters)", 300, 45},
      {"strike,dip\n030,45NW", Kind::planes, "strike,dip (dip quadrant letters)", 300, 45},
      {"strike,dip\nS30W,45\n", Kind::planes, "strike,dip (right-hand rule)", 300, 45},
      {"DD\tDIP\n300\t45SW\n", Kind::planes, "dipdir,dip", 300, 45},
      {"dip_direction dip\n-60 10\n", Kind::planes, "dipdir,dip", 300, 10},
      {"dipdir,dip,2019\n300,10,1\n", Kind::planes, "dipdir,dip", 300, 10},
      {"\"dip\",\"dipdirection\"\n\"12\",\"N\"\n", Kind::planes, "dipdir,dip", 0, 12},
      {"trend,plunge\nN10E,20S\n", Kind::lines, "trend,plunge", 190, 20},
      {"azimuth plunge\n10 -20\n", Kind::lines, "trend,plunge", 190, 20},
      {"dipdir,dip,rake\n090,45,-90\n", Kind::slips, "dipdir,dip,rake", 90, 45},
      {"strike,dip,rake\n000,45,0\n", Kind::slips, "strike,dip,rake (right-hand rule)", 0, 0},
      {"dipdir,dip,trend,plunge\n90,45,90,44.5\n", Kind::slips, "dipdir,dip,trend,plunge", 90, 45},
  };
  for (const auto& c : cases) {
    const ReadResult r = read(c.text);
    ASSERT_TRUE(r.ok()) << c.text << r.fatal << (r.errors.empty() ? "" : r.errors[0].message());
    EXPECT_EQ(r.data.kind, c.kind) << c.text;
    EXPECT_EQ(r.data.notation, c.notation) << c.text;
    ASSERT_EQ(r.data.size(), 1u) << c.text;
    if (c.kind == Kind::planes) {
      EXPECT_NEAR(r.data.planes[0].dip_direction, c.a, 1e-12) << c.text;
      EXPECT_NEAR(r.data.planes[0].dip, c.b, 1e-12) << c.text;
    } else {
      const Line got = c.kind == Kind::lines ? r.data.lines[0] : r.data.slips[0].line;
      EXPECT_NEAR(axis_cosine(got, Line{c.a, c.b}), 1.0, 1e-12) << c.text;
    }
  }
}

TEST(Reader, StrikesTakeTheRightHandRuleUnlessDipLettersChoose) {
  const ReadResult r = read("strike,dip\n030,45\n030,45NW\n210,45\n");
  EXPECT_EQ(r.data.notation, "strike,dip (right-hand rule and dip quadrant letters)");
  ASSERT_EQ(r.data.size(), 3u);
  EXPECT_EQ(r.data.planes[0].dip_direction, 120);
  EXPECT_EQ(r.data.planes[1].dip_direction, 300);
  EXPECT_EQ(r.data.planes[2].dip_direction, 300);
  // A skipped line's letters do not count.
  ReadOptions skip;
  skip.skip_bad = true;
  EXPECT_EQ(read("strike,dip,rake\n030,45,10\n030,45NW,500\n", skip).data.notation,
            "strike,dip,rake (right-hand rule)");
}

TEST(Reader, SlipByRakeAndSlipByLineAgree) {
  // The same three slips, once by strike, dip and rake, once by dip direction,
  // dip and the slip line worked out by hand.
  const ReadResult by_rake = read("strike,dip,rake,label\n0,45,-90,a\n0,90,-30,b\n90,30,0,c\n");
  const ReadResult by_line =
      read("dipdir,dip,trend,plunge,label\n90,45,90,45,a\n90,90,0,30,b\n180,30,90,0,c\n");
  ASSERT_TRUE(by_rake.ok() && by_line.ok());
  ASSERT_EQ(by_rake.data.size(), 3u);
  ASSERT_EQ(by_line.data.size(), 3u);
  for (std::size_t i = 0; i < 3; ++i) {
    const Slip& r = by_rake.data.slips[i];
    const Slip& l = by_line.data.slips[i];
    EXPECT_NEAR(r.plane.dip_direction, l.plane.dip_direction, 1e-12) << i;
    EXPECT_NEAR(axis_cosine(r.line, l.line), 1.0, 1e-12) << i;
    EXPECT_NEAR(std::cos((r.rake - l.rake) * std::numbers::pi / 180), 1.0, 1e-12) << i;
  }
  EXPECT_EQ(by_line.data.labels, (std::vector<std::string>{"a", "b", "c"}));
}

TEST(Reader, FileFaults) {
  const std::string no_header =
      "f.csv: no header line naming the columns; add one (e.g. dipdir,dip) or give --columns "
      "dipdir,dip";
  const struct {
    std::string text;
    std::vector<std::string> columns;
    std::string fatal;
  } cases[] = {
      {"120,30\n", {}, no_header},
      {"", {}, no_header},
      {"# only a comment\n\n", {}, no_header},
      // A strike beside a dip direction is read now; two names of one meaning are not.
      {"dd,Dip Direction,dip\n", {}, "f.csv:1: header: column 'dipdir' named twice ('dd' and 'Dip Direction')"},
      {"# title\nSite four bedding\n1,2\n", {}, "f.csv:2: the first line names no known column"},
      {"dip,label\n", {}, "f.csv:1: header: a dip column needs a dip direction"},
      {"strike\n", {}, "f.csv:1: header: a dip direction or strike column needs a dip column"},
      {"trend,notes\n", {}, "f.csv:1: header: trend and plunge columns go together"},
      {"rake,trend,plunge\n", {}, "f.csv:1: header: a rake column needs a plane"},
      {"rake,dip,dd,trend,plunge\n", {}, "f.csv:1: header: both a rake and a slip line"},
      {"dip,Dip,dd\n", {}, "f.csv:1: header: column 'dip' named twice"},
      {"label\nx\n", {}, "f.csv:1: header: no measurement columns"},
      {"1,2\n", {"dipdr", "dip"}, "f.csv: --columns: unknown column 'dipdr' (known: dipdir,"},
      {"1,2\n", {"dipdir,strike"}, "f.csv: --columns: a dip direction or strike column needs a dip"},
      {"strike,dip\n1,2\n",
       {"dipdir", "dip"},
       "f.csv:1: column 1 is 'strike' in the header but 'dipdir' in --columns"},
  };
  for (const auto& c : cases) {
    const ReadResult r = read(c.text, columns(c.columns));
    EXPECT_FALSE(r.ok()) << c.text;
    EXPECT_TRUE(r.fatal.starts_with(c.fatal)) << c.text << "\n" << r.fatal;
    EXPECT_EQ(r.data.size(), 0u);
  }
}

TEST(Reader, ColumnsNameAHeaderlessFileOrReplaceAnUnknownHeader) {
  const struct {
    std::string text;
    std::vector<std::string> columns;
  } cases[] = {
      {"120 30\n", {"dipdir", "dip"}},
      {"120,30,x\n", {"dipdir,dip,-"}},
      {"dipdir,dip\n120,30\n", {"DipDir", "dip"}},
      {"azi,inc\n120,30\n", {"dipdir", "dip"}},
  };
  for (const auto& c : cases) {
    const ReadResult r = read(c.text, columns(c.columns));
    ASSERT_TRUE(r.ok()) << c.text << r.fatal;
    ASSERT_EQ(r.data.planes.size(), 1u) << c.text;
    EXPECT_EQ(r.data.planes[0].dip_direction, 120) << c.text;
  }
}

TEST(Reader, ErrorsNameLineColumnTextAndReason) {
  const std::string text =
      "dipdir, dip, label\n"
      "# comment\n"
      "120, 30, a\n"
      "400x, 30, b\n"
      "120, 95, c\n"
      "120, 30\n"
      "120, 30, d, e\n"
      "120,, f\n"
      "315, 30NW, g # letters agree\n"
      "120, 30NW, h\n"
      "135, 30NE, i\n";
  const ReadResult r = read(text);
  EXPECT_FALSE(r.ok());
  EXPECT_EQ(r.error_count, 7u);
  EXPECT_EQ(r.data.size(), 2u);
  EXPECT_EQ(r.data.labels, (std::vector<std::string>{"a", "g"}));
  const std::vector<std::string> want = {
      "f.csv:4:1: '400x': not an azimuth (a number such as 030 or a quadrant bearing such as "
      "N30E)",
      "f.csv:5:6: '95': dip must lie in [0, 90]",
      "f.csv:6:1: '120, 30': 2 fields where the header names 3",
      "f.csv:7:13: 'e': 4 fields where the header names 3",
      "f.csv:8:5: '': empty field where a value is needed",
      "f.csv:10:6: '30NW': the dip's quadrant letters point away from the dip direction",
      "f.csv:11:6: '30NE': the dip's quadrant letters are at right angles to the dip direction",
  };
  EXPECT_EQ(messages(r), want);

  const ReadResult off = read("dipdir,dip,trend,plunge\n090,45,000,30\ndipdir,dip,trend,plunge\n");
  EXPECT_EQ(messages(off),
            (std::vector<std::string>{
                "f.csv:2:8: '000': slip line 0/30 lies 20.7 degrees off its plane 90/45 (at most "
                "1 allowed)",
                "f.csv:3:1: 'dipdir': not an azimuth (a number such as 030 or a quadrant bearing "
                "such as N30E)"}));
  const ReadResult counted = read("10 20 30\n", columns({"trend", "plunge"}));
  EXPECT_EQ(messages(counted),
            (std::vector<std::string>{"f.csv:1:7: '30': 3 fields where --columns names 2"}));
  const ReadResult strike = read("strike,dip\nN45W,30NW\n");
  EXPECT_EQ(messages(strike),
            (std::vector<std::string>{"f.csv:2:6: '30NW': the dip's quadrant letters are at right "
                                      "angles to the strike: they choose neither side"}));
}

TEST(Reader, KeepsTwentyErrorsCountsAllAndSkipsOnRequest) {
  std::string text = "trend,plunge\n";
  for (int i = 0; i < 30; ++i) text += i % 6 == 0 ? "10,20\n" : "10,x\n";
  const ReadResult strict = read(text);
  EXPECT_FALSE(strict.ok());
  EXPECT_EQ(strict.errors.size(), 20u);
  EXPECT_EQ(strict.error_count, 25u);
  EXPECT_EQ(strict.skipped, 0u);
  EXPECT_EQ(strict.errors[19].line, 25u);

  ReadOptions skip;
  skip.skip_bad = true;
  const ReadResult skipped = read(text, skip);
  EXPECT_TRUE(skipped.ok());
  EXPECT_EQ(skipped.skipped, 25u);
  EXPECT_EQ(skipped.data.size(), 5u);
}

TEST(Reader, QuotedFieldsMayHoldSeparatorsQuotesAndHashes) {
  const ReadResult r = read(
      "\"trend\";\"plunge\";\"label\"\n"
      "10;20;\"quarry; north bench\" # comment\n"
      "10;20; \"F\"\"3\"\" #2\"\n"
      "10;20;\"open\n");
  EXPECT_TRUE(r.ok());
  EXPECT_EQ(r.data.labels,
            (std::vector<std::string>{"quarry; north bench", "F\"3\" #2", "\"open"}));
  const ReadResult blanks = read("trend plunge label\n10 20 \"Fault A\"\n");
  EXPECT_EQ(blanks.data.labels, (std::vector<std::string>{"Fault A"}));
}

TEST(Reader, LineEndsByteOrderMarkAndHostileBytes) {
  // CRLF, a lone CR (old spreadsheet exports), blank lines and no final newline.
  const ReadResult ends = read(
      "\xEF\xBB\xBF"
      "dipdir,dip\r\n10,20\r30,40\r\n\r\n , ,\n50,x");
  EXPECT_EQ(ends.data.size(), 2u);
  EXPECT_EQ(messages(ends),
            (std::vector<std::string>{"f.csv:6:4: 'x': not a dip (a number such as 45, or with its "
                                      "quadrant as in 45NW)"}));

  const std::string long_field(100000, '7');
  const std::string text =
      "trend,plunge,label\n"
      "1\0"
      "0,20,a\n"s
      "10,20,tab\x01"
      "bell\n"
      "10," +
      long_field + ",b\n" + "10,20,\xC3\xA9t\xC3\xA9\n";
  const ReadResult r = read(text);
  EXPECT_EQ(r.data.labels, (std::vector<std::string>{"\xC3\xA9t\xC3\xA9"}));
  ASSERT_EQ(r.errors.size(), 3u);
  EXPECT_EQ(r.errors[0].message(),
            "f.csv:2:1: '1\\x000': not an azimuth (a number such as 030 or a quadrant bearing "
            "such as N30E)");
  EXPECT_EQ(r.errors[1].message(), "f.csv:3:7: 'tab\\x01bell': control character in a label");
  EXPECT_EQ(r.errors[2].text, std::string(80, '7') + "...");
  EXPECT_EQ(r.errors[2].reason, "number out of range");
}

std::string example(const std::string& name) {
  std::ifstream in(std::string(POLARSKETCH_SOURCE_DIR) + "/examples/" + name, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

TEST(Reader, ShippedExamples) {
  // Bedding of a cylindrical fold: every pole lies near the girdle normal to
  // the fold axis (a misread strike would scatter them).
  const ReadResult fold = read(example("fold_bedding.csv"));
  ASSERT_TRUE(fold.ok()) << fold.fatal;
  EXPECT_EQ(fold.data.size(), 40u);
  EXPECT_EQ(fold.data.notation, "strike,dip (right-hand rule)");
  for (const Plane& p : fold.data.planes) {
    EXPECT_LT(axis_cosine(pole_of(p), Line{60, 15}), std::sin(10 * std::numbers::pi / 180))
        << p.dip_direction << "/" << p.dip;
  }
  const ReadResult lineations = read(example("lineations.csv"));
  ASSERT_TRUE(lineations.ok());
  EXPECT_EQ(lineations.data.size(), 25u);
  for (const Line& l : lineations.data.lines) {
    EXPECT_GT(axis_cosine(l, Line{235, 28}), std::cos(20 * std::numbers::pi / 180));
  }
  const ReadResult faults = read(example("faults.csv"));
  ASSERT_TRUE(faults.ok());
  EXPECT_EQ(faults.data.kind, Kind::slips);
  EXPECT_EQ(faults.data.size(), 8u);
  EXPECT_EQ(faults.data.labels[0], "F1 east wall");
}

}  // namespace
}  // namespace polarsketch::data
