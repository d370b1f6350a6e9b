// The cairo device in a build without cairo (the WebAssembly page): pages
// are counted so that callers see the pages they drew, and every writer
// fails with a message, so a figure asked of it in this build (a PNG) is a
// failure said, never a file that is silently missing.
#include <stdexcept>
#include <string>

#include "render/cairo_device.hpp"

namespace polarsketch::render {

struct CairoDevice::Page {};

namespace {

[[noreturn]] void not_built(const std::filesystem::path& file, const char* format) {
  throw std::runtime_error("cannot write '" + file.string() + "': " + format +
                           " is written through cairo, which this build leaves out");
}

}  // namespace

CairoDevice::CairoDevice() = default;
CairoDevice::CairoDevice(Raster raster) : raster_(raster) {}
CairoDevice::~CairoDevice() = default;

void CairoDevice::begin_page(int, Orientation) { pages_.push_back(std::make_unique<Page>()); }
void CairoDevice::end_page() {}
void CairoDevice::line_width(double width) { line_width_ = width; }
void CairoDevice::polyline(std::span<const Point>, const Rgb&) {}
void CairoDevice::polygon(std::span<const Point>, bool, const Rgb&, const Rgb&) {}
void CairoDevice::text(Point, std::string_view, const TextStyle&) {}

Box CairoDevice::page_box(int, const PageLayout&) const { return {}; }

void CairoDevice::write_pdf(const std::filesystem::path& file, const PageLayout&) const {
  not_built(file, "PDF");
}
void CairoDevice::write_svg(const std::filesystem::path& file, int, const PageLayout&) const {
  not_built(file, "this SVG writer");
}
void CairoDevice::write_png(const std::filesystem::path& file, int, const PageLayout&,
                            double) const {
  not_built(file, "PNG");
}
void CairoDevice::write_eps(const std::filesystem::path& file, int, const PageLayout&) const {
  not_built(file, "EPS");
}

}  // namespace polarsketch::render
