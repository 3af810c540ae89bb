#include "window2/data_sets.h"

#include <algorithm>
#include <cmath>
#include <numeric>
#include <set>

namespace planova {

namespace {

struct Record {
  double jd, lonDeg, latDeg;
  NoteText note;
  StationCode station;
  float sigmaRa, sigmaDec;  // the record's uncertainties, 0 when it has none
  uint8_t exactTime;        // ObsExactTime
};

Record Take(const ObservationStore& s, int32_t row, int col) {
  return {s.ObsJd(row, col),
          s.ObsLon(row, col),
          s.ObsLat(row, col),
          s.ObsNote(row, col),
          s.ObsStation(row, col),
          static_cast<float>(s.SigmaRaArcsec(row, col)),
          static_cast<float>(s.SigmaDecArcsec(row, col)),
          s.ObsExactTime(row, col)};
}

void Put(ObservationStore& s, int32_t row, int col, const Record& r) {
  s.ObsJd(row, col) = r.jd;
  s.ObsExactTime(row, col) = r.exactTime;
  s.ObsLon(row, col) = r.lonDeg;
  s.ObsLat(row, col) = r.latDeg;
  s.ObsNote(row, col) = r.note;
  s.ObsStation(row, col) = r.station;
  if (s.HasSigmas()) {
    s.ObsSigmaRa(row, col) = r.sigmaRa;
    s.ObsSigmaDec(row, col) = r.sigmaDec;
  }
}

}  // namespace

int32_t CleanDuplicateDates(ObservationStore& store, int32_t count, double tauDays, std::vector<CleanRemoval>& removals) {
  removals.clear();
  if (count <= 0) return 0;
  std::vector<Record> recs;
  recs.reserve(static_cast<size_t>(count));
  for (int32_t r = 1; r <= count; ++r) recs.push_back(Take(store, r, kSet1));
  const size_t n = recs.size();

  // Records still present, by their original index; and all records ordered by date,
  // so that the candidates within tau of a record are found by two binary searches.
  std::set<size_t> alive;
  for (size_t k = 0; k < n; ++k) alive.insert(alive.end(), k);
  std::vector<size_t> byDate(n);
  std::iota(byDate.begin(), byDate.end(), 0);
  std::stable_sort(byDate.begin(), byDate.end(), [&](size_t a, size_t b) { return recs[a].jd < recs[b].jd; });

  int32_t row = 0;  // row of the record whose pass runs
  std::vector<size_t> cand;
  for (size_t i : std::vector<size_t>(alive.begin(), alive.end())) {
    if (!alive.count(i)) continue;  // removed by an earlier pass
    ++row;
    double t = recs[i].jd;
    auto lo = std::lower_bound(byDate.begin(), byDate.end(), t - tauDays - std::fabs(t) * 1e-15,
                               [&](size_t k, double v) { return recs[k].jd < v; });
    cand.clear();
    for (auto it = lo; it != byDate.end() && recs[*it].jd <= t + tauDays + std::fabs(t) * 1e-15; ++it) {
      size_t j = *it;
      if (j > i && alive.count(j) && std::fabs(t - recs[j].jd) < tauDays) cand.push_back(j);
    }
    if (cand.empty()) continue;
    std::sort(cand.begin(), cand.end());
    // Walk the later records in row order: a removal makes the next record move into the
    // freed row, which the scan then passes over.
    size_t skip = n;  // the record that moved into the row just scanned
    for (size_t j : cand) {
      if (j == skip) continue;
      auto next = alive.upper_bound(j);
      skip = next == alive.end() ? n : *next;
      alive.erase(j);
      removals.push_back({row, t});
    }
  }

  int32_t out = 0;
  for (size_t k : alive) {
    ++out;
    Put(store, out, kSet1, recs[k]);
    Put(store, out, kSet3, recs[k]);
  }
  return out;
}

void SortByDate(ObservationStore& store, int32_t count, bool ascending) {
  if (count <= 0) return;
  std::vector<Record> recs;
  recs.reserve(static_cast<size_t>(count));
  for (int32_t r = 1; r <= count; ++r) recs.push_back(Take(store, r, kSet1));
  std::stable_sort(recs.begin(), recs.end(), [ascending](const Record& a, const Record& b) {
    return ascending ? a.jd < b.jd : a.jd > b.jd;
  });
  for (int32_t r = 1; r <= count; ++r) {
    Put(store, r, kSet1, recs[static_cast<size_t>(r - 1)]);
    Put(store, r, kSet3, recs[static_cast<size_t>(r - 1)]);
  }
}

}  // namespace planova
