// The measurement-file reader on arbitrary text. The first byte chooses the
// options (skipping bad lines, columns given for a file without a header);
// the rest is the file. What the reader accepts must be in range: azimuths
// in [0, 360), dips and plunges in [0, 90], finite rakes, unit vectors of
// length 1, a label per measurement or none, and errors with a place.
#include <array>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "data/measurements.hpp"

namespace {

using namespace polarsketch::data;

void check(bool ok) {
  if (!ok) std::abort();
}

bool azimuth_ok(double a) { return std::isfinite(a) && a >= 0.0 && a < 360.0; }
bool inclination_ok(double d) { return std::isfinite(d) && d >= 0.0 && d <= 90.0; }
void check_plane(const Plane& p) { check(azimuth_ok(p.dip_direction) && inclination_ok(p.dip)); }
void check_line(const Line& l) { check(azimuth_ok(l.trend) && inclination_ok(l.plunge)); }

const std::array<std::vector<std::string>, 8> kColumnSets{{
    {},
    {"dipdir", "dip"},
    {"strike", "dip"},
    {"trend", "plunge"},
    {"strike", "dip", "rake"},
    {"dipdir", "dip", "trend", "plunge"},
    {"label", "strike", "dip"},
    {"dd", "dip", "rake", "label"},
}};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  ReadOptions options;
  options.skip_bad = (data[0] & 1) != 0;
  options.columns = kColumnSets[(data[0] >> 1) % kColumnSets.size()];
  const std::string_view text(reinterpret_cast<const char*>(data + 1), size - 1);
  const ReadResult r = read_measurements(text, "fuzz.csv", options);

  check(r.errors.size() <= r.error_count && r.errors.size() <= 20);
  for (const DataError& e : r.errors) {
    check(e.line >= 1);
    check(!e.message().empty());
  }
  if (!r.fatal.empty()) check(r.data.size() == 0);
  if (!r.ok()) return 0;
  const DataSet& d = r.data;
  for (const Plane& p : d.planes) check_plane(p);
  for (const Line& l : d.lines) check_line(l);
  for (const Slip& s : d.slips) {
    check_plane(s.plane);
    check_line(s.line);
    check(std::isfinite(s.rake) && std::fabs(s.rake) <= 180.0);
  }
  check(d.labels.empty() || d.labels.size() == d.size());
  for (const Vector3& v : d.unit_vectors()) {
    const double norm = std::sqrt(v[0] * v[0] + v[1] * v[1] + v[2] * v[2]);
    check(std::fabs(norm - 1.0) < 1e-9 && v[2] >= -1e-12);
  }
  return 0;
}
