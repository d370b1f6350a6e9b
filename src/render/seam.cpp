// The plot library's device: the installed device, the explicit attributes
// taken from the plot records, and the sibling figures of an open plot.
#include "render/seam.hpp"

#include <array>
#include <cmath>
#include <iostream>
#include <memory>
#include <string>
#include <vector>

#include "console/formatting.hpp"
#include "math/saturate.hpp"
#include "plot/records.hpp"
#include "render/cairo_device.hpp"
#include "render/pdf_device.hpp"
#include "render/postscript_device.hpp"
#include "render/svg_device.hpp"

namespace polarsketch::render {
namespace {

using plot::plt2blk;

struct Seam {
  PostScriptDevice postscript;
  Device* base = &postscript;
  SiblingFormats formats;
  // While a plot is open with siblings requested: the devices their
  // formats draw on, and the tees that send the calls to them too.
  std::unique_ptr<SvgDevice> svg;
  std::unique_ptr<PdfDevice> pdf;
  std::unique_ptr<CairoDevice> raster;
  std::vector<std::unique_ptr<TeeDevice>> figures;
  Device* tee = nullptr;  // the last of the chain, while there is one
  bool open = false;
  int page = 0;
  std::string plot_file;      // the open plot file's name
  Orientation orientation{};  // its paper
  std::vector<Point> points;  // scratch
  float text_height = 0.0f;   // device units
};

Seam& seam() {
  static Seam s;
  return s;
}

Rgb slot_colour(std::int32_t slot) {
  // Percent to a fraction in single precision, as the plot file writes it.
  return {static_cast<double>(plt2blk.red(slot) / 100.0f),
          static_cast<double>(plt2blk.green(slot) / 100.0f),
          static_cast<double>(plt2blk.blue(slot) / 100.0f)};
}

bool valid_slot(std::int32_t slot) { return slot >= 0 && slot <= plot::kMaxColorSlot; }

// A colour slot's colour on a colour plot; black otherwise, since a black
// and white plot file never sets a colour.
Rgb colour_of(std::int32_t slot) {
  if (!plt2blk.loncolor || !valid_slot(slot)) return {};
  return slot_colour(slot);
}

const std::vector<Point>& points_of(const float* x, const float* y, std::int32_t n) {
  std::vector<Point>& p = seam().points;
  p.resize(n > 0 ? static_cast<std::size_t>(n) : 0);
  for (std::size_t i = 0; i < p.size(); ++i)
    p[i] = {static_cast<double>(x[i]), static_cast<double>(y[i])};
  return p;
}

// The PostScript font name of the plot's current font (Helvetica until one
// is chosen).
std::string font_name() {
  const std::int32_t f = plt2blk.itxtfont;
  static constexpr std::array<std::string_view, 16> kNames{
      "Helvetica",   "Helvetica-Bold", "Helvetica-Oblique", "Helvetica-BoldOblique",
      "Times-Roman", "Times-Bold",     "Times-Italic",      "Times-BoldItalic",
      "Courier",     "Courier-Bold",   "Courier-Oblique",   "Courier-BoldOblique",
      "Symbol",      "Symbol-Bold",    "Symbol-Oblique",    "Symbol-BoldOblique"};
  return std::string(kNames[static_cast<std::size_t>(f >= 1 && f <= 16 ? f - 1 : 0)]);
}

}  // namespace

Device& device() {
  Seam& s = seam();
  if (s.tee) return *s.tee;
  return *s.base;
}

Device* use_device(Device* d) {
  Seam& s = seam();
  Device* before = s.base == &s.postscript ? nullptr : s.base;
  s.base = d != nullptr ? d : &s.postscript;
  return before;
}

void set_sibling_formats(SiblingFormats formats) { seam().formats = formats; }

Rgb line_colour() { return colour_of(plt2blk.ilinecolor); }

Rgb fill_colour() {
  if (plt2blk.loncolor && valid_slot(plt2blk.ifillcolor)) return slot_colour(plt2blk.ifillcolor);
  return {0.5, 0.5, 0.5};  // the driver's gray fill
}

void set_text_height(float height) { seam().text_height = height; }

void reset_text_state() { seam().text_height = 0.0f; }

TextStyle current_text_style() {
  TextStyle t;
  t.font = font_name();
  const float height = seam().text_height;
  // The plot file names a whole font size; alignment steps by the exact height.
  t.size = math::trunc_to_int(height);
  t.height = static_cast<double>(height);
  t.angle = static_cast<double>(std::isfinite(plt2blk.txtangle) ? plt2blk.txtangle : 0.0f);
  t.align = plt2blk.itxtjust;
  t.colour = colour_of(plt2blk.itxtcolor);
  return t;
}

void draw_polyline(const float* x, const float* y, std::int32_t n) {
  if (n < 1) return;
  device().polyline(points_of(x, y, n), line_colour());
}

void draw_polygon(const float* x, const float* y, std::int32_t n) {
  if (n < 1) return;
  device().polygon(points_of(x, y, n), plt2blk.ifillstyle != 0, fill_colour(), line_colour());
}

void draw_text(float x, float y, std::string_view text) {
  // A negative alignment code shows the text without its surrounding blanks.
  const std::string_view shown = plt2blk.itxtjust < 0 ? console::textlen_trim(text) : text;
  device().text({static_cast<double>(x), static_cast<double>(y)}, shown, current_text_style());
}

void set_line_width(float width) { device().line_width(static_cast<double>(width)); }

void plot_opened(const std::string& plot_file, Orientation orientation) {
  Seam& s = seam();
  s.open = true;
  s.page = 1;
  s.plot_file = plot_file;
  s.orientation = orientation;
  if (s.formats.any()) {
    if (needs_device(s.formats, FigureDevice::svg)) s.svg = std::make_unique<SvgDevice>();
    if (needs_device(s.formats, FigureDevice::pdf)) s.pdf = std::make_unique<PdfDevice>();
    if (needs_device(s.formats, FigureDevice::raster))
      s.raster =
          std::make_unique<CairoDevice>(CairoDevice::Raster{s.formats.dpi, s.formats.layout});
    // The base device first, then each figure device, through a chain of tees.
    Device* all = s.base;
    for (Device* d : {static_cast<Device*>(s.svg.get()), static_cast<Device*>(s.pdf.get()),
                      static_cast<Device*>(s.raster.get())}) {
      if (d == nullptr) continue;
      s.figures.push_back(std::make_unique<TeeDevice>(*all, *d));
      all = s.figures.back().get();
    }
    if (!s.figures.empty()) s.tee = all;
  }
  device().begin_page(s.page, s.orientation);
}

void plot_new_page() {
  Seam& s = seam();
  if (!s.open) {
    // No page of ours is open: the driver decides (it writes nothing).
    s.base->begin_page(2, s.orientation);
    return;
  }
  device().end_page();
  device().begin_page(++s.page, s.orientation);
}

void plot_closed() {
  Seam& s = seam();
  if (!s.open) return;
  device().end_page();
  s.open = false;
  s.tee = nullptr;
  s.figures.clear();
  const std::unique_ptr<SvgDevice> svg = std::move(s.svg);
  const std::unique_ptr<PdfDevice> pdf = std::move(s.pdf);
  const std::unique_ptr<CairoDevice> raster = std::move(s.raster);
  const FigurePages pages{svg.get(), pdf.get(), raster.get()};
  if (pages.page_count() == 0 || s.plot_file.empty()) return;
  for (const std::string& failure : write_siblings(pages, s.plot_file, s.formats))
    std::cerr << "polarsketch: " << failure << '\n';
}

}  // namespace polarsketch::render
