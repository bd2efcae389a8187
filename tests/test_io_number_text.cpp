// Number text: Fw.d, Iw and the list-directed real, both as hand-checked
// tables and against an independent reference built from printf's correctly
// rounded 17 significant digits with a half-up rounding on those digits.
#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <random>
#include <string>

#include "io/number_text.h"

namespace {

std::string F(double x, int w, int d) {
  char buf[80];
  io::edit_f(buf, x, w, d);
  return std::string(buf, static_cast<size_t>(w));
}

std::string I(std::int32_t v, int w) {
  char buf[80];
  io::edit_i(buf, v, w);
  return std::string(buf, static_cast<size_t>(w));
}

std::string L(double x) {
  char buf[64];
  const int n = io::list_real_text(buf, x);
  return std::string(buf, static_cast<size_t>(n));
}

// ---- independent reference -------------------------------------------------

// |x| as 17 significant digits (printf rounds correctly, ties to even) and the
// number of integer digits p: |x| = 0.ddddddddddddddddd x 10^p.
void digits17(double x, std::string& dig, int& p) {
  char buf[64];
  std::snprintf(buf, sizeof buf, "%.16e", std::fabs(x));
  dig.assign(1, buf[0]);
  dig.append(buf + 2, 16);
  p = std::atoi(std::strchr(buf, 'e') + 1) + 1;
}

// Adds one to the decimal string; may grow it by a leading '1'.
void add_one(std::string& s) {
  for (size_t i = s.size(); i-- > 0;) {
    if (s[i] != '9') {
      ++s[i];
      return;
    }
    s[i] = '0';
  }
  s.insert(s.begin(), '1');
}

std::string ref_f(double x, int w, int d) {
  std::string dig;
  int p;
  digits17(x, dig, p);
  // Integer digits and fraction digits of the 17-digit value.
  std::string ip, fp;
  if (p >= 17) {
    ip = dig + std::string(static_cast<size_t>(p - 17), '0');
  } else if (p > 0) {
    ip = dig.substr(0, static_cast<size_t>(p));
    fp = dig.substr(static_cast<size_t>(p));
  } else {
    fp = std::string(static_cast<size_t>(-p), '0') + dig;
  }
  if (fp.size() < static_cast<size_t>(d) + 1) fp.resize(static_cast<size_t>(d) + 1, '0');
  // Half up at the d-th decimal.
  std::string r = ip + fp.substr(0, static_cast<size_t>(d));
  if (r.empty()) r.assign(1, '0');
  if (fp[static_cast<size_t>(d)] >= '5') add_one(r);
  const std::string frac = r.substr(r.size() - static_cast<size_t>(d));
  std::string whole = r.substr(0, r.size() - static_cast<size_t>(d));
  whole.erase(0, whole.find_first_not_of('0') == std::string::npos ? whole.size()
                                                                    : whole.find_first_not_of('0'));
  const bool zero = whole.empty() && frac.find_first_not_of('0') == std::string::npos;
  std::string t;
  if (std::signbit(x) && !zero) t += '-';
  t += whole.empty() && d == 0 ? "0" : whole;
  t += '.';
  t += frac;
  if (static_cast<int>(t.size()) > w) return std::string(static_cast<size_t>(w), '*');
  return std::string(static_cast<size_t>(w) - t.size(), ' ') + t;
}

std::string ref_list(double x) {
  if (x == 0) return "0.000000000000000E+000";
  std::string dig;
  int p;
  digits17(x, dig, p);
  std::string d16 = dig.substr(0, 16);
  if (dig[16] >= '5') add_one(d16);
  if (d16.size() == 17) {  // 9999999999999999 + 1
    d16.resize(16);
    ++p;
  }
  std::string t = x < 0 ? "-" : "";
  if (p >= 1 && p <= 7) {
    t += d16.substr(0, static_cast<size_t>(p));
    t += '.';
    t += d16.substr(static_cast<size_t>(p));
    t += std::string(static_cast<size_t>(p - 1), '0');  // 15 decimals in all
  } else {
    char e[16];
    std::snprintf(e, sizeof e, "E%c%03d", p - 1 < 0 ? '-' : '+', std::abs(p - 1));
    t += d16.substr(0, 1) + "." + d16.substr(1) + e;
  }
  return t;
}

// ---- hand-checked tables -----------------------------------------------------

struct FCase {
  double x;
  int w, d;
  const char* text;
};

// Expected texts: the value's 17 significant digits (exact binary value in the
// comment where it decides), then half up at the d-th decimal.
const FCase kFCases[] = {
    // The documented examples.
    {45.0, 5, 1, " 45.0"},
    {359.96, 5, 1, "360.0"},  // 359.9599999999999795 -> 17 digits ...96000 -> 360.0
    {-2.5, 5, 1, " -2.5"},
    {-0.04, 5, 1, "   .0"},  // rounds to zero: no minus sign
    {1000.0, 5, 1, "*****"},
    {0.37, 5, 2, "  .37"},
    {11.486, 5, 2, "11.49"},
    {2451545.0, 11, 2, " 2451545.00"},
    // Signed zero and zero.
    {-0.0, 5, 1, "   .0"},
    {-0.0, 3, 0, " 0."},
    {0.0, 2, 0, "0."},
    {0.0, 5, 2, "  .00"},
    {0.0, 1, 0, "*"},  // "0." needs two columns
    // Rounding carries.
    {0.9999996, 8, 6, "1.000000"},
    {0.9999996, 7, 6, "*******"},  // the carry makes it one column too wide
    {0.9999996, 9, 7, " .9999996"},
    {9.96, 3, 1, "***"},
    {9.96, 4, 1, "10.0"},
    {99.95, 4, 1, "****"},  // 99.95000000000000284 -> 100.0
    {99.95, 5, 1, "100.0"},
    {-999.95, 6, 1, "******"},  // -1000.0 needs 7
    {1e-6, 20, 18, " .000001000000000000"},  // 9.9999999999999995e-07 -> carry
    // Exact ties at the d-th decimal: half up, away from zero.
    {0.125, 4, 2, " .13"},
    {0.125, 3, 2, ".13"},
    {-0.125, 5, 2, " -.13"},
    {0.375, 4, 2, " .38"},
    {0.25, 4, 1, "  .3"},
    {1.5, 2, 0, "2."},
    {2.5, 2, 0, "3."},
    {-2.5, 3, 0, "-3."},
    {0.5, 2, 0, "1."},
    {-0.5, 3, 0, "-1."},
    // Near ties: the 17 digits decide, not the exact binary value.
    {0.05, 4, 1, "  .1"},    // 0.050000000000000000277
    {-0.05, 5, 1, "  -.1"},
    {0.35, 4, 1, "  .3"},    // 0.34999999999999997780
    {0.45, 4, 1, "  .5"},    // 0.45000000000000001110
    {0.15, 4, 1, "  .1"},    // 0.14999999999999999445
    {2.675, 4, 2, "2.67"},   // 2.6749999999999998224
    // d = 0: "0." only below 0.5.
    {0.49, 2, 0, "0."},
    {0.3, 3, 0, " 0."},
    {-0.3, 3, 0, " 0."},
    // Fits exactly / one too wide.
    {1000.0, 6, 1, "1000.0"},
    {-1000.0, 6, 1, "******"},
    // Huge: digits beyond the 17th are zeros.
    {1e300, 10, 1, "**********"},
    {1e20, 25, 1, "  100000000000000000000.0"},
    {1.2345678901234567e20, 25, 1, "  123456789012345670000.0"},  // ...667584 exact
    {1180591620717411303424.0, 25, 0, "  1180591620717411300000."},  // 2^70
    {1e17, 20, 1, "100000000000000000.0"},
    {123456789012345678.0, 20, 0, " 123456789012345680."},
    {1.0000000000000002e16, 20, 1, " 10000000000000002.0"},
    // 17-digit ties (the binary value ends in 25 or 75 at the 18th digit) go to even.
    {1000000000000000.25, 20, 1, "  1000000000000000.2"},
    {1000000000000000.75, 20, 1, "  1000000000000000.8"},
    // Tiny.
    {1e-300, 5, 1, "   .0"},
    {1e-300, 3, 0, " 0."},
    {4.9406564584124654e-324, 5, 2, "  .00"},
    {0.0000152587890625, 10, 8, " .00001526"},  // 2^-16
    {1e-5, 9, 7, " .0000100"},
    {1e-6, 10, 8, " .00000100"},
    {7.5e-6, 10, 6, "   .000008"},
    {2.5e-7, 8, 6, " .000000"},  // 2.4999999999999999e-07
    {0.1, 20, 18, " .100000000000000010"},  // 17 digits, then zeros
    {1.0 / 3.0, 22, 20, " .33333333333333331000"},
};

TEST(EditF, HandCheckedTable) {
  for (const FCase& c : kFCases) {
    EXPECT_EQ(F(c.x, c.w, c.d), c.text) << "F" << c.w << "." << c.d << " of " << c.x;
  }
}

TEST(EditF, NonFiniteShowsAsterisks) {
  EXPECT_EQ(F(std::numeric_limits<double>::infinity(), 5, 1), "*****");
  EXPECT_EQ(F(std::numeric_limits<double>::quiet_NaN(), 4, 1), "****");
}

TEST(EditI, Table) {
  struct {
    std::int32_t v;
    int w;
    const char* text;
  } const cases[] = {
      {100, 2, "**"},
      {99, 2, "99"},
      {0, 1, "0"},
      {0, 3, "  0"},
      {-99, 3, "-99"},
      {-100, 3, "***"},
      {2000, 6, "  2000"},
      {-4712, 6, " -4712"},
      {2147483647, 10, "2147483647"},
      {INT32_MIN, 11, "-2147483648"},
      {INT32_MIN, 10, "**********"},
  };
  for (const auto& c : cases) EXPECT_EQ(I(c.v, c.w), c.text) << "I" << c.w << " of " << c.v;
}

TEST(ListReal, Table) {
  struct {
    double x;
    const char* text;
  } const cases[] = {
      {1.0, "1.000000000000000"},
      {2451545.5, "2451545.500000000000000"},
      {3.141592653589793, "3.141592653589793"},
      {12345678.0, "1.234567800000000E+007"},
      {0.5, "5.000000000000000E-001"},
      {0.0, "0.000000000000000E+000"},
      {-0.0, "0.000000000000000E+000"},
      {-3.25, "-3.250000000000000"},
      {9999999.0, "9999999.000000000000000"},
      {10000000.0, "1.000000000000000E+007"},
      {9999999.999999998, "9999999.999999998000000"},
      {123.456, "123.456000000000000"},
      {0.1, "1.000000000000000E-001"},                      // 1.0000000000000001e-01
      {1.0 / 3.0, "3.333333333333333E-001"},
      {2.0 / 3.0, "6.666666666666666E-001"},                // ...6663: 17th digit 3
      {6.3464223328362985, "6.346422332836299"},           // 17th digit 5 after an even 8: up
      {2.5314672613638205, "2.531467261363821"},
      {0.9999999999999999, "9.999999999999999E-001"},
      {1e-6, "1.000000000000000E-006"},                     // 9.9999999999999995e-07: carry
      {1e-7, "1.000000000000000E-007"},                     // 9.9999999999999995e-08: carry
      {1e24, "1.000000000000000E+024"},                     // 9.9999999999999998e+23: carry
      {-1e-5, "-1.000000000000000E-005"},
      {9007199254740992.0, "9.007199254740992E+015"},
      {1e16, "1.000000000000000E+016"},
      {1e17, "1.000000000000000E+017"},
      {1e300, "1.000000000000000E+300"},
      {1e-300, "1.000000000000000E-300"},
      {4.9406564584124654e-324, "4.940656458412465E-324"},
      {1.7976931348623157e308, "1.797693134862316E+308"},
  };
  for (const auto& c : cases) EXPECT_EQ(L(c.x), c.text) << "list-directed " << c.x;
}

TEST(ListInt, Text) {
  char buf[16];
  EXPECT_EQ(std::string(buf, static_cast<size_t>(io::list_int_text(buf, 0))), "0");
  EXPECT_EQ(std::string(buf, static_cast<size_t>(io::list_int_text(buf, -5))), "-5");
  EXPECT_EQ(std::string(buf, static_cast<size_t>(io::list_int_text(buf, INT32_MIN))),
            "-2147483648");
}

// ---- randomized comparison with the reference ------------------------------------

// Magnitudes around the borders of the exact integer path (1e-5 .. 1e17) and of
// the fixed/exponent switch of the list-directed form.
const double kBorders[] = {1e-7,  1e-6, 1e-5, 1e-4, 0.1,  0.5,  1.0,  10.0,
                           1e7,   1e15, 1e16, 1e17, 1e18, 1e22, 1e23, 0x1p53,
                           0x1p54, 0x1p57, 0x1p60, 0x1p-17, 0x1p-20, 0x1p-24};

struct Sampler {
  std::mt19937_64 rng{20240601};
  double log_uniform(double lo_exp, double hi_exp) {
    std::uniform_real_distribution<double> e(lo_exp, hi_exp);
    const double x = std::pow(10.0, e(rng));
    return (rng() & 1) ? -x : x;
  }
  double any_finite() {
    for (;;) {
      std::uint64_t bits = rng();
      double x;
      std::memcpy(&x, &bits, sizeof x);
      if (std::isfinite(x)) return x;
    }
  }
  double near_border() {
    const double b = kBorders[rng() % (sizeof kBorders / sizeof kBorders[0])];
    const int steps = static_cast<int>(rng() % 2001) - 1000;
    double x = b;
    for (int i = 0; i < std::abs(steps); ++i) x = std::nextafter(x, steps < 0 ? 0.0 : 1e300);
    return x;
  }
  // A decimal tie at d decimals (k + 0.5) / 10^d as the nearest double, or a neighbour.
  double near_tie(int d) {
    std::string t = std::to_string(rng() % 100000) + ".";
    for (int i = 0; i < d; ++i) t += static_cast<char>('0' + rng() % 10);
    t += '5';
    double x = std::strtod(t.c_str(), nullptr);
    switch (rng() % 3) {
      case 0: x = std::nextafter(x, 0.0); break;
      case 1: x = std::nextafter(x, 1e300); break;
      default: break;
    }
    return (rng() & 1) ? -x : x;
  }
  // A value with 16 integer digits and a binary fraction: 17-digit ties.
  double tie17() {
    const double n = 1e15 + static_cast<double>(rng() % 100000000000000ull);
    return n + 0.125 * static_cast<double>(rng() % 8);
  }
};

TEST(EditF, RandomAgainstReference) {
  Sampler s;
  int mismatches = 0;
  long checked = 0;
  auto check = [&](double x, int w, int d) {
    ++checked;
    const std::string got = F(x, w, d), want = ref_f(x, w, d);
    if (got != want && ++mismatches <= 20) {
      ADD_FAILURE() << "F" << w << "." << d << " of " << std::hexfloat << x << std::defaultfloat
                    << " (" << x << "): got '" << got << "' want '" << want << "'";
    }
  };
  std::uniform_int_distribution<int> dd(0, 24);
  for (int i = 0; i < 300000; ++i) {
    const int d = dd(s.rng);
    check(s.log_uniform(-8, 19), 45, d);
  }
  for (int i = 0; i < 200000; ++i) {
    const int d = dd(s.rng);
    check(s.near_border(), 45, d);
  }
  for (int i = 0; i < 200000; ++i) {
    const int d = static_cast<int>(s.rng() % 7);
    check(s.near_tie(d), 20, d);
  }
  for (int i = 0; i < 100000; ++i) check(s.tie17(), 24, static_cast<int>(s.rng() % 4));
  // Beyond the exact integer path: digits past the 17th are zeros.
  for (int i = 0; i < 100000; ++i) {
    const int d = dd(s.rng);
    check(s.log_uniform(-40, 62), 64, d);
  }
  for (int i = 0; i < 100000; ++i) {
    const int d = dd(s.rng);
    check(s.any_finite(), 64, d);
  }
  // Narrow fields: the asterisk decision and the leading "0." of d = 0.
  for (int i = 0; i < 200000; ++i) {
    const int w = 1 + static_cast<int>(s.rng() % 8);
    const int d = static_cast<int>(s.rng() % static_cast<unsigned>(w));
    check(s.log_uniform(-4, 5), w, d);
  }
  EXPECT_EQ(mismatches, 0) << "of " << checked;
}

TEST(ListReal, RandomAgainstReference) {
  Sampler s;
  int mismatches = 0;
  long checked = 0;
  auto check = [&](double x) {
    ++checked;
    const std::string got = L(x), want = ref_list(x);
    if (got != want && ++mismatches <= 20) {
      ADD_FAILURE() << "list-directed " << std::hexfloat << x << std::defaultfloat << " (" << x
                    << "): got '" << got << "' want '" << want << "'";
    }
  };
  for (int i = 0; i < 300000; ++i) check(s.log_uniform(-8, 19));
  for (int i = 0; i < 200000; ++i) check(s.near_border());
  for (int i = 0; i < 200000; ++i) check(s.any_finite());
  for (int i = 0; i < 50000; ++i) check(s.tie17());
  // Every power of ten and its neighbours (carries into the next decade).
  for (int k = -323; k <= 308; ++k) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "1e%d", k);
    const double x = std::strtod(buf, nullptr);
    check(x);
    check(std::nextafter(x, 0.0));
    check(std::nextafter(x, 1e308));
  }
  EXPECT_EQ(mismatches, 0) << "of " << checked;
}

TEST(EditI, RandomAgainstPrintf) {
  std::mt19937_64 rng(7);
  for (int i = 0; i < 100000; ++i) {
    const auto v = static_cast<std::int32_t>(static_cast<std::uint32_t>(rng()) >> (rng() % 32));
    const int w = 1 + static_cast<int>(rng() % 12);
    char want[32];
    const int n = std::snprintf(want, sizeof want, "%*d", w, v);
    const std::string expect = n > w ? std::string(static_cast<size_t>(w), '*') : std::string(want);
    ASSERT_EQ(I(v, w), expect) << "I" << w << " of " << v;
  }
}

// ---- reading numbers ----------------------------------------------------------

TEST(ParseReal, Table) {
  struct {
    const char* text;
    int implied;
    io::ParseResult result;
    double value;
  } const cases[] = {
      {"1", -1, io::ParseResult::Ok, 1.0},
      {"2451545.5", -1, io::ParseResult::Ok, 2451545.5},
      {"2.5D3", -1, io::ParseResult::Ok, 2500.0},
      {"2.5d3", -1, io::ParseResult::Ok, 2500.0},
      {"-1.5e-2", -1, io::ParseResult::Ok, -0.015},
      {"+3", -1, io::ParseResult::Ok, 3.0},
      {"7.", -1, io::ParseResult::Ok, 7.0},
      {".5", -1, io::ParseResult::Ok, 0.5},
      {"1E+2", -1, io::ParseResult::Ok, 100.0},
      {"123456789", 5, io::ParseResult::Ok, 1234.56789},  // F9.5: last five digits are decimals
      {"1.5", 5, io::ParseResult::Ok, 1.5},               // a point overrides them
      {"-15", 1, io::ParseResult::Ok, -1.5},
      {"15", 0, io::ParseResult::Ok, 15.0},
      {"1e-310", -1, io::ParseResult::Ok, 1e-310},  // subnormal
      {"1.7976931348623157e308", -1, io::ParseResult::Ok, 1.7976931348623157e308},
      {"abc", -1, io::ParseResult::Bad, 0},
      {"", -1, io::ParseResult::Bad, 0},
      {"-", -1, io::ParseResult::Bad, 0},
      {".", -1, io::ParseResult::Bad, 0},
      {"1.5.5", -1, io::ParseResult::Bad, 0},
      {"1e", -1, io::ParseResult::Bad, 0},
      {"1e+", -1, io::ParseResult::Bad, 0},
      {"1.5x", -1, io::ParseResult::Bad, 0},
      {"1e400", -1, io::ParseResult::Range, 0},
      {"1.8e308", -1, io::ParseResult::Range, 0},
  };
  for (const auto& c : cases) {
    double v = -7.0;
    const io::ParseResult r = io::parse_real(c.text, v, c.implied);
    EXPECT_EQ(r, c.result) << "'" << c.text << "'";
    if (c.result == io::ParseResult::Ok && r == c.result) {
      EXPECT_EQ(v, c.value) << "'" << c.text << "'";
    }
  }
}

TEST(ParseReal, RoundTripsEveryDouble) {
  Sampler s;
  for (int i = 0; i < 100000; ++i) {
    const double x = s.any_finite();
    char buf[40];
    std::snprintf(buf, sizeof buf, "%.17g", x);
    double v = 0;
    ASSERT_EQ(io::parse_real(buf, v), io::ParseResult::Ok) << buf;
    ASSERT_EQ(v, x) << buf;
  }
}

TEST(ParseInt, Table) {
  struct {
    const char* text;
    io::ParseResult result;
    std::int32_t value;
  } const cases[] = {
      {"42", io::ParseResult::Ok, 42},
      {"-12", io::ParseResult::Ok, -12},
      {"+7", io::ParseResult::Ok, 7},
      {"2147483647", io::ParseResult::Ok, 2147483647},
      {"-2147483648", io::ParseResult::Ok, INT32_MIN},
      {"2147483648", io::ParseResult::Range, 0},
      {"99999999999", io::ParseResult::Range, 0},
      // Not a number at all, however many digits come before the letter.
      {"99999999999x", io::ParseResult::Bad, 0},
      {"-2147483649[.5", io::ParseResult::Bad, 0},
      {"1.5", io::ParseResult::Bad, 0},
      {"abc", io::ParseResult::Bad, 0},
      {"-", io::ParseResult::Bad, 0},
  };
  for (const auto& c : cases) {
    std::int32_t v = -7;
    const io::ParseResult r = io::parse_int(c.text, v);
    EXPECT_EQ(r, c.result) << "'" << c.text << "'";
    if (c.result == io::ParseResult::Ok && r == c.result) {
      EXPECT_EQ(v, c.value) << "'" << c.text << "'";
    }
  }
}

}  // namespace
