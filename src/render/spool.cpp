// Pieces of text in memory, the older ones on a temporary file.
#include "render/spool.hpp"

#include <algorithm>
#include <stdexcept>

namespace polarsketch::render {
namespace {

constexpr std::size_t kPieceSize = std::size_t{1} << 20;
constexpr std::size_t kPiecesInMemory = 32;  // 32 MB of the latest text

}  // namespace

Spool::Place Spool::append(std::string_view text) {
  if (pieces_.size() == spilled_ || pieces_.back().size() + text.size() > kPieceSize) {
    if (pieces_.size() - spilled_ >= kPiecesInMemory) spill();
    pieces_.emplace_back();
    pieces_.back().reserve(std::max(kPieceSize, text.size()));
  }
  const Place at{pieces_.size() - 1, pieces_.back().size()};
  pieces_.back() += text;
  size_ += text.size();
  return at;
}

bool Spool::overwrite(Place at, std::string_view text) {
  if (at.piece < spilled_ || at.piece >= pieces_.size()) return false;
  std::string& piece = pieces_[at.piece];
  if (at.offset + text.size() > piece.size()) return false;
  piece.replace(at.offset, text.size(), text);
  return true;
}

void Spool::spill() {
  if (!file_ && !failed_) {
    file_.reset(std::tmpfile());
    failed_ = !file_;
  }
  std::string& oldest = pieces_[spilled_];
  if (!failed_ && std::fwrite(oldest.data(), 1, oldest.size(), file_.get()) != oldest.size())
    failed_ = true;
  std::string().swap(oldest);
  ++spilled_;
}

void Spool::read(const std::function<void(std::string_view)>& sink) const {
  if (failed_) throw std::runtime_error("the temporary file of a large page could not be written");
  if (file_) {
    std::FILE* f = file_.get();
    if (std::fflush(f) != 0 || std::fseek(f, 0, SEEK_SET) != 0)
      throw std::runtime_error("the temporary file of a large page could not be read");
    std::string buffer(kPieceSize, '\0');
    std::size_t got = 0;
    while ((got = std::fread(buffer.data(), 1, buffer.size(), f)) > 0)
      sink(std::string_view(buffer.data(), got));
    const bool bad = std::ferror(f) != 0;
    std::fseek(f, 0, SEEK_END);  // later pieces append after the spilled ones
    if (bad) throw std::runtime_error("the temporary file of a large page could not be read");
  }
  for (std::size_t k = spilled_; k < pieces_.size(); ++k) sink(pieces_[k]);
}

}  // namespace polarsketch::render
