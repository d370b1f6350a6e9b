// Layer: the sets' legend, a row per set with its mark, name and count,
// below the net (portrait, two columns) or right of it (landscape).
#include <algorithm>
#include <string>

#include "figure/layers.hpp"
#include "figure/set_marks.hpp"
#include "plot/primitives.hpp"
#include "plot/text_symbol.hpp"

namespace polarsketch::figure {
namespace {

constexpr float kLegendText = 0.35f;  // legend text height, cm
constexpr float kLegendRow = 0.55f;   // legend row spacing, cm

struct LegendLayout {
  float x_cm;        // left edge of the first column
  float y_cm;        // first row
  float column_cm;   // column width
  std::size_t rows;  // rows per column
  std::size_t columns;
  std::size_t max_chars;  // longest text that fits a column
};

LegendLayout legend_layout(Paper paper) {
  if (paper == Paper::portrait) return {1.5f, 2.5f, 9.5f, 4, 2, 46};
  return {21.0f, 19.0f, 6.5f, 30, 1, 32};
}

std::string legend_text(const PageSet& set, std::size_t max_chars) {
  const std::string count = " (" + set.count + ")";
  std::string name = set.name;
  const std::size_t room = max_chars > count.size() + 4 ? max_chars - count.size() : 4;
  if (name.size() > room) {
    // Cut at a folder's boundary when one is within reach: ".../site/data.csv".
    std::string tail = name.substr(name.size() - (room - 3));
    if (const std::size_t slash = tail.find('/'); slash != std::string::npos) tail.erase(0, slash);
    name = "..." + tail;
  }
  return name + count;
}

class Legend {
 public:
  Legend(Paper paper, const NetPlacement& net) : layout_(legend_layout(paper)), net_(net) {}

  std::size_t capacity() const { return layout_.rows * layout_.columns; }

  // Row `i`'s mark (a short great-circle stroke and/or the symbol) and text.
  void entry(std::size_t i, const PageSet& set, const SetStyle& style, PlaneStyle planes) {
    float x = 0.0f, y = 0.0f;
    place(i, x, y);
    use_color(style.color);
    if (draws_circles(set.data, planes)) {
      const float xs[2] = {user_x(x), user_x(x + 0.6f)};
      const float ys[2] = {user_y(y), user_y(y)};
      plot::usline(xs, ys, 2);
    }
    if (draws_symbols(set.data, planes)) {
      plot::ssymboltype(style.symbol, 1);
      const float xs = user_x(x + 0.3f);
      const float ys = user_y(y);
      plot::ussymbol(&xs, &ys, 1);
    }
    text(x + 0.9f, y, legend_text(set, layout_.max_chars));
  }

  // The last row, when the sets outnumber the rows.
  void more(std::size_t i, std::size_t count) {
    float x = 0.0f, y = 0.0f;
    place(i, x, y);
    use_color(kBlack);
    text(x + 0.9f, y, "+ " + std::to_string(count) + " more data sets");
  }

 private:
  void place(std::size_t i, float& x, float& y) const {
    const std::size_t column = i / layout_.rows;
    const std::size_t row = i % layout_.rows;
    x = layout_.x_cm + layout_.column_cm * static_cast<float>(column);
    y = layout_.y_cm - kLegendRow * static_cast<float>(row);
  }
  float user_x(float x_cm) const { return (x_cm - net_.x_cm) / net_.radius_cm; }
  float user_y(float y_cm) const { return (y_cm - net_.y_cm) / net_.radius_cm; }
  static void text(float x_cm, float y_cm, const std::string& s) {
    plot::stextalign(-5, 1);  // left end, middle of the height, text trimmed
    plot::cmtext2(x_cm, y_cm, s);
  }

  LegendLayout layout_;
  NetPlacement net_;
};

}  // namespace

void draw_legend(const Page& page, Sheet& sheet) {
  Legend legend(page.paper, sheet.net);
  plot::stextsize(kLegendText, 1);
  // The rows' symbols keep a readable size however small the data's are.
  plot::ssymbolsize(kLegendSymbol, 1);
  const std::size_t n = page.sets.size();
  const std::size_t shown = n <= legend.capacity() ? n : legend.capacity() - 1;
  for (std::size_t i = 0; i < shown; ++i) legend.entry(i, page.sets[i], set_style(i), page.planes);
  if (shown < n) legend.more(shown, n - shown);
  sheet.legend_rows = std::min(n, legend.capacity());
}

}  // namespace polarsketch::figure
