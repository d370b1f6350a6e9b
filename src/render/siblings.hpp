// Sibling files of a plot file: the same pages as PDF, SVG or PNG, named
// after the plot file's base name: NAME.pdf holds every page; NAME.svg is
// page 1 and NAME-2.svg, NAME-3.svg ... the later pages; PNG files are
// always numbered, NAME-1.png, NAME-2.png ...
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "render/formats.hpp"
#include "render/page_layout.hpp"

namespace polarsketch::render {

// The sibling files asked for; a list such as "pdf,svg" gives its formats
// through parse_format_list (formats.hpp).
struct SiblingFormats {
  std::vector<const FigureFormat*> formats;  // from the table of formats, in its order
  double dpi = 150.0;                        // PNG resolution
  PageLayout layout{};                       // cropped to the ink unless whole_page
  bool any() const { return !formats.empty(); }
};

// Whether any of the formats draws on `device`.
bool needs_device(const SiblingFormats& formats, FigureDevice device);

// Writes the siblings of `plot_file` from the pages drawn. A sibling
// whose name would be the plot file itself is not written. Returns one
// message per file that could not be written.
std::vector<std::string> write_siblings(const FigurePages& pages,
                                        const std::filesystem::path& plot_file,
                                        const SiblingFormats& formats);

}  // namespace polarsketch::render
