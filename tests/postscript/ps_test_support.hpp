// Helpers for the PostScript driver tests: a scratch working directory (the
// settings file lives in the working directory), file reading, a plot file
// bound to a string, and rendering through Ghostscript.
#pragma once

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "console/iocom.hpp"
#include "console/units.hpp"
#include "plot/records.hpp"
#include "postscript/document.hpp"
#include "postscript/operators.hpp"
#include "postscript/writer.hpp"
#include "support/test_support.hpp"

namespace polarsketch::testing {

// Runs the test in a fresh empty directory and returns to the old one after.
class ScratchDir {
 public:
  ScratchDir() : old_(std::filesystem::current_path()) {
    std::string tmpl = (std::filesystem::temp_directory_path() / "psdrvXXXXXX").string();
    char* made = mkdtemp(tmpl.data());
    dir_ = made != nullptr ? std::filesystem::path(made) : old_;
    std::filesystem::current_path(dir_);
  }
  ~ScratchDir() {
    std::filesystem::current_path(old_);
    std::error_code ec;
    if (dir_ != old_) std::filesystem::remove_all(dir_, ec);
  }
  const std::filesystem::path& path() const { return dir_; }

 private:
  std::filesystem::path old_;
  std::filesystem::path dir_;
};

inline std::string read_file(const std::filesystem::path& p) {
  std::ifstream in(p, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

inline void write_file(const std::filesystem::path& p, const std::string& text) {
  std::ofstream out(p, std::ios::binary);
  out << text;
}

// Joins lines, each followed by a line end.
inline std::string join_lines(const std::vector<std::string>& lines) {
  std::string s;
  for (const std::string& l : lines) s += l + "\n";
  return s;
}

// Driver and plot records at their program-start state, console captured.
inline void reset_driver() {
  postscript::reset_postscript();
  plot::reset_plot_records();
}

// A plot file of dialect `ips` written into a string stream on unit 50,
// without the settings dialog.
class BoundPlot {
 public:
  explicit BoundPlot(std::int32_t ips) {
    postscript::psparams.ips = ips;
    postscript::psparams.npage = 1;
    postscript::psparams.lopenpath = false;
    console::bind_output(console::kUnitPlotFile, out_);
    postscript::writer().start(console::kUnitPlotFile, "bound.ps");
  }
  ~BoundPlot() { postscript::writer().reset(); }
  // The text written so far.
  std::string text() {
    postscript::writer().flush();
    return out_.str();
  }
  std::vector<std::string> lines() { return split_lines(text()); }

 private:
  std::ostringstream out_;
};

// Points of every path-starting move and line of a plot file's lines, by path.
inline std::vector<std::vector<std::pair<float, float>>> drawn_paths(
    const std::vector<std::string>& lines) {
  std::vector<std::vector<std::pair<float, float>>> v;
  for (const std::string& s : lines) {
    float x = 0.0f, y = 0.0f;
    char op[16] = {};
    if (std::sscanf(s.c_str(), "%f %f %15s", &x, &y, op) != 3) continue;
    const std::string o = op;
    if (o == "moveto") v.emplace_back();
    if ((o == "moveto" || o == "lineto") && !v.empty()) v.back().emplace_back(x, y);
  }
  return v;
}

inline bool have_ghostscript() { return std::system("command -v gs >/dev/null 2>&1") == 0; }

inline std::string illustrator_prelude() {
  return std::string(POLARSKETCH_SOURCE_DIR) + "/tests/postscript/illustrator_prelude.ps";
}

// Renders the files in order with Ghostscript. Returns its messages; `ok` is
// false on a non-zero exit status or any error message.
inline std::string render(const std::vector<std::string>& files, bool& ok) {
  std::string cmd = "gs -q -dSAFER -dBATCH -dNOPAUSE -sDEVICE=png16m -sOutputFile=/dev/null";
  for (const std::string& f : files) cmd += " '" + f + "'";
  cmd += " 2>&1 </dev/null";
  std::string out;
  FILE* p = popen(cmd.c_str(), "r");
  if (p == nullptr) {
    ok = false;
    return "could not run gs";
  }
  char buf[512];
  while (std::fgets(buf, sizeof buf, p) != nullptr) out += buf;
  const int status = pclose(p);
  ok = status == 0 && out.find("Error") == std::string::npos &&
       out.find("error") == std::string::npos;
  return out;
}

// Renders a plot file of dialect ips (dialect 3 behind the prelude).
#define EXPECT_RENDERS(path, ips)                                                    \
  do {                                                                               \
    if (!::polarsketch::testing::have_ghostscript()) GTEST_SKIP() << "gs absent";    \
    std::vector<std::string> files_;                                                 \
    if ((ips) == 3) files_.push_back(::polarsketch::testing::illustrator_prelude()); \
    files_.push_back(std::string(path));                                             \
    bool ok_ = false;                                                                \
    std::string msg_ = ::polarsketch::testing::render(files_, ok_);                  \
    EXPECT_TRUE(ok_) << msg_;                                                        \
  } while (0)

}  // namespace polarsketch::testing
