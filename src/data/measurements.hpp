// Orientation measurements as values: planes, lines and slips in degrees,
// their unit vectors (x north, y east, z down), and the data set a file holds.
#pragma once

#include <array>
#include <cstddef>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace polarsketch::data {

// A direction in space: x north, y east, z down.
using Vector3 = std::array<double, 3>;

// A plane by its dip direction (azimuth, [0, 360)) and dip ([0, 90]).
struct Plane {
  double dip_direction = 0;
  double dip = 0;
};

// A line by its trend (azimuth, [0, 360)) and plunge ([0, 90]).
struct Line {
  double trend = 0;
  double plunge = 0;
};

// A slip: the plane and the slip line in it, with the line's rake in the
// plane (0 along the strike, -90 down the dip, +90 up the dip). When the
// sense is known the rake points the way the hanging wall moved (-90 normal,
// +90 reverse, 0 sinistral, 180 dextral); otherwise either end of the line.
struct Slip {
  Plane plane;
  Line line;
  double rake = 0;
  bool sense_known = false;
};

enum class Kind { planes, lines, slips };

// "planes", "lines" or "slips".
std::string_view kind_name(Kind kind);

// An azimuth in degrees brought into [0, 360).
double wrap_azimuth(double degrees);

// The unit vector of a line, pointing down (lower hemisphere).
Vector3 to_vector(const Line& line);
// The line of a vector; a vector pointing up gives the opposite end.
Line to_line(const Vector3& v);
// The pole of a plane (the downward normal) as a line.
Line pole_of(const Plane& plane);
// The plane whose pole is the given line.
Plane plane_with_pole(const Line& pole);
// The slip line of a rake in a plane (the down-pointing end).
Line line_from_rake(const Plane& plane, double rake);
// The unit vector of a rake in a plane (may point up): for a slip of known
// sense, the direction the hanging wall moved.
Vector3 rake_vector(const Plane& plane, double rake);
// The rake of a line lying in a plane, in [-180, 180].
double rake_of(const Plane& plane, const Line& line);
// Angle in degrees between a line and a plane (0 when the line lies in it).
double angle_to_plane(const Plane& plane, const Line& line);

// One data set: the measurements of one file of one kind.
struct DataSet {
  std::string name;  // file name as given ("-" for standard input)
  Kind kind = Kind::planes;
  std::string notation;             // the columns read, e.g. "strike,dip (right-hand rule)"
  std::vector<Plane> planes;        // kind planes
  std::vector<Line> lines;          // kind lines
  std::vector<Slip> slips;          // kind slips
  std::vector<std::string> labels;  // one per measurement when a label column exists, else empty
  std::vector<std::size_t> line_numbers;  // the file's line of each measurement (1-based)
  // The file's other columns, kept as text: their names as the header wrote
  // them, and row by row one value per name (size() * names values).
  std::vector<std::string> attribute_names;
  std::vector<std::string> attribute_values;

  std::size_t size() const;
  // The value of attribute `column` (an index into attribute_names) of
  // measurement `row`.
  const std::string& attribute(std::size_t row, std::size_t column) const {
    return attribute_values[row * attribute_names.size() + column];
  }
  // Unit vectors in the lower hemisphere: poles of planes, lines, slip lines.
  std::vector<Vector3> unit_vectors() const;
  // True for slips that all have a known sense: their directions are vectors.
  bool has_polarity() const;
  // The directions statistics sum: the slip vectors (the hanging wall's
  // motion) when the set has a polarity, else unit_vectors().
  std::vector<Vector3> directions() const;
};

// A bad field or line: where it is and why it was rejected.
struct DataError {
  std::string file;
  std::size_t line = 0;    // 1-based
  std::size_t column = 0;  // 1-based, in bytes from the start of the line
  std::string text;        // the offending field (or line)
  std::string reason;
  // "FILE:LINE:COLUMN: 'text': reason"
  std::string message() const;
};

struct ReadOptions {
  // Column names for a file without a header (e.g. {"dipdir", "dip"}).
  std::vector<std::string> columns;
  // Skip bad lines instead of failing.
  bool skip_bad = false;
};

struct ReadResult {
  // The measurements. A file whose type column mixes planes and lines gives
  // one data set per kind, in the order the kinds first appear: `data` holds
  // the first, `more_data` the others.
  DataSet data;
  std::vector<DataSet> more_data;
  // Things read but worth a word (a column that looks like an orientation
  // but is not read), each a whole message line naming file and column.
  std::vector<std::string> warnings;
  // The errors found (at most the first 20 are kept), and how many in all.
  std::vector<DataError> errors;
  std::size_t error_count = 0;
  // Lines skipped under skip_bad (equal to error_count then).
  std::size_t skipped = 0;
  // A fault of the whole file (no header and no columns given, unknown
  // column set, ...); when set, data is empty and this is the message.
  std::string fatal;
  bool ok() const { return fatal.empty() && (error_count == 0 || skipped == error_count); }
};

// Parses the text of one measurement file; `file_name` is used in messages.
ReadResult read_measurements(std::string_view text, std::string_view file_name,
                             const ReadOptions& options);

// A measurement file read piece by piece, as it arrives: the result is that
// of read_measurements on all the pieces together, and no more than the line
// being read is held (its comment is dropped as it arrives). A line longer
// than 64 MiB, its comment not counted, is a fault of the whole file.
class MeasurementStream {
 public:
  MeasurementStream(std::string_view file_name, const ReadOptions& options);
  ~MeasurementStream();
  MeasurementStream(const MeasurementStream&) = delete;
  MeasurementStream& operator=(const MeasurementStream&) = delete;

  // The next piece of the file; a line may run across pieces.
  void feed(std::string_view piece);
  // Whether a fault of the whole file was found: the rest need not be read.
  bool done() const;
  // Ends the file with a fault of the whole file (unless it had one).
  void fail(std::string message);
  // The result, once the last piece is fed.
  ReadResult finish();

 private:
  struct State;
  std::unique_ptr<State> state_;
};

// Why a list of column names (as for ReadOptions::columns) names no sound set
// of columns; empty when it is sound.
std::string columns_error(const std::vector<std::string>& columns);

}  // namespace polarsketch::data
