#include "ephemeris/series_builder.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <numbers>
#include <span>
#include <string_view>

#include "io/format.h"
#include "io/number_text.h"
#include "io/stop.h"
#include "io/units.h"

namespace ephemeris::series {
namespace {

// Level-1 truncation thresholds of the lunar loader by coordinate and power of
// T (the main problem uses the power-0 column): arc seconds, arc seconds, km.
constexpr double kBaseThreshold[3][3] = {
    {0.01, 0.0003, 1e-05},  // longitude
    {0.01, 0.0003, 1e-05},  // latitude
    {0.02, 0.0006, 2e-05},  // distance
};
constexpr double kLevelFactor[3] = {1.0, 50.0, 100.0};

// DE200/LE200 fit of ELP 2000-82B: the corrections of the constants of the
// catalogue's reference subroutine.
constexpr double kRadSec = 648000.0 / std::numbers::pi;  // arc seconds per radian
constexpr double kW1Rate = 1732559343.73604;              // ″ per Julian century
constexpr double kAm = 0.074801329518;
constexpr double kAlfa = 0.002571881335;
constexpr double kDtasm = 2.0 * kAlfa / (3.0 * kAm);
constexpr double kDeltaNu = 0.55604 / kW1Rate;
constexpr double kDeltaE = 0.01789 / kRadSec;
constexpr double kDeltaGamma = -0.08066 / kRadSec;
constexpr double kDeltaNp = -0.06424 / kW1Rate;
constexpr double kDeltaEp = -0.12879 / kRadSec;

constexpr double kDegToRad = std::numbers::pi / 180.0;
constexpr double kRadToDeg = 180.0 / std::numbers::pi;

// Place of each multiplier of the two planetary layouts among the 13
// (Me V T Ma J S U N zeta D l' l F = 0 .. 12), and of zeta D l' l F.
constexpr int kPlanetary1Place[11] = {0, 1, 2, 3, 4, 5, 6, 7, 9, 11, 12};   // .. N D l F
constexpr int kPlanetary2Place[11] = {0, 1, 2, 3, 4, 5, 6, 9, 10, 11, 12};  // .. U D l' l F
constexpr int kDelaunayPlace[5] = {8, 9, 10, 11, 12};

// Last column (1-based) of the last field used, per layout: a line that ends
// before it is malformed (the text layer alone would read the missing fields
// as zero).
int last_column_used(ElpLayout layout) {
  switch (layout) {
    case ElpLayout::Main: return 87;  // B5; B6 is not used
    case ElpLayout::Delaunay: return 35;
    case ElpLayout::Planetary1:
    case ElpLayout::Planetary2: return 53;
  }
  return 0;
}

const io::Format& read_format(ElpLayout layout) {
  static const io::Format main_fmt("(4I3,2X,F13.5,6(2X,F10.2))");
  static const io::Format delaunay_fmt("(5I3,1X,F9.5,1X,F9.5)");
  static const io::Format planetary_fmt("(11I3,1X,F9.5,1X,F9.5)");
  switch (layout) {
    case ElpLayout::Main: return main_fmt;
    case ElpLayout::Delaunay: return delaunay_fmt;
    default: return planetary_fmt;
  }
}

bool blank_line(std::string_view rec) {
  return rec.find_first_not_of(" \t") == std::string_view::npos;
}

std::string at_line(long line) { return "line " + std::to_string(line); }

// A record that the text layer would not parse: the run-time error report.
[[noreturn]] void fail_field(const std::string& path, long line, const std::string& field) {
  double d;
  std::int32_t i;
  const bool range =
      io::parse_int(field, i) == io::ParseResult::Range || io::parse_real(field, d) == io::ParseResult::Range;
  io::fail(range ? io::Fault::NumberRange : io::Fault::BadNumber, io::Statement::Read, path,
           at_line(line) + ": '" + field + "'");
}

// Degrees into [0, 360); a negative zero becomes +0.
double phase_mod_360(double deg) {
  double r = std::fmod(deg, 360.0);
  if (r < 0.0) r += 360.0;
  return r + 0.0;
}

template <std::size_t N>
bool by_amplitude(const std::array<std::int32_t, N>& ma, double a, const std::array<std::int32_t, N>& mb,
                  double b) {
  const double fa = std::fabs(a), fb = std::fabs(b);
  if (fa != fb) return fa > fb;
  return ma < mb;
}

}  // namespace

ElpFileKind elp_file_kind(int n) {
  ElpFileKind k{};
  k.coordinate = (n - 1) % 3;
  k.power = ((n >= 7 && n <= 9) || (n >= 13 && n <= 15) || (n >= 19 && n <= 21) || (n >= 25 && n <= 27))
                ? 1
                : (n >= 34 ? 2 : 0);
  if (n <= 3)
    k.layout = ElpLayout::Main;
  else if (n >= 10 && n <= 15)
    k.layout = ElpLayout::Planetary1;
  else if (n >= 16 && n <= 21)
    k.layout = ElpLayout::Planetary2;
  else
    k.layout = ElpLayout::Delaunay;
  return k;
}

void read_elp_file(int unit, const std::string& path, int n, ElpTerms& terms) {
  const ElpFileKind kind = elp_file_kind(n);
  const io::Format& fmt = read_format(kind.layout);
  const std::size_t last_col = static_cast<std::size_t>(last_column_used(kind.layout));

  io::open(unit, path, io::OpenMode::Old);
  std::string_view rec;
  if (!io::read_record(unit, rec))
    io::fail(io::Fault::EndOfFile, io::Statement::Read, path, at_line(1) + ": no title line");

  std::int32_t im[11] = {};
  double phase = 0.0, amp = 0.0;
  MainTerm mt;
  std::array<io::FmtVar, 16> vars{};
  std::size_t nvars = 0;
  switch (kind.layout) {
    case ElpLayout::Main:
      for (int k = 0; k < 4; ++k) vars[nvars++] = io::fvar(mt.m[static_cast<std::size_t>(k)]);
      vars[nvars++] = io::fvar(mt.amp);
      for (int k = 0; k < 6; ++k) vars[nvars++] = io::fvar(mt.b[static_cast<std::size_t>(k)]);
      break;
    case ElpLayout::Delaunay:
      for (int k = 0; k < 5; ++k) vars[nvars++] = io::fvar(im[k]);
      vars[nvars++] = io::fvar(phase);
      vars[nvars++] = io::fvar(amp);
      break;
    case ElpLayout::Planetary1:
    case ElpLayout::Planetary2:
      for (int k = 0; k < 11; ++k) vars[nvars++] = io::fvar(im[k]);
      vars[nvars++] = io::fvar(phase);
      vars[nvars++] = io::fvar(amp);
      break;
  }
  const std::span<const io::FmtVar> var_list(vars.data(), nvars);

  std::int32_t count = 0;
  while (io::read_record(unit, rec)) {
    if (blank_line(rec)) continue;
    const long line = io::record_number(unit);
    if (rec.size() < last_col)
      io::fail(io::Fault::BadNumber, io::Statement::Read, path,
               at_line(line) + ": line too short (" + std::to_string(rec.size()) +
                   " columns, the fields reach column " + std::to_string(last_col) + ")");
    mt = MainTerm{};
    for (auto& v : im) v = 0;
    phase = amp = 0.0;
    std::string bad;
    if (io::parse_fmt_record(rec, fmt, var_list, &bad) != io::ReadStatus::Ok) fail_field(path, line, bad);
    ++count;
    if (kind.layout == ElpLayout::Main) {
      terms.main[static_cast<std::size_t>(kind.coordinate)].push_back(mt);
      continue;
    }
    PertTerm t;
    t.phase = phase;
    t.amp = amp;
    if (kind.layout == ElpLayout::Delaunay)
      for (int k = 0; k < 5; ++k) t.m[static_cast<std::size_t>(kDelaunayPlace[k])] = im[k];
    else if (kind.layout == ElpLayout::Planetary1)
      for (int k = 0; k < 11; ++k) t.m[static_cast<std::size_t>(kPlanetary1Place[k])] = im[k];
    else
      for (int k = 0; k < 11; ++k) t.m[static_cast<std::size_t>(kPlanetary2Place[k])] = im[k];
    terms.pert[static_cast<std::size_t>(kind.coordinate)][static_cast<std::size_t>(kind.power)].push_back(t);
  }
  io::close(unit);
  terms.read_per_file[static_cast<std::size_t>(n)] = count;
}

void read_elp_folder(int unit, const std::string& folder, ElpTerms& terms) {
  for (int n = 1; n <= kElpFiles; ++n)
    read_elp_file(unit, folder + "/ELP" + std::to_string(n), n, terms);
}

double fitted_amplitude(const MainTerm& t, int coordinate) {
  double a = t.amp;
  if (coordinate == 2) a = a - 2.0 * a * kDeltaNu / 3.0;
  a = a + (t.b[0] + kDtasm * t.b[4]) * (kDeltaNp - kAm * kDeltaNu) + t.b[1] * kDeltaGamma +
      t.b[2] * kDeltaE + t.b[3] * kDeltaEp;
  return a;
}

std::int32_t merge_perturbations(const std::vector<PertTerm>& in, std::vector<PertTerm>& out) {
  struct Group {
    PertTerm first;
    int size = 0;
    double s = 0.0, c = 0.0;  // sums of A cos(phase), A sin(phase)
  };
  std::vector<Group> groups;
  std::map<std::array<std::int32_t, 13>, std::size_t> index;  // multipliers -> group
  auto join = [&](Group& g, double phase, double amp) {
    const double r = phase * kDegToRad;
    g.s = g.s + amp * std::cos(r);
    g.c = g.c + amp * std::sin(r);
    ++g.size;
  };
  for (const PertTerm& t : in) {
    if (auto it = index.find(t.m); it != index.end()) {
      join(groups[it->second], t.phase, t.amp);
      continue;
    }
    std::array<std::int32_t, 13> neg;
    bool any = false;
    for (std::size_t k = 0; k < 13; ++k) {
      neg[k] = -t.m[k];
      any = any || t.m[k] != 0;
    }
    if (any) {
      if (auto it = index.find(neg); it != index.end()) {
        join(groups[it->second], 180.0 - t.phase, t.amp);
        continue;
      }
    }
    Group g;
    g.first = t;
    join(g, t.phase, t.amp);
    index.emplace(t.m, groups.size());
    groups.push_back(g);
  }
  out.clear();
  for (const Group& g : groups) {
    PertTerm t = g.first;
    if (g.size == 1) {
      t.phase = phase_mod_360(t.phase);
    } else {
      t.amp = std::hypot(g.s, g.c);
      t.phase = phase_mod_360(std::atan2(g.c, g.s) * kRadToDeg);
    }
    out.push_back(t);
  }
  return static_cast<std::int32_t>(in.size() - out.size());
}

void select_main(std::vector<MainTerm>& terms) {
  std::stable_sort(terms.begin(), terms.end(),
                   [](const MainTerm& a, const MainTerm& b) { return by_amplitude(a.m, a.amp, b.m, b.amp); });
  if (terms.size() > static_cast<std::size_t>(kMainKept)) terms.resize(kMainKept);
}

void select_perturbations(std::array<std::vector<PertTerm>, 3>& by_power, int coordinate) {
  struct Ranked {
    double rank;
    int power;
    PertTerm t;
  };
  std::vector<Ranked> all;
  for (int p = 0; p < 3; ++p)
    for (const PertTerm& t : by_power[static_cast<std::size_t>(p)])
      all.push_back({std::fabs(t.amp) / kBaseThreshold[coordinate][p], p, t});
  std::stable_sort(all.begin(), all.end(), [](const Ranked& a, const Ranked& b) {
    if (a.rank != b.rank) return a.rank > b.rank;
    if (a.power != b.power) return a.power < b.power;
    return a.t.m < b.t.m;
  });
  if (all.size() > static_cast<std::size_t>(kPertKept)) all.resize(kPertKept);
  for (auto& v : by_power) v.clear();
  for (const Ranked& r : all) by_power[static_cast<std::size_t>(r.power)].push_back(r.t);
  for (auto& v : by_power)
    std::stable_sort(v.begin(), v.end(),
                     [](const PertTerm& a, const PertTerm& b) { return by_amplitude(a.m, a.amp, b.m, b.amp); });
}

void build_series(const ElpTerms& terms, Series& series, std::int32_t& merged) {
  merged = 0;
  for (std::size_t c = 0; c < 3; ++c) {
    series.main[c] = terms.main[c];
    for (MainTerm& t : series.main[c]) t.amp = fitted_amplitude(t, static_cast<int>(c));
    select_main(series.main[c]);

    std::array<std::vector<PertTerm>, 3> by_power;
    for (std::size_t p = 0; p < 3; ++p) merged += merge_perturbations(terms.pert[c][p], by_power[p]);
    select_perturbations(by_power, static_cast<int>(c));
    for (std::size_t p = 0; p < 3; ++p) series.pert[p][c] = std::move(by_power[p]);
  }
}

void write_series(int unit, const Series& series) {
  static const io::Format header_fmt("(I4)");
  // Reals in the convention of C's "%.5f": leading zero below 1 (LZP),
  // decimals rounded to the nearest from the binary value (RN).
  static const io::Format main_fmt("(LZP,RN,I3,4I3,2X,F13.5)");
  static const io::Format pert_fmt("(LZP,RN,I3,13I3,2(2X,F9.5))");
  auto header = [&](std::size_t n) {
    const io::Value v[] = {io::Value(static_cast<std::int32_t>(n))};
    io::write_fmt_values(unit, header_fmt, v);
  };
  for (const auto& block : series.main) {
    header(block.size());
    std::int32_t j = 0;
    for (const MainTerm& t : block) {
      const io::Value v[] = {++j, t.m[0], t.m[1], t.m[2], t.m[3], t.amp};
      io::write_fmt_values(unit, main_fmt, v);
    }
  }
  for (const auto& power : series.pert) {
    for (const auto& block : power) {
      header(block.size());
      std::int32_t j = 0;
      for (const PertTerm& t : block) {
        const io::Value v[] = {++j,     t.m[0],  t.m[1],  t.m[2], t.m[3],
                               t.m[4],  t.m[5],  t.m[6],  t.m[7], t.m[8],
                               t.m[9],  t.m[10], t.m[11], t.m[12], phase_mod_360(t.phase),
                               t.amp};
        io::write_fmt_values(unit, pert_fmt, v);
      }
    }
  }
}

void count_kept(int unit, const std::string& path, BlockCounts& counts) {
  static const io::Format header_fmt("(I4)");
  static const io::Format main_fmt("(I3,4I3,2X,F13.5)");
  static const io::Format pert_fmt("(I3,13I3,2(2X,F9.5))");
  io::open(unit, path, io::OpenMode::Old);
  std::int32_t n = 0, seq = 0, mult[13] = {};
  double phase = 0.0, amp = 0.0;
  const io::FmtVar header_vars[] = {io::fvar(n)};
  const io::FmtVar main_vars[] = {io::fvar(seq),     io::fvar(mult[0]), io::fvar(mult[1]),
                                  io::fvar(mult[2]), io::fvar(mult[3]), io::fvar(amp)};
  const io::FmtVar pert_vars[] = {
      io::fvar(seq),      io::fvar(mult[0]),  io::fvar(mult[1]), io::fvar(mult[2]),
      io::fvar(mult[3]),  io::fvar(mult[4]),  io::fvar(mult[5]), io::fvar(mult[6]),
      io::fvar(mult[7]),  io::fvar(mult[8]),  io::fvar(mult[9]), io::fvar(mult[10]),
      io::fvar(mult[11]), io::fvar(mult[12]), io::fvar(phase),   io::fvar(amp)};
  for (int block = 0; block < 12; ++block) {
    const int c = block % 3;
    const int p = block < 3 ? 0 : (block - 3) / 3;
    io::read_fmt(unit, header_fmt, header_vars);
    const std::size_t b = static_cast<std::size_t>(block);
    counts.written[b] = n;
    bool cut[3] = {false, false, false};
    for (auto& level : counts.kept) level[b] = n;
    for (std::int32_t j = 1; j <= n; ++j) {
      if (block < 3)
        io::read_fmt(unit, main_fmt, main_vars);
      else
        io::read_fmt(unit, pert_fmt, pert_vars);
      // The first term below a level's threshold is the last one kept.
      for (std::size_t lv = 0; lv < 3; ++lv) {
        if (cut[lv] || !(std::fabs(amp) < kBaseThreshold[c][p] * kLevelFactor[lv])) continue;
        cut[lv] = true;
        counts.kept[lv][b] = j;
      }
    }
  }
  io::close(unit);
}

}  // namespace ephemeris::series
