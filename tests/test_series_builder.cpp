// SERIES85 built from the ELP 2000-82B files: the built file against the
// shared one, the real files' counts against the data README, small fixture
// ELP files that show each building rule, and make_series85 run as a process
// on bad input.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "ephemeris/series_builder.h"
#include "io/stop.h"
#include "io/units.h"
#include "process.h"
#include "support.h"

namespace {

namespace fs = std::filesystem;
namespace sb = ephemeris::series;
using testsupport::file_records;
using testsupport::read_file;
using testsupport::Sandbox;
using testsupport::write_file;

// ---- fixture ELP files ------------------------------------------------------------

// Lines in the catalogue's layouts (ELP files end their lines with CR LF).
std::string main_line(std::array<int, 4> m, double a, std::array<double, 6> b = {}) {
  char buf[160];
  int k = std::snprintf(buf, sizeof buf, "%3d%3d%3d%3d  %13.5f", m[0], m[1], m[2], m[3], a);
  for (double x : b) k += std::snprintf(buf + k, sizeof buf - static_cast<std::size_t>(k), "  %10.2f", x);
  return buf;
}
// zeta D l' l F
std::string delaunay_line(std::array<int, 5> m, double phase, double a) {
  char buf[96];
  std::snprintf(buf, sizeof buf, "%3d%3d%3d%3d%3d %9.5f %9.5f %9.3f", m[0], m[1], m[2], m[3], m[4],
                phase, a, 1.0);
  return buf;
}
// ELP10-15: Me V T Ma J S U N D l F; ELP16-21: Me V T Ma J S U D l' l F.
std::string planetary_line(std::array<int, 11> m, double phase, double a) {
  char buf[128];
  int k = 0;
  for (int x : m) k += std::snprintf(buf + k, sizeof buf - static_cast<std::size_t>(k), "%3d", x);
  std::snprintf(buf + k, sizeof buf - static_cast<std::size_t>(k), " %9.5f %9.5f %9.3f", phase, a, 1.0);
  return buf;
}

using ElpLines = std::map<int, std::vector<std::string>>;

// Writes ELP1 .. ELP36 into `dir`: a title line, then the given lines.
void write_elp_files(const std::string& dir, const ElpLines& lines, int skip = 0) {
  fs::create_directories(dir);
  for (int n = 1; n <= sb::kElpFiles; ++n) {
    if (n == skip) continue;
    std::string text = " ELP" + std::to_string(n) + " fixture\r\n";
    if (auto it = lines.find(n); it != lines.end())
      for (const std::string& l : it->second) text += l + "\r\n";
    write_file(dir + "/ELP" + std::to_string(n), text);
  }
}

// Builds in-process from the files of `dir`; returns SERIES85's records.
std::vector<std::string> build_records(const std::string& dir, std::int32_t* merged = nullptr) {
  sb::ElpTerms terms;
  sb::read_elp_folder(4, dir, terms);
  sb::Series series;
  std::int32_t m = 0;
  sb::build_series(terms, series, m);
  if (merged) *merged = m;
  io::open(3, "SERIES85", io::OpenMode::Replace);
  sb::write_series(3, series);
  io::close(3);
  return file_records(read_file("SERIES85"));
}

// The records of block k (0..11: main V U R, then powers 0, 1, 2 of V U R).
std::vector<std::string> block(const std::vector<std::string>& recs, int k) {
  std::size_t at = 0;
  for (int b = 0;; ++b) {
    const std::size_t n = static_cast<std::size_t>(std::stoi(recs.at(at)));
    if (b == k) return {recs.begin() + static_cast<long>(at + 1), recs.begin() + static_cast<long>(at + 1 + n)};
    at += n + 1;
  }
}

constexpr int kMainV = 0, kMainU = 1, kMainR = 2, kP0V = 3, kP0U = 4, kP0R = 5, kP1V = 6, kP2V = 9;

class SeriesFixture : public ::testing::Test {
 protected:
  Sandbox box_;
  std::string elp_ = box_.dir() + "/elp";
};

// ---- the built file and the real files -----------------------------------------------

TEST(Series85Built, EqualsTheSharedFileByteForByte) {
  if (!fs::exists(KAV_SHARED_SERIES85))
    GTEST_SKIP() << "skipped: no shared SERIES85 at " KAV_SHARED_SERIES85 " to compare with";
  const std::string built = read_file(KAV_BIN_DIR "/SERIES85");
  ASSERT_FALSE(built.empty()) << KAV_BIN_DIR "/SERIES85 was not built";
  const std::string shared = read_file(KAV_SHARED_SERIES85);
  ASSERT_EQ(built.size(), shared.size());
  std::size_t first = 0;
  while (first < built.size() && built[first] == shared[first]) ++first;
  EXPECT_EQ(first, built.size()) << "first difference at byte " << first;
}

// Counts and the first records from the data README (its table of records per
// block and of the terms the loader keeps; 357 merged away; 37872 terms).
TEST_F(SeriesFixture, RealFilesGiveTheReadmeCounts) {
  sb::ElpTerms terms;
  sb::read_elp_folder(4, KAV_ELP82B_DIR, terms);
  std::int32_t total = 0;
  for (std::int32_t n : terms.read_per_file) total += n;
  EXPECT_EQ(total, 37872);
  sb::Series series;
  std::int32_t merged = 0;
  sb::build_series(terms, series, merged);
  EXPECT_EQ(merged, 357);
  io::open(3, "SERIES85", io::OpenMode::Replace);
  sb::write_series(3, series);
  io::close(3);
  sb::BlockCounts c;
  sb::count_kept(4, "SERIES85", c);
  using Row = std::array<std::int32_t, 12>;
  EXPECT_EQ(c.written, (Row{218, 218, 218, 244, 236, 219, 154, 174, 185, 25, 13, 19}));
  EXPECT_EQ(c.kept[0], (Row{218, 189, 156, 244, 65, 116, 154, 65, 71, 25, 13, 19}));
  EXPECT_EQ(c.kept[1], (Row{72, 57, 50, 11, 5, 2, 17, 8, 11, 6, 1, 3}));
  EXPECT_EQ(c.kept[2], (Row{60, 46, 42, 4, 3, 1, 14, 3, 8, 5, 1, 1}));
  // The README's examples of the fitted main problem: the l term, the constant distance.
  const auto recs = file_records(read_file("SERIES85"));
  EXPECT_EQ(block(recs, kMainV).at(0), "  1  0  0  1  0    22639.58578");
  bool constant = false;
  for (const std::string& r : block(recs, kMainR))
    constant = constant || r.substr(3) == "  0  0  0  0   385000.52899";
  EXPECT_TRUE(constant);
}

// ---- the building rules on fixtures --------------------------------------------------

TEST_F(SeriesFixture, EqualAndOppositeMultipliersAreMerged) {
  write_elp_files(elp_, {
      // Longitude, power 0: D = 2 at (0°, 3) in the Earth figure file; the
      // tides file has D = -2 at (90°, 4), which joins as (180° - 90°, 4).
      {4, {delaunay_line({0, 2, 0, 0, 0}, 0.0, 3.0)}},
      {22, {delaunay_line({0, -2, 0, 0, 0}, 90.0, 4.0)}},
      // V + F in both planetary layouts: equal multipliers, (10°, 1.5) and (10°, 2.5).
      {10, {planetary_line({0, 1, 0, 0, 0, 0, 0, 0, 0, 0, 1}, 10.0, 1.5)}},
      {16, {planetary_line({0, 1, 0, 0, 0, 0, 0, 0, 0, 0, 1}, 10.0, 2.5)}},
      // Same multipliers but power 1: a block of its own, not merged.
      {7, {delaunay_line({0, 2, 0, 0, 0}, 0.0, 0.5)}},
  });
  std::int32_t merged = -1;
  const auto recs = build_records(elp_, &merged);
  EXPECT_EQ(merged, 2);
  // 3 cos 0° + 4 sin 90° components: S = 3, C = 4, so A = 5 at atan2(4, 3) = 53.13010°.
  // The equal pair adds up: 4 at 10°.
  EXPECT_EQ(block(recs, kP0V), (std::vector<std::string>{
      "  1  0  0  0  0  0  0  0  0  0  2  0  0  0   53.13010    5.00000",
      "  2  0  1  0  0  0  0  0  0  0  0  0  0  1   10.00000    4.00000"}));
  EXPECT_EQ(block(recs, kP1V), (std::vector<std::string>{
      "  1  0  0  0  0  0  0  0  0  0  2  0  0  0    0.00000    0.50000"}));
}

TEST_F(SeriesFixture, GroupOfOneKeepsItsValuesWithThePhaseMod360) {
  std::string empty_phase = delaunay_line({0, 0, 0, 0, 3}, 0.0, 0.25);
  empty_phase.replace(16, 9, 9, ' ');  // columns 17-25 blank: phase 0
  write_elp_files(elp_, {{5,
                          {delaunay_line({0, 0, 0, 0, 1}, -30.0, 0.75),
                           delaunay_line({0, 0, 0, 0, 2}, 400.0, -0.5), empty_phase}}});
  const auto recs = build_records(elp_);
  EXPECT_EQ(block(recs, kP0U), (std::vector<std::string>{
      "  1  0  0  0  0  0  0  0  0  0  0  0  0  1  330.00000    0.75000",
      "  2  0  0  0  0  0  0  0  0  0  0  0  0  2   40.00000   -0.50000",
      "  3  0  0  0  0  0  0  0  0  0  0  0  0  3    0.00000    0.25000"}));
}

TEST_F(SeriesFixture, TiesAreOrderedByMultipliers) {
  write_elp_files(elp_, {
      // |A| equal: lexicographic multipliers, whatever the sign or the file order.
      {1, {main_line({1, 0, 0, 0}, 2.0), main_line({0, 1, 0, 0}, -2.0), main_line({0, 0, 1, 0}, 2.0),
           main_line({0, 0, 0, 1}, 9.0)}},
      {6, {delaunay_line({0, 1, 0, 0, 0}, 0.0, 0.5), delaunay_line({0, 0, 0, -1, 0}, 0.0, 0.5),
           delaunay_line({0, 0, 1, 0, 0}, 0.0, 0.5)}},
  });
  const auto recs = build_records(elp_);
  EXPECT_EQ(block(recs, kMainV), (std::vector<std::string>{"  1  0  0  0  1        9.00000",
                                                           "  2  0  0  1  0        2.00000",
                                                           "  3  0  1  0  0       -2.00000",
                                                           "  4  1  0  0  0        2.00000"}));
  EXPECT_EQ(block(recs, kP0R), (std::vector<std::string>{
      "  1  0  0  0  0  0  0  0  0  0  0  0 -1  0    0.00000    0.50000",
      "  2  0  0  0  0  0  0  0  0  0  0  1  0  0    0.00000    0.50000",
      "  3  0  0  0  0  0  0  0  0  0  1  0  0  0    0.00000    0.50000"}));
}

// 419 power-0 terms of ratio 100 to the level-1 threshold, then W (power 2,
// ratio 8), Z (power 1, ratio 4), and four terms of ratio 2: X (power 0),
// Y2 and Y (power 1, Y2's multipliers first), V (power 2). 423 are kept: the
// cut falls between Y2 and Y, and V loses to them on its power.
TEST_F(SeriesFixture, PerturbationsAreCutAt423AcrossPowers) {
  std::vector<std::string> p0;
  for (int k = 0; k < 419; ++k) p0.push_back(delaunay_line({0, k / 20, k % 20, 1, 0}, 0.0, 1.0));
  p0.push_back(delaunay_line({0, 0, 0, 0, 1}, 0.0, 0.02));  // X
  write_elp_files(elp_, {
      {4, p0},
      {7, {delaunay_line({0, 0, 0, 0, 2}, 0.0, 0.0006),     // Y
           delaunay_line({0, 0, 0, -1, 0}, 0.0, 0.0006),    // Y2
           delaunay_line({0, 0, 0, 0, 3}, 0.0, 0.0012)}},   // Z
      {34, {delaunay_line({0, 0, 0, 0, 2}, 0.0, 0.00002),   // V
            delaunay_line({0, 0, 0, 0, 1}, 0.0, 0.00008)}},  // W
  });
  const auto recs = build_records(elp_);
  const auto p0_block = block(recs, kP0V);
  ASSERT_EQ(p0_block.size(), 420u);
  EXPECT_EQ(p0_block.back(), "420  0  0  0  0  0  0  0  0  0  0  0  0  1    0.00000    0.02000");
  EXPECT_EQ(block(recs, kP1V), (std::vector<std::string>{
      "  1  0  0  0  0  0  0  0  0  0  0  0  0  3    0.00000    0.00120",
      "  2  0  0  0  0  0  0  0  0  0  0  0 -1  0    0.00000    0.00060"}));
  EXPECT_EQ(block(recs, kP2V), (std::vector<std::string>{
      "  1  0  0  0  0  0  0  0  0  0  0  0  0  1    0.00000    0.00008"}));
}

TEST_F(SeriesFixture, MainProblemIsCutAt218) {
  std::vector<std::string> lines;
  for (int k = 1; k <= 220; ++k) lines.push_back(main_line({0, 0, k % 7, k / 7}, static_cast<double>(k)));
  write_elp_files(elp_, {{2, lines}});
  const auto b = block(build_records(elp_), kMainU);
  ASSERT_EQ(b.size(), 218u);
  EXPECT_EQ(b.front(), "  1  0  0  3 31      220.00000");
  EXPECT_EQ(b.back(), "218  0  0  3  0        3.00000");  // 2 and 1 dropped
}

TEST_F(SeriesFixture, De200FitIsFoldedIntoMainAmplitudes) {
  std::string blank_b = main_line({0, 0, 0, 2}, 7.5, {1, 1, 1, 1, 1, 1});
  blank_b.replace(27, 72, 72, ' ');  // B1..B6 blank: read as 0, A unchanged
  write_elp_files(elp_, {
      {1, {main_line({0, 0, 1, 0}, 100.0, {1000000.0, 206264.81, 206264.81, -206264.81, 300000.0, 99999.99}),
           blank_b}},
      {3, {main_line({0, 0, 0, 0}, 385000.0)}},
  });
  const auto recs = build_records(elp_);
  // By hand: dnu = 0.55604 / 1732559343.73604 = 3.2093562e-10, AM dnu = 2.4006411e-11,
  // dn' = -0.06424 / 1732559343.73604 = -3.7078095e-11, so dn' - AM dnu = -6.1084506e-11;
  // DTASM = 2 x 0.002571881335 / (3 x 0.074801329518) = 0.022921886, and
  // (B1 + DTASM B5) = 1000000 + 6876.566 = 1006876.566 gives -6.1504557e-05.
  // 206264.81 / RAD = 206264.81 / 206264.8062471 = 1.0000000182, so B2 dGamma + B3 dE
  // + B4 de' = (-0.08066 + 0.01789 + 0.12879) x 1.0000000182 = 0.0660200012.
  // A = 100 - 0.0000615046 + 0.0660200012 = 100.0659585.
  EXPECT_EQ(block(recs, kMainV), (std::vector<std::string>{"  1  0  0  1  0      100.06596",
                                                           "  2  0  0  0  2        7.50000"}));
  // Distance: A - 2 A dnu / 3 = 385000 - 385000 x 2 x 3.2093562e-10 / 3 = 385000 - 0.0000824.
  EXPECT_EQ(block(recs, kMainR), (std::vector<std::string>{"  1  0  0  0  0   384999.99992"}));
}

// Blank lines are passed over; the title line is never read as a term.
TEST_F(SeriesFixture, TitleAndBlankLinesAreSkipped) {
  write_elp_files(elp_, {{1, {"", "   ", main_line({0, 0, 1, 0}, 1.0), ""}}});
  sb::ElpTerms terms;
  sb::read_elp_folder(4, elp_, terms);
  EXPECT_EQ(terms.read_per_file[1], 1);
  EXPECT_EQ(terms.main[0].size(), 1u);
}

// The loader's cut: after the first term below the level's threshold, which is kept.
TEST_F(SeriesFixture, KeptCountsFollowTheLoaderRule) {
  write_elp_files(elp_, {
      // Longitude main: 5, 3, 0.5, 0.009 -> level 1 (0.01) keeps 4 (0.009 is the first
      // below), level 2 (0.5) keeps all 4 (0.5 is not below 0.5, 0.009 is), level 3 (1) keeps 3.
      {1, {main_line({0, 0, 1, 0}, 5.0), main_line({0, 0, 2, 0}, 3.0), main_line({0, 0, 3, 0}, 0.5),
           main_line({0, 0, 4, 0}, 0.009)}},
      // Distance power 1: 0.1, 0.05, 0.02 -> thresholds 0.0006, 0.03, 0.06 keep 3, 3, 2.
      {9, {delaunay_line({0, 0, 0, 1, 0}, 0.0, 0.1), delaunay_line({0, 0, 0, 2, 0}, 0.0, 0.05),
           delaunay_line({0, 0, 0, 3, 0}, 0.0, 0.02)}},
  });
  build_records(elp_);
  sb::BlockCounts c;
  sb::count_kept(4, "SERIES85", c);
  EXPECT_EQ(c.written[kMainV], 4);
  EXPECT_EQ(c.kept[0][kMainV], 4);
  EXPECT_EQ(c.kept[1][kMainV], 4);
  EXPECT_EQ(c.kept[2][kMainV], 3);
  const int p1r = 8;
  EXPECT_EQ(c.written[p1r], 3);
  EXPECT_EQ(c.kept[0][p1r], 3);
  EXPECT_EQ(c.kept[1][p1r], 3);
  EXPECT_EQ(c.kept[2][p1r], 2);
}

// ---- make_series85 as a process ----------------------------------------------------------

using RunResult = testsupport::ProcessResult;

// make_series85 with the arguments given, in folder `scratch`, with a time limit.
RunResult run_builder(const std::vector<std::string>& args, const std::string& scratch) {
  std::vector<std::string> argv{KAV_MAKE_SERIES85};
  argv.insert(argv.end(), args.begin(), args.end());
  return testsupport::run_command(argv, scratch, "", 60000);
}

// Names of the files in a folder.
std::vector<std::string> listing(const std::string& dir) {
  std::vector<std::string> names;
  for (const auto& e : fs::directory_iterator(dir)) names.push_back(e.path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}

class Builder : public SeriesFixture {
 protected:
  std::string out_dir_ = box_.dir() + "/out";
  std::string output_ = out_dir_ + "/SERIES85";
  void SetUp() override { fs::create_directories(out_dir_); }
};

TEST_F(Builder, UsageAndHelp) {
  const RunResult help = run_builder({"--help"}, box_.dir());
  EXPECT_EQ(help.status, 0);
  EXPECT_NE(help.out.find("usage: make_series85 ELP_FOLDER OUTPUT_FILE"), std::string::npos);
  for (const auto& args : std::vector<std::vector<std::string>>{{}, {elp_}, {elp_, output_, "x"}}) {
    const RunResult r = run_builder(args, box_.dir());
    EXPECT_EQ(r.status, 2);
    EXPECT_NE(r.err.find("usage: make_series85"), std::string::npos);
    EXPECT_EQ(r.out, "");
  }
  EXPECT_TRUE(listing(out_dir_).empty());
}

TEST_F(Builder, ReportsWhatItReadMergedWroteAndKept) {
  write_elp_files(elp_, {
      {1, {main_line({0, 0, 1, 0}, 5.0), main_line({0, 0, 2, 0}, 0.5)}},
      {4, {delaunay_line({0, 2, 0, 0, 0}, 0.0, 3.0)}},
      {22, {delaunay_line({0, -2, 0, 0, 0}, 90.0, 4.0)}},
      {10, {planetary_line({0, 1, 0, 0, 0, 0, 0, 0, 0, 0, 1}, 10.0, 0.005)}},
  });
  const RunResult r = run_builder({elp_, output_}, box_.dir());
  ASSERT_EQ(r.status, 0) << r.err;
  const auto lines = testsupport::console_lines(r.out);
  const std::vector<std::string> expected = {
      "terms read                           5",
      "  main problem (ELP1-3)              2",
      "  Earth figure (ELP4-9)              1",
      "  planetary (ELP10-21)               1",
      "  tides (ELP22-27)                   1",
      "  Moon figure (ELP28-30)             0",
      "  relativity (ELP31-33)              0",
      "  solar eccentricity (ELP34-36)      0",
      "perturbation terms merged away       1",
      "block            mV   mU   mR  p0V  p0U  p0R  p1V  p1U  p1R  p2V  p2U  p2R",
      "written           2    0    0    2    0    0    0    0    0    0    0    0",
      "kept, level 1     2    0    0    2    0    0    0    0    0    0    0    0",
      "kept, level 2     2    0    0    2    0    0    0    0    0    0    0    0",
      "kept, level 3     2    0    0    2    0    0    0    0    0    0    0    0",
      "written: " + output_};
  EXPECT_EQ(lines, expected);
  EXPECT_EQ(listing(out_dir_), (std::vector<std::string>{"SERIES85"}));
  EXPECT_EQ(file_records(read_file(output_)).size(), 12u + 4u);
}

// Bad input: a message naming the file (and the line), status 1, the output
// left as it was and no temporary file behind.
struct BadCase {
  const char* name;
  int file;           // ELP file spoiled (0: none)
  int missing;        // ELP file left out (0: none)
  const char* line;   // its content (line 3 of the file, after the title and one good line)
  const char* where;  // expected in the report besides the file name
};

const BadCase kBadCases[] = {
    {"MissingFile", 0, 17, nullptr, "file not found"},
    {"ShortMainLine", 2, 0, "  0  0  1  0      100.00000        1.00", "line 3"},
    {"ShortPerturbationLine", 5, 0, "  0  0  0  1  0  90.00000   0.001", "line 3"},
    {"NonNumericAmplitude", 12, 0,
     "  0  0  0  0  0  0  0  0  0  0  1  90.00000   0.0x001     1.000", "line 3: '0.0x001'"},
    {"NonNumericMultiplier", 28, 0, "  0  a  0  1  0  90.00000   0.00100     1.000", "line 3: 'a'"},
    {"NumberOutOfRange", 3, 0,
     "  0  0  1  0        1.0E999"  // A in columns 15-27
     "        0.00        0.00        0.00        0.00        0.00        0.00",
     "line 3: '1.0E999'"},
};

void PrintTo(const BadCase& c, std::ostream* os) { *os << c.name; }

class BuilderBadInput : public Builder, public ::testing::WithParamInterface<BadCase> {};

TEST_P(BuilderBadInput, StopsNamingFileAndLineAndLeavesTheOutputAlone) {
  const BadCase& c = GetParam();
  ElpLines lines;
  if (c.file) {
    const sb::ElpFileKind k = sb::elp_file_kind(c.file);
    const std::string good = k.layout == sb::ElpLayout::Main ? main_line({0, 0, 1, 0}, 1.0)
                             : k.layout == sb::ElpLayout::Delaunay
                                 ? delaunay_line({0, 0, 0, 1, 0}, 0.0, 0.5)
                                 : planetary_line({0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 0}, 0.0, 0.5);
    lines[c.file] = {good, c.line};
  }
  write_elp_files(elp_, lines, c.missing);
  write_file(output_, "old contents\r\n");
  const RunResult r = run_builder({elp_, output_}, box_.dir());
  EXPECT_EQ(r.status, 1);
  const std::string file = elp_ + "/ELP" + std::to_string(c.file ? c.file : c.missing);
  EXPECT_NE(r.err.find("run-time error F"), std::string::npos) << r.err;
  EXPECT_NE(r.err.find("(" + file + ")"), std::string::npos) << r.err;
  EXPECT_NE(r.err.find(c.where), std::string::npos) << r.err;
  EXPECT_EQ(read_file(output_), "old contents\r\n");
  EXPECT_EQ(listing(out_dir_), (std::vector<std::string>{"SERIES85"}));
}

INSTANTIATE_TEST_SUITE_P(Cases, BuilderBadInput, ::testing::ValuesIn(kBadCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(Builder, UnwritableOutputStopsAndLeavesNothing) {
  write_elp_files(elp_, {{1, {main_line({0, 0, 1, 0}, 5.0)}}});
  // A folder that does not exist.
  const std::string nowhere = box_.dir() + "/no/such/folder/SERIES85";
  RunResult r = run_builder({elp_, nowhere}, box_.dir());
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.err.find("OPEN(" + nowhere + ")"), std::string::npos) << r.err;
  EXPECT_FALSE(fs::exists(box_.dir() + "/no"));
  // An output that is a folder: written, then the rename fails; the folder stays.
  fs::create_directories(out_dir_ + "/SERIES85");
  r = run_builder({elp_, out_dir_ + "/SERIES85"}, box_.dir());
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.err.find("OPEN(" + out_dir_ + "/SERIES85)"), std::string::npos) << r.err;
  EXPECT_TRUE(fs::is_directory(out_dir_ + "/SERIES85"));
  EXPECT_EQ(listing(out_dir_), (std::vector<std::string>{"SERIES85"}));
  fs::remove(out_dir_ + "/SERIES85");
  // A read-only folder (root writes there anyway, so only checked for others).
  if (geteuid() != 0) {
    chmod(out_dir_.c_str(), 0555);
    r = run_builder({elp_, output_}, box_.dir());
    chmod(out_dir_.c_str(), 0755);
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("OPEN(" + output_ + ")"), std::string::npos) << r.err;
    EXPECT_TRUE(listing(out_dir_).empty());
  }
}

}  // namespace
