// The console text of kavex's keyboard dialogue and its report-file echo,
// written by hand from the program's documented lines, for a fixed set of 21
// answers. Shared by the in-process tests and the tests of the built program.
#pragma once

#include <string>

namespace kavex_dialogue {

inline const char* const kIntroduction =
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

inline std::string body_dialogue(const char* name, const char* best_prompt, const char* banner) {
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

inline std::string all_prompts() {
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
inline const char* const kAnswers =
    "10.5\n11.5\n11\n"       // Sun
    "0\n1\n0.5\n"            // Moon
    "2\n3\n2.25\n"           // Saturn
    "4\n5\n100\n"            // Jupiter (no best point)
    "6 ignored\n7\n6.96\n"   // Mars: the rest of the line is passed over
    "8\n9\n-10\n"            // Venus
    "11.9\n0.1\n0\n";        // Mercury

inline const char* const kConsoleEcho =
    "       SUN   MOON  SATURN  JUPITER  MARS  VENUS   MERCURY\n"
    "from: 10.5     .0    2.0     4.0     6.0    8.0    11.9\n"
    "  to: 11.5    1.0    3.0     5.0     7.0    9.0      .1\n"
    "point:11.0     .5    2.3    ****     7.0   ****      .0\n";

inline const std::string kMenu = std::string(9, ' ') + "\n" + std::string(23, '/') +
                          std::string(23, '\\') + "\n" +
                          "        1: RUN   \n"
                          "        2: CHANGE HOROSCOPE\n"
                          "        3: EXIT \n";
inline const char* const kPrompt = " PLEASE, TYPE THE SELECTION NUMBER AND <ENTER>\n";
inline const char* const kWrong = " WRONG SELECTION - MUST BE 1, 2 or 3\n";

inline const char* const kReportEcho =
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

}  // namespace kavex_dialogue
