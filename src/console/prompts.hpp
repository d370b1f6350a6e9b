// The prompt routines: every typed value goes through one of these. Each
// prints its framed question, reads one answer through the line reader,
// re-asks after an error frame until the answer is acceptable, and echoes it.
// Labels are passed at their full fixed length; the routines trim them.
// Defaults are passed by value, so callers may pass the variable itself.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace polarsketch::console {

void inintegvindef(std::int32_t& iv, std::string_view vnam, std::int32_t ivdef, std::int32_t ivmin,
                   std::int32_t ivmax, std::int32_t& ierr);
void inintegdef(std::int32_t& iv, std::string_view vnam, std::int32_t ivdef, std::int32_t& ierr);
void inintegvin1(std::int32_t& iv, std::string_view vnam, std::int32_t ivmin, std::int32_t ivmax,
                 std::int32_t& ierr);
void ininteg1(std::int32_t& iv, std::string_view vnam, std::int32_t& ierr);
void inintegdefnp(std::int32_t& iv, std::string_view vnam, std::int32_t ivdef, std::int32_t& ierr);
void inrealvindef(float& v, std::string_view vnam, float vdef, float vmin, float vmax,
                  std::int32_t& ierr);
void inrealdef(float& v, std::string_view vnam, float vdef, std::int32_t& ierr);
void inlogicdef(bool& lrep, std::string_view question, bool ldefault, std::int32_t& ierr);
void inlogicdef2(bool& lrep, std::string_view question, bool ldefault, std::int32_t iti,
                 std::int32_t ito, std::int32_t& ierr);
// Text answers: v's current length is the caller's fixed length and is kept.
void inchardef(std::string& v, std::string_view vnam, std::string_view vdef, std::int32_t& ierr);
void inchar1(std::string& v, std::string_view vnam, std::int32_t& ierr);

// Free-format readers of one answer (exposed for tests and file readers).
// An item ends at a blank, comma or slash; leading blanks are skipped.
// Integers must fit 32 bits and have no fraction; reals must be finite
// decimal numbers within the float range. Return false when unreadable.
bool read_free_int(std::string_view text, std::int32_t& v);
bool read_free_real(std::string_view text, float& v);

}  // namespace polarsketch::console
