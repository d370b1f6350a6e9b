// The written forms of one angle: each accepted form with its value, each
// rejected one with its reason.
#include "data/notation.hpp"

#include <gtest/gtest.h>

#include <string>
#include <string_view>

namespace polarsketch::data::notation {
namespace {

using ReadFn = Reading (*)(std::string_view);

struct Accepted {
  ReadFn read;
  std::string_view text;
  double value;
  double toward;  // -1: no quadrant letters
};

TEST(Notation, AcceptedForms) {
  const Accepted cases[] = {
      {read_azimuth, "030", 30, -1},   {read_azimuth, "30.5", 30.5, -1},
      {read_azimuth, "-10", 350, -1},  {read_azimuth, "+10", 10, -1},
      {read_azimuth, "360", 0, -1},    {read_azimuth, "725", 5, -1},
      {read_azimuth, ".5", 0.5, -1},   {read_azimuth, "N30E", 30, -1},
      {read_azimuth, "S45W", 225, -1}, {read_azimuth, "S45E", 135, -1},
      {read_azimuth, "n30w", 330, -1}, {read_azimuth, "N90W", 270, -1},
      {read_azimuth, "N0E", 0, -1},    {read_azimuth, "N", 0, -1},
      {read_azimuth, "E", 90, -1},     {read_azimuth, "S", 180, -1},
      {read_azimuth, "W", 270, -1},    {read_azimuth, "N12.5E", 12.5, -1},
      {read_dip, "45", 45, -1},        {read_dip, "0", 0, -1},
      {read_dip, "90", 90, -1},        {read_dip, "45NW", 45, 315},
      {read_dip, "45se", 45, 135},     {read_dip, "20E", 20, 90},
      {read_dip, "12.5S", 12.5, 180},  {read_plunge, "20S", 20, 180},
      {read_plunge, "-20", -20, -1},   {read_plunge, "90", 90, -1},
      {read_rake, "-90", -90, -1},     {read_rake, "180", 180, -1},
      {read_rake, "-180", -180, -1},   {read_rake, "0.5", 0.5, -1},
  };
  for (const Accepted& c : cases) {
    const Reading r = c.read(c.text);
    ASSERT_TRUE(r.ok()) << c.text << ": " << r.error;
    EXPECT_DOUBLE_EQ(r.value, c.value) << c.text;
    EXPECT_EQ(r.has_letters, c.toward >= 0) << c.text;
    if (c.toward >= 0) {
      EXPECT_DOUBLE_EQ(r.toward, c.toward) << c.text;
    }
  }
}

struct Rejected {
  ReadFn read;
  std::string_view text;
  std::string_view reason_start;
};

TEST(Notation, RejectedFormsSayWhy) {
  using namespace std::string_literals;
  const std::string huge = "1" + std::string(400, '0');
  // Named, not a temporary: the cases keep views of their texts.
  const std::string with_nul = "3\0"s + "0";
  const Rejected cases[] = {
      {read_azimuth, "", "empty field where a value is needed"},
      {read_azimuth, "abc", "not an azimuth (a number such as 030 or a quadrant bearing"},
      {read_azimuth, "nan", "not an azimuth"},
      {read_azimuth, "inf", "not an azimuth"},
      {read_azimuth, "-inf", "not an azimuth"},
      {read_azimuth, "1e3", "not an azimuth"},
      {read_azimuth, "0x10", "not an azimuth"},
      {read_azimuth, "30°", "not an azimuth"},
      {read_azimuth, "+-5", "not an azimuth"},
      {read_azimuth, "30,5", "not a number (a decimal comma?"},
      {read_azimuth, huge, "number out of range"},
      {read_azimuth, "10000000000", "azimuth too large"},
      {read_azimuth, "N95E", "the angle of a quadrant bearing must lie in [0, 90]"},
      {read_azimuth, "N-5E", "the angle of a quadrant bearing must lie in [0, 90]"},
      {read_azimuth, "E30N", "not an azimuth"},
      {read_azimuth, "NE", "not an azimuth"},
      {read_azimuth, "N30", "not an azimuth"},
      {read_azimuth, with_nul, "not an azimuth"},
      {read_dip, "", "empty field where a value is needed"},
      {read_dip, "91", "dip must lie in [0, 90]"},
      {read_dip, "-5", "dip must lie in [0, 90]"},
      {read_dip, "N45", "not a dip (a number such as 45, or with its quadrant as in 45NW)"},
      {read_dip, "45X", "unknown quadrant letters after the number"},
      {read_dip, "45NNW", "unknown quadrant letters after the number"},
      {read_dip, "45,5", "not a number (a decimal comma?"},
      {read_dip, "45 NW", "a blank between the number and its quadrant letters"},
      {read_plunge, "20\tS", "a blank between the number and its quadrant letters"},
      {read_dip, "nan", "not a dip"},
      {read_plunge, "95", "plunge must lie in [-90, 90]"},
      {read_plunge, "-20S", "a plunge with quadrant letters cannot be negative"},
      {read_plunge, "x", "not a plunge"},
      {read_rake, "181", "rake must lie in [-180, 180]"},
      {read_rake, "30N", "not a rake (a number in [-180, 180])"},
  };
  for (const Rejected& c : cases) {
    const Reading r = c.read(c.text);
    ASSERT_FALSE(r.ok()) << c.text;
    EXPECT_TRUE(std::string_view(r.error).starts_with(c.reason_start)) << c.text << ": " << r.error;
  }
}

TEST(Notation, LettersChooseTheEndWithinNinetyDegrees) {
  EXPECT_DOUBLE_EQ(*end_toward(120, 315), 300);  // strike 030 + 90, dip letters NW
  EXPECT_DOUBLE_EQ(*end_toward(300, 315), 300);
  EXPECT_DOUBLE_EQ(*end_toward(10, 180), 190);    // trend N10E, plunge letters S
  EXPECT_DOUBLE_EQ(*end_toward(350, 45), 350);    // across north
  EXPECT_FALSE(end_toward(45, 315).has_value());  // at right angles to both ends
  EXPECT_FALSE(end_toward(90, 0).has_value());
}

TEST(Notation, HeaderWordsAreNotValues) {
  for (std::string_view word : {"dipdir", "dip", "Strike", "label", "notes", "nan", ""}) {
    EXPECT_FALSE(looks_like_value(word)) << word;
  }
  for (std::string_view value : {"30", "-5", ".5", "45NW", "N30E", "E", "x1"}) {
    EXPECT_EQ(looks_like_value(value), value != "x1") << value;
  }
}

}  // namespace
}  // namespace polarsketch::data::notation
