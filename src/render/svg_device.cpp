// The SVG device: page bodies written as they are drawn, documents cropped
// with their view box.
#include "render/svg_device.hpp"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <stdexcept>

#include "files/atomic_file.hpp"
#include "render/decimal_text.hpp"
#include "render/font_metrics.hpp"
#include "render/fonts.hpp"
#include "render/path_points.hpp"

namespace polarsketch::render {
namespace {

// The length a <use> element takes at most (its coordinates are bounded).
constexpr std::size_t kUseRoom = 64;

// Path data of strokes joined into one path at most: readers refuse very
// long attributes (libxml2 stops at ten million bytes).
constexpr std::size_t kPathData = std::size_t{64} << 10;

std::string colour(const Rgb& c) {
  auto byte = [](double v) {
    const double unit = std::isfinite(v) ? std::clamp(v, 0.0, 1.0) : 0.0;
    return static_cast<unsigned>(std::lround(unit * 255.0));
  };
  static constexpr char kHex[] = "0123456789abcdef";
  std::string s = "#";
  for (const unsigned b : {byte(c.red), byte(c.green), byte(c.blue)}) {
    s += kHex[b >> 4];
    s += kHex[b & 15];
  }
  return s;
}

// The text with the characters XML reserves escaped.
std::string escaped(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (const char c : text) {
    switch (c) {
      case '&':
        out += "&amp;";
        break;
      case '<':
        out += "&lt;";
        break;
      case '>':
        out += "&gt;";
        break;
      default:
        out += c;
    }
  }
  return out;
}

// The families to try for a face: the URW font first, then what a reader
// without it most likely has.
std::string_view font_families(const FontFace& face) {
  if (face.family == "Nimbus Sans") return "'Nimbus Sans',Helvetica,Arial,sans-serif";
  if (face.family == "Nimbus Roman") return "'Nimbus Roman',Times,'Times New Roman',serif";
  if (face.family == "Standard Symbols PS") return "'Standard Symbols PS',Symbol";
  return "'Nimbus Mono PS',Courier,'Courier New',monospace";
}

}  // namespace

SvgDevice::SvgDevice() = default;

SvgDevice::Page* SvgDevice::drawing() {
  return pages_.empty() || !pages_.back().drawing ? nullptr : &pages_.back();
}

void SvgDevice::begin_page(int /*number*/, Orientation orientation) {
  end_page();
  pages_.emplace_back();
  pages_.back().orientation = orientation;
}

void SvgDevice::end_page() {
  Page* page = drawing();
  if (page == nullptr) return;
  close_group(*page);
  page->drawing = false;
  page->path.shrink_to_fit();
}

void SvgDevice::line_width(double width) {
  if (std::isfinite(width)) line_width_ = width;
}

void SvgDevice::flush_path(Page& page) {
  if (page.path.empty()) return;
  page.body.append("<path d=\"");
  page.body.append(page.path);
  page.body.append("\"/>\n");
  page.path.clear();
}

void SvgDevice::close_group(Page& page) {
  flush_path(page);
  if (!page.in_group) return;
  page.body.append("</g>\n");
  page.in_group = false;
}

void SvgDevice::use_paint(Page& page, const Paint& paint) {
  if (page.in_group && page.paint == paint) return;
  close_group(page);
  std::string g = "<g fill=\"";
  g += paint.filled ? colour(paint.fill) : "none";
  g +=
      "\" stroke=\"" + colour(paint.stroke) + "\" stroke-width=\"" + decimal(paint.width) + "\">\n";
  page.body.append(g);
  page.in_group = true;
  page.paint = paint;
}

void SvgDevice::add_subpath(Page& page, std::string& d, std::span<const Point> points,
                            bool closed) {
  const double height = paper_of(page.orientation).height;
  const double r = std::max(line_width_, 0.0) / 2.0;
  kept_points(points, scratch_);
  long long x = 0, y = 0;
  for (std::size_t i = 0; i < scratch_.size(); ++i) {
    const Point& p = scratch_[i];
    page.ink.add(p.x, p.y, r);
    const long long px = hundredths(p.x), py = hundredths(height - p.y);
    if (i == 0) {
      d += 'M';
      append_pair(d, px, py, true);
      if (scratch_.size() == 1) d += "h0";  // a single point: a segment of no length
    } else {
      d += i == 1 ? "l" : "";
      append_pair(d, px - x, py - y, true);
    }
    x = px;
    y = py;
  }
  if (closed) d += 'Z';
}

void SvgDevice::use_element(Page& page, int shape, const Point& at) {
  const double height = paper_of(page.orientation).height;
  std::string& use = line_;
  use = "<use xlink:href=\"#m";
  use += std::to_string(shape);
  use += "\" x=\"";
  append_hundredths(use, hundredths(at.x));
  use += "\" y=\"";
  append_hundredths(use, hundredths(height - at.y));
  use += "\"/>";
}

void SvgDevice::mark(Page& page, std::span<const Point> points, bool closed,
                     const ShapeCatalog::Sighting& seen) {
  flush_path(page);
  if (seen.shape < 0) {
    // Written alone and padded, so that a <use> fits in its place.
    add_subpath(page, page.path, points, closed);
    std::string& element = line_;
    element = "<path d=\"" + page.path + "\"/>";
    page.path.clear();
    if (element.size() < kUseRoom) element.resize(kUseRoom, ' ');
    element += '\n';
    page.seen_once[static_cast<std::size_t>(seen.remembered)] = {
        page.body.append(element), element.size() - 1, finite(points[0])};
    return;
  }
  const double r = std::max(line_width_, 0.0) / 2.0;
  const Point at = finite(points[0]);
  const InkBox& e = page.shapes.extent(seen.shape);
  page.ink.add(at.x + e.left(), at.y + e.bottom(), r);
  page.ink.add(at.x + e.right(), at.y + e.top(), r);
  if (seen.first_copy >= 0) {
    const Location& first = page.seen_once[static_cast<std::size_t>(seen.first_copy)];
    use_element(page, seen.shape, first.origin);
    if (line_.size() <= first.length) {
      line_.resize(first.length, ' ');
      page.body.overwrite(first.place, line_);
    }
  }
  use_element(page, seen.shape, at);
  line_ += '\n';
  page.body.append(line_);
}

void SvgDevice::polyline(std::span<const Point> points, const Rgb& colour) {
  Page* page = drawing();
  if (page == nullptr || points.empty()) return;
  const Paint paint{false, {}, colour, std::max(line_width_, 0.0)};
  const ShapeCatalog::Sighting seen = page->shapes.see(points, false);
  use_paint(*page, paint);
  if (seen.shape >= 0 || seen.remembered >= 0) {
    mark(*page, points, false, seen);
    return;
  }
  // Strokes of one colour and width cover their union in any order.
  add_subpath(*page, page->path, points, false);
  if (page->path.size() > kPathData) flush_path(*page);
}

void SvgDevice::polygon(std::span<const Point> points, bool filled, const Rgb& fill,
                        const Rgb& edge) {
  Page* page = drawing();
  if (page == nullptr || points.empty()) return;
  const Paint paint{filled, filled ? fill : Rgb{}, edge, std::max(line_width_, 0.0)};
  const ShapeCatalog::Sighting seen = page->shapes.see(points, true);
  use_paint(*page, paint);
  if (seen.shape >= 0 || seen.remembered >= 0) {
    mark(*page, points, true, seen);
    return;
  }
  if (!filled) {
    add_subpath(*page, page->path, points, true);
    if (page->path.size() > kPathData) flush_path(*page);
    return;
  }
  // A filled shape alone: filled together, shapes winding apart would leave
  // holes where they overlap.
  flush_path(*page);
  add_subpath(*page, page->path, points, true);
  flush_path(*page);
}

void SvgDevice::text(Point at, std::string_view text, const TextStyle& style) {
  Page* page = drawing();
  // A font of no size shows nothing.
  if (page == nullptr || text.empty() || !(style.size > 0.0) || !std::isfinite(style.size)) return;
  close_group(*page);
  const double height = paper_of(page->orientation).height;
  const TextPlacement placed = place_text(at, text, style);
  add_text_ink(placed, style.size, page->ink);
  const FontFace face = font_face(style.font);

  const std::string x = decimal(placed.anchor.x), y = decimal(height - placed.anchor.y);
  std::string t = "<text x=\"" + x + "\" y=\"" + y + "\" font-family=\"";
  t += font_families(face);
  t += "\" font-size=\"" + decimal(style.size) + "\"";
  if (face.bold) t += " font-weight=\"bold\"";
  if (face.italic) t += " font-style=\"italic\"";
  if (placed.horizontal == 2) t += " text-anchor=\"middle\"";
  if (placed.horizontal == 3) t += " text-anchor=\"end\"";
  const double degrees = placed.angle * 180.0 / std::numbers::pi;
  if (degrees != 0.0) t += " transform=\"rotate(" + decimal(-degrees) + ' ' + x + ' ' + y + ")\"";
  t += " fill=\"" + colour(style.colour) + "\">";
  t += escaped(text_to_utf8(text, face.symbol));
  t += "</text>\n";
  page->body.append(t);
}

Box SvgDevice::page_box(int page, const PageLayout& layout) const {
  const Page& p = pages_.at(static_cast<std::size_t>(page));
  return p.ink.page_box(paper_of(p.orientation), layout);
}

void SvgDevice::write_document(int page, const PageLayout& layout,
                               const std::function<void(std::string_view)>& sink) const {
  const Page& p = pages_.at(static_cast<std::size_t>(page));
  const Paper paper = paper_of(p.orientation);
  const Box box = page_box(page, layout);
  // Ink beyond the paper is clipped to it, as the paper clips the plot
  // file's page.
  const bool clip = !p.ink.empty() && (p.ink.left() < 0.0 || p.ink.bottom() < 0.0 ||
                                       p.ink.right() > paper.width || p.ink.top() > paper.height);
  std::string head =
      "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
      "<svg xmlns=\"http://www.w3.org/2000/svg\" xmlns:xlink=\"http://www.w3.org/1999/xlink\" "
      "version=\"1.1\" width=\"" +
      decimal(box.width) + "pt\" height=\"" + decimal(box.height) + "pt\" viewBox=\"" +
      decimal(box.x) + ' ' + decimal(box.y) + ' ' + decimal(box.width) + ' ' + decimal(box.height) +
      "\" stroke-miterlimit=\"10\" xml:space=\"preserve\">\n";
  if (p.shapes.size() > 0 || clip) {
    head += "<defs>\n";
    for (int k = 0; k < p.shapes.size(); ++k) {
      head += "<path id=\"m" + std::to_string(k) + "\" d=\"M0 0";
      const std::vector<Point>& offsets = p.shapes.offsets(k);
      long long x = 0, y = 0;
      for (std::size_t i = 1; i < offsets.size(); ++i) {
        const long long px = hundredths(offsets[i].x), py = hundredths(-offsets[i].y);
        head += i == 1 ? "l" : "";
        append_pair(head, px - x, py - y, true);
        x = px;
        y = py;
      }
      head += p.shapes.closed(k) ? "Z\"/>\n" : "\"/>\n";
    }
    if (clip)
      head += "<clipPath id=\"paper\"><rect width=\"" + decimal(paper.width) + "\" height=\"" +
              decimal(paper.height) + "\"/></clipPath>\n";
    head += "</defs>\n";
  }
  if (clip) head += "<g clip-path=\"url(#paper)\">\n";
  sink(head);
  p.body.read(sink);
  // A page still being drawn: its open group and waiting strokes.
  if (p.drawing) {
    if (!p.path.empty()) sink("<path d=\"" + p.path + "\"/>\n");
    if (p.in_group) sink("</g>\n");
  }
  sink(clip ? "</g>\n</svg>\n" : "</svg>\n");
}

std::string SvgDevice::document(int page, const PageLayout& layout) const {
  std::string out;
  write_document(page, layout, [&out](std::string_view piece) { out += piece; });
  return out;
}

void SvgDevice::write_svg(const std::filesystem::path& file, int page,
                          const PageLayout& layout) const {
  files::AtomicFile out(file.string());
  const auto fail = [&] {
    throw std::runtime_error("cannot write '" + file.string() + "': " + out.error());
  };
  if (!out.create()) fail();
  bool written = true;
  write_document(page, layout, [&](std::string_view piece) {
    if (written) written = out.write(piece);
  });
  if (!written) fail();
  if (!out.commit()) fail();
}

}  // namespace polarsketch::render
