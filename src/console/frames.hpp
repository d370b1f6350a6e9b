// Menu, warning and error frames, the pause after a frame, the escalation
// routines that may stop the run, and the two range checkers.
// Names, versions and dates are passed at their fixed lengths (11, 4, 10).
#pragma once

#include <cstdint>
#include <string_view>

namespace polarsketch::console {

void submenuhead(std::string_view progname, std::string_view version = "",
                 std::string_view date = "");
void menutail();
void subtail(std::string_view progname, std::string_view version = "", std::string_view date = "");
void errorhead(std::string_view progname, std::string_view version = "",
               std::string_view date = "");
void errortail00();
void errortail0(std::int32_t inter = 0);
void warninghead(std::string_view progname, std::string_view version = "",
                 std::string_view date = "");
void warningtail00();
void warningtail0(std::int32_t inter = 0);
// May end the run (throws OrderlyStop with status 1).
void errorstop(std::int32_t level);
void errortail01(std::int32_t level);
void cinvin(std::int32_t n, std::int32_t min, std::int32_t max, std::string_view rnam,
            std::string_view vnam, std::int32_t& ierr);
void crevin2(std::string_view vnam, float& v, float vmin, float vmax, std::string_view rnam,
             std::int32_t igrave, std::int32_t& ierr);
void sorryface();

// The menu header frame and tail rule on a given unit (the help table of the
// yes/no prompts goes to the unit its caller names).
void submenuhead_on(int unit, std::string_view progname);
void menutail_on(int unit);

// The 43-character rules used by frames and menus.
inline constexpr std::string_view kRuleAt = "@@@@@@@@@@@@@@@@@@@@@@@@@@@@@@@@@@@@@@@@@@@";
inline constexpr std::string_view kRuleHyphen = "-------------------------------------------";
inline constexpr std::string_view kRuleStar = "*******************************************";
inline constexpr std::string_view kRuleSlash = "///////////////////////////////////////////";

}  // namespace polarsketch::console
