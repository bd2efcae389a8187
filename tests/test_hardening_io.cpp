// The parts of the text layer that bad input reaches: numbers of any length
// as list-directed input reads them, and the error report that quotes what
// was read.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <string>

#include "io/number_text.h"
#include "io/stop.h"

namespace {

struct LongNumber {
  const char* name;
  std::string text;
  io::ParseResult result;
  double value;
};

// 1 + 2^-53 is the midpoint between 1 and the next double (55 significant
// digits, exact); rounding to even gives 1. A nonzero digit far behind it
// puts the value above the midpoint: the next double, 1 + 2^-52.
const std::string kMidpoint = "1.00000000000000011102230246251565404236316680908203125";

const LongNumber kLongNumbers[] = {
    {"OneAndOneHundredTwentyZeros", "1" + std::string(120, '0'), io::ParseResult::Ok, 1e120},
    {"LeadingZerosTakeNoRoom", "0." + std::string(150, '0') + "15", io::ParseResult::Ok, 1.5e-151},
    {"ManyZerosAfterThePoint", "0.1" + std::string(200, '0') + "1", io::ParseResult::Ok, 0.1},
    {"MidpointRoundsToEven", kMidpoint + std::string(100, '0'), io::ParseResult::Ok, 1.0},
    {"DigitFarBehindTheMidpoint", kMidpoint + std::string(100, '0') + "1", io::ParseResult::Ok,
     1.0 + std::ldexp(1.0, -52)},
    {"FourHundredNines", std::string(400, '9'), io::ParseResult::Range, 0},
    {"MegabyteOfDigits", std::string(1 << 20, '7'), io::ParseResult::Range, 0},
    {"MegabyteOfZeros", "-" + std::string(1 << 20, '0'), io::ParseResult::Ok, 0.0},
    {"ManyDigitsThenALetter", std::string(300, '1') + "x", io::ParseResult::Bad, 0},
};

void PrintTo(const LongNumber& c, std::ostream* os) { *os << c.name; }

class LongNumbers : public ::testing::TestWithParam<LongNumber> {};

TEST_P(LongNumbers, ReadLikeShortOnes) {
  const LongNumber& c = GetParam();
  double v = -12345;
  ASSERT_EQ(io::parse_real(c.text, v), c.result);
  if (c.result == io::ParseResult::Ok) {
    EXPECT_EQ(v, c.value);
  }
}

INSTANTIATE_TEST_SUITE_P(Texts, LongNumbers, ::testing::ValuesIn(kLongNumbers),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(ErrorReport, QuotedBytesShowAsEscapes) {
  const std::string detail("record 1: '\0\x1b[2J\xff" "a'", 19);
  EXPECT_EQ(io::fault_report(io::Fault::BadNumber, io::Statement::Read, "console", detail),
            "run-time error F2002: READ(console)\n- not a number: record 1: '\\x00\\x1B[2J\\xFFa'\n");
}

TEST(ErrorReport, ALongDetailIsCut) {
  const std::string detail = "record 1: '" + std::string(1 << 20, 'x') + "'";
  const std::string report = io::fault_report(io::Fault::BadNumber, io::Statement::Read, "console", detail);
  const std::string head = "run-time error F2002: READ(console)\n- not a number: record 1: '";
  ASSERT_EQ(report.substr(0, head.size()), head);
  // 160 characters of the detail, then "..." and the line end.
  EXPECT_EQ(report.size(), head.size() - 11 + 160 + 3 + 1);
  EXPECT_EQ(report.substr(report.size() - 6), "xx...\n");
}

}  // namespace
