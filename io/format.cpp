#include "io/format.h"

#include <cctype>
#include <cstring>
#include <stdexcept>

#include "io/number_text.h"
#include "io/stop.h"
#include "io/units.h"

namespace io {
namespace {

constexpr std::size_t kMaxRecord = 2048;
// Widest I or F field: the number text routines build fields up to this width.
constexpr int kMaxField = 64;
// Descriptors after repeats and groups are expanded; caps nested repeat counts.
constexpr std::size_t kMaxItems = 4096;

class Parser {
 public:
  Parser(std::string_view s, std::vector<Format::Item>& items, std::string& texts)
      : s_(s), items_(items), texts_(texts) {}

  void parse() {
    skip_ws();
    expect('(');
    list();
    expect(')');
    skip_ws();
    if (i_ != s_.size()) bad("text after the closing parenthesis");
  }

 private:
  [[noreturn]] void bad(const char* why) {
    throw std::invalid_argument("format " + std::string(s_) + ": " + why);
  }
  void skip_ws() {
    while (i_ < s_.size() && s_[i_] == ' ') ++i_;
  }
  void expect(char c) {
    skip_ws();
    if (i_ >= s_.size() || s_[i_] != c) bad("unexpected character");
    ++i_;
  }
  int number() {
    int n = 0;
    bool any = false;
    while (i_ < s_.size() && std::isdigit(static_cast<unsigned char>(s_[i_]))) {
      n = n * 10 + (s_[i_++] - '0');
      any = true;
      if (n > 10000) bad("number too large");
    }
    return any ? n : -1;
  }
  void list() {
    for (;;) {
      item();
      skip_ws();
      if (i_ < s_.size() && s_[i_] == ',') {
        ++i_;
        continue;
      }
      return;
    }
  }
  void item() {
    skip_ws();
    if (i_ >= s_.size()) bad("unexpected end");
    if (s_[i_] == '\'') {
      ++i_;
      const std::size_t pos = texts_.size();
      for (;;) {
        if (i_ >= s_.size()) bad("unterminated text");
        if (s_[i_] == '\'') {
          if (i_ + 1 < s_.size() && s_[i_ + 1] == '\'') {
            texts_ += '\'';
            i_ += 2;
            continue;
          }
          ++i_;
          break;
        }
        texts_ += s_[i_++];
      }
      Format::Item it{Format::Op::Text};
      it.text_pos = pos;
      it.text_len = texts_.size() - pos;
      items_.push_back(it);
      return;
    }
    const int count = number();
    const int repeat = count < 0 ? 1 : count;
    skip_ws();
    if (i_ >= s_.size()) bad("unexpected end");
    const char c = static_cast<char>(std::toupper(static_cast<unsigned char>(s_[i_])));
    if (c == '(') {
      ++i_;
      const std::size_t first = items_.size();
      list();
      expect(')');
      const std::vector<Format::Item> group(items_.begin() + static_cast<long>(first), items_.end());
      if (first + group.size() * static_cast<std::size_t>(repeat) > kMaxItems) bad("too many descriptors");
      for (int r = 1; r < repeat; ++r) items_.insert(items_.end(), group.begin(), group.end());
      return;
    }
    ++i_;
    if (c == 'L' || c == 'R') return mode(c, count);
    Format::Item it{Format::Op::Skip};
    int times = repeat;
    switch (c) {
      case 'X':
        it.op = Format::Op::Skip;
        it.w = repeat;
        times = 1;
        break;
      case 'I':
        it.op = Format::Op::Int;
        it.w = number();
        if (it.w <= 0) bad("I needs a width");
        if (it.w > kMaxField) bad("field wider than 64");
        break;
      case 'F':
        it.op = Format::Op::Real;
        it.w = number();
        if (it.w <= 0) bad("F needs a width");
        if (it.w > kMaxField) bad("field wider than 64");
        expect('.');
        it.d = number();
        if (it.d < 0 || it.d >= it.w) bad("F needs decimals below its width");
        it.mode = mode_;
        break;
      case 'A': {
        it.op = Format::Op::Chars;
        const int w = number();
        it.w = w < 0 ? 0 : w;
        break;
      }
      default:
        bad("unknown descriptor");
    }
    if (items_.size() + static_cast<std::size_t>(times) > kMaxItems) bad("too many descriptors");
    for (int r = 0; r < times; ++r) items_.push_back(it);
  }

  // LZP / LZS: leading zero of an F field below 1 printed / suppressed (the
  // default); RN / RP: F rounded to nearest from the binary value / the
  // default rounding. Each applies to the F descriptors after it.
  void mode(char c, int count) {
    if (count >= 0) bad("a mode descriptor takes no repeat count");
    const char a = i_ < s_.size() ? static_cast<char>(std::toupper(static_cast<unsigned char>(s_[i_]))) : 0;
    const char b = i_ + 1 < s_.size() ? static_cast<char>(std::toupper(static_cast<unsigned char>(s_[i_ + 1]))) : 0;
    if (c == 'L' && a == 'Z' && (b == 'P' || b == 'S')) {
      i_ += 2;
      mode_ = b == 'P' ? (mode_ | Format::kLeadZero) : (mode_ & ~Format::kLeadZero);
    } else if (c == 'R' && (a == 'N' || a == 'P')) {
      i_ += 1;
      mode_ = a == 'N' ? (mode_ | Format::kNearest) : (mode_ & ~Format::kNearest);
    } else {
      bad("unknown descriptor");
    }
  }

  std::uint8_t mode_ = 0;
  std::string_view s_;
  std::size_t i_ = 0;
  std::vector<Format::Item>& items_;
  std::string& texts_;
};

// LZP: a "0" before the point of an F field whose value is below 1, where the
// field has a blank to spare ("  -.01007" -> " -0.01007"; ".01562" stays).
void lead_zero(char* f, int w) {
  int k = 0;
  while (k < w && f[k] == ' ') ++k;
  if (k == 0 || k == w) return;
  const int p = f[k] == '-' ? k + 1 : k;
  if (p >= w || f[p] != '.') return;
  std::memmove(f + k - 1, f + k, static_cast<std::size_t>(p - k));
  f[p - 1] = '0';
}

// Builds the record into buf; returns its length.
std::size_t build(const Format& f, std::span<const Value> values, char* buf) {
  std::size_t n = 0;
  std::size_t vi = 0;
  for (const Format::Item& it : f.items()) {
    switch (it.op) {
      case Format::Op::Skip:
        std::memset(buf + n, ' ', static_cast<std::size_t>(it.w));
        n += static_cast<std::size_t>(it.w);
        break;
      case Format::Op::Text: {
        const std::string_view t = f.text_of(it);
        std::memcpy(buf + n, t.data(), t.size());
        n += t.size();
        break;
      }
      case Format::Op::Int:
      case Format::Op::Real: {
        if (vi == values.size()) return n;  // trailing descriptors end here
        const Value& v = values[vi++];
        if (it.op == Format::Op::Int) {
          if (!v.is_int) throw std::invalid_argument("I descriptor given a real value");
          edit_i(buf + n, v.i, it.w);
        } else {
          const double x = v.is_int ? static_cast<double>(v.i) : v.d;
          if (it.mode & Format::kNearest) {
            edit_f_nearest(buf + n, x, it.w, it.d);
          } else {
            edit_f(buf + n, x, it.w, it.d);
          }
          if (it.mode & Format::kLeadZero) lead_zero(buf + n, it.w);
        }
        n += static_cast<std::size_t>(it.w);
        break;
      }
      case Format::Op::Chars:
        break;  // not used on output
    }
  }
  if (vi != values.size()) fail(Fault::FormatMismatch, Statement::Write, "format");
  return n;
}

}  // namespace

Format::Format(std::string_view descriptors) {
  Parser(descriptors, items_, texts_).parse();
  std::size_t len = 0;
  for (const Item& it : items_) len += it.op == Op::Text ? it.text_len : static_cast<std::size_t>(it.w);
  if (len > kMaxRecord) throw std::invalid_argument("format record too long");
}

void write_fmt_values(int unit, const Format& f, std::span<const Value> values) {
  char buf[kMaxRecord];
  const std::size_t n = build(f, values, buf);
  write_record(unit, std::string_view(buf, n));
}

std::string format_record(const Format& f, std::span<const Value> values) {
  char buf[kMaxRecord];
  const std::size_t n = build(f, values, buf);
  return std::string(buf, n);
}

ReadStatus parse_fmt_record(std::string_view rec, const Format& f, std::span<const FmtVar> vars,
                            std::string* bad_field) {
  std::size_t pos = 0, vi = 0;
  char field[128];
  for (const Format::Item& it : f.items()) {
    if (vi == vars.size()) break;  // the rest of the record is passed over
    switch (it.op) {
      case Format::Op::Skip:
        pos += static_cast<std::size_t>(it.w);
        break;
      case Format::Op::Text:
        break;
      case Format::Op::Chars: {
        const FmtVar& v = vars[vi++];
        const std::size_t w = it.w > 0 ? static_cast<std::size_t>(it.w) : v.len;
        for (std::size_t k = 0; k < v.len; ++k) {
          const std::size_t at = pos + k;
          v.text[k] = (k < w && at < rec.size()) ? rec[at] : ' ';
        }
        pos += w;
        break;
      }
      case Format::Op::Int:
      case Format::Op::Real: {
        const FmtVar& v = vars[vi++];
        // The field: the next w characters, ended early by a comma or the record's end.
        std::size_t fn = 0;
        std::size_t end = pos + static_cast<std::size_t>(it.w);
        std::size_t k = pos;
        for (; k < end && k < rec.size(); ++k) {
          if (rec[k] == ',') {
            end = k + 1;
            break;
          }
          if (rec[k] != ' ' && rec[k] != '\t' && fn < sizeof field) field[fn++] = rec[k];
        }
        pos = end;
        const std::string_view text(field, fn);
        ParseResult pr = ParseResult::Ok;
        if (it.op == Format::Op::Int) {
          std::int32_t x = 0;
          if (fn > 0) pr = parse_int(text, x);
          if (pr == ParseResult::Ok) {
            if (v.integer)
              *v.integer = x;
            else
              pr = ParseResult::Bad;  // an I field read into a variable that is not an integer
          }
        } else {
          double x = 0;
          if (fn > 0) pr = parse_real(text, x, it.d);
          if (pr == ParseResult::Ok) {
            if (v.real)
              *v.real = x;
            else
              pr = ParseResult::Bad;
          }
        }
        if (pr != ParseResult::Ok) {
          if (bad_field) *bad_field = std::string(text);
          return ReadStatus::Error;
        }
        break;
      }
    }
  }
  return ReadStatus::Ok;
}

namespace {
struct FmtOutcome {
  ReadStatus status;
  std::string detail;
  Fault fault = Fault::BadNumber;
};

FmtOutcome read_fmt_impl(int unit, const Format& f, std::span<const FmtVar> vars) {
  std::string_view rec;
  if (!read_record(unit, rec))
    return {ReadStatus::EndOfFile, "line " + std::to_string(record_number(unit) + 1)};
  std::string bad;
  if (parse_fmt_record(rec, f, vars, &bad) != ReadStatus::Ok) {
    // A number too large for its variable, or not a number at all?
    double d;
    std::int32_t i;
    const bool range = parse_int(bad, i) == ParseResult::Range || parse_real(bad, d) == ParseResult::Range;
    return {ReadStatus::Error, "line " + std::to_string(record_number(unit)) + ": '" + bad + "'",
            range ? Fault::NumberRange : Fault::BadNumber};
  }
  return {ReadStatus::Ok, {}};
}
}  // namespace

ReadStatus try_read_fmt(int unit, const Format& f, std::span<const FmtVar> vars) {
  return read_fmt_impl(unit, f, vars).status;
}

void read_fmt(int unit, const Format& f, std::span<const FmtVar> vars) {
  const FmtOutcome o = read_fmt_impl(unit, f, vars);
  if (o.status == ReadStatus::EndOfFile)
    fail(Fault::EndOfFile, Statement::Read, unit_name(unit), o.detail);
  if (o.status == ReadStatus::Error)
    fail(o.fault, Statement::Read, unit_name(unit), o.detail);
}

}  // namespace io
