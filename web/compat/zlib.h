// The zlib calls the PDF writer makes, for a build without the zlib
// library (the WebAssembly build's): deflate writes a valid zlib stream of
// stored (uncompressed) blocks with its Adler-32 check, so the PDF is larger
// than with zlib but reads the same; inflate reads such streams back (a
// compressed block is a data error). Only the WebAssembly build's include
// path holds this folder.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>

using Bytef = unsigned char;
using uInt = unsigned int;
using uLong = unsigned long;

constexpr int Z_OK = 0;
constexpr int Z_STREAM_END = 1;
constexpr int Z_STREAM_ERROR = -2;
constexpr int Z_DATA_ERROR = -3;
constexpr int Z_BUF_ERROR = -5;
constexpr int Z_NO_FLUSH = 0;
constexpr int Z_FINISH = 4;
constexpr int Z_BEST_SPEED = 1;
constexpr int Z_DEFAULT_COMPRESSION = -1;

namespace stored_deflate {

struct State {
  std::string pending;  // output not yet handed out
  std::uint32_t a = 1, b = 0;  // Adler-32 of the input so far
  bool finished = false;
};

inline void add_block(State& s, const Bytef* data, std::size_t n, bool last) {
  s.pending += static_cast<char>(last ? 1 : 0);  // BFINAL, BTYPE 00, then byte aligned
  const auto len = static_cast<std::uint16_t>(n);
  const auto nlen = static_cast<std::uint16_t>(~len);
  for (const std::uint16_t v : {len, nlen}) {
    s.pending += static_cast<char>(v & 0xff);
    s.pending += static_cast<char>(v >> 8);
  }
  if (n > 0) s.pending.append(reinterpret_cast<const char*>(data), n);
  for (std::size_t i = 0; i < n; ++i) {
    s.a = (s.a + data[i]) % 65521u;
    s.b = (s.b + s.a) % 65521u;
  }
}

// Where inflate is in a stream of stored blocks.
struct Reading {
  enum class Part { header, block, lengths, data, check, done } part = Part::header;
  int needed = 2;         // bytes of the header, lengths or check still to read
  std::uint32_t value = 0;  // those bytes so far
  std::size_t left = 0;   // bytes of the block's data still to copy
  bool last = false;      // the block is the stream's last
};

}  // namespace stored_deflate

struct z_stream {
  Bytef* next_in = nullptr;
  uInt avail_in = 0;
  uLong total_in = 0;
  Bytef* next_out = nullptr;
  uInt avail_out = 0;
  uLong total_out = 0;
  const char* msg = nullptr;
  stored_deflate::State* state = nullptr;
  stored_deflate::Reading* reading = nullptr;
};

inline int deflateInit(z_stream* strm, int /*level*/) {
  strm->state = new stored_deflate::State;
  strm->state->pending = "\x78\x01";  // deflate, 32 KiB window, no dictionary
  return Z_OK;
}

inline int deflate(z_stream* strm, int flush) {
  stored_deflate::State* s = strm->state;
  if (s == nullptr) return Z_STREAM_ERROR;
  while (strm->avail_in > 0 && !s->finished) {
    const std::size_t n = std::min<std::size_t>(strm->avail_in, 65535);
    stored_deflate::add_block(*s, strm->next_in, n, false);
    strm->next_in += n;
    strm->avail_in -= static_cast<uInt>(n);
    strm->total_in += n;
  }
  if (flush == Z_FINISH && !s->finished) {
    stored_deflate::add_block(*s, nullptr, 0, true);
    const std::uint32_t adler = (s->b << 16) | s->a;
    for (int shift = 24; shift >= 0; shift -= 8) s->pending += static_cast<char>((adler >> shift) & 0xff);
    s->finished = true;
  }
  const std::size_t n = std::min<std::size_t>(strm->avail_out, s->pending.size());
  std::copy_n(s->pending.data(), n, strm->next_out);
  s->pending.erase(0, n);
  strm->next_out += n;
  strm->avail_out -= static_cast<uInt>(n);
  strm->total_out += n;
  if (s->finished && s->pending.empty()) return Z_STREAM_END;
  return n > 0 || flush != Z_FINISH ? Z_OK : Z_BUF_ERROR;
}

inline int deflateCopy(z_stream* dest, z_stream* source) {
  *dest = *source;
  dest->state = source->state ? new stored_deflate::State(*source->state) : nullptr;
  return Z_OK;
}

inline int inflateInit(z_stream* strm) {
  strm->reading = new stored_deflate::Reading;
  return Z_OK;
}

inline int inflate(z_stream* strm, int /*flush*/) {
  using Part = stored_deflate::Reading::Part;
  stored_deflate::Reading* r = strm->reading;
  if (r == nullptr) return Z_STREAM_ERROR;
  bool progress = false;
  auto take = [&] {
    const Bytef b = *strm->next_in++;
    --strm->avail_in;
    ++strm->total_in;
    progress = true;
    return b;
  };
  while (r->part != Part::done) {
    if (r->part == Part::data) {
      if (r->left == 0) {
        r->part = r->last ? Part::check : Part::block;
        r->needed = 4;
        r->value = 0;
        continue;
      }
      const std::size_t n = std::min<std::size_t>({r->left, strm->avail_in, strm->avail_out});
      if (n == 0) break;
      std::copy_n(strm->next_in, n, strm->next_out);
      strm->next_in += n;
      strm->avail_in -= static_cast<uInt>(n);
      strm->total_in += n;
      strm->next_out += n;
      strm->avail_out -= static_cast<uInt>(n);
      strm->total_out += n;
      r->left -= n;
      progress = true;
      continue;
    }
    if (strm->avail_in == 0) break;
    if (r->part == Part::block) {
      const Bytef b = take();
      if ((b & 6) != 0) return Z_DATA_ERROR;  // a compressed block
      r->last = (b & 1) != 0;
      r->part = Part::lengths;
      r->needed = 4;
      r->value = 0;
      continue;
    }
    r->value = (r->value << 8) | take();
    if (--r->needed > 0) continue;
    if (r->part == Part::header) {
      if (((r->value >> 8) & 0x0f) != 8 || r->value % 31 != 0) return Z_DATA_ERROR;
      r->part = Part::block;
    } else if (r->part == Part::lengths) {
      // LEN and NLEN, each low byte first.
      const std::uint32_t low = r->value >> 24, high = (r->value >> 16) & 0xff;
      const std::uint32_t nlow = (r->value >> 8) & 0xff, nhigh = r->value & 0xff;
      if ((low ^ nlow) != 0xff || (high ^ nhigh) != 0xff) return Z_DATA_ERROR;
      r->left = low | high << 8;
      r->part = Part::data;
    } else {
      r->part = Part::done;  // the Adler-32 check, read past
    }
  }
  if (r->part == Part::done) return Z_STREAM_END;
  return progress ? Z_OK : Z_BUF_ERROR;
}

inline int inflateEnd(z_stream* strm) {
  delete strm->reading;
  strm->reading = nullptr;
  return Z_OK;
}

inline int deflateEnd(z_stream* strm) {
  delete strm->state;
  strm->state = nullptr;
  return Z_OK;
}
