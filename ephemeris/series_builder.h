// Building SERIES85 from the 36 series files of the lunar solution
// ELP 2000-82B (ELP1 .. ELP36, see ephemeris/elp82b/README.md).
//
// The steps, each a plain procedure: read the files (read_elp_file), fold the
// DE200/LE200 fit into the main-problem amplitudes (fitted_amplitude), merge
// perturbation terms with equal or opposite multipliers (merge_perturbations),
// select and sort (select_main, select_perturbations), write the twelve blocks
// (write_series). build_series runs the middle three on everything read.
// All reading and writing goes through the text layer (io/); failures raise
// io::Stop with the run-time error report, naming the file and the line.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace ephemeris::series {

inline constexpr int kElpFiles = 36;
inline constexpr int kMainKept = 218;  // main-problem terms per coordinate
inline constexpr int kPertKept = 423;  // perturbation terms per coordinate, three powers

// Record layouts of the ELP files.
enum class ElpLayout {
  Main,        // ELP1-3:   D l' l F (4I3), A (cols 15-27), B1..B6 (6 x 12 cols from col 28)
  Delaunay,    // ELP4-9, 22-36: zeta D l' l F (5I3), phase (cols 17-25), A (cols 27-35)
  Planetary1,  // ELP10-15: Me V T Ma J S U N D l F (11I3), phase (35-43), A (45-53)
  Planetary2   // ELP16-21: Me V T Ma J S U D l' l F (11I3), phase (35-43), A (45-53)
};

struct ElpFileKind {
  ElpLayout layout;
  int coordinate;  // 0 longitude, 1 latitude, 2 distance
  int power;       // power of T of the file's terms: 0, 1 or 2
};
// n: 1 .. 36.
ElpFileKind elp_file_kind(int n);

// Main-problem term as read: multipliers of D l' l F, amplitude (arc seconds
// or km) and the partial derivatives B1..B6 of the fit.
struct MainTerm {
  std::array<std::int32_t, 4> m{};
  double amp = 0.0;
  std::array<double, 6> b{};
};

// Perturbation term: the 13 multipliers in the order
// Me V T Ma J S U N zeta D l' l F, phase (degrees), amplitude (arc seconds or
// km, per Julian century to the power of its block).
struct PertTerm {
  std::array<std::int32_t, 13> m{};
  double phase = 0.0;
  double amp = 0.0;
};

// Everything read from the 36 files, in file order (ELP1 .. ELP36, each top
// to bottom), by coordinate and, for perturbations, by power.
struct ElpTerms {
  std::array<std::vector<MainTerm>, 3> main;                    // [coordinate]
  std::array<std::array<std::vector<PertTerm>, 3>, 3> pert;     // [coordinate][power]
  std::array<std::int32_t, kElpFiles + 1> read_per_file{};      // [n], index 0 unused
};

// Reads ELPn from `path` on the numbered `unit` (opened here, closed after)
// and appends its terms to `terms`. The first record is the title; blank
// lines are skipped; an empty real field reads as 0. Stops (io::Stop with a
// run-time error report naming the file and the line) on a missing or
// unreadable file, a file without a title line, a line that ends before the
// last field used, and a field that is not a number.
void read_elp_file(int unit, const std::string& path, int n, ElpTerms& terms);

// Reads ELP1 .. ELP36 from `folder` on `unit`.
void read_elp_folder(int unit, const std::string& folder, ElpTerms& terms);

// The amplitude of a main-problem term of `coordinate` (0..2) with the
// DE200/LE200 corrections of the constants applied through B1..B5; for the
// distance first A - 2 A dnu / 3.
double fitted_amplitude(const MainTerm& t, int coordinate);

// Merges the terms of one coordinate and power, given in file order: a term
// with a group's multipliers joins it with (phase, A), one with their exact
// negative (not all zero) joins it with (180 - phase, A), any other starts a
// group. A group of one keeps A and its phase mod 360; a larger one becomes
// A = hypot(S, C), phase = atan2(C, S) mod 360 (degrees) with S = sum A cos,
// C = sum A sin. Groups come out in the order of their first term. Returns
// the number of terms merged away (terms in minus groups out).
std::int32_t merge_perturbations(const std::vector<PertTerm>& in, std::vector<PertTerm>& out);

// Sorts by decreasing |A|, ties by the multipliers in lexicographic order
// (terms equal in both keep their order), and keeps the first kMainKept.
void select_main(std::vector<MainTerm>& terms);

// by_power: the merged terms of one coordinate for the powers 0, 1, 2. Ranks
// all of them by |A| / level-1 threshold of their power, ties by power, then
// by multipliers; keeps the first kPertKept; then sorts each power by
// decreasing |A|, ties by multipliers.
void select_perturbations(std::array<std::vector<PertTerm>, 3>& by_power, int coordinate);

// The twelve blocks of SERIES85: main[c], then pert[p][c] for p = 0, 1, 2.
struct Series {
  std::array<std::vector<MainTerm>, 3> main;                 // amplitudes fitted
  std::array<std::array<std::vector<PertTerm>, 3>, 3> pert;  // [power][coordinate]
};

// Fit, merge and select everything read. `merged`: terms merged away.
void build_series(const ElpTerms& terms, Series& series, std::int32_t& merged);

// Writes the twelve blocks to the open `unit`: counts "(I4)", main records
// "(I3,4I3,2X,F13.5)", perturbation records "(I3,13I3,2(2X,F9.5))" with the
// phase taken mod 360 (degrees); every real as C's "%.5f" writes it (leading
// zero below 1, rounded to the nearest from the binary value).
void write_series(int unit, const Series& series);

// Block counts of a SERIES85 file, blocks in file order (main V U R, power 0
// V U R, power 1 V U R, power 2 V U R).
struct BlockCounts {
  std::array<std::int32_t, 12> written{};
  std::array<std::array<std::int32_t, 12>, 3> kept{};  // [level - 1][block]
};

// Reads the SERIES85 file `path` on `unit` as the lunar loader does and
// counts, per block, the records and the terms the loader keeps at levels 1,
// 2 and 3 (a block is cut after its first term below the threshold, which is
// kept). Stops like read_elp_file on a missing file or an unreadable record.
void count_kept(int unit, const std::string& path, BlockCounts& counts);

}  // namespace ephemeris::series
