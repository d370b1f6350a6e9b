// Arrays indexed by their documented bounds (e.g. red(0:12), ustode(1:2,1:2,1:35)).
// Out-of-range indices are caught by an assertion in debug builds.
#pragma once

#include <array>
#include <cassert>
#include <cstddef>

namespace polarsketch {

template <class T, int Lo, int Hi>
struct Indexed {
  static_assert(Hi >= Lo);
  std::array<T, static_cast<std::size_t>(Hi - Lo + 1)> v{};

  static constexpr int lo() { return Lo; }
  static constexpr int hi() { return Hi; }
  static constexpr bool valid(int i) { return i >= Lo && i <= Hi; }
  T& operator()(int i) {
    assert(valid(i));
    return v[static_cast<std::size_t>(i - Lo)];
  }
  const T& operator()(int i) const {
    assert(valid(i));
    return v[static_cast<std::size_t>(i - Lo)];
  }
  void fill(const T& x) { v.fill(x); }
  bool operator==(const Indexed&) const = default;
};

template <class T, int Lo1, int Hi1, int Lo2, int Hi2>
struct Indexed2 {
  static constexpr int n1 = Hi1 - Lo1 + 1;
  static constexpr int n2 = Hi2 - Lo2 + 1;
  std::array<T, static_cast<std::size_t>(n1* n2)> v{};

  T& operator()(int i, int j) {
    assert(i >= Lo1 && i <= Hi1 && j >= Lo2 && j <= Hi2);
    return v[static_cast<std::size_t>((i - Lo1) + n1 * (j - Lo2))];
  }
  const T& operator()(int i, int j) const {
    assert(i >= Lo1 && i <= Hi1 && j >= Lo2 && j <= Hi2);
    return v[static_cast<std::size_t>((i - Lo1) + n1 * (j - Lo2))];
  }
  void fill(const T& x) { v.fill(x); }
};

template <class T, int Lo1, int Hi1, int Lo2, int Hi2, int Lo3, int Hi3>
struct Indexed3 {
  static constexpr int n1 = Hi1 - Lo1 + 1;
  static constexpr int n2 = Hi2 - Lo2 + 1;
  static constexpr int n3 = Hi3 - Lo3 + 1;
  std::array<T, static_cast<std::size_t>(n1* n2* n3)> v{};

  T& operator()(int i, int j, int k) {
    assert(i >= Lo1 && i <= Hi1 && j >= Lo2 && j <= Hi2 && k >= Lo3 && k <= Hi3);
    return v[static_cast<std::size_t>((i - Lo1) + n1 * ((j - Lo2) + n2 * (k - Lo3)))];
  }
  const T& operator()(int i, int j, int k) const {
    assert(i >= Lo1 && i <= Hi1 && j >= Lo2 && j <= Hi2 && k >= Lo3 && k <= Hi3);
    return v[static_cast<std::size_t>((i - Lo1) + n1 * ((j - Lo2) + n2 * (k - Lo3)))];
  }
  void fill(const T& x) { v.fill(x); }
};

}  // namespace polarsketch
