// Planet order: ranks and groups, the error line of an undetermined reference
// body, and the comparison of two orders.
#include <gtest/gtest.h>
#include <fcntl.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>

#include "io/stop.h"
#include "io/units.h"
#include "zodiac/order.h"
#include "zodiac/sravn.h"

namespace {

using zodiac::SlotDoubles;
using zodiac::SlotInts;

// Slots: MERCURY, VENUS, SUN, MARS, JUPITER, SATURN, MOON.
constexpr SlotDoubles kPositions = {10.0, 50.0, 30.0, 200.0, 100.0, 300.0, 350.0};
constexpr SlotInts kAllDetermined = {0, 0, 0, 0, 0, 0, 0};

SlotDoubles with(SlotDoubles p, int slot, double value) {
  p[slot - 1] = value;
  return p;
}

TEST(PlanetOrder, Examples) {
  struct Case {
    SlotDoubles positions;
    SlotInts iund;
    std::int32_t ipr;
    double tolerance;
    SlotInts ranks;
    std::int32_t groups;
    const char* why;
  };
  const Case cases[] = {
      {kPositions, kAllDetermined, zodiac::MERCURY, 0.0, {1, 3, 2, 5, 4, 6, 7}, 7,
       "seven bodies apart"},
      {kPositions, kAllDetermined, zodiac::MERCURY, 25.0, {1, 1, 1, 3, 2, 4, 1}, 4,
       "SUN, VENUS join; the MOON closes the circle into group 1"},
      {kPositions, {0, 0, 0, 0, 0, 0, 1}, zodiac::MERCURY, 0.0, {1, 3, 2, 5, 4, 6, -99}, 6,
       "MOON undetermined"},
      {with(kPositions, zodiac::VENUS, 10.0), kAllDetermined, zodiac::MERCURY, 0.0,
       {1, 1, 2, 4, 3, 5, 6}, 6, "VENUS at MERCURY's longitude"},
      {with(kPositions, zodiac::VENUS, 8.5), kAllDetermined, zodiac::MERCURY, 1.5,
       {1, 1, 2, 4, 3, 5, 6}, 6, "VENUS 358.5 ahead closes the circle"},
      {with(with(with(kPositions, zodiac::VENUS, 11.5), zodiac::SUN, 13.0), zodiac::MARS, 14.5),
       kAllDetermined, zodiac::MERCURY, 1.5, {1, 1, 1, 1, 2, 3, 4}, 4,
       "chain of 1.5 degree steps spans 4.5 degrees"},
      {kPositions, {1, 0, 0, 0, 0, 0, 0}, zodiac::VENUS, 0.0, {-99, 1, 6, 3, 2, 4, 5}, 6,
       "MERCURY undetermined, VENUS the reference"},
      {with(kPositions, zodiac::JUPITER, 200.0), kAllDetermined, zodiac::MERCURY, 0.0,
       {1, 3, 2, 4, 4, 5, 6}, 6, "tie between MARS and JUPITER"},
      {{0.0, 5.0, 3.0, 200.0, 100.0, 300.0, 350.0}, {0, 1, 0, 1, 1, 1, 1}, zodiac::MERCURY, 0.0,
       {1, -99, 2, -99, -99, -99, -99}, 2, "only two determined"},
      // A chain of 50 degree steps within a tolerance of 60 runs all the way
      // round: one group that reaches itself from behind stays one group.
      {{0.0, 50.0, 100.0, 150.0, 200.0, 250.0, 300.0}, kAllDetermined, zodiac::MERCURY, 60.0,
       {1, 1, 1, 1, 1, 1, 1}, 1, "single group closing on itself"},
      {{0.0, 0.0, 0.0, 0.0, 0.0, 0.0, 0.0}, kAllDetermined, zodiac::SUN, 0.0,
       {1, 1, 1, 1, 1, 1, 1}, 1, "all at one longitude"},
  };
  for (const Case& c : cases) {
    SlotInts ranks{};
    std::int32_t groups = -1;
    zodiac::planet_order(c.positions, c.iund, c.ipr, c.tolerance, ranks, groups);
    EXPECT_EQ(ranks, c.ranks) << c.why;
    EXPECT_EQ(groups, c.groups) << c.why;
  }
}

// The console and unit 3 bound to temporary files, to see the error line.
class PlanetOrderError : public ::testing::Test {
 protected:
  void SetUp() override {
    char dir_template[] = "/tmp/kav_order_XXXXXX";
    ASSERT_NE(mkdtemp(dir_template), nullptr);
    dir_ = dir_template;
    console_path_ = dir_ + "/console.txt";
    report_path_ = dir_ + "/otvet.txt";
    console_fd_ = ::open(console_path_.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    ASSERT_GE(console_fd_, 0);
    io::bind_console(-1, console_fd_);
    io::open(3, report_path_, io::OpenMode::Replace);
  }
  void TearDown() override {
    io::reset_units();
    if (console_fd_ >= 0) ::close(console_fd_);
    std::remove(console_path_.c_str());
    std::remove(report_path_.c_str());
    ::rmdir(dir_.c_str());
  }
  static std::string contents(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
  }
  std::string dir_, console_path_, report_path_;
  int console_fd_ = -1;
};

TEST_F(PlanetOrderError, ReferenceBodyWithoutBestPoint) {
  // MERCURY undetermined and yet the reference (ipr 1); an ipr outside 1..7
  // is refused the same way rather than read outside the arrays.
  struct Case {
    SlotInts iund;
    std::int32_t ipr;
  };
  const Case cases[] = {{{1, 0, 0, 0, 0, 0, 0}, 1}, {kAllDetermined, 0}, {kAllDetermined, 8}};
  std::string console_want, report_want;
  for (const Case& c : cases) {
    SlotInts ranks = {5, 5, 5, 5, 5, 5, 5};
    std::int32_t groups = 42;
    try {
      zodiac::planet_order(kPositions, c.iund, c.ipr, 0.0, ranks, groups);
      ADD_FAILURE() << "ipr " << c.ipr << ": no stop";
    } catch (const io::Stop& s) {
      EXPECT_EQ(s.kind, io::Stop::Kind::Plain) << "ipr " << c.ipr;
      EXPECT_EQ(s.text, "") << "ipr " << c.ipr;
    }
    EXPECT_EQ(ranks, (SlotInts{5, 5, 5, 5, 5, 5, 5})) << "ipr " << c.ipr;
    EXPECT_EQ(groups, 42) << "ipr " << c.ipr;

    io::flush_all();
    console_want += "ERROR!!! iund(ipr).NE.0) - ORDER\n";
    report_want += " ERROR!!! iund(ipr).NE.0) - ORDER\r\n";
    EXPECT_EQ(contents(console_path_), console_want) << "ipr " << c.ipr;
    EXPECT_EQ(contents(report_path_), report_want) << "ipr " << c.ipr;
  }
}

TEST(CompareOrders, Examples) {
  struct Case {
    SlotInts iund;
    SlotInts a, b;
    std::int32_t want;
    const char* why;
  };
  const Case cases[] = {
      {kAllDetermined, {1, 3, 2, 5, 4, 6, 7}, {1, 3, 2, 5, 4, 6, 7}, 0, "identical"},
      {kAllDetermined, {1, 2, 3, 4, 5, 6, 7}, {1, 3, 2, 4, 5, 6, 7}, 1, "VENUS and SUN exchanged"},
      {kAllDetermined, {1, 2, 2, 3, 4, 5, 6}, {1, 2, 3, 4, 5, 6, 7}, 0, "a tie never contradicts"},
      {kAllDetermined, {1, 2, 3, 4, 5, 6, 1}, {1, 2, 3, 4, 5, 6, 7}, 0,
       "MOON with the reference in A, last in B"},
      {kAllDetermined, {1, 2, 3, 4, 5, 6, 1}, {1, 2, 3, 5, 6, 7, 4}, 1,
       "B puts the MOON between bodies A ranks after group 1"},
      {kAllDetermined, {1, 2, 3, 4, 5, 6, 7}, {1, 2, 3, 1, 4, 5, 6}, 1,
       "B puts MARS in group 1, A between others"},
      {kAllDetermined, {1, 2, 3, 4, 5, 6, 7}, {1, 1, 2, 3, 4, 5, 6}, 0,
       "B puts VENUS in group 1, A first after it"},
      {{0, 1, 0, 0, 0, 0, 0}, {1, -99, 2, 3, 4, 5, 6}, {1, -99, 1, 2, 3, 4, 5}, 0,
       "an undetermined body is never a witness"},
      {kAllDetermined, {1, 2, 3, 4, 5, 6, 7}, {1, 7, 2, 3, 4, 5, 6}, 1,
       "VENUS moved from first to last"},
  };
  for (const Case& c : cases) {
    std::int32_t result = -1;
    zodiac::compare_orders(c.iund, zodiac::MERCURY, c.a, c.b, result);
    EXPECT_EQ(result, c.want) << c.why;
  }
}

TEST(CompareOrders, OnlySlotsAfterTheReferenceTakePart) {
  // ipr 3 (SUN): the slots before it (undetermined in real use) are left out
  // even when they are marked determined and their ranks would contradict.
  const SlotInts iund = kAllDetermined;
  const SlotInts a = {3, 2, 1, 2, 3, 4, 5};
  std::int32_t result = -1;
  zodiac::compare_orders(iund, zodiac::SUN, a, SlotInts{2, 3, 1, 2, 3, 4, 5}, result);
  EXPECT_EQ(result, 0);
  zodiac::compare_orders(iund, zodiac::SUN, a, SlotInts{-99, -99, 1, 2, 4, 3, 5}, result);
  EXPECT_EQ(result, 1);
}

}  // namespace
