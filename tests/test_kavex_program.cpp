// kavex as a user runs it: the built program in a folder of its own, with
// SERIES85 and (or without) input.txt, standard input fed to it.
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "independent_positions.h"
#include "kavex_dialogue.h"
#include "process.h"
#include "support.h"

namespace fs = std::filesystem;
using testsupport::read_file;
using testsupport::write_file;

namespace {

const std::string kKavex = std::string(KAV_BIN_DIR) + "/search/kavex";

class KavexProgram : public ::testing::Test {
 protected:
  void SetUp() override {
    char tmpl[] = "/tmp/kavex-XXXXXX";
    dir_ = mkdtemp(tmpl);
    if (!fs::exists(KAV_SERIES85)) GTEST_SKIP() << "SERIES85 not available";
    fs::copy_file(KAV_SERIES85, dir_ + "/SERIES85");
  }
  void TearDown() override { fs::remove_all(dir_); }
  testsupport::ProcessResult run(const std::string& input = "") {
    return testsupport::run_process(kKavex, dir_, input);
  }
  std::string report() { return read_file(dir_ + "/otvet.txt"); }
  std::string dir_;
};

const char* const kLoading = "    READING THE SERIES\n    WAIT A MOMENT, PLEASE.....\n";

TEST_F(KavexProgram, FindsTheDayAHoroscopeWasMadeFromOverTheWholeSpan) {
  const auto p = testsupport::independent_positions(2451545.0, 223.31921674);
  write_file(dir_ + "/input.txt", testsupport::input_around(p, 0.4));
  const auto r = run();
  ASSERT_EQ(r.status, 0) << r.err;
  EXPECT_EQ(r.err, "");
  const std::string file = report();
  const auto records = testsupport::file_records(file);

  // The last day of the span is the day itself.
  std::array<double, 7> minus_sun{}, scale{};
  for (int b = 0; b < 7; ++b) {
    minus_sun[b] = b == 0 ? 0.0 : p[b] - p[0];
    scale[b] = testsupport::scale_of(p[b]);
  }
  const std::vector<std::string> block = {
      " " + std::string(40, '-'),
      " PLANETS FIT THE HOROSCOPE AT JD:     2451545",
      " YEAR/MONTH/DAY=   1999/ 12/ 19",
      "  ",
      "       Positions: J2000/ planet-Sun J2000/ CS:",
      "  ",
      "        SUN   MOON  SATURN  JUPITER  MARS  VENUS   MERCURY",
      testsupport::row(p),
      testsupport::row(minus_sun),
      testsupport::row(scale),
      "  ",
      "  = = = = = = = =  ORDER IS OK  +++++++ (precisely)",
      "  ",
      " AVERAGE DISTANCE FROM BEST POINTS:     .0 deg",
      "                  YEAR/MONTH/DAY=   1999/12/19",
      " " + std::string(40, '-'),
      "   ",
      "            END OF CALCULATIONS.",
  };
  ASSERT_GE(records.size(), block.size());
  const std::vector<std::string> tail(records.end() - static_cast<long>(block.size()), records.end());
  EXPECT_EQ(tail, block);

  // Every day reported has every body within its stretch widened by 5
  // degrees (positions as printed, to 0.05 degrees).
  std::array<double, 7> lo{}, hi{};
  for (int b = 0; b < 7; ++b) {
    const double cs = testsupport::scale_of(p[b]);
    lo[b] = testsupport::longitude_of(cs - 0.4);
    hi[b] = testsupport::longitude_of(cs + 0.4);
  }
  int reported = 0;
  for (std::size_t i = 0; i + 7 < records.size(); ++i) {
    if (records[i].rfind(" PLANETS FIT THE HOROSCOPE AT JD:", 0) != 0) continue;
    ++reported;
    std::istringstream s(records[i + 6]);
    for (int b = 0; b < 7; ++b) {
      double v;
      s >> v;
      EXPECT_TRUE(testsupport::inside_widened(v, lo[b], hi[b])) << records[i] << " body " << b;
    }
  }
  EXPECT_GE(reported, 1);

  // The console: loading lines, start banner, progress 0 to 24 in order.
  int expected_progress = 0;
  for (const std::string& line : testsupport::console_lines(r.out)) {
    if (line.find(" centuries from 25 done(-500 -> +2000)") == std::string::npos) continue;
    char want[64];
    std::snprintf(want, sizeof want, "%11d centuries from 25 done(-500 -> +2000)", expected_progress++);
    EXPECT_EQ(line, want);
  }
  EXPECT_EQ(expected_progress, 25);
  EXPECT_EQ(r.out.rfind(std::string(kLoading) + "=======      PROGRAM KAVEX STARTED     =========== \n", 0), 0u);
  EXPECT_EQ(r.out.substr(r.out.size() - 27), "Stop - Program terminated.\n");
}

TEST_F(KavexProgram, NoBestPointStopsAfterTheErrorLine) {
  write_file(dir_ + "/input.txt", "#\n1 2 3 4 5 6 7\n#\n2 3 4 5 6 7 8\n#\n100 100 100 100 100 100 100\n");
  const auto r = run();
  EXPECT_EQ(r.status, 0);
  const std::string lines =
      "BEST POINT FOR MERCURY NOT DETERMINED\nBEST POINT FOR VENUS NOT DETERMINED\n"
      "BEST POINT FOR SUN NOT DETERMINED\nBEST POINT FOR MARS NOT DETERMINED\n"
      "BEST POINT FOR JUPITER NOT DETERMINED\nBEST POINT FOR SATURN NOT DETERMINED\n"
      "BEST POINT FOR MOON NOT DETERMINED\nERROR!!! iund(ipr) .NE. 0\n";
  EXPECT_EQ(r.out, std::string(kLoading) + "=======      PROGRAM KAVEX STARTED     =========== \n" + lines +
                       "Stop - Program terminated.\n");
  const std::string file = report();
  EXPECT_NE(file.find(" ERROR!!! iund(ipr) .NE. 0\r\n"), std::string::npos);
  EXPECT_EQ(file.find("RESULTS OF CALCULATIONS"), std::string::npos);
}

TEST_F(KavexProgram, WholeKeyboardDialogueThenChangeThenExit) {
  using namespace kavex_dialogue;
  const auto r = run(std::string(kAnswers) + "x\n2\n" + kAnswers + "3\n");
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.err, "");
  const std::string round = std::string(kIntroduction) + all_prompts() + kConsoleEcho + kMenu;
  EXPECT_EQ(r.out, std::string(kLoading) + round + kPrompt + kWrong + kPrompt + round + kPrompt +
                       "TERMINATED BY USER\n");
  EXPECT_EQ(report(), std::string(kReportEcho) + kReportEcho);
}

TEST_F(KavexProgram, EndOfInputAtAPromptEndsWithTheErrorReport) {
  const auto r = run("1\n2\n");
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.err.rfind("\nrun-time error F2001: READ(console)\n- end of file", 0), 0u) << r.err;
}

TEST(KavexWithoutSeries, MissingSeriesFileIsReportedAndNotCreated) {
  char tmpl[] = "/tmp/kavex-XXXXXX";
  const std::string dir = mkdtemp(tmpl);
  const auto r = testsupport::run_process(kKavex, dir, "");
  EXPECT_EQ(r.status, 1);
  EXPECT_EQ(r.err, "\nrun-time error F1001: OPEN(SERIES85)\n- file not found\n");
  EXPECT_FALSE(fs::exists(dir + "/SERIES85"));
  EXPECT_TRUE(fs::exists(dir + "/otvet.txt"));
  fs::remove_all(dir);
}

TEST_F(KavexProgram, DialogueThroughARealTerminal) {
  std::vector<std::pair<std::string, std::string>> dialogue;
  const char* names[7] = {"Sun ", "Moon", "Saturn", "Jupiter", "Mars", "Venus", "Mercury"};
  for (int b = 0; b < 7; ++b) {
    dialogue.push_back({std::string("Enter lower limit for the ") + names[b], "1"});
    dialogue.push_back({std::string("Enter upper limit for the ") + names[b], "2"});
    dialogue.push_back({std::string("best point for the ") + names[b], "1.5"});
  }
  dialogue.push_back({"PLEASE, TYPE THE SELECTION NUMBER AND <ENTER>", "7"});
  dialogue.push_back({"WRONG SELECTION - MUST BE 1, 2 or 3\r\n PLEASE, TYPE THE SELECTION NUMBER AND <ENTER>", "3"});
  const auto r = testsupport::run_on_terminal(kKavex, dir_, dialogue);
  ASSERT_EQ(r.status, 0) << r.out;
  // What the person saw: every line of the program on a line of its own,
  // without the carriage-control blank, the typed answers echoed in between.
  const std::string& screen = r.out;
  for (const char* line :
       {"    READING THE SERIES\r\n", "\r\n!!!!!!!!!!!ATTENTION!!!!!!!!!!!!!!!!!!!!!!!!\r\n",
        "\r\nEnter lower limit for the Sun \r\n1\r\nEnter upper limit for the Sun \r\n2\r\n",
        "\r\nfrom:  1.0    1.0    1.0     1.0     1.0    1.0     1.0\r\n",
        "\r\n        1: RUN   \r\n", "\r\n PLEASE, TYPE THE SELECTION NUMBER AND <ENTER>\r\n7\r\n"
                                  " WRONG SELECTION - MUST BE 1, 2 or 3\r\n",
        "\r\n3\r\nTERMINATED BY USER\r\n"})
    EXPECT_NE(screen.find(line), std::string::npos) << "missing: " << line << "\nscreen:\n" << screen;
}

}  // namespace
