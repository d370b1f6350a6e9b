// The table of plot formats and the writers it names.
#include "render/formats.hpp"

#include <algorithm>

#include "render/cairo_device.hpp"
#include "render/pdf_device.hpp"
#include "render/svg_device.hpp"

namespace polarsketch::render {
namespace {

void write_eps(const FigurePages& pages, const std::filesystem::path& file, int page,
               const PageLayout& layout, double) {
  pages.pdf->write_eps(file, page, layout);
}
void write_pdf(const FigurePages& pages, const std::filesystem::path& file, int,
               const PageLayout& layout, double) {
  pages.pdf->write_pdf(file, layout);
}
void write_svg(const FigurePages& pages, const std::filesystem::path& file, int page,
               const PageLayout& layout, double) {
  pages.svg->write_svg(file, page, layout);
}
void write_png(const FigurePages& pages, const std::filesystem::path& file, int page,
               const PageLayout& layout, double dpi) {
  pages.raster->write_png(file, page, layout, dpi);
}

constexpr FigureFormat kFormats[] = {
    {"ps", "PostScript as the driver writes it, every page", "PostScript", SiblingNames::none,
     nullptr, FigureDevice::postscript},
    {"eps", "encapsulated PostScript, one page", "(one page)", SiblingNames::none, write_eps,
     FigureDevice::pdf},
    {"pdf", "PDF, every page in one file", "", SiblingNames::one_file, write_pdf,
     FigureDevice::pdf},
    {"svg", "SVG, one file a page", "", SiblingNames::numbered_after_first, write_svg,
     FigureDevice::svg},
    {"png", "PNG image, one file a page", "", SiblingNames::numbered, write_png,
     FigureDevice::raster},
};

char lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

}  // namespace

int FigurePages::page_count() const {
  if (svg != nullptr) return svg->page_count();
  if (pdf != nullptr) return pdf->page_count();
  return raster != nullptr ? raster->page_count() : 0;
}

std::span<const FigureFormat> figure_formats() { return kFormats; }

const FigureFormat* format_of_extension(std::string_view extension) {
  for (const FigureFormat& f : kFormats)
    if (std::equal(extension.begin(), extension.end(), f.extension.begin(), f.extension.end(),
                   [](char a, char b) { return lower(a) == b; }))
      return &f;
  return nullptr;
}

std::vector<const FigureFormat*> sibling_formats() {
  std::vector<const FigureFormat*> out;
  for (const FigureFormat& f : kFormats)
    if (f.siblings != SiblingNames::none) out.push_back(&f);
  return out;
}

std::optional<std::vector<const FigureFormat*>> parse_format_list(std::string_view list) {
  std::vector<bool> chosen(std::size(kFormats), false);
  while (true) {
    const std::size_t comma = list.find(',');
    const std::string_view name = list.substr(0, comma);
    const auto it = std::find_if(std::begin(kFormats), std::end(kFormats), [&](const auto& f) {
      return f.extension == name && f.siblings != SiblingNames::none;
    });
    if (it == std::end(kFormats)) return std::nullopt;  // also an empty name
    chosen[static_cast<std::size_t>(it - std::begin(kFormats))] = true;
    if (comma == std::string_view::npos) break;
    list.remove_prefix(comma + 1);
  }
  std::vector<const FigureFormat*> out;
  for (std::size_t i = 0; i < chosen.size(); ++i)
    if (chosen[i]) out.push_back(&kFormats[i]);
  return out;
}

}  // namespace polarsketch::render
