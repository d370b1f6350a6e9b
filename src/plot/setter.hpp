// The flag convention every attribute setter follows, and the dialogs the
// setters share. `inter` 0 and 1 start from the caller's value, 2 and 3 from
// the stored one, 4 and 5 from the default (5 announcing it); 0, 2 and 4
// show the setting's dialog first. Flags outside 0..5 keep nothing.
#pragma once

#include <cstdint>
#include <string_view>

#include "plot/dialog_lines.hpp"

namespace polarsketch::plot::setter {

inline bool is_stored_form(std::int32_t inter) { return inter >= 0 && inter <= 5; }
inline bool shows_dialog(std::int32_t inter) { return inter == 0 || inter == 2 || inter == 4; }

// The warning frame of a setter called with a flag outside 0..5.
void inter_warning(std::string_view rname, std::int32_t inter);

// Flags 2-5 name the starting value: puts it in `v` and returns true (flag 5
// reports the default with `init_line` under the routine's menu head).
// Flags 0, 1 and the others leave `v` alone and return false.
template <class T>
bool start_value(T& v, std::int32_t inter, const T& stored, T deflt, std::string_view rname,
                 std::string_view init_line) {
  if (inter == 2 || inter == 3) {
    v = stored;
    return true;
  }
  if (inter == 4 || inter == 5) {
    v = deflt;
    if (inter == 5) {
      dialog::menu_head(rname);
      dialog::out(init_line);
    }
    return true;
  }
  return false;
}

// Hands `v` back through `arg` and keeps it in `stored` for flags 0..5;
// other flags keep nothing and warn. Returns whether `v` was kept.
template <class T>
bool keep_value(T& arg, T v, std::int32_t inter, T& stored, std::string_view rname) {
  arg = v;
  if (!is_stored_form(inter)) {
    inter_warning(rname, inter);
    return false;
  }
  stored = v;
  return true;
}

// The colour-slot setter shared by the line, fill and text colours: `member`
// is the stored slot, `initline` the flag-5 report, `title` the menu title.
void set_color_slot(std::int32_t& icolora, std::int32_t inter, std::int32_t& member,
                    std::string_view rname, std::string_view initline, std::string_view title);

}  // namespace polarsketch::plot::setter
