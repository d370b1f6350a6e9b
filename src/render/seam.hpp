// The seam between the plot library and its device: the plot library's
// drawing calls, with the attributes of the plot records made explicit, go to
// the device bound now (a batch session binds its own for its life; the
// interactive program draws on the PostScript device). Every call carries
// its colours and text style: no device reads them back from the driver.
// While a plot file is open with sibling formats requested, the calls go to
// the PostScript device and to the device of each sibling format, whose
// pages are written next to the plot file when it is closed.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "render/device.hpp"
#include "render/siblings.hpp"

namespace polarsketch::render {

// The device the plot library draws on now.
Device& device();
// Binds `d` as the base device (nullptr: the PostScript device) and returns
// the one bound before (nullptr for the PostScript device); whoever binds a
// device binds the one before back when done.
Device* use_device(Device* d);

// The formats written next to every plot file when it is closed (none by
// default).
void set_sibling_formats(SiblingFormats formats);

// Drawing calls in device units, with the current attributes of the plot records.
void draw_polyline(const float* x, const float* y, std::int32_t n);
void draw_polygon(const float* x, const float* y, std::int32_t n);
void draw_text(float x, float y, std::string_view text);
void set_line_width(float width);

// The plot file's life: opened (page 1 begins on the paper given; the
// siblings are named after `plot_file`), a new page, closed (the last page
// ends and the sibling files are written). A closed call without an open
// plot does nothing.
void plot_opened(const std::string& plot_file = {}, Orientation orientation = {});
void plot_new_page();
void plot_closed();

// The text height in device units the plot library set last (the height of
// every text drawn from now on), and its program-start state (0).
void set_text_height(float height);
void reset_text_state();

// The current text style (the font of the plot records and the height set
// last) and the colours of the plot records.
TextStyle current_text_style();
Rgb line_colour();
Rgb fill_colour();

}  // namespace polarsketch::render
