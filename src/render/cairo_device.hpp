// The cairo device: records the calls page by page (cairo recording
// surfaces) and writes the pages as PDF, SVG, PNG or encapsulated
// PostScript, cropped to the ink plus a margin or on the whole paper.
// Text is set in the URW fonts that stand in for the PostScript base fonts
// and placed by the PostScript driver's alignment rules.
#pragma once

#include <filesystem>
#include <memory>
#include <optional>
#include <vector>

#include "render/device.hpp"
#include "render/page_layout.hpp"
#include "render/path_points.hpp"

namespace polarsketch::render {

class CairoDevice final : public Device {
 public:
  // A device that draws each page straight onto an image of the paper at
  // `dpi` instead of recording it, and keeps the page as PNG cropped by
  // `layout` once it ends: its memory does not grow with the drawing. It
  // writes PNG only.
  struct Raster {
    double dpi = 150.0;
    PageLayout layout{};
  };

  CairoDevice();
  explicit CairoDevice(Raster raster);
  ~CairoDevice() override;
  CairoDevice(const CairoDevice&) = delete;
  CairoDevice& operator=(const CairoDevice&) = delete;

  void begin_page(int number, Orientation orientation) override;
  void end_page() override;
  void line_width(double width) override;
  void polyline(std::span<const Point> points, const Rgb& colour) override;
  void polygon(std::span<const Point> points, bool filled, const Rgb& fill,
               const Rgb& edge) override;
  void text(Point at, std::string_view text, const TextStyle& style) override;

  // Pages recorded so far (a page being drawn counts).
  int page_count() const { return static_cast<int>(pages_.size()); }
  // The box a page is written in: its ink plus the margin, or the whole
  // paper (also for a page without ink).
  Box page_box(int index, const PageLayout& layout) const;

  // Writers; each writes a temporary file beside `file` and renames it, so a
  // failure leaves no partial file. They throw std::runtime_error naming the
  // file on failure. Pages are indexed from 0. A raster device writes PNG
  // alone, at its own resolution and crop.
  void write_pdf(const std::filesystem::path& file, const PageLayout& layout) const;
  void write_svg(const std::filesystem::path& file, int page, const PageLayout& layout) const;
  void write_png(const std::filesystem::path& file, int page, const PageLayout& layout,
                 double dpi) const;
  void write_eps(const std::filesystem::path& file, int page, const PageLayout& layout) const;

 private:
  struct Page;
  Page* drawing();  // the page being drawn, nullptr between pages

  // Consecutive shapes painted alike (stroked in one colour and width, or
  // filled and stroked in one colour) wait as one path and are painted
  // together: cairo's cost is per painting, and dense data draws thousands
  // of equal symbols.
  struct Batch {
    bool filled = false;
    Rgb colour;
    double width = 0.0;
    int shapes = 0;
  };
  // Paints the waiting shapes.
  void flush();
  // Makes room for one more shape painted so: the waiting shapes are
  // painted first unless they are painted alike and few enough.
  void join(bool filled, const Rgb& colour);

  // A raster page's marks: a copy of a shape seen before is composited from
  // a stamp of the shape drawn once.
  void stamp(Page& page, int shape, bool filled, const Rgb& fill, const Rgb& edge, const Point& at);

  // A raster page's thin strokes, drawn by the device itself; false for a
  // stroke left to cairo (a wide one).
  bool thin(Page& page, std::span<const Point> points, bool closed, const Rgb& colour);

  std::optional<Raster> raster_;
  std::vector<std::unique_ptr<Page>> pages_;
  double line_width_ = 1.0;     // PostScript's initial line width, kept across pages
  std::vector<Point> scratch_;  // a path's points
  Batch batch_;
};

}  // namespace polarsketch::render
