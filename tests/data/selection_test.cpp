// Choosing measurements by their columns: groups by a column's value and
// rows kept by conditions.
#include "data/selection.hpp"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace polarsketch::data {
namespace {

DataSet planes_of(std::string_view text) {
  ReadResult r = read_measurements(text, "f.csv", {});
  EXPECT_TRUE(r.ok()) << r.fatal;
  return std::move(r.data);
}

DataSet beds() {
  return planes_of(
      "dipdir,dip,Rock Unit,thickness,label\n"
      "10,20,Sandstone,1.5,a\n"
      "30,40,shale,x,b\n"
      "50,60,sandstone,,c\n"
      "70,80,Shale,12,d\n");
}

TEST(Selection, SplitByAColumnInOrderOfFirstAppearance) {
  const DataSet set = planes_of("dipdir,dip,Station\n10,20,B\n30,40,A\n50,60,\n70,80,B\n");
  const struct {
    std::string column;
    std::vector<std::string> values;
    std::vector<std::size_t> sizes;
  } cases[] = {
      {"station", {"B", "A", "(none)"}, {2, 1, 1}},
      {"STATION", {"B", "A", "(none)"}, {2, 1, 1}},
      {"set", {"(none)"}, {4}},  // a column the set lacks
  };
  for (const auto& c : cases) {
    const std::vector<Group> groups = split_by(set, c.column);
    ASSERT_EQ(groups.size(), c.values.size()) << c.column;
    for (std::size_t g = 0; g < groups.size(); ++g) {
      EXPECT_EQ(groups[g].value, c.values[g]) << c.column;
      EXPECT_EQ(groups[g].data.size(), c.sizes[g]) << c.column;
      EXPECT_EQ(groups[g].data.attribute_values.size(), c.sizes[g]) << c.column;
    }
  }
  const std::vector<Group> groups = split_by(set, "Station");
  EXPECT_EQ(groups[0].data.planes[1].dip_direction, 70);
  EXPECT_EQ(groups[0].data.attribute(1, 0), "B");
}

TEST(Selection, ConditionsParsedAndRefused) {
  const struct {
    std::string text;
    bool ok;
    std::string column_or_error;
    Condition::Op op;
    std::string value;
  } cases[] = {
      {"unit=shale", true, "unit", Condition::Op::equal, "shale"},
      {" Rock Unit != sandstone ", true, "Rock Unit", Condition::Op::not_equal, "sandstone"},
      {"dip<=45", true, "dip", Condition::Op::less_equal, "45"},
      {"dip>=45", true, "dip", Condition::Op::greater_equal, "45"},
      {"thickness<2.5", true, "thickness", Condition::Op::less, "2.5"},
      {"thickness>-1", true, "thickness", Condition::Op::greater, "-1"},
      {"unit=", true, "unit", Condition::Op::equal, ""},
      {"unit", false, "is not a condition", {}, ""},
      {"=shale", false, "names no column", {}, ""},
      {"unit!shale", false, "'!' must be followed by '='", {}, ""},
      {"thickness>thick", false, "which is not a number", {}, ""},
      {"dip=steep", false, "which is not a number", {}, ""},
  };
  for (const auto& c : cases) {
    std::string error;
    const auto parsed = parse_condition(c.text, error);
    ASSERT_EQ(parsed.has_value(), c.ok) << c.text << ": " << error;
    if (!c.ok) {
      EXPECT_NE(error.find(c.column_or_error), std::string::npos) << c.text << ": " << error;
      continue;
    }
    EXPECT_EQ(parsed->column, c.column_or_error) << c.text;
    EXPECT_EQ(parsed->op, c.op) << c.text;
    EXPECT_EQ(parsed->value, c.value) << c.text;
  }
}

TEST(Selection, FilterKeepsRowsMeetingEveryCondition) {
  const struct {
    std::vector<std::string> conditions;
    std::vector<std::string> kept;
    std::size_t not_numbers;
  } cases[] = {
      {{"rockunit=sandstone"}, {"a", "c"}, 0},
      {{"Rock Unit!=SHALE"}, {"a", "c"}, 0},
      {{"thickness<2"}, {"a"}, 2},  // "x" and "" are not numbers
      {{"thickness>=1.5"}, {"a", "d"}, 2},
      {{"dip>30"}, {"b", "c", "d"}, 0},
      {{"dipdir<=30", "rock unit=shale"}, {"b"}, 0},
      {{"trend>0"}, {}, 0},  // planes have no trend: no row meets it
      {{"missing=x"}, {}, 0},
      {{"missing!=x"}, {"a", "b", "c", "d"}, 0},
  };
  const DataSet set = beds();
  for (const auto& c : cases) {
    std::vector<Condition> conditions;
    for (const std::string& text : c.conditions) {
      std::string error;
      conditions.push_back(*parse_condition(text, error));
    }
    const Filtered f = filter(set, conditions);
    EXPECT_EQ(f.data.labels, c.kept) << c.conditions.front();
    EXPECT_EQ(f.data.size(), c.kept.size()) << c.conditions.front();
    EXPECT_EQ(f.not_numbers, c.not_numbers) << c.conditions.front();
  }
  EXPECT_TRUE(has_column(set, "dipdir"));
  EXPECT_TRUE(has_column(set, "ROCK_UNIT"));
  EXPECT_FALSE(has_column(set, "trend"));
  EXPECT_FALSE(has_column(set, "station"));
}

}  // namespace
}  // namespace polarsketch::data
