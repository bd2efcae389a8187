// Formatted reading (io/format.h) of records of outside text.
//
// Input: the first byte chooses one of the formats below; the rest is the
// text. Each of its lines is parsed alone with parse_fmt_record, then the
// whole text is read as a file on unit 4, record after record, alternating
// the forms with and without branches (the latter's failure is an io::Stop).
//
// The format strings of the programs are constants; outside text never
// becomes a format, so the formats here are fixed too: those that read
// SERIES85 and the menu answer, and a few more shapes of I, F, A and X.
//
// Properties: the parse never reads or writes out of bounds; a real variable
// receives a finite number; a successful parse of a record by itself and
// the read of the same record from a file agree.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string_view>
#include <vector>

#include "fuzz_support.h"
#include "io/format.h"
#include "io/stop.h"
#include "io/units.h"

namespace {

constexpr int kUnit = 4;

struct Case {
  const char* format;
  const char* kinds;  // i: integer, r: real, c: one character
};
const Case kCases[] = {
    {"(I4)", "i"},                                  // SERIES85 header
    {"(I3,4I3,2X,F13.5)", "iiiiir"},                // main-problem record
    {"(I3,13I3,2(2X,F9.5))", "iiiiiiiiiiiiiirr"},  // perturbation record
    {"(A)", "c"},                                   // menu answer
    {"(5F5.1)", "rrrrr"},
    {"(F9.5)", "r"},
    {"(X,I2,A,2X,F4.1,A3,F6.0)", "icrcr"},
    {"(3(I1,X,F3.2))", "iririr"},
};
constexpr std::size_t kCaseCount = sizeof kCases / sizeof kCases[0];

struct Vars {
  std::vector<std::unique_ptr<std::int32_t>> ints;
  std::vector<std::unique_ptr<double>> reals;
  std::vector<std::unique_ptr<char>> chars;
  std::vector<io::FmtVar> vars;
  explicit Vars(const char* kinds) {
    for (const char* k = kinds; *k; ++k) {
      if (*k == 'i') {
        ints.push_back(std::make_unique<std::int32_t>(-7));
        vars.push_back(io::fvar(*ints.back()));
      } else if (*k == 'r') {
        reals.push_back(std::make_unique<double>(-7.5));
        vars.push_back(io::fvar(*reals.back()));
      } else {
        chars.push_back(std::make_unique<char>('?'));
        vars.push_back(io::fvar(*chars.back()));
      }
    }
  }
  void check_finite() const {
    for (const auto& r : reals) fuzzsupport::check(std::isfinite(*r), "a real read is finite");
  }
  bool same(const Vars& o) const {
    for (std::size_t k = 0; k < ints.size(); ++k)
      if (*ints[k] != *o.ints[k]) return false;
    for (std::size_t k = 0; k < reals.size(); ++k)
      if (std::memcmp(reals[k].get(), o.reals[k].get(), sizeof(double)) != 0) return false;
    for (std::size_t k = 0; k < chars.size(); ++k)
      if (*chars[k] != *o.chars[k]) return false;
    return true;
  }
};

const io::Format& format_of(std::size_t k) {
  static const std::vector<io::Format> formats = [] {
    std::vector<io::Format> v;
    for (const Case& c : kCases) v.emplace_back(c.format);
    return v;
  }();
  return formats[k];
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  fuzzsupport::enter_work_dir();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const std::size_t which = data[0] % kCaseCount;
  const Case& cs = kCases[which];
  const io::Format& f = format_of(which);
  const std::string_view text(reinterpret_cast<const char*>(data + 1), size - 1);

  // Each line by itself; the results kept to compare with the file reads.
  std::vector<std::unique_ptr<Vars>> line_results;
  std::vector<bool> line_ok;
  for (std::size_t pos = 0; pos <= text.size();) {
    std::size_t end = text.find('\n', pos);
    if (end == std::string_view::npos) end = text.size();
    std::string_view line = text.substr(pos, end - pos);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);  // as the file reader does
    auto v = std::make_unique<Vars>(cs.kinds);
    const fuzzsupport::FpTraps traps;
    const bool ok = io::parse_fmt_record(line, f, v->vars) == io::ReadStatus::Ok;
    if (ok) v->check_finite();
    line_results.push_back(std::move(v));
    line_ok.push_back(ok);
    if (end == text.size()) break;
    pos = end + 1;
  }

  fuzzsupport::reset_io();
  fuzzsupport::write_file("data.txt", data + 1, size - 1);
  try {
    const fuzzsupport::FpTraps traps;
    io::open(kUnit, "data.txt", io::OpenMode::Old);
    for (std::size_t n = 0;; ++n) {
      Vars v(cs.kinds);
      io::ReadStatus st = io::ReadStatus::Ok;
      if (n % 2 == 0) {
        st = io::try_read_fmt(kUnit, f, v.vars);
      } else {
        try {
          io::read_fmt(kUnit, f, v.vars);
        } catch (const io::Stop& s) {
          fuzzsupport::check(s.kind == io::Stop::Kind::Error, "a failed read ends with an error report");
          st = s.text.find("F2001") != std::string::npos ? io::ReadStatus::EndOfFile : io::ReadStatus::Error;
        }
      }
      if (st == io::ReadStatus::EndOfFile) break;
      fuzzsupport::check(n < line_results.size(), "no more records than lines");
      fuzzsupport::check((st == io::ReadStatus::Ok) == line_ok[n], "file read and line parse agree");
      if (st == io::ReadStatus::Ok) {
        v.check_finite();
        fuzzsupport::check(v.same(*line_results[n]), "file read and line parse give the same values");
      }
    }
  } catch (const io::Stop&) {
    // Bad input ends this way.
  }
  fuzzsupport::reset_io();
  return 0;
}
