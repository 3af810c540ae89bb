/* An independent comparison of Moon observations with DE405, in plain C with ERFA, for
 * weighing the whole program's per-place cost against a program that does the same work
 * with no framework around it (bench/whole_process.sh runs both on the same files).
 *
 *   erfa_compare APP_FOLDER BDL_FILE OUT_FILE     the comparison: one O-C line a record
 *   erfa_compare APP_FOLDER BDL_FILE --load       the observation file read, nothing else
 *
 * BDL_FILE is read as window 2 reads it (five heading lines, then one fixed-column line a
 * record: the UT date and time, the right ascension and the declination of date).  The
 * DE405 block files APP_FOLDER/JPL/ascpYYYY.405 that the records' dates need are parsed
 * once (every coefficient, as a reader of JPL's ASCII files does).  For each record the
 * apparent geocentric place of the Moon is computed by the classical path the throughput
 * benchmark's ERFA anchor takes:
 *   TDB = UT + ET-UT (the parabola 24.35 + 72.32 T + 29.95 T^2 s, T in centuries from 1900),
 *   the Sun, the Earth-Moon barycentre and the Moon from the Chebyshev series, the Moon's
 *   light time iterated twice, eraApcg for the Earth's state, IAU 1976/1980 precession and
 *   nutation (eraPnm80) and eraAtciqz (deflection by the Sun, aberration, the frame
 *   rotation),
 * and O-C in right ascension (times cos dec) and declination, arcseconds, is written with
 * the record's Julian date.  Ends with status 0, or 1 with a message on standard error. */
#include <ctype.h>
#include <dirent.h>
#include <erfa.h>
#include <erfam.h>
#include <math.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

/* DE405's record: 1018 numbers over 32 days; where each body's series start (1-based, as
 * JPL's header lists them), how many coefficients a component has and in how many
 * sub-intervals the 32 days are cut. */
enum { kRecordLength = 1018, kRecordDays = 32 };
typedef struct {
  int start, coefficients, intervals;
} Series;
static const Series kEmb = {231, 13, 2}, kMoon = {441, 13, 8}, kSun = {753, 11, 2};
static const double kEarthMoonMassRatio = 81.30056;
static const double kAuKm = 149597870.691;

typedef struct {
  double *records; /* count x kRecordLength */
  size_t count, capacity;
  double firstJd; /* start of the first record */
} Ephemeris;

typedef struct {
  double jd, ra, dec; /* UT Julian date; radians */
} Observation;

static int Fail(const char *what, const char *name) {
  fprintf(stderr, "erfa_compare: %s%s%s\n", what, name ? " " : "", name ? name : "");
  return 1;
}

/* The whole file in memory, NUL-terminated; NULL when it cannot be read. */
static char *ReadFile(const char *path, size_t *size) {
  FILE *f = fopen(path, "rb");
  if (!f) return NULL;
  fseek(f, 0, SEEK_END);
  long n = ftell(f);
  fseek(f, 0, SEEK_SET);
  char *text = n >= 0 ? malloc((size_t)n + 1) : NULL;
  if (text && fread(text, 1, (size_t)n, f) != (size_t)n) {
    free(text);
    text = NULL;
  }
  fclose(f);
  if (text) {
    text[n] = '\0';
    *size = (size_t)n;
  }
  return text;
}

/* ---- The observation file ---- */

/* An unsigned whole number in columns from..to (1-based) of a line. */
static int Digits(const char *line, int from, int to, int *value) {
  int v = 0, any = 0;
  for (int c = from; c <= to; ++c) {
    char ch = line[c - 1];
    if (ch == ' ' && !any) continue;
    if (!isdigit((unsigned char)ch)) return 0;
    v = v * 10 + (ch - '0');
    any = 1;
  }
  *value = v;
  return any;
}

/* Whole units, minutes, seconds and the fraction of the seconds at the columns BDL
 * gives them: units (a, a+1), minutes (a+3, a+4), seconds (a+6, a+7), a point, then
 * `places` digits. */
static int Sexagesimal(const char *line, int a, int places, double *value) {
  int units, minutes, seconds, fraction;
  if (!Digits(line, a, a + 1, &units) || !Digits(line, a + 3, a + 4, &minutes) || !Digits(line, a + 6, a + 7, &seconds) ||
      line[a + 7] != '.' || !Digits(line, a + 9, a + 8 + places, &fraction))
    return 0;
  *value = units + minutes / 60.0 + (seconds + fraction / pow(10, places)) / 3600.0;
  return 1;
}

static int ParseRecord(const char *line, size_t length, Observation *o) {
  static const char kMonths[] = "JanFebMarAprMayJunJulAugSepOctNovDec";
  if (length < 85) return 0;
  int year, day, month = 0;
  for (int m = 0; m < 12; ++m)
    if (memcmp(line + 18, kMonths + 3 * m, 3) == 0) month = m + 1;
  double hours, ra, dec;
  if (!month || !Digits(line, 11, 14, &year) || !Digits(line, 16, 17, &day) || !Sexagesimal(line, 24, 4, &hours) ||
      !Sexagesimal(line, 44, 5, &ra) || !Sexagesimal(line, 70, 4, &dec))
    return 0;
  double djm0, djm;
  if (eraCal2jd(year, month, day, &djm0, &djm) != 0) return 0;
  o->jd = djm0 + djm + hours / 24;
  o->ra = ra * 15 * ERFA_DD2R;
  o->dec = (line[68] == '-' ? -dec : dec) * ERFA_DD2R;
  return 1;
}

/* The records of a BDL file: the heading's five lines skipped, lines that do not parse
 * counted as refused.  Returns the number read, or -1 when the file cannot be read. */
static long ReadObservations(const char *path, Observation **out, long *refused) {
  size_t size;
  char *text = ReadFile(path, &size);
  if (!text) return -1;
  size_t capacity = size / 150 + 16, n = 0;
  Observation *obs = malloc(capacity * sizeof *obs);
  *refused = 0;
  char *p = text, *end = text + size;
  for (int line = 0; p < end; ++line) {
    char *eol = memchr(p, '\n', (size_t)(end - p));
    if (!eol) eol = end;
    size_t length = (size_t)(eol - p);
    if (length && p[length - 1] == '\r') --length;
    if (line >= 5 && length) {
      if (n == capacity) obs = realloc(obs, (capacity *= 2) * sizeof *obs);
      if (ParseRecord(p, length, &obs[n]))
        ++n;
      else
        ++*refused;
    }
    p = eol + 1;
  }
  free(text);
  *out = obs;
  return (long)n;
}

/* ---- The DE405 block files ---- */

/* The block files of the folder (ascpYYYY.405) by year; returns how many. */
static int BlockFiles(const char *folder, int years[], int max) {
  DIR *d = opendir(folder);
  if (!d) return 0;
  int n = 0;
  struct dirent *e;
  while ((e = readdir(d)) && n < max) {
    int year;
    char tail[8];
    if (sscanf(e->d_name, "ascp%4d.%7s", &year, tail) == 2 && strcmp(tail, "405") == 0) years[n++] = year;
  }
  closedir(d);
  for (int i = 1; i < n; ++i)
    for (int j = i; j > 0 && years[j - 1] > years[j]; --j) {
      int t = years[j];
      years[j] = years[j - 1];
      years[j - 1] = t;
    }
  return n;
}

/* The start of a block file's first record, from its second line. */
static int FileStart(const char *path, double *jd) {
  FILE *f = fopen(path, "rb");
  if (!f) return 0;
  char line[128], first[32];
  int ok = fgets(line, sizeof line, f) && fgets(line, sizeof line, f) && sscanf(line, "%31s", first) == 1;
  fclose(f);
  if (!ok) return 0;
  for (char *c = first; *c; ++c)
    if (*c == 'D') *c = 'E';
  *jd = strtod(first, NULL);
  return 1;
}

/* Appends the records of one block file; a record that repeats the last one held (each
 * file ends with the next file's first record) is skipped. */
static int ParseBlockFile(const char *path, Ephemeris *e) {
  size_t size;
  char *text = ReadFile(path, &size);
  if (!text) return 0;
  for (char *c = text; *c; ++c)
    if (*c == 'D') *c = 'E';
  char *p = text;
  for (;;) {
    long index, length;
    char *after;
    index = strtol(p, &after, 10);
    if (after == p) break;
    length = strtol(after, &p, 10);
    if (length != kRecordLength || index <= 0) break;
    double record[kRecordLength];
    int k = 0;
    for (; k < kRecordLength; ++k) {
      record[k] = strtod(p, &after);
      if (after == p) break;
      p = after;
    }
    if (k < kRecordLength) break;
    p = strchr(p, '\n'); /* the record's last line is padded with zeros */
    if (!p) p = text + size;
    if (e->count == 0) e->firstJd = record[0];
    if (e->count && record[0] < e->firstJd + (double)e->count * kRecordDays) continue;
    if (record[0] != e->firstJd + (double)e->count * kRecordDays) break; /* a gap */
    if (e->count == e->capacity) {
      e->capacity = e->capacity ? 2 * e->capacity : 256;
      e->records = realloc(e->records, e->capacity * kRecordLength * sizeof(double));
    }
    memcpy(e->records + e->count * kRecordLength, record, sizeof record);
    ++e->count;
  }
  free(text);
  return 1;
}

/* Parses the block files whose span meets first..last (Julian dates).  False when none
 * covers them. */
static int ReadEphemeris(const char *appFolder, double first, double last, Ephemeris *e) {
  char folder[4096], path[4200];
  snprintf(folder, sizeof folder, "%s/JPL", appFolder);
  int years[64];
  int n = BlockFiles(folder, years, 64);
  double starts[64];
  for (int i = 0; i < n; ++i) {
    snprintf(path, sizeof path, "%s/ascp%04d.405", folder, years[i]);
    if (!FileStart(path, &starts[i])) return 0;
  }
  for (int i = 0; i < n; ++i) {
    if (starts[i] > last || (i + 1 < n && starts[i + 1] <= first)) continue;
    snprintf(path, sizeof path, "%s/ascp%04d.405", folder, years[i]);
    if (!ParseBlockFile(path, e)) return 0;
  }
  return e->count && first >= e->firstJd && last < e->firstJd + (double)e->count * kRecordDays;
}

/* Position (km) and velocity (km/day) of one series at TDB jd: the Chebyshev sums and
 * their derivatives over the sub-interval that holds jd. */
static int Evaluate(const Ephemeris *e, const Series *s, double jd, double pos[3], double vel[3]) {
  const double offset = jd - e->firstJd;
  size_t r = (size_t)(offset / kRecordDays);
  if (offset < 0 || r >= e->count) return 0;
  const double *record = e->records + r * kRecordLength;
  const double span = (double)kRecordDays / s->intervals;
  int sub = (int)((jd - record[0]) / span);
  if (sub >= s->intervals) sub = s->intervals - 1;
  const double x = 2 * (jd - record[0] - sub * span) / span - 1;
  double t[20], d[20];
  const int nc = s->coefficients;
  t[0] = 1;
  t[1] = x;
  d[0] = 0;
  d[1] = 1;
  for (int k = 2; k < nc; ++k) {
    t[k] = 2 * x * t[k - 1] - t[k - 2];
    d[k] = 2 * x * d[k - 1] + 2 * t[k - 1] - d[k - 2];
  }
  const double *c = record + (s->start - 1) + (size_t)sub * 3 * nc;
  for (int i = 0; i < 3; ++i, c += nc) {
    double p = 0, v = 0;
    for (int k = nc - 1; k >= 0; --k) {
      p += c[k] * t[k];
      v += c[k] * d[k];
    }
    pos[i] = p;
    vel[i] = v * 2 / span;
  }
  return 1;
}

/* The geocentric Moon and the Earth's barycentric position and velocity (km, km/day) and
 * its heliocentric position at TDB jd. */
typedef struct {
  double moon[3], earth[3], earthVel[3], earthHelio[3];
} States;

static int ReadStates(const Ephemeris *e, double jd, States *s) {
  double emb[3], embVel[3], moonVel[3], sun[3], sunVel[3];
  if (!Evaluate(e, &kEmb, jd, emb, embVel) || !Evaluate(e, &kMoon, jd, s->moon, moonVel) ||
      !Evaluate(e, &kSun, jd, sun, sunVel))
    return 0;
  for (int k = 0; k < 3; ++k) {
    s->earth[k] = emb[k] - s->moon[k] / (kEarthMoonMassRatio + 1);
    s->earthVel[k] = embVel[k] - moonVel[k] / (kEarthMoonMassRatio + 1);
    s->earthHelio[k] = s->earth[k] - sun[k];
  }
  return 1;
}

/* The apparent right ascension and declination (radians, true equator and equinox of
 * date) of the Moon at UT jd. */
static int ApparentMoon(const Ephemeris *e, double jdUt, double *ra, double *dec) {
  const double t = (jdUt - 2415020.0) / 36525;
  const double tdb = jdUt + (24.35 + 72.32 * t + 29.95 * t * t) / 86400;
  States s, late;
  if (!ReadStates(e, tdb, &s)) return 0;
  double ebpv[2][3], ehp[3], p[3];
  for (int k = 0; k < 3; ++k) {
    ebpv[0][k] = s.earth[k] / kAuKm;
    ebpv[1][k] = s.earthVel[k] / kAuKm;
    ehp[k] = s.earthHelio[k] / kAuKm;
    p[k] = s.moon[k];
  }
  for (int pass = 0; pass < 2; ++pass) {
    const double tau = eraPm(p) / (ERFA_CMPS / 1000) / 86400;
    if (!ReadStates(e, tdb - tau, &late)) return 0;
    for (int k = 0; k < 3; ++k) p[k] = late.moon[k] + (late.earth[k] - s.earth[k]);
  }
  eraASTROM astrom;
  eraApcg(ERFA_DJ00, tdb - ERFA_DJ00, ebpv, ehp, &astrom);
  eraPnm80(ERFA_DJ00, tdb - ERFA_DJ00, astrom.bpn);
  double rc, dc;
  eraC2s(p, &rc, &dc);
  eraAtciqz(rc, dc, &astrom, ra, dec);
  *ra = eraAnp(*ra);
  return 1;
}

int main(int argc, char **argv) {
  if (argc != 4) {
    fprintf(stderr, "usage: erfa_compare APP_FOLDER BDL_FILE OUT_FILE|--load\n");
    return 2;
  }
  const int loadOnly = strcmp(argv[3], "--load") == 0;
  Observation *obs;
  long refused;
  const long n = ReadObservations(argv[2], &obs, &refused);
  if (n < 0) return Fail("cannot read", argv[2]);
  if (loadOnly) {
    printf("%ld records read, %ld refused\n", n, refused);
    free(obs);
    return 0;
  }
  if (n == 0) return Fail("no records in", argv[2]);
  double first = obs[0].jd, last = obs[0].jd;
  for (long i = 1; i < n; ++i) {
    if (obs[i].jd < first) first = obs[i].jd;
    if (obs[i].jd > last) last = obs[i].jd;
  }
  /* The ephemeris is asked for up to a minute of light time before the first date and
   * ET-UT after the last. */
  Ephemeris e = {0};
  if (!ReadEphemeris(argv[1], first - 1, last + 1, &e)) return Fail("the DE405 block files do not cover the dates in", argv[1]);
  FILE *out = fopen(argv[3], "wb");
  if (!out) return Fail("cannot write", argv[3]);
  static char buffer[1 << 16];
  setvbuf(out, buffer, _IOFBF, sizeof buffer);
  long computed = 0;
  for (long i = 0; i < n; ++i) {
    double ra, dec;
    if (!ApparentMoon(&e, obs[i].jd, &ra, &dec)) continue;
    const double dra = eraAnpm(obs[i].ra - ra) * cos(dec) * ERFA_DR2AS, ddec = (obs[i].dec - dec) * ERFA_DR2AS;
    fprintf(out, "%15.6f %12.3f %12.3f\r\n", obs[i].jd, dra, ddec);
    ++computed;
  }
  if (fclose(out) != 0) return Fail("cannot write", argv[3]);
  printf("%ld records compared, %ld refused\n", computed, refused);
  free(e.records);
  free(obs);
  return 0;
}
