// The PDF device: a small PDF writer of our own. Each page's content stream
// is compressed as it is drawn, in page coordinates, and the crop is chosen
// when the document is written, from the ink box tracked on the way. Marks
// repeated across a page are form XObjects drawn once and placed many
// times; lines of one colour and width are stroked as one path; text is set
// in the PostScript base fonts, which every PDF reader has (the plot's text
// is in their standard encoding already), placed with built-in widths.
#pragma once

#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "render/device.hpp"
#include "render/page_layout.hpp"
#include "render/repeated_shapes.hpp"

namespace polarsketch::render {

class PdfDevice final : public Device {
 public:
  PdfDevice();
  ~PdfDevice() override;
  PdfDevice(const PdfDevice&) = delete;
  PdfDevice& operator=(const PdfDevice&) = delete;

  void begin_page(int number, Orientation orientation) override;
  void end_page() override;
  void line_width(double width) override;
  void polyline(std::span<const Point> points, const Rgb& colour) override;
  void polygon(std::span<const Point> points, bool filled, const Rgb& fill,
               const Rgb& edge) override;
  void text(Point at, std::string_view text, const TextStyle& style) override;

  // Pages drawn so far (a page being drawn counts, and is ended first when
  // the document is written).
  int page_count() const { return static_cast<int>(pages_.size()); }
  // The box page `page` (from 0) is written in: its ink plus the margin, or
  // the whole paper (also for a page without ink).
  Box page_box(int page, const PageLayout& layout) const;
  // Every page as one PDF document, handed to `sink` piece by piece.
  void write_document(const PageLayout& layout,
                      const std::function<void(std::string_view)>& sink) const;
  std::string document(const PageLayout& layout) const;
  // Writes the document to `file` under a temporary name renamed into place
  // (no partial file on failure); throws std::runtime_error naming the file.
  void write_pdf(const std::filesystem::path& file, const PageLayout& layout) const;

  // Page `page` (from 0) as encapsulated PostScript: the same content after
  // a prolog that defines the PDF operators it uses as PostScript
  // procedures, the box in its comments. Handed to `sink` piece by piece,
  // or written to `file` as write_pdf writes.
  void write_eps_document(int page, const PageLayout& layout,
                          const std::function<void(std::string_view)>& sink) const;
  void write_eps(const std::filesystem::path& file, int page, const PageLayout& layout) const;

 private:
  struct Page;
  Page* drawing();
  // The content waiting to be compressed goes to the page's stream.
  void compress(Page& page, bool finish);
  void emit(Page& page, std::string_view text);
  // Ends the run of placed marks and strokes the waiting lines.
  void settle(Page& page);
  void set_width(Page& page);
  void set_stroke(Page& page, const Rgb& colour);
  void set_fill(Page& page, const Rgb& colour);
  // Appends the points to the page's content as a subpath, adding them to its ink.
  void add_subpath(Page& page, std::span<const Point> points, bool closed);
  // Draws a copy of a shape through its form.
  void place(Page& page, int shape, bool filled, const Point& at);

  // The path of a page's form `form`, its origin at 0 0, painted.
  static std::string form_content(const Page& page, std::size_t form);
  // What moves the box's corner to the origin and clips to the paper.
  static std::string crop_prefix(const Page& page, const Box& box);
  // A page's content, compressed, finished on a copy when still drawn.
  static void compressed_content(const Page& page,
                                 const std::function<void(std::string_view)>& sink);
  static std::size_t compressed_size(const Page& page);
  // Writes a file whole through `write`.
  static void write_file(
      const std::filesystem::path& file,
      const std::function<void(const std::function<void(std::string_view)>&)>& write);

  std::vector<std::unique_ptr<Page>> pages_;
  std::map<std::string, int, std::less<>> fonts_;  // base font name -> resource number
  double line_width_ = 1.0;  // PostScript's initial line width, kept across pages
  std::vector<Point> scratch_;
};

}  // namespace polarsketch::render
