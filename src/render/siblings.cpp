// Naming and writing the sibling files of a plot file.
#include "render/siblings.hpp"

#include <stdexcept>

namespace polarsketch::render {
namespace {

enum class Kind { pdf, svg, png };

struct Sibling {
  std::filesystem::path path;
  Kind kind;
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
  if (f.pdf) out.push_back({with_suffix(base, ".pdf"), Kind::pdf, -1});
  for (int i = 0; f.svg && i < pages; ++i) {
    const std::string suffix = i == 0 ? ".svg" : "-" + std::to_string(i + 1) + ".svg";
    out.push_back({with_suffix(base, suffix), Kind::svg, i});
  }
  for (int i = 0; f.png && i < pages; ++i)
    out.push_back({with_suffix(base, "-" + std::to_string(i + 1) + ".png"), Kind::png, i});
  return out;
}

}  // namespace

std::optional<SiblingFormats> parse_sibling_formats(std::string_view list) {
  SiblingFormats f;
  while (!list.empty()) {
    const std::size_t comma = list.find(',');
    const std::string_view name = list.substr(0, comma);
    if (name == "pdf") {
      f.pdf = true;
    } else if (name == "svg") {
      f.svg = true;
    } else if (name == "png") {
      f.png = true;
    } else {
      return std::nullopt;
    }
    if (comma == std::string_view::npos) break;
    list.remove_prefix(comma + 1);
    if (list.empty()) return std::nullopt;  // a trailing comma names nothing
  }
  if (!f.any()) return std::nullopt;
  return f;
}

std::vector<std::string> write_siblings(const CairoDevice& pages,
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
      switch (s.kind) {
        case Kind::pdf:
          pages.write_pdf(s.path, formats.layout);
          break;
        case Kind::svg:
          pages.write_svg(s.path, s.page, formats.layout);
          break;
        case Kind::png:
          pages.write_png(s.path, s.page, formats.layout, formats.dpi);
          break;
      }
    } catch (const std::runtime_error& e) {
      failures.push_back(e.what());
    }
  }
  return failures;
}

}  // namespace polarsketch::render
