// Writing a page: the batch session's driver settings from the page, the
// PostScript plot file written under a temporary name and renamed into
// place, or the page drawn on the device of its figure format and written
// by the format's writer; a note when very many great circles are drawn.
#include "figure/output.hpp"

#include <functional>
#include <stdexcept>

#include "console/identity.hpp"
#include "console/stop.hpp"
#include "figure/layers.hpp"
#include "figure/set_marks.hpp"
#include "files/atomic_file.hpp"
#include "postscript/writer.hpp"
#include "render/cairo_device.hpp"
#include "render/pdf_device.hpp"
#include "render/svg_device.hpp"
#include "stereonet/batch_session.hpp"

namespace polarsketch::figure {
namespace {

// How a page of either kind is written, and the routine that draws it.
struct Document {
  const FigureFormat* format = nullptr;
  std::string title;
  Paper paper = Paper::portrait;
  int dialect = 2;
  bool whole_page = false;
  int dpi = 150;
  std::function<void()> draw;
};

template <class P>
Document document_of(const P& page, std::function<void()> draw) {
  return {page.format,     page.title, page.paper,     page.dialect,
          page.whole_page, page.dpi,   std::move(draw)};
}

postscript::DriverSettings driver_settings(const Document& page) {
  postscript::DriverSettings s;
  s.ovly = false;
  s.ncopies = 1;
  s.ips = page.dialect;
  switch (page.paper) {
    case Paper::portrait:
      s.sys = "P  ";
      break;
    case Paper::landscape_letter:
      s.sys = "LUS";
      break;
    case Paper::landscape_a4:
      s.sys = "LA4";
      break;
  }
  return s;
}

render::Orientation orientation_of(Paper paper) {
  switch (paper) {
    case Paper::landscape_letter:
      return render::Orientation::landscape_us;
    case Paper::landscape_a4:
      return render::Orientation::landscape_a4;
    case Paper::portrait:
      break;
  }
  return render::Orientation::portrait;
}

Written with_messages(std::vector<std::string> messages) {
  Written w;
  w.messages = std::move(messages);
  return w;
}

Written failed(Written w, Written::Failure failure, std::string why) {
  w.failure = failure;
  w.why = std::move(why);
  return w;
}

std::string cannot_write(const std::string& path, const std::string& reason) {
  return "cannot write '" + path + "': " + reason;
}

// Opens the batch session on its device; false when it cannot be opened.
using OpenSession = std::function<bool(stereonet::BatchSession& session)>;

// A message of the plot library about the plot file `plot_file` it was
// given, naming the file the user asked for instead (the library writes a
// temporary file that is renamed onto it).
std::string named_as_output(std::string message, const std::string& plot_file,
                            const std::string& path) {
  for (std::size_t at = 0;
       !plot_file.empty() && (at = message.find(plot_file, at)) != std::string::npos;
       at += path.size())
    message.replace(at, plot_file.size(), path);
  return message;
}

// The session's messages, naming `path` where they name `plot_file`.
std::vector<std::string> messages_of(const stereonet::BatchSession& session,
                                     const std::string& plot_file, const std::string& path) {
  std::vector<std::string> messages = session.messages();
  for (std::string& m : messages) m = named_as_output(std::move(m), plot_file, path);
  return messages;
}

// Draws the page in a batch session opened by `open`; `path` is the file the
// user named, `plot_file` the temporary PostScript file the session writes
// (empty for a figure). A page with a coordinate that is not a finite number
// is a failure: a drawing that is not what the numbers say is never kept.
Written draw_in_session(const Document& page, const OpenSession& open, const std::string& path,
                        const std::string& plot_file) {
  const std::size_t non_finite_before = render::non_finite_coordinates();
  stereonet::BatchSession session(console::kProgname, console::kVersion, console::kDate);
  if (!open(session))
    return failed({}, Written::Failure::cannot_write,
                  cannot_write(path, "the file could not be opened"));
  try {
    page.draw();
  } catch (const console::OrderlyStop&) {
    // A library routine asked a question the batch session cannot answer.
    return failed(with_messages(messages_of(session, plot_file, path)), Written::Failure::internal,
                  "internal error: the plot library stopped; nothing written");
  }
  const std::size_t non_finite_written = postscript::writer().non_finite_count();
  const bool written = session.close();
  Written w = with_messages(messages_of(session, plot_file, path));
  if (!written)
    return failed(std::move(w), Written::Failure::cannot_write,
                  cannot_write(path, "a write failed (disk full?)"));
  if (non_finite_written > 0 || render::non_finite_coordinates() != non_finite_before)
    return failed(std::move(w), Written::Failure::internal,
                  "internal error: a coordinate of the page is not a finite number; "
                  "nothing written");
  return w;
}

// Draws the page into the PostScript file `plot_file`, already created.
Written draw_postscript(const Document& page, const std::string& plot_file,
                        const std::string& path) {
  const auto open = [&](stereonet::BatchSession& session) {
    return session.open(plot_file, page.title, driver_settings(page));
  };
  return draw_in_session(page, open, path, plot_file);
}

Written write_postscript(const Document& page, const std::string& path) {
  files::AtomicFile file(path);
  if (!file.create())
    return failed({}, Written::Failure::cannot_write, cannot_write(path, file.error()));
  Written w = draw_postscript(page, file.temp_path(), path);
  if (!w.ok()) return w;
  if (!file.commit())
    return failed(std::move(w), Written::Failure::cannot_write, cannot_write(path, file.error()));
  return w;
}

// The page drawn on the device its format draws on (no PostScript plot
// file is written) and written by the format's writer: cropped to the ink
// plus 2 mm unless the whole page is asked for.
template <class Figure>
Written write_figure_on(Figure& figure, const render::FigurePages& pages, const Document& page,
                        const std::string& path) {
  const auto open = [&](stereonet::BatchSession& session) {
    session.open_on(figure, orientation_of(page.paper));
    return true;
  };
  Written w = draw_in_session(page, open, path, "");
  if (!w.ok()) return w;
  try {
    page.format->write(pages, path, 0, render::PageLayout{page.whole_page}, page.dpi);
  } catch (const std::runtime_error& e) {
    return failed(std::move(w), Written::Failure::cannot_write, e.what());
  }
  return w;
}

Written write_figure(const Document& page, const std::string& path) {
  if (page.format->device == render::FigureDevice::svg) {
    render::SvgDevice svg;
    return write_figure_on(svg, {&svg, nullptr, nullptr}, page, path);
  }
  if (page.format->device == render::FigureDevice::pdf) {
    render::PdfDevice pdf;
    return write_figure_on(pdf, {nullptr, &pdf, nullptr}, page, path);
  }
  render::CairoDevice raster(
      render::CairoDevice::Raster{static_cast<double>(page.dpi), {page.whole_page}});
  return write_figure_on(raster, {nullptr, nullptr, &raster}, page, path);
}

Written write_document(const Document& document, const std::string& path) {
  if (document.format == nullptr || document.format->write == nullptr)
    return write_postscript(document, path);
  return write_figure(document, path);
}

}  // namespace

// More great circles than this cover the net in ink and take long to draw.
constexpr std::size_t kManyGreatCircles = 10000;

std::optional<std::string> great_circle_note(const Page& page) {
  if (page.hide_data) return std::nullopt;
  std::size_t circles = 0;
  for (const PageSet& set : page.sets)
    if (draws_circles(set.data, page.planes))
      circles +=
          set.data.kind == data::Kind::slips ? set.data.slips.size() : set.data.planes.size();
  if (circles <= kManyGreatCircles) return std::nullopt;
  return "note: " + std::to_string(circles) +
         " great circles to draw; poles (--planes poles) or the density alone "
         "(--contour --hide-data) read better";
}

Written write_page(const Page& page, const std::string& path) {
  return write_document(document_of(page, [&page] { draw_page(page); }), path);
}

Written write_rose_page(const RosePage& page, const std::string& path) {
  return write_document(document_of(page, [&page] { draw_rose_page(page); }), path);
}

bool is_postscript(const Page& page) {
  return page.format == nullptr || page.format->write == nullptr;
}

Written draw_postscript_page(const Page& page, const std::string& plot_file,
                             const std::string& path) {
  return draw_postscript(document_of(page, [&page] { draw_page(page); }), plot_file, path);
}

}  // namespace polarsketch::figure
