#include "io/list.h"

#include <cstring>
#include <string>

#include "io/number_text.h"
#include "io/stop.h"
#include "io/units.h"

namespace io {

// ---- writing ---------------------------------------------------------------

namespace {
constexpr int kRoom = 79;  // characters after a record's first blank
}

ListWriter::ListWriter(int unit) : unit_(unit), room_(kRoom), number_written_(false), len_(1) {
  rec_[0] = ' ';
}

void ListWriter::end_record() {
  write_record(unit_, std::string_view(rec_, len_));
  rec_[0] = ' ';
  len_ = 1;
  room_ = kRoom;
}

void ListWriter::text(std::string_view s) {
  // A text that does not fit fills the room and goes on in a new record.
  while (static_cast<int>(s.size()) >= room_) {
    const std::size_t part = static_cast<std::size_t>(room_);
    std::memcpy(rec_ + len_, s.data(), part);
    len_ += part;
    s.remove_prefix(part);
    end_record();
    if (s.empty()) {
      split_last_ = true;
      return;
    }
  }
  split_last_ = false;
  std::memcpy(rec_ + len_, s.data(), s.size());
  len_ += s.size();
  room_ -= static_cast<int>(s.size());
}

void ListWriter::put(std::string_view field) {
  const int width = static_cast<int>(field.size());
  if (room_ <= width) {
    // The number opens a new record: its field, separator blank included.
    write_record(unit_, std::string_view(rec_, len_));
    len_ = 0;
    room_ = kRoom;
  }
  std::memcpy(rec_ + len_, field.data(), field.size());
  len_ += field.size();
  room_ -= width;
  number_written_ = true;
  split_last_ = false;
}

void ListWriter::integer(std::int32_t v) {
  char t[16];
  const int n = list_int_text(t, v);
  const int width = number_written_ ? 12 : 11;
  char f[16];
  std::memset(f, ' ', static_cast<std::size_t>(width - n));
  std::memcpy(f + (width - n), t, static_cast<std::size_t>(n));
  put(std::string_view(f, static_cast<std::size_t>(width)));
}

void ListWriter::real(double v) {
  char t[32];
  const int n = list_real_text(t, v);
  const int width = number_written_ ? 25 : 24;
  char f[32];
  std::memset(f, ' ', static_cast<std::size_t>(width - n));
  std::memcpy(f + (width - n), t, static_cast<std::size_t>(n));
  put(std::string_view(f, static_cast<std::size_t>(width)));
}

void ListWriter::finish() {
  // A text that exactly filled its record leaves no empty record behind;
  // a write without items still writes its blank record.
  if (split_last_ && len_ == 1) return;
  write_record(unit_, std::string_view(rec_, len_));
}

// ---- reading ---------------------------------------------------------------

namespace {

bool is_blank(char c) { return c == ' ' || c == '\t'; }
bool ends_value(char c) { return c == ' ' || c == '\t' || c == ',' || c == '/'; }

struct Outcome {
  ReadStatus status;
  std::string detail;
  Fault fault = Fault::BadNumber;  // for an Error: which report it calls for
};

Outcome read_list_impl(int unit, std::span<const ListVar> vars) {
  std::string_view rec;
  std::size_t pos = 0;
  if (!read_record(unit, rec)) return {ReadStatus::EndOfFile, "record " + std::to_string(record_number(unit) + 1)};
  std::size_t vi = 0;
  bool after_value = false;  // a comma now is the separator after a value
  std::string token;
  while (vi < vars.size()) {
    if (pos >= rec.size()) {
      if (!read_record(unit, rec))
        return {ReadStatus::EndOfFile, "record " + std::to_string(record_number(unit) + 1)};
      pos = 0;
      continue;
    }
    const char c = rec[pos];
    if (is_blank(c)) {
      ++pos;
      continue;
    }
    if (c == ',') {
      ++pos;
      if (after_value)
        after_value = false;
      else
        ++vi;  // null value: the variable keeps its value
      continue;
    }
    if (c == '/') return {ReadStatus::Ok, {}};
    // A value, possibly r*v.
    std::size_t repeat = 1;
    bool null_repeat = false;
    {
      std::size_t j = pos;
      while (j < rec.size() && rec[j] >= '0' && rec[j] <= '9') ++j;
      if (j > pos && j < rec.size() && rec[j] == '*') {
        repeat = 0;
        for (std::size_t k = pos; k < j; ++k) {
          repeat = repeat * 10 + static_cast<std::size_t>(rec[k] - '0');
          if (repeat > 1000000000) break;
        }
        if (repeat == 0)
          return {ReadStatus::Error, "record " + std::to_string(record_number(unit)) +
                                          ": zero repeat count"};
        pos = j + 1;
        null_repeat = pos >= rec.size() || ends_value(rec[pos]);
      }
    }
    if (null_repeat) {
      vi += repeat < vars.size() - vi ? repeat : vars.size() - vi;
      after_value = true;
      continue;
    }
    // The value's text.
    token.clear();
    bool quoted = false;
    if (rec[pos] == '\'' || rec[pos] == '"') {
      quoted = true;
      const char q = rec[pos++];
      while (pos < rec.size()) {
        if (rec[pos] == q) {
          if (pos + 1 < rec.size() && rec[pos + 1] == q) {
            token += q;
            pos += 2;
            continue;
          }
          ++pos;
          break;
        }
        token += rec[pos++];
      }
    } else {
      const std::size_t start = pos;
      while (pos < rec.size() && !ends_value(rec[pos])) ++pos;
      token.assign(rec.substr(start, pos - start));
    }
    for (std::size_t r = 0; r < repeat && vi < vars.size(); ++r, ++vi) {
      const ListVar& v = vars[vi];
      if (v.real) {
        double x;
        const ParseResult pr = quoted ? ParseResult::Bad : parse_real(token, x);
        if (pr != ParseResult::Ok)
          return {ReadStatus::Error, "record " + std::to_string(record_number(unit)) + ": '" + token + "'",
                  pr == ParseResult::Range ? Fault::NumberRange : Fault::BadNumber};
        *v.real = x;
      } else {
        for (std::size_t k = 0; k < v.len; ++k) v.text[k] = k < token.size() ? token[k] : ' ';
      }
    }
    after_value = true;
  }
  return {ReadStatus::Ok, {}};
}

}  // namespace

ReadStatus try_read_list(int unit, std::span<const ListVar> vars) {
  return read_list_impl(unit, vars).status;
}

void read_list(int unit, std::span<const ListVar> vars) {
  const Outcome o = read_list_impl(unit, vars);
  if (o.status == ReadStatus::EndOfFile)
    fail(Fault::EndOfFile, Statement::Read, unit_name(unit), o.detail);
  if (o.status == ReadStatus::Error)
    fail(o.fault, Statement::Read, unit_name(unit), o.detail);
}

}  // namespace io
