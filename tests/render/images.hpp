// Rendering plot files the way a reader's viewer does (Ghostscript for
// PostScript, pdftoppm for PDF, rsvg-convert for SVG) at 100 dpi, and
// comparing the pictures: the box of their ink and the pixels whose ink has
// no counterpart nearby in the other picture.
#pragma once

#include <cairo.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

namespace polarsketch::testing {

struct Picture {
  int width = 0;
  int height = 0;
  std::vector<bool> ink;  // row by row
  bool at(int x, int y) const {
    return x >= 0 && y >= 0 && x < width && y < height &&
           ink[static_cast<std::size_t>(y) * static_cast<std::size_t>(width) +
               static_cast<std::size_t>(x)];
  }
};

struct InkBox {
  int left = 0, top = 0, right = -1, bottom = -1;  // inclusive; empty when right < left
  int width() const { return right - left + 1; }
  int height() const { return bottom - top + 1; }
};

// A PNG file's pixels as ink (clearly darker than the white paper, after
// compositing on white); an empty picture when it cannot be read.
inline Picture load_picture(const std::filesystem::path& png) {
  Picture p;
  cairo_surface_t* s = cairo_image_surface_create_from_png(png.c_str());
  if (cairo_surface_status(s) == CAIRO_STATUS_SUCCESS) {
    cairo_surface_flush(s);
    p.width = cairo_image_surface_get_width(s);
    p.height = cairo_image_surface_get_height(s);
    const int stride = cairo_image_surface_get_stride(s);
    const bool alpha = cairo_image_surface_get_format(s) == CAIRO_FORMAT_ARGB32;
    const unsigned char* data = cairo_image_surface_get_data(s);
    p.ink.resize(static_cast<std::size_t>(p.width) * static_cast<std::size_t>(p.height));
    for (int y = 0; y < p.height; ++y) {
      for (int x = 0; x < p.width; ++x) {
        const unsigned char* px = data + y * stride + 4 * x;  // B G R A, premultiplied
        const int a = alpha ? px[3] : 255;
        int darkest = 255;
        for (int c = 0; c < 3; ++c) darkest = std::min(darkest, px[c] + (255 - a));
        p.ink[static_cast<std::size_t>(y * p.width + x)] = darkest < 160;
      }
    }
  }
  cairo_surface_destroy(s);
  return p;
}

// The picture turned a quarter turn clockwise: a landscape plot file's page,
// which Ghostscript shows with the drawing's top to the left, upright.
inline Picture turned_clockwise(const Picture& p) {
  Picture t;
  t.width = p.height;
  t.height = p.width;
  t.ink.resize(p.ink.size());
  for (int y = 0; y < t.height; ++y)
    for (int x = 0; x < t.width; ++x)
      t.ink[static_cast<std::size_t>(y * t.width + x)] = p.at(y, p.height - 1 - x);
  return t;
}

inline InkBox ink_box(const Picture& p) {
  InkBox b{p.width, p.height, -1, -1};
  for (int y = 0; y < p.height; ++y)
    for (int x = 0; x < p.width; ++x)
      if (p.at(x, y)) {
        b.left = std::min(b.left, x);
        b.top = std::min(b.top, y);
        b.right = std::max(b.right, x);
        b.bottom = std::max(b.bottom, y);
      }
  return b;
}

// Ink pixels of `a` with no ink within one pixel at the same place of `b`,
// where the same place in `b` is (dx, dy) further right and down; counted
// both ways.
inline long differing_pixels(const Picture& a, const Picture& b, int dx, int dy) {
  auto unmatched = [](const Picture& p, const Picture& q, int ox, int oy) {
    long n = 0;
    for (int y = 0; y < p.height; ++y)
      for (int x = 0; x < p.width; ++x) {
        if (!p.at(x, y)) continue;
        bool near = false;
        for (int j = -1; j <= 1 && !near; ++j)
          for (int i = -1; i <= 1 && !near; ++i) near = q.at(x + ox + i, y + oy + j);
        if (!near) ++n;
      }
    return n;
  };
  return unmatched(a, b, dx, dy) + unmatched(b, a, -dx, -dy);
}

inline long ink_pixels(const Picture& p) {
  long n = 0;
  for (bool i : p.ink) n += i ? 1 : 0;
  return n;
}

// Compares two renderings of one drawing: their ink boxes agree in size
// within 2 pixels, and once the pictures are aligned fewer than 1 in 200
// ink pixels lack a counterpart. Prints and returns the differing pixels.
inline long compare_ink(const Picture& a, const Picture& b, const std::string& what) {
  SCOPED_TRACE(what);
  const InkBox ia = ink_box(a);
  const InkBox ib = ink_box(b);
  EXPECT_GT(ia.width(), 10);
  EXPECT_NEAR(ib.width(), ia.width(), 2);
  EXPECT_NEAR(ib.height(), ia.height(), 2);
  // The boxes align the pictures to a pixel; the renderers may round a
  // line's edge to the pixel beside, so the best of the neighbouring
  // alignments is taken.
  long diff = -1;
  for (int dy = -1; dy <= 1; ++dy)
    for (int dx = -1; dx <= 1; ++dx) {
      const long d = differing_pixels(a, b, ib.left - ia.left + dx, ib.top - ia.top + dy);
      if (diff < 0 || d < diff) diff = d;
    }
  const long ink = ink_pixels(a);
  std::printf("[ picture ] %s: %ld of %ld ink pixels differ\n", what.c_str(), diff, ink);
  EXPECT_LT(diff, ink / 200) << "of " << ink << " ink pixels";
  return diff;
}

inline bool run_quietly(const std::string& cmd) {
  return std::system(("{ " + cmd + "; } >/dev/null 2>&1 </dev/null").c_str()) == 0;
}

inline std::string quoted(const std::filesystem::path& p) { return "'" + p.string() + "'"; }

// Page 1 of a PostScript file at 100 dpi on paper of the size given in
// points (A4 by default).
inline Picture render_postscript(const std::filesystem::path& ps, int width = 595,
                                 int height = 842) {
  const std::filesystem::path png = ps.string() + ".gs.png";
  run_quietly(
      "gs -q -dSAFER -dBATCH -dNOPAUSE -dFirstPage=1 -dLastPage=1 -sDEVICE=png16m -r100"
      " -dDEVICEWIDTHPOINTS=" +
      std::to_string(width) + " -dDEVICEHEIGHTPOINTS=" + std::to_string(height) +
      " -dFIXEDMEDIA -sOutputFile=" + quoted(png) + " " + quoted(ps));
  return load_picture(png);
}

// Page 1 of a PDF file at 100 dpi.
inline Picture render_pdf(const std::filesystem::path& pdf) {
  const std::filesystem::path base = pdf.string() + ".poppler";
  run_quietly("pdftoppm -r 100 -aa no -aaVector no -png -singlefile -f 1 -l 1 " + quoted(pdf) +
              " " + quoted(base));
  return load_picture(base.string() + ".png");
}

// An SVG file at 100 dpi; empty unless it is well-formed XML.
inline Picture render_svg(const std::filesystem::path& svg) {
  if (!run_quietly("xmllint --noout " + quoted(svg))) return {};
  const std::filesystem::path png = svg.string() + ".rsvg.png";
  run_quietly("rsvg-convert -d 100 -p 100 -o " + quoted(png) + " " + quoted(svg));
  return load_picture(png);
}

}  // namespace polarsketch::testing
