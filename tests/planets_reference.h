// Reference tables of the planets tests, read from tests/data:
//   planets_erfa.txt  eraPlan94 states rotated to the mean ecliptic of J2000
//                     (tools/make_planets_reference.py): x y z xdot ydot zdot;
//   planets_bits.txt  the module's arithmetic written again in Python
//                     (tools/make_planets_bits.py): lon lat r x y z xdot ydot zdot.
// Each data line: jd planet status values...; lines starting with '#' are comments.
#pragma once

#include <array>
#include <cmath>
#include <cstdint>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace planets_test {

template <int N>
struct Row {
  double jd;
  std::int32_t planet;
  std::int32_t status;  // the code planet_position must give
  std::array<double, N> v;
};

// Rows in file order; an empty vector when the file cannot be read whole.
template <int N>
std::vector<Row<N>> load_table(const std::string& name) {
  std::vector<Row<N>> rows;
  std::ifstream in(std::string(KAV_TEST_DATA) + "/" + name);
  std::string line;
  while (std::getline(in, line)) {
    if (line.empty() || line[0] == '#') continue;
    std::istringstream fields(line);
    Row<N> row{};
    fields >> row.jd >> row.planet >> row.status;
    for (double& v : row.v) fields >> v;
    if (fields.fail()) return {};
    rows.push_back(row);
  }
  return rows;
}

using ReferenceRow = Row<6>;  // x y z (AU), xdot ydot zdot (AU/day)
inline std::vector<ReferenceRow> load_reference() { return load_table<6>("planets_erfa.txt"); }

// Inside about 1000..3000 AD the two base frequencies differ little; outside,
// the difference grows with the time from J2000.
inline bool near_window(double jd) { return jd >= 2086000.0 && jd <= 2818000.0; }

// |p - q| over the three components starting at first.
inline double distance(const std::array<double, 6>& p, const std::array<double, 6>& q, int first) {
  const double dx = p[first] - q[first];
  const double dy = p[first + 1] - q[first + 1];
  const double dz = p[first + 2] - q[first + 2];
  return std::sqrt(dx * dx + dy * dy + dz * dz);
}

// A difference for the test report, three significant digits.
inline std::string short_text(double value) {
  std::ostringstream text;
  text.precision(3);
  text << value;
  return text.str();
}

}  // namespace planets_test
