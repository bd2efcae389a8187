// kavex before the search: input.txt, the keyboard dialogue, the echoes and
// the menu. Expected texts are written from the program's documented lines.
#include <gtest/gtest.h>

#include <array>
#include <string>

#include "io/stop.h"
#include "io/units.h"
#include "search/horoscope.h"
#include "support.h"

using search::Horoscope;
using testsupport::Sandbox;

namespace {

using Seven = std::array<double, 7>;

// Reads `text` as input.txt; returns whether all three blocks were complete.
bool read_input(const std::string& text, Horoscope& h) {
  testsupport::write_file("input.txt", text);
  io::open(4, "input.txt", io::OpenMode::Old);
  const bool complete = search::read_horoscope_file(h);
  io::close(4);
  return complete;
}

TEST(HoroscopeFile, ThreeBlocksWithCommentsAndMarkerText) {
  Sandbox box;
  Horoscope h;
  const bool complete = read_input(
      "Horoscope of a test\n"
      "lines before a marker are passed over\n"
      "# lower limits: SUN MOON SATURN JUPITER MARS VENUS MERCURY\n"
      "10.5 1.0 3 4 5 6 7\n"
      "a comment between blocks\n"
      "#upper\r\n"
      "11.5 2 3.5 4.5\r\n"
      "5.5,6.5,7.5\r\n"
      "\n"
      "#\n"
      "\n"
      "11 1.5 100 4.2 5.2 6.2 7.2 rest of the line is passed over\n",
      h);
  EXPECT_TRUE(complete);
  EXPECT_EQ(h.lower, (Seven{10.5, 1.0, 3, 4, 5, 6, 7}));
  EXPECT_EQ(h.upper, (Seven{11.5, 2, 3.5, 4.5, 5.5, 6.5, 7.5}));
  EXPECT_EQ(h.best, (Seven{11, 1.5, 100, 4.2, 5.2, 6.2, 7.2}));
}

TEST(HoroscopeFile, TwoBlocksLeaveBestPointsAsTheyWere) {
  Sandbox box;
  Horoscope h;
  EXPECT_FALSE(read_input("#\n1 2 3 4 5 6 7\n#\n8 9 10 11 12 1 2\n", h));
  EXPECT_EQ(h.upper, (Seven{8, 9, 10, 11, 12, 1, 2}));
  EXPECT_EQ(h.best, (Seven{0, 0, 0, 0, 0, 0, 0}));
}

TEST(HoroscopeFile, BadBlockIsRetriedFromTheNextMarker) {
  Sandbox box;
  Horoscope h;
  // The first attempt stops at the word; the values before it stay.
  EXPECT_FALSE(read_input("#\n1 2 abc 4 5 6 7\n", h));
  EXPECT_EQ(h.lower, (Seven{1, 2, 0, 0, 0, 0, 0}));

  Horoscope g;
  EXPECT_TRUE(read_input("#\n1 2 abc 4 5 6 7\nignored\n#\n8 9 10 11 1 2 3\n#\n1 1 1 1 1 1 1\n"
                         "#\n2 2 2 2 2 2 2\n",
                         g));
  EXPECT_EQ(g.lower, (Seven{8, 9, 10, 11, 1, 2, 3}));
  EXPECT_EQ(g.best, (Seven{2, 2, 2, 2, 2, 2, 2}));
}

TEST(HoroscopeFile, EndOfFileInsideABlock) {
  Sandbox box;
  Horoscope h;
  EXPECT_FALSE(read_input("#\n1 2 3\n", h));
  EXPECT_EQ(h.lower, (Seven{1, 2, 3, 0, 0, 0, 0}));
}

TEST(HoroscopeFile, NullFirstValueCountsAsMarkerOnlyAfterOne) {
  Sandbox box;
  Horoscope h;
  // Before any marker the answer character holds a zero byte: the comma line
  // is passed over. After "#" was read, a comma line is a marker too.
  search::answer = '\0';
  EXPECT_TRUE(read_input(",1 2 3 4 5 6 7\n#\n1 2 3 4 5 6 7\n,\n2 2 2 2 2 2 2\n,x\n3 3 3 3 3 3 3\n", h));
  EXPECT_EQ(h.lower, (Seven{1, 2, 3, 4, 5, 6, 7}));
  EXPECT_EQ(h.upper, (Seven{2, 2, 2, 2, 2, 2, 2}));
  EXPECT_EQ(h.best, (Seven{3, 3, 3, 3, 3, 3, 3}));
}

// ---- keyboard dialogue -------------------------------------------------------

const char* const kIntroduction =
    "        \n"
    "        \n"
    "!!!!!!!!!!!ATTENTION!!!!!!!!!!!!!!!!!!!!!!!!\n"
    "File INPUT.TXT was not found => please,   \n"
    "describe planet positions in the horoscope\n"
    "by entering limits and best points for them\n"
    "        \n"
    "Better way to input data is using INPUT.TXT \n"
    "!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!!\n"
    "        \n"
    "        \n"
    "   Enter limits for planets positions\n"
    "   according to the following scale:\n"
    "        \n"
    "=======   CONSTELLATION    SCALE   ====== \n"
    "      12=0-ARIES-1-TAURUS-2-GEMINI-3\n"
    "      3-CANCER-4-LEO-5-VIRGO-6\n"
    "      6-LIBRA-7-SCORPIO-8-SAGITTARIUS-9\n"
    "      9-CAPRICORN-10-AQUARIUS-11-PISCES-12=0\n"
    "============================================ \n";

std::string body_dialogue(const char* name, const char* best_prompt, const char* banner) {
  std::string s = "        \n";
  s += std::string("Enter lower limit for the ") + name + "\n";
  s += std::string("Enter upper limit for the ") + name + "\n";
  s += std::string(best_prompt) + "\n";
  s += std::string(banner) + "\n";
  s += "      12=0-ARIES-1-TAURUS-2-GEMINI-3\n"
       "      3-CANCER-4-LEO-5-VIRGO-6\n"
       "      6-LIBRA-7-SCORPIO-8-SAGITTARIUS-9\n"
       "      9-CAPRICORN-10-AQUARIUS-11-PISCES-12=0\n"
       "============================================ \n";
  return s;
}

std::string all_prompts() {
  const char* moon_banner = "=======      CONSTELLATION    SCALE     =========== ";
  std::string s;
  s += body_dialogue("Sun ", "Enter approx. best point for the Sun ",
                     "=======    CONSTELLATION    SCALE ======== ");
  s += body_dialogue("Moon", "Enter  approx. best point for the Moon", moon_banner);
  s += body_dialogue("Saturn", "Enter approx. best point for the Saturn", moon_banner);
  s += body_dialogue("Jupiter", "Enter approx. best point for the Jupiter", moon_banner);
  s += body_dialogue("Mars", "Enter approx. best point for the Mars", moon_banner);
  s += body_dialogue("Venus", "Enter approx. best point for the Venus", moon_banner);
  s += body_dialogue("Mercury", "Enter approx. best point for the Mercury", moon_banner);
  return s;
}

// 21 answers, body by body: lower, upper, best.
const char* const kAnswers =
    "10.5\n11.5\n11\n"       // Sun
    "0\n1\n0.5\n"            // Moon
    "2\n3\n2.25\n"           // Saturn
    "4\n5\n100\n"            // Jupiter (no best point)
    "6 ignored\n7\n6.96\n"   // Mars: the rest of the line is passed over
    "8\n9\n-10\n"            // Venus
    "11.9\n0.1\n0\n";        // Mercury

const char* const kConsoleEcho =
    "       SUN   MOON  SATURN  JUPITER  MARS  VENUS   MERCURY\n"
    "from: 10.5     .0    2.0     4.0     6.0    8.0    11.9\n"
    "  to: 11.5    1.0    3.0     5.0     7.0    9.0      .1\n"
    "point:11.0     .5    2.3    ****     7.0   ****      .0\n";

const std::string kMenu = std::string(9, ' ') + "\n" + std::string(23, '/') +
                          std::string(23, '\\') + "\n" +
                          "        1: RUN   \n"
                          "        2: CHANGE HOROSCOPE\n"
                          "        3: EXIT \n";
const char* const kPrompt = " PLEASE, TYPE THE SELECTION NUMBER AND <ENTER>\n";
const char* const kWrong = " WRONG SELECTION - MUST BE 1, 2 or 3\n";

const char* const kReportEcho =
    " ======= CONSTELLATION    SCALE  ===================\r\n"
    "       12=0-ARIES-1-TAURUS-2-GEMINI-3\r\n"
    "       3-CANCER-4-LEO-5-VIRGO-6\r\n"
    "       6-LIBRA-7-SCORPIO-8-SAGITTARIUS-9\r\n"
    "       9-CAPRICORN-10-AQUARIUS-11-PISCES-12=0\r\n"
    "    \r\n"
    " --- HOROSCOPE ACCORDING TO CONSTELLATIONS SCALE: --\r\n"
    "        SUN   MOON  SATURN  JUPITER  MARS  VENUS   MERCURY\r\n"
    " from: 10.5     .0    2.0     4.0     6.0    8.0    11.9\r\n"
    "   to: 11.5    1.0    3.0     5.0     7.0    9.0      .1\r\n"
    " point:11.0     .5    2.3    ****     7.0   ****      .0\r\n"
    " ===================================================\r\n";

TEST(KeyboardEntry, PromptsEchoesMenuAndRun) {
  Sandbox box(std::string(kAnswers) + "\n 1\n9\n12\n");
  io::open(3, "otvet.txt", io::OpenMode::Replace);
  Horoscope h;
  search::obtain_horoscope(h);  // returns on the run choice
  EXPECT_EQ(box.console(), std::string(kIntroduction) + all_prompts() + kConsoleEcho + kMenu +
                               kPrompt + kWrong + kPrompt + kWrong + kPrompt + kWrong + kPrompt);
  EXPECT_EQ(box.file("otvet.txt"), kReportEcho);
  EXPECT_EQ(h.lower, (Seven{10.5, 0, 2, 4, 6, 8, 11.9}));
  EXPECT_EQ(h.best, (Seven{11, 0.5, 2.25, 100, 6.96, -10, 0}));
}

TEST(KeyboardEntry, ChangeAsksEverythingAgainThenExit) {
  Sandbox box(std::string(kAnswers) + "2\n" + kAnswers + "3\n");
  io::open(3, "otvet.txt", io::OpenMode::Replace);
  Horoscope h;
  try {
    search::obtain_horoscope(h);
    FAIL() << "no stop";
  } catch (const io::Stop& s) {
    EXPECT_EQ(s.kind, io::Stop::Kind::Message);
    EXPECT_EQ(s.text, "TERMINATED BY USER");
  }
  const std::string round = std::string(kIntroduction) + all_prompts() + kConsoleEcho + kMenu + kPrompt;
  EXPECT_EQ(box.console(), round + round);
  EXPECT_EQ(box.file("otvet.txt"), std::string(kReportEcho) + kReportEcho);
}

TEST(KeyboardEntry, EndOfInputAtAPromptIsARunTimeError) {
  Sandbox box("1\n2\n");
  io::open(3, "otvet.txt", io::OpenMode::Replace);
  Horoscope h;
  try {
    search::obtain_horoscope(h);
    FAIL() << "no stop";
  } catch (const io::Stop& s) {
    EXPECT_EQ(s.kind, io::Stop::Kind::Error);
    EXPECT_NE(s.text.find("READ(console)"), std::string::npos) << s.text;
    EXPECT_NE(s.text.find("end of file"), std::string::npos) << s.text;
  }
}

TEST(KeyboardEntry, AWordInsteadOfANumberIsARunTimeError) {
  Sandbox box("ten\n");
  io::open(3, "otvet.txt", io::OpenMode::Replace);
  Horoscope h;
  try {
    search::obtain_horoscope(h);
    FAIL() << "no stop";
  } catch (const io::Stop& s) {
    EXPECT_EQ(s.kind, io::Stop::Kind::Error);
    EXPECT_NE(s.text.find("not a number"), std::string::npos) << s.text;
  }
}

TEST(KeyboardEntry, EndOfInputAtTheMenuIsARunTimeError) {
  Sandbox box(kAnswers);
  io::open(3, "otvet.txt", io::OpenMode::Replace);
  Horoscope h;
  EXPECT_THROW(search::obtain_horoscope(h), io::Stop);
}

TEST(HoroscopeFile, CompleteFileGivesReportEchoAndNoConsoleOutput) {
  Sandbox box;
  testsupport::write_file("input.txt",
                          "#\n10.5 0 2 4 6 8 11.9\n#\n11.5 1 3 5 7 9 0.1\n#\n11 0.5 2.25 100 6.96 -10 0\n");
  io::open(3, "otvet.txt", io::OpenMode::Replace);
  Horoscope h;
  search::obtain_horoscope(h);
  EXPECT_EQ(box.console(), "");
  EXPECT_EQ(box.file("otvet.txt"), kReportEcho);
}

TEST(HoroscopeFile, IncompleteFileStartsWithoutEcho) {
  Sandbox box;
  testsupport::write_file("input.txt", "");
  io::open(3, "otvet.txt", io::OpenMode::Replace);
  Horoscope h;
  search::obtain_horoscope(h);
  EXPECT_EQ(box.console(), "");
  EXPECT_EQ(box.file("otvet.txt"), "");
  EXPECT_EQ(h.lower, (Seven{0, 0, 0, 0, 0, 0, 0}));
}

}  // namespace
