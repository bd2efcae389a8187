// kavex before the search: input.txt, the keyboard dialogue, the echoes and
// the menu. Expected texts are written from the program's documented lines.
#include <gtest/gtest.h>

#include <array>
#include <string>

#include "io/stop.h"
#include "io/units.h"
#include "search/horoscope.h"
#include "kavex_dialogue.h"
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

using namespace kavex_dialogue;

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
