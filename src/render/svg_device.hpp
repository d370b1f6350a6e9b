// The SVG device: writes each page as SVG text while it is drawn, without a
// drawing library. Marks repeated across the page (a data symbol at every
// measurement) are defined once and placed with <use>; lines of one colour
// and width are written as one path; text is <text> in the URW stand-ins
// for the PostScript base fonts, with common fallbacks, its extent for the
// crop taken from built-in font metrics.
#pragma once

#include <array>
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "render/device.hpp"
#include "render/page_layout.hpp"
#include "render/repeated_shapes.hpp"
#include "render/spool.hpp"

namespace polarsketch::render {

class SvgDevice final : public Device {
 public:
  SvgDevice();

  void begin_page(int number, Orientation orientation) override;
  void end_page() override;
  void line_width(double width) override;
  void polyline(std::span<const Point> points, const Rgb& colour) override;
  void polygon(std::span<const Point> points, bool filled, const Rgb& fill,
               const Rgb& edge) override;
  void text(Point at, std::string_view text, const TextStyle& style) override;

  // Pages drawn so far (a page being drawn counts).
  int page_count() const { return static_cast<int>(pages_.size()); }
  // The box page `page` (from 0) is written in: its ink plus the layout's
  // margin, or the whole paper (also for a page without ink).
  Box page_box(int page, const PageLayout& layout) const;

  // Page `page` (from 0) as a complete standalone SVG document, cropped to
  // its ink plus the layout's margin, or the whole paper when
  // layout.whole_page.
  std::string document(int page, const PageLayout& layout) const;
  // The same document handed to `sink` piece by piece, so a large page is
  // never held whole (the body of a large page waits on a temporary file).
  // Throws std::runtime_error when that file failed.
  void write_document(int page, const PageLayout& layout,
                      const std::function<void(std::string_view)>& sink) const;
  // Writes the document to `file` under a temporary name renamed into place
  // (no partial file on failure); throws std::runtime_error naming the file.
  void write_svg(const std::filesystem::path& file, int page, const PageLayout& layout) const;

 private:
  // How the elements of a group are painted.
  struct Paint {
    bool filled = false;
    Rgb fill;
    Rgb stroke;
    double width = 0.0;
    friend bool operator==(const Paint&, const Paint&) = default;
  };
  // Where a path seen once stands in the body: a later copy turns it into
  // the shape's first <use>.
  struct Location {
    Spool::Place place;
    std::size_t length = 0;
    Point origin;
  };
  struct Page {
    Orientation orientation = Orientation::portrait;
    Spool body;
    InkBox ink;
    ShapeCatalog shapes;
    std::array<Location, ShapeCatalog::kRemembered> seen_once;
    bool in_group = false;
    Paint paint;
    std::string path;  // the path data of strokes waiting to be written as one path
    bool drawing = true;
  };

  Page* drawing();
  // Writes the waiting strokes.
  void flush_path(Page& page);
  // Ends the open group (after the waiting strokes).
  void close_group(Page& page);
  // Opens a group painted so, unless the open one is.
  void use_paint(Page& page, const Paint& paint);
  // The <use> element of shape `shape` at `at` (device units), in line_.
  void use_element(Page& page, int shape, const Point& at);
  // Draws a copy of a shape, or a path that may become one.
  void mark(Page& page, std::span<const Point> points, bool closed,
            const ShapeCatalog::Sighting& seen);
  // Adds the points to the page's ink and to `d` as a subpath.
  void add_subpath(Page& page, std::string& d, std::span<const Point> points, bool closed);

  std::vector<Page> pages_;
  double line_width_ = 1.0;  // PostScript's initial line width, kept across pages
  std::vector<Point> scratch_;
  std::string line_;  // an element being written
};

}  // namespace polarsketch::render
