// The cairo device: pages recorded as cairo recording surfaces, replayed into
// PDF, SVG, PNG and EPS surfaces cropped to their ink.
#include "render/cairo_device.hpp"

#include <cairo-pdf.h>
#include <cairo-ps.h>
#include <cairo-svg.h>
#include <cairo.h>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <numbers>
#include <sstream>
#include <stdexcept>
#include <string>
#include <string_view>

#include "files/atomic_file.hpp"
#include "render/font_metrics.hpp"
#include "render/fonts.hpp"
#include "render/repeated_shapes.hpp"

namespace polarsketch::render {
namespace {

// Pages are recorded in eighths of a point: cairo measures a recording's
// ink in whole units, and the crop should follow the ink closely.
constexpr double kFine = 8.0;

// Device units to the recording's space: cairo's page space (y down) in
// eighths of a point, (x, y) -> (x, H - y) on the page's paper.
cairo_matrix_t page_matrix(Orientation o) {
  const Paper p = paper_of(o);
  cairo_matrix_t m;
  cairo_matrix_init(&m, kFine, 0.0, 0.0, -kFine, 0.0, p.height * kFine);
  return m;
}

void set_rgb(cairo_t* cr, const Rgb& c) {
  auto unit = [](double v) { return std::isfinite(v) ? std::clamp(v, 0.0, 1.0) : 0.0; };
  cairo_set_source_rgb(cr, unit(c.red), unit(c.green), unit(c.blue));
}

// Adds the points to cr's path as a subpath, last to first when `reversed`.
void add_path(cairo_t* cr, std::span<const Point> points, std::vector<Point>& scratch,
              bool reversed = false) {
  kept_points(points, scratch, reversed);
  cairo_move_to(cr, scratch[0].x, scratch[0].y);
  // A single point still makes a (zero-length) segment, as the driver's
  // line to the same point does.
  if (scratch.size() == 1) cairo_line_to(cr, scratch[0].x, scratch[0].y);
  for (std::size_t i = 1; i < scratch.size(); ++i) cairo_line_to(cr, scratch[i].x, scratch[i].y);
}

// Shapes painted together at most: cairo fills and strokes a path of very
// many subpaths more slowly than the same shapes in small groups.
constexpr int kBatchShapes = 16;

[[noreturn]] void cannot_write(const std::filesystem::path& file, const std::string& reason) {
  throw std::runtime_error("cannot write '" + file.string() + "': " + reason);
}

void check(cairo_status_t status, const std::filesystem::path& file) {
  if (status != CAIRO_STATUS_SUCCESS) cannot_write(file, cairo_status_to_string(status));
}

// A figure's file: written under a temporary name beside the target and
// renamed onto it once complete (see files::AtomicFile). Failures throw.
class FigureFile {
 public:
  explicit FigureFile(const std::filesystem::path& target)
      : target_(target), file_(target.string()) {
    if (!file_.create()) fail();
  }

  const char* name() const { return file_.temp_path().c_str(); }
  void write(std::string_view data) {
    if (!file_.write(data)) fail();
  }
  void commit() {
    if (!file_.commit()) fail();
  }

 private:
  [[noreturn]] void fail() const { cannot_write(target_, file_.error()); }

  std::filesystem::path target_;
  files::AtomicFile file_;
};

// Paints a recording into cr (in points) with the box's corner at the origin.
void replay(cairo_t* cr, cairo_surface_t* recording, const Box& box) {
  cairo_scale(cr, 1.0 / kFine, 1.0 / kFine);
  cairo_set_source_surface(cr, recording, -box.x * kFine, -box.y * kFine);
  cairo_paint(cr);
}

// Replays a recording onto a page of `target`, the box's corner at the
// origin, and ends the page when `show` (a single-page surface needs not).
void paint_page(cairo_surface_t* target, cairo_surface_t* recording, const Box& box, bool show) {
  cairo_t* cr = cairo_create(target);
  replay(cr, recording, box);
  if (show) cairo_show_page(cr);
  cairo_destroy(cr);
}

// Completes a vector surface's file and releases the surface; throws when
// anything failed.
void finish(cairo_surface_t* surface, const std::filesystem::path& file) {
  cairo_surface_finish(surface);
  const cairo_status_t status = cairo_surface_status(surface);
  cairo_surface_destroy(surface);
  check(status, file);
}

cairo_status_t append_bytes(void* closure, const unsigned char* data, unsigned int length) {
  static_cast<std::string*>(closure)->append(reinterpret_cast<const char*>(data), length);
  return CAIRO_STATUS_SUCCESS;
}

// Appends what cairo writes to a string (the closure).
cairo_status_t append_to(void* closure, const unsigned char* data, unsigned int length) {
  static_cast<std::string*>(closure)->append(reinterpret_cast<const char*>(data), length);
  return CAIRO_STATUS_SUCCESS;
}

// Rewrites the bounding box comments of an encapsulated file's text to `box`
// (PostScript's orientation, y up, on a page of the box's size).
void set_bounding_box(std::string& text, const Box& box) {
  std::ostringstream bb;
  bb << "%%BoundingBox: 0 0 " << static_cast<long>(std::ceil(box.width)) << ' '
     << static_cast<long>(std::ceil(box.height));
  std::ostringstream hires;
  hires.setf(std::ios::fixed);
  hires.precision(6);
  hires << "%%HiResBoundingBox: 0 0 " << box.width << ' ' << box.height;
  auto replace_line = [&text](std::string_view head, const std::string& line) {
    const std::size_t at = text.find(head);
    if (at == std::string::npos) return;
    const std::size_t end = text.find('\n', at);
    text.replace(at, end == std::string::npos ? std::string::npos : end - at, line);
  };
  replace_line("%%BoundingBox:", bb.str());
  replace_line("%%HiResBoundingBox:", hires.str());
}

// A mark drawn once on a small image, premultiplied, to be composited at
// every copy: the shape in one paint, with its origin at a quarter-pixel
// phase (copies land within an eighth of a pixel of their place).
struct Stamp {
  int shape = 0;
  bool filled = false;
  Rgb fill, edge;
  double width = 0.0;
  int phase_x = 0, phase_y = 0;  // quarters of a pixel
  cairo_surface_t* image = nullptr;
  int left = 0, top = 0;                   // the origin's whole pixel within the image
  std::vector<std::pair<int, int>> spans;  // each row's inked columns
};

constexpr int kPhases = 4;

// The columns of each row of a stamp that hold ink, [first, end).
void find_spans(Stamp& s) {
  const int w = cairo_image_surface_get_width(s.image), h = cairo_image_surface_get_height(s.image);
  const int stride = cairo_image_surface_get_stride(s.image);
  const unsigned char* data = cairo_image_surface_get_data(s.image);
  s.spans.assign(static_cast<std::size_t>(h), {0, 0});
  for (int j = 0; j < h; ++j) {
    const auto* row = reinterpret_cast<const std::uint32_t*>(data + j * stride);
    int first = 0, end = w;
    while (first < w && (row[first] >> 24) == 0) ++first;
    while (end > first && (row[end - 1] >> 24) == 0) --end;
    s.spans[static_cast<std::size_t>(j)] = {first, end};
  }
}

// Composites `s` (premultiplied ARGB) over the 32-bit pixels of `target`
// with its pixel (left, top) on the target's (x, y); clipped to the target.
void composite(cairo_surface_t* target, const Stamp& s, int x, int y) {
  const int tw = cairo_image_surface_get_width(target), th = cairo_image_surface_get_height(target);
  const int sh = cairo_image_surface_get_height(s.image);
  const int tstride = cairo_image_surface_get_stride(target);
  const int sstride = cairo_image_surface_get_stride(s.image);
  unsigned char* tdata = cairo_image_surface_get_data(target);
  const unsigned char* sdata = cairo_image_surface_get_data(s.image);
  const int x0 = x - s.left, y0 = y - s.top;
  for (int j = std::max(0, -y0); j < sh && y0 + j < th; ++j) {
    const auto* src = reinterpret_cast<const std::uint32_t*>(sdata + j * sstride);
    auto* dst = reinterpret_cast<std::uint32_t*>(tdata + (y0 + j) * tstride) + x0;
    const auto [first, end] = s.spans[static_cast<std::size_t>(j)];
    for (int i = std::max(first, -x0); i < end && x0 + i < tw; ++i) {
      const std::uint32_t p = src[i];
      const std::uint32_t keep = 255 - (p >> 24);
      if (keep == 0) {
        dst[i] = p;
        continue;
      }
      // Two channels at a time: d * keep / 255, rounded.
      const std::uint32_t d = dst[i];
      std::uint32_t rb = (d & 0xff00ffu) * keep + 0x800080u;
      std::uint32_t ag = ((d >> 8) & 0xff00ffu) * keep + 0x800080u;
      rb = ((rb + ((rb >> 8) & 0xff00ffu)) >> 8) & 0xff00ffu;
      ag = (ag + ((ag >> 8) & 0xff00ffu)) & 0xff00ff00u;
      dst[i] = p + (rb | ag);
    }
  }
}

// Strokes at most this many pixels wide are drawn on a raster page by the
// device itself: cairo's cost for a stroke grows with the rows it spans,
// and thousands of great circles across the net took minutes.
constexpr double kThinLine = 2.5;

// Blends `colour` (premultiplied, opaque) at coverage `c` (0..1) over the pixel.
[[gnu::always_inline]] inline void blend(std::uint32_t& pixel, std::uint32_t colour, double c) {
  const auto cover = static_cast<std::uint32_t>(c * 255.0 + 0.5);
  if (cover == 0) return;
  const std::uint32_t keep = 255 - cover;
  std::uint32_t src_rb = (colour & 0xff00ffu) * cover + 0x800080u;
  std::uint32_t src_ag = ((colour >> 8) & 0xff00ffu) * cover + 0x800080u;
  src_rb = ((src_rb + ((src_rb >> 8) & 0xff00ffu)) >> 8) & 0xff00ffu;
  src_ag = (src_ag + ((src_ag >> 8) & 0xff00ffu)) & 0xff00ff00u;
  const std::uint32_t d = pixel;
  std::uint32_t rb = (d & 0xff00ffu) * keep + 0x800080u;
  std::uint32_t ag = ((d >> 8) & 0xff00ffu) * keep + 0x800080u;
  rb = ((rb + ((rb >> 8) & 0xff00ffu)) >> 8) & 0xff00ffu;
  ag = (ag + ((ag >> 8) & 0xff00ffu)) & 0xff00ff00u;
  pixel = (src_rb | src_ag) + (rb | ag);
}

// Strokes a thin line `width` pixels wide through the points (pixels, y
// down) onto the 32-bit pixels of `target`. A pixel takes the coverage of
// its centre's distance from the segment it projects onto; each segment
// paints the pixels projecting onto it, so a joint is not painted twice and
// the ends are butt, and the wedge outside a turn is filled round.
void thin_polyline(cairo_surface_t* target, std::span<const Point> p, double width,
                   const Rgb& colour) {
  const int tw = cairo_image_surface_get_width(target), th = cairo_image_surface_get_height(target);
  const int stride = cairo_image_surface_get_stride(target);
  unsigned char* data = cairo_image_surface_get_data(target);
  auto byte = [](double v) {
    return static_cast<std::uint32_t>(
        std::lround((std::isfinite(v) ? std::clamp(v, 0.0, 1.0) : 0.0) * 255.0));
  };
  const std::uint32_t argb =
      0xff000000u | byte(colour.red) << 16 | byte(colour.green) << 8 | byte(colour.blue);
  const double half = width / 2.0, reach = half + 0.5;
  const auto coverage = [&](double distance) {
    return std::clamp(std::min(width, reach - distance), 0.0, 1.0);
  };
  for (std::size_t k = 0; k + 1 < p.size(); ++k) {
    const Point a = p[k], b = p[k + 1];
    const double dx = b.x - a.x, dy = b.y - a.y, len2 = dx * dx + dy * dy;
    if (!(len2 > 0.0)) continue;
    const double inv_len = 1.0 / std::sqrt(len2), inv_len2 = 1.0 / len2;
    const bool joint = k > 0;  // a turn from the segment before at a
    const Point before = joint ? p[k - 1] : a;
    const double bx = a.x - before.x, by = a.y - before.y, blen2 = bx * bx + by * by;
    const auto paint = [&](int x, int y) {
      if (x < 0 || y < 0 || x >= tw || y >= th) return;
      const double cx = x + 0.5 - a.x, cy = y + 0.5 - a.y;
      const double t = (cx * dx + cy * dy) * inv_len2;
      if (t >= 1.0) return;
      double distance = std::abs(cx * dy - cy * dx) * inv_len;
      if (t < 0.0) {
        // Outside the turn: beyond the segment before too.
        if (!joint || !(blen2 > 0.0) ||
            ((x + 0.5 - before.x) * bx + (y + 0.5 - before.y) * by) < blen2)
          return;
        distance = std::hypot(cx, cy);
      }
      const double c = coverage(distance);
      if (c > 0.0) blend(reinterpret_cast<std::uint32_t*>(data + y * stride)[x], argb, c);
    };
    // Along the segment's longer axis, across it as far as the line reaches.
    if (std::abs(dx) >= std::abs(dy)) {
      const double slope = dy / dx, across = reach * std::sqrt(1.0 + slope * slope) + 0.5;
      const int x_from = static_cast<int>(std::floor(std::min(a.x, b.x) - reach));
      const int x_to = static_cast<int>(std::floor(std::max(a.x, b.x) + reach));
      for (int x = std::max(x_from, 0); x <= std::min(x_to, tw - 1); ++x) {
        const double yc = a.y + (x + 0.5 - a.x) * slope;
        for (int y = static_cast<int>(std::floor(yc - across));
             y <= static_cast<int>(std::floor(yc + across)); ++y)
          paint(x, y);
      }
    } else {
      const double slope = dx / dy, across = reach * std::sqrt(1.0 + slope * slope) + 0.5;
      const int y_from = static_cast<int>(std::floor(std::min(a.y, b.y) - reach));
      const int y_to = static_cast<int>(std::floor(std::max(a.y, b.y) + reach));
      for (int y = std::max(y_from, 0); y <= std::min(y_to, th - 1); ++y) {
        const double xc = a.x + (y + 0.5 - a.y) * slope;
        for (int x = static_cast<int>(std::floor(xc - across));
             x <= static_cast<int>(std::floor(xc + across)); ++x)
          paint(x, y);
      }
    }
  }
}

// Appends what cairo writes to a string (the closure).
cairo_status_t append_bytes(void* closure, const unsigned char* data, unsigned int length);

}  // namespace

struct CairoDevice::Page {
  Orientation orientation = Orientation::portrait;
  cairo_surface_t* surface = nullptr;
  cairo_t* cr = nullptr;
  // A raster page: its scale (pixels a point), ink, marks, and the PNG it
  // becomes when it ends.
  double scale = 0.0;
  InkBox ink;
  ShapeCatalog shapes;
  std::vector<Stamp> stamps;
  bool pixels_written = false;  // pixels written past cairo since it last drew
  std::string png;

  Page(Orientation o, const Raster* raster) : orientation(o) {
    const Paper paper = paper_of(o);
    cairo_matrix_t m = page_matrix(o);
    if (raster != nullptr) {
      scale = raster->dpi / 72.0;
      surface = cairo_image_surface_create(CAIRO_FORMAT_RGB24,
                                           static_cast<int>(std::ceil(paper.width * scale)),
                                           static_cast<int>(std::ceil(paper.height * scale)));
      cr = cairo_create(surface);
      cairo_set_source_rgb(cr, 1.0, 1.0, 1.0);  // the paper
      cairo_paint(cr);
      cairo_matrix_init(&m, scale, 0.0, 0.0, -scale, 0.0, paper.height * scale);
    } else {
      // Bounded by the paper, which clips the drawing as it clips the plot
      // file's page (and an unbounded recording replays far more slowly).
      const cairo_rectangle_t bounds{0.0, 0.0, paper.width * kFine, paper.height * kFine};
      surface = cairo_recording_surface_create(CAIRO_CONTENT_COLOR_ALPHA, &bounds);
      cr = cairo_create(surface);
    }
    cairo_set_matrix(cr, &m);
    // Glyph positions from the fonts' own metrics, as a PostScript
    // interpreter places them.
    cairo_font_options_t* options = cairo_font_options_create();
    cairo_font_options_set_hint_metrics(options, CAIRO_HINT_METRICS_OFF);
    cairo_font_options_set_hint_style(options, CAIRO_HINT_STYLE_NONE);
    cairo_set_font_options(cr, options);
    cairo_font_options_destroy(options);
  }
  ~Page() {
    if (cr != nullptr) cairo_destroy(cr);
    if (surface != nullptr) cairo_surface_destroy(surface);
    for (Stamp& s : stamps) cairo_surface_destroy(s.image);
  }
  Page(const Page&) = delete;
  Page& operator=(const Page&) = delete;

  bool raster() const { return scale > 0.0; }

  // Marks waiting to be composited, all of one colour: copies of one colour
  // over each other give the same pixels in any order, so they are
  // composited row by row, which reads the image of the page in order
  // rather than at random.
  struct Placed {
    int y, x;
    std::size_t stamp;
    bool operator<(const Placed& o) const { return y != o.y ? y < o.y : x < o.x; }
  };
  std::vector<Placed> placed;
  static constexpr std::size_t kPlacedAtMost = std::size_t{1} << 16;

  void composite_placed() {
    std::sort(placed.begin(), placed.end());
    for (const Placed& p : placed) composite(surface, stamps[p.stamp], p.x, p.y);
    placed.clear();
  }

  // Before cairo draws again on pixels written past it, and the reverse.
  void cairo_draws() {
    if (!placed.empty()) composite_placed();
    if (pixels_written) cairo_surface_mark_dirty(surface);
    pixels_written = false;
  }
  void pixels_drawn() {
    if (!pixels_written) cairo_surface_flush(surface);
    pixels_written = true;
  }

  // The raster page cropped by `layout` as PNG.
  std::string encoded(const PageLayout& layout) {
    cairo_draws();
    const Box box = ink.page_box(paper_of(orientation), layout);
    const auto width = static_cast<int>(std::ceil(box.width * scale));
    const auto height = static_cast<int>(std::ceil(box.height * scale));
    cairo_surface_t* crop = cairo_image_surface_create(CAIRO_FORMAT_RGB24, width, height);
    cairo_t* c = cairo_create(crop);
    cairo_set_source_rgb(c, 1.0, 1.0, 1.0);
    cairo_paint(c);
    cairo_set_source_surface(c, surface, -std::round(box.x * scale), -std::round(box.y * scale));
    cairo_paint(c);
    cairo_destroy(c);
    std::string out;
    cairo_status_t status = cairo_surface_status(crop);
    if (status == CAIRO_STATUS_SUCCESS)
      status = cairo_surface_write_to_png_stream(crop, append_bytes, &out);
    cairo_surface_destroy(crop);
    if (status != CAIRO_STATUS_SUCCESS) throw std::runtime_error(cairo_status_to_string(status));
    return out;
  }

  void close(const Raster* raster) {
    if (cr == nullptr) return;
    cairo_destroy(cr);
    cr = nullptr;
    cairo_surface_flush(surface);
    if (raster == nullptr) return;
    // The page is kept as its PNG; the image of the paper goes.
    png = encoded(raster->layout);
    cairo_surface_destroy(surface);
    surface = nullptr;
  }
};

CairoDevice::CairoDevice() = default;
CairoDevice::CairoDevice(Raster raster) : raster_(raster) {}
CairoDevice::~CairoDevice() = default;

CairoDevice::Page* CairoDevice::drawing() {
  return pages_.empty() || pages_.back()->cr == nullptr ? nullptr : pages_.back().get();
}

void CairoDevice::begin_page(int /*number*/, Orientation orientation) {
  end_page();
  pages_.push_back(std::make_unique<Page>(orientation, raster_ ? &*raster_ : nullptr));
}

void CairoDevice::end_page() {
  Page* page = drawing();
  if (page == nullptr) return;
  flush();
  page->close(raster_ ? &*raster_ : nullptr);
}

void CairoDevice::line_width(double width) {
  if (std::isfinite(width)) line_width_ = width;
}

void CairoDevice::flush() {
  if (batch_.shapes == 0) return;
  pages_.back()->cairo_draws();
  cairo_t* cr = pages_.back()->cr;
  set_rgb(cr, batch_.colour);
  if (batch_.filled) cairo_fill_preserve(cr);
  cairo_set_line_width(cr, batch_.width);
  cairo_stroke(cr);
  batch_.shapes = 0;
}

void CairoDevice::join(bool filled, const Rgb& colour) {
  const double width = std::max(line_width_, 0.0);
  if (batch_.shapes >= kBatchShapes || batch_.filled != filled || !(batch_.colour == colour) ||
      batch_.width != width)
    flush();
  batch_ = {filled, colour, width, batch_.shapes + 1};
}

namespace {

void add_ink(InkBox& ink, std::span<const Point> points, double width) {
  const double r = std::max(width, 0.0) / 2.0;
  for (const Point& p : points) {
    const Point f = finite(p);
    ink.add(f.x, f.y, r);
  }
}

}  // namespace

void CairoDevice::polyline(std::span<const Point> points, const Rgb& colour) {
  Page* page = drawing();
  if (page == nullptr || points.empty()) return;
  if (page->raster()) {
    const ShapeCatalog::Sighting seen = page->shapes.see(points, false);
    if (seen.shape >= 0) return stamp(*page, seen.shape, false, {}, colour, finite(points[0]));
    add_ink(page->ink, points, line_width_);
    if (thin(*page, points, false, colour)) return;
  }
  // Strokes of one colour and width cover their union in any order.
  join(false, colour);
  add_path(page->cr, points, scratch_);
}

void CairoDevice::polygon(std::span<const Point> points, bool filled, const Rgb& fill,
                          const Rgb& edge) {
  Page* page = drawing();
  if (page == nullptr || points.empty()) return;
  if (page->raster()) {
    const ShapeCatalog::Sighting seen = page->shapes.see(points, true);
    if (seen.shape >= 0) return stamp(*page, seen.shape, filled, fill, edge, finite(points[0]));
    add_ink(page->ink, points, line_width_);
    if (!filled && thin(*page, points, true, edge)) return;
  }
  cairo_t* cr = page->cr;
  // An outline is a stroke; a convex shape filled in its edge's colour is
  // its union with the others too, once all turn the same way.
  const int turn = filled && fill == edge ? convex_turn(points) : 0;
  if (!filled || turn != 0) {
    join(filled, edge);
    add_path(cr, points, scratch_, turn < 0);
    cairo_close_path(cr);
    return;
  }
  flush();
  page->cairo_draws();
  add_path(cr, points, scratch_);
  cairo_close_path(cr);
  set_rgb(cr, fill);
  cairo_fill_preserve(cr);
  set_rgb(cr, edge);
  cairo_set_line_width(cr, std::max(line_width_, 0.0));
  cairo_stroke(cr);
}

void CairoDevice::text(Point at, std::string_view text, const TextStyle& style) {
  Page* page = drawing();
  // A font of no size shows nothing (and would leave cairo in an error state).
  if (page == nullptr || text.empty() || !(style.size > 0.0) || !std::isfinite(style.size)) return;
  flush();
  page->cairo_draws();
  if (page->raster()) add_text_ink(place_text(at, text, style), style.size, page->ink);
  cairo_t* cr = page->cr;
  const FontFace face = font_face(style.font);
  const std::string shown = text_to_utf8(text, face.symbol);
  const double angle = std::isfinite(style.angle) ? style.angle : 0.0;
  const double theta = angle * std::numbers::pi / 180.0;
  const double height = std::isfinite(style.height) ? style.height : 0.0;

  // The driver first steps down, across the text's direction, by half the
  // text height per vertical alignment step; then it turns to the angle and
  // shifts back along the text by half or all of its width.
  const long long align = std::llabs(static_cast<long long>(style.align));
  const double down = height * 0.5 * static_cast<double>(align / 4);
  const double x = finite_or_zero(at.x) + std::sin(theta) * down;
  const double y = finite_or_zero(at.y) - std::cos(theta) * down;

  cairo_save(cr);
  cairo_select_font_face(cr, std::string(face.family).c_str(),
                         face.italic ? CAIRO_FONT_SLANT_ITALIC : CAIRO_FONT_SLANT_NORMAL,
                         face.bold ? CAIRO_FONT_WEIGHT_BOLD : CAIRO_FONT_WEIGHT_NORMAL);
  cairo_set_font_size(cr, style.size);
  cairo_translate(cr, x, y);
  cairo_rotate(cr, theta);
  cairo_scale(cr, 1.0, -1.0);  // glyphs upright in the y-up device space
  double shift = 0.0;
  const long long horizontal = align % 4;
  if (horizontal >= 2) {
    cairo_text_extents_t extents;
    cairo_text_extents(cr, shown.c_str(), &extents);
    shift = horizontal == 2 ? -extents.x_advance / 2.0 : -extents.x_advance;
  }
  cairo_move_to(cr, shift, 0.0);
  set_rgb(cr, style.colour);
  cairo_show_text(cr, shown.c_str());
  cairo_new_path(cr);
  cairo_restore(cr);
}

bool CairoDevice::thin(Page& page, std::span<const Point> points, bool closed, const Rgb& colour) {
  const double width = line_width_ * page.scale;
  if (!(width > 0.0) || width > kThinLine) return false;
  kept_points(points, scratch_);
  if (closed && scratch_.size() > 1) scratch_.push_back(scratch_.front());
  const double height = paper_of(page.orientation).height;
  for (Point& q : scratch_) q = {q.x * page.scale, (height - q.y) * page.scale};
  flush();
  if (!page.placed.empty()) page.composite_placed();
  page.pixels_drawn();
  thin_polyline(page.surface, scratch_, width, colour);
  return true;
}

void CairoDevice::stamp(Page& page, int shape, bool filled, const Rgb& fill, const Rgb& edge,
                        const Point& at) {
  const double width = std::max(line_width_, 0.0);
  const InkBox& e = page.shapes.extent(shape);
  page.ink.add(at.x + e.left(), at.y + e.bottom(), width / 2.0);
  page.ink.add(at.x + e.right(), at.y + e.top(), width / 2.0);
  const Paper paper = paper_of(page.orientation);
  const double px = at.x * page.scale, py = (paper.height - at.y) * page.scale;
  auto whole_and_phase = [](double v, int& whole) {
    const double q = std::round((v - std::floor(v)) * kPhases);
    whole = static_cast<int>(std::floor(v)) + (q == kPhases ? 1 : 0);
    return q == kPhases ? 0 : static_cast<int>(q);
  };
  int x = 0, y = 0;
  if (!(std::abs(px) < 1e6 && std::abs(py) < 1e6)) return;  // far off the paper
  const int phase_x = whole_and_phase(px, x), phase_y = whole_and_phase(py, y);
  auto it = std::find_if(page.stamps.begin(), page.stamps.end(), [&](const Stamp& s) {
    return s.shape == shape && s.filled == filled && (!filled || s.fill == fill) &&
           s.edge == edge && s.width == width && s.phase_x == phase_x && s.phase_y == phase_y;
  });
  if (it == page.stamps.end()) {
    // The shape in pixels, the origin at its phase, with room for the
    // stroke and the antialiasing.
    Stamp s{shape, filled, fill, edge, width, phase_x, phase_y, nullptr, 0, 0, {}};
    const double k = page.scale, pad = width * k / 2.0 + 2.0;
    s.left = static_cast<int>(std::ceil(-e.left() * k + pad));
    s.top = static_cast<int>(std::ceil(e.top() * k + pad));
    const int w = s.left + static_cast<int>(std::ceil(e.right() * k + pad)) + 1;
    const int h = s.top + static_cast<int>(std::ceil(-e.bottom() * k + pad)) + 1;
    s.image = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, w, h);
    cairo_t* c = cairo_create(s.image);
    const double ox = s.left + static_cast<double>(phase_x) / kPhases;
    const double oy = s.top + static_cast<double>(phase_y) / kPhases;
    for (const Point& o : page.shapes.offsets(shape)) cairo_line_to(c, ox + o.x * k, oy - o.y * k);
    if (page.shapes.closed(shape)) cairo_close_path(c);
    if (filled) {
      set_rgb(c, fill);
      cairo_fill_preserve(c);
    }
    set_rgb(c, edge);
    cairo_set_line_width(c, width * k);
    cairo_stroke(c);
    cairo_destroy(c);
    cairo_surface_flush(s.image);
    find_spans(s);
    page.stamps.push_back(std::move(s));
    it = page.stamps.end() - 1;
  }
  flush();
  page.pixels_drawn();
  const auto index = static_cast<std::size_t>(it - page.stamps.begin());
  if (!page.placed.empty()) {
    const Stamp& run = page.stamps[page.placed.front().stamp];
    if (page.placed.size() >= Page::kPlacedAtMost || run.filled != filled || !(run.edge == edge) ||
        (filled && !(run.fill == fill)))
      page.composite_placed();
  }
  page.placed.push_back({y, x, index});
}

Box CairoDevice::page_box(int index, const PageLayout& layout) const {
  const Page& page = *pages_.at(static_cast<std::size_t>(index));
  if (page.raster()) return page.ink.page_box(paper_of(page.orientation), layout);
  const Paper paper = paper_of(page.orientation);
  const Box whole{0.0, 0.0, paper.width, paper.height};
  if (layout.whole_page) return whole;
  Box ink;
  cairo_recording_surface_ink_extents(page.surface, &ink.x, &ink.y, &ink.width, &ink.height);
  if (!(ink.width > 0.0) || !(ink.height > 0.0)) return whole;
  ink = {ink.x / kFine, ink.y / kFine, ink.width / kFine, ink.height / kFine};
  return {ink.x - layout.margin, ink.y - layout.margin, ink.width + 2.0 * layout.margin,
          ink.height + 2.0 * layout.margin};
}

void CairoDevice::write_pdf(const std::filesystem::path& file, const PageLayout& layout) const {
  if (raster_) throw std::logic_error("a raster device writes PNG alone");
  FigureFile temp(file);
  cairo_surface_t* surface = cairo_pdf_surface_create(temp.name(), 595.0, 842.0);
  cairo_pdf_surface_set_metadata(surface, CAIRO_PDF_METADATA_CREATOR, "polarsketch");
  for (std::size_t i = 0; i < pages_.size(); ++i) {
    const Box box = page_box(static_cast<int>(i), layout);
    cairo_pdf_surface_set_size(surface, box.width, box.height);
    paint_page(surface, pages_[i]->surface, box, true);
  }
  finish(surface, file);
  temp.commit();
}

void CairoDevice::write_svg(const std::filesystem::path& file, int page,
                            const PageLayout& layout) const {
  if (raster_) throw std::logic_error("a raster device writes PNG alone");
  FigureFile temp(file);
  const Box box = page_box(page, layout);
  cairo_surface_t* surface = cairo_svg_surface_create(temp.name(), box.width, box.height);
  cairo_svg_surface_set_document_unit(surface, CAIRO_SVG_UNIT_PT);
  paint_page(surface, pages_.at(static_cast<std::size_t>(page))->surface, box, false);
  finish(surface, file);
  temp.commit();
}

void CairoDevice::write_png(const std::filesystem::path& file, int page, const PageLayout& layout,
                            double dpi) const {
  Page& raster = *pages_.at(static_cast<std::size_t>(page));
  if (raster.raster()) {
    FigureFile out(file);
    try {
      out.write(raster.cr == nullptr ? raster.png : raster.encoded(raster_->layout));
    } catch (const std::runtime_error& e) {
      cannot_write(file, e.what());
    }
    out.commit();
    return;
  }
  FigureFile temp(file);
  const Box box = page_box(page, layout);
  const double scale = dpi / 72.0;
  const auto width = static_cast<int>(std::ceil(box.width * scale));
  const auto height = static_cast<int>(std::ceil(box.height * scale));
  cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_RGB24, width, height);
  cairo_t* cr = cairo_create(surface);
  cairo_set_source_rgb(cr, 1.0, 1.0, 1.0);  // the paper
  cairo_paint(cr);
  cairo_scale(cr, scale, scale);
  replay(cr, pages_.at(static_cast<std::size_t>(page))->surface, box);
  cairo_destroy(cr);
  cairo_status_t status = cairo_surface_status(surface);
  if (status == CAIRO_STATUS_SUCCESS) status = cairo_surface_write_to_png(surface, temp.name());
  cairo_surface_destroy(surface);
  check(status, file);
  temp.commit();
}

void CairoDevice::write_eps(const std::filesystem::path& file, int page,
                            const PageLayout& layout) const {
  if (raster_) throw std::logic_error("a raster device writes PNG alone");
  FigureFile temp(file);
  const Box box = page_box(page, layout);
  // Made in memory, its box set there, then written: the file is never read
  // back (a target the user may write but not read keeps that mode).
  std::string eps;
  cairo_surface_t* surface =
      cairo_ps_surface_create_for_stream(append_to, &eps, box.width, box.height);
  cairo_ps_surface_set_eps(surface, true);
  paint_page(surface, pages_.at(static_cast<std::size_t>(page))->surface, box, true);
  finish(surface, file);
  // cairo bounds the ink alone; the figure's box keeps the margin.
  set_bounding_box(eps, box);
  temp.write(eps);
  temp.commit();
}

}  // namespace polarsketch::render
