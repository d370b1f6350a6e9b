// The program's identity: the name, version and date its banners, menu
// header, run information and --version show. Both faces read it here.
#pragma once

namespace polarsketch::console {

inline constexpr const char* kProgname = "polarsketch";
inline constexpr const char* kVersion = "11.3";
inline constexpr const char* kDate = "10-10-2009";

}  // namespace polarsketch::console
