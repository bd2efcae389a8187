// Loader of the lunar series: small SERIES85 files written by the tests into a
// scratch working directory, read with load_lunar_series.

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <numbers>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "ephemeris/Lune.h"
#include "io/stop.h"
#include "io/units.h"

namespace {

namespace fs = std::filesystem;
using ephemeris::load_lunar_series;
using ephemeris::lunar_series;

// One record: multipliers (main problem: D l' l F in m[0..3]; perturbations:
// Me V T Ma J S U N zeta D l' l F), phase in degrees (perturbations only) and amplitude.
struct Rec {
  std::array<int, 13> m{};
  double phase = 0.0;
  double amp = 0.0;
};
Rec amp(double a) {
  Rec r;
  r.amp = a;
  return r;
}
std::vector<Rec> amps(std::initializer_list<double> list) {
  std::vector<Rec> v;
  for (double a : list) v.push_back(amp(a));
  return v;
}
std::vector<Rec> many(int n, double a) { return std::vector<Rec>(static_cast<std::size_t>(n), amp(a)); }

// Blocks 1..12 in file order, index 0..11: main V U R, then powers 0, 1, 2 of V U R.
using Blocks = std::array<std::vector<Rec>, 12>;
int pert_block(int power, int coord) { return 3 + 3 * power + coord; }  // index 0..11

std::string main_line(int n, const Rec& r) {
  char buf[64];
  std::snprintf(buf, sizeof buf, "%3d%3d%3d%3d%3d  %13.5f", n, r.m[0], r.m[1], r.m[2], r.m[3],
                r.amp);
  return buf;
}
std::string pert_line(int n, const Rec& r) {
  char buf[96];
  int k = std::snprintf(buf, sizeof buf, "%3d", n);
  for (int m : r.m) k += std::snprintf(buf + k, sizeof buf - k, "%3d", m);
  std::snprintf(buf + k, sizeof buf - k, "  %9.5f  %9.5f", r.phase, r.amp);
  return buf;
}

std::vector<std::string> series_lines(const Blocks& b) {
  std::vector<std::string> lines;
  for (int k = 0; k < 12; ++k) {
    char head[16];
    std::snprintf(head, sizeof head, "%4d", static_cast<int>(b[k].size()));
    lines.push_back(head);
    for (std::size_t j = 0; j < b[k].size(); ++j)
      lines.push_back(k < 3 ? main_line(static_cast<int>(j + 1), b[k][j])
                            : pert_line(static_cast<int>(j + 1), b[k][j]));
  }
  return lines;
}

// 1-based line of record j (0: the header) of block index k.
int line_of(const Blocks& b, int k, int j) {
  int line = 1;
  for (int i = 0; i < k; ++i) line += 1 + static_cast<int>(b[i].size());
  return line + j;
}

void write_lines(const std::vector<std::string>& lines) {
  std::ofstream f("SERIES85", std::ios::binary);
  for (const std::string& l : lines) f << l << "\r\n";
}

// Every test runs in a fresh scratch directory with the console going to a
// file there; the directory and the console are restored afterwards.
class LuneLoader : public ::testing::Test {
 protected:
  void SetUp() override {
    old_cwd_ = fs::current_path();
    char tmpl[] = "/tmp/lune_loader_XXXXXX";
    ASSERT_NE(mkdtemp(tmpl), nullptr);
    dir_ = tmpl;
    fs::current_path(dir_);
    console_fd_ = ::open((dir_ / "console.out").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    ASSERT_GE(console_fd_, 0);
    io::bind_console(-1, console_fd_);
  }
  void TearDown() override {
    io::reset_units();
    if (dir_.empty()) return;
    ::close(console_fd_);
    fs::current_path(old_cwd_);
    fs::remove_all(dir_);
  }
  // Closes the units a stop left open; the console stays on the scratch file.
  void reset_units() {
    io::reset_units();
    io::bind_console(-1, console_fd_);
  }
  std::string console_text() {
    io::flush_all();
    std::ifstream f(dir_ / "console.out", std::ios::binary);
    std::stringstream ss;
    ss << f.rdbuf();
    return ss.str();
  }
  // Loads and expects a stop; returns it.
  io::Stop load_stop(int level = 3) {
    try {
      load_lunar_series(level);
    } catch (const io::Stop& s) {
      return s;
    }
    ADD_FAILURE() << "load_lunar_series did not stop";
    return io::Stop{io::Stop::Kind::Plain, {}};
  }

  fs::path old_cwd_, dir_;
  int console_fd_ = -1;
};

const std::string kConsoleLines = "    READING THE SERIES\n    WAIT A MOMENT, PLEASE.....\n";

TEST_F(LuneLoader, KeepsWholeBlocksWithNothingBelowThresholdAndIgnoresTrailingLines) {
  Blocks b;
  b[0] = amps({22639.5, -4586.4, 2369.9});
  b[1] = amps({18461.2});
  b[2] = amps({-20905.3, 2.0});  // 2 km is the threshold itself: kept, reading goes on
  b[pert_block(0, 0)] = amps({14.2, -1.0});
  b[pert_block(1, 2)] = amps({0.06, 0.07});
  b[pert_block(2, 1)] = amps({0.001});
  std::vector<std::string> lines = series_lines(b);
  lines.push_back("  this line comes after block 12 and is never read");
  write_lines(lines);

  load_lunar_series(3);

  EXPECT_EQ(console_text(), kConsoleLines);
  const int want_main[3] = {3, 1, 2};
  const int want_pert[3][3] = {{2, 0, 0}, {0, 0, 1}, {0, 2, 0}};
  for (int c = 0; c < 3; ++c) {
    EXPECT_EQ(lunar_series.main_count[c], want_main[c]) << "coordinate " << c;
    for (int p = 0; p < 3; ++p)
      EXPECT_EQ(lunar_series.pert_count[c][p], want_pert[c][p]) << "coordinate " << c << " power " << p;
  }
  EXPECT_EQ(lunar_series.main_amp[0][1], -4586.4);
  EXPECT_EQ(lunar_series.main_amp[2][1], 2.0);
  EXPECT_EQ(lunar_series.pert_amp[2][1], 0.07);
}

// Each block holds thr, -thr (equal magnitudes are kept), -(thr - 0.00001)
// (the first below: stored and counted) and 5 (dropped): three terms kept in
// every block exactly when each block is cut at its own threshold.
TEST_F(LuneLoader, CutsEveryBlockAtTheThresholdOfItsLevelCoordinateAndPower) {
  struct Case {
    int level;
    double thr[3][3];  // [coordinate][power]; the main problem uses power 0
  };
  const Case cases[] = {
      {1, {{0.01, 0.0003, 0.00001}, {0.01, 0.0003, 0.00001}, {0.02, 0.0006, 0.00002}}},
      {2, {{0.5, 0.015, 0.0005}, {0.5, 0.015, 0.0005}, {1.0, 0.03, 0.001}}},
      {3, {{1.0, 0.03, 0.001}, {1.0, 0.03, 0.001}, {2.0, 0.06, 0.002}}},
  };
  for (const Case& cs : cases) {
    SCOPED_TRACE("level " + std::to_string(cs.level));
    Blocks b;
    for (int c = 0; c < 3; ++c) {
      const double t0 = cs.thr[c][0];
      b[c] = amps({t0, -t0, -(t0 - 0.00001), 5.0});
      for (int p = 0; p < 3; ++p) {
        const double t = cs.thr[c][p];
        b[pert_block(p, c)] = amps({t, -t, -(t - 0.00001), 5.0});
      }
    }
    write_lines(series_lines(b));
    load_lunar_series(cs.level);
    reset_units();
    for (int c = 0; c < 3; ++c) {
      EXPECT_EQ(lunar_series.main_count[c], 3) << "main, coordinate " << c;
      EXPECT_EQ(lunar_series.main_amp[c][0], cs.thr[c][0]);
      for (int p = 0; p < 3; ++p) {
        EXPECT_EQ(lunar_series.pert_count[c][p], 3) << "coordinate " << c << " power " << p;
        EXPECT_EQ(lunar_series.pert_amp[c][3 * p], cs.thr[c][p]) << "coordinate " << c << " power " << p;
      }
    }
  }
}

TEST_F(LuneLoader, KeepsThreeOfFiveThreeHalfTwoAndStoresHigherPowersAfterTheKeptTerms) {
  Blocks b;
  b[0] = amps({5.0, 3.0, 0.5, 2.0});  // the third is the first below 1": stored, the fourth skipped
  b[1] = amps({7.0});                 // read right after the skipped record
  b[pert_block(0, 0)] = amps({5.0, 3.0, 0.5, 2.0, 4.0});
  b[pert_block(1, 0)] = amps({0.25, 0.01, 0.5});
  b[pert_block(2, 0)] = amps({0.002, 0.003});
  b[pert_block(1, 1)] = amps({0.04});  // latitude: power 0 empty, power 1 starts at the front
  b[pert_block(0, 2)] = amps({3.0, 1.0, 9.0});
  b[pert_block(2, 2)] = amps({0.004});
  write_lines(series_lines(b));

  load_lunar_series(3);

  EXPECT_EQ(lunar_series.main_count[0], 3);
  EXPECT_EQ(lunar_series.main_amp[0][2], 0.5);
  EXPECT_EQ(lunar_series.main_count[1], 1);
  EXPECT_EQ(lunar_series.main_amp[1][0], 7.0);

  EXPECT_EQ(lunar_series.pert_count[0][0], 3);
  EXPECT_EQ(lunar_series.pert_count[0][1], 2);
  EXPECT_EQ(lunar_series.pert_count[0][2], 2);
  const double lon_terms[] = {5.0, 3.0, 0.5, 0.25, 0.01, 0.002, 0.003};
  for (int j = 0; j < 7; ++j) EXPECT_EQ(lunar_series.pert_amp[0][j], lon_terms[j]) << "term " << j;

  EXPECT_EQ(lunar_series.pert_count[1][0], 0);
  EXPECT_EQ(lunar_series.pert_count[1][1], 1);
  EXPECT_EQ(lunar_series.pert_amp[1][0], 0.04);

  EXPECT_EQ(lunar_series.pert_count[2][0], 2);  // 1 km is below the 2 km of the distance
  EXPECT_EQ(lunar_series.pert_count[2][1], 0);
  EXPECT_EQ(lunar_series.pert_count[2][2], 1);
  EXPECT_EQ(lunar_series.pert_amp[2][2], 0.004);
}

TEST_F(LuneLoader, EmptyBlocksAreFollowedDirectlyByTheNextHeader) {
  Blocks b;  // blocks 1, 3, 5, ... empty
  for (int k = 1; k < 12; k += 2) b[k] = amps({10.0 + k, 20.0 + k});
  write_lines(series_lines(b));

  load_lunar_series(3);

  for (int k = 0; k < 12; ++k) {
    const int want = k % 2 ? 2 : 0;
    if (k < 3) {
      EXPECT_EQ(lunar_series.main_count[k], want) << "block " << k + 1;
      if (want) {
        EXPECT_EQ(lunar_series.main_amp[k][1], 20.0 + k);
      }
    } else {
      const int p = (k - 3) / 3, c = (k - 3) % 3;
      EXPECT_EQ(lunar_series.pert_count[c][p], want) << "block " << k + 1;
    }
  }
  // Each power follows the kept terms of the lower ones, empty blocks adding none.
  EXPECT_EQ(lunar_series.pert_amp[0][2], 19.0);  // block 10 after block 4 (block 7 empty)
  EXPECT_EQ(lunar_series.pert_amp[1][0], 17.0);  // block 8 (block 5 empty)
  EXPECT_EQ(lunar_series.pert_amp[2][2], 21.0);  // block 12 after block 6 (block 9 empty)
}

// Phase polynomials against the argument tables worked out by hand:
// degrees, minutes, seconds to radians, arc seconds per century^k to radians.
TEST_F(LuneLoader, BuildsPhasePolynomialsFromTheFundamentalArguments) {
  constexpr double pi = std::numbers::pi;
  auto dms = [&](double d, double m, double s) { return (d + m / 60.0 + s / 3600.0) * pi / 180.0; };
  auto asec = [&](double s) { return s * pi / 648000.0; };
  // Me V T Ma J S U N zeta D l' l F: start (rad), rate ("/cy).
  const double start[13] = {dms(252, 15, 3.25986),  dms(181, 58, 47.28305), dms(100, 27, 59.22059),
                            dms(355, 25, 59.78866), dms(34, 21, 5.34212),   dms(50, 4, 38.89694),
                            dms(314, 3, 18.01841),  dms(304, 20, 55.19575), asec(785939.95571),
                            dms(297, 51, 0.73512),  dms(357, 31, 44.79306), dms(134, 57, 48.28096),
                            dms(93, 16, 19.55755)};
  const double rate[13] = {538101628.68898, 210664136.43355, 129597742.2758,  68905077.59284,
                           10925660.42861,  4399609.65932,   1542481.19393,   786550.32074,
                           1732564372.83264, 1602961601.4603, 129596581.0474, 1717915923.4728,
                           1739527263.0983};
  // D l' l F: coefficients of T^1 .. T^4, "/cy^k.
  const double del[4][4] = {{1602961601.4603, -5.8681, 0.006595, -3.184e-05},
                            {129596581.0474, -0.5529, 0.000147, 0.0},
                            {1717915923.4728, 32.3893, 0.051651, -0.0002447},
                            {1739527263.0983, -12.2505, -0.001021, 4.17e-06}};
  auto near = [](double got, double want) {
    EXPECT_NEAR(got, want, 4e-15 * std::max(1.0, std::fabs(want)));
  };

  Blocks b;
  // Main problem: one Delaunay argument at a time, then a mixed term, then
  // the constant distance term.
  for (int a = 0; a < 4; ++a) {
    Rec r = amp(10.0);
    r.m[a] = 1;
    b[0].push_back(r);
  }
  Rec mixed = amp(10.0);
  mixed.m = {2, -1, 1, -2};
  b[0].push_back(mixed);
  b[2] = {amp(385000.5), mixed};
  b[2][1].amp = 100.0;
  // Perturbations: one argument at a time with a phase of 30.5 degrees, then
  // a term with every multiplier.
  for (int a = 0; a < 13; ++a) {
    Rec r = amp(2.0);
    r.m[a] = a == 4 ? -2 : 1;
    r.phase = 30.5;
    b[pert_block(0, 0)].push_back(r);
  }
  Rec all = amp(2.0);
  all.m.fill(1);
  all.phase = 359.99999;
  b[pert_block(0, 0)].push_back(all);
  write_lines(series_lines(b));

  load_lunar_series(3);

  ASSERT_EQ(lunar_series.main_count[0], 5);
  for (int a = 0; a < 4; ++a) {
    SCOPED_TRACE("Delaunay argument " + std::to_string(a));
    near(lunar_series.main_phase[0][a][0], start[9 + a]);
    for (int k = 1; k <= 4; ++k) near(lunar_series.main_phase[0][a][k], asec(del[a][k - 1]));
  }
  const double mix0 = 2 * start[9] - start[10] + start[11] - 2 * start[12];
  near(lunar_series.main_phase[0][4][0], mix0);
  for (int k = 1; k <= 4; ++k)
    near(lunar_series.main_phase[0][4][k],
         asec(2 * del[0][k - 1] - del[1][k - 1] + del[2][k - 1] - 2 * del[3][k - 1]));
  // The distance is a cosine series: a quarter turn more.
  ASSERT_EQ(lunar_series.main_count[2], 2);
  near(lunar_series.main_phase[2][0][0], pi / 2);
  for (int k = 1; k <= 4; ++k) EXPECT_EQ(lunar_series.main_phase[2][0][k], 0.0);
  near(lunar_series.main_phase[2][1][0], mix0 + pi / 2);

  ASSERT_EQ(lunar_series.pert_count[0][0], 14);
  for (int a = 0; a < 13; ++a) {
    SCOPED_TRACE("argument " + std::to_string(a + 1));
    const double k = a == 4 ? -2.0 : 1.0;
    near(lunar_series.pert_phase[0][a][0], 30.5 * pi / 180.0 + k * start[a]);
    near(lunar_series.pert_phase[0][a][1], k * asec(rate[a]));
  }
  double sum0 = 359.99999 * pi / 180.0, sum1 = 0.0;
  for (int a = 0; a < 13; ++a) {
    sum0 += start[a];
    sum1 += rate[a];
  }
  near(lunar_series.pert_phase[0][13][0], sum0);
  near(lunar_series.pert_phase[0][13][1], asec(sum1));
}

TEST_F(LuneLoader, ConstantDistanceTermGivesItsAmplitudeAtEveryTime) {
  Blocks b;
  b[2] = amps({385000.52899});
  write_lines(series_lines(b));
  load_lunar_series(3);
  for (double T : {0.0, 1.0, -0.37, -49.99, 12.5}) {
    double lon, lat, dist;
    ephemeris::moon_longitude(T, lon, lat, dist);
    EXPECT_EQ(dist, 385000.52899) << "T = " << T;  // A sin(pi/2) = A: not rotated, not scaled
  }
}

TEST_F(LuneLoader, MissingFileIsReportedAndNotCreated) {
  const io::Stop s = load_stop();
  EXPECT_EQ(s.kind, io::Stop::Kind::Error);
  EXPECT_EQ(s.exit_status(), 1);
  EXPECT_EQ(s.text, "run-time error F1001: OPEN(SERIES85)\n- file not found\n");
  EXPECT_FALSE(fs::exists("SERIES85"));
  EXPECT_EQ(console_text(), "");
}

// The same as a whole program: status 1, the report on standard error.
TEST_F(LuneLoader, MissingFileEndsTheProgramWithStatusOne) {
  const pid_t pid = fork();
  ASSERT_GE(pid, 0);
  if (pid == 0) {
    const int out = ::open("stdout.txt", O_WRONLY | O_CREAT | O_TRUNC, 0644);
    const int err = ::open("stderr.txt", O_WRONLY | O_CREAT | O_TRUNC, 0644);
    dup2(out, 1);
    dup2(err, 2);
    io::reset_units();
    _exit(io::run_program([] { load_lunar_series(3); }));
  }
  int status = 0;
  ASSERT_EQ(waitpid(pid, &status, 0), pid);
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 1);
  std::ifstream f("stderr.txt", std::ios::binary);
  std::stringstream ss;
  ss << f.rdbuf();
  EXPECT_EQ(ss.str(), "\nrun-time error F1001: OPEN(SERIES85)\n- file not found\n");
  EXPECT_FALSE(fs::exists("SERIES85"));
}

void append(std::vector<Rec>& block, const std::vector<Rec>& more) {
  block.insert(block.end(), more.begin(), more.end());
}

// The capacity is checked on the terms kept: a header may announce more.
// Canaries sit right after each array in memory: phase 0 of the first
// main-problem term (after the main amplitudes), the first latitude
// perturbation (after longitude's) and phase 0 of the first longitude
// perturbation (after the distance amplitudes).
TEST_F(LuneLoader, CapacityIsCheckedOnTheTermsKept) {
  struct Case {
    const char* name;
    std::function<void(Blocks&)> fill;
    int block, record;  // block index 0..11 and record of the failure; block -1: loads
    const char* detail;
  };
  const Case cases[] = {
      {"main block of 219 terms", [](Blocks& b) { b[2] = many(219, 10.0); }, 2, 219,
       "block 3 (main problem, distance): line %d: term 219, room for 218 main-problem terms"},
      {"main block of 218 terms", [](Blocks& b) { b[2] = many(218, 10.0); }, -1, 0, ""},
      {"main block of 250 cut at 10",
       [](Blocks& b) {
         append(b[0], many(249, 10.0));
         b[0][9].amp = 0.5;
       },
       -1, 0, ""},
      {"powers 0 and 1 of longitude beyond 423",
       [](Blocks& b) {
         append(b[pert_block(0, 0)], many(299, 5.0));
         b[pert_block(1, 0)] = many(200, 1.0);
       },
       pert_block(1, 0), 124,
       "block 7 (power 1 perturbations, longitude): line %d: term 424, room for 423 perturbation "
       "terms of the coordinate"},
      {"423 terms over three powers",
       [](Blocks& b) {
         append(b[pert_block(0, 1)], many(199, 5.0));
         b[pert_block(1, 1)] = many(200, 1.0);
         b[pert_block(2, 1)] = many(23, 1.0);
       },
       -1, 0, ""},
      {"power 2 of the distance beyond 423",
       [](Blocks& b) {
         b[pert_block(0, 2)] = many(423, 5.0);
         b[pert_block(2, 2)] = amps({1.0});
       },
       pert_block(2, 2), 1,
       "block 12 (power 2 perturbations, distance): line %d: term 424, room for 423 perturbation "
       "terms of the coordinate"},
  };
  for (const Case& cs : cases) {
    SCOPED_TRACE(cs.name);
    Blocks b;
    b[0] = amps({6.0});               // no multipliers: phase 0 is 0
    b[pert_block(0, 0)] = amps({6.0});  // no multipliers, phase 0: phase 0 is 0
    b[pert_block(0, 1)] = amps({7.0});
    cs.fill(b);
    write_lines(series_lines(b));
    std::memset(&lunar_series, 0, sizeof lunar_series);
    if (cs.block < 0) {
      EXPECT_NO_THROW(load_lunar_series(3));
    } else {
      const io::Stop s = load_stop();
      char detail[256];
      std::snprintf(detail, sizeof detail, cs.detail, line_of(b, cs.block, cs.record));
      EXPECT_EQ(s.kind, io::Stop::Kind::Error);
      EXPECT_EQ(s.text, std::string("run-time error F2005: READ(SERIES85)\n- more records than the "
                                    "program has room for: ") +
                            detail + "\n");
      EXPECT_EQ(lunar_series.main_phase[0][0][0], 0.0);
      if (cs.block >= 3) {
        EXPECT_EQ(lunar_series.pert_amp[1][0], 7.0);
      }
      EXPECT_EQ(lunar_series.pert_phase[0][0][0], 0.0);
      for (int c = 0; c < 3; ++c) {
        EXPECT_LE(lunar_series.main_count[c], ephemeris::kMainCapacity);
        EXPECT_LE(lunar_series.pert_count[c][0] + lunar_series.pert_count[c][1] +
                      lunar_series.pert_count[c][2],
                  ephemeris::kPertCapacity);
      }
    }
    reset_units();
  }
}

// A damaged file ends with the report naming SERIES85 and the line at fault.
TEST_F(LuneLoader, DamagedFileNamesTheLine) {
  Blocks b;
  b[0] = amps({5.0, 3.0, 0.5, 2.0});
  b[1] = amps({4.0, 2.0});
  b[pert_block(0, 0)] = amps({3.0, 2.0});
  b[pert_block(0, 1)] = amps({3.0, 0.1, 2.0});
  b[pert_block(0, 2)] = amps({3.0, 2.5});
  b[pert_block(2, 2)] = amps({0.1});
  const std::vector<std::string> good = series_lines(b);
  struct Case {
    const char* name;
    std::function<void(std::vector<std::string>&)> damage;
    int line;  // the line the report names
    const char* report;  // printf form, %d the line
  };
  const int block5_rec1 = line_of(b, pert_block(0, 1), 1);
  const int block12 = line_of(b, pert_block(2, 2), 0);
  const int skipped = line_of(b, 0, 4);  // the record after the cut of block 1
  const int block4 = line_of(b, pert_block(0, 0), 0);
  const int block6_rec2 = line_of(b, pert_block(0, 2), 2);
  const int main1 = line_of(b, 0, 1);
  const Case cases[] = {
      {"empty file", [](auto& l) { l.clear(); }, 1,
       "run-time error F2001: READ(SERIES85)\n- end of file: line %d\n"},
      {"ends inside block 5", [&](auto& l) { l.resize(block5_rec1); }, block5_rec1 + 1,
       "run-time error F2001: READ(SERIES85)\n- end of file: line %d\n"},
      {"ends before the header of block 12", [&](auto& l) { l.resize(block12 - 1); }, block12,
       "run-time error F2001: READ(SERIES85)\n- end of file: line %d\n"},
      {"ends among the skipped records", [&](auto& l) { l.resize(skipped - 1); }, skipped,
       "run-time error F2001: READ(SERIES85)\n- end of file: line %d\n"},
      {"unreadable amplitude",
       [&](auto& l) { l[block6_rec2 - 1].replace(l[block6_rec2 - 1].size() - 9, 9, "  1.2.3  "); },
       block6_rec2, "run-time error F2002: READ(SERIES85)\n- not a number: line %d: '1.2.3'\n"},
      {"amplitude of many digits and a letter: not a number, not out of range",
       [&](auto& l) { l[main1 - 1].replace(l[main1 - 1].size() - 13, 13, "12345678901x."); }, main1,
       "run-time error F2002: READ(SERIES85)\n- not a number: line %d: '12345678901x.'\n"},
      {"unreadable field in a skipped record",
       [&](auto& l) { l[skipped - 1].replace(9, 3, "  x"); }, skipped,
       "run-time error F2002: READ(SERIES85)\n- not a number: line %d: 'x'\n"},
      {"negative record count", [&](auto& l) { l[block4 - 1] = "  -2"; }, block4,
       "run-time error F2003: READ(SERIES85)\n- number out of range: block 4 (power 0 "
       "perturbations, longitude): line %d: record count -2\n"},
      {"record number out of sequence",
       [&](auto& l) { l[block6_rec2 - 1].replace(0, 3, "  3"); }, block6_rec2,
       "run-time error F2003: READ(SERIES85)\n- number out of range: block 6 (power 0 "
       "perturbations, distance): line %d: record number 3 where 2 expected\n"},
  };
  for (const Case& cs : cases) {
    SCOPED_TRACE(cs.name);
    std::vector<std::string> lines = good;
    cs.damage(lines);
    write_lines(lines);
    const io::Stop s = load_stop();
    char want[512];
    std::snprintf(want, sizeof want, cs.report, cs.line);
    EXPECT_EQ(s.kind, io::Stop::Kind::Error);
    EXPECT_EQ(s.text, want);
    reset_units();
  }
  // The undamaged file loads.
  write_lines(good);
  EXPECT_NO_THROW(load_lunar_series(3));
}

TEST_F(LuneLoader, LevelOutsideOneToThreeIsAProgramFault) {
  write_lines(series_lines(Blocks{}));
  for (int level : {0, 4, -3}) EXPECT_THROW(load_lunar_series(level), std::invalid_argument);
  EXPECT_EQ(console_text(), "");
}

}  // namespace
