// The formats a plot can be written in, listed in one table: the
// PostScript plot file the driver writes, and the figures the devices
// under it write: PDF and EPS (the PDF device), SVG (the SVG device) and PNG
// (cairo drawing on an image). The command line's names, help and dispatch
// and the interactive program's sibling files read this table; a new format
// is a writer and a line of the table.
#pragma once

#include <filesystem>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

namespace polarsketch::render {

class CairoDevice;
class SvgDevice;
class PdfDevice;
struct PageLayout;

// The device a format's pages are drawn on.
enum class FigureDevice { postscript, svg, pdf, raster };

// The pages drawn for figures: the device of each kind asked for, or nullptr.
struct FigurePages {
  const SvgDevice* svg = nullptr;
  const PdfDevice* pdf = nullptr;
  const CairoDevice* raster = nullptr;  // a cairo device drawing on images
  // Pages drawn (every device draws them all).
  int page_count() const;
};

// How the sibling files of a plot file are named in a format (NAME is the
// plot file's name without its extension).
enum class SiblingNames {
  none,                  // not written as a sibling
  one_file,              // NAME.ext holds every page
  numbered_after_first,  // NAME.ext is page 1, NAME-2.ext, NAME-3.ext ... the later pages
  numbered,              // NAME-1.ext, NAME-2.ext ...
};

// Writes page `page` (from 0; a format holding every page writes them all)
// of the pages drawn on the format's device at `dpi` (raster formats).
// Throws std::runtime_error naming the file on failure.
using PageWriter = void (*)(const FigurePages& pages, const std::filesystem::path& file, int page,
                            const PageLayout& layout, double dpi);

struct FigureFormat {
  std::string_view extension;    // lower case, without the dot: "pdf"
  std::string_view description;  // one line
  std::string_view help_note;    // said after ".ext" in the usage text, or ""
  SiblingNames siblings;
  PageWriter write;  // nullptr: the PostScript driver's own plot file
  FigureDevice device;
};

// Every format, the PostScript plot file first.
std::span<const FigureFormat> figure_formats();
// The format of an extension given without its dot, case ignored; nullptr
// for an unknown one.
const FigureFormat* format_of_extension(std::string_view extension);
// The formats written as siblings.
std::vector<const FigureFormat*> sibling_formats();
// The formats of a comma-separated list of sibling format names (repeats
// are harmless), in the table's order; nothing for an empty list, an empty
// name or a name that is no sibling format.
std::optional<std::vector<const FigureFormat*>> parse_format_list(std::string_view list);

}  // namespace polarsketch::render
