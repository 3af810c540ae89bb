#include "common/picture.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace planova {

namespace {

constexpr double kJ2000 = 2451545.0, kJulianYear = 365.25;

// The view of one axis, [a, b] in the scale's orientation, within the grid's [lo, hi]
// (a and b in either order): moved whole back inside when it strays past an edge.
void KeepInside(double& a, double& b, double gridA, double gridB) {
  const double lo = std::min(gridA, gridB), hi = std::max(gridA, gridB);
  double& low = a < b ? a : b;
  double& high = a < b ? b : a;
  const double span = high - low;
  if (span >= (hi - lo) * (1 - 1e-12)) {
    a = gridA;
    b = gridB;
    return;
  }
  if (low < lo) {
    low = lo;
    high = lo + span;
  } else if (high > hi) {
    high = hi;
    low = hi - span;
  }
}

// Zooms one axis of the view about c: each edge's distance from c divided by `factor`,
// no closer than a ten-thousandth of the grid and no wider than the grid.
void ZoomAxis(double& a, double& b, double gridA, double gridB, double c, double factor) {
  const double grid = std::fabs(gridB - gridA), span = std::fabs(b - a);
  if (grid == 0 || span == 0) return;
  const double least = grid * 1e-4;
  factor = std::clamp(factor, span / grid, span / least);
  a = c + (a - c) / factor;
  b = c + (b - c) / factor;
  KeepInside(a, b, gridA, gridB);
}

}  // namespace

void PictureBox::RemoveTagged(uint8_t tag) {
  std::erase_if(Items, [tag](const PictureItem& item) { return item.tag == tag; });
}

MarkPlace PictureBox::PlaceOfMark(double x, double y) const {
  MarkPlace m{x, y, 0, 0, false};
  const double lowX = std::min(Left, Right), highX = std::max(Left, Right);
  if (x < lowX || x > highX) {
    m.X = std::clamp(x, lowX, highX);
    // +1 when the point lies past the right edge, whichever way the scale runs.
    m.Dx = ((x > highX) == (Right > Left)) ? 1 : -1;
  }
  const double lowY = std::min(Top, Bottom), highY = std::max(Top, Bottom);
  if (y < lowY || y > highY) {
    m.Y = std::clamp(y, lowY, highY);
    m.Dy = ((y > highY) == (Top > Bottom)) ? 1 : -1;
  }
  m.OffGrid = m.Dx != 0 || m.Dy != 0;
  // On the grid (left out by the plot's own rule): pointing away from the middle.
  if (!m.OffGrid) m.Dy = ((y - (Top + Bottom) / 2) * (Top - Bottom) >= 0) ? 1 : -1;
  return m;
}

void PictureBox::PlotInfo(const PlotPointInfo& info) {
  const PlotSeries* s =
      info.Series >= 0 && static_cast<size_t>(info.Series) < Axes.Series.size() ? &Axes.Series[static_cast<size_t>(info.Series)]
                                                                               : nullptr;
  const double x = Axes.X(info.Jd), y = Axes.Y(info.Value * (s ? s->Factor : 1));
  Point(x, y, s ? s->Rgb : 0, info);
}

void PictureBox::ZoomAbout(double x, double y, double factor) {
  if (!(factor > 0) || !std::isfinite(factor) || !std::isfinite(x) || !std::isfinite(y)) return;
  ZoomAxis(ViewLeft, ViewRight, Left, Right, x, factor);
  ZoomAxis(ViewTop, ViewBottom, Top, Bottom, y, factor);
}

void PictureBox::Pan(double dx, double dy) {
  if (!std::isfinite(dx) || !std::isfinite(dy)) return;
  ViewLeft += dx;
  ViewRight += dx;
  ViewTop += dy;
  ViewBottom += dy;
  KeepInside(ViewLeft, ViewRight, Left, Right);
  KeepInside(ViewTop, ViewBottom, Top, Bottom);
}

double NiceStep(double x) {
  const double decade = std::pow(10.0, std::floor(std::log10(x)));
  for (double m : {1.0, 2.0, 5.0}) {
    // A hair of slack, so that 0,3 / 3 is a step of 0,1 and not 0,2.
    if (m * decade >= x * (1 - 1e-9)) return m * decade;
  }
  return 10 * decade;
}

PlotFit FitPlot(const std::vector<PlotPointInfo>& points, const std::vector<PlotSeries>& series, int columns,
                int rows) {
  PlotFit fit;
  constexpr double inf = std::numeric_limits<double>::infinity();
  double t0 = inf, t1 = -inf, v0 = inf, v1 = -inf;
  for (const PlotPointInfo& p : points) {
    const double factor =
        p.Series >= 0 && static_cast<size_t>(p.Series) < series.size() ? series[static_cast<size_t>(p.Series)].Factor : 1;
    const double t = 2000 + (p.Jd - kJ2000) / kJulianYear, v = p.Value * factor;
    if (!std::isfinite(t) || !std::isfinite(v)) continue;
    t0 = std::min(t0, t);
    t1 = std::max(t1, t);
    v0 = std::min(v0, v);
    v1 = std::max(v1, v);
  }
  if (!(t0 <= t1) || columns < 1 || rows < 1) return fit;
  constexpr double kMargin = 0.03;
  // At least a day of time and 0,01" of value, about the points' middle.
  auto widen = [](double& lo, double& hi, double least) {
    if (hi - lo < least) {
      const double mid = lo / 2 + hi / 2;
      lo = mid - least / 2;
      hi = mid + least / 2;
    }
    const double margin = kMargin * (hi - lo);
    lo -= margin;
    hi += margin;
  };
  widen(t0, t1, 1 / kJulianYear);
  widen(v0, v1, 0.01);

  fit.YearsPerUnit = NiceStep((t1 - t0) / columns);
  const double originYears = std::floor(t0 / fit.YearsPerUnit) * fit.YearsPerUnit;
  fit.OriginJd = kJ2000 + (originYears - 2000) * kJulianYear;
  fit.Left = 0;
  fit.Right = std::max(1.0, std::ceil((t1 - originYears) / fit.YearsPerUnit - 1e-9));

  fit.ArcsecPerUnit = NiceStep((v1 - v0) / rows);
  fit.ZeroY = 0;
  fit.Bottom = std::floor(v0 / fit.ArcsecPerUnit + 1e-9);
  fit.Top = std::max(fit.Bottom + 1, std::ceil(v1 / fit.ArcsecPerUnit - 1e-9));
  fit.Ok = true;
  return fit;
}

}  // namespace planova
