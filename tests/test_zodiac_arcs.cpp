// Arc membership with its in-place widening and normalisation, and the
// angular distance.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>

#include "io/stop.h"
#include "zodiac/check.h"
#include "zodiac/dist.h"

namespace {

constexpr double two_pi_single = 6.2831854820251465;  // 2 x 3.1415927f widened

struct ArcCase {
  double angle, lower, upper, tolerance;
  std::int32_t want;
  double angle_after, lower_after, upper_after;  // the arguments as rewritten
  const char* why;
};

void check_cases(const ArcCase* begin, const ArcCase* end) {
  for (const ArcCase* c = begin; c != end; ++c) {
    double angle = c->angle, lower = c->lower, upper = c->upper;
    const double tolerance = c->tolerance;
    EXPECT_EQ(zodiac::arc_contains(angle, lower, upper, tolerance), c->want) << c->why;
    EXPECT_EQ(angle, c->angle_after) << c->why;
    EXPECT_EQ(lower, c->lower_after) << c->why;
    EXPECT_EQ(upper, c->upper_after) << c->why;
    EXPECT_EQ(tolerance, c->tolerance) << c->why;
  }
}

TEST(ArcContains, WholeCircleChangesNothing) {
  const ArcCase cases[] = {
      {100.0, 1.0, 1.0, 0.1, 1, 100.0, 1.0, 1.0, "equal limits, angle far out of range"},
      {-50.0, 1.0, 1.0, 0.1, 1, -50.0, 1.0, 1.0, "equal limits, negative angle"},
      {0.5, 7.0, 7.0, 0.0, 1, 0.5, 7.0, 7.0, "equal limits out of range are not checked"},
  };
  check_cases(std::begin(cases), std::end(cases));
}

// Widened limits as the arc test forms them: lower - tolerance, tolerance + upper.
TEST(ArcContains, ArcsWidenedByTheTolerance) {
  const ArcCase cases[] = {
      {0.95, 1.0, 2.0, 0.1, 1, 0.95, 1.0 - 0.1, 0.1 + 2.0, "inside the widening below"},
      {2.1, 1.0, 2.0, 0.1, 1, 2.1, 1.0 - 0.1, 0.1 + 2.0, "upper end of the widened arc"},
      {2.2, 1.0, 2.0, 0.1, 0, 2.2, 1.0 - 0.1, 0.1 + 2.0, "beyond the widened arc"},
      {0.85, 1.0, 2.0, 0.1, 0, 0.85, 1.0 - 0.1, 0.1 + 2.0, "below the widened arc"},
      {1.5, 1.0, 2.0, 0.0, 1, 1.5, 1.0, 2.0, "no tolerance: limits unchanged"},
      {1.0, 1.0, 2.0, 0.0, 1, 1.0, 1.0, 2.0, "lower end included"},
      {2.0, 1.0, 2.0, 0.0, 1, 2.0, 1.0, 2.0, "upper end included"},
      {0.0, 6.0, 0.5, 0.1, 1, 0.0, 6.0 - 0.1, 0.1 + 0.5, "across 0, at 0"},
      {6.2, 6.0, 0.5, 0.1, 1, 6.2, 6.0 - 0.1, 0.1 + 0.5, "across 0, before 0"},
      {5.95, 6.0, 0.5, 0.1, 1, 5.95, 6.0 - 0.1, 0.1 + 0.5, "across 0, in the widening"},
      {3.0, 6.0, 0.5, 0.1, 0, 3.0, 6.0 - 0.1, 0.1 + 0.5, "across 0, opposite side"},
      {3.0, 0.1, 6.1, 0.1, 1, 3.0, 0.0, 0.1 + 6.1, "lower widened to exactly 0"},
      {6.05, 0.3, 6.0, 0.1, 1, 6.05, 0.3 - 0.1, 0.1 + 6.0,
       "gap 0.58 > 2 x tolerance: widened, angle in the widening"},
  };
  check_cases(std::begin(cases), std::end(cases));
}

// An arc that leaves a gap no wider than twice the tolerance keeps its limits:
// widened, they would pass each other.
TEST(ArcContains, NarrowGapKeepsTheLimits) {
  const double tol5 = 0.08726646259971647;  // 5 degrees
  const ArcCase cases[] = {
      {0.9, 1.0, 0.85, 0.1, 0, 0.9, 1.0, 0.85, "across 0, gap 0.15: angle in the gap"},
      {3.0, 1.0, 0.85, 0.1, 1, 3.0, 1.0, 0.85, "across 0, gap 0.15: angle in the arc"},
      // Widening 0.05 .. 6.2 by 5 degrees would leave the sliver from
      // 6.2459... round to 0.0041, and 3.0, deep inside the arc, would fall out.
      {3.0, 0.05, 6.2, tol5, 1, 3.0, 0.05, 6.2, "not across 0, gap 0.133: inside"},
      {0.0, 0.05, 6.2, tol5, 0, 0.0, 0.05, 6.2, "not across 0, gap 0.133: in the gap"},
      {6.25, 0.05, 6.2, tol5, 0, 6.25, 0.05, 6.2, "not across 0, gap 0.133: in the gap"},
  };
  check_cases(std::begin(cases), std::end(cases));
}

TEST(ArcContains, AngleNormalisedInPlace) {
  const ArcCase cases[] = {
      {-0.5, 5.5, 6.0, 0.0, 1, 5.7831854820251465, 5.5, 6.0, "one turn added"},
      {7.0, 0.5, 1.0, 0.0, 1, 0.7168145179748535, 0.5, 1.0, "one turn removed"},
      {two_pi_single, 0.0, 1.0, 0.0, 1, 0.0, 0.0, 1.0, "a full turn is 0"},
      {-two_pi_single, 0.0, 1.0, 0.0, 1, 0.0, 0.0, 1.0, "lowest accepted angle"},
      {6.283185307179586, 6.0, 0.5, 0.0, 1, 6.283185307179586, 6.0, 0.5,
       "double 2 pi lies below the turn and is not reduced"},
      {-0.5, 1.0, 2.0, 0.0, 0, 5.7831854820251465, 1.0, 2.0, "normalised and outside"},
  };
  check_cases(std::begin(cases), std::end(cases));
}

TEST(ArcContains, LimitsNormalisedInPlace) {
  const ArcCase cases[] = {
      // 0.05 - 0.1 = -0.05 gains a turn; the arc now runs across 0.
      {0.02, 0.05, 1.0, 0.1, 1, 0.02, (0.05 - 0.1) + two_pi_single, 0.1 + 1.0,
       "lower widened below 0"},
      {6.25, 0.05, 1.0, 0.1, 1, 6.25, (0.05 - 0.1) + two_pi_single, 0.1 + 1.0,
       "lower widened below 0, angle before 0"},
      {0.03, 5.0, 6.25, 0.1, 1, 0.03, 5.0 - 0.1, (0.1 + 6.25) - two_pi_single,
       "upper widened past the turn"},
  };
  check_cases(std::begin(cases), std::end(cases));
}

TEST(ArcContains, ValuesOutOfRangeAfterNormalisationStop) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  struct Case {
    double angle, lower, upper, tolerance;
    const char* message;
  };
  const Case cases[] = {
      {13.0, 1.0, 2.0, 0.1, "CHECK--1"},
      {13.0, -7.0, 2.0, 0.1, "CHECK--1"},  // the angle is checked first
      {2.0 * two_pi_single, 1.0, 2.0, 0.1, "CHECK--1"},
      {std::nextafter(-two_pi_single, -10.0), 1.0, 2.0, 0.1, "CHECK--1"},
      {nan, 1.0, 2.0, 0.1, "CHECK--1"},
      {1.0, -7.0, 2.0, 0.1, "CHECK--2"},
      {1.0, -7.0, 13.0, 0.1, "CHECK--2"},  // lower before upper
      {1.0, 1.0, 13.0, 0.1, "CHECK--3"},
  };
  for (const Case& c : cases) {
    double angle = c.angle, lower = c.lower, upper = c.upper;
    try {
      zodiac::arc_contains(angle, lower, upper, c.tolerance);
      ADD_FAILURE() << c.message << ": no stop";
    } catch (const io::Stop& s) {
      EXPECT_EQ(s.kind, io::Stop::Kind::Message);
      EXPECT_EQ(s.text, c.message) << "angle " << c.angle << " lower " << c.lower;
    }
  }
}

TEST(ArcDistance, EitherOrder) {
  struct Case {
    double a, b, want;
  };
  const Case cases[] = {
      {10.0, 350.0, 20.0},
      {0.0, 180.0, 180.0},
      {0.0, 181.0, 179.0},
      {-10.0, 10.0, 20.0},
      {720.0, 0.0, 0.0},
      {540.0, 0.0, 180.0},
      {359.5, 0.5, 1.0},
      {123.25, 123.25, 0.0},
      {1000.0, 0.0, 80.0},          // 1000 = 2 x 360 + 280
      {100000.5, 0.0, 79.5},        // 100000.5 = 277 x 360 + 280.5
      {1180591620717411303424.0, 0.0, 56.0},  // 2^70 = 304 (mod 360)
  };
  for (const Case& c : cases) {
    EXPECT_EQ(zodiac::arc_distance(c.a, c.b), c.want) << c.a << ", " << c.b;
    EXPECT_EQ(zodiac::arc_distance(c.b, c.a), c.want) << c.b << ", " << c.a;
  }
}

}  // namespace
