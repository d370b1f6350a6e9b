// Text and symbol attributes: text colour, height, alignment and angle, symbol
// size and type. Each value argument is carried in and out; the const forms
// accept a value that is not kept (a literal or a constant).
#pragma once

#include <cstdint>

namespace polarsketch::plot {

void stextcolor(std::int32_t& icolora, std::int32_t inter);
void stextcolor(const std::int32_t& icolora, std::int32_t inter);

// Text height in cm; handed to the driver at once while a plot file is open.
void stextsize(float& sizecma, std::int32_t inter);
void stextsize(const float& sizecma, std::int32_t inter);

// Text alignment code -11..11 (0, 4, 8, -4, -8 excluded).
void stextalign(std::int32_t& justa, std::int32_t inter);
void stextalign(const std::int32_t& justa, std::int32_t inter);

// Text angle in degrees.
void stextangle(float& angledega, std::int32_t inter);
void stextangle(const float& angledega, std::int32_t inter);

// Symbol size in cm.
void ssymbolsize(float& sizecma, std::int32_t intera);
void ssymbolsize(const float& sizecma, std::int32_t intera);

// Symbol type; besides 0..5, flag 102 lists the type table only and flag 200
// asks for a type without storing it.
void ssymboltype(std::int32_t& isymba, std::int32_t intera);
void ssymboltype(const std::int32_t& isymba, std::int32_t intera);

}  // namespace polarsketch::plot
