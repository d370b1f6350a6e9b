// Polylines, text and marker symbols in user units (text also in centimetres),
// converted through the current subplot and handed to the PostScript operators.
#include "plot/primitives.hpp"

#include <cassert>
#include <cmath>
#include <cstddef>
#include <cstdlib>
#include <string>
#include <vector>

#include "console/fields.hpp"
#include "console/frames.hpp"
#include "console/iocom.hpp"
#include "console/units.hpp"
#include "math/angles.hpp"
#include "plot/coords.hpp"
#include "plot/records.hpp"
#include "render/seam.hpp"
#include "report/report.hpp"

namespace polarsketch::plot {

namespace {

// The device buffer holds this many points.
constexpr std::int32_t kBufferPoints = 501;

std::span<const float> first(const float* p, std::int32_t n) {
  return {p, static_cast<std::size_t>(n > 0 ? n : 0)};
}

// One piece of a symbol: a point list in offsets from the centre; an outline
// may be filled, a mark is always drawn as a line.
struct SymbolPiece {
  std::vector<float> dx;
  std::vector<float> dy;
  bool outline = false;
};

void add_segment(std::vector<SymbolPiece>& pieces, float x1, float y1, float x2, float y2) {
  pieces.push_back(SymbolPiece{{x1, x2}, {y1, y2}, false});
}

// Outline of n points on the circle of radius r at angles a0 + (i - 1) * step
// degrees.
SymbolPiece ring(float r, std::int32_t n, float a0, float step) {
  SymbolPiece p;
  p.outline = true;
  for (std::int32_t i = 1; i <= n; ++i) {
    const float a = math::rad(a0 + static_cast<float>(i - 1) * step);
    p.dx.push_back(r * std::cos(a));
    p.dy.push_back(r * std::sin(a));
  }
  return p;
}

// The 20-point circle outline (19 steps of 360/19 degrees).
SymbolPiece circle_outline(float r) { return ring(r, 20, 0.0f, 18.947369f); }

// The pieces of symbol shape isy (absolute code) of radius r, device units.
std::vector<SymbolPiece> symbol_pieces(std::int32_t isy, float r) {
  std::vector<SymbolPiece> pieces;
  const float c30 = 0.8660254f * r;
  const float s30 = 0.5f * r;
  if (isy >= 3 && isy <= 9) {
    // Regular polygon, first vertex straight up, last vertex repeats it.
    SymbolPiece p;
    p.outline = true;
    for (std::int32_t i = 1; i <= isy + 1; ++i) {
      const float a =
          math::rad(90.0f + static_cast<float>((i - 1) * 360) / static_cast<float>(isy));
      p.dx.push_back(r * std::cos(a));
      p.dy.push_back(r * std::sin(a));
    }
    pieces.push_back(p);
    return pieces;
  }
  switch (isy) {
    case 10:
      add_segment(pieces, 0.0f, 0.0f, 0.0f, 0.0f);
      break;
    case 11:
      add_segment(pieces, -r, 0.0f, r, 0.0f);
      break;
    case 12:
      add_segment(pieces, 0.0f, -r, 0.0f, r);
      break;
    case 13:
      add_segment(pieces, -r, 0.0f, r, 0.0f);
      add_segment(pieces, 0.0f, -r, 0.0f, r);
      break;
    case 14: {
      const float a = 0.70710677f * r;
      add_segment(pieces, a, a, -a, -a);
      add_segment(pieces, -a, a, a, -a);
      break;
    }
    case 15:
      add_segment(pieces, c30, s30, -c30, -s30);
      add_segment(pieces, 0.0f, r, 0.0f, -r);
      add_segment(pieces, -c30, s30, c30, -s30);
      break;
    case 16:
      add_segment(pieces, 0.0f, 0.0f, c30, -s30);
      add_segment(pieces, 0.0f, 0.0f, 0.0f, r);
      add_segment(pieces, 0.0f, 0.0f, -c30, -s30);
      break;
    case 17: {
      const float c54 = r * std::cos(math::rad(54.0f));
      const float s54 = r * std::sin(math::rad(54.0f));
      const float c18 = r * std::cos(math::rad(18.0f));
      const float s18 = r * std::sin(math::rad(18.0f));
      add_segment(pieces, 0.0f, 0.0f, c54, -s54);
      add_segment(pieces, 0.0f, 0.0f, c18, s18);
      add_segment(pieces, 0.0f, 0.0f, 0.0f, r);
      add_segment(pieces, 0.0f, 0.0f, -c18, s18);
      add_segment(pieces, 0.0f, 0.0f, -c54, -s54);
      break;
    }
    case 20:
      pieces.push_back(circle_outline(r));
      add_segment(pieces, 0.0f, 0.0f, 0.0f, 0.0f);
      break;
    case 21:
      pieces.push_back(circle_outline(r));
      add_segment(pieces, -r, 0.0f, r, 0.0f);
      break;
    case 22:
      pieces.push_back(circle_outline(r));
      add_segment(pieces, 0.0f, -r, 0.0f, r);
      break;
    case 23:
      pieces.push_back(circle_outline(r));
      add_segment(pieces, 0.0f, -r, 0.0f, r);
      add_segment(pieces, -r, 0.0f, r, 0.0f);
      break;
    case 40: {
      const float a = r / 1.4142135f;
      pieces.push_back(SymbolPiece{{a, -a, -a, a, a}, {a, a, -a, -a, a}, true});
      break;
    }
    default:
      pieces.push_back(circle_outline(r));
      break;
  }
  return pieces;
}

}  // namespace

void buffer2(std::span<float> xb, std::span<float> yb, std::int32_t ib, std::int32_t& ibe,
             std::span<const float> x, std::span<const float> y, std::int32_t nx,
             std::int32_t& is) {
  if (is > nx) {
    report::Message msg = report::error("buffer2");
    msg.lines.emplace_back("is = " + console::fmt_int_default(is) +
                           " > nx =" + console::fmt_int_default(nx));
    msg.lines.emplace_back("attempt to read past array");
    report::report(msg);
    ibe = 0;
    return;
  }
  std::int32_t ie = is + ib - 1;
  if (ie > nx) ie = nx;
  ibe = ie - is + 1;
  if (ibe < 0) ibe = 0;
  assert(static_cast<std::size_t>(ibe) <= xb.size() && static_cast<std::size_t>(ibe) <= yb.size());
  assert(is >= 1 && static_cast<std::size_t>(ie) <= x.size() &&
         static_cast<std::size_t>(ie) <= y.size());
  for (std::int32_t k = 0; k < ibe; ++k) {
    xb[static_cast<std::size_t>(k)] = x[static_cast<std::size_t>(is - 1 + k)];
    yb[static_cast<std::size_t>(k)] = y[static_cast<std::size_t>(is - 1 + k)];
  }
  is = ie;
}

void usline(std::span<const float> xu, std::span<const float> yu, std::int32_t np) {
  auto& xb = pltbuff1.xdevbuff.v;
  auto& yb = pltbuff1.ydevbuff.v;
  std::int32_t is = 1;
  // Chunks of at most 501 points; each chunk starts on the last point of the
  // previous one, so the stroked paths join without a gap.
  do {
    std::int32_t ibe = 0;
    buffer2(xb, yb, kBufferPoints, ibe, xu, yu, np, is);
    if (ibe < 1) return;
    us2de(xb.data(), yb.data(), xb.data(), yb.data(), ibe);
    render::draw_polyline(xb.data(), yb.data(), ibe);
  } while (is < np);
}

void usline(const float* xu, const float* yu, std::int32_t np) {
  usline(first(xu, np), first(yu, np), np);
}

void ustext2(float xu, float yu, std::string_view text) {
  float xd = 0.0f;
  float yd = 0.0f;
  us2de(&xd, &yd, &xu, &yu, 1);
  render::draw_text(xd, yd, text);
}

void cmtext2(float xcm, float ycm, std::string_view text) {
  float xd = 0.0f;
  float yd = 0.0f;
  cm2de(&xd, &yd, &xcm, &ycm, 1);
  render::draw_text(xd, yd, text);
}

void ussymbol(std::span<const float> xu, std::span<const float> yu, std::int32_t ns) {
  if (ns < 1) return;
  // The magnitude is taken in 64 bits: the most negative code has no 32-bit
  // opposite and, like every code without a shape of its own, draws a circle.
  const std::int64_t mag = std::abs(static_cast<std::int64_t>(plt2blk.isymbtype));
  const auto isy = static_cast<std::int32_t>(mag > 1000 ? 1000 : mag);
  const bool lfill = plt2blk.isymbtype < 0;
  float del = 0.0f;
  lengthcm2de(del, plt2blk.symbsize);
  const float r = 0.5f * del;
  const std::vector<SymbolPiece> pieces = symbol_pieces(isy, r);

  auto& xb = pltbuff1.xdevbuff;
  auto& yb = pltbuff1.ydevbuff;
  for (std::int32_t k = 1; k <= ns; ++k) {
    float xc = 0.0f;
    float yc = 0.0f;
    us2de(&xc, &yc, &xu[static_cast<std::size_t>(k - 1)], &yu[static_cast<std::size_t>(k - 1)], 1);
    for (const SymbolPiece& p : pieces) {
      const auto n = static_cast<std::int32_t>(p.dx.size());
      for (std::int32_t i = 1; i <= n; ++i) {
        xb(i) = xc + p.dx[static_cast<std::size_t>(i - 1)];
        yb(i) = yc + p.dy[static_cast<std::size_t>(i - 1)];
      }
      if (p.outline && lfill) {
        render::draw_polygon(xb.v.data(), yb.v.data(), n);
      } else {
        render::draw_polyline(xb.v.data(), yb.v.data(), n);
      }
    }
  }
}

void ussymbol(const float* xu, const float* yu, std::int32_t ns) {
  ussymbol(first(xu, ns), first(yu, ns), ns);
}

}  // namespace polarsketch::plot
