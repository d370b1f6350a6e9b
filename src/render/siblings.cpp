// Naming and writing the sibling files of a plot file.
#include "render/siblings.hpp"

#include <algorithm>
#include <stdexcept>

namespace polarsketch::render {
namespace {

struct Sibling {
  std::filesystem::path path;
  const FigureFormat* format;
  int page;  // from 0; -1 for every page
};

std::filesystem::path with_suffix(const std::filesystem::path& base, std::string_view suffix) {
  std::filesystem::path p = base;
  p += std::string(suffix);
  return p;
}

std::vector<Sibling> siblings(const std::filesystem::path& plot_file, const SiblingFormats& f,
                              int pages) {
  std::filesystem::path base = plot_file;
  base.replace_extension();
  std::vector<Sibling> out;
  for (const FigureFormat* format : f.formats) {
    const std::string ext = "." + std::string(format->extension);
    if (format->siblings == SiblingNames::one_file) {
      out.push_back({with_suffix(base, ext), format, -1});
      continue;
    }
    for (int i = 0; i < pages; ++i) {
      const bool plain = i == 0 && format->siblings == SiblingNames::numbered_after_first;
      const std::string suffix = plain ? ext : "-" + std::to_string(i + 1) + ext;
      out.push_back({with_suffix(base, suffix), format, i});
    }
  }
  return out;
}

}  // namespace

bool needs_device(const SiblingFormats& formats, FigureDevice device) {
  return std::any_of(formats.formats.begin(), formats.formats.end(),
                     [device](const FigureFormat* f) { return f->device == device; });
}

std::vector<std::string> write_siblings(const FigurePages& pages,
                                        const std::filesystem::path& plot_file,
                                        const SiblingFormats& formats) {
  std::vector<std::string> failures;
  std::error_code ec;
  for (const Sibling& s : siblings(plot_file, formats, pages.page_count())) {
    // A plot file named like one of its siblings (say "net.pdf") is kept.
    if (std::filesystem::equivalent(s.path, plot_file, ec)) {
      failures.push_back("not writing " + s.path.string() + ": it is the plot file itself");
      continue;
    }
    try {
      s.format->write(pages, s.path, s.page, formats.layout, formats.dpi);
    } catch (const std::runtime_error& e) {
      failures.push_back(e.what());
    }
  }
  return failures;
}

}  // namespace polarsketch::render
