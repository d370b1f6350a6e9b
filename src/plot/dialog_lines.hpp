// Console lines shared by the plot library's settings dialogs: menu text on
// the output unit, warning and error text on the error unit, routine names
// in their 11-character field.
#pragma once

#include <string>
#include <string_view>

#include "console/fixed_text.hpp"
#include "console/frames.hpp"
#include "console/iocom.hpp"
#include "console/units.hpp"

namespace polarsketch::plot::dialog {

inline std::string rname11(std::string_view name) { return fit_text(name, 11); }
inline void out(std::string_view text) { console::put_line(console::iocom.ito, text); }
inline void err(std::string_view text) { console::put_line(console::iocom.itoer, text); }
inline void menu_head(std::string_view name) { console::submenuhead(rname11(name)); }

}  // namespace polarsketch::plot::dialog
