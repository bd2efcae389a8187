#include "io/number_text.h"

#include <charconv>
#include <cmath>
#include <cstring>

namespace io {
namespace {

// |x| = 0.d1 d2 ... d17 x 10^p with d1 != 0: x correctly rounded (ties to
// even) to 17 significant digits, as the standard conversions give it.
struct Dec17 {
  char dig[17];
  int p;
};

constexpr std::uint64_t kPow5[23] = {
    1ull, 5ull, 25ull, 125ull, 625ull, 3125ull, 15625ull, 78125ull, 390625ull,
    1953125ull, 9765625ull, 48828125ull, 244140625ull, 1220703125ull,
    6103515625ull, 30517578125ull, 152587890625ull, 762939453125ull,
    3814697265625ull, 19073486328125ull, 95367431640625ull,
    476837158203125ull, 2384185791015625ull};
constexpr std::uint64_t kE16 = 10000000000000000ull;
constexpr std::uint64_t kE17 = 100000000000000000ull;

void put_digits17(std::uint64_t q, char* dig) {
  for (int i = 16; i >= 0; --i) {
    dig[i] = static_cast<char>('0' + q % 10);
    q /= 10;
  }
}

// Exact integer path for 1e-5 <~ x < 1e17: x = m 2^e, and x 10^k is the
// integer m 5^k shifted by e + k bits, rounded half to even.
bool decimal17_fast(double x, Dec17& out) {
  int E;
  const double f = std::frexp(x, &E);  // x = f 2^E, 0.5 <= f < 1
  const std::uint64_t m = static_cast<std::uint64_t>(std::ldexp(f, 53));
  const int e = E - 53;
  // 2^(E-1) <= x < 2^E, so the number of integer digits p is p0 or p0 + 1.
  const int p0 = static_cast<int>(std::floor((E - 1) * 0.30102999566398120)) + 1;
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
    put_digits17(n, out.dig);
    out.p = pp;
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
  d.dig[0] = buf[0];
  std::memcpy(d.dig + 1, buf + 2, 16);
  int ex = 0;
  std::from_chars(buf + 19 + (buf[19] == '+' ? 1 : 0), r.ptr, ex);
  d.p = ex + 1;
  return d;
}

// Adds one to the decimal string s[0..n); returns true on a carry out.
bool increment(char* s, int n) {
  for (int i = n - 1; i >= 0; --i) {
    if (s[i] == '9') {
      s[i] = '0';
    } else {
      ++s[i];
      return false;
    }
  }
  return true;
}

void fill(char* out, int w, char c) { std::memset(out, c, static_cast<size_t>(w)); }

}  // namespace

void edit_f(char* out, double x, int w, int d) {
  if (!std::isfinite(x)) return fill(out, w, '*');
  const bool neg = std::signbit(x);
  const double ax = std::fabs(x);
  // r: the value times 10^d rounded half up, as a digit string.
  char r[420];
  int rn = 0;
  if (ax != 0) {
    const Dec17 D = decimal17(ax);
    if (D.p > w) return fill(out, w, '*');
    const int kept = D.p + d;  // significant digits down to the d-th decimal
    if (kept <= 0) {
      r[rn++] = (kept == 0 && D.dig[0] >= '5') ? '1' : '0';
    } else {
      const int take = kept < 17 ? kept : 17;
      r[0] = '0';  // room for a carry
      std::memcpy(r + 1, D.dig, static_cast<size_t>(take));
      rn = 1 + take;
      for (int i = take; i < kept; ++i) r[rn++] = '0';
      if (kept < 17 && D.dig[kept] >= '5') increment(r, rn);
    }
  } else {
    r[rn++] = '0';
  }
  // Strip leading zeros (keep at least one digit).
  int start = 0;
  while (start < rn - 1 && r[start] == '0') ++start;
  const char* digits = r + start;
  const int nd = rn - start;
  const bool is_zero = (nd == 1 && digits[0] == '0');
  // Integer digits: those beyond the d decimals.
  const int int_digits = nd > d ? nd - d : 0;
  char t[480];
  int tn = 0;
  if (neg && !is_zero) t[tn++] = '-';
  if (int_digits > 0) {
    std::memcpy(t + tn, digits, static_cast<size_t>(int_digits));
    tn += int_digits;
  } else if (d == 0) {
    t[tn++] = '0';  // below 0.5 with no decimals: "0."
  }
  t[tn++] = '.';
  for (int i = 0; i < d - nd; ++i) t[tn++] = '0';
  const int frac_from = int_digits;
  std::memcpy(t + tn, digits + frac_from, static_cast<size_t>(nd - frac_from));
  tn += nd - frac_from;
  if (tn > w) return fill(out, w, '*');
  fill(out, w - tn, ' ');
  std::memcpy(out + (w - tn), t, static_cast<size_t>(tn));
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
  Dec17 D = decimal17(std::fabs(x));
  // 16 significant digits, half up on the 17.
  if (D.dig[16] >= '5' && increment(D.dig, 16)) {
    D.dig[0] = '1';
    ++D.p;
  }
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
  // Mantissa: digits with an optional point, at least one digit.
  char m[128];
  int mn = 0, int_digits = 0, frac_digits = 0;
  bool point = false;
  for (; i < s.size(); ++i) {
    const char c = s[i];
    if (c >= '0' && c <= '9') {
      if (mn >= 100) return ParseResult::Bad;
      m[mn++] = c;
      (point ? frac_digits : int_digits)++;
    } else if (c == '.' && !point) {
      point = true;
    } else {
      break;
    }
  }
  if (mn == 0) return ParseResult::Bad;
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
  int frac = frac_digits;
  if (!point && implied_decimals > 0) frac = implied_decimals;
  const long scale = ex - frac;
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
  for (; i < s.size(); ++i) {
    if (s[i] < '0' || s[i] > '9') return ParseResult::Bad;
    v = v * 10 + (s[i] - '0');
    if (v > 2147483648LL) return ParseResult::Range;
  }
  if (neg) v = -v;
  if (v > 2147483647LL) return ParseResult::Range;
  out = static_cast<std::int32_t>(v);
  return ParseResult::Ok;
}

}  // namespace io
