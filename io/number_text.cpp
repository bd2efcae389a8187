#include "io/number_text.h"

#include <bit>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstring>

namespace io {
namespace {

// |x| = n x 10^(p - 17), 10^16 <= n < 10^17: x correctly rounded (ties to
// even) to 17 significant digits, as the standard conversions give it; p is
// the decimal exponent of 0.d1 d2 ... d17 x 10^p.
struct Dec17 {
  std::uint64_t n;
  int p;
};

constexpr std::uint64_t kPow10[20] = {1ull,
                                      10ull,
                                      100ull,
                                      1000ull,
                                      10000ull,
                                      100000ull,
                                      1000000ull,
                                      10000000ull,
                                      100000000ull,
                                      1000000000ull,
                                      10000000000ull,
                                      100000000000ull,
                                      1000000000000ull,
                                      10000000000000ull,
                                      100000000000000ull,
                                      1000000000000000ull,
                                      10000000000000000ull,
                                      100000000000000000ull,
                                      1000000000000000000ull,
                                      10000000000000000000ull};
constexpr std::uint64_t kPow5[23] = {
    1ull, 5ull, 25ull, 125ull, 625ull, 3125ull, 15625ull, 78125ull, 390625ull,
    1953125ull, 9765625ull, 48828125ull, 244140625ull, 1220703125ull,
    6103515625ull, 30517578125ull, 152587890625ull, 762939453125ull,
    3814697265625ull, 19073486328125ull, 95367431640625ull,
    476837158203125ull, 2384185791015625ull};
constexpr std::uint64_t kE16 = kPow10[16];
constexpr std::uint64_t kE17 = kPow10[17];

// Exact integer path for normal x with 1e-5 <~ x < 1e17: x = m 2^e, and
// x 10^k is the integer m 5^k shifted by e + k bits, rounded half to even.
bool decimal17_fast(double x, Dec17& out) {
  const std::uint64_t bits = std::bit_cast<std::uint64_t>(x);
  const int biased = static_cast<int>((bits >> 52) & 0x7ff);
  if (biased == 0 || biased == 0x7ff) return false;  // subnormal, infinite
  const std::uint64_t m = (bits & ((1ull << 52) - 1)) | (1ull << 52);
  const int e = biased - 1075;  // x = m 2^e
  const int E = e + 53;         // 2^(E-1) <= x < 2^E
  // floor(log10 2^(E-1)) + 1: the number of integer digits p is p0 or p0 + 1.
  const int p0 = (((E - 1) * 78913) >> 18) + 1;
  for (int p = p0; p <= p0 + 1; ++p) {
    const int k = 17 - p;
    if (k < 0 || k > 22) return false;
    const unsigned __int128 P = static_cast<unsigned __int128>(m) * kPow5[k];
    const int s = e + k;
    unsigned __int128 q, rem = 0, half = 0;
    if (s >= 0) {
      if (s > 60) return false;
      q = P << s;
    } else {
      const int sh = -s;
      if (sh > 120) return false;
      q = P >> sh;
      rem = P - (q << sh);
      half = static_cast<unsigned __int128>(1) << (sh - 1);
    }
    if (q >= kE17) continue;  // p0 was one short
    std::uint64_t n = static_cast<std::uint64_t>(q);
    if (rem > half || (rem == half && half != 0 && (n & 1))) ++n;
    int pp = p;
    if (n == kE17) {
      n = kE16;
      ++pp;
    }
    out = {n, pp};
    return true;
  }
  return false;
}

Dec17 decimal17(double x) {  // x > 0, finite
  Dec17 d;
  if (decimal17_fast(x, d)) return d;
  char buf[64];
  auto r = std::to_chars(buf, buf + sizeof buf, x, std::chars_format::scientific, 16);
  // "d.dddddddddddddddde[+-]xx"
  std::uint64_t n = static_cast<std::uint64_t>(buf[0] - '0');
  for (int i = 2; i < 18; ++i) n = n * 10 + static_cast<std::uint64_t>(buf[i] - '0');
  int ex = 0;
  std::from_chars(buf + 19 + (buf[19] == '+' ? 1 : 0), r.ptr, ex);
  return {n, ex + 1};
}

void put_digits(std::uint64_t n, char* dig, int count) {  // the last `count` digits of n
  for (int i = count - 1; i >= 0; --i) {
    dig[i] = static_cast<char>('0' + n % 10);
    n /= 10;
  }
}

void fill(char* out, int w, char c) { std::memset(out, c, static_cast<size_t>(w)); }

// Fw.d when more than 19 digits reach down to the d-th decimal: the 17
// digits, then zeros; nothing to round.
void edit_f_long(char* out, bool neg, const Dec17& D, int w, int d) {
  const int kept = D.p + d;  // > 19
  char digits[200];
  put_digits(D.n, digits, 17);
  std::memset(digits + 17, '0', static_cast<size_t>(kept - 17));
  char t[240];
  int tn = 0;
  if (neg) t[tn++] = '-';
  if (D.p > 0) {
    std::memcpy(t + tn, digits, static_cast<size_t>(D.p));
    tn += D.p;
  }
  t[tn++] = '.';
  for (int i = D.p; i < 0; ++i) t[tn++] = '0';  // zeros between the point and d1
  const int from = D.p > 0 ? D.p : 0;
  std::memcpy(t + tn, digits + from, static_cast<size_t>(kept - from));
  tn += kept - from;
  if (tn > w) return fill(out, w, '*');
  fill(out, w - tn, ' ');
  std::memcpy(out + (w - tn), t, static_cast<size_t>(tn));
}

}  // namespace

void edit_f(char* out, double x, int w, int d) {
  if (!std::isfinite(x)) return fill(out, w, '*');
  const bool neg = std::signbit(x);
  // R: the value times 10^d, rounded half up on its 17 significant digits.
  std::uint64_t R = 0;
  if (x != 0) {
    const Dec17 D = decimal17(std::fabs(x));
    if (D.p > w) return fill(out, w, '*');
    const int kept = D.p + d;  // significant digits down to the d-th decimal
    if (kept > 19) return edit_f_long(out, neg, D, w, d);
    if (kept >= 17) {
      R = D.n * kPow10[kept - 17];
    } else if (kept > 0) {
      const std::uint64_t div = kPow10[17 - kept];
      R = D.n / div;
      if (D.n % div >= div / 2) ++R;  // the first dropped digit is 5 or more
    } else if (kept == 0) {
      R = D.n >= 5 * kE16 ? 1 : 0;
    }
  }
  // The text, built from the right: d decimals, the point, the integer digits.
  char t[96];
  int pos = sizeof t;
  const bool is_zero = R == 0;
  for (int i = 0; i < d; ++i) {
    t[--pos] = static_cast<char>('0' + R % 10);
    R /= 10;
  }
  t[--pos] = '.';
  if (R == 0) {
    if (d == 0) t[--pos] = '0';  // below 0.5 with no decimals: "0."
  } else {
    while (R) {
      t[--pos] = static_cast<char>('0' + R % 10);
      R /= 10;
    }
  }
  if (neg && !is_zero) t[--pos] = '-';  // a value rounding to zero loses its sign
  const int tn = static_cast<int>(sizeof t) - pos;
  if (tn > w) return fill(out, w, '*');
  fill(out, w - tn, ' ');
  std::memcpy(out + (w - tn), t + pos, static_cast<size_t>(tn));
}

void edit_f_nearest(char* out, double x, int w, int d) {
  if (!std::isfinite(x)) return fill(out, w, '*');
  char t[400];  // up to 309 integer digits, the point and 63 decimals
  // '#' keeps the point when d = 0 ("0." like edit_f).
  int tn = std::snprintf(t, sizeof t, "%#.*f", d, x);
  // No leading zero below 1, but for d = 0 ("0.").
  const int z = t[0] == '-' ? 1 : 0;
  if (d > 0 && t[z] == '0' && t[z + 1] == '.') {
    std::memmove(t + z, t + z + 1, static_cast<std::size_t>(tn - z));
    --tn;
  }
  if (tn > w) return fill(out, w, '*');
  fill(out, w - tn, ' ');
  std::memcpy(out + (w - tn), t, static_cast<std::size_t>(tn));
}

void edit_i(char* out, std::int32_t v, int w) {
  char t[16];
  auto r = std::to_chars(t, t + sizeof t, v);
  const int tn = static_cast<int>(r.ptr - t);
  if (tn > w) return fill(out, w, '*');
  fill(out, w - tn, ' ');
  std::memcpy(out + (w - tn), t, static_cast<size_t>(tn));
}

int list_int_text(char* out, std::int32_t v) {
  auto r = std::to_chars(out, out + 16, v);
  return static_cast<int>(r.ptr - out);
}

int list_real_text(char* out, double x) {
  if (!std::isfinite(x)) {
    fill(out, 23, '*');
    return 23;
  }
  if (x == 0) {
    static constexpr char zero[] = "0.000000000000000E+000";
    std::memcpy(out, zero, 22);
    return 22;
  }
  int n = 0;
  if (x < 0) out[n++] = '-';
  const Dec17 D17 = decimal17(std::fabs(x));
  // 16 significant digits, half up on the 17th.
  std::uint64_t r16 = D17.n / 10 + (D17.n % 10 >= 5 ? 1 : 0);
  int p = D17.p;
  if (r16 == kE16) {
    r16 = kPow10[15];
    ++p;
  }
  struct {
    char dig[16];
    int p;
  } D;
  put_digits(r16, D.dig, 16);
  D.p = p;
  if (D.p >= 1 && D.p <= 7) {
    std::memcpy(out + n, D.dig, static_cast<size_t>(D.p));
    n += D.p;
    out[n++] = '.';
    const int rest = 16 - D.p;
    std::memcpy(out + n, D.dig + D.p, static_cast<size_t>(rest));
    n += rest;
    for (int i = rest; i < 15; ++i) out[n++] = '0';
  } else {
    out[n++] = D.dig[0];
    out[n++] = '.';
    std::memcpy(out + n, D.dig + 1, 15);
    n += 15;
    out[n++] = 'E';
    int ex = D.p - 1;
    out[n++] = ex < 0 ? '-' : '+';
    if (ex < 0) ex = -ex;
    out[n++] = static_cast<char>('0' + ex / 100);
    out[n++] = static_cast<char>('0' + ex / 10 % 10);
    out[n++] = static_cast<char>('0' + ex % 10);
  }
  return n;
}

ParseResult parse_real(std::string_view s, double& out, int implied_decimals) {
  std::size_t i = 0;
  bool neg = false;
  if (i < s.size() && (s[i] == '+' || s[i] == '-')) neg = s[i++] == '-';
  // Mantissa: digits with an optional point, at least one digit. Leading
  // zeros are not kept; past 100 kept digits the rest only count for the
  // magnitude, a nonzero one among them kept as a final 1 so that rounding
  // still sees that the value lies above the kept digits.
  char m[128];
  int mn = 0;
  long int_digits = 0, frac_digits = 0, dropped = 0;  // a record may be longer than INT_MAX
  bool point = false, dropped_nonzero = false;
  for (; i < s.size(); ++i) {
    const char c = s[i];
    if (c >= '0' && c <= '9') {
      (point ? frac_digits : int_digits)++;
      if (mn == 0 && c == '0') continue;
      if (mn < 100) {
        m[mn++] = c;
      } else {
        ++dropped;
        dropped_nonzero = dropped_nonzero || c != '0';
      }
    } else if (c == '.' && !point) {
      point = true;
    } else {
      break;
    }
  }
  if (int_digits + frac_digits == 0) return ParseResult::Bad;
  if (dropped_nonzero) {
    m[mn++] = '1';
    --dropped;
  }
  long ex = 0;
  if (i < s.size()) {
    const char c = s[i];
    if (c != 'E' && c != 'e' && c != 'D' && c != 'd') return ParseResult::Bad;
    ++i;
    bool eneg = false;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) eneg = s[i++] == '-';
    if (i == s.size()) return ParseResult::Bad;
    for (; i < s.size(); ++i) {
      if (s[i] < '0' || s[i] > '9') return ParseResult::Bad;
      if (ex < 100000) ex = ex * 10 + (s[i] - '0');
    }
    if (eneg) ex = -ex;
  }
  // Scale: value = digits x 10^(ex - frac), frac = decimals (implied when no point).
  long frac = frac_digits;
  if (!point && implied_decimals > 0) frac = implied_decimals;
  const long scale = dropped + ex - frac;
  // Magnitude check: position of the leading nonzero digit.
  int lead = 0;
  while (lead < mn && m[lead] == '0') ++lead;
  if (lead == mn) {
    out = neg ? -0.0 : 0.0;
    return ParseResult::Ok;
  }
  const long mag = (mn - lead) + scale;  // value < 10^mag
  if (mag > 309) return ParseResult::Range;
  if (mag < -330) {
    out = neg ? -0.0 : 0.0;
    return ParseResult::Ok;
  }
  char t[160];
  std::memcpy(t, m + lead, static_cast<size_t>(mn - lead));
  int tn = mn - lead;
  t[tn++] = 'e';
  auto er = std::to_chars(t + tn, t + sizeof t, scale);
  tn = static_cast<int>(er.ptr - t);
  double v = 0;
  auto r = std::from_chars(t, t + tn, v, std::chars_format::scientific);
  if (r.ec == std::errc::result_out_of_range) {
    if (mag > 0) return ParseResult::Range;
    v = 0;
  } else if (r.ec != std::errc() || r.ptr != t + tn) {
    return ParseResult::Bad;
  }
  out = neg ? -v : v;
  return ParseResult::Ok;
}

ParseResult parse_int(std::string_view s, std::int32_t& out) {
  std::size_t i = 0;
  bool neg = false;
  if (i < s.size() && (s[i] == '+' || s[i] == '-')) neg = s[i++] == '-';
  if (i == s.size()) return ParseResult::Bad;
  long long v = 0;
  bool too_large = false;  // reported only once the whole text is known to be digits
  for (; i < s.size(); ++i) {
    if (s[i] < '0' || s[i] > '9') return ParseResult::Bad;
    if (too_large) continue;
    v = v * 10 + (s[i] - '0');
    too_large = v > 2147483648LL;
  }
  if (too_large) return ParseResult::Range;
  if (neg) v = -v;
  if (v > 2147483647LL) return ParseResult::Range;
  out = static_cast<std::int32_t>(v);
  return ParseResult::Ok;
}

}  // namespace io
