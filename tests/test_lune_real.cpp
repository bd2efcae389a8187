// The real SERIES85 (KAV_SERIES85): kept terms, reference positions, and
// agreement with ERFA's moon98 (table in tests/data/moon_erfa.txt, made by
// tools/make_moon_reference.py).

#include <fcntl.h>
#include <unistd.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include <gtest/gtest.h>

#include "ephemeris/Lune.h"
#include "io/units.h"

namespace {

namespace fs = std::filesystem;
using ephemeris::lunar_series;

constexpr double kDayToCentury = 2.7378507871321012e-05;

// Loads KAV_SERIES85 through a scratch working directory that holds a link
// named SERIES85; the console goes to /dev/null.
class LuneRealFile : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!fs::exists(KAV_SERIES85)) GTEST_SKIP() << "no " << KAV_SERIES85;
    old_cwd_ = fs::current_path();
    char tmpl[] = "/tmp/lune_real_XXXXXX";
    ASSERT_NE(mkdtemp(tmpl), nullptr);
    dir_ = tmpl;
    fs::create_symlink(fs::absolute(KAV_SERIES85), dir_ / "SERIES85");
    fs::current_path(dir_);
    null_fd_ = ::open("/dev/null", O_WRONLY);
    io::bind_console(-1, null_fd_);
  }
  void TearDown() override {
    if (dir_.empty()) return;
    io::reset_units();
    ::close(null_fd_);
    fs::current_path(old_cwd_);
    fs::remove_all(dir_);
  }
  fs::path old_cwd_, dir_;
  int null_fd_ = -1;
};

// Kept terms per block 1..12, counted from the file itself by
//   awk -v f=FACTOR '
//     BEGIN { split("0.01 0.01 0.02 0.01 0.01 0.02 0.0003 0.0003 0.0006 0.00001 0.00001 0.00002", base, " ") }
//     { sub(/\r$/, "") }
//     left == 0 { if (b == 12) exit; b++; left = $0 + 0; kept[b] = left; cut = 0; next }
//     { a = (b <= 3) ? substr($0, 18, 13) + 0 : substr($0, 56, 9) + 0; i = substr($0, 1, 3) + 0
//       if (!cut && (a < 0 ? -a : a) < base[b] * f) { kept[b] = i; cut = 1 }
//       left-- }
//     END { for (k = 1; k <= 12; k++) printf "%d ", kept[k]; print "" }' SERIES85
// with FACTOR 1, 50 and 100 (the block's count, or the number of its first
// record below the threshold); they agree with the table of the data README.
TEST_F(LuneRealFile, KeepsTheTermsCountedFromTheFile) {
  struct Case {
    int level;
    int kept[12];
  };
  const Case cases[] = {
      {1, {218, 189, 156, 244, 65, 116, 154, 65, 71, 25, 13, 19}},
      {2, {72, 57, 50, 11, 5, 2, 17, 8, 11, 6, 1, 3}},
      {3, {60, 46, 42, 4, 3, 1, 14, 3, 8, 5, 1, 1}},
  };
  for (const Case& cs : cases) {
    SCOPED_TRACE("level " + std::to_string(cs.level));
    ephemeris::load_lunar_series(cs.level);
    for (int c = 0; c < 3; ++c) {
      EXPECT_EQ(lunar_series.main_count[c], cs.kept[c]) << "block " << c + 1;
      for (int p = 0; p < 3; ++p)
        EXPECT_EQ(lunar_series.pert_count[c][p], cs.kept[3 + 3 * p + c]) << "block " << 4 + 3 * p + c;
    }
  }
}

// Level-3 positions from an independent evaluation of this file (data README).
TEST_F(LuneRealFile, ReproducesTheLevelThreeReferencePositions) {
  struct Case {
    double jd, lon, lat, dist;
  };
  const Case cases[] = {
      {625500.0, 197.76187491, 2.89523098, 381806.69301},
      {1000000.5, 226.80998225, -3.44561567, 406121.51823},
      {1721423.5, 159.22768319, -3.48338066, 361035.50417},
      {2000000.5, 231.13683926, -4.60862574, 363062.45061},
      {2448724.5, 133.27114114, -3.22858829, 368413.27894},
      {2451545.0, 223.31921674, 5.17119664, 402444.10986},
      {2524607.0, 265.00266075, 3.92639328, 360934.49944},
  };
  ephemeris::load_lunar_series(3);
  for (const Case& cs : cases) {
    const double T = (cs.jd - 2451545.0) * kDayToCentury;
    double lon, lat, dist;
    ephemeris::moon_longitude(T, lon, lat, dist);
    // The references carry 8 decimals of a degree and 5 of a kilometre.
    EXPECT_NEAR(lon, cs.lon, 1e-8) << "JD " << cs.jd;
    EXPECT_NEAR(lat, cs.lat, 1e-8) << "JD " << cs.jd;
    EXPECT_NEAR(dist, cs.dist, 1e-5) << "JD " << cs.jd;
  }
}

// ERFA's moon98 (Meeus's abridged series) on the ecliptic of J2000, 1000
// dates from 1900 to 2100. Bound: moon98 itself is off by up to 18.3" in
// direction (ERFA's notes, against ELP/MPP02, 1950-2100) and level 3 drops
// terms worth up to 10.3" in longitude over 1900-2100 (data README): 30".
TEST_F(LuneRealFile, AgreesWithErfaMoon98From1900To2100) {
  ephemeris::load_lunar_series(3);
  std::ifstream f(KAV_TEST_DATA "/moon_erfa.txt");
  ASSERT_TRUE(f) << KAV_TEST_DATA "/moon_erfa.txt";
  std::string line;
  int n = 0;
  double max_lon = 0, max_lat = 0, sum_lon = 0, sum_lat = 0, worst_jd = 0;
  while (std::getline(f, line)) {
    if (line.empty() || line[0] == '#') continue;
    std::istringstream in(line);
    double jd, elon, elat;
    ASSERT_TRUE(in >> jd >> elon >> elat) << line;
    double lon, lat, dist;
    ephemeris::moon_longitude((jd - 2451545.0) * kDayToCentury, lon, lat, dist);
    double dlon = lon - elon;
    dlon -= 360.0 * std::round(dlon / 360.0);
    dlon *= 3600.0;
    const double dlat = (lat - elat) * 3600.0;
    if (std::fabs(dlon) > max_lon) {
      max_lon = std::fabs(dlon);
      worst_jd = jd;
    }
    max_lat = std::max(max_lat, std::fabs(dlat));
    sum_lon += dlon * dlon;
    sum_lat += dlat * dlat;
    ++n;
  }
  ASSERT_EQ(n, 1000);
  const double rms_lon = std::sqrt(sum_lon / n), rms_lat = std::sqrt(sum_lat / n);
  std::printf("moon_longitude - moon98, %d dates 1900-2100: longitude max %.2f\" (JD %.4f) "
              "rms %.2f\"; latitude max %.2f\" rms %.2f\"\n",
              n, max_lon, worst_jd, rms_lon, max_lat, rms_lat);
  EXPECT_LT(max_lon, 30.0);
  EXPECT_LT(max_lat, 30.0);
}

}  // namespace
