// The four projections as tables of vectors, the projection menu and the
// family settings, and the dispatcher's error path.
#include "stereonet/projections.hpp"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <string>
#include <vector>

#include "math/angles.hpp"
#include "support/test_support.hpp"

namespace polarsketch::stereonet {
namespace {

using math::rad;

class ProjectionsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    math::set_angle_constants();
    reset_projection_records();
    // The start-up state, set without the console.
    wulfparams.clatmax = rad(180.0f);
    schmidtparams.clatmax = rad(180.0f);
    schmidtparams.r2 = kSchmidtScale;
  }
  void use(std::int32_t iproj) { sprojtype.iproj = iproj; }
};

struct Vector {
  std::int32_t iproj;
  float trend_deg, plunge_deg;
  float x, y;
};

// Within 2e-6 (a few float ulps at radius 1); the Schmidt horizontal itself
// is 0.99999994, not exactly 1.
TEST_F(ProjectionsTest, TableOfVectorsForAllFourProjections) {
  const Vector table[] = {
      // Wulff, direct axes.
      {1, 0, 0, 1.0f, 0.0f},
      {1, 90, 0, 0.0f, 1.0f},
      {1, 0, 30, 0.577350f, 0.0f},
      {1, 45, 45, 0.292893f, 0.292893f},
      {1, 180, 0, -1.0f, 0.0f},
      {1, 123, 90, 0.0f, 0.0f},
      // Wulff, retrograde axes.
      {2, 0, 0, 0.0f, 1.0f},
      {2, 90, 0, 1.0f, 0.0f},
      {2, 90, 30, 0.577350f, 0.0f},
      {2, 45, 45, 0.292893f, 0.292893f},
      {2, 30, 0, 0.5f, 0.866025f},
      // Schmidt, direct axes.
      {3, 0, 0, 1.0f, 0.0f},
      {3, 90, 0, 0.0f, 1.0f},
      {3, 0, 30, 0.707107f, 0.0f},
      {3, 45, 45, 0.382683f, 0.382683f},
      {3, 30, 0, 0.866025f, 0.5f},
      // Schmidt, retrograde axes.
      {4, 0, 0, 0.0f, 1.0f},
      {4, 90, 0, 1.0f, 0.0f},
      {4, 0, 30, 0.0f, 0.707107f},
      {4, 45, 45, 0.382683f, 0.382683f},
      {4, 270, 90, 0.0f, 0.0f},
  };
  for (const auto& v : table) {
    use(v.iproj);
    const float az = rad(v.trend_deg);
    const float pl = rad(v.plunge_deg);
    float x = 99.0f, y = 99.0f;
    spron(&x, &y, &az, &pl, 1);
    EXPECT_NEAR(x, v.x, 2e-6f) << v.iproj << ' ' << v.trend_deg << ' ' << v.plunge_deg;
    EXPECT_NEAR(y, v.y, 2e-6f) << v.iproj << ' ' << v.trend_deg << ' ' << v.plunge_deg;
  }
  float untouched = 5.0f;
  const float az = 0.0f;
  spron(&untouched, &untouched, &az, &az, 0);  // np = 0 projects nothing
  EXPECT_EQ(untouched, 5.0f);
}

TEST_F(ProjectionsTest, SchmidtHorizontalIsOneUlpInsideTheCircle) {
  use(4);
  const float az = 0.0f, pl = 0.0f;
  float x, y;
  spron(&x, &y, &az, &pl, 1);
  EXPECT_EQ(x, 0.0f);         // exact
  EXPECT_EQ(y, 0.99999994f);  // exact: sin(pi/4) * r2 in float
  EXPECT_EQ(std::bit_cast<std::uint32_t>(schmidtparams.r2), 0x3FB504F3u);
}

TEST_F(ProjectionsTest, DirectionsAboveTheHorizontalFallOutsideTheCircle) {
  const float az = 0.0f;
  float x, y;
  // Schmidt: plunge -90 (colatitude pi) reaches r2.
  use(3);
  float pl = rad(-90.0f);
  spron(&x, &y, &az, &pl, 1);
  EXPECT_NEAR(x, 1.41421354f, 2e-6f);
  // Wulff: plunge -30 gives tan(60 degrees).
  use(1);
  pl = rad(-30.0f);
  spron(&x, &y, &az, &pl, 1);
  EXPECT_NEAR(x, 1.7320508f, 4e-6f);
  // Wulff straight up: finite, large and on the azimuth's side of the net.
  pl = rad(-90.0f);
  spron(&x, &y, &az, &pl, 1);
  EXPECT_TRUE(std::isfinite(x));
  EXPECT_GT(x, 1.0e6f);
  EXPECT_NEAR(y, 0.0f, 1e-6f);
  // Beyond straight up the colatitude is clamped to clatmax (pi).
  const float x_up = x;
  pl = rad(-120.0f);
  spron(&x, &y, &az, &pl, 1);
  EXPECT_EQ(x, x_up);
}

TEST_F(ProjectionsTest, WulffRadiusIsTheFloatTangentBelowColatitudePi) {
  // Every point short of colatitude pi is bit-identical to tan(0.5 * w).
  for (float deg = -89.0f; deg <= 90.0f; deg += 7.0f) {
    const float az = 0.0f, pl = rad(deg);
    float x, y;
    wulfn(&x, &y, &az, &pl, 1);
    const float w = math::anglerad.pi1o2 - pl;
    EXPECT_EQ(x, std::cos(0.0f) * std::tan(0.5f * w)) << deg;
  }
}

// Expected menu header frame for a routine name.
std::vector<std::string> header(const std::string& name) {
  std::string padded = name;
  padded.resize(11, ' ');
  return {" " + std::string(43, '@'), " @ subroutine " + padded, " @" + std::string(42, '=')};
}

std::vector<std::string> projection_menu(std::int32_t current) {
  auto lines = header("sspro");
  const std::string rule = " " + std::string(43, '-');
  const std::vector<std::string> body = {
      " STEREOGRAPHIC PROJECTION SET UP",
      " (azimuth,plunge) ---> (x,y) in plane",
      rule,
      "           &&&&&&&&&&&&&             ",
      "            &&&&&&&&&&&              ",
      "              &&&&&#&                ",
      "                &&& .                ",
      "                     .               ",
      "      /***************.*************/",
      "     /                 .           / ",
      "    /                  |          /  ",
      "   /                   V         /   ",
      "  /                    #        /    ",
      " /*****************************/     ",
      rule,
      " current projection number =    " + std::to_string(current),
      rule,
      " Projection                   command",
      " Wulff = conformal = Inversion",
      "    direct     X,Y axis ............1",
      "    retrograde X,Y axis ............2",
      " Schmidt = Lambert Azimuthal equal area",
      "    direct     X,Y axis ............3",
      "    retrograde X,Y axis ............4",
      " " + std::string(43, '@'),
  };
  lines.insert(lines.end(), body.begin(), body.end());
  return lines;
}

std::vector<std::string> family_start(const std::string& routine) {
  auto lines = header(routine);
  if (routine == "swulf") {
    lines.push_back(" INITIALIZING WULFF PROJECTION");
    lines.push_back(" Inversion or stereographic conformal");
  } else {
    lines.push_back(" INITIALIZING SCHMIDT PROJECTION");
    lines.push_back(" Azimuthal Equal Area (Lambert,1772)");
  }
  return lines;
}

std::vector<std::string> slice(const std::vector<std::string>& v, std::size_t from, std::size_t n) {
  if (from > v.size()) return {};
  return {v.begin() + static_cast<std::ptrdiff_t>(from),
          v.begin() + static_cast<std::ptrdiff_t>(std::min(v.size(), from + n))};
}

TEST_F(ProjectionsTest, StartUpResetIsSchmidtRetrograde) {
  reset_projection_records();
  testing::ConsoleCapture cap;
  std::int32_t i1 = 0;
  sspro(i1, 5);
  EXPECT_EQ(i1, 4);
  EXPECT_EQ(sprojtype.iproj, 4);
  EXPECT_EQ(schmidtparams.clatmax, math::anglerad.pi1o1);  // exact
  EXPECT_EQ(schmidtparams.r2, kSchmidtScale);
  EXPECT_EQ(wulfparams.clatmax, 0.0f);  // set on the first Wulff choice
  auto expected = header("sspro");
  expected.push_back(" INITIALIZING STEREOGRAPHIC PROJECTION");
  expected.push_back(" projection number =    4");
  expected.push_back(" projection = Schmidt, retrograde X,Y axis");
  const auto fam = family_start("sschmidt");
  expected.insert(expected.end(), fam.begin(), fam.end());
  EXPECT_EQ(cap.lines(), expected);
}

// Choosing each projection from the menu (flag 2, as the main menu does).
TEST_F(ProjectionsTest, MenuChoosesEachProjection) {
  for (std::int32_t choice = 1; choice <= 4; ++choice) {
    use(choice == 1 ? 4 : choice - 1);
    wulfparams.clatmax = 0.0f;
    const std::int32_t before = sprojtype.iproj;
    testing::ConsoleCapture cap(std::to_string(choice) + "\n");
    std::int32_t iproja = -7;
    sspro(iproja, 2);
    EXPECT_EQ(iproja, choice);
    EXPECT_EQ(sprojtype.iproj, choice);
    const auto lines = cap.lines();
    const auto menu = projection_menu(before);
    EXPECT_EQ(slice(lines, 0, menu.size()), menu) << choice;
    const auto fam = family_start(choice <= 2 ? "swulf" : "sschmidt");
    ASSERT_GE(lines.size(), fam.size());
    EXPECT_EQ(slice(lines, lines.size() - fam.size(), fam.size()), fam) << choice;
    if (choice <= 2) {
      EXPECT_EQ(wulfparams.clatmax, math::anglerad.pi1o1);  // exact
    }
  }
}

TEST_F(ProjectionsTest, EmptyAnswerKeepsTheCurrentProjection) {
  use(2);
  testing::ConsoleCapture cap("\n");
  std::int32_t iproja = 0;
  sspro(iproja, 2);
  EXPECT_EQ(sprojtype.iproj, 2);
  EXPECT_EQ(iproja, 2);
}

TEST_F(ProjectionsTest, SilentFlagsSetWhatIsPassedOrKeepTheCurrent) {
  testing::ConsoleCapture cap;
  std::int32_t iproja = 1;
  sspro(iproja, 1);
  EXPECT_EQ(sprojtype.iproj, 1);
  std::int32_t got = 0;
  sspro(got, 3);
  EXPECT_EQ(got, 1);
  EXPECT_EQ(sprojtype.iproj, 1);
  // Only the family start lines, twice.
  const auto fam = family_start("swulf");
  std::vector<std::string> expected = fam;
  expected.insert(expected.end(), fam.begin(), fam.end());
  EXPECT_EQ(cap.lines(), expected);
}

TEST_F(ProjectionsTest, UnknownNumberIsReportedThenTheMenuIsShown) {
  // Pause of the error frame, then the menu answer.
  testing::ConsoleCapture cap("\n3\n");
  std::int32_t iproja = 7;
  sspro(iproja, 1);
  EXPECT_EQ(sprojtype.iproj, 3);
  EXPECT_EQ(iproja, 3);
  const auto lines = cap.lines();
  ASSERT_GE(lines.size(), 14u);
  EXPECT_EQ(lines[3], " ***        subroutine sspro             ***");
  EXPECT_EQ(lines[9], " iproj =     7");
  EXPECT_EQ(lines[10], " NO SUCH PROJECTION AVALAIBLE");
  EXPECT_EQ(lines[11], " ===> HIT RETURN TO CONTINUE");
  EXPECT_EQ(lines[12], " " + std::string(43, '*'));
  const auto menu = projection_menu(7);
  EXPECT_EQ(slice(lines, 13, menu.size()), menu);
}

TEST_F(ProjectionsTest, DispatcherRepairsAnUnknownProjectionBeforeProjecting) {
  use(0);
  testing::ConsoleCapture cap("\n\n");  // pause, then the default 4
  const float az = 0.0f, pl = 0.0f;
  float x = 9.0f, y = 9.0f;
  spron(&x, &y, &az, &pl, 1);
  EXPECT_EQ(sprojtype.iproj, 4);
  EXPECT_NEAR(x, 0.0f, 2e-6f);
  EXPECT_NEAR(y, 1.0f, 2e-6f);
  const auto lines = cap.lines();
  ASSERT_GE(lines.size(), 13u);
  EXPECT_EQ(lines[3], " ***        subroutine spron             ***");
  EXPECT_EQ(lines[9], " iproj =      0");
  EXPECT_EQ(lines[10], " NO SUCH PROJECTION AVALAIBLE");
  EXPECT_EQ(slice(lines, 13, projection_menu(4).size()), projection_menu(4));
}

TEST_F(ProjectionsTest, FamilySettingsDialogFlags) {
  testing::ConsoleCapture cap;
  float clma = 90.0f;
  swulf(clma, 2);  // display only, keeps the value passed
  EXPECT_EQ(clma, 90.0f);
  EXPECT_EQ(wulfparams.clatmax, rad(90.0f));
  auto expected = header("swulf");
  expected.push_back(" WULFF PROJECTION");
  expected.push_back(" Inversion or stereographic conformal");
  expected.push_back(" " + std::string(43, '@'));
  EXPECT_EQ(cap.lines(), expected);

  cap.take();
  schmidtparams.r2 = 0.0f;
  sschmidt(clma, 4);  // start lines, default 180, then the display
  EXPECT_EQ(clma, 180.0f);
  EXPECT_EQ(schmidtparams.clatmax, math::anglerad.pi1o1);
  EXPECT_EQ(schmidtparams.r2, kSchmidtScale);
  expected = family_start("sschmidt");
  const auto disp = header("sschmidt");
  expected.insert(expected.end(), disp.begin(), disp.end());
  expected.push_back(" SCHMIDT PROJECTION");
  expected.push_back(" Azimuthal Equal Area (Lambert,1772)");
  expected.push_back(" " + std::string(43, '@'));
  EXPECT_EQ(cap.lines(), expected);
}

}  // namespace
}  // namespace polarsketch::stereonet
