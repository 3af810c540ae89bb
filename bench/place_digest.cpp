// A digest of theoretical places, for checking that a change to the reductions leaves
// every bit of their results as it was: the same build of this program before and after
// the change must print the same lines.
//   place_digest [COUNT]
// For COUNT epochs (default 20 000) evenly spread over 1960-2019 and each of a set of
// requests (the Moon, the Sun and two planets; geocentric and from a site; of date,
// J2000 and astrometric; with and without refraction; the classical reduction beside the
// rigorous one), ComputeApparentPlace with DE405's block files, its stages completed.
// Printed: per request a 64-bit FNV-1a hash of every number of the results (their bits)
// and the count of places that failed.
#include <bit>
#include <cinttypes>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "astro/apparent_place.h"
#include "astro/astro_state.h"
#include "astro/jpl.h"
#include "bench_support.h"

namespace {

using namespace planova;

struct Digest {
  std::uint64_t hash = 14695981039346656037ull;
  void Add(double x) {
    const auto bits = std::bit_cast<std::uint64_t>(x);
    for (int k = 0; k < 8; ++k) {
      hash ^= (bits >> (8 * k)) & 0xff;
      hash *= 1099511628211ull;
    }
  }
  void Add(const PlaceStage& s) {
    Add(s.LonDeg);
    Add(s.LatDeg);
  }
  template <size_t n>
  void Add(const std::array<double, n>& v) {
    for (double x : v) Add(x);
  }
};

void AddPlace(Digest& d, const ApparentPlace& p) {
  for (double x : {p.LonDeg, p.LatDeg, p.DeltaTSeconds, p.EphemerisJd, p.GeometricDistanceMetres, p.LightTimeSeconds,
                   p.AberrationArcsec, p.PlanetaryAberrationArcsec, p.RefractionArcsec, p.NutationArcsec}) {
    d.Add(x);
  }
  for (const auto& s : p.Stages) d.Add(s);
  for (const auto& s : p.PreciseStages) d.Add(s);
  d.Add(p.PreciseSizes);
  d.Add(p.Refracted);
  const PrecisePlace& r = p.Rigorous;
  for (double x : {r.Tt, r.Tdb, r.GeometricKm, r.AstrometricKm, r.LightTimeDays}) d.Add(x);
  for (const auto& v : r.Stages) d.Add(v);
  for (const auto& v : r.Npb) d.Add(v);
}

struct Variant {
  const char* name;
  int body;
  bool precise, refraction, astrometric, site;
  ComparisonEpoch epoch;
};

}  // namespace

int main(int argc, char** argv) {
  const int count = argc > 1 ? std::atoi(argv[1]) : 20000;
  const Variant variants[] = {
      {"moon rigorous of date, refraction", 11, true, true, false, false, ComparisonEpoch::kOfDate},
      {"moon rigorous J2000", 11, true, false, false, false, ComparisonEpoch::kJ2000},
      {"moon rigorous J2000 from a site, refraction", 11, true, true, false, true, ComparisonEpoch::kJ2000},
      {"moon rigorous of date from a site", 11, true, false, false, true, ComparisonEpoch::kOfDate},
      {"moon rigorous astrometric", 11, true, false, true, false, ComparisonEpoch::kJ2000},
      {"sun rigorous of date, refraction", 0, true, true, false, false, ComparisonEpoch::kOfDate},
      {"mars rigorous J2000 from a site", 4, true, false, false, true, ComparisonEpoch::kJ2000},
      {"jupiter rigorous of date", 5, true, false, false, false, ComparisonEpoch::kOfDate},
      {"moon classical of date, refraction", 11, false, true, false, false, ComparisonEpoch::kOfDate},
      {"mars classical J2000", 4, false, false, false, false, ComparisonEpoch::kJ2000},
  };
  const std::vector<bench::Observation> epochs = bench::MoonLikeObservations(count);
  AstroState a;
  a.InitConstants();
  a.JplFolder = bench::JplFolder();
  BeginEphemerisRun(a);
  for (const Variant& v : variants) {
    ApparentPlaceRequest r;
    r.Body = v.body;
    r.Theory = TheorySource::kJpl2;
    r.DeltaT = DeltaTModel::kTable;
    r.Precise = v.precise;
    r.Refraction = v.refraction;
    r.Astrometric = v.astrometric;
    r.Epoch = v.epoch;
    r.ObserverLonDeg = 2.3371;  // Paris
    r.ObserverLatDeg = 48.8363;
    if (v.site) r.Observer = SiteFromParallaxConstants(204.5278, 0.94171, +0.33725);  // Maunakea
    Digest d;
    int failed = 0;
    for (const bench::Observation& o : epochs) {
      r.JdUt = o.jd;
      ApparentPlace p = ComputeApparentPlace(a, r);
      CompleteStages(p);
      if (!p.Ok) ++failed;
      AddPlace(d, p);
    }
    std::printf("%016" PRIx64 "  failed %d  %s\n", d.hash, failed, v.name);
  }
  EndEphemerisRun(a);
  return 0;
}
