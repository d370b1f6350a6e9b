// The plot formats as the figure room offers them to the command line: the
// device's table of formats (render/formats.hpp), read through this room so
// that the command line stays clear of the device.
#pragma once

#include "render/formats.hpp"

namespace polarsketch::figure {

using render::figure_formats;
using render::FigureFormat;
using render::format_of_extension;
using render::parse_format_list;
using render::sibling_formats;
using render::SiblingNames;

}  // namespace polarsketch::figure
