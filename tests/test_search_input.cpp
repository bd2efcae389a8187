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

struct FileCase {
  const char* what;
  const char* text;  // input.txt
  bool complete;     // all three blocks read
  Seven lower, upper, best;
};

TEST(HoroscopeFile, Blocks) {
  const Seven none{0, 0, 0, 0, 0, 0, 0};
  const FileCase cases[] = {
      {"three blocks with comments, marker text, values over lines, CR LF",
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
       true, {10.5, 1.0, 3, 4, 5, 6, 7}, {11.5, 2, 3.5, 4.5, 5.5, 6.5, 7.5},
       {11, 1.5, 100, 4.2, 5.2, 6.2, 7.2}},
      {"two blocks: best points stay as they were",
       "#\n1 2 3 4 5 6 7\n#\n8 9 10 11 12 1 2\n", false, {1, 2, 3, 4, 5, 6, 7},
       {8, 9, 10, 11, 12, 1, 2}, none},
      {"a word ends the attempt; the values before it stay", "#\n1 2 abc 4 5 6 7\n", false,
       {1, 2, 0, 0, 0, 0, 0}, none, none},
      {"a bad block is read again from the next marker",
       "#\n1 2 abc 4 5 6 7\nignored\n#\n8 9 10 11 1 2 3\n#\n1 1 1 1 1 1 1\n#\n2 2 2 2 2 2 2\n",
       true, {8, 9, 10, 11, 1, 2, 3}, {1, 1, 1, 1, 1, 1, 1}, {2, 2, 2, 2, 2, 2, 2}},
      {"end of file inside a block", "#\n1 2 3\n", false, {1, 2, 3, 0, 0, 0, 0}, none, none},
      // Before any marker the answer character holds a zero byte: a line
      // whose first value is null is passed over. After "#" was read, such a
      // line counts as a marker.
      {"a null first value is a marker only after one",
       ",1 2 3 4 5 6 7\n#\n1 2 3 4 5 6 7\n,\n2 2 2 2 2 2 2\n,x\n3 3 3 3 3 3 3\n", true,
       {1, 2, 3, 4, 5, 6, 7}, {2, 2, 2, 2, 2, 2, 2}, {3, 3, 3, 3, 3, 3, 3}},
  };
  for (const FileCase& c : cases) {
    Sandbox box;
    search::answer = '\0';  // as at program start
    Horoscope h;
    EXPECT_EQ(read_input(c.text, h), c.complete) << c.what;
    EXPECT_EQ(h.lower, c.lower) << c.what;
    EXPECT_EQ(h.upper, c.upper) << c.what;
    EXPECT_EQ(h.best, c.best) << c.what;
  }
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

// Reads at the keyboard have no error branch: a bad answer or the end of
// console input ends with the run-time error report, never a hang.
TEST(KeyboardEntry, BadAnswersAreRunTimeErrors) {
  struct Case {
    const char* what;
    std::string input;
    const char* report_part;  // a part of the report
  };
  const Case cases[] = {
      {"end of input at a prompt", "1\n2\n", "end of file"},
      {"a word instead of a number", "ten\n", "not a number"},
      {"end of input at the menu", kAnswers, "READ(console)"},
  };
  for (const Case& c : cases) {
    Sandbox box(c.input);
    io::open(3, "otvet.txt", io::OpenMode::Replace);
    Horoscope h;
    try {
      search::obtain_horoscope(h);
      ADD_FAILURE() << c.what << ": no stop";
    } catch (const io::Stop& s) {
      EXPECT_EQ(s.kind, io::Stop::Kind::Error) << c.what;
      EXPECT_NE(s.text.find("READ(console)"), std::string::npos) << c.what << ": " << s.text;
      EXPECT_NE(s.text.find(c.report_part), std::string::npos) << c.what << ": " << s.text;
    }
  }
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
