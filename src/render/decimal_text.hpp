// Numbers as the figure writers of our own spell them: coordinates in
// hundredths of a point (the plot file's step), as short as they go.
#pragma once

#include <cstdint>
#include <string>

namespace polarsketch::render {

// The value in whole hundredths.
long long hundredths(double v);
// Appends hundredths `h` as a decimal number, as short as it goes: "12.5",
// "-.05", "3".
void append_hundredths(std::string& out, long long h);
// Appends a pair of hundredths, each number preceded by a blank, or only
// where its sign does not part it from what comes before when `tight` (SVG
// path data allows it; PDF operators need the blank).
void append_pair(std::string& out, long long x, long long y, bool tight = false);
// A value with up to three decimals, trailing zeros dropped (widths, sizes,
// angles); 0 for a value that is not finite.
std::string decimal(double v);

}  // namespace polarsketch::render
