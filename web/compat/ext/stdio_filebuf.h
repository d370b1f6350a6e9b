// The stream buffer on an open file descriptor that the console's file units
// use, for a C++ library that has none (the WebAssembly build's): the same
// constructor, is_open() and close(), reading and writing the descriptor
// through a buffer of its own. Only the WebAssembly build's include path
// holds this folder.
#pragma once

#include <unistd.h>

#include <array>
#include <cerrno>
#include <ios>
#include <streambuf>

namespace __gnu_cxx {

template <class Char, class Traits = std::char_traits<Char>>
class stdio_filebuf;

template <>
class stdio_filebuf<char> : public std::streambuf {
 public:
  stdio_filebuf(int fd, std::ios::openmode mode) : fd_(fd), mode_(mode) {
    if (mode_ & std::ios::out) setp(buffer_.data(), buffer_.data() + buffer_.size());
  }
  ~stdio_filebuf() override { close(); }
  stdio_filebuf(const stdio_filebuf&) = delete;
  stdio_filebuf& operator=(const stdio_filebuf&) = delete;

  bool is_open() const { return fd_ >= 0; }

  // Writes what waits and closes the descriptor; nullptr when either failed.
  stdio_filebuf* close() {
    if (fd_ < 0) return nullptr;
    const bool written = drain();
    const bool closed = ::close(fd_) == 0;
    fd_ = -1;
    return written && closed ? this : nullptr;
  }

 protected:
  int_type overflow(int_type c) override {
    if (fd_ < 0 || !(mode_ & std::ios::out) || !drain()) return traits_type::eof();
    if (traits_type::eq_int_type(c, traits_type::eof())) return traits_type::not_eof(c);
    *pptr() = traits_type::to_char_type(c);
    pbump(1);
    return c;
  }
  int sync() override { return drain() ? 0 : -1; }
  int_type underflow() override {
    if (fd_ < 0 || !(mode_ & std::ios::in)) return traits_type::eof();
    ssize_t n;
    do n = ::read(fd_, buffer_.data(), buffer_.size());
    while (n < 0 && errno == EINTR);
    if (n <= 0) return traits_type::eof();
    setg(buffer_.data(), buffer_.data(), buffer_.data() + n);
    return traits_type::to_int_type(*gptr());
  }

 private:
  // Writes the waiting characters; false when a write failed.
  bool drain() {
    if (!(mode_ & std::ios::out) || fd_ < 0) return true;
    for (char* p = pbase(); p < pptr();) {
      const ssize_t n = ::write(fd_, p, static_cast<std::size_t>(pptr() - p));
      if (n < 0 && errno == EINTR) continue;
      if (n <= 0) return false;
      p += n;
    }
    setp(buffer_.data(), buffer_.data() + buffer_.size());
    return true;
  }

  int fd_;
  std::ios::openmode mode_;
  std::array<char, 8192> buffer_{};
};

}  // namespace __gnu_cxx
