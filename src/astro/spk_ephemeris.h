// A JPL planetary ephemeris read from an SPK kernel (NAIF's Double precision Array File,
// "DAF/SPK": de405.bsp, de421.bsp, de430.bsp, de440s.bsp, de440.bsp).
//
// The file is memory-mapped read-only and unmapped when the value goes.  Its file record
// gives the byte order ("LTL-IEEE" or "BIG-IEEE"; both are read), ND = 2 and NI = 6; the
// chain of summary records lists the segments.  Segments of type 2 (Chebyshev series of
// the position; the velocity from their derivative) and type 3 (Chebyshev series of
// position and velocity) on the J2000 axes are read; others are ignored.
//
// The bodies (JplBody) from the segments JPL's planetary kernels hold:
//   1..9  the planets' barycentres, NAIF 1..9 relative to the solar-system barycentre (0);
//   3     the Earth-Moon barycentre, NAIF 3 -> 0;
//   10    the Moon, geocentric: (NAIF 301 -> 3) - (NAIF 399 -> 3);
//   11    the Sun, NAIF 10 -> 0.
// A kernel without a segment one of them needs is refused, naming the body.  Where several
// segments of one pair cover a date, the last in the file serves it (NAIF's rule).
//
// Dates: SPK's argument is TDB seconds past J2000 (JD 2451545.0 TDB).  A state gives
// IntervalDays = 2 * RADIUS / 86400 of the record of the first segment used and Der =
// velocity (km/day) * IntervalDays / 2, so that Der * 2 / IntervalDays is the velocity.
//
// Constants: an SPK kernel has no constants area.  AU and EMRAT are JPL's published values
// for the DE number the file's name or its texts give:
//   DE405: AU 149597870.691 km, EMRAT 81.30056 (the DE405 header);
//   DE421: AU 149597870.6996262 km, EMRAT 81.3005690699153 (the DE421 header, Folkner et
//     al. 2008, JPL IOM 343R-08-003);
//   DE430, DE431: AU 149597870.700 km (IAU 2012 Resolution B2), EMRAT 81.30056907419062
//     (the DE430 header, Folkner et al. 2014, IPN Progress Report 42-196);
//   DE440, DE441: AU 149597870.700 km, EMRAT 81.3005682214972154 (the DE440 header, Park
//     et al. 2021, AJ 161, 105).
// Any other number, or none: AuKm = Emrat = 0 (unknown).  Named is empty.
#pragma once

#include <cmath>
#include <cstddef>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "astro/jpl_ephemeris.h"

namespace planova {

class SpkEphemeris final : public JplEphemeris {
 public:
  // Opens a kernel.  Returned: the ephemeris, or null with *refusal (when given) set to a
  // short text naming the file (and the body whose segments are missing) that a window
  // can show.  Never throws for a bad file.
  static std::unique_ptr<SpkEphemeris> Open(const std::filesystem::path& path, std::string* refusal);

  ~SpkEphemeris() override;
  SpkEphemeris(const SpkEphemeris&) = delete;
  SpkEphemeris& operator=(const SpkEphemeris&) = delete;

  std::string Name() const override;
  int DeNumber() const override { return deNumber_; }
  JplCoverage Coverage() const override { return coverage_; }
  const JplConstants& Constants() const override { return constants_; }
  std::vector<std::filesystem::path> Files() const override { return {path_}; }
  EphemerisFailure State(int body, double jdTdb, ChebyshevState& out, std::filesystem::path* failedFile) override;

  // One segment of type 2 or 3 as the summary and the array's directory give it.
  struct Segment {
    int Target = 0, Center = 0, Type = 0;
    double StartSec = 0, EndSec = 0;  // TDB seconds past J2000, as the summary says
    size_t FirstWord = 0;             // 0-based index of the array's first double
    double Init = 0, IntervalSec = 0;  // the directory: INIT, INTLEN
    size_t RecordWords = 0, Records = 0;  // RSIZE, N
    size_t Coefficients = 0;              // per component: (RSIZE - 2) / 3 or / 6
  };

 private:
  SpkEphemeris() = default;

  // A segment's last evaluation: the dates of a comparison come in runs, and one date is
  // asked for several bodies (the Moon's two segments, the Earth's from the barycentre and
  // the Moon), so the same segment is often asked for the same second again.
  struct Evaluation {
    double Sec = HUGE_VAL;  // no date yet
    double Pos[3] = {}, Vel[3] = {}, RadiusSec = 0;
  };

  // Position (km) and velocity (km/s) of segment `index` at `sec`; false when the record
  // is damaged.  `radiusSec` gets the record's half-length.
  bool Evaluate(size_t index, double sec, double pos[3], double vel[3], double& radiusSec);
  // The first of `candidates` (segment indices) covering `sec`, or -1.
  long Covering(const std::vector<size_t>& candidates, double sec) const;
  double Word(size_t index) const;

  std::filesystem::path path_;
  const unsigned char* map_ = nullptr;
  size_t size_ = 0;
  bool bigEndian_ = false;
  int deNumber_ = 0;
  JplCoverage coverage_;
  JplConstants constants_;
  bool swap_ = false;  // the file's byte order is not the machine's
  std::vector<Segment> segments_;  // file order
  std::vector<Evaluation> last_;   // by segment
  // By body (1..11): the indices of the segments of its pair and of the pair subtracted,
  // last in the file first (NAIF's rule: the last segment covering a date serves it).
  std::vector<size_t> plus_[12], minus_[12];
};

// The same as SpkEphemeris::Open, as the program's ephemeris.
std::unique_ptr<JplEphemeris> OpenSpkEphemeris(const std::filesystem::path& path, std::string* refusal);

}  // namespace planova
