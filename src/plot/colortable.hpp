// The colour table: 13 named slots (0 background, 1 foreground), the number of
// colours in use, and the choice between a colour and a black-and-white plot.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace polarsketch::plot {

// Default table (flags 4, 5) and the table menu (even flags); 1 and 3 do nothing.
void scolortable(std::int32_t intera);

// Sets the number of colours in use (1..12); ncolora carries the value in and out.
void scolornb(std::int32_t& ncolora, std::int32_t intera);
// Form for a value that is not kept (a literal or a constant).
void scolornb(const std::int32_t& ncolora, std::int32_t intera);

// Sets slot icolora to the name colornama and the intensities (percent).
// All five values are carried in and out; the stored name is cut to 8 characters.
void scolorrgb(std::int32_t& icolora, std::string& colornama, float& reda, float& greena,
               float& bluea, std::int32_t intera);
// Form for values that are not kept (literals or constants).
void scolorrgb(const std::int32_t& icolora, std::string_view colornama, const float& reda,
               const float& greena, const float& bluea, std::int32_t intera);

}  // namespace polarsketch::plot
