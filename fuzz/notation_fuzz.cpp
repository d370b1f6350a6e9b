// The notation parser on arbitrary text: each reader either rejects the text
// with a reason or gives a finite value in its documented range.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "data/notation.hpp"

namespace {

using namespace polarsketch::data::notation;

void check(bool ok) {
  if (!ok) std::abort();
}

void check_reading(const Reading& r, double lo, double hi, bool hi_included) {
  if (!r.ok()) {
    check(r.error[0] != '\0');
    return;
  }
  check(std::isfinite(r.value) && r.value >= lo && (hi_included ? r.value <= hi : r.value < hi));
  if (r.has_letters) check(std::isfinite(r.toward) && r.toward >= 0.0 && r.toward < 360.0);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const Reading a = read_azimuth(text);
  const Reading d = read_dip(text);
  check_reading(a, 0.0, 360.0, false);
  check_reading(d, 0.0, 90.0, true);
  check_reading(read_plunge(text), -90.0, 90.0, true);
  check_reading(read_rake(text), -180.0, 180.0, true);
  looks_like_value(text);
  if (a.ok() && d.ok() && d.has_letters) {
    const auto end = end_toward(a.value, d.toward);
    if (end) check(*end >= 0.0 && *end < 360.0);
    const double diff = azimuth_difference(a.value, d.toward);
    check(diff >= 0.0 && diff <= 180.0);
  }
  return 0;
}
