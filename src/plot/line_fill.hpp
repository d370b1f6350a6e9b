// Line and polygon-fill attributes: line colour, fill colour, line thickness,
// line style (none) and fill style. Each value argument is carried in and out.
#pragma once

#include <cstdint>

namespace polarsketch::plot {

void slinecolor(std::int32_t& icolora, std::int32_t inter);
void slinecolor(const std::int32_t& icolora, std::int32_t inter);

void sfillcolor(std::int32_t& icolora, std::int32_t inter);
void sfillcolor(const std::int32_t& icolora, std::int32_t inter);

// Line thickness in cm; also handed to the driver at once.
void slinewidth(float& thicka, std::int32_t inter);
void slinewidth(const float& thicka, std::int32_t inter);

// There is no line style: accepts its arguments and does nothing.
void slinestyle(std::int32_t istylea, std::int32_t inter);

// Fill style: 0 hollow, 1 filled.
void sfillstyle(std::int32_t& istylea, std::int32_t inter);
void sfillstyle(const std::int32_t& istylea, std::int32_t inter);

}  // namespace polarsketch::plot
