// The seam between the plot library and its device: the plot library's
// drawing calls, with the attributes of the plot records made explicit, go to
// the installed device (the PostScript device unless another is installed).
// While a plot file is open with sibling formats requested, the calls go to
// the PostScript device and to a cairo recording of the same pages, which is
// written next to the plot file when it is closed.
#pragma once

#include <cstdint>
#include <string_view>

#include "render/device.hpp"
#include "render/siblings.hpp"

namespace polarsketch::render {

// The device the plot library draws on now.
Device& device();
// Installs `d` as the base device (nullptr: the PostScript device) and
// returns the one installed before (nullptr for the PostScript device).
Device* use_device(Device* d);

// The formats written next to every plot file when it is closed (none by
// default).
void set_sibling_formats(SiblingFormats formats);

// Drawing calls in device units, with the current attributes of the plot records.
void draw_polyline(const float* x, const float* y, std::int32_t n);
void draw_polygon(const float* x, const float* y, std::int32_t n);
void draw_text(float x, float y, std::string_view text);
void set_line_width(float width);

// The plot file's life: opened (page 1 begins), a new page, closed (the last
// page ends and the sibling files are written). A closed call without an open
// plot does nothing.
void plot_opened();
void plot_new_page();
void plot_closed();

// The current text style and the colours of the plot records.
TextStyle current_text_style();
Rgb line_colour();
Rgb fill_colour();

}  // namespace polarsketch::render
