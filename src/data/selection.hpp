// Choosing measurements by their columns: a data set split by the value of
// a column, and the rows kept by conditions such as "station=A1" or "dip>=60".
// Pure functions of data sets; nothing here reads or prints.
#pragma once

#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "data/measurements.hpp"

namespace polarsketch::data {

// The rows of a data set given by their indices, in the order given.
DataSet subset(const DataSet& set, std::span<const std::size_t> rows);

// Whether a column can be asked of a data set: one of its text columns
// (names matched as header names are: case and blanks, '_', '-', '.', '/'
// do not count), or an orientation field by its canonical name: dipdir and
// dip (planes, slips), trend and plunge (lines, slip lines), rake (slips).
bool has_column(const DataSet& set, std::string_view column);

// The text of a column for every row of a set, in order: a text column's
// values, or an orientation field's number ("%.6g"); empty texts when the
// set lacks the column.
std::vector<std::string> column_texts(const DataSet& set, std::string_view column);

// A data set's rows with one value of a column.
struct Group {
  std::string value;  // as written; "(none)" for an empty value
  DataSet data;
};

// The set split by the text of a column, one group per value in order of
// first appearance; rows whose value is empty (or that lack the column) form
// the group "(none)".
std::vector<Group> split_by(const DataSet& set, std::string_view column);

// One condition on a column.
struct Condition {
  enum class Op { equal, not_equal, less, less_equal, greater, greater_equal };
  std::string column;
  Op op = Op::equal;
  std::string value;  // as written
  double number = 0;  // the value as a number, for <, <=, >, >= (and orientation fields)
};

// "COL=V", "COL!=V" (text, case-insensitive), "COL<N", "COL<=N", "COL>N",
// "COL>=N" (numbers). Returns the condition, or sets `error` and returns none.
std::optional<Condition> parse_condition(std::string_view text, std::string& error);

// The rows of a set meeting every condition, and how many rows were left out
// because a value compared as a number is not one. A text column the set
// lacks reads as empty text (not a number); an orientation field its kind
// lacks (the dip of a line) meets no condition.
struct Filtered {
  DataSet data;
  std::size_t not_numbers = 0;
};

Filtered filter(const DataSet& set, std::span<const Condition> conditions);

}  // namespace polarsketch::data
