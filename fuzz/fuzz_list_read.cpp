// List-directed reading (io/list.h) of a file of outside text.
//
// Input: the first byte chooses the variables of every read (the layouts the
// programs use, and a mix); the rest is the file, read on unit 4 read after
// read until its end. Reads alternate between the form with branches and
// the form without (whose failure is an io::Stop).
//
// Properties: a real variable either keeps its value (null value, slash) or
// receives a finite number; a text variable is written within its length;
// every blank-separated token that the number parsers accept has the value
// that the C library gives it (correctly rounded for reals).
#include <cerrno>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "fuzz_support.h"
#include "io/list.h"
#include "io/number_text.h"
#include "io/stop.h"
#include "io/units.h"

namespace {

constexpr int kUnit = 4;
constexpr double kUntouched = -12345.25;

struct Layout {
  const char* kinds;  // r: a real, digits: a text of that many characters
};
// One real (kav_scan's limits, kavex's keyboard), one character (input.txt
// marker), seven reals (an input.txt block), texts and reals mixed.
constexpr Layout kLayouts[] = {{"r"}, {"1"}, {"rrrrrrr"}, {"8"}, {"r3r1"}, {"1r1r"}};

bool separator(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == ',' || c == '/';
}

// parse_real and parse_int against strtod and strtoll on each token. Runs
// without the floating-point traps: strtod raises the overflow flag itself.
void check_numbers(std::string_view text) {
  std::size_t i = 0;
  while (i < text.size()) {
    while (i < text.size() && separator(text[i])) ++i;
    const std::size_t start = i;
    while (i < text.size() && !separator(text[i])) ++i;
    const std::string_view tok = text.substr(start, i - start);
    if (tok.empty()) continue;
    std::string c(tok);  // the C library reads E where the programs also take D
    for (char& ch : c)
      if (ch == 'D' || ch == 'd') ch = 'E';
    char* end = nullptr;

    double d = 0;
    const io::ParseResult r = io::parse_real(tok, d);
    if (r != io::ParseResult::Bad) {
      errno = 0;
      const double ref = std::strtod(c.c_str(), &end);
      fuzzsupport::check(end == c.c_str() + c.size(), "strtod takes the whole number");
      if (r == io::ParseResult::Range)
        fuzzsupport::check(std::isinf(ref), "a real out of range is one that overflows");
      else
        fuzzsupport::check(std::memcmp(&d, &ref, sizeof d) == 0, "a real has the correctly rounded value");
    }

    std::int32_t n = 0;
    const io::ParseResult ri = io::parse_int(tok, n);
    if (ri != io::ParseResult::Bad) {
      errno = 0;
      const long long ref = std::strtoll(c.c_str(), &end, 10);
      fuzzsupport::check(end == c.c_str() + c.size(), "strtoll takes the whole integer");
      const bool fits = errno == 0 && ref >= INT32_MIN && ref <= INT32_MAX;
      fuzzsupport::check((ri == io::ParseResult::Ok) == fits, "an integer is out of range exactly beyond 32 bits");
      if (ri == io::ParseResult::Ok) fuzzsupport::check(n == ref, "an integer has its value");
    }
  }
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  fuzzsupport::enter_work_dir();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const Layout& layout = kLayouts[data[0] % (sizeof kLayouts / sizeof kLayouts[0])];
  check_numbers(std::string_view(reinterpret_cast<const char*>(data + 1), size - 1));
  fuzzsupport::reset_io();
  fuzzsupport::write_file("data.txt", data + 1, size - 1);

  // Each variable on the heap at its exact size, so that a write past it is seen.
  std::vector<std::unique_ptr<double>> reals;
  std::vector<std::unique_ptr<char[]>> texts;
  std::vector<io::ListVar> vars;
  for (const char* k = layout.kinds; *k; ++k) {
    if (*k == 'r') {
      reals.push_back(std::make_unique<double>(kUntouched));
      vars.push_back(io::var(*reals.back()));
    } else {
      const std::size_t len = static_cast<std::size_t>(*k - '0');
      texts.push_back(std::make_unique<char[]>(len));
      vars.push_back(io::ListVar{nullptr, texts.back().get(), len});
    }
  }

  try {
    const fuzzsupport::FpTraps traps;
    io::open(kUnit, "data.txt", io::OpenMode::Old);
    // Every read takes at least one record, so the loop ends with the file.
    for (int n = 0;; ++n) {
      for (auto& r : reals) *r = kUntouched;
      io::ReadStatus st = io::ReadStatus::Ok;
      if (n % 2 == 0) {
        st = io::try_read_list(kUnit, vars);
      } else {
        try {
          io::read_list(kUnit, vars);
        } catch (const io::Stop& s) {
          fuzzsupport::check(s.kind == io::Stop::Kind::Error, "a failed read ends with an error report");
          st = s.text.find("F2001") != std::string::npos ? io::ReadStatus::EndOfFile : io::ReadStatus::Error;
        }
      }
      if (st == io::ReadStatus::EndOfFile) break;
      for (auto& r : reals)
        fuzzsupport::check(*r == kUntouched || std::isfinite(*r), "a real read is finite");
    }
  } catch (const io::Stop&) {
    // Bad input ends this way.
  }
  fuzzsupport::reset_io();
  return 0;
}
