// The PDF device: content streams compressed as they are drawn, marks as
// form XObjects, documents assembled with their cross-reference table.
#include "render/pdf_device.hpp"

#include <zlib.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <stdexcept>

#include "files/atomic_file.hpp"
#include "render/decimal_text.hpp"
#include "render/font_metrics.hpp"
#include "render/fonts.hpp"
#include "render/path_points.hpp"
#include "render/spool.hpp"

namespace polarsketch::render {
namespace {

// Content waits uncompressed up to this size, then goes through zlib.
constexpr std::size_t kPending = std::size_t{64} << 10;
// Points of strokes joined into one path at most: readers handle paths of
// millions of points badly, or not at all.
constexpr std::size_t kPathPoints = 4096;

// A colour component as written: three decimals at most, 0..1.
std::string component(double v) {
  return decimal(std::isfinite(v) ? std::clamp(v, 0.0, 1.0) : 0.0);
}

std::string colour_operands(const Rgb& c) {
  return component(c.red) + ' ' + component(c.green) + ' ' + component(c.blue);
}

// The text bytes as a PDF string: the font's own (standard) encoding shows
// them as the plot file does; control codes show as blanks.
std::string pdf_string(std::string_view text) {
  std::string s = "(";
  for (const char b : text) {
    const auto c = static_cast<unsigned char>(b);
    if (c == '(' || c == ')' || c == '\\') {
      s += '\\';
      s += b;
    } else if (c < 32 || c == 127) {
      s += ' ';
    } else if (c >= 128) {
      s += '\\';
      s += static_cast<char>('0' + (c >> 6));
      s += static_cast<char>('0' + ((c >> 3) & 7));
      s += static_cast<char>('0' + (c & 7));
    } else {
      s += b;
    }
  }
  return s + ")";
}

[[noreturn]] void zlib_failed() { throw std::runtime_error("the PDF writer's compression failed"); }

}  // namespace

// A form drawn for a shape: filled (fill and stroke) or stroked alone.
struct Form {
  int shape = 0;
  bool filled = false;
  double widest = 0.0;  // the widest line it was placed with
};

struct PdfDevice::Page {
  Orientation orientation = Orientation::portrait;
  InkBox ink;
  ShapeCatalog shapes;
  std::vector<Form> forms;
  z_stream zs{};
  bool drawing = true;
  std::string pending;  // content not yet compressed
  Spool stream;         // the compressed content
  // The graphics state written so far.
  bool has_stroke = false, has_fill = false;
  Rgb stroke, fill;
  double width = -1.0;
  bool path_waiting = false;    // subpaths waiting for their stroke
  std::size_t path_points = 0;  // their points
  bool in_run = false;          // between the q and Q of placed marks
  long long tx = 0, ty = 0;     // the translation in the run, hundredths

  explicit Page(Orientation o) : orientation(o) {
    if (deflateInit(&zs, Z_BEST_SPEED) != Z_OK) zlib_failed();
  }
  ~Page() { deflateEnd(&zs); }
  Page(const Page&) = delete;
  Page& operator=(const Page&) = delete;
};

namespace {

// Compresses `in` through `zs` onto `out`, finishing the stream when `finish`.
template <class Out>
void deflate_onto(z_stream& zs, std::string_view in, Out& out, bool finish) {
  zs.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(in.data()));
  zs.avail_in = static_cast<uInt>(in.size());
  unsigned char buffer[1 << 15];
  int status = Z_OK;
  do {
    zs.next_out = buffer;
    zs.avail_out = sizeof buffer;
    status = deflate(&zs, finish ? Z_FINISH : Z_NO_FLUSH);
    if (status == Z_STREAM_ERROR) zlib_failed();
    out.append(
        std::string_view(reinterpret_cast<const char*>(buffer), sizeof buffer - zs.avail_out));
  } while (zs.avail_out == 0 || (finish && status != Z_STREAM_END));
}

}  // namespace

PdfDevice::PdfDevice() = default;
PdfDevice::~PdfDevice() = default;

PdfDevice::Page* PdfDevice::drawing() {
  return pages_.empty() || !pages_.back()->drawing ? nullptr : pages_.back().get();
}

void PdfDevice::compress(Page& page, bool finish) {
  deflate_onto(page.zs, page.pending, page.stream, finish);
  page.pending.clear();
}

void PdfDevice::emit(Page& page, std::string_view text) {
  page.pending += text;
  if (page.pending.size() > kPending) compress(page, false);
}

void PdfDevice::begin_page(int /*number*/, Orientation orientation) {
  end_page();
  pages_.push_back(std::make_unique<Page>(orientation));
}

void PdfDevice::end_page() {
  Page* page = drawing();
  if (page == nullptr) return;
  settle(*page);
  compress(*page, true);
  page->drawing = false;
  page->pending.shrink_to_fit();
}

void PdfDevice::line_width(double width) {
  if (std::isfinite(width)) line_width_ = width;
}

void PdfDevice::settle(Page& page) {
  if (page.path_waiting) emit(page, "S\n");
  page.path_waiting = false;
  page.path_points = 0;
  if (page.in_run) emit(page, "Q\n");
  page.in_run = false;
}

void PdfDevice::set_width(Page& page) {
  const double w = std::max(line_width_, 0.0);
  if (page.width == w) return;
  emit(page, decimal(w) + " w\n");
  page.width = w;
}

void PdfDevice::set_stroke(Page& page, const Rgb& c) {
  if (page.has_stroke && page.stroke == c) return;
  emit(page, colour_operands(c) + " RG\n");
  page.has_stroke = true;
  page.stroke = c;
}

void PdfDevice::set_fill(Page& page, const Rgb& c) {
  if (page.has_fill && page.fill == c) return;
  emit(page, colour_operands(c) + " rg\n");
  page.has_fill = true;
  page.fill = c;
}

void PdfDevice::add_subpath(Page& page, std::span<const Point> points, bool closed) {
  const double r = std::max(line_width_, 0.0) / 2.0;
  kept_points(points, scratch_);
  std::string d;
  for (std::size_t i = 0; i < scratch_.size(); ++i) {
    const Point& p = scratch_[i];
    page.ink.add(p.x, p.y, r);
    append_pair(d, hundredths(p.x), hundredths(p.y));
    d += i == 0 ? " m" : " l";
  }
  // A single point still makes a (zero-length) segment, as the driver's
  // line to the same point does.
  if (scratch_.size() == 1) {
    append_pair(d, hundredths(scratch_[0].x), hundredths(scratch_[0].y));
    d += " l";
  }
  d += closed ? " h\n" : "\n";
  emit(page, d);
}

void PdfDevice::place(Page& page, int shape, bool filled, const Point& at) {
  auto form = std::find_if(page.forms.begin(), page.forms.end(),
                           [&](const Form& f) { return f.shape == shape && f.filled == filled; });
  if (form == page.forms.end()) form = page.forms.insert(page.forms.end(), {shape, filled, 0.0});
  const double w = std::max(line_width_, 0.0);
  form->widest = std::max(form->widest, w);
  const InkBox& e = page.shapes.extent(shape);
  page.ink.add(at.x + e.left(), at.y + e.bottom(), w / 2.0);
  page.ink.add(at.x + e.right(), at.y + e.top(), w / 2.0);
  if (!page.in_run) {
    emit(page, "q\n");
    page.in_run = true;
    page.tx = page.ty = 0;
  }
  // Each mark moves the origin on from the last one.
  const long long x = hundredths(at.x), y = hundredths(at.y);
  std::string line = "1 0 0 1";
  append_pair(line, x - page.tx, y - page.ty);
  line += " cm/M" + std::to_string(form - page.forms.begin()) + " Do\n";
  emit(page, line);
  page.tx = x;
  page.ty = y;
}

void PdfDevice::polyline(std::span<const Point> points, const Rgb& colour) {
  Page* page = drawing();
  if (page == nullptr || points.empty()) return;
  const ShapeCatalog::Sighting seen = page->shapes.see(points, false);
  const double w = std::max(line_width_, 0.0);
  if (seen.shape >= 0) {
    if (page->path_waiting || !(page->has_stroke && page->stroke == colour) || page->width != w)
      settle(*page);
    set_width(*page);
    set_stroke(*page, colour);
    place(*page, seen.shape, false, finite(points[0]));
    return;
  }
  // Strokes of one colour and width cover their union in any order.
  if (page->in_run || !(page->has_stroke && page->stroke == colour) || page->width != w)
    settle(*page);
  set_width(*page);
  set_stroke(*page, colour);
  add_subpath(*page, points, false);
  page->path_waiting = true;
  page->path_points += points.size();
  if (page->path_points > kPathPoints) settle(*page);
}

void PdfDevice::polygon(std::span<const Point> points, bool filled, const Rgb& fill,
                        const Rgb& edge) {
  Page* page = drawing();
  if (page == nullptr || points.empty()) return;
  const ShapeCatalog::Sighting seen = page->shapes.see(points, true);
  const double w = std::max(line_width_, 0.0);
  const bool alike = page->has_stroke && page->stroke == edge && page->width == w &&
                     (!filled || (page->has_fill && page->fill == fill));
  if (seen.shape >= 0) {
    if (page->path_waiting || !alike) settle(*page);
    set_width(*page);
    set_stroke(*page, edge);
    if (filled) set_fill(*page, fill);
    place(*page, seen.shape, filled, finite(points[0]));
    return;
  }
  if (page->in_run || !alike || (filled && page->path_waiting)) settle(*page);
  set_width(*page);
  set_stroke(*page, edge);
  if (!filled) {
    add_subpath(*page, points, true);
    page->path_waiting = true;
    page->path_points += points.size();
    if (page->path_points > kPathPoints) settle(*page);
    return;
  }
  // Filled, then stroked in the edge colour, as the driver paints it.
  set_fill(*page, fill);
  add_subpath(*page, points, true);
  emit(*page, "B\n");
}

void PdfDevice::text(Point at, std::string_view text, const TextStyle& style) {
  Page* page = drawing();
  // A font of no size shows nothing.
  if (page == nullptr || text.empty() || !(style.size > 0.0) || !std::isfinite(style.size)) return;
  settle(*page);
  const TextPlacement placed = place_text(at, text, style);
  add_text_ink(placed, style.size, page->ink);
  const std::string font(base_font_name(style.font));
  auto it = fonts_.find(font);
  if (it == fonts_.end()) it = fonts_.emplace(font, static_cast<int>(fonts_.size())).first;
  set_fill(*page, style.colour);
  const double c = std::cos(placed.angle), s = std::sin(placed.angle);
  std::string t = "BT /F" + std::to_string(it->second) + ' ' + decimal(style.size) + " Tf " +
                  decimal(c) + ' ' + decimal(s) + ' ' + decimal(-s) + ' ' + decimal(c) + ' ' +
                  decimal(placed.start.x) + ' ' + decimal(placed.start.y) + " Tm " +
                  pdf_string(text) + " Tj ET\n";
  emit(*page, t);
}

Box PdfDevice::page_box(int page, const PageLayout& layout) const {
  const Page& p = *pages_.at(static_cast<std::size_t>(page));
  return p.ink.page_box(paper_of(p.orientation), layout);
}

void PdfDevice::write_document(const PageLayout& layout,
                               const std::function<void(std::string_view)>& sink) const {
  std::size_t written = 0;
  std::vector<std::size_t> offsets{0};  // object 0 is the free list's head
  const auto put = [&](std::string_view s) {
    sink(s);
    written += s.size();
  };
  const auto begin_object = [&](std::size_t number) {
    if (offsets.size() <= number) offsets.resize(number + 1);
    offsets[number] = written;
    put(std::to_string(number) + " 0 obj\n");
  };
  const auto stream_object = [&](std::size_t number, const std::string& dictionary,
                                 std::string_view data) {
    begin_object(number);
    put("<<" + dictionary + " /Length " + std::to_string(data.size()) + ">>\nstream\n");
    put(data);
    put("\nendstream\nendobj\n");
  };

  // Numbers: 1 catalogue, 2 page tree, 3 information, then the fonts, then
  // each page with its two content streams and its forms.
  const std::size_t first_font = 4;
  std::vector<std::size_t> page_object;
  std::size_t next = first_font + fonts_.size();
  for (const auto& p : pages_) {
    page_object.push_back(next);
    next += 3 + p->forms.size();
  }

  put("%PDF-1.4\n%\xe2\xe3\xcf\xd3\n");
  begin_object(1);
  put("<</Type /Catalog /Pages 2 0 R>>\nendobj\n");
  begin_object(2);
  std::string kids;
  for (const std::size_t n : page_object) kids += std::to_string(n) + " 0 R ";
  put("<</Type /Pages /Kids [" + kids + "] /Count " + std::to_string(pages_.size()) +
      ">>\nendobj\n");
  begin_object(3);
  put("<</Creator (polarsketch) /Producer (polarsketch)>>\nendobj\n");
  std::string font_resources;
  for (const auto& [name, number] : fonts_) {
    const std::size_t object = first_font + static_cast<std::size_t>(number);
    begin_object(object);
    put("<</Type /Font /Subtype /Type1 /BaseFont /" + name + ">>\nendobj\n");
    font_resources += "/F" + std::to_string(number) + ' ' + std::to_string(object) + " 0 R ";
  }

  for (std::size_t i = 0; i < pages_.size(); ++i) {
    const Page& p = *pages_[i];
    const Box box = page_box(static_cast<int>(i), layout);
    const std::size_t n = page_object[i];
    std::string forms;
    for (std::size_t k = 0; k < p.forms.size(); ++k)
      forms += "/M" + std::to_string(k) + ' ' + std::to_string(n + 3 + k) + " 0 R ";
    begin_object(n);
    put("<</Type /Page /Parent 2 0 R /MediaBox [0 0 " + decimal(box.width) + ' ' +
        decimal(box.height) + "] /Resources <</Font <<" + font_resources + ">> /XObject <<" +
        forms + ">>>> /Contents [" + std::to_string(n + 1) + " 0 R " + std::to_string(n + 2) +
        " 0 R]>>\nendobj\n");
    stream_object(n + 1, "", crop_prefix(p, box));
    begin_object(n + 2);
    put("<</Filter /FlateDecode /Length " + std::to_string(compressed_size(p)) + ">>\nstream\n");
    compressed_content(p, put);
    put("\nendstream\nendobj\n");
    for (std::size_t k = 0; k < p.forms.size(); ++k) {
      const Form& f = p.forms[k];
      const InkBox& e = p.shapes.extent(f.shape);
      const double r = f.widest / 2.0 + 1.0;
      stream_object(n + 3 + k,
                    "/Type /XObject /Subtype /Form /BBox [" + decimal(e.left() - r) + ' ' +
                        decimal(e.bottom() - r) + ' ' + decimal(e.right() + r) + ' ' +
                        decimal(e.top() + r) + "]",
                    form_content(p, k));
    }
  }

  const std::size_t xref = written;
  std::string table = "xref\n0 " + std::to_string(offsets.size()) + "\n0000000000 65535 f \n";
  for (std::size_t k = 1; k < offsets.size(); ++k) {
    char entry[24];
    std::snprintf(entry, sizeof entry, "%010zu 00000 n \n", offsets[k]);
    table += entry;
  }
  table += "trailer\n<</Size " + std::to_string(offsets.size()) +
           " /Root 1 0 R /Info 3 0 R>>\nstartxref\n" + std::to_string(xref) + "\n%%EOF\n";
  put(table);
}

std::string PdfDevice::document(const PageLayout& layout) const {
  std::string out;
  write_document(layout, [&out](std::string_view piece) { out += piece; });
  return out;
}

std::string PdfDevice::form_content(const Page& p, std::size_t form) {
  const Form& f = p.forms[form];
  std::string d;
  const std::vector<Point>& offsets = p.shapes.offsets(f.shape);
  for (std::size_t j = 0; j < offsets.size(); ++j) {
    append_pair(d, hundredths(offsets[j].x), hundredths(offsets[j].y));
    d += j == 0 ? " m" : " l";
  }
  d += f.filled ? " h B" : p.shapes.closed(f.shape) ? " h S" : " S";
  return d;
}

std::string PdfDevice::crop_prefix(const Page& p, const Box& box) {
  // The crop moves the box's corner to the origin; ink beyond the paper is
  // clipped to it, as the paper clips the plot file's page.
  const Paper paper = paper_of(p.orientation);
  std::string prefix =
      "1 0 0 1 " + decimal(-box.x) + ' ' + decimal(box.y + box.height - paper.height) + " cm\n";
  if (!p.ink.empty() && (p.ink.left() < 0.0 || p.ink.bottom() < 0.0 ||
                         p.ink.right() > paper.width || p.ink.top() > paper.height))
    prefix += "0 0 " + decimal(paper.width) + ' ' + decimal(paper.height) + " re W n\n";
  return prefix;
}

namespace {

// The compressed end of a page still being drawn, finished on a copy of its stream.
std::string finished_tail(const z_stream& zs, const std::string& rest) {
  z_stream copy{};
  if (deflateCopy(&copy, const_cast<z_stream*>(&zs)) != Z_OK) zlib_failed();
  std::string tail;
  deflate_onto(copy, rest, tail, true);
  deflateEnd(&copy);
  return tail;
}

}  // namespace

std::size_t PdfDevice::compressed_size(const Page& p) {
  if (!p.drawing) return p.stream.size();
  return p.stream.size() +
         finished_tail(p.zs, p.pending + (p.path_waiting ? "S\n" : "") + (p.in_run ? "Q\n" : ""))
             .size();
}

void PdfDevice::compressed_content(const Page& p,
                                   const std::function<void(std::string_view)>& sink) {
  p.stream.read(sink);
  if (p.drawing)
    sink(finished_tail(p.zs, p.pending + (p.path_waiting ? "S\n" : "") + (p.in_run ? "Q\n" : "")));
}

void PdfDevice::write_file(
    const std::filesystem::path& file,
    const std::function<void(const std::function<void(std::string_view)>&)>& write) {
  files::AtomicFile out(file.string());
  const auto fail = [&](const std::string& why) {
    throw std::runtime_error("cannot write '" + file.string() + "': " + why);
  };
  if (!out.create()) fail(out.error());
  bool written = true;
  try {
    write([&](std::string_view piece) {
      if (written) written = out.write(piece);
    });
  } catch (const std::runtime_error& e) {
    fail(e.what());
  }
  if (!written) fail(out.error());
  if (!out.commit()) fail(out.error());
}

void PdfDevice::write_pdf(const std::filesystem::path& file, const PageLayout& layout) const {
  write_file(file, [&](const auto& sink) { write_document(layout, sink); });
}

namespace {

// The PDF operators of the content, forms and fonts as PostScript
// procedures: fill and stroke colours kept apart, text drawn through its
// own matrix in the fill colour.
constexpr std::string_view kEpsProlog =
    "/sc [0 0 0] def /fc [0 0 0] def /tm [1 0 0 1 0 0] def\n"
    "/w {setlinewidth} bind def\n"
    "/RG {3 array astore /sc exch def} bind def\n"
    "/rg {3 array astore /fc exch def} bind def\n"
    "/m {moveto} bind def /l {lineto} bind def /h {closepath} bind def\n"
    "/S {sc aload pop setrgbcolor stroke} bind def\n"
    "/B {gsave fc aload pop setrgbcolor fill grestore S} bind def\n"
    "/q {gsave} bind def /Q {grestore} bind def\n"
    "/cm {6 array astore concat} bind def\n"
    "/Do {cvx exec} bind def\n"
    "/re {4 2 roll moveto 1 index 0 rlineto 0 exch rlineto neg 0 rlineto closepath} bind def\n"
    "/W {clip} bind def /n {newpath} bind def\n"
    "/BT {} def /ET {} def\n"
    "/Tf {exch cvx exec exch scalefont setfont} bind def\n"
    "/Tm {6 array astore /tm exch def} bind def\n"
    "/Tj {gsave tm concat 0 0 moveto fc aload pop setrgbcolor show grestore} bind def\n";

}  // namespace

void PdfDevice::write_eps_document(int page, const PageLayout& layout,
                                   const std::function<void(std::string_view)>& sink) const {
  const Page& p = *pages_.at(static_cast<std::size_t>(page));
  const Box box = page_box(page, layout);
  std::string head = "%!PS-Adobe-3.0 EPSF-3.0\n%%BoundingBox: 0 0 " +
                     std::to_string(static_cast<long>(std::ceil(box.width))) + ' ' +
                     std::to_string(static_cast<long>(std::ceil(box.height))) +
                     "\n%%HiResBoundingBox: 0 0 " + decimal(box.width) + ' ' + decimal(box.height) +
                     "\n%%Creator: polarsketch\n%%LanguageLevel: 2\n%%Pages: 1\n%%EndComments\n"
                     "%%BeginProlog\nsave\n/polarsketch 64 dict def polarsketch begin\n";
  head += kEpsProlog;
  for (const auto& [name, number] : fonts_)
    head += "/F" + std::to_string(number) + " {/" + name + " findfont} def\n";
  for (std::size_t k = 0; k < p.forms.size(); ++k)
    head += "/M" + std::to_string(k) + " {" + form_content(p, k) + "} def\n";
  head += "%%EndProlog\n%%Page: 1 1\n" + crop_prefix(p, box);
  sink(head);
  // The content, inflated on the way.
  z_stream zs{};
  if (inflateInit(&zs) != Z_OK) zlib_failed();
  unsigned char buffer[1 << 15];
  const auto inflate_piece = [&](std::string_view piece) {
    zs.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(piece.data()));
    zs.avail_in = static_cast<uInt>(piece.size());
    do {
      zs.next_out = buffer;
      zs.avail_out = sizeof buffer;
      const int status = inflate(&zs, Z_NO_FLUSH);
      if (status != Z_OK && status != Z_STREAM_END && status != Z_BUF_ERROR) {
        inflateEnd(&zs);
        zlib_failed();
      }
      sink(std::string_view(reinterpret_cast<const char*>(buffer), sizeof buffer - zs.avail_out));
    } while (zs.avail_out == 0);
  };
  try {
    compressed_content(p, inflate_piece);
  } catch (...) {
    inflateEnd(&zs);
    throw;
  }
  inflateEnd(&zs);
  sink("end restore\nshowpage\n%%EOF\n");
}

void PdfDevice::write_eps(const std::filesystem::path& file, int page,
                          const PageLayout& layout) const {
  write_file(file, [&](const auto& sink) { write_eps_document(page, layout, sink); });
}

}  // namespace polarsketch::render
