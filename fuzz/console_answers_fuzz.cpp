// The console's answer readers on arbitrary bytes: the free-format number
// readers directly, then the prompt routines with the bytes as typed input,
// until the input runs out. An answer a prompt accepts must be one it may
// accept (inside its range, finite, at the caller's field length).
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <sstream>
#include <string>
#include <string_view>

#include "console/iocom.hpp"
#include "console/prompts.hpp"
#include "console/stop.hpp"
#include "console/units.hpp"

namespace {

using namespace polarsketch::console;

void check(bool ok) {
  if (!ok) std::abort();
}

void ask_all(std::int32_t rounds) {
  std::int32_t ierr = 0;
  for (std::int32_t k = 0; k < rounds; ++k) {
    std::int32_t i = 0;
    inintegvindef(i, "integer in range", 5, -3, 7, ierr);
    check(i >= -3 && i <= 7);
    ininteg1(i, "integer", ierr);
    inintegdef(i, "integer with default", 11, ierr);
    float r = 0.0f;
    inrealvindef(r, "real in range", 1.5f, -90.0f, 90.0f, ierr);
    check(std::isfinite(r) && r >= -90.0f && r <= 90.0f);
    inrealdef(r, "real", 2.0f, ierr);
    check(std::isfinite(r));
    bool yes = false;
    inlogicdef(yes, "yes or no", true, ierr);
    std::string text(12, ' ');
    inchardef(text, "text", "default", ierr);
    check(text.size() == 12);
    inchar1(text, "any text", ierr);
    check(text.size() == 12);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  std::int32_t i = 0;
  read_free_int(bytes, i);
  float r = 0.0f;
  if (read_free_real(bytes, r)) check(std::isfinite(r));

  std::istringstream in(bytes);
  std::ostream nowhere(nullptr);  // the console text is not looked at
  reset_iocom();
  bind_console(in, nowhere);
  try {
    ask_all(1000);
  } catch (const OrderlyStop& s) {
    check(s.status == kExitEndOfInput);
  }
  reset_units();
  return 0;
}
