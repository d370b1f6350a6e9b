// Number-to-text routines: widths, fillers, error frames, and the fast
// real2charf1 path checked against its straightforward definition.
#include "console/formatting.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <random>
#include <string>

#include "console/fields.hpp"
#include "console/iocom.hpp"
#include "support/frame_text.hpp"
#include "support/test_support.hpp"

namespace polarsketch::console {
namespace {

using testing::ConsoleCapture;
using testing::frames::concat;
using testing::frames::error_head;
using testing::frames::error_tail;

std::string blanks(int n) { return std::string(static_cast<std::size_t>(n), ' '); }

std::string r2c(float ra, std::int32_t na, std::int32_t mchar, std::int32_t& nchar) {
  std::string s(static_cast<std::size_t>(mchar), ' ');
  real2charf1(s, nchar, na, mchar, ra);
  return s.substr(0, static_cast<std::size_t>(nchar));
}

TEST(Formatting, TextlenAndIntegerWidths) {
  std::int32_t i1 = 0, i2 = 0;
  textlen(i1, i2, "  abc  ");
  EXPECT_EQ(i1, 3);
  EXPECT_EQ(i2, 5);
  textlen(i1, i2, "        ");
  EXPECT_EQ(i1, 8);
  EXPECT_EQ(i2, 8);
  textlen(i1, i2, "x");
  EXPECT_EQ(i1, 1);
  EXPECT_EQ(i2, 1);
  EXPECT_EQ(textlen_trim("  a b  "), "a b");
  EXPECT_EQ(textlen_trim("    "), " ");
  EXPECT_EQ(textlen_trim(""), "");

  std::int32_t len = 0;
  const std::pair<std::int32_t, std::int32_t> cases[] = {
      {0, 1}, {7, 1}, {-7, 2}, {1000, 4}, {-99, 3}, {10, 2}, {99999, 5}, {-2147483647 - 1, 11}};
  for (auto [value, width] : cases) {
    integlen(len, value);
    EXPECT_EQ(len, width) << value;
  }
  // The single-precision logarithm counts 999999 with one digit more.
  integlen(len, 999999);
  EXPECT_EQ(len, 7);
}

TEST(Formatting, IntegerToText) {
  ConsoleCapture cap("\n");
  std::string s(10, '#');
  std::int32_t n = 0;
  intg2char(s, n, 10, 123);
  EXPECT_EQ(n, 3);
  EXPECT_EQ(s, "123       ");
  intg2char(s, n, 10, -45);
  EXPECT_EQ(n, 3);
  EXPECT_EQ(s, "-45       ");
  intg2char(s, n, 10, -5);
  EXPECT_EQ(s.substr(0, 2), "-5");
  carinm2(s, n, 10, 1000000);
  EXPECT_EQ(s.substr(0, static_cast<std::size_t>(n)), "1000000");
  EXPECT_TRUE(cap.text().empty());

  // Every value writes its own digits; the count may be one too high
  // (a leading blank) but never too low.
  auto check = [&](std::int32_t v) {
    std::string t(12, '#');
    intg2char(t, n, 12, v);
    const std::string digits = std::to_string(v);
    const std::size_t w = static_cast<std::size_t>(n);
    ASSERT_TRUE(w == digits.size() || w == digits.size() + 1) << v;
    EXPECT_EQ(t, std::string(w - digits.size(), ' ') + digits + std::string(12 - w, ' ')) << v;
  };
  for (std::int32_t v = -100000; v <= 100000; ++v) check(v);
  for (std::int64_t p = 10; p <= 1000000000; p *= 10) {
    for (std::int64_t d = -2; d <= 2; ++d) {
      check(static_cast<std::int32_t>(p + d));
      check(static_cast<std::int32_t>(-p - d));
    }
  }
  check(std::numeric_limits<std::int32_t>::max());
  check(std::numeric_limits<std::int32_t>::min());

  // Too little room: frame, nines, nchar = mchar.
  std::string t(2, ' ');
  intg2char(t, n, 2, 123);
  EXPECT_EQ(n, 2);
  EXPECT_EQ(t, "99");
  std::vector<std::string> expect = error_head("intg2char  ");
  expect = concat({expect,
                   {" Cannot write integer = " + blanks(17) + "123",
                    " with only  " + blanks(19) + "2 digits", " ==> NEED LONGER CHARACTER STRING",
                    " ==> fill with 9 and set nchar = " + blanks(19) + "2"}});
  EXPECT_EQ(cap.lines(), concat({expect, error_tail()}));
}

TEST(Formatting, RealToTextWidths) {
  std::int32_t n = 0;
  EXPECT_EQ(r2c(3.14159f, 2, 10, n), "3.14");
  EXPECT_EQ(n, 4);
  EXPECT_EQ(r2c(-0.5f, 2, 10, n), "-0.50");
  EXPECT_EQ(n, 5);
  EXPECT_EQ(r2c(0.5f, 2, 10, n), "0.50");
  EXPECT_EQ(r2c(9.996f, 2, 10, n), "10.00");
  EXPECT_EQ(n, 5);
  EXPECT_EQ(r2c(0.0f, 2, 10, n), "0.00");
  EXPECT_EQ(n, 4);
  EXPECT_EQ(r2c(283.5f, 2, 10, n), "283.50");
  // Counted one too wide just below a power of ten: a leading blank.
  EXPECT_EQ(r2c(9.99f, 2, 10, n), " 9.99");
  EXPECT_EQ(r2c(99.99f, 2, 10, n), " 99.99");
  EXPECT_EQ(r2c(-9.99f, 2, 10, n), " -9.99");
  EXPECT_EQ(n, 6);
  EXPECT_EQ(r2c(99000000.0f, 2, 10, n), " 99000000.");
  EXPECT_EQ(n, 10);
  // Fewer columns than needed: fewer decimals.
  EXPECT_EQ(r2c(123.456f, 5, 6, n), " 123.5");
  EXPECT_EQ(n, 6);
  // Negative zero keeps its sign; the 0 before the point makes room for it.
  EXPECT_EQ(r2c(-0.0f, 2, 10, n), "-.00");
  EXPECT_EQ(r2c(-0.001f, 2, 10, n), "-0.00");
}

TEST(Formatting, RealToTextTooNarrowFillsNines) {
  ConsoleCapture cap("\n");
  std::string s(3, ' ');
  std::int32_t n = 0;
  real2charf1(s, n, 2, 3, 1234.5f);
  EXPECT_EQ(s, "999");
  EXPECT_EQ(n, 3);
  std::vector<std::string> expect = error_head("real2charf1");
  expect = concat({expect,
                   {" Cannot write real = " + blanks(20) + "1234.50000",
                    " with only  " + blanks(19) + "3 digits", " ==> NEED LONGER CHARACTER STRING",
                    " ==> fill with 9 and set nchar = " + blanks(19) + "3"}});
  EXPECT_EQ(cap.lines(), concat({expect, error_tail()}));
}

TEST(Formatting, RealToTextNotANumberOrInfinite) {
  ConsoleCapture cap("\n\n");
  std::int32_t n = 0;
  std::string s(10, ' ');
  real2charf1(s, n, 2, 10, std::numeric_limits<float>::quiet_NaN());
  EXPECT_EQ(n, 7);
  EXPECT_EQ(s, "    NaN   ");
  std::vector<std::string> expect = error_head("real2charf1");
  expect = concat(
      {expect,
       {" Cannot get size of real = " + blanks(27) + "NaN", " set n before = " + blanks(19) + "4",
        " set nchar = " + blanks(19) + "7", " Watch for NaN or +/-Inf in output ?"}});
  EXPECT_EQ(cap.lines(), concat({expect, error_tail()}));

  // An infinite value is sized and reported the same way.
  cap.take();
  real2charf1(s, n, 2, 10, -std::numeric_limits<float>::infinity());
  EXPECT_EQ(n, 7);
  EXPECT_EQ(s.substr(0, 7), "   -Inf");
  EXPECT_EQ(cap.lines()[9], " Cannot get size of real = " + blanks(21) + "-Infinity");
}

// real2charf1 written out the long way: logarithm for the digit count,
// the field module for the text.
std::string reference_real2charf1(float ra, std::int32_t na, std::int32_t mchar,
                                  std::int32_t& nchar) {
  float p = 1.0f;
  for (std::int32_t i = 0; i < na; ++i) p *= 10.0f;
  const float e = 1.0f / p + 0.0000001f;
  const float r_sup = ra + e;
  const float r_inf = ra - e;
  std::int32_t nb = 0;
  if (r_sup <= -1.0f) {
    nb = static_cast<std::int32_t>(0.4342945f * std::log(std::fabs(r_inf))) + 1;
    nchar = na + nb + 2;
  } else if (ra < 0.0f) {
    nb = 1;
    nchar = na + 3;
  } else if (r_inf < 1.0f) {
    nb = 1;
    nchar = na + 2;
  } else {
    nb = static_cast<std::int32_t>(0.4342945f * std::log(r_sup)) + 1;
    nchar = na + nb + 1;
  }
  std::int32_t d = na;
  if (mchar < nchar) {
    nchar = mchar;
    d = mchar - nb - 2;
  }
  std::string out(static_cast<std::size_t>(mchar), ' ');
  if (d < 0) return std::string(static_cast<std::size_t>(mchar), '9');
  const std::string field = fmt_fixed(ra, nchar, d);
  out.replace(0, field.size(), field);
  return out;
}

void expect_same_as_reference(float ra, std::int32_t na, std::int32_t mchar) {
  std::int32_t n_ref = 0, n = 0;
  const std::string ref = reference_real2charf1(ra, na, mchar, n_ref);
  std::string s(static_cast<std::size_t>(mchar), '#');
  real2charf1(s, n, na, mchar, ra);
  ASSERT_EQ(s, ref) << "ra=" << ra << " na=" << na << " mchar=" << mchar;
  ASSERT_EQ(n, n_ref) << "ra=" << ra << " na=" << na << " mchar=" << mchar;
}

TEST(Formatting, RealToTextMatchesDefinitionOnEveryThousandth) {
  ConsoleCapture cap;  // a reduced field that cannot hold the value prints a frame
  for (std::int32_t i = -1000000; i <= 1000000; ++i) {  // -1000.000 .. 1000.000
    const float v = static_cast<float>(i) / 1000.0f;
    expect_same_as_reference(v, 2, 10);
    if (HasFatalFailure()) return;
  }
}

TEST(Formatting, RealToTextMatchesDefinitionOnRandomFloats) {
  ConsoleCapture cap;
  iocom.lcrerr = false;  // short fields of large values report without pausing
  std::mt19937 rng(12345);
  std::uniform_real_distribution<float> near(-2000.0f, 2000.0f);
  std::uniform_int_distribution<std::uint32_t> bits_dist;
  for (int i = 0; i < 100000; ++i) {
    float v = near(rng);
    if (i % 3 == 1) {
      // Any finite bit pattern of moderate size, tiny values included.
      std::uint32_t b = bits_dist(rng);
      std::memcpy(&v, &b, sizeof v);
      if (!std::isfinite(v) || std::fabs(v) > 1.0e12f) continue;
    }
    for (std::int32_t na : {0, 1, 2, 3, 5}) {
      expect_same_as_reference(v, na, 20);
      if (HasFatalFailure()) return;
    }
    expect_same_as_reference(v, 2, 7);  // reduced decimals when the field is short
    if (HasFatalFailure()) return;
  }
  // Around every power of ten and the rounding points just below it.
  for (float p = 1.0f; p < 1.0e9f; p *= 10.0f) {
    for (float base : {p, p - 0.005f, p - 0.0100001f, -p, -p + 0.005f}) {
      float v = base;
      for (int k = 0; k < 64; ++k) v = std::nextafter(v, -std::numeric_limits<float>::infinity());
      for (int k = 0; k < 128; ++k) {
        for (std::int32_t na : {0, 1, 2, 3}) {
          expect_same_as_reference(v, na, 20);
          if (HasFatalFailure()) return;
        }
        v = std::nextafter(v, std::numeric_limits<float>::infinity());
      }
    }
  }
}

TEST(Formatting, FixedWriterMatchesFieldModule) {
  ConsoleCapture cap;
  std::mt19937 rng(777);
  std::uniform_int_distribution<std::uint32_t> bits_dist;
  std::uniform_int_distribution<int> width(1, 30);
  for (int i = 0; i < 200000; ++i) {
    std::uint32_t b = bits_dist(rng);
    float v = 0.0f;
    std::memcpy(&v, &b, sizeof v);
    if (!std::isfinite(v)) continue;
    if (i % 2 == 0 && v != 0.0f) v = std::ldexp(v, -std::ilogb(v) + (i % 40) - 10);  // near 1
    const int m = width(rng);
    const int n = i % m;
    std::string s;
    careafmpn(s, m, n, v);
    ASSERT_EQ(s, fmt_fixed(v, m, n)) << v << " " << m << " " << n;
  }
  EXPECT_TRUE(cap.text().empty());
}

TEST(Formatting, NotationWriters) {
  std::string s(12, '#');
  careafmpn(s, 8, 3, -2.5f);
  EXPECT_EQ(s, "  -2.500    ");
  careafmpn(s, 3, 2, 0.5f);
  EXPECT_EQ(s.substr(0, 3), ".50");
  careafmpn(s, 4, 1, 123.0f);
  EXPECT_EQ(s.substr(0, 4), "****");
  std::string e(9, ' ');
  careaempn(e, 9, 2, 12345.0f);
  EXPECT_EQ(e, " 0.12E+05");
  careaempn(e, 9, 2, -0.000123f);
  EXPECT_EQ(e, "-0.12E-03");
}

TEST(Formatting, InvalidNotationFillsX) {
  ConsoleCapture cap("\n\n");
  std::string s(6, ' ');
  careafmpn(s, 4, 4, 1.0f);
  EXPECT_EQ(s, "XXXXXX");
  std::vector<std::string> expect = error_head("careafmpn");
  expect = concat({expect,
                   {" m = " + blanks(9) + "4 n = " + blanks(9) + "4", " fm.n is not a valid format",
                    "  ===> fill with X"}});
  EXPECT_EQ(cap.lines(), concat({expect, error_tail()}));
  cap.take();
  std::string e(6, ' ');
  careaempn(e, 6, 0, 1.0f);
  EXPECT_EQ(e, "XXXXXX");
  EXPECT_EQ(cap.lines()[3], " ***        subroutine careaempn         ***");
  EXPECT_EQ(cap.lines()[10], " em.n is not a valid format");
}

TEST(Formatting, AutomaticNotation) {
  std::string s(9, ' ');
  caream(s, 9, 0.0f);
  EXPECT_EQ(s, " 0.000000");
  caream(s, 9, 1234.5f);
  EXPECT_EQ(s, " 1234.500");
  caream(s, 9, 0.000001f);
  EXPECT_EQ(s, " 0.10E-05");
  caream(s, 9, 0.05f);
  EXPECT_EQ(s, " 0.050000");
  caream(s, 9, 1234567.0f);  // 7 digits = m - 2: no decimals
  EXPECT_EQ(s, " 1234567.");
  caream(s, 9, 123456789.0f);  // 9 digits: exponent form
  EXPECT_EQ(s, " 0.12E+09");
  std::string s7(7, ' ');
  caream(s7, 7, 0.000001f);  // no room for mantissa digits
  EXPECT_EQ(s7, " 0.E-05");

  ConsoleCapture cap;
  std::string t(5, ' ');
  caream(t, 5, 123456.0f);
  EXPECT_EQ(t, "XXXXX");
  EXPECT_EQ(cap.lines(), (std::vector<std::string>{
                             " ***************************", " *** ERROR in carem      ***",
                             " *** m = " + blanks(11) + "5 1+log10(x) > " + blanks(11) + "6",
                             " *** => fill with X      ***", " ***************************"}));
  cap.take();
  caream(t, 2, 1.0f);
  EXPECT_EQ(cap.lines()[1], " *** ERROR in caream     ***");
  EXPECT_EQ(cap.lines()[2], " *** m = " + blanks(11) + "2 need m > " + blanks(11) + "2");
  cap.take();
  caream(t, 5, 0.000001f);
  EXPECT_EQ(cap.lines()[2], " *** m = " + blanks(11) + "5 log10(x) < " + blanks(10) + "-6");
}

}  // namespace
}  // namespace polarsketch::console
