// The one writer of the plot file (unit 50) and the operator spellings of the
// three PostScript dialects. Every line of the plot file goes through here.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

namespace polarsketch::postscript {

// Operator spellings of one dialect; an empty spelling writes nothing.
struct DialectOps {
  std::string_view name;           // as shown in the dialogs
  std::string_view begin_path;     // line before a path-starting move
  std::string_view move;           // "x y <move>"
  std::string_view line;           // "x y <line>"
  std::string_view stroke;         // stroke the open path
  std::string_view linewidth;      // "w <linewidth>"
  std::string_view close_hollow;   // close a hollow polygon
  std::string_view close_filled;   // close a filled polygon (and save the state)
  std::string_view fill_rgb_end;   // after the fill colour intensities
  std::string_view fill_gray_end;  // after the fill gray level
  std::string_view select_font;    // "height font <select_font>"
  std::string_view text_width;     // pushes the width of the string on the stack
  std::string_view text_shift;     // after "k": moves back by width/k
};

// Dialects 1 ("Compressed"), 2 ("NeWS") and 3 ("Illustrator v.2 = 88").
inline constexpr std::array<DialectOps, 3> kDialects{{
    {"Compressed", "np", "M", "L", "sk", "slw", "cp", "cp gs", "setrgbcolor fill gr", "stg fill gr",
     "sym", "sl", "div 0 G"},
    {"NeWS", "newpath", "moveto", "lineto", "stroke", "setlinewidth", "closepath",
     "closepath gsave", "setrgbcolor fill grestore", "setgray fill grestore",
     "findfont exch scalefont setfont", "dup stringwidth pop", "div 0 rmoveto"},
    {"Illustrator v.2 = 88", "", "m", "l", "S", "w", "s", "b", "", "", "", "", ""},
}};

// The spellings of dialect ips (1..3); any other value gives dialect 2's.
const DialectOps& dialect_ops(std::int32_t ips);

// Buffered writer of the plot file. Lines are collected in a fixed block of
// memory and handed to the unit's stream when the block is full. While no
// plot file is open, every write is dropped. The stream is checked each time
// a block is handed to it: the first failure is reported at once in an error
// frame and marks the run as failed (exit status 74); later writes to that
// file are dropped, and the session goes on.
class PlotWriter {
 public:
  PlotWriter();

  // Starts writing to the stream of `unit` (already opened or bound);
  // `name` is the file name used in failure messages.
  void start(std::int32_t unit, std::string_view name);
  bool is_open() const { return open_; }
  const std::string& file_name() const { return name_; }

  // Whole lines.
  void line(std::string_view text) {
    if (!open_) return;
    append(text);
    end_line();
  }
  // Building a line piece by piece; end_line() writes it.
  PlotWriter& put(std::string_view text) {
    if (open_) append(text);
    return *this;
  }
  PlotWriter& put(char c) {
    if (open_) {
      if (used_ == kBlock) flush();
      block_[used_++] = c;
    }
    return *this;
  }
  // A coordinate or width: 2 decimals, at most 10 characters (real2charf1).
  PlotWriter& put_real2(float v);
  // An integer in its shortest text (intg2char).
  PlotWriter& put_int(std::int32_t v);
  // A PostScript string "(...)" with "\", "(", ")" and bytes outside
  // 32..126 escaped.
  PlotWriter& put_string(std::string_view text);
  void end_line() { put('\n'); }
  // One line "x y <op>", x and y as put_real2 writes them.
  void point_line(float x, float y, std::string_view op);

  // Hands the buffer to the stream.
  void flush();
  // Flushes and closes the file (or releases a bound stream). Returns false
  // when any write failed (reported in an error frame, once). Afterwards
  // nothing is open.
  bool finish();
  // How many numbers of the file since start() were not finite (and were
  // written as 0 or the device's limit): callers that must not keep such a
  // file check it.
  std::size_t non_finite_count() const { return non_finite_; }
  // Forgets the file without writing (tests).
  void reset();

 private:
  // Size of the block handed to the stream at a time.
  static constexpr std::size_t kBlock = std::size_t{1} << 16;

  void append(std::string_view text);
  // Writes bytes to the stream and checks it; drops them after a failure.
  void hand_over(const char* data, std::size_t size);
  // The error frame of a failed write, and the run's failure mark.
  void report_failure();
  // Writes v as put_real2 does at p (room for 10 characters); returns the
  // length.
  std::size_t real2_at(char* p, float v);

  bool open_ = false;
  bool failed_ = false;
  std::int32_t unit_ = 0;
  std::string name_;
  std::unique_ptr<char[]> block_;
  std::size_t used_ = 0;
  std::string num_;  // scratch field for the general number writers
  std::size_t non_finite_ = 0;
};

// The plot file's writer.
PlotWriter& writer();

// A PostScript string literal for text: "(" text ")" with escapes.
std::string ps_string(std::string_view text);
void append_ps_string(std::string& out, std::string_view text);

// A fixed-width field for the plot file: like the console fields, but a value
// that does not fit is written with as many columns as it needs, never as
// asterisks.
std::string plot_int(std::int64_t v, int w);
std::string plot_fixed(float v, int w, int d);

// The colour line text of intensities in percent: three 6.3 fields and the
// rest of the line, e.g. " 1.000  0.000  0.000 setrgbcolor". Non-finite
// intensities are written as 0.
std::string colour_text(float red, float green, float blue, std::string_view rest);

}  // namespace polarsketch::postscript
