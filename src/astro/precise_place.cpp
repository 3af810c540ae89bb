#include "astro/precise_place.h"

#include <erfa.h>
#include <erfam.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <initializer_list>
#include <limits>
#include <utility>

#include "astro/astro_state.h"
#include "astro/constants.h"
#include "astro/day_table_file.h"
#include "astro/jpl.h"
#include "astro/jpl_ascii.h"

namespace planova {

namespace {

constexpr double kKmPerAu = ERFA_DAU / 1000;
constexpr double kLightKmPerDay = ERFA_CMPS / 1000 * ERFA_DAYSEC;
// The light time stops changing (1e-12 day is 86 ns: 3 microarcseconds for the Moon).
constexpr double kLightTimeConverged = 1e-12;
constexpr int kLightTimePasses = 8;

// The deflectors besides the Sun: program body, reciprocal mass (DE405, solar masses) and
// ERFA's deflection limiter.  Mercury (0.08 mas at its limb), Pluto and the Moon never
// reach 0.1 mas.
struct Deflector {
  int Body;
  double ReciprocalMass;
  double Limiter;
};
constexpr Deflector kDeflectors[] = {{2, 408523.71, 3e-10}, {4, 3098708.0, 3e-10}, {5, 1047.3486, 3e-9},
                                     {6, 3497.898, 3e-10}, {7, 22902.98, 3e-10}, {8, 19412.24, 3e-10}};
static_assert(std::size(kDeflectors) == std::tuple_size_v<decltype(PreciseState::DeflectorReaches)>);
constexpr double kSunLimiter = 1e-6;
constexpr double kDeflectionApplied = 1e-4 * ERFA_DAS2R;  // 0.1 mas, radians
// Its square, compared with the squared chord between two unit vectors (the angle to 1e-20).
constexpr double kDeflectionAppliedSquared = kDeflectionApplied * kDeflectionApplied;

struct Barycentric {
  Vector3 Pos, Vel;  // km, km/day (left unset until a state is read: the places set every one they read)
};

Vector3 Minus(const Vector3& x, const Vector3& y) { return {x[0] - y[0], x[1] - y[1], x[2] - y[2]}; }
double Norm(const Vector3& v) { return std::sqrt(v[0] * v[0] + v[1] * v[1] + v[2] * v[2]); }
Vector3 Unit(const Vector3& v, double& length) {
  length = Norm(v);
  return {v[0] / length, v[1] / length, v[2] / length};
}
Vector3 Scaled(const Vector3& v, double s) { return {v[0] * s, v[1] * s, v[2] * s}; }
Vector3 Turned(const std::array<Vector3, 3>& m, const Vector3& v) {
  Vector3 r;
  for (size_t i = 0; i < 3; ++i) r[i] = m[i][0] * v[0] + m[i][1] * v[1] + m[i][2] * v[2];
  return r;
}

// The record of the ephemeris that covers tdb; false after a failure.
bool LoadRecord(AstroState& a, double tdb) {
  a.CurrentJd = tdb;
  LoadJplRecord(a);
  return a.EphemerisError == 0;
}

// The ephemeris state of a program body from the loaded record: planets, the Sun and the
// Earth-Moon barycentre barycentric, the Moon geocentric.
bool RawState(AstroState& a, int body, Barycentric& s) {
  JplKilometres k;
  if (!JplBodyStateKilometres(a, body, k)) return false;
  s.Pos = {k.Pos[0], k.Pos[1], k.Pos[2]};
  s.Vel = {k.Vel[0], k.Vel[1], k.Vel[2]};
  return true;
}

// The Earth (moonFraction -1 / (1 + EMRAT)) or the Moon (EMRAT / (1 + EMRAT)) from the
// Earth-Moon barycentre and the geocentric Moon, with the ephemeris' own Earth/Moon mass
// ratio (EMRAT).
Barycentric EarthOrMoon(const Barycentric& emb, const Barycentric& geo, double moonFraction) {
  Barycentric s;
  for (size_t k = 0; k < 3; ++k) {
    s.Pos[k] = emb.Pos[k] + moonFraction * geo.Pos[k];
    s.Vel[k] = emb.Vel[k] + moonFraction * geo.Vel[k];
  }
  return s;
}

// The date whose record the reader holds for this place (NaN: none read yet).
struct LoadedRecord {
  double Date = std::numeric_limits<double>::quiet_NaN();
};

// The states a place needs at one TDB date, each body's Chebyshev series summed once
// however many stages ask for it (the Earth and the Moon both come from the barycentre
// and the geocentric Moon; a deflector may be the body itself; light-time passes often
// fall on the same double).  The date's record is read again when another date's was
// read in between.
class DateStates {
 public:
  explicit DateStates(LoadedRecord& loaded) : loaded_(loaded) {}
  // The date of the states; another date forgets those of the last.
  void SetDate(double tdb) {
    if (!(tdb == date_)) {
      date_ = tdb;
      known_ = 0;
    }
  }
  // The date's record read when it is not the reader's; false after a failure.
  bool Load(AstroState& a) {
    if (loaded_.Date == date_) return true;
    loaded_.Date = std::numeric_limits<double>::quiet_NaN();
    if (!LoadRecord(a, date_)) return false;
    loaded_.Date = date_;
    return true;
  }
  // The raw states of the bodies (program numbers, at most kJplMaxBodiesAtOnce) not yet
  // known at the date, their series summed together.
  bool Fetch(AstroState& a, std::initializer_list<int> bodies) {
    int needed[kJplMaxBodiesAtOnce];
    size_t count = 0;
    for (int body : bodies) {
      if (body < 0 || body >= static_cast<int>(kBodies) || (known_ & (1u << body))) continue;
      if (std::find(needed, needed + count, body) != needed + count) continue;
      needed[count++] = body;
    }
    if (count == 0) return true;
    JplKilometres k[kJplMaxBodiesAtOnce];
    if (!Load(a) || !JplBodyStatesKilometres(a, needed, count, k)) return false;
    for (size_t i = 0; i < count; ++i) {
      Barycentric& s = raw_[static_cast<size_t>(needed[i])];
      s.Pos = {k[i].Pos[0], k[i].Pos[1], k[i].Pos[2]};
      s.Vel = {k[i].Vel[0], k[i].Vel[1], k[i].Vel[2]};
      known_ |= 1u << needed[i];
    }
    return true;
  }
  // A program body's raw state (the Moon geocentric).
  bool Raw(AstroState& a, int body, Barycentric& s) {
    // A number that is no body fails as the reader fails it.
    if (body < 0 || body >= static_cast<int>(kBodies)) return Load(a) && RawState(a, body, s);
    const unsigned bit = 1u << body;
    if (!(known_ & bit)) {
      if (!Load(a) || !RawState(a, body, raw_[static_cast<size_t>(body)])) return false;
      known_ |= bit;
    }
    s = raw_[static_cast<size_t>(body)];
    return true;
  }
  // The body as the place sees it: barycentric, the Moon too.
  bool Body(AstroState& a, int body, double emrat, Barycentric& s) {
    if (body != 11) return Raw(a, body, s);
    Barycentric emb, geo;
    if (!Fetch(a, {3, 11}) || !Raw(a, 3, emb) || !Raw(a, 11, geo)) return false;
    s = EarthOrMoon(emb, geo, emrat / (1 + emrat));
    return true;
  }

 private:
  static constexpr size_t kBodies = 12;
  LoadedRecord& loaded_;
  double date_ = std::numeric_limits<double>::quiet_NaN();
  unsigned known_ = 0;  // bit b: raw_[b] is the state at date_
  std::array<Barycentric, kBodies> raw_;
};

// The body's barycentric position (km) at tdb - tau.  The date is a double of about
// 4e-5 s resolution; what rounding leaves of tau is added along the velocity, so that the
// Moon's place does not jump by a few tenths of a mas with it.
bool RetardedPosition(AstroState& a, int body, double tdb, double tau, double emrat, DateStates& states,
                      Vector3& pos) {
  const double t = tdb - tau;
  const double rest = (tdb - t) - tau;  // t + rest = tdb - tau
  states.SetDate(t);
  Barycentric s;
  if (!states.Body(a, body, emrat, s)) return false;
  for (size_t k = 0; k < 3; ++k) pos[k] = s.Pos[k] + rest * s.Vel[k];
  return true;
}

// Where deflector k can be during the sub-interval of the record that covers tdb (kept in
// the state while the same block files serve); null when the ephemeris gives no bound
// (an SPK kernel, files read anew for every date, a record that does not serve).
const PreciseState::Reach* DeflectorReach(AstroState& a, size_t k, double tdb) {
  if (!a.JplAscii || a.JplRescan) return nullptr;
  PreciseState::Reach& r = a.DeflectorReaches[k];
  if (r.Reader == a.JplAscii->Serial && r.FilesParsed == a.JplAscii->FilesParsed && tdb >= r.Bound.From &&
      tdb < r.Bound.To) {
    return &r;
  }
  r.Reader = 0;
  if (!JplBodyBound(a, kDeflectors[k].Body, tdb, r.Bound)) return nullptr;
  r.Reader = a.JplAscii->Serial;
  r.FilesParsed = a.JplAscii->FilesParsed;
  for (size_t c = 0; c < 3; ++c) r.CentreAu[c] = r.Bound.Centre[c] / kKmPerAu;
  r.RadiusAu = r.Bound.Radius / kKmPerAu;
  return &r;
}

// Whether a deflector anywhere within `reach` leaves the direction of a source at distance
// `distance` (au) from the observer at `viewer` (au; the source at `source`) below half the
// 0.1 mas that is applied, as eraLd computes it after Deflected has moved the body to
// where the light passed it.  With P that place, L the source's distance and dE, dS the
// distances from P to the observer and the source: when L is the triangle's shortest
// side the angle at P is at most 60 degrees, so q.(q + e) >= 1.5 and |e x q| <= L / dS
// (law of sines), and the deflection is at most mass * SRS * L / (1.5 dE dS).
bool DeflectionNegligible(const PreciseState::Reach& reach, const Vector3& viewer, const Vector3& source,
                          double distance, double mass) {
  const Vector3& centre = reach.CentreAu;
  const double fromViewer = Norm(Minus(viewer, centre));
  const double radius = reach.RadiusAu;
  // Deflected's look-back: at most the light time from the farthest point of the reach.
  const double lookBack = (fromViewer + radius) * (ERFA_AULT / ERFA_DAYSEC);
  // Generous for rounding: a part in a million and 1.5 km.
  const double passed = (radius + lookBack * reach.Bound.Speed / kKmPerAu) * (1 + 1e-6) + 1e-8;
  const double toViewer = fromViewer - passed;
  const double toSource = Norm(Minus(source, centre)) - passed;
  const double side = distance * (1 + 1e-9);
  if (!(toViewer > side && toSource > side)) return false;
  return mass * ERFA_SRS * side < 0.5 * kDeflectionApplied * 1.5 * toViewer * toSource;
}

// The equation of the origins at TT = J2000 + date2 (days) from that date's nutation
// (dpsi, deps of eraNut06a): eraEo06a's own steps (the IAU 2006/2000A bias-precession-
// nutation matrix, the CIP's X, Y, the CIO locator s, then ERA - GST) without evaluating
// the IAU 2000A series a second time; the same numbers as eraEo06a.
double EquationOfOrigins(double date2, double dpsi, double deps) {
  double gamb = 0, phib = 0, psib = 0, epsa = 0, r[3][3], x = 0, y = 0;
  eraPfw06(ERFA_DJ00, date2, &gamb, &phib, &psib, &epsa);
  eraFw2m(gamb, phib, psib + dpsi, epsa + deps, r);
  eraBpn2xy(r, &x, &y);
  return eraEors(r, eraS06(ERFA_DJ00, date2, x, y));
}

// The row of a whole TT day, computed when first asked for: the nutation and TDB-TT
// always, the equation of the origins only for a site (withEo), since a geocentric place
// never reads it.
const std::array<double, 4>& NutationDay(AstroState& a, int64_t day, bool withEo) {
  const int64_t chunk = NutationChunkOf(day);
  if (chunk != a.NutationLastChunk) {
    auto& slot = a.NutationTable[chunk];
    if (!slot) slot = std::make_shared<NutationChunk>();
    a.NutationLastChunk = chunk;
    a.NutationLast = slot.get();
  }
  auto& value = a.NutationLast->Day[static_cast<size_t>(day - chunk * kNutationChunk)];
  const double date2 = static_cast<double>(day) - ERFA_DJ00;
  if (std::isnan(value[0])) {
    ComputeDay(day, value[0], value[1], value[2]);
    a.NutationLast->Own = true;
    ++a.NutationDaysAdded;
  }
  // The sidereal time's equation of the origins, for a site's Earth rotation.
  if (withEo && std::isnan(value[3])) value[3] = EquationOfOrigins(date2, value[0], value[1]);
  return value;
}

// Six-point Lagrange interpolation in the table of whole TT days: dpsi, deps, TDB-TT and,
// withEo, the equation of the origins (else 0).
// The weight of node k (-2..3) at u: the product over the other nodes j of (u - j) / (k - j),
// in that order.  A template so that each divisor is a constant: the compiler turns the
// divisions by 1, 2 and 4 into the exact multiplications they equal.
template <int k>
double LagrangeWeight(double u) {
  double w = 1;
  [&]<int... j>(std::integer_sequence<int, j...>) {
    ((j - 2 != k ? (w *= (u - (j - 2)) / static_cast<double>(k - (j - 2))) : w), ...);
  }(std::make_integer_sequence<int, 6>{});
  return w;
}

std::array<double, 4> InterpolatedNutation(AstroState& a, double tt, bool withEo) {
  if (!a.DayTableRead) LoadDayTable(a);  // the days an earlier session computed
  const double first = std::floor(tt);
  const double u = tt - first;
  const int64_t day0 = static_cast<int64_t>(first);
  const size_t columns = withEo ? 4 : 3;
  const double weights[6] = {LagrangeWeight<-2>(u), LagrangeWeight<-1>(u), LagrangeWeight<0>(u),
                             LagrangeWeight<1>(u),  LagrangeWeight<2>(u),  LagrangeWeight<3>(u)};
  std::array<double, 4> r{0, 0, 0, 0};
  for (int k = -2; k <= 3; ++k) {
    const double w = weights[k + 2];
    const auto& v = NutationDay(a, day0 + k, withEo);
    for (size_t c = 0; c < columns; ++c) r[c] += w * v[c];
  }
  return r;
}

// ERFA's light deflection (eraLd) of the direction p by a body of mass `mass` (solar
// masses): q the direction from the body to the source, e from the body to the observer at
// distance em (au).
Vector3 Ld(double mass, const Vector3& p, const Vector3& q, const Vector3& e, double em, double limiter) {
  double pin[3] = {p[0], p[1], p[2]}, qin[3] = {q[0], q[1], q[2]}, ein[3] = {e[0], e[1], e[2]}, out[3];
  eraLd(mass, pin, qin, ein, em, limiter, out);
  return {out[0], out[1], out[2]};
}

// Deflection of the direction p (unit) of a source at barycentric position source (au) by
// a body at bodyPos moving with bodyVel (au, au/day), seen by the observer at earth (au):
// the body where the light passed it, then ERFA's eraLd with the source at its finite
// distance.
Vector3 Deflected(const Vector3& p, const Vector3& source, const Vector3& earth, const Vector3& bodyPos,
                  const Vector3& bodyVel, double mass, double limiter) {
  Vector3 v = Minus(earth, bodyPos);
  double dt = (p[0] * v[0] + p[1] * v[1] + p[2] * v[2]) * (ERFA_AULT / ERFA_DAYSEC);
  dt = std::min(dt, 0.0);
  Vector3 passed = {bodyPos[0] + dt * bodyVel[0], bodyPos[1] + dt * bodyVel[1], bodyPos[2] + dt * bodyVel[2]};
  double em = 0, qd = 0;
  Vector3 e = Unit(Minus(earth, passed), em);
  return Ld(mass, p, Unit(Minus(source, passed), qd), e, em, limiter);
}

}  // namespace

namespace {

// ObserverGcrsState from the site's terrestrial position t (km).
ObserverGcrs ObserverGcrsOf(const Vector3& t, double jdUt1, double eo, const std::array<Vector3, 3>& npb) {
  // The terrestrial position turned by the sidereal time to the true equator and equinox.
  const double gast = eraAnp(eraEra00(jdUt1, 0) - eo);
  const double c = std::cos(gast), s = std::sin(gast);
  const Vector3 tod = {c * t[0] - s * t[1], s * t[0] + c * t[1], t[2]};
  // The Earth's rotation, rad/day: the rate of the Earth rotation angle (eraEra00).
  constexpr double kOmega = ERFA_D2PI * 1.00273781191135448;
  const Vector3 todVel = {-kOmega * tod[1], kOmega * tod[0], 0};
  ObserverGcrs out;
  for (size_t i = 0; i < 3; ++i) {
    out.Pos[i] = npb[0][i] * tod[0] + npb[1][i] * tod[1] + npb[2][i] * tod[2];
    out.Vel[i] = npb[0][i] * todVel[0] + npb[1][i] * todVel[1] + npb[2][i] * todVel[2];
  }
  return out;
}

// The site's terrestrial position, computed again only for another site than the last.
const Vector3& SiteTerrestrialKm(AstroState& a, const ObserverSite& site) {
  const std::array<double, 3> key = {site.LonDeg, site.RhoCosPhi, site.RhoSinPhi};
  if (!a.SiteKnown || std::memcmp(key.data(), a.SiteKey.data(), sizeof key) != 0) {
    a.SiteTerrestrialKm = TerrestrialPositionKm(site);
    a.SiteKey = key;
    a.SiteKnown = true;
  }
  return a.SiteTerrestrialKm;
}

}  // namespace

ObserverGcrs ObserverGcrsState(const ObserverSite& site, double jdUt1, double eo, const std::array<Vector3, 3>& npb) {
  return ObserverGcrsOf(TerrestrialPositionKm(site), jdUt1, eo, npb);
}

bool TtMinusUtcSeconds(double jdUtc, double& seconds) {
  if (!std::isfinite(jdUtc)) return false;
  int year = 0, month = 0, day = 0;
  double fraction = 0, taiMinusUtc = 0;
  if (eraJd2cal(jdUtc, 0, &year, &month, &day, &fraction) != 0 || year < 1960) return false;
  // Status 1 (a year beyond the table's sure span) keeps the last offset, as UTC does.
  if (eraDat(year, month, day, fraction, &taiMinusUtc) < 0) return false;
  seconds = taiMinusUtc + 32.184;
  return true;
}

RaDec RaDecOf(const Vector3& v) {
  double ra = 0, dec = 0;
  double c[3] = {v[0], v[1], v[2]};
  eraC2s(c, &ra, &dec);
  return {eraAnp(ra) * ERFA_DR2D, dec * ERFA_DR2D};
}

double SeparationArcsec(const Vector3& a, const Vector3& b) {
  double x[3] = {a[0], a[1], a[2]}, y[3] = {b[0], b[1], b[2]};
  return eraSepp(x, y) * ERFA_DR2AS;
}

PrecisePlace ComputePrecisePlace(AstroState& a, int body, double tt, const std::optional<PreciseObserver>& observer) {
  PrecisePlace out;
  a.EphemerisError = 0;
  a.EphemerisFailureKind = EphemerisFailure::kNone;
  out.Tt = tt;
  // A date no block file can cover (NaN included) fails as the reader fails it, before
  // it reaches the day table.
  if (JplDateOutside(a, tt)) {
    LoadRecord(a, tt);
    return out;
  }
  const std::array<double, 4> nut = InterpolatedNutation(a, tt, observer.has_value());
  out.Tdb = tt + nut[2] / ERFA_DAYSEC;
  const double tdb = out.Tdb;

  // The states at the date: the Earth (the observer, until a site is added), the Sun, the
  // body itself and the deflectors: those whose record bounds where they can be are read
  // only when the deflection is seen to need them.
  const double emrat = JplEmrat(a);
  LoadedRecord loaded;
  DateStates atDate(loaded);
  atDate.SetDate(tdb);
  Barycentric emb, geoMoon, viewer, sun, target;
  if (!atDate.Load(a) || !atDate.Fetch(a, {3, 11, 0, body}) || !atDate.Raw(a, 3, emb) || !atDate.Raw(a, 11, geoMoon) ||
      !atDate.Raw(a, 0, sun) || !atDate.Body(a, body, emrat, target)) {
    return out;
  }
  viewer = EarthOrMoon(emb, geoMoon, -1 / (1 + emrat));
  const PreciseState::Reach* reaches[std::size(kDeflectors)];
  Barycentric deflectors[std::size(kDeflectors)];
  for (size_t k = 0; k < std::size(kDeflectors); ++k) {
    if (kDeflectors[k].Body == body) continue;
    reaches[k] = DeflectorReach(a, k, tdb);
    if (!reaches[k] && !atDate.Raw(a, kDeflectors[k].Body, deflectors[k])) return out;
  }

  // Frame bias and precession (IAU 2006) and nutation (IAU 2000A) at TT: the rotations to
  // the mean and true equator and equinox of date, and the site's place on GCRS axes.
  // eraFw2m's rotations R1(-eps) R3(-psi) R1(phib) R3(gamb), the two right-hand ones
  // shared by both matrices.
  double gamb = 0, phib = 0, psib = 0, epsa = 0, pb[3][3], npb[3][3];
  eraPfw06(ERFA_DJ00, tt - ERFA_DJ00, &gamb, &phib, &psib, &epsa);
  eraIr(pb);
  eraRz(gamb, pb);
  eraRx(phib, pb);
  eraCr(pb, npb);
  eraRz(-psib, pb);
  eraRx(-epsa, pb);
  eraRz(-(psib + nut[0]), npb);
  eraRx(-(epsa + nut[1]), npb);
  std::array<Vector3, 3> meanRotation;
  for (size_t i = 0; i < 3; ++i) {
    for (size_t j = 0; j < 3; ++j) {
      meanRotation[i][j] = pb[i][j];
      out.Npb[i][j] = npb[i][j];
    }
  }
  // The observer: the geocentre, or the site (barycentric position and velocity).
  if (observer) {
    const ObserverGcrs site = ObserverGcrsOf(SiteTerrestrialKm(a, observer->Site), observer->JdUt1, nut[3], out.Npb);
    for (size_t k = 0; k < 3; ++k) {
      viewer.Pos[k] += site.Pos[k];
      viewer.Vel[k] += site.Vel[k];
    }
  }

  Vector3 geometric = Minus(target.Pos, viewer.Pos);
  double distance = 0;
  out.Stages[kPreciseGeometric] = Unit(geometric, distance);
  out.GeometricKm = distance;

  // Light time: the body where it was when the light now arriving left it.
  double tau = distance / kLightKmPerDay;
  Vector3 astrometric = geometric;
  DateStates retarded(loaded);
  for (int pass = 0; pass < kLightTimePasses; ++pass) {
    Vector3 source;
    if (!RetardedPosition(a, body, tdb, tau, emrat, retarded, source)) return out;
    astrometric = Minus(source, viewer.Pos);
    const double next = Norm(astrometric) / kLightKmPerDay;
    const bool converged = std::fabs(next - tau) < kLightTimeConverged;
    tau = next;
    if (converged) break;
  }
  out.LightTimeDays = tau;
  Vector3 p = Unit(astrometric, distance);
  out.Stages[kPreciseAstrometric] = p;
  out.AstrometricKm = distance;

  // Deflection, in au: the planets where it matters, then the Sun (not for its own light).
  const Vector3 viewerAu = Scaled(viewer.Pos, 1 / kKmPerAu);
  const double au = distance / kKmPerAu;
  const Vector3 sourceAu = {viewerAu[0] + p[0] * au, viewerAu[1] + p[1] * au, viewerAu[2] + p[2] * au};
  for (size_t k = 0; k < std::size(kDeflectors); ++k) {
    const Deflector& d = kDeflectors[k];
    if (d.Body == body) continue;
    if (reaches[k]) {
      if (DeflectionNegligible(*reaches[k], viewerAu, sourceAu, au, 1 / d.ReciprocalMass)) continue;
      if (!atDate.Raw(a, d.Body, deflectors[k])) return out;
    }
    Vector3 q = Deflected(p, sourceAu, viewerAu, Scaled(deflectors[k].Pos, 1 / kKmPerAu),
                          Scaled(deflectors[k].Vel, 1 / kKmPerAu), 1 / d.ReciprocalMass, d.Limiter);
    const Vector3 shift = Minus(q, p);
    if (shift[0] * shift[0] + shift[1] * shift[1] + shift[2] * shift[2] > kDeflectionAppliedSquared) p = q;
  }
  double sunDistance = 0;
  const Vector3 heliocentric = Scaled(Minus(viewer.Pos, sun.Pos), 1 / kKmPerAu);
  Vector3 eh = Unit(heliocentric, sunDistance);
  if (body != 0) {
    double qd = 0;
    p = Ld(1.0, p, Unit(Minus(sourceAu, Scaled(sun.Pos, 1 / kKmPerAu)), qd), eh, sunDistance, kSunLimiter);
  }
  out.Stages[kPreciseDeflected] = p;

  // Aberration, relativistic, from the observer's barycentric velocity: the Earth's (annual)
  // plus, at a site, the Earth's rotation (diurnal).
  double v[3] = {viewer.Vel[0] / kLightKmPerDay, viewer.Vel[1] / kLightKmPerDay, viewer.Vel[2] / kLightKmPerDay};
  const double bm1 = std::sqrt(1 - (v[0] * v[0] + v[1] * v[1] + v[2] * v[2]));
  double pin[3] = {p[0], p[1], p[2]}, proper[3];
  eraAb(pin, v, sunDistance, bm1, proper);
  out.Stages[kPreciseGcrs] = {proper[0], proper[1], proper[2]};

  // Frame bias and precession (IAU 2006), then nutation (IAU 2000A).
  out.Stages[kPreciseMean] = Turned(meanRotation, out.Stages[kPreciseGcrs]);
  out.Stages[kPreciseTrue] = Turned(out.Npb, out.Stages[kPreciseGcrs]);
  out.Ok = true;
  return out;
}

}  // namespace planova
