// Text written in order and read back whole, such as a figure's page body:
// the latest pieces stay in memory, where they can still be changed, and
// older ones go to a temporary file, so a page of millions of marks costs
// disk rather than memory.
#pragma once

#include <cstdio>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace polarsketch::render {

class Spool {
 public:
  // Where a piece of text starts.
  struct Place {
    std::size_t piece = 0;
    std::size_t offset = 0;
  };

  // Appends `text` (kept in one piece) and says where it starts.
  Place append(std::string_view text);
  // Overwrites text that starts at `at` with as many bytes of `text`; false
  // when that text has gone to the file already (it is left as it was).
  bool overwrite(Place at, std::string_view text);
  // Hands everything written to `sink` in order. Throws std::runtime_error
  // when the temporary file could not be written or read.
  void read(const std::function<void(std::string_view)>& sink) const;
  std::size_t size() const { return size_; }

 private:
  struct Closer {
    void operator()(std::FILE* f) const { std::fclose(f); }
  };
  void spill();

  std::vector<std::string> pieces_;  // those before spilled_ are on the file (and empty)
  std::size_t spilled_ = 0;
  std::size_t size_ = 0;
  std::unique_ptr<std::FILE, Closer> file_;
  bool failed_ = false;
};

}  // namespace polarsketch::render
