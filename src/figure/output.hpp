// A page written to its file: drawn by the plot library in a batch session,
// either straight into the PostScript plot file or on the device of the
// page's figure format, which writes the figure.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "figure/page.hpp"
#include "figure/rose_page.hpp"

namespace polarsketch::figure {

// What writing a page came to: the plot library's messages (one line
// each), and the failure, if any, in one sentence.
struct Written {
  enum class Failure {
    cannot_write,  // the file could not be created or written
    internal,      // the plot library stopped: a fault of the program
  };
  std::vector<std::string> messages;
  std::optional<Failure> failure;
  std::string why;  // the failure said, e.g. "cannot write 'x.pdf': ..."
  bool ok() const { return !failure; }
};

// Writes `page` to `path` whole, or leaves no file there.
Written write_page(const Page& page, const std::string& path);
// Whether the page is written as PostScript rather than through a figure
// format's writer.
bool is_postscript(const Page& page);
// Draws a PostScript page into `plot_file`, a temporary file the caller has
// created and renames onto `path` with its other outputs (all or none);
// messages name `path`.
Written draw_postscript_page(const Page& page, const std::string& plot_file,
                             const std::string& path);
// The note a page of more than 10,000 drawn great circles gets, said before
// it is drawn (which takes long): poles or the density alone read better.
std::optional<std::string> great_circle_note(const Page& page);
// The same as write_page for a rose page.
Written write_rose_page(const RosePage& page, const std::string& path);

}  // namespace polarsketch::figure
