// Writing a page: the batch session's driver settings from the page, the
// PostScript plot file written under a temporary name and renamed into
// place, or the page recorded by the cairo device and written by the
// format's writer.
#include "figure/output.hpp"

#include <functional>
#include <stdexcept>

#include "console/identity.hpp"
#include "console/stop.hpp"
#include "figure/layers.hpp"
#include "files/atomic_file.hpp"
#include "render/cairo_device.hpp"
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

// Draws the page in a batch session opened by `open`; `path` is the file the
// user named.
Written draw_in_session(const Document& page, const OpenSession& open, const std::string& path) {
  stereonet::BatchSession session(console::kProgname, console::kVersion, console::kDate);
  if (!open(session))
    return failed({}, Written::Failure::cannot_write,
                  cannot_write(path, "the file could not be opened"));
  try {
    page.draw();
  } catch (const console::OrderlyStop&) {
    // A library routine asked a question the batch session cannot answer.
    return failed(with_messages(session.messages()), Written::Failure::internal,
                  "internal error: the plot library stopped; nothing written");
  }
  const bool written = session.close();
  Written w = with_messages(session.messages());
  if (!written)
    return failed(std::move(w), Written::Failure::cannot_write,
                  cannot_write(path, "a write failed (disk full?)"));
  return w;
}

Written write_postscript(const Document& page, const std::string& path) {
  files::AtomicFile file(path);
  if (!file.create())
    return failed({}, Written::Failure::cannot_write, cannot_write(path, file.error()));
  const auto open = [&](stereonet::BatchSession& session) {
    return session.open(file.temp_path(), page.title, driver_settings(page));
  };
  Written w = draw_in_session(page, open, path);
  if (!w.ok()) return w;
  if (!file.commit())
    return failed(std::move(w), Written::Failure::cannot_write, cannot_write(path, file.error()));
  return w;
}

// The page drawn on the cairo device (no PostScript plot file is written)
// and written in the page's format: cropped to the ink plus 2 mm
// unless the whole page is asked for.
Written write_figure(const Document& page, const std::string& path) {
  render::CairoDevice figure;
  const auto open = [&](stereonet::BatchSession& session) {
    session.open_on(figure, orientation_of(page.paper));
    return true;
  };
  Written w = draw_in_session(page, open, path);
  if (!w.ok()) return w;
  try {
    page.format->write(figure, path, 0, render::PageLayout{page.whole_page}, page.dpi);
  } catch (const std::runtime_error& e) {
    return failed(std::move(w), Written::Failure::cannot_write, e.what());
  }
  return w;
}

Written write_document(const Document& document, const std::string& path) {
  if (document.format == nullptr || document.format->write == nullptr)
    return write_postscript(document, path);
  return write_figure(document, path);
}

}  // namespace

Written write_page(const Page& page, const std::string& path) {
  return write_document(document_of(page, [&page] { draw_page(page); }), path);
}

Written write_rose_page(const RosePage& page, const std::string& path) {
  return write_document(document_of(page, [&page] { draw_rose_page(page); }), path);
}

}  // namespace polarsketch::figure
