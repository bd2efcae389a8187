// Module Lune: loading SERIES85 and summing it for the Moon's position.
//
// Every expression below keeps a fixed order of operations (Horner forms
// innermost first, sums from the first term on, fmod keeping the sign of the
// dividend): the positions must come out the same to the last bit, so do not
// regroup them.

#include "ephemeris/Lune.h"

#include <cmath>
#include <cstdint>
#include <stdexcept>
#include <string>

#include "io/format.h"
#include "io/list.h"
#include "io/stop.h"
#include "io/units.h"

namespace ephemeris {

LunarSeries lunar_series;

namespace {

constexpr int kUnit = 4;
constexpr const char* kFileName = "SERIES85";

// Arc seconds to radians, and degrees to radians.
constexpr double kRad = 1.0 / 206264.8062470964;
constexpr double kDeg = 3600.0 * kRad;

// Start value in radians of an angle given in degrees, minutes and seconds.
constexpr double dms(double d, double m, double s) { return ((d * 60.0 + m) * 60.0 + s) * kRad; }

// The thirteen fundamental arguments, in the order of the multipliers of a
// perturbation record. Start values at J2000 in radians; rates in arc
// seconds per Julian century.
constexpr double kArgStart[13] = {
    dms(252.0, 15.0, 3.25986),   // Me, mean longitude of Mercury
    dms(181.0, 58.0, 47.28305),  // V, Venus
    dms(100.0, 27.0, 59.22059),  // T, Earth-Moon barycentre
    dms(355.0, 25.0, 59.78866),  // Ma, Mars
    dms(34.0, 21.0, 5.34212),    // J, Jupiter
    dms(50.0, 4.0, 38.89694),    // S, Saturn
    dms(314.0, 3.0, 18.01841),   // U, Uranus
    dms(304.0, 20.0, 55.19575),  // N, Neptune
    785939.95571 * kRad,         // zeta, mean longitude of the Moon, mean equinox of date
    dms(297.0, 51.0, 0.73512),   // D, mean elongation of the Moon from the Sun
    dms(357.0, 31.0, 44.79306),  // l', mean anomaly of the Sun
    dms(134.0, 57.0, 48.28096),  // l, mean anomaly of the Moon
    dms(93.0, 16.0, 19.55755),   // F, mean argument of latitude of the Moon
};
constexpr double kArgRate[13] = {
    538101628.68898,   // Me
    210664136.43355,   // V
    129597742.2758,    // T
    68905077.59284,    // Ma
    10925660.42861,    // J
    4399609.65932,     // S
    1542481.19393,     // U
    786550.32074,      // N
    1732564372.83264,  // zeta
    1602961601.4603,   // D
    129596581.0474,    // l'
    1717915923.4728,   // l
    1739527263.0983,   // F
};

// Delaunay arguments of the main problem: start values (radians) and the
// coefficients of T, T^2, T^3, T^4 (arc seconds per Julian century^k).
constexpr double kDelStart[4] = {kArgStart[9], kArgStart[10], kArgStart[11], kArgStart[12]};
constexpr double kDelPoly[4][4] = {
    {1602961601.4603, -5.8681, 0.006595, -3.184e-05},    // D
    {129596581.0474, -0.5529, 0.000147, 0.0},            // l'
    {1717915923.4728, 32.3893, 0.051651, -0.0002447},   // l
    {1739527263.0983, -12.2505, -0.001021, 4.17e-06},   // F
};

// Truncation thresholds of level 1 by coordinate and power of T (the main
// problem uses the power-0 column): arc seconds, arc seconds, kilometres.
constexpr double kBaseThreshold[3][3] = {
    {0.01, 0.0003, 1e-05},  // longitude
    {0.01, 0.0003, 1e-05},  // latitude
    {0.02, 0.0006, 2e-05},  // distance
};

const char* const kCoordName[3] = {"longitude", "latitude", "distance"};

// Mean longitude of the Moon W1(T), arc seconds: w0 .. w4.
constexpr double kW0 = 785939.95571;
constexpr double kW1 = 1732559343.73604;
constexpr double kW2 = -5.8883;
constexpr double kW3 = 0.006604;
constexpr double kW4 = -3.169e-05;

// P and Q of the ecliptic of date against the ecliptic of J2000, coefficients
// of tau^1 .. tau^10 (tau in 10000 Julian years), each p_i * 1e-10 as a double.
constexpr double kPCoef[10] = {
    10180391 * 1e-10, 47020439 * 1e-10, -5417367 * 1e-10, -2507948 * 1e-10, 463486 * 1e-10,
    56431 * 1e-10,    -50813 * 1e-10,   -2799 * 1e-10,    8609 * 1e-10,     -67 * 1e-10,
};
constexpr double kQCoef[10] = {
    -113469002 * 1e-10, 12372674 * 1e-10, 12654170 * 1e-10, -1371808 * 1e-10, -320334 * 1e-10,
    5072 * 1e-10,       -6941 * 1e-10,    15095 * 1e-10,    -72 * 1e-10,      -352 * 1e-10,
};

// "block 4 (power 0 perturbations, longitude)"; blocks are numbered 1 to 12
// in file order.
std::string block_label(int block, int c, int power) {
  std::string s = "block " + std::to_string(block) + " (";
  if (power < 0)
    s += "main problem, ";
  else
    s += "power " + std::to_string(power) + " perturbations, ";
  s += kCoordName[c];
  s += ')';
  return s;
}

std::string at_line(int block, int c, int power) {
  return block_label(block, c, power) + ": line " + std::to_string(io::record_number(kUnit));
}

// Reads a header line and returns the record count of the block.
std::int32_t read_header(const io::Format& fmt, int block, int c, int power) {
  std::int32_t n = 0;
  const io::FmtVar v[] = {io::fvar(n)};
  io::read_fmt(kUnit, fmt, v);
  // A negative count would move the next power's terms in front of the array.
  if (n < 0)
    io::fail(io::Fault::NumberRange, io::Statement::Read, kFileName,
             at_line(block, c, power) + ": record count " + std::to_string(n));
  return n;
}

// The sequence number of a record must be its position: the count of a
// truncated block is taken from it, and a gap means lines were lost.
void check_sequence(std::int32_t seq, std::int32_t j, int block, int c, int power) {
  if (seq != j)
    io::fail(io::Fault::NumberRange, io::Statement::Read, kFileName,
             at_line(block, c, power) + ": record number " + std::to_string(seq) + " where " +
                 std::to_string(j) + " expected");
}

// c: coordinate 0..2; T: Julian centuries from J2000. Returns the sum of
// A_j sin(phi_j(T)) over the main-problem terms of c (arc seconds or km), with
// the phase polynomial in Horner form. The phases are formed first, in a loop
// without dependences between terms, then the sines are summed in term order:
// the same values as one loop, with the Horner chains overlapped (a sixth
// faster). The counts are within the capacities (the loader sees to it).
double main_sum(int c, double T) {
  const int n = lunar_series.main_count[c];
  const double* amp = lunar_series.main_amp[c];
  const double(*ph)[5] = lunar_series.main_phase[c];
  double phi[kMainCapacity];
  for (int j = 0; j < n; ++j)
    phi[j] = (((ph[j][4] * T + ph[j][3]) * T + ph[j][2]) * T + ph[j][1]) * T + ph[j][0];
  double s = 0.0;
  for (int j = 0; j < n; ++j) s = s + amp[j] * std::sin(phi[j]);
  return s;
}

// c, T as above; from, to: term positions, 0 <= from <= to <= kPertCapacity.
// Returns the sum of A sin(phi1 T + phi0) over the terms [from, to) of c,
// phases first as above.
double pert_sum(int c, int from, int to, double T) {
  const double* amp = lunar_series.pert_amp[c];
  const double(*ph)[2] = lunar_series.pert_phase[c];
  double phi[kPertCapacity];
  for (int j = from; j < to; ++j) phi[j] = ph[j][1] * T + ph[j][0];
  double s = 0.0;
  for (int j = from; j < to; ++j) s = s + amp[j] * std::sin(phi[j]);
  return s;
}

// c, T as above. Main problem plus (S2 T + S1) T + S0 for coordinate c, S_p
// being the sum of the terms of power p (found by the counts, power 0 first).
double coordinate_sum(int c, double T) {
  const double s_main = main_sum(c, T);
  const int n0 = lunar_series.pert_count[c][0];
  const int n1 = lunar_series.pert_count[c][1];
  const int n2 = lunar_series.pert_count[c][2];
  const double s0 = pert_sum(c, 0, n0, T);
  const double s1 = pert_sum(c, n0, n0 + n1, T);
  const double s2 = pert_sum(c, n0 + n1, n0 + n1 + n2, T);
  double acc = 0.0;
  acc = acc * T + s2;
  acc = acc * T + s1;
  acc = acc * T + s0;
  return s_main + acc;
}

}  // namespace

// Reads SERIES85 (unit 4) into lunar_series; see Lune.h for the failures.
// The store is emptied first, so that a load that fails half way never leaves
// a count that covers terms it did not store.
void load_lunar_series(const std::int32_t& level) {
  double factor = 0.0;
  switch (level) {
    case 1: factor = 1.0; break;
    case 2: factor = 50.0; break;
    case 3: factor = 100.0; break;
    default: throw std::invalid_argument("load_lunar_series: level must be 1, 2 or 3");
  }
  for (int c = 0; c < 3; ++c) {
    lunar_series.main_count[c] = 0;
    for (int p = 0; p < 3; ++p) lunar_series.pert_count[c][p] = 0;
  }

  // Old: a missing file is reported, not created empty.
  io::open(kUnit, kFileName, io::OpenMode::Old);
  io::write_list(io::console, "    READING THE SERIES");
  io::write_list(io::console, "    WAIT A MOMENT, PLEASE.....");

  static const io::Format header_fmt("(I4)");
  static const io::Format main_fmt("(I3,4I3,2X,F13.5)");
  static const io::Format pert_fmt("(I3,13I3,2(2X,F9.5))");

  double threshold[3][3];
  for (int c = 0; c < 3; ++c)
    for (int p = 0; p < 3; ++p) threshold[c][p] = kBaseThreshold[c][p] * factor;

  const double right_angle = 90.0 * kDeg;

  // Main problem, blocks 1 to 3. The count follows the terms stored; a block
  // is cut after its first term below the threshold, which is kept.
  std::int32_t seq = 0, mult[13] = {};
  double phase = 0.0, amp = 0.0;
  const io::FmtVar main_vars[] = {io::fvar(seq),     io::fvar(mult[0]), io::fvar(mult[1]),
                                  io::fvar(mult[2]), io::fvar(mult[3]), io::fvar(amp)};
  for (int c = 0; c < 3; ++c) {
    const int block = c + 1;
    const std::int32_t n = read_header(header_fmt, block, c, -1);
    for (std::int32_t j = 1; j <= n; ++j) {
      io::read_fmt(kUnit, main_fmt, main_vars);
      check_sequence(seq, j, block, c, -1);
      // The size is checked on the terms kept, not on the header: a longer
      // block that the threshold cuts short is a valid file.
      if (j > kMainCapacity)
        io::fail(io::Fault::Capacity, io::Statement::Read, kFileName,
                 at_line(block, c, -1) + ": term " + std::to_string(j) + ", room for " +
                     std::to_string(kMainCapacity) + " main-problem terms");
      const double iD = mult[0], iLs = mult[1], iL = mult[2], iF = mult[3];
      lunar_series.main_amp[c][j - 1] = amp;
      double* ph = lunar_series.main_phase[c][j - 1];
      ph[0] = iD * kDelStart[0] + iLs * kDelStart[1] + iL * kDelStart[2] + iF * kDelStart[3];
      if (c == 2) ph[0] = ph[0] + right_angle;  // the distance is a cosine series
      for (int k = 1; k <= 4; ++k)
        ph[k] = kRad * (iD * kDelPoly[0][k - 1] + iLs * kDelPoly[1][k - 1] +
                        iL * kDelPoly[2][k - 1] + iF * kDelPoly[3][k - 1]);
      lunar_series.main_count[c] = j;
      if (std::fabs(amp) < threshold[c][0]) {
        lunar_series.main_count[c] = seq;
        for (std::int32_t k = j + 1; k <= n; ++k) io::read_fmt(kUnit, main_fmt, main_vars);
        break;
      }
    }
  }

  // Perturbations, blocks 4 to 12: powers 0, 1, 2, each for the three
  // coordinates. A power's terms follow the kept terms of the lower powers.
  const io::FmtVar pert_vars[] = {
      io::fvar(seq),      io::fvar(mult[0]),  io::fvar(mult[1]), io::fvar(mult[2]),
      io::fvar(mult[3]),  io::fvar(mult[4]),  io::fvar(mult[5]), io::fvar(mult[6]),
      io::fvar(mult[7]),  io::fvar(mult[8]),  io::fvar(mult[9]), io::fvar(mult[10]),
      io::fvar(mult[11]), io::fvar(mult[12]), io::fvar(phase),   io::fvar(amp)};
  for (int p = 0; p < 3; ++p) {
    for (int c = 0; c < 3; ++c) {
      const int block = 4 + 3 * p + c;
      std::int32_t s = 0;
      for (int q = 0; q < p; ++q) s += lunar_series.pert_count[c][q];
      const std::int32_t n = read_header(header_fmt, block, c, p);
      for (std::int32_t j = 1; j <= n; ++j) {
        io::read_fmt(kUnit, pert_fmt, pert_vars);
        check_sequence(seq, j, block, c, p);
        if (s + j > kPertCapacity)
          io::fail(io::Fault::Capacity, io::Statement::Read, kFileName,
                   at_line(block, c, p) + ": term " + std::to_string(s + j) + ", room for " +
                       std::to_string(kPertCapacity) + " perturbation terms of the coordinate");
        double phi0 = kDeg * phase;
        double phi1 = 0.0;
        for (int m = 0; m < 13; ++m) {
          const double im = mult[m];
          phi0 = phi0 + im * kArgStart[m];
          phi1 = phi1 + im * kArgRate[m];
        }
        lunar_series.pert_amp[c][s + j - 1] = amp;
        lunar_series.pert_phase[c][s + j - 1][0] = phi0;
        lunar_series.pert_phase[c][s + j - 1][1] = kRad * phi1;
        lunar_series.pert_count[c][p] = j;
        if (std::fabs(amp) < threshold[c][p]) {
          lunar_series.pert_count[c][p] = seq;
          for (std::int32_t k = j + 1; k <= n; ++k) io::read_fmt(kUnit, pert_fmt, pert_vars);
          break;
        }
      }
    }
  }
  // Nothing after block 12 is read.
  io::close(kUnit);
}

// V: W1 reduced by fmod (sign of W1 kept) plus the longitude series; the
// departure point is fixed, the ecliptic that of date.
void lunar_series_sum(const double& T, double& V, double& U, double& R) {
  const double w1 = (((kW4 * T + kW3) * T + kW2) * T + kW1) * T + kW0;
  V = std::fmod(w1, 1296000.0) + coordinate_sum(0, T);
  U = coordinate_sum(1, T);
  R = coordinate_sum(2, T);
}

// P = sin(i/2) sin(node), Q = sin(i/2) cos(node) of the ecliptic of date on
// the ecliptic of J2000 (i its inclination) turn the direction from the one
// into the other; w = sqrt(1 - P^2 - Q^2). The identity at T = 0.
void lunar_direction_j2000(const double& T, double (&u)[3], double& R) {
  const double tau = T * 0.01;
  double P = 0.0, Q = 0.0;
  for (int i = 9; i >= 0; --i) {
    P = (kPCoef[i] + P) * tau;
    Q = (kQCoef[i] + Q) * tau;
  }
  double V, U;
  lunar_series_sum(T, V, U, R);
  V = V * kRad;
  U = U * kRad;
  const double ux = std::cos(U) * std::cos(V);
  const double uy = std::cos(U) * std::sin(V);
  const double uz = std::sin(U);
  const double d = 1.0 - 2.0 * P * P - 2.0 * Q * Q;
  const double w = std::sqrt(0.5 * d + 0.5);
  u[0] = (1.0 - 2.0 * P * P) * ux + 2.0 * P * Q * uy + 2.0 * P * w * uz;
  u[1] = 2.0 * P * Q * ux + (1.0 - 2.0 * Q * Q) * uy - 2.0 * Q * w * uz;
  u[2] = -2.0 * P * w * ux + 2.0 * Q * w * uy + d * uz;
}

// Radians to degrees through arc seconds, as the series are kept.
void moon_longitude(const double& T, double& lon, double& lat, double& dist) {
  double u[3], R;
  lunar_direction_j2000(T, u, R);
  lon = std::atan2(u[1], u[0]);
  lat = std::asin(u[2]);
  lon = lon * 206264.8062470964 * 0.0002777777777777778;
  lat = lat * 206264.8062470964 * 0.0002777777777777778;
  lon = std::fmod(lon, 360.0);
  if (lon < 0.0) lon = lon + 360.0;
  dist = R;
}

}  // namespace ephemeris
